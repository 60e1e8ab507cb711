#include "catalog/postgres/PgFolding.h"

#include "catalog/TextMatch.h"

namespace vt {

namespace {

// One character as UTF-16. (QString::fromUcs4 would take a lone U+FEFF for a byte order mark and drop it.)
void append(QString& text, char32_t c) {
    if (QChar::requiresSurrogates(c)) {
        text += QChar(QChar::highSurrogate(c));
        text += QChar(QChar::lowSurrogate(c));
    } else {
        text += QChar(char16_t(c));
    }
}

bool isCommon(char32_t c) {
    for (const CharacterRange& range : commonCharacters()) {
        if (c >= range.first && c <= range.last) return true;
    }
    return false;
}

FoldTranslation workOut(bool commonOnly) {
    FoldTranslation mapped;
    QString dropped;
    // NUL cannot be in a server's text, nor can a lone surrogate.
    for (char32_t c = 1; c <= 0x10FFFF; ++c) {
        if (c >= 0xD800 && c <= 0xDFFF) continue;
        if (commonOnly && !isCommon(c)) continue;
        const char32_t folded = foldForMatch(c);
        if (folded == c) continue;
        if (folded == kIgnoredInMatch) {
            append(dropped, c);
        } else {
            append(mapped.from, c);
            append(mapped.to, folded);
        }
    }
    mapped.from += dropped;
    return mapped;
}

}  // namespace

const FoldTranslation& foldTranslation() {
    static const FoldTranslation translation = workOut(false);
    return translation;
}

const std::vector<CharacterRange>& commonCharacters() {
    static const std::vector<CharacterRange> ranges = {
        {0x0001, 0x007F}, {0x0600, 0x06FF}, {0x200B, 0x200F}, {0x202A, 0x202E}, {0x2066, 0x2069}};
    return ranges;
}

const FoldTranslation& commonFoldTranslation() {
    static const FoldTranslation translation = workOut(true);
    return translation;
}

}  // namespace vt
