#include "search/OpticalDriveSearch.h"

#include "platform/DriveTable.h"
#include "platform/FileSystem.h"

namespace vt {

namespace {
constexpr int kCandidateDrives = 16;  // A to P
}

QString firstOpticalDriveHolding(const DriveTable& drives, FileSystem& fileSystem,
                                 const QString& pathWithinDisc) {
    const std::uint32_t mask = drives.logicalDrives();
    for (int n = 0; n < kCandidateDrives; ++n) {
        if ((mask & (std::uint32_t(1) << n)) == 0) continue;
        const QString root = QChar(char16_t(u'A' + n)) + QStringLiteral(":\\");
        if (drives.driveType(root) != kDriveTypeCdRom) continue;
        if (fileSystem.pathExists(root + pathWithinDisc)) return root;
    }
    return {};
}

}  // namespace vt
