#include "catalog/SearchIndex.h"

#include <sqlite3.h>

#include <QChar>
#include <QString>
#include <algorithm>
#include <limits>

#include "catalog/SqliteStatement.h"

namespace vt {
namespace SearchIndex {

namespace {

// Rows indexed per step of a build, between two progress reports.
constexpr qint64 kFillStep = 50000;
// Removed rows taken out of the index per step of idle upkeep: some tens of milliseconds.
constexpr qint64 kRemovalsPerMerge = 5000;
// Rows indexed per step of idle upkeep: some 15 ms, short enough not to be felt while typing.
constexpr qint64 kRowsPerStep = 1000;
// Segments on one level of the index before adding rows merges them on the spot.
constexpr int kCrisisMerge = 128;

qint64 scalar(sqlite3* db, const QString& sql, qint64 bound = -1) {
    SqliteStatement statement(db, sql);
    if (bound >= 0) statement.bind(1, bound);
    return statement.step() ? statement.column(0).toLongLong() : 0;
}

bool hasTable(sqlite3* db, const char* name) {
    SqliteStatement statement(db,
                              QStringLiteral("SELECT 1 FROM sqlite_master WHERE type='table' AND name=?1"));
    statement.bind(1, QString::fromLatin1(name));
    return statement.step();
}

// What the index's tokens are made of: the character folds of this Unicode version under the catalogue's
// own rules (1: case, yeh and kaf; 2: and Persian letter forms, digits and skipped marks), and the kinds of
// token (1: trigrams; 2: and an end mark; 3: and lists of two-character starts). An index of other folds is
// built anew when the catalogue is opened.
constexpr int kFoldingRules = 2;
int currentFolding() {
    // Rules 1 wrote the Unicode version alone (well below 1000), so those indexes read as out of date.
    return (kFoldingRules - 1) * 1000 + int(QChar::currentUnicodeVersion());
}
constexpr int kTokenKinds = 3;

void recordLayout(sqlite3* db) {
    SqliteStatement insert(db, QStringLiteral("INSERT INTO SearchIndexLayout VALUES (?1, ?2);"));
    insert.bind(1, currentFolding());
    insert.bind(2, kTokenKinds);
    insert.step();
}

// Rows up to IndexedUpTo are in the index; those above it wait for catchUp(). A row written at or below
// it (a rowid handed out again, or an update) is indexed on the spot, and only rows at or below it can
// have entries to take out.
const char* const kCreateInsertTrigger =
    "CREATE TRIGGER BankList_IndexInsert AFTER INSERT ON BankList "
    "WHEN new.rowid <= (SELECT IndexedUpTo FROM SearchIndexCoverage) BEGIN "
    "  INSERT INTO BankListPaths(BankListPaths, rowid, FilePath) "
    "    SELECT 'delete', RowId, FilePath FROM SearchIndexRemoved WHERE RowId = new.rowid; "
    "  DELETE FROM SearchIndexRemoved WHERE RowId = new.rowid; "
    "  INSERT INTO BankListPaths(rowid, FilePath) VALUES (new.rowid, new.FilePath); "
    "END;";

void createTriggers(sqlite3* db) {
    executeSql(db, kCreateInsertTrigger);
    executeSql(
        db,
        // A removed row's rowid cannot be noted twice (a row that comes back takes its note out);
        // REPLACE rather than a refusal spares every removal statement from first copying aside
        // the pages it changes, in case the refusal had to undo the row.
        "CREATE TRIGGER BankList_IndexDelete AFTER DELETE ON BankList "
        "WHEN old.rowid <= (SELECT IndexedUpTo FROM SearchIndexCoverage) BEGIN "
        "  INSERT OR REPLACE INTO SearchIndexRemoved(RowId, FilePath) VALUES (old.rowid, old.FilePath); "
        "END;"
        "CREATE TRIGGER BankList_IndexUpdate AFTER UPDATE ON BankList "
        "WHEN old.rowid IS NOT new.rowid OR old.FilePath IS NOT new.FilePath BEGIN "
        "  INSERT INTO BankListPaths(BankListPaths, rowid, FilePath) SELECT 'delete', old.rowid, "
        "old.FilePath WHERE old.rowid <= (SELECT IndexedUpTo FROM SearchIndexCoverage); "
        "  INSERT INTO BankListPaths(BankListPaths, rowid, FilePath) "
        "    SELECT 'delete', RowId, FilePath FROM SearchIndexRemoved WHERE RowId = new.rowid; "
        "  DELETE FROM SearchIndexRemoved WHERE RowId = new.rowid; "
        "  INSERT INTO BankListPaths(rowid, FilePath) SELECT new.rowid, new.FilePath "
        "WHERE new.rowid <= (SELECT IndexedUpTo FROM SearchIndexCoverage); "
        "END;");
}

}  // namespace

bool exists(sqlite3* db) {
    return hasTable(db, "BankListPaths");
}

void create(sqlite3* db) {
    // detail=none keeps no positions (a third of the size of a full index, and faster to write): a search
    // asks for each trigram on its own and the `like` re-check restores adjacency. columnsize=0 drops the
    // per-row token counts, which only ranking would use. prefix='2' keeps a list per two-character start
    // of a token, so that a two-character search reads one list, as far as it needs, instead of merging
    // the lists of every token that starts so.
    executeSql(
        db,
        "CREATE VIRTUAL TABLE BankListPaths USING fts5(FilePath, content='BankList', "
        "content_rowid='rowid', tokenize='vt_trigram', detail=none, columnsize=0, prefix='2');"
        // FTS5 writes out what it holds at the start of every statement in a transaction, so removing a
        // disc row by row (one statement each) left one tiny segment per row and took seconds. A removed
        // row is only noted here; its entries are taken out in one statement later (applyRemovals). Until
        // then they are harmless: a search joins every entry to its row, and a row that is gone joins
        // nothing. A row that comes back under the same rowid first has its old entries taken out.
        "CREATE TABLE SearchIndexRemoved (RowId INTEGER PRIMARY KEY, FilePath);"
        "CREATE TABLE SearchIndexCoverage (IndexedUpTo INTEGER NOT NULL);"
        "INSERT INTO SearchIndexCoverage VALUES (0);"
        "CREATE TABLE SearchIndexLayout (UnicodeVersion INTEGER NOT NULL, TokenKinds INTEGER NOT NULL);");
    createTriggers(db);
    recordLayout(db);
    tune(db);
}

bool hasCoverage(sqlite3* db) {
    return hasTable(db, "SearchIndexCoverage");
}

void addCoverage(sqlite3* db) {
    // The index was kept whole until now: it covers every row there is, and every removed row whose
    // entries are still in it.
    executeSql(db,
               "DROP TRIGGER IF EXISTS BankList_IndexInsert; DROP TRIGGER IF EXISTS BankList_IndexDelete;"
               "DROP TRIGGER IF EXISTS BankList_IndexUpdate;"
               "CREATE TABLE SearchIndexCoverage (IndexedUpTo INTEGER NOT NULL);"
               "INSERT INTO SearchIndexCoverage SELECT max(coalesce((SELECT max(rowid) FROM BankList), 0), "
               "coalesce((SELECT max(RowId) FROM SearchIndexRemoved), 0));");
    createTriggers(db);
}

bool isTuned(sqlite3* db) {
    SqliteStatement statement(
        db, QStringLiteral("SELECT count(*) FROM BankListPaths_config WHERE "
                           "(k = 'automerge' AND v = 0) OR (k = 'crisismerge' AND v = ?1)"));
    statement.bind(1, kCrisisMerge);
    return statement.step() && statement.column(0).toLongLong() == 2;
}

void tune(sqlite3* db) {
    // Merging segments while a disc is added made that one transaction take seconds now and then; the
    // merging is done in idle time instead (merge()). Adding a disc still writes a small segment per
    // statement and whenever the pending terms outgrow FTS5's buffer, and the default forced merge (at 16
    // segments on a level) took a third of the time of adding a large disc. Only a much larger pile-up
    // forces it now: a search reads one more segment per small one until idle time has merged them, and
    // the segments stay far below FTS5's limit on their total number.
    SqliteStatement setting(db,
                            QStringLiteral("INSERT INTO BankListPaths(BankListPaths, rank) VALUES (?1, ?2)"));
    setting.bind(1, QStringLiteral("automerge"));
    setting.bind(2, 0);
    setting.step();
    setting.reset();
    setting.bind(1, QStringLiteral("crisismerge"));
    setting.bind(2, kCrisisMerge);
    setting.step();
}

qint64 pendingRows(sqlite3* db) {
    return scalar(db, QStringLiteral("SELECT count(*) FROM BankList WHERE rowid > (SELECT IndexedUpTo FROM "
                                     "SearchIndexCoverage)"));
}

qint64 firstFreeRowid(sqlite3* db) {
    return scalar(db, QStringLiteral("SELECT max(coalesce((SELECT max(rowid) FROM BankList), 0), "
                                     "(SELECT IndexedUpTo FROM SearchIndexCoverage)) + 1"));
}

void setAsideInsertTrigger(sqlite3* db) {
    executeSql(db, "DROP TRIGGER IF EXISTS BankList_IndexInsert;");
}

void restoreInsertTrigger(sqlite3* db) {
    executeSql(db, "DROP TRIGGER IF EXISTS BankList_IndexInsert;");
    executeSql(db, kCreateInsertTrigger);
}

qint64 catchUp(sqlite3* db, qint64 rows) {
    const qint64 indexedUpTo = scalar(db, QStringLiteral("SELECT IndexedUpTo FROM SearchIndexCoverage"));
    // The last row of this step: the rows-th above the covered ones, or the last there is.
    SqliteStatement stepEnd(db, QStringLiteral("SELECT coalesce((SELECT rowid FROM BankList WHERE rowid > ?1 "
                                               "ORDER BY rowid LIMIT 1 OFFSET ?2), (SELECT max(rowid) FROM "
                                               "BankList WHERE rowid > ?1))"));
    stepEnd.bind(1, indexedUpTo);
    stepEnd.bind(2, std::max<qint64>(rows, 1) - 1);
    if (!stepEnd.step() || stepEnd.column(0).isNull()) return 0;
    const qint64 last = stepEnd.column(0).toLongLong();

    SqliteStatement insert(db, QStringLiteral("INSERT INTO BankListPaths(rowid, FilePath) SELECT rowid, "
                                              "FilePath FROM BankList WHERE rowid > ?1 AND rowid <= ?2"));
    insert.bind(1, indexedUpTo);
    insert.bind(2, last);
    insert.step();
    const qint64 indexed = sqlite3_changes(db);
    SqliteStatement cover(db, QStringLiteral("UPDATE SearchIndexCoverage SET IndexedUpTo = ?1"));
    cover.bind(1, last);
    cover.step();
    return indexed;
}

void fill(sqlite3* db, const Progress& progress) {
    const qint64 rows = pendingRows(db);
    const qint64 total = rows + rows / 10;
    if (progress) progress(0, total);
    qint64 done = 0;
    while (const qint64 indexed = catchUp(db, kFillStep)) {
        done = std::min(rows, done + indexed);
        if (progress) progress(done, total);
    }
    // One segment answers a search fastest; a fresh index is merged whole before it is first used.
    executeSql(db, "INSERT INTO BankListPaths(BankListPaths) VALUES ('optimize');");
    if (progress) progress(total, total);
}

bool isCurrent(sqlite3* db) {
    if (!hasTable(db, "SearchIndexLayout")) return false;
    return scalar(db, QStringLiteral("SELECT count(*) FROM SearchIndexLayout WHERE UnicodeVersion = %1 AND "
                                     "TokenKinds = %2")
                          .arg(currentFolding())
                          .arg(kTokenKinds)) == 1 &&
           scalar(db, QStringLiteral("SELECT count(*) FROM SearchIndexLayout")) == 1;
}

void rebuild(sqlite3* db, const Progress& progress) {
    executeSql(db,
               "DROP TRIGGER IF EXISTS BankList_IndexInsert; DROP TRIGGER IF EXISTS BankList_IndexDelete;"
               "DROP TRIGGER IF EXISTS BankList_IndexUpdate; DROP TABLE IF EXISTS BankListPaths;"
               "DROP TABLE IF EXISTS SearchIndexRemoved; DROP TABLE IF EXISTS SearchIndexLayout;"
               "DROP TABLE IF EXISTS SearchIndexCoverage;");
    create(db);
    fill(db, progress);
}

bool applyRemovals(sqlite3* db, qint64 rows) {
    if (scalar(db, QStringLiteral("SELECT count(*) FROM (SELECT 1 FROM SearchIndexRemoved LIMIT 1)")) == 0) {
        return false;
    }
    const QString limit = QString::number(rows < 0 ? -1 : rows);
    executeSql(db, QStringLiteral(
                       "INSERT INTO BankListPaths(BankListPaths, rowid, FilePath) "
                       "  SELECT 'delete', RowId, FilePath FROM SearchIndexRemoved ORDER BY RowId LIMIT %1;"
                       "DELETE FROM SearchIndexRemoved WHERE RowId IN "
                       "  (SELECT RowId FROM SearchIndexRemoved ORDER BY RowId LIMIT %1);")
                       .arg(limit));
    return true;
}

bool merge(sqlite3* db, int pages) {
    const bool ownTransaction = sqlite3_get_autocommit(db) != 0;
    if (ownTransaction) executeSql(db, "BEGIN IMMEDIATE;");
    try {
        bool worked = catchUp(db, kRowsPerStep) > 0;
        worked = applyRemovals(db, kRemovalsPerMerge) || worked;
        const int before = sqlite3_total_changes(db);
        SqliteStatement statement(db, QStringLiteral("INSERT INTO BankListPaths(BankListPaths, rank) VALUES "
                                                     "('merge', ?1)"));
        statement.bind(1, pages);
        statement.step();
        // The command counts as one change by itself; more means segments were written.
        worked = worked || sqlite3_total_changes(db) - before > 1;
        if (ownTransaction) executeSql(db, "COMMIT;");
        return worked;
    } catch (...) {
        if (ownTransaction) sqlite3_exec(db, "ROLLBACK;", nullptr, nullptr, nullptr);
        throw;
    }
}

}  // namespace SearchIndex
}  // namespace vt
