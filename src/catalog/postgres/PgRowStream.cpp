#include "catalog/postgres/PgRowStream.h"

#include <atomic>

#include "catalog/CatalogError.h"
#include "catalog/postgres/PgConnection.h"

namespace vt {

namespace {

// Rows fetched per round trip: few enough to keep memory small, many enough that the trips do not count.
constexpr int kBatch = 5000;

QString freshCursorName() {
    static std::atomic<qulonglong> next{0};
    return QStringLiteral("vt_rows_%1").arg(++next);
}

}  // namespace

PgRowStream::PgRowStream(PgConnection& db, const QString& sql, const std::vector<QVariant>& parameters)
    : db_(db), name_(freshCursorName()) {
    if (!db_.inTransaction()) {
        db_.execScript("BEGIN READ ONLY;");
        ownTransaction_ = true;
    }
    try {
        db_.exec(QStringLiteral("DECLARE %1 NO SCROLL CURSOR FOR %2").arg(name_, sql), parameters);
        open_ = true;
    } catch (const CatalogError&) {
        if (ownTransaction_) db_.rollback();
        throw;
    }
}

PgRowStream::~PgRowStream() {
    try {
        if (ownTransaction_) {
            db_.rollback();  // only read: nothing to keep, and it closes the cursor
        } else if (db_.inTransaction()) {
            db_.exec(QStringLiteral("CLOSE %1").arg(name_));
        }
    } catch (const CatalogError&) {
        // A failed transaction has dropped the cursor already; the caller's rollback ends the rest.
    }
}

bool PgRowStream::next() {
    if (batch_ && ++row_ < batch_->rowCount()) return true;
    // A batch short of full was the last: no round trip to hear that nothing follows.
    if (!open_ || (batch_ && batch_->rowCount() < kBatch)) {
        open_ = false;
        return false;
    }
    batch_ = db_.exec(QStringLiteral("FETCH FORWARD %1 FROM %2").arg(kBatch).arg(name_));
    row_ = 0;
    if (batch_->rowCount() > 0) return true;
    open_ = false;
    return false;
}

}  // namespace vt
