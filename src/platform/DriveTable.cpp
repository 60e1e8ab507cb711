#include "platform/DriveTable.h"

namespace vt {

namespace {
constexpr int kCandidateDrives = 16;  // A to P
}

std::vector<QString> opticalDriveRoots(const DriveTable& drives) {
    const std::uint32_t mask = drives.logicalDrives();
    std::vector<QString> roots;
    for (int n = 0; n < kCandidateDrives; ++n) {
        if ((mask & (std::uint32_t(1) << n)) == 0) continue;
        const QString root = QChar(char16_t(u'A' + n)) + QStringLiteral(":\\");
        if (drives.driveType(root) == kDriveTypeCdRom) roots.push_back(root);
    }
    return roots;
}

}  // namespace vt
