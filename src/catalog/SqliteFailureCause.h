#pragma once

#include "catalog/CatalogError.h"

struct sqlite3;

namespace vt {

// The cause of an SQLite failure, from its (extended) result code and, for the codes that say only that
// the system refused, the system's error number (0 when there is none).
CatalogFailureCause sqliteFailureCause(int extendedCode, int systemError);

// The cause of the last failure on `db`.
CatalogFailureCause sqliteFailureCause(sqlite3* db);

}  // namespace vt
