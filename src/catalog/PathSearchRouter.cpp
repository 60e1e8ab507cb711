#include "catalog/PathSearchRouter.h"

#include <algorithm>
#include <map>
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
// Candidates expected that are few enough not to look for further trigrams.
constexpr qint64 kEnoughCandidates = 2000;
// The distance given to trigrams of different pieces.
constexpr size_t kFar = 16;
// Entries read per trigram to tell how common it is: where its last one lies tells how densely it occurs.
constexpr qint64 kProbeEntries = 200;
// Rows of the rarest trigram in the stretch where further trigrams are tried with it.
constexpr qint64 kWindowEntries = 500;
// Places where a trigram's list is sampled to tell its length, and entries read at each.
constexpr qint64 kSamples = 4;
constexpr qint64 kSampleEntries = 50;
// What a candidate row costs (its read and its `like`, about 1.5 us) in steps along a list (about 40 ns).
constexpr double kCandidateCostInEntries = 37;
// Terms of one stretch of the pattern tried with the chosen ones, the most promising first.
constexpr size_t kTriedPerStretch = 3;

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
// while the candidates expected are many, the one far from those chosen that narrows them most for what
// it costs; `wanted` at most. A trigram no row has is enough alone: nothing can match.
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
    std::vector<Term> chosen = {terms[estimated.front().second]};
    if (wanted == 1 || rarestCount <= kEnoughCandidates) return chosen;

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
    // Trigrams of one word mostly come together (every "dow" of a path is in "windows"), and a trigram's
    // first rows tell its density only roughly, so further trigrams are chosen by counting, over a stretch
    // of the table where the rarest has some hundreds of rows, the rows each lists and the rows that hold
    // all the trigrams asked for.
    qint64 window = rows;
    {
        SqliteStatement windowEnd(
            db, QStringLiteral("SELECT rowid FROM BankListPaths WHERE BankListPaths MATCH ?1 "
                               "LIMIT 1 OFFSET %1")
                    .arg(kWindowEntries - 1));
        windowEnd.bind(1, queryOf(chosen, false));
        if (windowEnd.step()) window = std::max<qint64>(1, windowEnd.column(0).toLongLong() - first + 1);
    }
    SqliteStatement inWindow(db,
                             QStringLiteral("SELECT count(*) FROM BankListPaths WHERE BankListPaths MATCH ?1 "
                                            "AND rowid >= ?2 AND rowid < ?3"));
    const auto countInWindow = [&](const std::vector<Term>& asked) {
        inWindow.reset();
        inWindow.bind(1, queryOf(asked, false));
        inWindow.bind(2, first);
        inWindow.bind(3, first + window);
        inWindow.step();
        return inWindow.column(0).toLongLong();
    };
    // How many rows a term's list holds, from a few entries read at several places (a disc's rows lie
    // together, so trigrams are denser in some stretches of the table than in others).
    SqliteStatement sample(
        db, QStringLiteral("SELECT count(*), max(rowid) FROM (SELECT rowid FROM BankListPaths "
                           "WHERE BankListPaths MATCH ?1 AND rowid >= ?2 AND rowid < ?3 LIMIT %1)")
                .arg(kSampleEntries));
    const auto listLength = [&](const Term& term) {
        const qint64 part = std::max<qint64>(1, rows / kSamples);
        double length = 0;
        for (qint64 k = 0; k < kSamples; ++k) {
            const qint64 from = first + k * part;
            sample.reset();
            sample.bind(1, queryString(term.token, false));
            sample.bind(2, from);
            sample.bind(3, from + part);
            sample.step();
            const qint64 count = sample.column(0).toLongLong();
            const qint64 reached = count < kSampleEntries ? part : sample.column(1).toLongLong() - from + 1;
            length += double(count) * double(part) / double(std::max<qint64>(1, reached));
        }
        return length;
    };
    // Which stretch of the pattern a term lies in, seen from the chosen ones: its piece, and whether it lies
    // before the nearest chosen term of that piece or after it. Words run both ways from a chosen trigram,
    // so the best of each stretch are worth trying; the others of a stretch mostly share their words.
    const auto stretchOf = [&](const Term& term) {
        const Term* nearest = nullptr;
        const auto apart = [&](const Term& t) {
            return std::max(t.start, term.start) - std::min(t.start, term.start);
        };
        for (const Term& c : chosen) {
            if (c.piece == term.piece && (!nearest || apart(c) < apart(*nearest))) nearest = &c;
        }
        return std::make_pair(term.piece, nearest ? int(term.start > nearest->start) : -1);
    };
    qint64 candidates = countInWindow(chosen);  // within the window, as all counts below
    while (chosen.size() < wanted && candidates * rows / window > kEnoughCandidates) {
        // The most promising terms of each stretch: rare, and far from the chosen ones.
        std::map<std::pair<size_t, int>, std::vector<std::pair<double, size_t>>> promising;  // score, term
        for (const auto& [count, index] : estimated) {
            const Term& term = terms[index];
            const size_t apart = distance(term);
            // Neighbouring trigrams share characters and narrow little together; a trigram whose list is
            // longer than what all the candidates cost cannot pay for itself.
            if (apart < 3 || double(count) >= double(candidates * rows / window) * kCandidateCostInEntries)
                continue;
            promising[stretchOf(term)].emplace_back(double(count) / double(apart), index);
        }
        // What a search costs in steps along the lists, a candidate row (its read and its `like`) counting
        // as kCandidateCostInEntries steps. Asking for one more trigram adds its list.
        const Term* best = nullptr;
        qint64 bestCandidates = candidates;
        double bestCost = double(candidates) * kCandidateCostInEntries;
        for (auto& [stretch, scored] : promising) {
            std::sort(scored.begin(), scored.end());
            for (size_t k = 0; k < std::min(scored.size(), kTriedPerStretch); ++k) {
                const Term& term = terms[scored[k].second];
                std::vector<Term> asked = chosen;
                asked.push_back(term);
                const qint64 left = countInWindow(asked);
                if (double(left) * kCandidateCostInEntries >= bestCost) continue;
                const double cost =
                    listLength(term) * double(window) / double(rows) + double(left) * kCandidateCostInEntries;
                if (cost < bestCost) {
                    best = &term;
                    bestCandidates = left;
                    bestCost = cost;
                }
            }
        }
        if (!best) break;
        chosen.push_back(*best);
        candidates = bestCandidates;
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
