#pragma once

#include <QElapsedTimer>
#include <QString>
#include <utility>
#include <vector>

namespace vt {

class PgConnection;

// What the server's statistics say of a server catalogue's folded paths: a sample of them (the histogram's
// bounds), the most common ones with their shares, and how many rows there are. With them the program
// tells, before a search by part of a path goes out, whether few rows will match it, as the server's
// planner would tell it from the same figures: then the search can run on a plan made once (see
// PgConnection::execOnGenericPlan) instead of being planned every time.
class PgPathStatistics {
  public:
    // Reads the figures from `server` when they were never read or are a minute old: the server renews
    // them as the catalogue changes (autovacuum's ANALYZE). Throws CatalogError.
    void refresh(PgConnection& server);

    // Whether the search for `foldedPattern` (a `like` pattern, folded) up to `limit` rows is served better
    // through the path index (few rows match: fetching them costs less than reading rows in order until
    // `limit` have matched) and the index can narrow it down (the pattern has a trigram). False without
    // figures: a catalogue not yet analysed leaves the choice to the server.
    bool favoursPathIndex(const QString& foldedPattern, long limit) const;

  private:
    // Whether the server's trigrams could be taken from `foldedPattern`: a run of three word characters
    // between its wildcards.
    bool hasTrigram(const QString& foldedPattern) const;

    QElapsedTimer readAt_;
    double rows_ = 0;
    double nullShare_ = 0;
    std::vector<QByteArray> bounds_;                     // UTF-8, as the matcher takes them
    std::vector<std::pair<QByteArray, double>> common_;  // value, share of the rows
    bool lettersBeyondAsciiAreWords_ = false;            // as the database's character classes say
};

}  // namespace vt
