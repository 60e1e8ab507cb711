#pragma once

struct sqlite3;

namespace vt {

// Makes a fresh handle speak the catalogue's dialect: replaces the store's `like` with the catalogue's own
// ('%' and '_' wildcards, case ignored in every script, Arabic and Persian yeh and kaf equal; see
// TextMatch.h) and makes the path index's tokenizer known, which every write to BankList needs. Throws
// CatalogError when the SQLite library lacks what the catalogue needs.
void registerCatalogFunctions(sqlite3* db);

}  // namespace vt
