#include "catalog/UnmappedWriting.h"

#include <sqlite3.h>

#include <QByteArray>

#include "catalog/CatalogError.h"
#include "catalog/Connection.h"

namespace vt {

namespace {

// Sets the mapping's size (without a size only asks) and returns the size in force.
qint64 mapping(sqlite3* db, const QByteArray& setting = QByteArray()) {
    sqlite3_stmt* statement = nullptr;
    qint64 inForce = 0;
    const QByteArray sql = "PRAGMA mmap_size" + (setting.isEmpty() ? QByteArray() : " = " + setting) + ";";
    if (sqlite3_prepare_v2(db, sql.constData(), -1, &statement, nullptr) == SQLITE_OK &&
        sqlite3_step(statement) == SQLITE_ROW) {
        inForce = sqlite3_column_int64(statement, 0);
    }
    sqlite3_finalize(statement);
    return inForce;
}

}  // namespace

UnmappedWriting::UnmappedWriting(Connection& connection) : connection_(connection) {
    if (connection_.server()) return;  // a server's memory is its own
    sqlite3* db = connection_.handle();
    if (!db) return;
    mapped_ = mapping(db);
    if (mapped_ > 0) mapping(db, "0");
}

UnmappedWriting::~UnmappedWriting() {
    if (mapped_ <= 0) return;
    // Only the speed of later searches depends on this: a connection closed or handed to another thread
    // meanwhile stays unmapped, which is still correct.
    try {
        if (sqlite3* db = connection_.handle()) mapping(db, QByteArray::number(mapped_));
    } catch (const CatalogError&) {
    }
}

}  // namespace vt
