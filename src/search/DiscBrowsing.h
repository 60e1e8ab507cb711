#pragma once

#include <QString>
#include <functional>
#include <optional>
#include <vector>

#include "search/FolderFilesModel.h"
#include "search/FolderTreeModel.h"

namespace vt {

class Connection;

// What the disc browser reads of the catalogue: one disc's row and, from its recorded paths, its folders
// and the files of one folder at a time. Every call throws CatalogError when the catalogue fails.
namespace DiscBrowsing {

// One row of Disks, as the browser shows it; facts an older catalogue never recorded stay empty.
struct DiscFacts {
    QString name;
    QString serial;
    QString size;  // the size text recorded at scan time
    QString fileCount;
    QString volumeLabel;
    QString fileSystem;
    std::optional<qint64> cataloguedAt;  // seconds since 1970-01-01 UTC
};

// Every catalogued disc, in the order the catalogue gives them.
std::vector<DiscFacts> discs(Connection& connection);

// The root folder of `disc` (named after the disc); no path when the disc has no files.
ListedFolder root(Connection& connection, const QString& disc);
// The subfolders of one folder, in name order.
std::vector<ListedFolder> subfolders(Connection& connection, const QString& disc, const QString& folderPath);
// The files directly in one folder.
std::vector<ListedFile> files(Connection& connection, const QString& disc, const QString& folderPath);
// Every file in one folder and the folders under it, one at a time, in path order.
void eachFileUnder(Connection& connection, const QString& disc, const QString& folderPath,
                   const std::function<void(const ListedFile&)>& visit);

// The folder a recorded file path lies in.
QString folderOf(const QString& recordedPath);

}  // namespace DiscBrowsing
}  // namespace vt
