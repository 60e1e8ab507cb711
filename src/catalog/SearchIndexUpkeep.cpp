#include "catalog/SearchIndexUpkeep.h"

#include <sqlite3.h>

#include "catalog/CatalogError.h"
#include "catalog/CatalogSchema.h"
#include "catalog/Connection.h"
#include "catalog/SearchIndex.h"

namespace vt {

namespace {

// How often to look for work when there is none, and the pause between steps while there is: short
// enough to finish soon, long enough to leave the user's work most of the processor.
constexpr int kIdleIntervalMs = 2000;
constexpr int kBusyIntervalMs = 50;
// Pages of index written per step: a few tens of milliseconds.
constexpr int kPagesPerStep = 100;

}  // namespace

SearchIndexUpkeep::SearchIndexUpkeep(Connection& connection, QObject* parent)
    : QObject(parent), connection_(connection) {
    connect(&timer_, &QTimer::timeout, this, &SearchIndexUpkeep::onTimeout);
    timer_.start(kIdleIntervalMs);
}

bool SearchIndexUpkeep::step() {
    sqlite3* db = connection_.handle();
    if (!db || connection_.inTransaction()) return false;
    const CatalogueState state = currentState(db);
    if (state == stateWhenTidy_) return false;
    // Never wait for the catalogue: whoever holds it may be a scan waiting for this very event loop.
    sqlite3_busy_timeout(db, 0);
    bool worked = false;
    try {
        worked = SearchIndex::merge(db, kPagesPerStep);
        if (!worked) stateWhenTidy_ = currentState(db);
    } catch (const CatalogError&) {
        // Busy or failing now (a scan or another program writing, say): the next turn tries again.
    }
    sqlite3_busy_timeout(db, CatalogSchema::kBusyTimeoutMs);
    return worked;
}

SearchIndexUpkeep::CatalogueState SearchIndexUpkeep::currentState(sqlite3* db) {
    // This connection's own writes count in its change total, those of other connections (a scan's, another
    // program's) in the data version.
    sqlite3_stmt* statement = nullptr;
    qint64 version = -1;
    if (sqlite3_prepare_v2(db, "PRAGMA data_version", -1, &statement, nullptr) == SQLITE_OK &&
        sqlite3_step(statement) == SQLITE_ROW) {
        version = sqlite3_column_int64(statement, 0);
    }
    sqlite3_finalize(statement);
    return {sqlite3_total_changes64(db), version};
}

void SearchIndexUpkeep::onTimeout() {
    timer_.setInterval(step() ? kBusyIntervalMs : kIdleIntervalMs);
}

}  // namespace vt
