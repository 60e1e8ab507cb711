#include "catalog/DiscIdentityIndex.h"

#include "catalog/SqliteStatement.h"

namespace vt {
namespace DiscIdentityIndex {

bool exists(sqlite3* db) {
    SqliteStatement statement(db, QStringLiteral("SELECT 1 FROM sqlite_master WHERE type='index' AND "
                                                 "name='Disks_SerialNo_DiskSize'"));
    return statement.step();
}

void create(sqlite3* db) {
    executeSql(db, QStringLiteral(
                       "CREATE INDEX IF NOT EXISTS Disks_SerialNo_DiskSize ON Disks(SerialNo, DiskSize);"));
}

}  // namespace DiscIdentityIndex
}  // namespace vt
