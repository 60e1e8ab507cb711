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

FoldTranslation workOut() {
    FoldTranslation mapped;
    QString dropped;
    // NUL cannot be in a server's text, nor can a lone surrogate.
    for (char32_t c = 1; c <= 0x10FFFF; ++c) {
        if (c >= 0xD800 && c <= 0xDFFF) continue;
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
    static const FoldTranslation translation = workOut();
    return translation;
}

}  // namespace vt
