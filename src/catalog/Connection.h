#pragma once

#include <QString>

struct sqlite3;

namespace vt {

// The one connection to the catalogue file, in the manner of the data-access layer the program was
// written against: set the connection string and the cursor location, then Open.
//
// The catalogue is an SQLite database (whatever its file is called). Open never changes an existing file
// it does not recognise: it throws CatalogOpenError and leaves the file as it was. A missing file is made
// anew, complete or not at all. Not copyable; the handle is closed when the object is destroyed.
class Connection {
public:
    static constexpr int adUseClient = 3;

    Connection() = default;
    ~Connection();
    Connection(const Connection&) = delete;
    Connection& operator=(const Connection&) = delete;

    void setConnectionString(const QString& text) { connectionString_ = text; }
    const QString& connectionString() const { return connectionString_; }
    void setCursorLocation(int location) { cursorLocation_ = location; }
    int cursorLocation() const { return cursorLocation_; }

    // Opens (or creates) the catalogue named by the connection string. Throws CatalogOpenError.
    void Open();
    // Opens an existing catalogue for reading only: nothing is ever written to it. Throws CatalogOpenError.
    void OpenReadOnly();
    // 0 closed, 1 open.
    int State() const { return db_ ? 1 : 0; }
    void Close();

    // Runs statements that return no rows. Throws CatalogError.
    void Execute(const QString& sql);

    // Transactions, for work that must land whole or not at all. Throw CatalogError.
    void BeginTrans();
    void CommitTrans();
    void RollbackTrans();
    bool inTransaction() const;

    // The catalogue file's native path (valid once open).
    const QString& databasePath() const { return path_; }
    // The underlying SQLite handle, for the catalogue layer's own use.
    sqlite3* handle() const { return db_; }

private:
    void openPath(bool readOnly);

    QString connectionString_;
    int cursorLocation_ = 2;
    QString path_;
    sqlite3* db_ = nullptr;
};

// Rolls back on destruction unless committed: a failure between Begin and Commit leaves nothing behind.
class Transaction {
public:
    explicit Transaction(Connection& connection);
    ~Transaction();
    Transaction(const Transaction&) = delete;
    Transaction& operator=(const Transaction&) = delete;
    void commit();

private:
    Connection& connection_;
    bool open_ = true;
};

}  // namespace vt
