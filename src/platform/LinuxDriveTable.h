#pragma once

#include <memory>
#include <vector>

#include "platform/DriveTable.h"
#include "platform/MountList.h"
#include "platform/OpticalMounts.h"
#include "platform/SharedDriveLetters.h"

namespace vt {

// The machine's mounted optical media (discs in drives and mounted disc images) as drive letters D to P.
// The mount table is read again whenever the kernel reports a change, so a disc mounted or ejected while
// the program runs shows up at the next query; a disc keeps its letter while it stays mounted, so a path
// such as "E:\dir" never moves to another disc because some other one went away. The letters are shared
// with every Vellumtrove program of the session through a table in the session's state folder; without a
// usable one each program keeps its own.
class LinuxDriveTable final : public DriveTable {
  public:
    // This process's mounts, letters shared through sessionStateFolder().
    LinuxDriveTable();
    // `mounts` as this process sees them, letters shared through the table in `letterFolder`.
    LinuxDriveTable(std::unique_ptr<MountList> mounts, const QString& letterFolder);
    LinuxDriveTable(const LinuxDriveTable&) = delete;
    LinuxDriveTable& operator=(const LinuxDriveTable&) = delete;

    std::uint32_t logicalDrives() const override;
    int driveType(const QString& root) const override;
    DiskSpace diskSpace(const QString& root) const override;
    VolumeInformation volumeInformation(const QString& root) const override;
    bool readOnlyVolume(const QString& root) const override;
    QString mountPoint(const QString& root) const override;
    QString nativePath(const QString& drivePath) const override;
    QString mediumIdentity(const QString& root) const override;

  private:
    // The drive under the letter of `root`, after catching up with the mount table; null if none.
    const OpticalDrive* find(const QString& root) const;
    void refreshIfChanged() const;

    std::unique_ptr<MountList> mounts_;
    SharedDriveLetters sharedLetters_;
    mutable std::vector<OpticalDrive> drives_;
};

}  // namespace vt
