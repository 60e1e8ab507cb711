#pragma once

#include <string>
#include <vector>

struct sqlite3;

namespace vt {

// The tokenizer of the path index: every run of three consecutive characters of a path, after the same
// folding the catalogue's `like` applies (foldForMatch), becomes one token, and so do the last two
// characters followed by an end mark. A row can only match a `like` pattern whose literal piece is three
// or more characters long if it holds every trigram of that piece; and a piece of two characters begins one
// of the row's tokens wherever it stands. So the index narrows a search to candidates without ever losing
// a match.
//
// In a query, a string of three or more characters gives its trigrams; a string of two characters marked
// as a prefix ("ab"*) gives those two characters, which FTS5 matches against the start of every token.
namespace FoldingTrigramTokenizer {

// The name the index's tokenize option refers to.
constexpr const char* kName = "vt_trigram";

// Makes the tokenizer known to FTS5 on `db`; needed before the index is read or written. Throws
// CatalogError when the SQLite library lacks FTS5.
void registerWith(sqlite3* db);

// The token for three folded code points, byte for byte as the tokenizer emits it. Distinct triples give
// distinct tokens, including those that stand for bytes that are not valid UTF-8, and no token is the
// start of another.
std::string tokenFor(const char32_t* three);

// What every token for a triple that begins with these two folded code points begins with.
std::string prefixFor(const char32_t* two);

}  // namespace FoldingTrigramTokenizer
}  // namespace vt
