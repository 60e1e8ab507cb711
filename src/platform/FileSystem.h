#pragma once

#include <QString>
#include <cstdint>
#include <memory>
#include <optional>

namespace vt {

// Attribute bits of a directory entry, with the values the catalogue's attribute text is built from.
namespace FileAttribute {
constexpr std::uint32_t ReadOnly = 0x01;
constexpr std::uint32_t Hidden = 0x02;
constexpr std::uint32_t System = 0x04;
constexpr std::uint32_t Directory = 0x10;
constexpr std::uint32_t Archive = 0x20;
}  // namespace FileAttribute

// One listed entry, measured when it was listed (as a find record carries attributes and size).
struct FindData {
    QString name;  // the entry's own name, "." and ".." included
    std::uint32_t attributes = 0;
    // Length in bytes (64 bits); -1 when the entry could not be measured, in which case `attributes`
    // is not known either. Folders have length 0.
    std::int64_t length = 0;

    bool isDirectory() const { return attributes & FileAttribute::Directory; }
    bool measured() const { return length >= 0; }
};

// How a listing began.
enum class FindStatus {
    Found,       // at least one entry; the first is filled in
    Empty,       // the folder was listed and holds nothing matching
    Unreadable,  // the folder could not be listed (missing, no permission, I/O error, name too long)
};

// One running directory search; it ends when the object is destroyed.
class FindHandle {
  public:
    virtual ~FindHandle() = default;
    // Fills `entry` with the next entry; false at the end of the listing or when reading it failed.
    virtual bool next(FindData& entry) = 0;
    // True when the listing ended early because the folder could not be read any further.
    virtual bool failed() const = 0;
};

// Directory listing and file queries on drive paths ("D:\dir\file"), the way the catalogue walk sees them.
// Entries that are neither files nor folders (links, devices) are not listed.
class FileSystem {
  public:
    virtual ~FileSystem() = default;

    // Starts listing `folder` (ends with a backslash) for entries matching `pattern` ("*.*" for all).
    // "." and ".." come first in every folder but a drive root. Returns null unless `status` is Found;
    // then `first` holds the first entry. The handle must not outlive this object.
    virtual std::unique_ptr<FindHandle> findFirst(const QString& folder, const QString& pattern,
                                                  FindData& first, FindStatus& status) = 0;
    // Attribute bits of a path, or nothing when they cannot be read.
    virtual std::optional<std::uint32_t> attributes(const QString& path) = 0;
    // Length in bytes of a file, or nothing when it cannot be read.
    virtual std::optional<std::int64_t> fileLength(const QString& path) = 0;
    // True when the path names an existing file or folder.
    virtual bool pathExists(const QString& path) = 0;
};

}  // namespace vt
