#include "CatalogueHelpers.h"

#include <gtest/gtest.h>
#include <sqlite3.h>

#include <limits>

#include "catalog/BankListAppender.h"
#include "catalog/CatalogError.h"
#include "catalog/Recordset.h"
#include "catalog/SearchIndex.h"
#include "catalog/SqliteStatement.h"
#include "catalog/Statements.h"

namespace vt::test {

void addDisc(Connection& connection, const QString& disc, const std::vector<QString>& paths) {
    qint64 nextSize = 0;
    {
        SqliteStatement largest(connection.handle(), QStringLiteral("SELECT max(FileSize) FROM BankList"));
        if (largest.step() && !largest.column(0).isNull()) nextSize = largest.column(0).toLongLong() + 1;
    }
    Transaction transaction(connection);
    {
        BankListAppender appender(connection);
        for (const QString& path : paths) {
            appender.append({disc, path.section(QLatin1Char('\\'), -1), path, double(nextSize++),
                             QStringLiteral("ArchiveNormal"), std::nullopt});
        }
        appender.finish();
    }
    SqliteStatement diskRow(
        connection.handle(),
        QStringLiteral(
            "INSERT INTO Disks(DiskName, SerialNo, DiskSize, FileCount) VALUES (?1, '1', '1 bytes', ?2)"));
    diskRow.bind(1, disc);
    diskRow.bind(2, QString::number(paths.size()));
    diskRow.step();
    transaction.commit();
}

void indexNewRows(Connection& connection, qint64 rows) {
    Transaction transaction(connection);
    SearchIndex::catchUp(connection.handle(), rows < 0 ? std::numeric_limits<qint64>::max() : rows);
    transaction.commit();
}

void removeDisc(Connection& connection, const QString& disc) {
    Transaction transaction(connection);
    Recordset files;
    files.Open(Statements::filesOfDisk(disc), connection);
    const long count = files.RecordCount();
    if (count > 0) files.MoveFirst();
    for (long i = 0; i < count; ++i) {
        files.Delete();
        files.MoveNext();
    }
    Recordset diskRow;
    diskRow.Open(Statements::diskNamed(disc), connection);
    if (diskRow.RecordCount() > 0) diskRow.Delete();
    transaction.commit();
}

std::vector<QString> rowsOf(Connection& connection, const QString& statement, bool indexed) {
    connection.setIndexedSearch(indexed);
    Recordset recordset;
    recordset.Open(statement, connection);
    connection.setIndexedSearch(true);
    std::vector<QString> rows;
    for (long i = 0, n = recordset.RecordCount(); i < n; ++i) {
        if (i == 0) recordset.MoveFirst();
        rows.push_back(recordset.Fields(0).Value().toString() + QLatin1Char('|') +
                       recordset.Fields(2).Value().toString() + QLatin1Char('|') +
                       QString::number(recordset.Fields(3).Value().toLongLong()));
        recordset.MoveNext();
    }
    return rows;
}

QString indexProblem(Connection& connection) {
    // FTS5's own integrity check does not compare an external-content index with its rows; instead the
    // index is compared, trigram by trigram and row count by row count, with one built afresh from the
    // rows as they are now, inside a transaction that is then rolled back.
    try {
        SearchIndex::applyRemovals(connection.handle());
        indexNewRows(connection);
        Transaction transaction(connection);
        connection.Execute(QStringLiteral(
            "CREATE VIRTUAL TABLE Fresh USING fts5(FilePath, content='BankList', content_rowid='rowid', "
            "tokenize='vt_trigram', detail=none, columnsize=0, prefix='2');"
            "INSERT INTO Fresh(Fresh) VALUES ('rebuild');"
            "CREATE VIRTUAL TABLE temp.FreshTerms USING fts5vocab(main, Fresh, 'row');"
            "CREATE VIRTUAL TABLE temp.IndexTerms USING fts5vocab(main, BankListPaths, 'row');"));
        SqliteStatement difference(
            connection.handle(),
            QStringLiteral("SELECT (SELECT count(*) FROM (SELECT term, doc FROM temp.IndexTerms EXCEPT "
                           "SELECT term, doc FROM temp.FreshTerms)) || ',' || "
                           "(SELECT count(*) FROM (SELECT term, doc FROM temp.FreshTerms EXCEPT "
                           "SELECT term, doc FROM temp.IndexTerms))"));
        difference.step();
        const QString counts = difference.column(0).toString();
        if (counts != QStringLiteral("0,0")) {
            return QStringLiteral("trigrams with other row counts than the rows give (index, rows): ") +
                   counts;
        }
    } catch (const CatalogError& error) {
        return error.message();
    }
    return {};
}

void execute(Connection& connection, const QString& sql) {
    try {
        connection.Execute(sql);
    } catch (const CatalogError& error) {
        ADD_FAILURE() << sql.toStdString() << ": " << error.what();
    }
}

}  // namespace vt::test
