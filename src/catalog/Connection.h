#pragma once

#include <QString>
#include <memory>
#include <thread>

#include "catalog/OwningThread.h"
#include "catalog/SearchIndex.h"

struct sqlite3;

namespace vt {

class PgConnection;
class PgPathStatistics;

// A connection to the catalogue file, in the manner of the data-access layer the program was written
// against: set the connection string and the cursor location, then Open (openCatalogue does all three).
// The windows share one; a scan writes on one of its own, and the command line opens its own.
//
// The catalogue is an SQLite database (whatever its file is called), or, when the connection string is a
// "postgresql://" address, a database on a PostgreSQL server (PgCatalogSchema.h) that several machines
// share; recordsets read the same rows in the same order from either. Open never changes an existing
// catalogue it does not recognise: it throws CatalogOpenError and leaves it as it was. A missing one is made
// anew, complete or not at all. Not copyable; the handle is closed when the object is destroyed.
//
// Threads: one thread owns the connection at a time, at first the one that made it. Open, Execute, the
// transaction calls, handle() and every recordset or statement working through the connection throw
// CatalogError on any other thread, so that a second thread cannot slip in while, say, a scan's rows are
// written (BankListAppender hands the connection to its writer thread and takes it back). inTransaction()
// and the plain settings may be asked from any thread. Close and destruction belong to the owner too;
// they cannot refuse, so they are the caller's care.
class Connection {
  public:
    static constexpr int adUseClient = 3;

    Connection();
    ~Connection();
    Connection(const Connection&) = delete;
    Connection& operator=(const Connection&) = delete;

    void setConnectionString(const QString& text) { connectionString_ = text; }
    const QString& connectionString() const { return connectionString_; }
    void setCursorLocation(int location) { cursorLocation_ = location; }
    int cursorLocation() const { return cursorLocation_; }

    // Opens (or creates) the catalogue named by the connection string. A catalogue of an older version is
    // brought up to date first, which can take a while for a large one; `progress` hears how far it got.
    // Throws CatalogOpenError.
    void Open(const SearchIndex::Progress& progress = {});
    // Opens an existing catalogue for reading only: nothing is ever written to it (an older catalogue is
    // searched without the path index). Throws CatalogOpenError.
    void OpenReadOnly();
    // 0 closed, 1 open.
    int State() const { return db_ || server_ ? 1 : 0; }
    void Close();

    // Runs statements that return no rows. Throws CatalogError.
    void Execute(const QString& sql);

    // Transactions, for work that must land whole or not at all. Throw CatalogError.
    void BeginTrans();
    void CommitTrans();
    void RollbackTrans();
    // Reserves the disc name `name` until the transaction ends: meanwhile no other program can add a disc
    // that the duplicate-name test of `name` would find, nor one whose own test would find `name`. Call it
    // inside the transaction, before that test. The catalogue file needs nothing more for it (its write
    // transaction keeps every other writer out); a server, where writers run side by side, takes locks.
    // Throws CatalogError.
    void reserveDiscName(const QString& name);
    // Any thread may ask (the removal window asks about the scan's connection while a scan writes).
    bool inTransaction() const;

    // The catalogue file's native path, or the server catalogue's address without its password (valid once
    // open).
    const QString& databasePath() const { return path_; }
    // The underlying SQLite handle, for the catalogue layer's own use; null while closed. Throws
    // CatalogError on a thread that does not own the connection, and for a catalogue on a server, which
    // has none (the parts of the program that work on the handle directly do not reach a server yet).
    sqlite3* handle() const;
    // The server connection of a catalogue on a PostgreSQL server, null for a file. Throws CatalogError on
    // a thread that does not own the connection.
    PgConnection* server() const {
        requireOwningThread();
        return server_.get();
    }
    // What the server's statistics say of a server catalogue's paths, for choosing how a search runs there;
    // null for a file. Throws CatalogError on a thread that does not own the connection.
    PgPathStatistics* serverPathStatistics() const {
        requireOwningThread();
        return serverPaths_.get();
    }
    // Whether the open catalogue has the file dates and disc facts (a file of an older version opened for
    // reading has not; a server catalogue always has).
    bool hasFileDates() const;

    // Hands the connection to another thread (see the class comment).
    void handTo(std::thread::id thread) { owner_.handTo(thread); }
    // Throws CatalogError unless called on the owning thread.
    void requireOwningThread() const { owner_.require("the catalogue connection"); }

    // Whether path searches go through the path index: when the catalogue has a usable one, unless turned
    // off. Off, they scan the table as the statements say; the rows are the same either way, which is what
    // makes the index safe to use.
    void setIndexedSearch(bool on) { indexedSearch_ = on; }
    bool indexedSearch() const { return indexedSearch_ && indexReady_; }

  private:
    void openPath(bool readOnly, const SearchIndex::Progress& progress);

    QString connectionString_;
    int cursorLocation_ = 2;
    bool indexedSearch_ = true;
    bool indexReady_ = false;
    QString path_;
    sqlite3* db_ = nullptr;
    std::unique_ptr<PgConnection> server_;
    std::unique_ptr<PgPathStatistics> serverPaths_;
    OwningThread owner_;
};

enum class CatalogueAccess { ReadWrite, ReadOnly };

// Opens the catalogue the way every part of the program does: gives `connection` the connection string,
// client-side cursors (which the recordsets' exact RecordCount stands for), then opens it for `access`
// (see Open and OpenReadOnly; `progress` hears an upgrade's progress). Throws CatalogOpenError.
void openCatalogue(Connection& connection, const QString& connectionString,
                   CatalogueAccess access = CatalogueAccess::ReadWrite,
                   const SearchIndex::Progress& progress = {});

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
