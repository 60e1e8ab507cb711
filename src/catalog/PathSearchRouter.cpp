#include "catalog/PathSearchRouter.h"

#include <algorithm>
#include <set>
#include <string>

#include "catalog/FoldingTrigramTokenizer.h"
#include "catalog/PathIndexQuery.h"
#include "catalog/PathIndexStatistics.h"
#include "catalog/PathSearch.h"
#include "catalog/TextMatch.h"
#include "catalog/TrigramPlanner.h"

namespace vt {
namespace PathSearchRouter {

namespace {

// Trigrams asked for at most in a search of all discs.
constexpr size_t kTrigramsAsked = 5;

bool isWildcard(char32_t c) {
    return c == U'%' || c == U'_';
}

struct Terms {
    std::vector<IndexTerm> terms;  // distinct tokens, in the order of the pattern
    bool prefixes = false;
};

Terms termsOf(const QString& pattern) {
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
    Terms result;
    std::set<std::string> seen;
    for (size_t p = 0; p < pieces.size(); ++p) {
        const auto [begin, end] = pieces[p];
        if (longest >= 3) {
            for (size_t k = begin; k + 3 <= end; ++k) {
                std::string token = FoldingTrigramTokenizer::tokenFor(&folded[k]);
                if (seen.insert(token).second) result.terms.push_back({std::move(token), p, k});
            }
        } else if (longest == 2 && end - begin == 2) {
            std::string prefix = FoldingTrigramTokenizer::prefixFor(&folded[begin]);
            if (seen.insert(prefix).second) result.terms.push_back({std::move(prefix), p, begin});
        }
    }
    result.prefixes = longest == 2;
    return result;
}

}  // namespace

QString indexQuery(const QString& pattern) {
    const Terms terms = termsOf(pattern);
    return pathIndexQuery(terms.terms, terms.prefixes);
}

std::optional<RoutedSelect> route(const PathSearch& search, sqlite3* db) {
    Terms terms = termsOf(search.pattern);
    if (terms.terms.empty()) return std::nullopt;
    // One disc: its few thousand rows are read faster through the DiskName index than a list of
    // two-character prefixes over all discs is put together.
    if (terms.prefixes && search.diskName) return std::nullopt;
    // FTS5 looks for the next row that has all trigrams asked for without regard to the rowid range, so
    // past the disc's last match it would walk on through the lists; one trigram alone stops at the range's
    // end. Within one disc the rarest trigram leaves few candidates anyway.
    const size_t wanted = search.diskName ? 1 : kTrigramsAsked;
    if (!terms.prefixes && terms.terms.size() > wanted) {
        PathIndexStatistics statistics(db, search.diskName);
        terms.terms = TrigramPlanner(statistics).choose(terms.terms, wanted);
    }

    // CROSS JOIN keeps the index as the outer loop, so rows come in its rowid order and the limit stops
    // the walk early; the LIKE here is the catalogue's own, the same that the plain statement runs.
    QString sql = QStringLiteral(
        "SELECT b._rowid_, b.* FROM BankListPaths AS p CROSS JOIN BankList AS b ON b._rowid_ = p.rowid "
        "WHERE p.BankListPaths MATCH ?1 AND b.FilePath LIKE ?2");
    RoutedSelect routed;
    routed.bindings = {pathIndexQuery(terms.terms, terms.prefixes), search.pattern};
    if (search.diskName) {
        // A disc's rows are added together and so lie in one rowid range; bounding the index walk by it
        // skips the matches on every other disc. The DiskName test alone decides which rows belong.
        sql += kPathIndexDiscRange + QStringLiteral(" AND b.DiskName = ?3");
        routed.bindings.push_back(*search.diskName);
    }
    // The rows not indexed yet all lie above those the index covers, so reading them from the table after
    // the index's matches keeps the rowid order.
    sql += QStringLiteral(
        " UNION ALL SELECT b._rowid_, b.* FROM BankList AS b WHERE b._rowid_ > (SELECT IndexedUpTo FROM "
        "SearchIndexCoverage) AND b.FilePath LIKE ?2");
    if (search.diskName) sql += QStringLiteral(" AND b.DiskName = ?3");
    sql += QStringLiteral(" LIMIT %1;").arg(search.limit);
    routed.sql = sql;
    return routed;
}

}  // namespace PathSearchRouter
}  // namespace vt
