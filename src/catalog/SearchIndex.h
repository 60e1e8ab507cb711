#pragma once

#include <QtGlobal>
#include <functional>

struct sqlite3;

namespace vt {

// The index over the recorded paths that lets a search skip the rows that cannot match.
//
// It is an FTS5 table, BankListPaths, over BankList.FilePath (external content: it stores no text of its
// own) with the folding trigram tokenizer, and it lists a row under every trigram of its folded path.
//
// The index covers the rows up to a rowid, IndexedUpTo (table SearchIndexCoverage). Indexing a path costs
// several times what writing its row does, so a disc being added goes in above that mark and is indexed
// afterwards, in idle time (catchUp), while a search reads the few rows above the mark from the table.
// Triggers on BankList keep the covered part current inside the very transaction of every insert, delete
// and update at or below the mark. The mark only ever rises, so every entry of the index is at or below it
// and rows above it have none.
//
// Its answers are candidates only: a reader joins every candidate to its row and re-checks it with the
// exact `like` (see PathSearchRouter). That is what lets removed rows leave the index later
// (applyRemovals) without a search ever seeing them: an entry may outlive its row, but a covered row is
// never without its entries.
//
// Contract for every function: the handle has the catalogue's functions registered
// (registerCatalogFunctions) and the caller holds the write transaction where one is needed. Failures
// throw CatalogError. Rows must keep their rowids (never rebuild BankList under other rowids).
namespace SearchIndex {

// Reports building progress: `done` of `total` units of work (a unit per row, and a tenth more for the
// final merge); the last report has done == total.
using Progress = std::function<void(qint64 done, qint64 total)>;

// Whether the index table exists.
bool exists(sqlite3* db);

// Creates the empty index, its triggers and its tuning, covering nothing yet. Rows already in BankList
// are not indexed: fill() should follow.
void create(sqlite3* db);

// Whether the index knows how far it covers (indexes made by earlier versions were always complete and
// do not).
bool hasCoverage(sqlite3* db);

// Gives a complete index of an earlier version its coverage mark and this version's triggers.
void addCoverage(sqlite3* db);

// Rows not indexed yet (above the coverage mark).
qint64 pendingRows(sqlite3* db);

// The lowest rowid that lies above every row and above the coverage mark: rows added from there on wait
// for catchUp() instead of being indexed as they are written.
qint64 firstFreeRowid(sqlite3* db);

// For a writer that appends many rows, all from firstFreeRowid() on, inside one write transaction: the
// insert trigger would do nothing for them, yet calling it for every row costs a third of the writing.
// restoreInsertTrigger() must follow in the same transaction (a rollback restores it too). Other
// connections never see the trigger missing.
void setAsideInsertTrigger(sqlite3* db);
void restoreInsertTrigger(sqlite3* db);

// Indexes up to `rows` of the rows above the coverage mark, in rowid order, and raises the mark past them.
// Returns how many were indexed (0: none were waiting). Needs the write transaction.
qint64 catchUp(sqlite3* db, qint64 rows);

// Whether the index's merge settings are those create() gives it (indexes made by earlier versions of
// the program lack some).
bool isTuned(sqlite3* db);

// Gives the index the merge settings that keep adding a disc quick (see isTuned). Needs the write
// transaction.
void tune(sqlite3* db);

// Indexes every row not yet indexed, in steps, calling `progress` after each step (and once at the
// start), then merges the index whole.
void fill(sqlite3* db, const Progress& progress);

// Whether the index was built with the tokens this program makes: the same character folds (Unicode
// versions can give folds to characters that had none) and the same kinds of token. An index built
// otherwise would miss rows.
bool isCurrent(sqlite3* db);

// Makes the index anew (table, triggers, tuning) and indexes all rows under the current tokens.
void rebuild(sqlite3* db, const Progress& progress);

// Takes the entries of removed rows out of the index (of the first `rows` of them in rowid order; all when
// negative), in one statement. Returns whether there were any.
bool applyRemovals(sqlite3* db, qint64 rows = -1);

// Idle-time upkeep: indexes some of the rows waiting for it, applies some of the removals, then does about
// `pages` pages of the merge work that adding rows leaves behind. Returns whether work was done (false:
// nothing is left). Runs in a transaction of its own when none is open.
bool merge(sqlite3* db, int pages);

}  // namespace SearchIndex
}  // namespace vt
