#pragma once

#include <QByteArray>
#include <QString>
#include <QVariant>
#include <optional>
#include <vector>

namespace vt {

// A select of the program's dialect as the PostgreSQL catalogue runs it, giving the rows SQLite gives for
// it in the same order: first the row's RowId, then the columns the statement asks for.
//   - "select top N" becomes LIMIT N; rows come in order of arrival (ORDER BY RowId), as the file's come in
//     rowid order;
//   - "*" becomes the catalogue's own columns of the table, never RowId;
//   - `like` compares the folded texts (vt_fold) with '%' and '_' only, no escape character, as the
//     catalogue's `like` does;
//   - a search by part of a path, and the rows of one disc by name, compare the disc's name folded as
//     well (the file catalogue asks for every stored spelling of it, see SelectRouting.h);
//   - every quoted literal of the statement is sent as a parameter instead.
// Throws CatalogError for what is not a select.
struct PgSelect {
    QString sql;
    std::vector<QVariant> parameters;  // for $1, $2, ...
    QString table;                     // the table read, as written; empty when not a plain table

    // A search by part of a path, also written to go through the path index alone (for one disc,
    // intersected with the name index), for a plan made once (PgConnection::execOnGenericPlan): the same
    // rows in the same order. Worth it only when few rows of the catalogue match
    // (PgPathStatistics::favoursPathIndex): for a common text, reading rows in rowid order (or the disc's
    // rows) stops sooner.
    struct ThroughPathIndex {
        QByteArray name;  // of the prepared statement; one per limit
        QString sql;
        std::vector<QVariant> parameters;
        QString foldedPattern;
        long limit = 0;
    };
    std::optional<ThroughPathIndex> throughPathIndex;

    static PgSelect translate(const QString& source);
};

// The catalogue's columns of `table` (BankList or Disks, in any case) in order, comma-separated; empty for
// any other table.
QString pgCatalogueColumns(const QString& table);

}  // namespace vt
