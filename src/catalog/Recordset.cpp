#include "catalog/Recordset.h"

#include <sqlite3.h>

#include <QRegularExpression>

#include "catalog/CatalogError.h"
#include "catalog/Connection.h"
#include "catalog/SelectRouting.h"
#include "catalog/SqliteStatement.h"
#include "catalog/postgres/PgConnection.h"
#include "catalog/postgres/PgSelect.h"
#include "catalog/postgres/PgSelectRun.h"

namespace vt {

QString translateSelect(const QString& source, QString* tableName) {
    static const QRegularExpression head(QStringLiteral("^\\s*select\\s+(?:top\\s+(\\d+)\\s+)?"),
                                         QRegularExpression::CaseInsensitiveOption);
    static const QRegularExpression from(QStringLiteral("\\bfrom\\s+([A-Za-z_][A-Za-z0-9_]*)"),
                                         QRegularExpression::CaseInsensitiveOption);
    const QRegularExpressionMatch headMatch = head.match(source);
    if (!headMatch.hasMatch()) throw CatalogError(QStringLiteral("not a select statement: ") + source);

    QString body = source.mid(headMatch.capturedLength());
    if (tableName) {
        const QRegularExpressionMatch fromMatch = from.match(body);
        *tableName = fromMatch.hasMatch() ? fromMatch.captured(1) : QString();
    }
    QString result = QStringLiteral("SELECT _rowid_, ") + body;
    if (headMatch.capturedLength(1) > 0) {
        while (!result.isEmpty() && result.back().isSpace()) result.chop(1);
        if (result.endsWith(QLatin1Char(';'))) result.chop(1);
        result += QStringLiteral(" LIMIT ") + headMatch.captured(1) + QLatin1Char(';');
    }
    return result;
}

QVariant Field::Value() const {
    if (owner_.adding_) {
        if (index_ < 0 || index_ >= int(owner_.pending_.size())) {
            throw CatalogError(QStringLiteral("no field at position %1").arg(index_));
        }
        return owner_.pending_[size_t(index_)];
    }
    const auto& values = owner_.currentRow().values;
    if (index_ < 0 || index_ >= int(values.size())) {
        throw CatalogError(QStringLiteral("no field at position %1").arg(index_));
    }
    return values[size_t(index_)];
}

void Field::setValue(const QVariant& value) {
    owner_.requireOpen();
    if (!owner_.adding_) throw CatalogError(QStringLiteral("only a new row can be given values"));
    if (index_ < 0 || index_ >= int(owner_.pending_.size())) {
        throw CatalogError(QStringLiteral("no field at position %1").arg(index_));
    }
    owner_.pending_[size_t(index_)] = value;
}

Recordset::Recordset() = default;
Recordset::~Recordset() = default;

void Recordset::Open(const QString& source, Connection& activeConnection, int, int, int) {
    if (open_) throw CatalogError(QStringLiteral("the recordset is already open"));
    source_ = source;
    QString table;
    int columns = 0;
    std::vector<Row> rows;
    if (PgConnection* server = activeConnection.server()) {
        const PgSelect select = PgSelect::translate(source);
        const PgResult result = runPgSelect(*server, *activeConnection.serverPathStatistics(), select);
        table = select.table;
        columns = result.columnCount() - 1;
        rows.reserve(size_t(result.rowCount()));
        for (int r = 0; r < result.rowCount(); ++r) {
            Row row;
            row.rowid = result.value(r, 0).toLongLong();
            row.values.reserve(size_t(columns));
            for (int i = 0; i < columns; ++i) row.values.push_back(result.value(r, i + 1));
            rows.push_back(std::move(row));
        }
    } else {
        if (!activeConnection.handle()) throw CatalogError(QStringLiteral("the catalogue is not open"));
        QString translated = translateSelect(source, &table);
        const std::optional<RoutedSelect> routed =
            routeSelect(source, activeConnection.handle(), activeConnection.indexedSearch());
        if (routed) translated = routed->sql;

        SqliteStatement statement(activeConnection, translated);
        if (routed) {
            for (size_t i = 0; i < routed->bindings.size(); ++i)
                statement.bind(int(i) + 1, routed->bindings[i]);
        }
        columns = statement.columnCount() - 1;
        while (statement.step()) {
            Row row;
            row.rowid = statement.column(0).toLongLong();
            row.values.reserve(size_t(columns));
            for (int i = 0; i < columns; ++i) row.values.push_back(statement.column(i + 1));
            rows.push_back(std::move(row));
        }
    }

    connection_ = &activeConnection;
    table_ = table;
    columnCount_ = columns;
    rows_ = std::move(rows);
    current_ = nextLiveIndex(0);
    adding_ = false;
    pending_.clear();
    insert_.reset();
    delete_.reset();
    open_ = true;
}

void Recordset::Close() {
    requireOpen();
    open_ = false;
    rows_.clear();
    pending_.clear();
    adding_ = false;
    insert_.reset();
    delete_.reset();
    connection_ = nullptr;
}

void Recordset::requireOpen() const {
    if (!open_) throw CatalogError(QStringLiteral("the recordset is closed"));
}

long Recordset::nextLiveIndex(long from) const {
    long i = from;
    while (i < long(rows_.size()) && rows_[size_t(i)].deleted) ++i;
    return i;
}

Recordset::Row& Recordset::currentRow() {
    requireOpen();
    if (current_ >= long(rows_.size()) || rows_[size_t(current_)].deleted) {
        throw CatalogError(QStringLiteral("there is no current row"));
    }
    return rows_[size_t(current_)];
}

long Recordset::RecordCount() const {
    requireOpen();
    long count = 0;
    for (const Row& row : rows_) count += row.deleted ? 0 : 1;
    return count;
}

void Recordset::MoveFirst() {
    requireOpen();
    adding_ = false;
    current_ = nextLiveIndex(0);
    if (current_ >= long(rows_.size())) throw CatalogError(QStringLiteral("the recordset has no rows"));
}

void Recordset::MoveNext() {
    requireOpen();
    adding_ = false;
    if (current_ >= long(rows_.size())) throw CatalogError(QStringLiteral("already past the last row"));
    current_ = nextLiveIndex(current_ + 1);
}

bool Recordset::EOF_() const {
    requireOpen();
    return current_ >= long(rows_.size());
}

void Recordset::setAbsolutePosition(long n) {
    requireOpen();
    adding_ = false;
    long live = 0;
    for (size_t i = 0; i < rows_.size(); ++i) {
        if (rows_[i].deleted) continue;
        if (++live == n) {
            current_ = long(i);
            return;
        }
    }
    throw CatalogError(QStringLiteral("no row at position %1").arg(n));
}

void Recordset::AddNew() {
    requireOpen();
    if (table_.isEmpty()) throw CatalogError(QStringLiteral("rows can only be added to a table"));
    adding_ = true;
    pending_.assign(size_t(columnCount_), QVariant());
}

void Recordset::Update() {
    requireOpen();
    if (!adding_) return;  // nothing pending: existing rows are never edited in place
    Row row;
    if (PgConnection* server = connection_->server()) {
        QString placeholders;
        for (int i = 0; i < columnCount_; ++i)
            placeholders += QStringLiteral("%1$%2").arg(i ? "," : "").arg(i + 1);
        row.rowid = server
                        ->exec(QStringLiteral("INSERT INTO %1 (%2) VALUES (%3) RETURNING RowId;")
                                   .arg(table_, pgCatalogueColumns(table_), placeholders),
                               pending_)
                        .value(0, 0)
                        .toLongLong();
    } else {
        if (!insert_) {
            QString placeholders;
            for (int i = 0; i < columnCount_; ++i)
                placeholders += i ? QStringLiteral(",?") : QStringLiteral("?");
            insert_ = std::make_unique<SqliteStatement>(
                *connection_, QStringLiteral("INSERT INTO \"%1\" VALUES (%2);").arg(table_, placeholders));
        }
        insert_->reset();
        for (int i = 0; i < columnCount_; ++i) insert_->bind(i + 1, pending_[size_t(i)]);
        insert_->step();
        row.rowid = sqlite3_last_insert_rowid(connection_->handle());
    }
    row.values = std::move(pending_);
    rows_.push_back(std::move(row));
    current_ = long(rows_.size()) - 1;
    pending_.clear();
    adding_ = false;
}

void Recordset::Delete(int) {
    Row& row = currentRow();
    if (table_.isEmpty()) throw CatalogError(QStringLiteral("rows can only be deleted from a table"));
    if (PgConnection* server = connection_->server()) {
        server->exec(QStringLiteral("DELETE FROM %1 WHERE RowId = $1;").arg(table_), {row.rowid});
    } else {
        if (!delete_) {
            delete_ = std::make_unique<SqliteStatement>(
                *connection_, QStringLiteral("DELETE FROM \"%1\" WHERE _rowid_ = ?;").arg(table_));
        }
        delete_->reset();
        delete_->bind(1, row.rowid);
        delete_->step();
    }
    row.deleted = true;
}

}  // namespace vt
