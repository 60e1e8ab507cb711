#pragma once

#include <QString>
#include <cstdint>
#include <functional>
#include <optional>
#include <vector>

namespace vt {

// Where a run of a file's bytes lies in an image: `bytes` bytes from 2048-byte logical sector `sector`.
struct ImageExtent {
    std::uint64_t sector = 0;
    std::uint64_t bytes = 0;
};

// One entry of a folder of a disc image, as its directory records give it.
struct ImageEntry {
    QString name;
    std::int64_t length = 0;  // bytes; 0 for folders; -1 when the entry's own record cannot be read
    bool directory = false;
    // False for a folder whose records are known to be unreadable before it is listed.
    bool readable = true;
    // Where the entry is recorded, as the file system identifies it (the same folder has the same value
    // wherever it is met, so that a folder recorded inside itself can be told).
    std::uint64_t location = 0;
    std::vector<ImageExtent> extents;  // ISO 9660: where the file's data or the folder's records lie
    // When the file was last changed as the disc records it, in seconds since 1970-01-01 UTC; nothing when
    // the record gives no usable date.
    std::optional<std::int64_t> modified;
};

// Receives a file's bytes in order; false stops the copy.
using ImageDataSink = std::function<bool(const unsigned char* data, std::size_t bytes)>;

// The folders of one file system of a disc image, read one folder at a time, so that nothing of the tree
// is kept but what the caller keeps. Not safe for use by two threads at once.
class ImageFolders {
  public:
    virtual ~ImageFolders() = default;
    // The root folder.
    virtual ImageEntry root() const = 0;
    // Appends the entries of `folder` in recorded order, leaving out links and special files. Returns false
    // when its records broke off (`out` then holds those read before). `problem` receives why, also when an
    // entry of it could not be read whole (a folder's or file's own record: see ImageEntry).
    virtual bool list(const ImageEntry& folder, std::vector<ImageEntry>& out, QString& problem) = 0;
    // Hands the bytes of the file `file` to `sink` in order; empty when all were, else why not.
    virtual QString copy(const ImageEntry& file, const ImageDataSink& sink) = 0;
};

}  // namespace vt
