#pragma once

#include <QHash>
#include <QString>
#include <cstdint>
#include <optional>
#include <vector>

namespace vt {

// The folders of a disc image as read from its directory records, held in memory: each folder's entries
// in the order the disc records them. Folders are numbered; 0 is the root.
class ImageTree {
  public:
    struct Entry {
        QString name;
        std::int64_t length = 0;  // bytes; 0 for folders
        int folder = -1;          // the folder's number for a folder entry, -1 for a file
        // When it was last changed as the disc records it, in seconds since 1970-01-01 UTC; nothing
        // when the record gives no usable date.
        std::optional<std::int64_t> modified;
        bool isDirectory() const { return folder >= 0; }
    };

    ImageTree();

    // Adds a file to `folder` (a number this tree gave out).
    void addFile(int folder, const QString& name, std::int64_t length,
                 std::optional<std::int64_t> modified = std::nullopt);
    // Adds a subfolder to `folder` and returns its number; an existing subfolder of that name is reused,
    // so a folder met again (a second record of it, or one made up for a path seen first) is not doubled.
    int addFolder(int folder, const QString& name);

    // Notes that `folder`'s own records could not be read, so its entries are not known (or not all).
    void markUnreadable(int folder);

    // The number of the folder at `path` ("" for the root, "dir/sub" below it); nothing when there is no
    // such folder.
    std::optional<int> folderAt(const QString& path) const;
    // The entry at `path` ("dir/file"); null for the root or a path that names nothing.
    const Entry* entryAt(const QString& path) const;
    const std::vector<Entry>& entries(int folder) const { return folders_[std::size_t(folder)].entries; }
    bool readable(int folder) const { return folders_[std::size_t(folder)].readable; }

  private:
    struct Folder {
        std::vector<Entry> entries;
        QHash<QString, std::size_t> byName;  // the first entry of each name
        bool readable = true;
    };
    const Entry* child(int folder, const QString& name) const;

    std::vector<Folder> folders_;
};

}  // namespace vt
