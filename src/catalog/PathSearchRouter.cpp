#include "catalog/PathSearchRouter.h"

#include <algorithm>
#include <set>
#include <string>

#include "catalog/FoldingTrigramTokenizer.h"
#include "catalog/PathSearch.h"
#include "catalog/TextMatch.h"

namespace vt {
namespace PathSearchRouter {

namespace {

bool isWildcard(char32_t c) { return c == U'%' || c == U'_'; }

// One trigram, or two characters that a token must begin with, as an index query string: between double
// quotes, each double quote written twice, and a '*' after a prefix.
void appendQueryString(QString& query, const std::string& token, bool prefix) {
    QString text = QString::fromUtf8(token.data(), qsizetype(token.size()));
    text.replace(QLatin1Char('"'), QStringLiteral("\"\""));
    if (!query.isEmpty()) query += QLatin1String(" AND ");
    query += QLatin1Char('"') + text + QLatin1Char('"');
    if (prefix) query += QLatin1Char('*');
}

}  // namespace

QString indexQuery(const QString& pattern) {
    const QByteArray utf8 = pattern.toUtf8();
    std::vector<char32_t> folded;
    foldUtf8(std::string_view(utf8.constData(), size_t(utf8.size())), folded);

    // The literal pieces: [begin, end) in folded.
    std::vector<std::pair<size_t, size_t>> pieces;
    size_t longest = 0;
    for (size_t begin = 0, i = 0; i <= folded.size(); ++i) {
        if (i < folded.size() && !isWildcard(folded[i])) continue;
        pieces.emplace_back(begin, i);
        longest = std::max(longest, i - begin);
        begin = i + 1;
    }
    QString query;
    std::set<std::string> asked;
    if (longest >= 3) {
        for (const auto& [begin, end] : pieces) {
            for (size_t k = begin; k + 3 <= end; ++k) {
                const std::string token = FoldingTrigramTokenizer::tokenFor(&folded[k]);
                if (asked.insert(token).second) appendQueryString(query, token, false);
            }
        }
    } else if (longest == 2) {
        for (const auto& [begin, end] : pieces) {
            if (end - begin != 2) continue;
            const std::string prefix = FoldingTrigramTokenizer::prefixFor(&folded[begin]);
            if (asked.insert(prefix).second) appendQueryString(query, prefix, true);
        }
    }
    return query;
}

std::optional<RoutedSelect> route(const PathSearch& search) {
    const QString match = indexQuery(search.pattern);
    if (match.isEmpty()) return std::nullopt;

    // CROSS JOIN keeps the index as the outer loop, so rows come in its rowid order and the limit stops
    // the walk early; the LIKE here is the catalogue's own, the same that the plain statement runs.
    QString sql = QStringLiteral(
        "SELECT b._rowid_, b.* FROM BankListPaths AS p CROSS JOIN BankList AS b ON b._rowid_ = p.rowid "
        "WHERE p.BankListPaths MATCH ?1 AND b.FilePath LIKE ?2");
    RoutedSelect routed;
    routed.bindings = {match, search.pattern};
    if (search.diskName) {
        // A disc's rows are added together and so lie in one rowid range; bounding the index walk by it
        // skips the matches on every other disc. The DiskName test alone decides which rows belong.
        sql += QStringLiteral(
            " AND p.rowid >= (SELECT min(_rowid_) FROM BankList WHERE DiskName = ?3)"
            " AND p.rowid <= (SELECT max(_rowid_) FROM BankList WHERE DiskName = ?3)"
            " AND b.DiskName = ?3");
        routed.bindings.push_back(*search.diskName);
    }
    sql += QStringLiteral(" LIMIT %1;").arg(search.limit);
    routed.sql = sql;
    return routed;
}

}  // namespace PathSearchRouter
}  // namespace vt
