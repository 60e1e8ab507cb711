#include "catalog/postgres/PgConnection.h"

#include <QThread>
#include <iterator>
#include <optional>

#include "catalog/CatalogError.h"
#include "catalog/ValueKind.h"
#include "catalog/postgres/Libpq.h"
#include "catalog/postgres/PgConnectionString.h"

namespace vt {

namespace {

// The server's notices ("relation already exists, skipping", ...) are for a person at psql; by default
// libpq writes them to stderr, into the middle of the command line's output.
void ignoreNotice(void*, const char*) {}

// The text of a QVariant as the server reads a parameter of the type it expects.
QByteArray parameterText(const QVariant& value) {
    switch (valueKind(value)) {
        case ValueKind::Real:
            return QByteArray::number(value.toDouble(), 'g', 17);
        case ValueKind::Integer:
            return QByteArray::number(value.toLongLong());
        case ValueKind::Null:  // sent as NULL before it gets here
        case ValueKind::Text:
            break;
    }
    return value.toString().toUtf8();
}

QString trimmedMessage(const char* text) {
    return QString::fromUtf8(text).trimmed();
}

}  // namespace

void PgConnection::Finish::operator()(pg_conn* conn) const {
    libpq().finish(conn);
}

PgConnection::PgConnection(const QString& connectionString)
    : connectionString_(connectionString), description_(describeServerCatalogue(connectionString)) {
    // PQconnectdb would read an unparseable string's words back in its message; say only that it is
    // unreadable.
    char* parseError = nullptr;
    PQconninfoOption* parsed = libpq().conninfoParse(connectionString.toUtf8().constData(), &parseError);
    libpq().freemem(parseError);
    if (!parsed) throw CatalogError(QStringLiteral("the PostgreSQL connection string cannot be read"));
    libpq().conninfoFree(parsed);

    conn_.reset(libpq().connectdb(connectionString.toUtf8().constData()));
    if (!conn_) throw CatalogError(QStringLiteral("out of memory connecting to ") + description_);
    if (libpq().status(conn_.get()) != CONNECTION_OK) {
        throw CatalogError(failure(QStringLiteral("cannot connect to ") + description_));
    }
    libpq().setNoticeProcessor(conn_.get(), ignoreNotice, nullptr);
    if (libpq().setClientEncoding(conn_.get(), "UTF8") != 0) {
        throw CatalogError(failure(QStringLiteral("cannot speak UTF-8 with ") + description_));
    }
}

PgConnection::~PgConnection() = default;

QString PgConnection::failure(const QString& what) const {
    return withoutPassword(what + QStringLiteral(": ") + trimmedMessage(libpq().errorMessage(conn_.get())),
                           connectionString_);
}

void PgConnection::reconnectIfLost() {
    if (libpq().status(conn_.get()) == CONNECTION_OK || transactionOpen_) return;
    libpq().reset(conn_.get());
    if (libpq().status(conn_.get()) != CONNECTION_OK) {
        throw CatalogError(failure(QStringLiteral("cannot connect again to ") + description_));
    }
    if (libpq().setClientEncoding(conn_.get(), "UTF8") != 0) {
        throw CatalogError(failure(QStringLiteral("cannot speak UTF-8 with ") + description_));
    }
    // A new session: its prepared statements went with the old one.
    prepared_.clear();
    for (const QByteArray& setting : settings_) checked(libpq().exec(conn_.get(), setting.constData()));
}

void PgConnection::keepSetting(const char* sql) {
    execScript(sql);
    settings_.emplace_back(sql);
}

void PgConnection::commit() {
    // The transaction's id, if it wrote anything: the server can tell afterwards whether it kept it. In a
    // failed transaction this fails too, where a COMMIT would report success for what is a rollback.
    const QVariant transactionId = exec(QStringLiteral("SELECT txid_current_if_assigned();")).value(0, 0);
    try {
        execScript("COMMIT;");
    } catch (const CatalogError& error) {
        // A refusal from the server leaves the connection up, and a transaction that wrote nothing has
        // nothing to keep: the failure stands as it is.
        if (libpq().status(conn_.get()) == CONNECTION_OK || !transactionId.isValid()) throw;
        transactionOpen_ = false;  // over, one way or the other
        settleLostCommit(transactionId, error);
    }
}

void PgConnection::settleLostCommit(const QVariant& transactionId, const CatalogError& lost) {
    const QString unknown =
        lost.message() + QStringLiteral("; whether the server kept the transaction cannot be known now");
    // The server may still be finishing the transaction (a network cut that it has not noticed yet); it
    // is given a few seconds.
    constexpr int kWaitMilliseconds = 10000, kPollMilliseconds = 100;
    for (int waited = 0;; waited += kPollMilliseconds) {
        QString status;
        try {
            status = exec(QStringLiteral("SELECT txid_status($1);"), {transactionId}).value(0, 0).toString();
        } catch (const CatalogError& error) {
            throw CatalogError(unknown + QStringLiteral(" (") + error.message() + QLatin1Char(')'),
                               CatalogFailureCause::OutcomeUnknown);
        }
        if (status == QLatin1String("committed")) return;
        if (status == QLatin1String("aborted")) throw lost;
        if (status != QLatin1String("in progress") || waited >= kWaitMilliseconds)
            throw CatalogError(unknown, CatalogFailureCause::OutcomeUnknown);
        QThread::msleep(kPollMilliseconds);
    }
}

void PgConnection::rollback() {
    if (libpq().status(conn_.get()) != CONNECTION_OK) {
        // The server ended the transaction with the connection.
        transactionOpen_ = false;
        return;
    }
    execScript("ROLLBACK;");
}

void PgConnection::noteTransactionStatus() {
    // A lost connection says nothing, and the last word stands.
    switch (libpq().transactionStatus(conn_.get())) {
        case PQTRANS_IDLE:
            transactionOpen_ = false;
            break;
        case PQTRANS_INTRANS:
        case PQTRANS_INERROR:
            transactionOpen_ = true;
            break;
        default:
            break;
    }
}

PgResult PgConnection::checked(pg_result* raw) {
    PgResult result(raw);
    // What the server says of the transaction after each statement.
    noteTransactionStatus();
    const ExecStatusType status = libpq().resultStatus(raw);
    if (status == PGRES_COMMAND_OK || status == PGRES_TUPLES_OK) return result;
    // The server's primary message says what went wrong in one line; a lost connection leaves no result
    // at all, and its reason is on the connection.
    const char* primary = raw ? libpq().resultErrorField(raw, PG_DIAG_MESSAGE_PRIMARY) : nullptr;
    const QString message =
        primary ? trimmedMessage(primary) : trimmedMessage(libpq().errorMessage(conn_.get()));
    throw CatalogError(withoutPassword(QStringLiteral("PostgreSQL: ") + message, connectionString_));
}

std::vector<const char*> PgConnection::parameterValues(const std::vector<QVariant>& parameters,
                                                       std::vector<QByteArray>& texts) {
    texts.clear();
    texts.reserve(parameters.size());  // no reallocation: `values` points into it
    std::vector<const char*> values;
    values.reserve(parameters.size());
    for (const QVariant& parameter : parameters) {
        if (!parameter.isValid()) {
            values.push_back(nullptr);
            continue;
        }
        texts.push_back(parameterText(parameter));
        values.push_back(texts.back().constData());
    }
    return values;
}

PgResult PgConnection::exec(const QString& sql, const std::vector<QVariant>& parameters) {
    reconnectIfLost();
    std::vector<QByteArray> texts;
    const std::vector<const char*> values = parameterValues(parameters, texts);
    return checked(libpq().execParams(conn_.get(), sql.toUtf8().constData(), int(values.size()), nullptr,
                                      values.data(), nullptr, nullptr, 0));
}

PgResult PgConnection::execOnGenericPlan(const QByteArray& name, const QString& sql,
                                         const std::vector<QVariant>& parameters) {
    reconnectIfLost();
    if (prepared_.count(name) == 0) {
        // Not undone by a rollback: a prepared statement belongs to the session, not to a transaction.
        checked(libpq().exec(conn_.get(), ("PREPARE " + name + " AS " + sql.toUtf8()).constData()));
        prepared_.insert(name);
    }
    std::vector<QByteArray> texts;
    const std::vector<const char*> values = parameterValues(parameters, texts);

    // The settings the plan is made and run under go out with the statement and are taken back after it,
    // in one exchange; statements sent together form one transaction (or lie in the open one), so a
    // failure also takes them back.
    //   - Left to itself the server plans each run anew while that looks cheaper, which for a search by
    //     part of a path it always does.
    //   - Made for any values, the plan expects a two-hundredth of the rows to match (the server's guess
    //     for a pattern it cannot see), which at ten million rows is enough for it to share the work among
    //     parallel workers and to compile the plan to machine code at every run. Either takes
    //     milliseconds, more than the whole statement when few rows match, the one case this plan is for.
    static const char* const kSettings[][2] = {
        {"plan_cache_mode", "force_generic_plan"}, {"max_parallel_workers_per_gather", "0"}, {"jit", "off"}};
    pg_conn* conn = conn_.get();
    const auto send = [&](const QByteArray& statement) {
        return libpq().sendQueryParams(conn, statement.constData(), 0, nullptr, nullptr, nullptr, nullptr,
                                       0) == 1;
    };
    bool sent = libpq().enterPipelineMode(conn) == 1;
    for (const auto& setting : kSettings)
        sent = sent && send(QByteArray("SET ") + setting[0] + " = " + setting[1]);
    sent = sent && libpq().sendQueryPrepared(conn, name.constData(), int(values.size()), values.data(),
                                             nullptr, nullptr, 0) == 1;
    for (const auto& setting : kSettings) sent = sent && send(QByteArray("RESET ") + setting[0]);
    sent = sent && libpq().pipelineSync(conn) == 1;
    const int statements = 2 * int(std::size(kSettings)) + 1;
    std::optional<PgResult> rows;
    std::optional<CatalogError> failed;
    if (sent) {
        // Each statement's result and a null after it, then the end of the exchange.
        for (int statement = 0; statement < statements; ++statement) {
            while (pg_result* raw = libpq().getResult(conn)) {
                const ExecStatusType status = libpq().resultStatus(raw);
                if (status == PGRES_PIPELINE_ABORTED) {  // after a failure: not run, nothing to say
                    libpq().clear(raw);
                    continue;
                }
                try {
                    PgResult result = checked(raw);
                    if (status == PGRES_TUPLES_OK) rows.emplace(std::move(result));
                } catch (const CatalogError& error) {
                    if (!failed) failed = error;
                }
            }
            if (libpq().status(conn) != CONNECTION_OK) break;
        }
        if (libpq().status(conn) == CONNECTION_OK) {
            pg_result* end = libpq().getResult(conn);
            libpq().clear(end);
        }
    } else {
        failed = CatalogError(failure(QStringLiteral("cannot send a search to ") + description_));
    }
    // A lost connection leaves the pipeline to the reconnection, which starts the session afresh.
    if (libpq().status(conn) == CONNECTION_OK) libpq().exitPipelineMode(conn);
    noteTransactionStatus();
    if (failed) throw *failed;
    if (!rows) {
        throw CatalogError(
            failure(QStringLiteral("the connection to ") + description_ + QStringLiteral(" was lost")));
    }
    return std::move(*rows);
}

void PgConnection::execScript(const char* sql) {
    reconnectIfLost();
    checked(libpq().exec(conn_.get(), sql));
}

void PgConnection::beginCopyIn(const QString& sql) {
    reconnectIfLost();
    pg_result* started = libpq().exec(conn_.get(), sql.toUtf8().constData());
    if (libpq().resultStatus(started) == PGRES_COPY_IN) {
        libpq().clear(started);
        return;
    }
    checked(started);
    throw CatalogError(QStringLiteral("PostgreSQL did not start taking rows for ") + sql);
}

void PgConnection::putCopyData(const QByteArray& rows) {
    // Blocking connection: 1 means sent (or queued), -1 failed; a full socket makes it wait.
    if (libpq().putCopyData(conn_.get(), rows.constData(), int(rows.size())) != 1) {
        throw CatalogError(failure(QStringLiteral("sending rows to ") + description_));
    }
}

void PgConnection::endCopyIn() {
    if (libpq().putCopyEnd(conn_.get(), nullptr) != 1) {
        throw CatalogError(failure(QStringLiteral("ending the rows sent to ") + description_));
    }
    checkRemainingResults();
}

void PgConnection::abandonCopyIn() noexcept {
    if (libpq().putCopyEnd(conn_.get(), "abandoned by the program") != 1) return;
    while (pg_result* result = libpq().getResult(conn_.get())) libpq().clear(result);
}

void PgConnection::checkRemainingResults() {
    // The statement's own result, then null; a failure among them is the one to tell.
    std::optional<CatalogError> failed;
    while (pg_result* raw = libpq().getResult(conn_.get())) {
        try {
            checked(raw);
        } catch (const CatalogError& error) {
            if (!failed) failed = error;
        }
    }
    if (failed) throw *failed;
    // A connection lost as the rows ended gives no result at all.
    if (libpq().status(conn_.get()) != CONNECTION_OK) {
        throw CatalogError(
            failure(QStringLiteral("the connection to ") + description_ + QStringLiteral(" was lost")));
    }
}

int PgConnection::serverProcessId() const {
    return libpq().backendPID(conn_.get());
}

QString PgConnection::literal(const QString& text) const {
    const QByteArray utf8 = text.toUtf8();
    char* escaped = libpq().escapeLiteral(conn_.get(), utf8.constData(), size_t(utf8.size()));
    if (!escaped) throw CatalogError(failure(QStringLiteral("cannot write a literal for ") + description_));
    const QString result = QString::fromUtf8(escaped);
    libpq().freemem(escaped);
    return result;
}

bool PgConnection::inTransaction() const {
    const PGTransactionStatusType status = libpq().transactionStatus(conn_.get());
    if (status == PQTRANS_UNKNOWN) return transactionOpen_;
    return status == PQTRANS_INTRANS || status == PQTRANS_INERROR || status == PQTRANS_ACTIVE;
}

}  // namespace vt
