#pragma once

#include <QString>
#include <memory>
#include <optional>

#include "catalog/TrigramPlanner.h"

struct sqlite3;

namespace vt {

class SqliteStatement;

// The figures of the trigram planner, read from the path index of the catalogue `db` for the rows of one
// disc (`disc`) or of all discs: a few entries of a trigram's list, read at one or several places, tell how
// densely it occurs. Throws CatalogError.
class PathIndexStatistics final : public TrigramStatistics {
  public:
    PathIndexStatistics(sqlite3* db, std::optional<QString> disc);
    ~PathIndexStatistics() override;
    PathIndexStatistics(const PathIndexStatistics&) = delete;
    PathIndexStatistics& operator=(const PathIndexStatistics&) = delete;

    qint64 rows() override { return rows_; }
    qint64 estimatedRows(const IndexTerm& term) override;
    qint64 windowFor(const IndexTerm& term) override;
    qint64 rowsWithAll(const std::vector<IndexTerm>& terms, qint64 window) override;
    double listLength(const IndexTerm& term) override;

  private:
    sqlite3* db_;
    std::optional<QString> disc_;
    qint64 first_ = 0;  // the first rowid of the rows searched
    qint64 rows_ = 0;
    std::unique_ptr<SqliteStatement> probe_;
    std::unique_ptr<SqliteStatement> inWindow_;
    std::unique_ptr<SqliteStatement> sample_;
};

}  // namespace vt
