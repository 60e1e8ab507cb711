#include "scan/DiscRecognition.h"

#include "catalog/Connection.h"
#include "catalog/SqliteStatement.h"
#include "catalog/postgres/PgConnection.h"
#include "scan/DriveDetails.h"

namespace vt {

QStringList recogniseDisc(Connection& catalogue, const DriveDetails& details) {
    QStringList names;
    if (details.usedSize == formatUsedSize(0)) return names;
    // Served by the index on (SerialNo, DiskSize) of either engine. Discs catalogued before labels were
    // kept match any label.
    if (PgConnection* server = catalogue.server()) {
        const PgResult matching =
            server->exec(QStringLiteral("SELECT DiskName FROM Disks WHERE SerialNo = $1 AND DiskSize = $2 "
                                        "AND (VolumeLabel IS NULL OR VolumeLabel = $3) ORDER BY RowId;"),
                         {details.serial, details.usedSize, details.label});
        for (int row = 0; row < matching.rowCount(); ++row) names << matching.value(row, 0).toString();
        return names;
    }
    SqliteStatement matching(
        catalogue, QStringLiteral("SELECT DiskName FROM Disks WHERE SerialNo = ?1 AND DiskSize = ?2 "
                                  "AND (VolumeLabel IS NULL OR VolumeLabel = ?3) ORDER BY rowid"));
    matching.bind(1, details.serial);
    matching.bind(2, details.usedSize);
    matching.bind(3, details.label);
    while (matching.step()) names << matching.column(0).toString();
    return names;
}

}  // namespace vt
