#pragma once

#include <QByteArray>
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
    // When the entry's contents last changed, in whole seconds since 1970-01-01 UTC; nothing when the
    // listing does not tell it.
    std::optional<std::int64_t> modified;
    // The bytes of a listed folder's name as the file system holds them, for entering it by the very same
    // bytes whatever `name` reads them as; empty when the listing does not tell them (then `name` is all).
    QByteArray rawName;

    bool isDirectory() const { return attributes & FileAttribute::Directory; }
    bool measured() const { return length >= 0; }
};

// How a listing began.
enum class FindStatus {
    Found,       // at least one entry; the first is filled in
    Empty,       // the folder was listed and holds nothing matching
    Unreadable,  // the folder could not be listed (missing, no permission, name too long)
    MediumGone,  // the medium as a whole is gone or cannot be read (device gone, dead mount, I/O error)
};

// One running directory search; it ends when the object is destroyed.
class FindHandle {
  public:
    virtual ~FindHandle() = default;
    // Fills `entry` with the next entry; false at the end of the listing or when reading it failed.
    virtual bool next(FindData& entry) = 0;
    // True when the listing ended early because the folder could not be read any further.
    virtual bool failed() const = 0;
    // True when the listing ended early because the medium as a whole went away or became unreadable
    // (failed() is then true as well).
    virtual bool mediumGone() const { return false; }
};

// A folder that a walk has reached; what it holds is the walk's own business.
class WalkFolder {
  public:
    virtual ~WalkFolder() = default;
};

// A walk of one folder's tree (usually a drive's root), obtained from FileSystem::walk. A walk of the
// real file system reads everything relative to the top folder as it was when the walk began, holding it
// open while the walk lives: a disc unmounted meanwhile cannot turn the rest of the walk to whatever lies
// beneath its mount point; it shows as the errors the medium gives (FindStatus::MediumGone).
class DriveWalk {
  public:
    virtual ~DriveWalk() = default;

    // The folder the walk began at; it lives as long as the walk.
    virtual WalkFolder& top() = 0;
    // The subfolder `entry` of `parent`, as a listing of `parent` returned it; `path` is its drive path,
    // ending with a backslash. Nothing is read yet: a folder that cannot be opened says so when listed.
    // The result must not outlive `parent`.
    virtual std::unique_ptr<WalkFolder> subfolder(WalkFolder& parent, const FindData& entry,
                                                  const QString& path) = 0;
    // Starts listing `folder` for entries matching `pattern`, as FileSystem::findFirst does (also again);
    // the handle must not outlive the folder.
    virtual std::unique_ptr<FindHandle> findFirst(WalkFolder& folder, const QString& pattern, FindData& first,
                                                  FindStatus& status) = 0;
    // What the system said about the last listing that failed, if it is known ("Transport endpoint is not
    // connected"); empty otherwise.
    virtual QString lastFailure() const { return {}; }
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
    // Starts a walk of the tree under `folder` (a drive root such as "D:\", or a folder of a drive, ending
    // with a backslash). The walk must not outlive this object. This default walks by drive paths through
    // findFirst, so each folder is looked up afresh by its path.
    virtual std::unique_ptr<DriveWalk> walk(const QString& folder);
    // Attribute bits of a path, or nothing when they cannot be read.
    virtual std::optional<std::uint32_t> attributes(const QString& path) = 0;
    // Length in bytes of a file, or nothing when it cannot be read.
    virtual std::optional<std::int64_t> fileLength(const QString& path) = 0;
    // True when the path names an existing file or folder.
    virtual bool pathExists(const QString& path) = 0;
};

}  // namespace vt
