#pragma once

#include <QString>
#include <string>
#include <vector>

#include "catalog/TrigramPlanner.h"

namespace vt {

// One term as a query of the path index: between double quotes, each double quote written twice, and a
// '*' after a prefix.
QString pathIndexQuery(const std::string& token, bool prefix);

// A query for the rows listed under every one of `terms` (prefixes all, or trigrams all).
QString pathIndexQuery(const std::vector<IndexTerm>& terms, bool prefixes);

// The condition that keeps a walk along the index (as `p`) within the rowid range of the disc bound to ?3:
// a disc's rows are added together and so lie in one range.
extern const QString kPathIndexDiscRange;

}  // namespace vt
