#pragma once

#include <QString>
#include <cstdint>
#include <memory>
#include <optional>

#include "platform/FileSystem.h"
#include "platform/ImageTree.h"

namespace vt {

// What a disc image says about its volume, as a drive holding the disc would report it.
struct ImageVolume {
    QString label;
    QString fileSystemName;  // "iso9660" or "udf", as a mount of the image shows it
    std::uint64_t usedBytes = 0;
    std::uint32_t serial = 0;  // the serial the program shows for the same image mounted
};

// A disc image file (.iso, .img, raw .bin, .cue with its .bin, .nrg) read without mounting it: its volume
// and its whole directory tree are read when it is opened and kept in memory, so the file is not held open
// afterwards and an opened image may be listed from any number of threads.
//
// A bridge image (UDF and ISO 9660 over the same files) shows its UDF side, as a drive's own file-system
// detection and Windows do: the catalogue then records the label, serial and long Unicode names the same
// disc shows in a drive. Its ISO 9660 side is read only when the UDF structures are unusable.
//
// Paths inside the image are those of pathWithinDrive: "" for the root, "dir/sub/file" below it.
// Entries carry the attributes LinuxFileSystem gives a disc's files: directory, hidden for names starting
// with '.', and read-only for everything.
class DiscImage {
  public:
    struct Opened {
        std::unique_ptr<DiscImage> image;  // null when the image was refused
        QString error;                     // why it was refused
    };
    // Reads the image at `path`. It is refused when it cannot be opened, holds no ISO 9660 or UDF volume,
    // or not even its root folder can be read.
    static Opened open(const QString& path);

    const ImageVolume& volume() const { return volume_; }
    // Empty when the whole tree was read; else why part of it could not be, in which case the folders that
    // could not be read list as unreadable and the rest as far as they were read.
    const QString& damage() const { return damage_; }

    // As FileSystem::findFirst on the folder `folder` of the image.
    std::unique_ptr<FindHandle> findFirst(const QString& folder, const QString& pattern, FindData& first,
                                          FindStatus& status) const;
    std::optional<std::uint32_t> attributes(const QString& path) const;
    std::optional<std::int64_t> fileLength(const QString& path) const;
    bool pathExists(const QString& path) const;

  private:
    DiscImage() = default;
    // An image of which nothing at all could be listed is refused, with the reason.
    static Opened refusedIfUnreadable(std::unique_ptr<DiscImage> image);

    ImageVolume volume_;
    QString damage_;
    ImageTree tree_;
};

}  // namespace vt
