#include "remove/DiskRemoval.h"

#include "catalog/Connection.h"
#include "catalog/Recordset.h"
#include "catalog/Statements.h"

namespace vt {

namespace {

void deleteEveryRow(Recordset& rows) {
    const long count = rows.RecordCount();
    if (count < 1) return;
    rows.MoveFirst();
    for (long i = 0; i < count; ++i) {
        rows.Delete(Recordset::adAffectCurrent);
        rows.MoveNext();
    }
}

}  // namespace

void removeDisk(Connection& connection, const QString& diskName) {
    Transaction transaction(connection);
    Recordset files;
    Recordset disk;
    files.Open(Statements::filesOfDisk(diskName), connection);
    disk.Open(Statements::diskNamed(diskName), connection);
    deleteEveryRow(files);
    // Every row of the name goes: its file rows are gone, so a second row of the same name would only
    // describe files that no longer exist.
    deleteEveryRow(disk);
    files.Close();
    disk.Close();
    transaction.commit();
}

}  // namespace vt
