#include "catalog/PathSearch.h"

#include <QRegularExpression>

namespace vt {

namespace {

QString undoubled(const QString& literal) {
    QString text = literal;
    text.replace(QStringLiteral("''"), QStringLiteral("'"));
    return text;
}

}  // namespace

std::optional<PathSearch> PathSearch::recognise(const QString& statement) {
    // A quoted literal as SQL reads it: any characters, a quote written twice.
    static const QString literal = QStringLiteral("'((?:[^']|'')*)'");
    static const QRegularExpression shape(
        QStringLiteral("^\\s*select\\s+top\\s+(\\d{1,9})\\s+\\*\\s+from\\s+banklist\\s+where\\s*\\(\\s*"
                       "(?:diskname\\s*=\\s*%1\\s+and\\s+)?filepath\\s+like\\s*%1\\s*\\)\\s*;?\\s*$")
            .arg(literal),
        QRegularExpression::CaseInsensitiveOption);
    // SQLite reads a statement only up to a zero character; such a text stays with the table, to fail there.
    if (statement.contains(QChar(0))) return std::nullopt;
    const QRegularExpressionMatch match = shape.match(statement);
    if (!match.hasMatch()) return std::nullopt;
    PathSearch search;
    search.limit = match.captured(1).toLong();
    if (match.capturedStart(2) >= 0) search.diskName = undoubled(match.captured(2));
    search.pattern = undoubled(match.captured(3));
    return search;
}

}  // namespace vt
