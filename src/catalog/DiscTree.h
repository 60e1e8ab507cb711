#pragma once

#include <QString>
#include <functional>
#include <memory>
#include <optional>
#include <vector>

struct sqlite3;

namespace vt {

class Connection;
class PgDiscFolders;
class SqliteStatement;

// One file row of a disc, as a folder listing gives it.
struct DiscFile {
    qint64 rowid = 0;
    QString name;  // the last part of its path
    QString path;  // the recorded FilePath, such as "D:\dir\file.txt"
    double size = 0;
    QString attributes;
    std::optional<qint64> modified;  // seconds since 1970-01-01 UTC; nothing when not known
};

// What one folder holds: its subfolders' names and its files, each in the byte order of their UTF-8 names
// (the order of the folder index).
struct DiscFolder {
    std::vector<QString> folders;
    std::vector<DiscFile> files;
};

// The Disks row of a disc.
struct DiscFacts {
    QString name;
    QString serial;
    QString size;
    QString fileCount;
    QString label;       // empty when not known
    QString fileSystem;  // empty when not known
    std::optional<qint64> cataloguedAt;
};

// The folders of one catalogued disc, derived from its recorded paths: folders are not rows, so a folder
// is known by the files below it (an empty folder is not known at all). A path's parts are separated by
// backslashes; "D:\dir\sub\file.txt" makes the folder "D:\" hold the folder "dir", which holds "sub", which
// holds the file. A folder is named by its path ending with a backslash ("D:\dir\"); the empty path is
// above every root.
//
// Nothing is read ahead: each listing reads one folder's rows as a range of paths through the folder index
// (exact bytes: no case folding, no wildcards), stepping over each subfolder's rows in one seek. So
// opening a disc of a million files costs its root folder, and a folder of n files about n row reads.
// A catalogue without the folder index (an older one opened only for reading) is read through the DiskName
// index instead, a pass over the disc's rows per listing. A catalogue on a server is read the same way,
// the server sending only the folder's own entries (PgDiscFolders); the listings are those of the file.
//
// The connection must outlive the object, and be used from one thread at a time. Throws CatalogError.
class DiscTree {
  public:
    // `diskName` exactly as stored (DiscNames::storedSpellings finds it from what a user typed).
    DiscTree(Connection& connection, QString diskName);
    ~DiscTree();
    DiscTree(const DiscTree&) = delete;
    DiscTree& operator=(const DiscTree&) = delete;

    const QString& diskName() const { return diskName_; }
    // The disc's Disks row; nothing when the disc is not catalogued.
    std::optional<DiscFacts> facts() const;
    // The folder that every path of the disc begins with, such as "D:\"; empty when the paths begin with
    // more than one (then listing "" shows each) or the disc has no rows.
    QString root() const;

    // The subfolders and files directly in `folder` (a path ending with a backslash, or "").
    DiscFolder list(const QString& folder) const;
    // Calls `visit` with every file at any depth below `folder`, in path order, without holding them.
    void forEachFile(const QString& folder, const std::function<void(const DiscFile&)>& visit) const;

    // The folder path of a recorded file path: all of it up to and with its last backslash ("" for none).
    static QString folderOf(const QString& filePath);

  private:
    // The rows of a disc whose paths lie in [?2, ?3), in path order.
    QString rangeSql() const;
    // Positions `rows` at the first row whose path is at least `from` and below the end of `folder`.
    void startRange(SqliteStatement& rows, const QString& from, const QString& folder) const;
    DiscFile fileAt(const SqliteStatement& rows, const QString& path, qsizetype nameStart) const;

    sqlite3* db_ = nullptr;  // null for a catalogue on a server
    std::unique_ptr<PgDiscFolders> server_;
    QString diskName_;
    bool hasDates_ = false;
    bool folderIndex_ = false;
    std::unique_ptr<SqliteStatement> range_;
};

}  // namespace vt
