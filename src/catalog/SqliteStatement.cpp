#include "catalog/SqliteStatement.h"

#include <sqlite3.h>

#include "catalog/CatalogError.h"
#include "catalog/Connection.h"
#include "catalog/SqliteFailureCause.h"
#include "catalog/ValueKind.h"

namespace vt {

QString sqliteMessage(sqlite3* db) {
    return QString::fromUtf8(sqlite3_errmsg(db));
}

void executeSql(sqlite3* db, const char* sql) {
    char* error = nullptr;
    if (sqlite3_exec(db, sql, nullptr, nullptr, &error) != SQLITE_OK) {
        const QString message = QString::fromUtf8(error ? error : "unknown error");
        sqlite3_free(error);
        throw CatalogError(message, sqliteFailureCause(db));
    }
}

void executeSql(sqlite3* db, const QString& sql) {
    executeSql(db, sql.toUtf8().constData());
}

SqliteStatement::SqliteStatement(sqlite3* db, const QString& sql) : db_(db) {
    const QByteArray utf8 = sql.toUtf8();
    if (sqlite3_prepare_v2(db, utf8.constData(), int(utf8.size()), &stmt_, nullptr) != SQLITE_OK) {
        const CatalogError error(sqliteMessage(db), sqliteFailureCause(db));
        sqlite3_finalize(stmt_);
        stmt_ = nullptr;
        throw error;
    }
    if (!stmt_) throw CatalogError(QStringLiteral("empty statement"));
}

SqliteStatement::SqliteStatement(const Connection& connection, const QString& sql)
    : SqliteStatement(connection.handle(), sql) {
    connection_ = &connection;
}

SqliteStatement::~SqliteStatement() {
    sqlite3_finalize(stmt_);
}

void SqliteStatement::requireOwningThread() const {
    if (connection_) connection_->requireOwningThread();
}

void SqliteStatement::bind(int index, const QVariant& value) {
    requireOwningThread();
    int rc;
    switch (valueKind(value)) {
        case ValueKind::Null:
            rc = sqlite3_bind_null(stmt_, index);
            break;
        case ValueKind::Real:
            rc = sqlite3_bind_double(stmt_, index, value.toDouble());
            break;
        case ValueKind::Integer:
            rc = sqlite3_bind_int64(stmt_, index, value.toLongLong());
            break;
        case ValueKind::Text: {
            const QByteArray utf8 = value.toString().toUtf8();
            rc = sqlite3_bind_text(stmt_, index, utf8.constData(), int(utf8.size()), SQLITE_TRANSIENT);
            break;
        }
    }
    if (rc != SQLITE_OK) throw CatalogError(sqliteMessage(db_), sqliteFailureCause(db_));
}

bool SqliteStatement::step() {
    requireOwningThread();
    const int rc = sqlite3_step(stmt_);
    if (rc == SQLITE_ROW) return true;
    if (rc == SQLITE_DONE) return false;
    const CatalogError error(sqliteMessage(db_), sqliteFailureCause(db_));
    sqlite3_reset(stmt_);
    throw error;
}

void SqliteStatement::reset() {
    requireOwningThread();
    sqlite3_reset(stmt_);
    sqlite3_clear_bindings(stmt_);
}

int SqliteStatement::columnCount() const {
    return sqlite3_column_count(stmt_);
}

QVariant SqliteStatement::column(int index) const {
    switch (sqlite3_column_type(stmt_, index)) {
        case SQLITE_INTEGER:
            return QVariant(qlonglong(sqlite3_column_int64(stmt_, index)));
        case SQLITE_FLOAT:
            return QVariant(sqlite3_column_double(stmt_, index));
        case SQLITE_NULL:
            return QVariant();
        default: {
            const auto* text = reinterpret_cast<const char*>(sqlite3_column_text(stmt_, index));
            return QVariant(QString::fromUtf8(text, sqlite3_column_bytes(stmt_, index)));
        }
    }
}

}  // namespace vt
