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

struct FindData {
    QString name;  // the entry's own name, "." and ".." included
    std::uint32_t attributes = 0;
};

// One running directory search; it ends when the object is destroyed.
class FindHandle {
public:
    virtual ~FindHandle() = default;
    // Fills `entry` with the next entry; false at the end of the listing.
    virtual bool next(FindData& entry) = 0;
};

// Directory listing and file queries on drive paths ("D:\dir\file"), the way the catalogue walk sees them.
class FileSystem {
public:
    virtual ~FileSystem() = default;

    // Starts listing `folder` (ends with a backslash) for entries matching `pattern` ("*.*" for all).
    // Returns null when nothing is found or the folder cannot be listed; otherwise `first` holds the
    // first entry.
    virtual std::unique_ptr<FindHandle> findFirst(const QString& folder, const QString& pattern,
                                                  FindData& first) = 0;
    // Attribute bits of a path, or nothing when they cannot be read.
    virtual std::optional<std::uint32_t> attributes(const QString& path) = 0;
    // Length in bytes of a file, or nothing when it cannot be read.
    virtual std::optional<std::int64_t> fileLength(const QString& path) = 0;
    // True when the path names an existing file or folder.
    virtual bool pathExists(const QString& path) = 0;
};

}  // namespace vt
