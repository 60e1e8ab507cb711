#pragma once

#include <QString>

namespace vt {

// The catalogue's character folding (foldForMatch) as the arguments of PostgreSQL's translate(): every
// character that folds to another is in `from` with what it becomes at the same place in `to`, and every
// character that comparison skips is in `from` past the end of `to`, so translate() drops it. The server's
// folding function is built from this, so the two can never disagree about a character.
struct FoldTranslation {
    QString from;
    QString to;
};

// Worked out once from foldForMatch over every Unicode character.
const FoldTranslation& foldTranslation();

}  // namespace vt
