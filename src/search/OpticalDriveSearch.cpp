#include "search/OpticalDriveSearch.h"

#include "platform/DriveTable.h"
#include "platform/FileSystem.h"

namespace vt {

QString firstOpticalDriveHolding(const DriveTable& drives, FileSystem& fileSystem,
                                 const QString& pathWithinDisc) {
    for (const QString& root : opticalDriveRoots(drives)) {
        if (fileSystem.pathExists(root + pathWithinDisc)) return root;
    }
    return {};
}

}  // namespace vt
