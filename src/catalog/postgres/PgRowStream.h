#pragma once

#include <QString>
#include <QVariant>
#include <optional>
#include <vector>

#include "catalog/postgres/PgResult.h"

namespace vt {

class PgConnection;

// The rows of one query read through a server-side cursor a batch at a time, so that a listing of
// millions of rows never sits whole in memory. Outside a transaction the stream opens a read-only one of
// its own (a cursor lives in one), which also gives it one snapshot from first row to last, and ends it
// when the object goes; inside the caller's, it leaves the transaction as it found it. Other statements
// may run on the connection between rows. Throws CatalogError.
class PgRowStream {
  public:
    PgRowStream(PgConnection& db, const QString& sql, const std::vector<QVariant>& parameters);
    ~PgRowStream();
    PgRowStream(const PgRowStream&) = delete;
    PgRowStream& operator=(const PgRowStream&) = delete;

    // Advances to the next row; false after the last.
    bool next();
    QVariant value(int column) const { return batch_->value(row_, column); }
    int columnCount() const { return batch_->columnCount(); }

  private:
    PgConnection& db_;
    QString name_;
    bool ownTransaction_ = false;
    bool open_ = false;
    std::optional<PgResult> batch_;
    int row_ = -1;
};

}  // namespace vt
