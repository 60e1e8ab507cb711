#include "catalog/Connection.h"

#include <sqlite3.h>

#include "catalog/CatalogError.h"
#include "catalog/CatalogSchema.h"
#include "catalog/ConnectionString.h"
#include "catalog/SqliteStatement.h"
#include "catalog/postgres/PgCatalogSchema.h"
#include "catalog/postgres/PgConnection.h"
#include "catalog/postgres/PgConnectionString.h"
#include "catalog/postgres/PgPathStatistics.h"

namespace vt {

Connection::Connection() = default;

Connection::~Connection() {
    Close();
}

void Connection::Open(const SearchIndex::Progress& progress) {
    requireOwningThread();
    openPath(false, progress);
}

void Connection::OpenReadOnly() {
    requireOwningThread();
    openPath(true, {});
}

void Connection::openPath(bool readOnly, const SearchIndex::Progress& progress) {
    if (db_ || server_) throw CatalogError(QStringLiteral("the connection is already open"));
    const auto mode = readOnly ? CatalogSchema::OpenMode::ReadOnly : CatalogSchema::OpenMode::ReadWrite;
    if (isPostgresConnectionString(connectionString_)) {
        std::unique_ptr<PgConnection> server;
        try {
            server = std::make_unique<PgConnection>(connectionString_);
        } catch (const CatalogError& e) {
            throw CatalogOpenError(CatalogOpenError::Reason::CannotOpen,
                                   describeServerCatalogue(connectionString_), e.message());
        }
        PgCatalogSchema::open(*server, mode);
        // A reader never writes, whatever statement reaches it.
        try {
            if (readOnly) server->keepSetting("SET default_transaction_read_only = on;");
        } catch (const CatalogError& e) {
            throw CatalogOpenError(CatalogOpenError::Reason::CannotOpen, server->description(), e.message());
        }
        path_ = server->description();
        server_ = std::move(server);
        serverPaths_ = std::make_unique<PgPathStatistics>();
        return;
    }
    const QString path = dataSourcePath(connectionString_);
    if (path.isEmpty()) {
        throw CatalogOpenError(CatalogOpenError::Reason::CannotOpen, connectionString_,
                               QStringLiteral("the connection string names no data source"));
    }
    db_ = CatalogSchema::open(path, mode, progress);
    indexReady_ = CatalogSchema::searchIndexReady(db_);
    path_ = path;
    // Write-ahead logging lets a second program read the catalogue while this one writes, and a crash
    // never leaves a half-written page behind.
    if (!readOnly) sqlite3_exec(db_, "PRAGMA journal_mode=WAL;", nullptr, nullptr, nullptr);
    // Reading pages straight from the system's file cache rather than copying each into SQLite's own
    // makes a search over millions of rows (a page per matching row) about a quarter faster. Writes still
    // go through the journal as before. SQLite caps the size at what it was built for.
    sqlite3_exec(db_, "PRAGMA mmap_size = 4294967296;", nullptr, nullptr, nullptr);
}

sqlite3* Connection::handle() const {
    requireOwningThread();
    if (server_) {
        throw CatalogError(
            QStringLiteral("this is not yet possible with a catalogue on a PostgreSQL server (") + path_ +
            QLatin1Char(')'));
    }
    return db_;
}

bool Connection::hasFileDates() const {
    return server_ || CatalogSchema::hasFileDates(handle());
}

void Connection::Close() {
    serverPaths_.reset();
    server_.reset();
    if (!db_) return;
    indexReady_ = false;
    sqlite3_close_v2(db_);
    db_ = nullptr;
}

void Connection::Execute(const QString& sql) {
    requireOwningThread();
    if (server_) {
        server_->execScript(sql.toUtf8().constData());
        return;
    }
    if (!db_) throw CatalogError(QStringLiteral("the catalogue is not open"));
    executeSql(db_, sql);
}

void Connection::BeginTrans() {
    // SQLite takes the write lock at once, so that a transaction never fails half-way for want of it; a
    // server locks row by row. A server only warns of a BEGIN inside a transaction and goes on in it, so
    // that work meant to land whole (a removal) would be committed with, or rolled back by, the other;
    // it is refused as SQLite refuses it.
    if (server_) {
        requireOwningThread();
        if (server_->inTransaction()) {
            throw CatalogError(QStringLiteral("cannot start a transaction within a transaction"));
        }
        Execute(QStringLiteral("BEGIN;"));
        return;
    }
    Execute(QStringLiteral("BEGIN IMMEDIATE;"));
}
void Connection::CommitTrans() {
    if (server_) {
        requireOwningThread();
        server_->commit();
        return;
    }
    Execute(QStringLiteral("COMMIT;"));
}
void Connection::RollbackTrans() {
    if (server_) {
        requireOwningThread();
        server_->rollback();
        return;
    }
    Execute(QStringLiteral("ROLLBACK;"));
}
void Connection::reserveDiscName(const QString& name) {
    requireOwningThread();
    if (!server_) return;
    if (!server_->inTransaction())
        throw CatalogError(QStringLiteral("a disc name is reserved inside a transaction"));
    // A name is tested with `like`: one with a wildcard may find names other than its own, so it takes every
    // name at once; any other name is found only by names that fold as it does, and takes those (a hash of
    // its folded form) beside a shared hold on all of them.
    constexpr qlonglong kAllDiscNames = 0x56544e4d;  // "VTNM"
    if (name.contains(QLatin1Char('%')) || name.contains(QLatin1Char('_'))) {
        server_->exec(QStringLiteral("SELECT pg_advisory_xact_lock($1);"), {kAllDiscNames});
    } else {
        server_->exec(QStringLiteral("SELECT pg_advisory_xact_lock_shared($1), "
                                     "pg_advisory_xact_lock(hashtextextended(vt_fold($2), $1));"),
                      {kAllDiscNames, name});
    }
}

bool Connection::inTransaction() const {
    if (server_) return server_->inTransaction();
    if (!db_) return false;
    // Asked from other threads too; the connection's own lock keeps the answer from racing with a
    // statement of the owner that ends the transaction (a failed write can roll it back).
    sqlite3_mutex* lock = sqlite3_db_mutex(db_);
    sqlite3_mutex_enter(lock);
    const bool open = sqlite3_get_autocommit(db_) == 0;
    sqlite3_mutex_leave(lock);
    return open;
}

void openCatalogue(Connection& connection, const QString& connectionString, CatalogueAccess access,
                   const SearchIndex::Progress& progress) {
    connection.setConnectionString(connectionString);
    connection.setCursorLocation(Connection::adUseClient);
    if (access == CatalogueAccess::ReadOnly) {
        connection.OpenReadOnly();
    } else {
        connection.Open(progress);
    }
}

Transaction::Transaction(Connection& connection) : connection_(connection) {
    connection_.BeginTrans();
}

Transaction::~Transaction() {
    if (!open_) return;
    try {
        if (connection_.inTransaction()) connection_.RollbackTrans();
    } catch (const CatalogError&) {
        // Nothing more can be done from a destructor; SQLite rolls back on close anyway.
    }
}

void Transaction::commit() {
    connection_.CommitTrans();
    open_ = false;
}

}  // namespace vt
