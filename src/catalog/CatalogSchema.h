#pragma once

#include <QString>

struct sqlite3;

namespace vt {

// The catalogue's tables, in the column order every reader and writer relies on (fields go by position):
//   Disks    (DiskName, SerialNo, DiskSize, FileCount)            all text
//   BankList (DiskName, FileName, FilePath, FileSize, FileAttr)   FileSize a double, the rest text
namespace CatalogSchema {

// Marks a file as one of our catalogues, so that no other SQLite file is mistaken for one.
constexpr int kApplicationId = 0x56544331;  // "VTC1"
constexpr int kVersion = 1;

// Creates the tables, indexes and markers in an empty database. Throws CatalogError.
void create(sqlite3* db);

enum class OpenMode {
    ReadWrite,  // an existing catalogue, or a new one made when the file is missing
    ReadOnly,   // an existing catalogue only, which is never written to
};

// Opens a catalogue at `path` without ever damaging a file it does not recognise.
// Returns the open handle; throws CatalogOpenError naming the path and the reason.
sqlite3* open(const QString& path, OpenMode mode);

}  // namespace CatalogSchema
}  // namespace vt
