#include "catalog/CatalogCheck.h"

#include <sqlite3.h>

#include "catalog/CatalogError.h"
#include "catalog/SearchIndex.h"
#include "catalog/SqliteStatement.h"

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

// Runs `sql`, whose rows are (disc name, detail), and reports each as a problem worded by `say`.
template <typename Say>
void reportDiscs(sqlite3* db, const QString& sql, CatalogCheckReport& report, Say say) {
    SqliteStatement rows(db, sql);
    int named = 0;
    int more = 0;
    while (rows.step()) {
        if (named == kNamedDiscs) {
            ++more;
            continue;
        }
        report.problems << say(rows.column(0).toString(), rows.column(1));
        ++named;
    }
    if (more > 0) report.problems << QStringLiteral("... and %1 more discs like these").arg(more);
}

void checkDiscs(sqlite3* db, CatalogCheckReport& report) {
    report.disks = scalar(db, QStringLiteral("SELECT count(*) FROM Disks;"));
    report.rows = scalar(db, QStringLiteral("SELECT count(*) FROM BankList;"));
    reportDiscs(db,
                QStringLiteral("SELECT DiskName, FileCount || '/' || (SELECT count(*) FROM BankList b "
                               "WHERE b.DiskName = d.DiskName) FROM Disks d WHERE CAST(FileCount AS INTEGER) "
                               "IS NOT (SELECT count(*) FROM BankList b WHERE b.DiskName = d.DiskName);"),
                report, [](const QString& disc, const QVariant& counts) {
                    const QStringList parts = counts.toString().split(QLatin1Char('/'));
                    return QStringLiteral("disc '%1' records %2 files but has %3 file rows")
                        .arg(disc, parts.value(0), parts.value(1));
                });
    reportDiscs(db,
                QStringLiteral("SELECT DiskName, count(*) FROM BankList WHERE DiskName NOT IN "
                               "(SELECT DiskName FROM Disks) OR DiskName IS NULL GROUP BY DiskName;"),
                report, [](const QString& disc, const QVariant& rows) {
                    return QStringLiteral("%1 file rows belong to no catalogued disc (named '%2')")
                        .arg(rows.toLongLong())
                        .arg(disc);
                });
    reportDiscs(db,
                QStringLiteral("SELECT DiskName, count(*) FROM Disks GROUP BY DiskName HAVING count(*) > 1;"),
                report, [](const QString& disc, const QVariant& rows) {
                    return QStringLiteral("%1 discs share the name '%2'").arg(rows.toLongLong()).arg(disc);
                });
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

}  // namespace

CatalogCheckReport checkCatalogue(sqlite3* db) {
    CatalogCheckReport report;
    checkIntegrity(db, report);
    // Counting rows of a damaged file could give any answer; its damage is the finding.
    if (!report.problems.isEmpty()) return report;
    checkDiscs(db, report);
    checkPathIndex(db, report);
    return report;
}

}  // namespace vt
