#include "scan/DiscRecognition.h"

#include "catalog/SqliteStatement.h"
#include "scan/DriveDetails.h"

namespace vt {

QStringList recogniseDisc(sqlite3* db, const DriveDetails& details) {
    QStringList names;
    if (details.usedSize == formatUsedSize(0)) return names;
    // Served by the index on (SerialNo, DiskSize). Discs catalogued before labels were kept match any label.
    SqliteStatement matching(
        db, QStringLiteral("SELECT DiskName FROM Disks WHERE SerialNo = ?1 AND DiskSize = ?2 "
                           "AND (VolumeLabel IS NULL OR VolumeLabel = ?3) ORDER BY rowid"));
    matching.bind(1, details.serial);
    matching.bind(2, details.usedSize);
    matching.bind(3, details.label);
    while (matching.step()) names << matching.column(0).toString();
    return names;
}

}  // namespace vt
