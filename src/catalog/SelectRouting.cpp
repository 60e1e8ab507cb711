#include "catalog/SelectRouting.h"

#include <QRegularExpression>

#include "catalog/DiscNames.h"
#include "catalog/PathSearch.h"

namespace vt {

namespace {

void bindSpellings(RoutedSelect& select, const std::vector<QString>& spellings) {
    for (const QString& spelling : spellings) select.bindings.emplace_back(spelling);
}

}  // namespace

std::optional<std::pair<QString, QString>> rowsOfOneDisc(const QString& source) {
    static const QRegularExpression shape(
        QStringLiteral("^\\s*select\\s+\\*\\s+from\\s+(banklist|disks)\\s+where\\s*\\(\\s*diskname\\s*=\\s*"
                       "'((?:[^']|'')*)'\\s*\\)\\s*;?\\s*$"),
        QRegularExpression::CaseInsensitiveOption);
    if (source.contains(QChar(0))) return std::nullopt;
    const QRegularExpressionMatch match = shape.match(source);
    if (!match.hasMatch()) return std::nullopt;
    QString name = match.captured(2);
    name.replace(QStringLiteral("''"), QStringLiteral("'"));
    return std::make_pair(match.captured(1), name);
}

std::optional<RoutedSelect> routeSelect(const QString& source, sqlite3* db, bool indexedSearch) {
    if (std::optional<PathSearch> search = PathSearch::recognise(source)) {
        if (!search->diskName) return indexedSearch ? PathSearchRouter::route(*search, db) : std::nullopt;
        const std::vector<QString> spellings = DiscNames::storedSpellings(db, *search->diskName);
        if (indexedSearch && spellings.size() == 1) {
            search->diskName = spellings.front();
            if (std::optional<RoutedSelect> routed = PathSearchRouter::route(*search, db)) return routed;
        }
        RoutedSelect plain;
        plain.sql =
            QStringLiteral("SELECT _rowid_, * FROM BankList WHERE %1 AND FilePath LIKE ?1%2 LIMIT %3;")
                .arg(DiscNames::nameTest(QStringLiteral("DiskName"), 2, spellings.size()),
                     DiscNames::rowidOrder(spellings.size()))
                .arg(search->limit);
        plain.bindings = {search->pattern};
        bindSpellings(plain, spellings);
        return plain;
    }
    if (const auto rows = rowsOfOneDisc(source)) {
        const std::vector<QString> spellings = DiscNames::storedSpellings(db, rows->second);
        RoutedSelect select;
        select.sql =
            QStringLiteral("SELECT _rowid_, * FROM %1 WHERE %2%3;")
                .arg(rows->first, DiscNames::nameTest(QStringLiteral("DiskName"), 1, spellings.size()),
                     DiscNames::rowidOrder(spellings.size()));
        bindSpellings(select, spellings);
        return select;
    }
    return std::nullopt;
}

}  // namespace vt
