#include "catalog/SearchIndexUpkeep.h"

#include <sqlite3.h>

#include "catalog/CatalogError.h"
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
    if (sqlite3_total_changes(db) == changesWhenTidy_) return false;
    try {
        if (SearchIndex::merge(db, kPagesPerStep)) return true;
        changesWhenTidy_ = sqlite3_total_changes(db);
    } catch (const CatalogError&) {
        // Busy or failing now (another program writing, say): the next turn tries again.
    }
    return false;
}

void SearchIndexUpkeep::onTimeout() {
    timer_.setInterval(step() ? kBusyIntervalMs : kIdleIntervalMs);
}

}  // namespace vt
