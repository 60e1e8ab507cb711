#include "catalog/CatalogCheck.h"

#include <sqlite3.h>

#include <algorithm>
#include <utility>
#include <vector>

#include "catalog/CatalogError.h"
#include "catalog/Connection.h"
#include "catalog/SearchIndex.h"
#include "catalog/SqliteStatement.h"
#include "catalog/postgres/PgConnection.h"

namespace vt {

namespace {

// SQLite's integrity check stops after this many findings; more say nothing new.
constexpr int kIntegrityFindings = 100;
// Discs named per kind of problem; the count says how many more there are.
constexpr int kNamedDiscs = 20;

qint64 scalar(sqlite3* db, const QString& sql) {
    SqliteStatement statement(db, sql);
    return statement.step() ? statement.column(0).toLongLong() : 0;
}

void checkIntegrity(sqlite3* db, CatalogCheckReport& report) {
    try {
        SqliteStatement check(db, QStringLiteral("PRAGMA integrity_check(%1);").arg(kIntegrityFindings));
        while (check.step()) {
            const QString finding = check.column(0).toString();
            if (finding != QLatin1String("ok")) report.problems << QStringLiteral("damaged file: ") + finding;
        }
    } catch (const CatalogError& e) {
        // Damage bad enough stops the integrity check itself; a file that cannot be read is another matter.
        if ((sqlite3_errcode(db) & 0xFF) != SQLITE_CORRUPT) throw;
        report.problems << QStringLiteral("damaged file: ") + e.message();
    }
}

// Discs with something wrong, each with what is wrong: (disc name, detail).
using DiscFindings = std::vector<std::pair<QString, QVariant>>;

DiscFindings findings(sqlite3* db, const QString& sql) {
    SqliteStatement rows(db, sql);
    DiscFindings found;
    while (rows.step()) found.emplace_back(rows.column(0).toString(), rows.column(1));
    return found;
}

DiscFindings findings(PgConnection& db, const QString& sql) {
    const PgResult rows = db.exec(sql);
    DiscFindings found;
    for (int r = 0; r < rows.rowCount(); ++r)
        found.emplace_back(rows.value(r, 0).toString(), rows.value(r, 1));
    return found;
}

// Reports each finding as a problem worded by `say`, the first few by name.
template <typename Say>
void reportDiscs(const DiscFindings& found, CatalogCheckReport& report, Say say) {
    const qsizetype named = std::min<qsizetype>(qsizetype(found.size()), kNamedDiscs);
    for (qsizetype i = 0; i < named; ++i)
        report.problems << say(found[size_t(i)].first, found[size_t(i)].second);
    const qsizetype more = qsizetype(found.size()) - named;
    if (more > 0) report.problems << QStringLiteral("... and %1 more discs like these").arg(more);
}

// The findings, (disc, "recorded/rows"), (disc, rows), (disc, discs), of the three kinds below, as either
// engine gives them.
struct DiscQueries {
    DiscFindings miscounted;
    DiscFindings orphaned;
    DiscFindings sharedNames;
};

void reportDiscQueries(const DiscQueries& found, CatalogCheckReport& report) {
    reportDiscs(found.miscounted, report, [](const QString& disc, const QVariant& counts) {
        const QStringList parts = counts.toString().split(QLatin1Char('/'));
        return QStringLiteral("disc '%1' records %2 files but has %3 file rows")
            .arg(disc, parts.value(0), parts.value(1));
    });
    reportDiscs(found.orphaned, report, [](const QString& disc, const QVariant& rows) {
        return QStringLiteral("%1 file rows belong to no catalogued disc (named '%2')")
            .arg(rows.toLongLong())
            .arg(disc);
    });
    reportDiscs(found.sharedNames, report, [](const QString& disc, const QVariant& rows) {
        return QStringLiteral("%1 discs share the name '%2'").arg(rows.toLongLong()).arg(disc);
    });
}

void checkDiscs(sqlite3* db, CatalogCheckReport& report) {
    report.disks = scalar(db, QStringLiteral("SELECT count(*) FROM Disks;"));
    report.rows = scalar(db, QStringLiteral("SELECT count(*) FROM BankList;"));
    DiscQueries found;
    found.miscounted =
        findings(db, QStringLiteral("SELECT DiskName, FileCount || '/' || (SELECT count(*) FROM BankList b "
                                    "WHERE b.DiskName = d.DiskName) FROM Disks d WHERE CAST(FileCount AS "
                                    "INTEGER) IS NOT (SELECT count(*) FROM BankList b WHERE b.DiskName = "
                                    "d.DiskName);"));
    found.orphaned =
        findings(db, QStringLiteral("SELECT DiskName, count(*) FROM BankList WHERE DiskName NOT IN "
                                    "(SELECT DiskName FROM Disks) OR DiskName IS NULL GROUP BY DiskName;"));
    found.sharedNames = findings(
        db, QStringLiteral("SELECT DiskName, count(*) FROM Disks GROUP BY DiskName HAVING count(*) > 1;"));
    reportDiscQueries(found, report);
}

// The same questions of a server, in the file's order. A disc's rows are counted through the folded
// DiskName index; a recorded count is read as SQLite's CAST reads it (its leading whole number, else 0).
void checkDiscs(PgConnection& db, CatalogCheckReport& report) {
    report.disks = db.exec(QStringLiteral("SELECT count(*) FROM Disks;")).value(0, 0).toLongLong();
    report.rows = db.exec(QStringLiteral("SELECT count(*) FROM BankList;")).value(0, 0).toLongLong();
    DiscQueries found;
    found.miscounted = findings(
        db, QStringLiteral(
                "SELECT d.DiskName, coalesce(d.FileCount, '') || '/' || c.n FROM Disks d CROSS JOIN LATERAL "
                "(SELECT count(*) AS n FROM BankList b WHERE vt_fold(b.DiskName) = vt_fold(d.DiskName) AND "
                "b.DiskName = d.DiskName) c WHERE CASE WHEN d.FileCount IS NULL THEN NULL ELSE "
                "coalesce(substring(d.FileCount FROM '^\\s*([+-]?[0-9]+)')::numeric, 0) END IS DISTINCT "
                "FROM c.n ORDER BY d.RowId;"));
    found.orphaned = findings(
        db, QStringLiteral("SELECT DiskName, count(*) FROM BankList WHERE DiskName NOT IN (SELECT DiskName "
                           "FROM Disks WHERE DiskName IS NOT NULL) OR DiskName IS NULL GROUP BY DiskName "
                           "ORDER BY DiskName COLLATE \"C\" NULLS FIRST;"));
    found.sharedNames = findings(db, QStringLiteral("SELECT DiskName, count(*) FROM Disks GROUP BY DiskName "
                                                    "HAVING count(*) > 1 ORDER BY DiskName COLLATE \"C\" "
                                                    "NULLS FIRST;"));
    reportDiscQueries(found, report);
}

CatalogCheckReport checkServer(PgConnection& db) {
    CatalogCheckReport report;
    report.notes << QStringLiteral(
        "the server keeps its storage and search index sound itself; checked here are the discs and their "
        "file rows");
    // One snapshot for every count, however the catalogue changes meanwhile.
    db.execScript("BEGIN ISOLATION LEVEL REPEATABLE READ READ ONLY;");
    try {
        checkDiscs(db, report);
    } catch (const CatalogError&) {
        db.rollback();
        throw;
    }
    db.execScript("COMMIT;");
    return report;
}

// The check builds what the index should hold in the temporary schema. A reader's handle is kept to
// queries (which covers the temporary schema too); it is let write there for the check alone.
class TemporaryWrites {
  public:
    explicit TemporaryWrites(sqlite3* db)
        : db_(db), queryOnly_(scalar(db, QStringLiteral("PRAGMA query_only;")) != 0) {
        if (queryOnly_) executeSql(db_, QStringLiteral("PRAGMA query_only = 0;"));
    }
    ~TemporaryWrites() {
        sqlite3_exec(db_,
                     "DROP TABLE IF EXISTS temp.ExpectedTerms; DROP TABLE IF EXISTS temp.IndexTerms;"
                     "DROP TABLE IF EXISTS temp.ExpectedIndex; DROP VIEW IF EXISTS temp.ExpectedRows;",
                     nullptr, nullptr, nullptr);
        if (queryOnly_) sqlite3_exec(db_, "PRAGMA query_only = 1;", nullptr, nullptr, nullptr);
    }
    TemporaryWrites(const TemporaryWrites&) = delete;
    TemporaryWrites& operator=(const TemporaryWrites&) = delete;

  private:
    sqlite3* db_;
    bool queryOnly_;
};

// The index must list every covered row under each trigram of its path, and removed rows until upkeep
// takes them out; nothing else. An index built afresh from exactly those rows is compared with it,
// trigram by trigram and row by row.
void checkPathIndex(sqlite3* db, CatalogCheckReport& report) {
    if (!SearchIndex::exists(db) || !SearchIndex::hasCoverage(db)) {
        report.notes << QStringLiteral(
            "the path index is not built yet; the program builds it when it "
            "next opens the catalogue for writing");
        return;
    }
    if (!SearchIndex::isCurrent(db)) {
        report.notes << QStringLiteral(
            "the path index was built under other character rules; the program "
            "rebuilds it when it next opens the catalogue for writing");
        return;
    }
    const qint64 pending = SearchIndex::pendingRows(db);
    if (pending > 0) {
        report.notes
            << QStringLiteral("%1 file rows wait to be indexed for search (done in idle time)").arg(pending);
    }
    const qint64 misplaced =
        scalar(db, QStringLiteral("SELECT count(*) FROM SearchIndexRemoved WHERE RowId > (SELECT IndexedUpTo "
                                  "FROM SearchIndexCoverage);"));
    if (misplaced > 0) {
        report.problems
            << QStringLiteral("%1 removed rows lie above the path index's coverage").arg(misplaced);
    }

    TemporaryWrites scratch(db);
    executeSql(db,
               QStringLiteral(
                   "CREATE TEMP VIEW ExpectedRows(RowId, FilePath) AS "
                   "  SELECT rowid, FilePath FROM main.BankList "
                   "  WHERE rowid <= (SELECT IndexedUpTo FROM main.SearchIndexCoverage) "
                   "  UNION ALL SELECT RowId, FilePath FROM main.SearchIndexRemoved;"
                   "CREATE VIRTUAL TABLE temp.ExpectedIndex USING fts5(FilePath, content='ExpectedRows', "
                   "  content_rowid='RowId', tokenize='vt_trigram', detail=none, columnsize=0);"
                   "INSERT INTO temp.ExpectedIndex(ExpectedIndex) VALUES ('rebuild');"
                   "CREATE VIRTUAL TABLE temp.ExpectedTerms USING fts5vocab(temp, ExpectedIndex, 'instance');"
                   "CREATE VIRTUAL TABLE temp.IndexTerms USING fts5vocab(main, BankListPaths, 'instance');"));
    const qint64 missing =
        scalar(db, QStringLiteral("SELECT count(*) FROM (SELECT term, doc FROM temp.ExpectedTerms "
                                  "EXCEPT SELECT term, doc FROM temp.IndexTerms);"));
    const qint64 extra =
        scalar(db, QStringLiteral("SELECT count(*) FROM (SELECT term, doc FROM temp.IndexTerms "
                                  "EXCEPT SELECT term, doc FROM temp.ExpectedTerms);"));
    if (missing > 0) {
        report.problems << QStringLiteral(
                               "the path index lacks %1 entries of its rows; searches can miss files")
                               .arg(missing);
    }
    if (extra > 0) {
        report.problems << QStringLiteral("the path index holds %1 entries of no row").arg(extra);
    }
}

CatalogCheckReport checkFile(sqlite3* db) {
    CatalogCheckReport report;
    checkIntegrity(db, report);
    // Counting rows of a damaged file could give any answer; its damage is the finding.
    if (!report.problems.isEmpty()) return report;
    checkDiscs(db, report);
    checkPathIndex(db, report);
    return report;
}

}  // namespace

CatalogCheckReport checkCatalogue(Connection& connection) {
    if (PgConnection* server = connection.server()) return checkServer(*server);
    return checkFile(connection.handle());
}

}  // namespace vt
