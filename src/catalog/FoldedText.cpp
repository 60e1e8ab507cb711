#include "catalog/FoldedText.h"

#include <QList>

#include "catalog/TextMatch.h"

namespace vt {

QString foldedText(const QString& text) {
    QString result;
    result.reserve(text.size());
    for (const char32_t c : text.toUcs4()) {
        const char32_t folded = foldForMatch(c);
        if (folded != kIgnoredInMatch) result.append(QString::fromUcs4(&folded, 1));
    }
    return result;
}

}  // namespace vt
