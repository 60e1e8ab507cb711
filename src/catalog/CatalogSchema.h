#pragma once

#include <QString>

#include "catalog/SearchIndex.h"

struct sqlite3;

namespace vt {

// The catalogue's tables, in the column order every reader and writer relies on (fields go by position):
//   Disks    (DiskName, SerialNo, DiskSize, FileCount,             the first four text, as always
//             VolumeLabel, FileSystem, CataloguedAt)               from version 4 on
//   BankList (DiskName, FileName, FilePath, FileSize, FileAttr,    FileSize a double, the rest text
//             FileModified)                                        from version 4 on
// plus, from version 2 on, the path index over BankList.FilePath (SearchIndex), and from version 4 on the
// folder index over (disc, path) that lists one folder of a disc as a range of paths (DiscTree).
// Times are whole seconds since 1970-01-01 UTC, NULL where not known (rows of older catalogues). Columns
// added later always come after these, so that reading by position keeps working.
namespace BankListColumn {
constexpr int DiskName = 0, FileName = 1, FilePath = 2, FileSize = 3, FileAttr = 4, FileModified = 5;
}
namespace DisksColumn {
constexpr int DiskName = 0, SerialNo = 1, DiskSize = 2, FileCount = 3, VolumeLabel = 4, FileSystem = 5,
              CataloguedAt = 6;
}

namespace CatalogSchema {

// Marks a file as one of our catalogues, so that no other SQLite file is mistaken for one.
constexpr int kApplicationId = 0x56544331;  // "VTC1"
// 1: the two tables. 2: the path index. 3: the path index indexes new rows after they are written.
// 4: file dates, disc facts and the folder index.
constexpr int kVersion = 4;

// How long a statement waits for another connection's write to end before it gives up.
constexpr int kBusyTimeoutMs = 5000;

// Creates the tables, indexes and markers in an empty database whose handle has the catalogue's functions
// registered. Throws CatalogError.
void create(sqlite3* db);

enum class OpenMode {
    ReadWrite,  // an existing catalogue, or a new one made when the file is missing
    ReadOnly,   // an existing catalogue only, which is never written to
};

// Opens a catalogue at `path` without ever damaging a file it does not recognise, with the catalogue's
// functions registered on the handle. Opened for writing, a catalogue of an older version is brought up to
// this one first (building the path index, all in one transaction, reporting through `progress`), as is
// one whose path index was built under other character folds; opened for reading, it is left as it is.
// Returns the open handle, owned by the caller; throws CatalogOpenError naming the path and the reason.
sqlite3* open(const QString& path, OpenMode mode, const SearchIndex::Progress& progress = {});

// Whether the open catalogue has the columns of version 4 (file dates, disc facts). A catalogue opened
// only for reading is not brought up to date, so its readers ask before reading them.
bool hasFileDates(sqlite3* db);
// Whether the open catalogue has the folder index of version 4 (DiscTree reads through it).
bool hasFolderIndex(sqlite3* db);

// Whether searches of the open catalogue can go through its path index: it has one, built under this
// program's character folds, that knows how far it covers.
bool searchIndexReady(sqlite3* db);

}  // namespace CatalogSchema
}  // namespace vt
