#include "platform/LinuxDriveTable.h"

#include <sys/statvfs.h>

#include <QFile>
#include <QStringList>

#include "platform/DiscSource.h"
#include "platform/DrivePath.h"
#include "platform/NativePath.h"
#include "platform/ProcMountList.h"
#include "platform/UdevLinks.h"
#include "platform/VolumeDescriptor.h"

namespace vt {

namespace {

bool cannotBeWritten(const MountEntry& mount) {
    // Linux writes neither ISO 9660 nor the images fuseiso serves, whatever the mount options say.
    return mount.readOnly() || mount.fsType == QLatin1String("iso9660") ||
           mount.fsType == QLatin1String("fuse.fuseiso");
}

std::optional<DiscVolume> discVolume(const MountEntry& mount) {
    const QString source = discSource(mount);
    if (source.isEmpty()) return std::nullopt;
    return readDiscVolume(source, mount.fsType == QLatin1String("udf"));
}

}  // namespace

LinuxDriveTable::LinuxDriveTable()
    : LinuxDriveTable(std::make_unique<ProcMountList>(), sessionStateFolder()) {}

LinuxDriveTable::LinuxDriveTable(std::unique_ptr<MountList> mounts, const QString& letterFolder)
    : mounts_(std::move(mounts)), sharedLetters_(letterFolder) {}

void LinuxDriveTable::refreshIfChanged() const {
    if (!mounts_->changed()) return;
    // The mounts are read while the shared table is locked, so no program records an older view of them
    // than one recorded before. The letters this program knows stand in for a missing or damaged table,
    // and are all there is when the table cannot be used.
    const auto assign = [this](const std::vector<OpticalDrive>& recorded) {
        return assignOpticalLetters(mounts_->read(), sysfsIsCdRom, recorded.empty() ? drives_ : recorded);
    };
    if (std::optional<std::vector<OpticalDrive>> shared = sharedLetters_.update(assign)) {
        drives_ = std::move(*shared);
    } else {
        drives_ = assign({});
    }
}

const OpticalDrive* LinuxDriveTable::find(const QString& root) const {
    const std::optional<QChar> letter = driveLetter(root);
    if (!letter) return nullptr;
    refreshIfChanged();
    for (const OpticalDrive& drive : drives_) {
        if (drive.letter == *letter) return &drive;
    }
    return nullptr;
}

std::uint32_t LinuxDriveTable::logicalDrives() const {
    refreshIfChanged();
    std::uint32_t mask = 0;
    for (const OpticalDrive& drive : drives_) mask |= 1u << (drive.letter.unicode() - 'A');
    return mask;
}

int LinuxDriveTable::driveType(const QString& root) const {
    return find(root) ? kDriveTypeCdRom : 0;
}

DiskSpace LinuxDriveTable::diskSpace(const QString& root) const {
    const OpticalDrive* drive = find(root);
    if (!drive) return {};
    DiskSpace space;
    struct statvfs fs {};
    if (::statvfs(QFile::encodeName(drive->mount.mountPoint).constData(), &fs) == 0) {
        space.totalBytes = std::uint64_t(fs.f_blocks) * fs.f_frsize;
        space.freeBytes = std::uint64_t(fs.f_bfree) * fs.f_frsize;
    }
    if (space.totalBytes == 0) {
        // fuseiso reports no sizes; the disc's own descriptor records how big the volume is.
        if (const auto volume = discVolume(drive->mount)) space = DiskSpace{volume->volumeBytes, 0};
    }
    return space;
}

VolumeInformation LinuxDriveTable::volumeInformation(const QString& root) const {
    const OpticalDrive* drive = find(root);
    if (!drive) return {};
    VolumeInformation info;
    info.fileSystemName = drive->mount.fsType;
    if (const auto volume = discVolume(drive->mount)) {
        info.label = volume->label;
        info.serial = volume->serial;
    } else if (drive->mount.source.startsWith(QLatin1String("/dev/"))) {
        info.label = udevLinkName(QStringLiteral("/dev/disk/by-label"), drive->mount.source);
        info.serial = serialFromUuid(udevLinkName(QStringLiteral("/dev/disk/by-uuid"), drive->mount.source));
    }
    return info;
}

bool LinuxDriveTable::readOnlyVolume(const QString& root) const {
    const OpticalDrive* drive = find(root);
    return drive && cannotBeWritten(drive->mount);
}

QString LinuxDriveTable::mountPoint(const QString& root) const {
    const OpticalDrive* drive = find(root);
    return drive ? drive->mount.mountPoint : QString();
}

QString LinuxDriveTable::nativePath(const QString& drivePath) const {
    const OpticalDrive* drive = find(drivePath);
    return drive ? resolveDrivePath(drive->mount.mountPoint, drivePath) : QString();
}

QString LinuxDriveTable::mediumIdentity(const QString& root) const {
    const OpticalDrive* drive = find(root);
    if (!drive) return {};
    const MountEntry mount = drive->mount;  // reading the volume below may refresh the table
    // A mount that can no longer be read (the FUSE server of an image ended, the device went away) holds
    // no medium any more, although the mount table still lists it. Asking for the file system's figures
    // reaches the file system itself, where a look at the mount point may be answered from a cache.
    struct statvfs fs {};
    if (::statvfs(QFile::encodeName(mount.mountPoint).constData(), &fs) != 0) return {};
    return QStringList{mount.mountId, mount.deviceNumber, mount.mountPoint,
                       QString::number(volumeInformation(root).serial)}
        .join(QLatin1Char('\n'));
}

}  // namespace vt
