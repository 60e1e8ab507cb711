#include "remove/DiskRemoval.h"

#include "catalog/Connection.h"
#include "catalog/Recordset.h"
#include "catalog/Statements.h"
#include "catalog/postgres/PgConnection.h"

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

// A server takes the same rows as the two removal statements give it (PgSelect), in a statement each
// rather than a round trip per row; other machines see the disc whole until the commit, then not at all.
void removeOnServer(PgConnection& server, const QString& diskName) {
    const char* const tables[] = {"BankList", "Disks"};
    for (const char* table : tables) {
        server.exec(
            QStringLiteral("DELETE FROM %1 WHERE vt_fold(DiskName) = vt_fold($1);").arg(QLatin1String(table)),
            {diskName});
    }
}

}  // namespace

void removeDisk(Connection& connection, const QString& diskName) {
    Transaction transaction(connection);
    // A scan of the same name on another machine ends first, so the removal takes the disc as it lands.
    connection.reserveDiscName(diskName);
    if (PgConnection* server = connection.server()) {
        removeOnServer(*server, diskName);
        transaction.commit();
        return;
    }
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
