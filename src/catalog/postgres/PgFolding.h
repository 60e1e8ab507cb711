#pragma once

#include <QString>
#include <vector>

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

struct CharacterRange {
    char32_t first;
    char32_t last;
};

// The characters nearly every catalogued name is written in: ASCII, the Arabic block (Persian and Arabic
// letters, digits and marks) and the invisible marks of right-to-left text.
const std::vector<CharacterRange>& commonCharacters();

// foldTranslation() for the common characters alone: a text of nothing else folds the same with either,
// and this one is a hundred characters long rather than thousands.
const FoldTranslation& commonFoldTranslation();

}  // namespace vt
