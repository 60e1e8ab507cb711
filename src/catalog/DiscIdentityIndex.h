#pragma once

struct sqlite3;

namespace vt {

// The index that finds catalogued discs by serial and used size, so that a disc put in a drive is
// recognised at once however many discs are catalogued. Older catalogues get it when opened for writing;
// programs that do not know it are not disturbed by it.
namespace DiscIdentityIndex {

bool exists(sqlite3* db);
// Creates it if missing. Throws CatalogError.
void create(sqlite3* db);

}  // namespace DiscIdentityIndex
}  // namespace vt
