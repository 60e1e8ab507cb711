#pragma once

#include <QString>
#include <QVariant>
#include <memory>
#include <set>
#include <vector>

#include "catalog/postgres/PgResult.h"

struct pg_conn;

namespace vt {

class CatalogError;

// A connection to a PostgreSQL server through libpq, closed when the object goes. Values always travel
// as parameters ($1, $2, ...), apart from the statement's text, so no value can change what a statement
// does. Every failure throws CatalogError with the server's or libpq's own words, never the password of
// the connection string (see PgConnectionString.h).
class PgConnection {
  public:
    // Connects, with UTF-8 as the text encoding. Throws CatalogError.
    explicit PgConnection(const QString& connectionString);
    ~PgConnection();
    PgConnection(const PgConnection&) = delete;
    PgConnection& operator=(const PgConnection&) = delete;

    // Runs one statement with `parameters` for $1, $2, ...; values are sent as their text, NULL for an
    // invalid QVariant, and the server gives them the type the statement needs. Throws CatalogError.
    PgResult exec(const QString& sql, const std::vector<QVariant>& parameters = {});
    // Runs `sql` as exec does, but on one plan the server made for any values (a generic plan) and keeps
    // for the session: prepared under `name` on first use, and again after the connection is made anew.
    // For a statement whose best plan does not depend on its values, this spares the planning that exec
    // repeats every time, which costs more than a search that finds nothing takes to run. Throws
    // CatalogError.
    PgResult execOnGenericPlan(const QByteArray& name, const QString& sql,
                               const std::vector<QVariant>& parameters);
    // Runs statements of the program's own fixed text, several at once (a schema); no values may be in
    // them. Throws CatalogError.
    void execScript(const char* sql);
    // Runs a setting of the session (a SET) now and again whenever the connection is made anew.
    void keepSetting(const char* sql);
    // Ends the open transaction keeping what it did. When the connection is lost while the server commits,
    // the server may or may not have kept the transaction; this asks it on a new connection, and returns
    // only when it was kept. Throws CatalogError when it was not, or when that cannot be learnt (the
    // message says so). The transaction is over either way.
    void commit();
    // Ends the open transaction without keeping anything; a transaction whose connection was lost is over
    // already, and this only takes note of it.
    void rollback();

    // COPY ... FROM STDIN: `begin` starts it, `put` sends rows in the server's text format, `end` completes
    // it and checks what the server made of them. `abandon` ends it so that the server drops what came (the
    // transaction is then failed and must be rolled back); it never throws. The others throw CatalogError.
    void beginCopyIn(const QString& sql);
    void putCopyData(const QByteArray& rows);
    void endCopyIn();
    void abandonCopyIn() noexcept;

    // The server process that serves this connection (another connection can end it).
    int serverProcessId() const;

    // `text` as a string literal of the server's dialect, for the one place values cannot be parameters:
    // the body of a function the program defines (see PgCatalogSchema). Throws CatalogError.
    QString literal(const QString& text) const;

    // Whether a transaction is open (also one that failed, or whose connection was lost, and awaits its
    // rollback).
    //
    // A connection lost while no transaction was open (the server restarted, a network cut, an
    // administrator's pg_terminate_backend) is made anew at the next statement, with its settings: the
    // statement that met the loss fails, the ones after it work. One lost inside a transaction is not, so
    // that no statement meant for that transaction runs outside it: every statement fails until rollback().
    bool inTransaction() const;
    // The server as messages may name it, without a password.
    const QString& description() const { return description_; }
    pg_conn* get() const { return conn_.get(); }

  private:
    struct Finish {
        void operator()(pg_conn* conn) const;
    };
    QString failure(const QString& what) const;
    PgResult checked(pg_result* result);
    // Makes a connection lost outside a transaction anew (see inTransaction). Throws CatalogError.
    void reconnectIfLost();
    // Whether the transaction `transactionId` was kept, asked after the connection was lost at its commit:
    // returns when it was, throws `lost` (or why the answer cannot be had) when not.
    void settleLostCommit(const QVariant& transactionId, const CatalogError& lost);
    // Reads the results that end a statement, throwing CatalogError for a failed one.
    void checkRemainingResults();
    // Takes note of the transaction state the server last told.
    void noteTransactionStatus();
    // The values of `parameters` as libpq takes them: `texts` holds what `values` points to.
    static std::vector<const char*> parameterValues(const std::vector<QVariant>& parameters,
                                                    std::vector<QByteArray>& texts);

    QString connectionString_;
    QString description_;
    std::unique_ptr<pg_conn, Finish> conn_;
    std::vector<QByteArray> settings_;
    bool transactionOpen_ = false;   // as the server last told it
    std::set<QByteArray> prepared_;  // the names prepared on the session (see execOnGenericPlan)
};

}  // namespace vt
