#pragma once

struct sqlite3;

namespace vt {

// Replaces the store's `like` with the catalogue's own: '%' and '_' wildcards, case ignored in every
// script, Arabic and Persian yeh and kaf equal (see TextMatch.h).
void registerCatalogFunctions(sqlite3* db);

}  // namespace vt
