#pragma once

#include "platform/DriveTable.h"

namespace vt {

// The machine's mounted optical media as drive letters.
class LinuxDriveTable final : public DriveTable {
public:
    std::uint32_t logicalDrives() const override { return 0; }
    int driveType(const QString&) const override { return 0; }
    DiskSpace diskSpace(const QString&) const override { return {}; }
    VolumeInformation volumeInformation(const QString&) const override { return {}; }
    QString mountPoint(const QString&) const override { return {}; }
    QString nativePath(const QString&) const override { return {}; }
};

}  // namespace vt
