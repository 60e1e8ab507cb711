#pragma once

#include <QString>
#include <QVariant>

struct sqlite3;
struct sqlite3_stmt;

namespace vt {

class Connection;

// A prepared SQLite statement, finalised when the object goes. Throws CatalogError on failure.
// One prepared through a Connection refuses to be bound, stepped or reset on a thread that does not own
// the connection at that moment (Connection's threads); the connection must outlive it.
class SqliteStatement {
  public:
    SqliteStatement(sqlite3* db, const QString& sql);
    SqliteStatement(const Connection& connection, const QString& sql);
    ~SqliteStatement();
    SqliteStatement(const SqliteStatement&) = delete;
    SqliteStatement& operator=(const SqliteStatement&) = delete;

    void bind(int index, const QVariant& value);  // index counted from 1
    // Advances to the next row; false when the statement is done.
    bool step();
    void reset();
    int columnCount() const;
    QVariant column(int index) const;  // index counted from 0
    sqlite3_stmt* get() const { return stmt_; }

  private:
    void requireOwningThread() const;

    const Connection* connection_ = nullptr;
    sqlite3* db_;
    sqlite3_stmt* stmt_ = nullptr;
};

// The SQLite error of `db` as a readable text.
QString sqliteMessage(sqlite3* db);

// Runs statements that return no rows. Throws CatalogError with SQLite's message.
void executeSql(sqlite3* db, const char* sql);
void executeSql(sqlite3* db, const QString& sql);

}  // namespace vt
