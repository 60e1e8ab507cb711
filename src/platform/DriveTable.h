#pragma once

#include <QString>
#include <cstdint>
#include <vector>

namespace vt {

// Drive type codes as the program knows them; only optical drives matter to it.
constexpr int kDriveTypeCdRom = 5;

struct DiskSpace {
    std::uint64_t totalBytes = 0;
    std::uint64_t freeBytes = 0;
};

struct VolumeInformation {
    QString label;           // empty when none can be read
    QString fileSystemName;  // as the system reports it, empty when unknown
    std::uint32_t serial = 0;
};

// A file of a drive as another program opens it.
struct OpenableFile {
    QString file;    // its native path as text (see nativePathText in FileNames.h); empty when there is none
    QString folder;  // the folder to start that program in
    QString error;   // why there is no file, when it is known (English)
};

// The machine's drives as drive letters A to Z, each with a three-character root such as "D:\".
// Stored paths begin with such a root; `nativePath` maps them onto the real file system.
class DriveTable {
  public:
    virtual ~DriveTable() = default;

    // Bit n is set when drive letter 'A' + n exists.
    virtual std::uint32_t logicalDrives() const = 0;
    // The drive type of a root such as "D:\" (kDriveTypeCdRom for optical media, 0 when unknown).
    virtual int driveType(const QString& root) const = 0;
    // Total and free bytes of the volume under `root`; both 0 when the query fails.
    virtual DiskSpace diskSpace(const QString& root) const = 0;
    // Label, file-system name and serial of the volume under `root`; empty/0 when the query fails.
    virtual VolumeInformation volumeInformation(const QString& root) const = 0;
    // True when the volume under `root` cannot be written (a disc, or a read-only mount); its files then
    // carry the read-only attribute, as on the system the catalogue comes from.
    virtual bool readOnlyVolume(const QString& root) const = 0;
    // Where the drive lives on this machine (a mount point), for showing to the user; empty if none.
    virtual QString mountPoint(const QString& root) const = 0;
    // Maps "D:\dir\file" to the native path of that file, as text (see nativePathText in FileNames.h):
    // the real entry the stored path names, also where a name on the disc is not UTF-8 or holds a
    // backslash (see resolveDrivePath). Empty when the letter is not a drive or the path would leave the
    // drive ("." or ".." components).
    virtual QString nativePath(const QString& drivePath) const = 0;
    // What tells the medium in the drive under `root` from any other: the same text comes back only while
    // the same medium stays in the drive, mounted in the same place (its mount and the serial on the disc).
    // Empty when the drive holds no medium that can be read.
    virtual QString mediumIdentity(const QString& root) const = 0;
    // The native file another program opens for the file at `drivePath`: the file itself, started in the
    // drive's mount point, where the drive is a mounted file system.
    virtual OpenableFile openableFile(const QString& drivePath) const {
        return OpenableFile{nativePath(drivePath), mountPoint(drivePath.left(3)), QString()};
    }
};

// The roots ("D:\") of the optical drives lettered A to P, in letter order: the drives the program offers
// and searches. Drives lettered Q to Z are never listed. Asks the table afresh on every call.
std::vector<QString> opticalDriveRoots(const DriveTable& drives);

}  // namespace vt
