#include "catalog/PathSearchRouter.h"

#include <algorithm>
#include <set>
#include <string>

#include "catalog/FoldingTrigramTokenizer.h"
#include "catalog/PathSearch.h"
#include "catalog/SqliteStatement.h"
#include "catalog/TextMatch.h"

namespace vt {
namespace PathSearchRouter {

namespace {

// Trigrams asked for at most in a search of all discs.
constexpr size_t kTrigramsAsked = 5;
// Every candidate the trigrams asked for let through costs a row read and a `like` (about 1.5 us), while
// asking for one more costs a step along its list (about 40 ns an entry). So further trigrams are asked
// for while the candidates expected are many, and only those at most this much more common than the
// rarest.
constexpr qint64 kEnoughCandidates = 2000;
constexpr qint64 kCommonerAtMost = 32;
// The distance given to trigrams of different pieces.
constexpr size_t kFar = 16;
// Entries read per trigram to tell how common it is: where its last one lies tells how densely it occurs.
constexpr qint64 kProbeEntries = 200;

bool isWildcard(char32_t c) {
    return c == U'%' || c == U'_';
}

// An index term of a pattern: a trigram, or two characters that a token must begin with. `start` and
// `piece` place it in the pattern.
struct Term {
    std::string token;
    size_t piece = 0;
    size_t start = 0;
};

struct Terms {
    std::vector<Term> terms;  // distinct tokens, in the order of the pattern
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

// One term as an index query string: between double quotes, each double quote written twice, and a '*'
// after a prefix.
QString queryString(const std::string& token, bool prefix) {
    QString text = QString::fromUtf8(token.data(), qsizetype(token.size()));
    text.replace(QLatin1Char('"'), QStringLiteral("\"\""));
    return QLatin1Char('"') + text + QLatin1Char('"') + (prefix ? QStringLiteral("*") : QString());
}

QString queryOf(const std::vector<Term>& terms, bool prefixes) {
    QString query;
    for (const Term& term : terms) {
        if (!query.isEmpty()) query += QLatin1String(" AND ");
        query += queryString(term.token, prefixes);
    }
    return query;
}

const QString kDiscRange = QStringLiteral(
    " AND p.rowid >= (SELECT min(_rowid_) FROM BankList WHERE DiskName = ?3)"
    " AND p.rowid <= (SELECT max(_rowid_) FROM BankList WHERE DiskName = ?3)");

// The trigrams among `terms` to ask for within the rows searched (one disc's, or all): the rarest, then,
// while the candidates expected (taking the trigrams as independent) are many, others that are rare and
// far from those chosen; `wanted` at most. A trigram no row has is enough alone: nothing can match.
std::vector<Term> rarest(sqlite3* db, const std::vector<Term>& terms, const std::optional<QString>& disc,
                         size_t wanted) {
    SqliteStatement span(
        db, disc ? QStringLiteral("SELECT (SELECT min(_rowid_) FROM BankList WHERE DiskName = ?1), "
                                  "(SELECT max(_rowid_) FROM BankList WHERE DiskName = ?1)")
                 : QStringLiteral("SELECT (SELECT min(_rowid_) FROM BankList), "
                                  "(SELECT max(_rowid_) FROM BankList)"));
    if (disc) span.bind(1, *disc);
    span.step();
    const qint64 first = span.column(0).toLongLong();
    const qint64 rows = span.column(1).toLongLong() - first + 1;

    SqliteStatement probe(
        db, QStringLiteral("SELECT count(*), max(rowid) FROM (SELECT p.rowid FROM BankListPaths "
                           "AS p WHERE p.BankListPaths MATCH ?1%1 LIMIT %2)")
                .arg(disc ? kDiscRange : QString())
                .arg(kProbeEntries));
    std::vector<std::pair<qint64, size_t>> estimated;  // rows holding the trigram, about; term index
    for (size_t i = 0; i < terms.size(); ++i) {
        probe.reset();
        probe.bind(1, queryString(terms[i].token, false));
        if (disc) probe.bind(3, *disc);
        probe.step();
        const qint64 count = probe.column(0).toLongLong();
        if (count == 0) return {terms[i]};
        const qint64 reached = std::max<qint64>(1, probe.column(1).toLongLong() - first + 1);
        estimated.emplace_back(count < kProbeEntries ? count : count * rows / reached, i);
    }
    std::stable_sort(estimated.begin(), estimated.end(),
                     [](const auto& a, const auto& b) { return a.first < b.first; });
    const qint64 rarestCount = estimated.front().first;
    double candidates = double(rarestCount);
    std::vector<Term> chosen = {terms[estimated.front().second]};
    // How far a term lies from the nearest chosen one, in characters; trigrams of other pieces count as far.
    const auto distance = [&](const Term& term) {
        size_t nearest = kFar;
        for (const Term& c : chosen) {
            if (c.piece == term.piece) {
                nearest = std::min(nearest, std::max(c.start, term.start) - std::min(c.start, term.start));
            }
        }
        return nearest;
    };
    while (chosen.size() < wanted && candidates > kEnoughCandidates) {
        // Neighbouring trigrams mostly come from the same word and narrow little together: the best next
        // one is rare and far from those chosen.
        const std::pair<qint64, size_t>* best = nullptr;
        double bestScore = 0;
        for (const auto& entry : estimated) {
            const size_t apart = distance(terms[entry.second]);
            if (apart < 3 || entry.first > rarestCount * kCommonerAtMost) continue;
            const double score = double(entry.first) / double(apart);
            if (!best || score < bestScore) {
                best = &entry;
                bestScore = score;
            }
        }
        if (!best) break;
        candidates *= double(best->first) / double(std::max<qint64>(rows, 1));
        chosen.push_back(terms[best->second]);
    }
    return chosen;
}

}  // namespace

QString indexQuery(const QString& pattern) {
    const Terms terms = termsOf(pattern);
    return queryOf(terms.terms, terms.prefixes);
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
    if (!terms.prefixes && terms.terms.size() > wanted)
        terms.terms = rarest(db, terms.terms, search.diskName, wanted);

    // CROSS JOIN keeps the index as the outer loop, so rows come in its rowid order and the limit stops
    // the walk early; the LIKE here is the catalogue's own, the same that the plain statement runs.
    QString sql = QStringLiteral(
        "SELECT b._rowid_, b.* FROM BankListPaths AS p CROSS JOIN BankList AS b ON b._rowid_ = p.rowid "
        "WHERE p.BankListPaths MATCH ?1 AND b.FilePath LIKE ?2");
    RoutedSelect routed;
    routed.bindings = {queryOf(terms.terms, terms.prefixes), search.pattern};
    if (search.diskName) {
        // A disc's rows are added together and so lie in one rowid range; bounding the index walk by it
        // skips the matches on every other disc. The DiskName test alone decides which rows belong.
        sql += kDiscRange + QStringLiteral(" AND b.DiskName = ?3");
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
