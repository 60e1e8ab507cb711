#pragma once

#include <QString>
#include <cstdint>
#include <memory>
#include <mutex>
#include <optional>

#include "platform/FileSystem.h"
#include "platform/ImageFolders.h"

namespace vt {

class ImageSectors;

// What a disc image says about its volume, as a drive holding the disc would report it.
struct ImageVolume {
    QString label;
    QString fileSystemName;  // "iso9660" or "udf", as a mount of the image shows it
    std::uint64_t usedBytes = 0;
    std::uint32_t serial = 0;  // the serial the program shows for the same image mounted
};

// A disc image file (.iso, .img, raw .bin, .cue with its .bin, .nrg) read without mounting it. It is held
// open while the object lives, and its folders are read from it one at a time as they are listed: nothing
// of the tree is kept, so listing an image of a million files takes no more memory than one of a hundred.
// May be used from any number of threads (one reads the image at a time).
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
    // Opens the image at `path` and lists its root. It is refused when it cannot be opened, holds no
    // ISO 9660 or UDF volume, or not even its root folder can be read.
    static Opened open(const QString& path);
    ~DiscImage();
    DiscImage(const DiscImage&) = delete;
    DiscImage& operator=(const DiscImage&) = delete;

    const ImageVolume& volume() const { return volume_; }
    // Empty while every folder listed so far (the root from the start) was read whole; else why one of
    // them, or an entry of one, could not be. Such folders list as unreadable or as far as they were read.
    QString damage() const;

    // As FileSystem::findFirst on the folder `folder` of the image.
    std::unique_ptr<FindHandle> findFirst(const QString& folder, const QString& pattern, FindData& first,
                                          FindStatus& status) const;
    // The same for a folder entry a listing gave (`atRoot`: it is the root, which lists no dots).
    std::unique_ptr<FindHandle> findFirst(const ImageEntry& folder, bool atRoot, const QString& pattern,
                                          FindData& first, FindStatus& status) const;
    // The folders among all the entries of the listing `handle` (one of this image's), in its order.
    static std::vector<ImageEntry> subfoldersOf(const FindHandle& handle);

    // The entry at `path`; the root for "". Nothing when the path names nothing.
    std::optional<ImageEntry> entryAt(const QString& path) const;
    std::optional<std::uint32_t> attributes(const QString& path) const;
    std::optional<std::int64_t> fileLength(const QString& path) const;
    bool pathExists(const QString& path) const;
    // Hands the bytes of the file at `path` to `sink` in order; empty when all were, else why not.
    QString copyFile(const QString& path, const ImageDataSink& sink) const;

  private:
    DiscImage() = default;
    // Lists `folder` into `entries`; false when its records broke off. Notes any damage.
    bool list(const ImageEntry& folder, std::vector<ImageEntry>& entries) const;

    ImageVolume volume_;
    std::unique_ptr<ImageSectors> sectors_;
    std::unique_ptr<ImageFolders> folders_;  // reads sectors_
    mutable std::mutex mutex_;               // one reader of the image at a time
    mutable QString damage_;
};

}  // namespace vt
