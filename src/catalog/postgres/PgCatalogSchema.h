#pragma once

#include <QString>

#include "catalog/CatalogSchema.h"

namespace vt {

class PgConnection;

// The catalogue's tables on a PostgreSQL server: the same tables and columns, in the same order, as the
// catalogue file (CatalogSchema.h), so that rows read by position are the same on either engine. Names are
// left unquoted, so the server ignores their case as the program's statements expect. Each table has one
// more column after the catalogue's own, RowId, the rows' order of arrival (what SQLite's rowid is to the
// file): statements sent to the server name the catalogue's columns and order by it, never select it.
//
// Beside the tables:
//   vt_fold(text)         the catalogue's character folding (foldForMatch) as an immutable function, made
//                         from the program's own table of folds (PgFolding.h);
//   FoldedPath            a stored column of BankList after RowId: vt_fold(FilePath), worked out as the
//                         row arrives, which path searches compare;
//   BankList_FoldedPath   a pg_trgm GIN index over FoldedPath, through which a search by part of a
//                         path finds its rows; the DiskName indexes are over vt_fold(DiskName) too;
//   Disks_SerialNo_DiskSize  the discs by serial and used size, as a disc in a drive is recognised;
//   CatalogueInfo         one row: the application's mark and the catalogue's version.
namespace PgCatalogSchema {

// Marks and version as in the catalogue file.
constexpr int kApplicationId = 0x56544331;  // "VTC1"
constexpr int kVersion = 4;

// Opened for writing: makes the catalogue in the connected database when it has none (all in one
// transaction, which a second program making it at the same moment waits for), or checks the one there,
// replacing a folding function that no longer folds as the program does and rebuilding the indexes over it.
// Opened for reading, nothing is written: a database without a catalogue, or with an outdated folding, is
// refused. Either way one of another program, or of a newer version, is left as it is. Throws
// CatalogOpenError naming the server (never a password).
void open(PgConnection& db, CatalogSchema::OpenMode mode = CatalogSchema::OpenMode::ReadWrite);

}  // namespace PgCatalogSchema
}  // namespace vt
