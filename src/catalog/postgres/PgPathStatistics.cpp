#include "catalog/postgres/PgPathStatistics.h"

#include <algorithm>
#include <string_view>

#include "catalog/TextMatch.h"
#include "catalog/postgres/PgConnection.h"

namespace vt {

namespace {

constexpr qint64 kFreshFor = 60 * 1000;  // ms
// Fewer bounds than this are too small a sample to go by (the server itself then mixes in guesses).
constexpr size_t kFewestBounds = 10;
// What fetching a row found through the path index costs (a page read out of order, the row checked
// again, sorted into rowid order) against testing the next row in rowid order.
constexpr double kFetchCost = 4.0;

// The statistics of BankList.FoldedPath in the schema the catalogue's tables are found in, one figure a
// row: the kind, a value, a share. Whether Persian letters make trigrams depends on the database's
// character classes (a database made with the C locale knows only ASCII letters).
constexpr char kStatistics[] = R"(
WITH paths AS (
  SELECT s.null_frac, s.histogram_bounds, s.most_common_vals, s.most_common_freqs
  FROM pg_stats s
  JOIN pg_namespace n ON n.nspname = s.schemaname
  JOIN pg_class c ON c.relnamespace = n.oid AND c.relname = s.tablename
  WHERE c.oid = 'banklist'::regclass AND s.attname = 'foldedpath' AND NOT s.inherited)
SELECT 'rows', NULL, reltuples::float8 FROM pg_class WHERE oid = 'banklist'::regclass
UNION ALL SELECT 'nulls', NULL, null_frac::float8 FROM paths
UNION ALL SELECT 'bound', b, NULL FROM paths, unnest(histogram_bounds::text::text[]) AS b
UNION ALL SELECT 'common', v, f::float8
  FROM paths, unnest(most_common_vals::text::text[], most_common_freqs) AS m(v, f)
UNION ALL SELECT 'words', NULL, cardinality(show_trgm('%1'))::float8)";

bool isWordCharacter(QChar c, bool lettersBeyondAsciiAreWords) {
    return c.isLetterOrNumber() && (c.unicode() < 0x80 || lettersBeyondAsciiAreWords);
}

}  // namespace

void PgPathStatistics::refresh(PgConnection& server) {
    if (readAt_.isValid() && !readAt_.hasExpired(kFreshFor)) return;
    // A Persian word (ketab), to see whether the database takes such letters for word characters.
    const QString statistics =
        QString::fromLatin1(kStatistics).arg(QStringLiteral("\u06A9\u062A\u0627\u0628"));
    const PgResult figures = server.exec(statistics);
    PgPathStatistics read;
    for (int r = 0; r < figures.rowCount(); ++r) {
        const QString kind = figures.value(r, 0).toString();
        const QVariant value = figures.value(r, 1);
        const double share = figures.value(r, 2).toDouble();
        if (kind == QLatin1String("rows")) {
            read.rows_ = share;
        } else if (kind == QLatin1String("nulls")) {
            read.nullShare_ = share;
        } else if (kind == QLatin1String("bound")) {
            read.bounds_.push_back(value.toString().toUtf8());
        } else if (kind == QLatin1String("common")) {
            read.common_.emplace_back(value.toString().toUtf8(), share);
        } else if (kind == QLatin1String("words")) {
            read.lettersBeyondAsciiAreWords_ = share > 0;
        }
    }
    read.readAt_.start();
    *this = std::move(read);
}

bool PgPathStatistics::hasTrigram(const QString& foldedPattern) const {
    int run = 0;
    for (const QChar c : foldedPattern) {
        run = isWordCharacter(c, lettersBeyondAsciiAreWords_) ? run + 1 : 0;
        if (run == 3) return true;
    }
    return false;
}

bool PgPathStatistics::favoursPathIndex(const QString& foldedPattern, long limit) const {
    if (bounds_.size() < kFewestBounds || rows_ <= 0 || !hasTrigram(foldedPattern)) return false;
    const QByteArray pattern = foldedPattern.toUtf8();
    const LikePattern like(std::string_view(pattern.constData(), size_t(pattern.size())));
    // As the server's planner reckons a `like`: the common values that match, and the share of the
    // histogram's inner bounds that match for the rest of the rows (the first and last are its extremes).
    double commonShare = 0;
    double matchingCommon = 0;
    for (const auto& [value, share] : common_) {
        commonShare += share;
        if (like.matches(std::string_view(value.constData(), size_t(value.size())))) matchingCommon += share;
    }
    const long inner = long(bounds_.size()) - 2;
    const long hits =
        long(std::count_if(bounds_.begin() + 1, bounds_.end() - 1, [&](const QByteArray& bound) {
            return like.matches(std::string_view(bound.constData(), size_t(bound.size())));
        }));
    const double share =
        matchingCommon + double(hits) / double(inner) * std::max(0.0, 1.0 - commonShare - nullShare_);

    const double matching = share * rows_;
    const double readInOrder = share > 0 ? std::min(rows_, double(limit) / share) : rows_;
    return readInOrder > kFetchCost * matching;
}

}  // namespace vt
