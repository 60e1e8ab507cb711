#pragma once

#include <QString>
#include <QVariant>
#include <optional>
#include <vector>

struct sqlite3;

namespace vt {

struct PathSearch;

// A statement that gives exactly the rows of the statement it replaces, and the values it is run with.
struct RoutedSelect {
    QString sql;                     // columns: the rowid, then every column of BankList in order
    std::vector<QVariant> bindings;  // for ?1, ?2, ...
};

// Sends a search by part of a path through the path index when the index can narrow it down.
//
// Every row that matches a `like` pattern contains each literal piece of the pattern (the runs between the
// wildcards), after folding, so it is listed in the index under every trigram of every piece of three or
// more characters, and under some token beginning with each piece of two characters. The routed statement
// asks for trigrams when there are any (when there are many, the rarest few, or the rarest alone within one
// disc), else, across all discs, for all two-character pieces; it takes the rows listed under all of them,
// in rowid order, and keeps those that the exact `like` of the plain statement accepts
// (and, for one disc, whose DiskName is equal); then it reads the rows the index does not cover yet, which
// lie above all it covers, from the table with the same tests; up to the same limit. The plain statement
// reads the table in rowid order too (for one disc through the DiskName index, which also keeps rowid order),
// so both give the same rows in the same order. Patterns without a piece of two or more characters get
// nothing from the index and keep the plain statement.
namespace PathSearchRouter {

// The index query for `pattern` (characters counted as code points, not bytes): every trigram of every
// piece of three or more characters; without such a piece, every piece of two characters as a prefix;
// empty when the pattern has neither.
QString indexQuery(const QString& pattern);

// The routed form of `search` on the catalogue `db` (whose index tells the rare trigrams from the common
// ones), or none when the plain statement serves better. Throws CatalogError.
std::optional<RoutedSelect> route(const PathSearch& search, sqlite3* db);

}  // namespace PathSearchRouter
}  // namespace vt
