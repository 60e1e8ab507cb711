#include "catalog/PathIndexStatistics.h"

#include <algorithm>

#include "catalog/PathIndexQuery.h"
#include "catalog/SqliteStatement.h"

namespace vt {

namespace {

// Entries read per trigram to tell how common it is: where its last one lies tells how densely it occurs.
constexpr qint64 kProbeEntries = 200;
// Rows of a trigram in the stretch where further trigrams are tried with it.
constexpr qint64 kWindowEntries = 500;
// Places where a trigram's list is sampled to tell its length, and entries read at each.
constexpr qint64 kSamples = 4;
constexpr qint64 kSampleEntries = 50;

}  // namespace

PathIndexStatistics::PathIndexStatistics(sqlite3* db, std::optional<QString> disc)
    : db_(db), disc_(std::move(disc)) {
    SqliteStatement span(
        db_, disc_ ? QStringLiteral("SELECT (SELECT min(_rowid_) FROM BankList WHERE DiskName = ?1), "
                                    "(SELECT max(_rowid_) FROM BankList WHERE DiskName = ?1)")
                   : QStringLiteral("SELECT (SELECT min(_rowid_) FROM BankList), "
                                    "(SELECT max(_rowid_) FROM BankList)"));
    if (disc_) span.bind(1, *disc_);
    span.step();
    first_ = span.column(0).toLongLong();
    rows_ = span.column(1).toLongLong() - first_ + 1;
}

PathIndexStatistics::~PathIndexStatistics() = default;

qint64 PathIndexStatistics::estimatedRows(const IndexTerm& term) {
    if (!probe_) {
        probe_ = std::make_unique<SqliteStatement>(
            db_, QStringLiteral("SELECT count(*), max(rowid) FROM (SELECT p.rowid FROM BankListPaths "
                                "AS p WHERE p.BankListPaths MATCH ?1%1 LIMIT %2)")
                     .arg(disc_ ? kPathIndexDiscRange : QString())
                     .arg(kProbeEntries));
    }
    probe_->reset();
    probe_->bind(1, pathIndexQuery(term.token, false));
    if (disc_) probe_->bind(3, *disc_);
    probe_->step();
    const qint64 count = probe_->column(0).toLongLong();
    if (count < kProbeEntries) return count;
    const qint64 reached = std::max<qint64>(1, probe_->column(1).toLongLong() - first_ + 1);
    return count * rows_ / reached;
}

qint64 PathIndexStatistics::windowFor(const IndexTerm& term) {
    SqliteStatement windowEnd(db_,
                              QStringLiteral("SELECT rowid FROM BankListPaths WHERE BankListPaths MATCH ?1 "
                                             "LIMIT 1 OFFSET %1")
                                  .arg(kWindowEntries - 1));
    windowEnd.bind(1, pathIndexQuery(term.token, false));
    if (!windowEnd.step()) return rows_;
    return std::max<qint64>(1, windowEnd.column(0).toLongLong() - first_ + 1);
}

qint64 PathIndexStatistics::rowsWithAll(const std::vector<IndexTerm>& terms, qint64 window) {
    if (!inWindow_) {
        inWindow_ = std::make_unique<SqliteStatement>(
            db_, QStringLiteral("SELECT count(*) FROM BankListPaths WHERE BankListPaths MATCH ?1 "
                                "AND rowid >= ?2 AND rowid < ?3"));
    }
    inWindow_->reset();
    inWindow_->bind(1, pathIndexQuery(terms, false));
    inWindow_->bind(2, first_);
    inWindow_->bind(3, first_ + window);
    inWindow_->step();
    return inWindow_->column(0).toLongLong();
}

double PathIndexStatistics::listLength(const IndexTerm& term) {
    // A disc's rows lie together, so trigrams are denser in some stretches of the table than in others:
    // the list is sampled at several places.
    if (!sample_) {
        sample_ = std::make_unique<SqliteStatement>(
            db_, QStringLiteral("SELECT count(*), max(rowid) FROM (SELECT rowid FROM BankListPaths "
                                "WHERE BankListPaths MATCH ?1 AND rowid >= ?2 AND rowid < ?3 LIMIT %1)")
                     .arg(kSampleEntries));
    }
    const qint64 part = std::max<qint64>(1, rows_ / kSamples);
    double length = 0;
    for (qint64 k = 0; k < kSamples; ++k) {
        const qint64 from = first_ + k * part;
        sample_->reset();
        sample_->bind(1, pathIndexQuery(term.token, false));
        sample_->bind(2, from);
        sample_->bind(3, from + part);
        sample_->step();
        const qint64 count = sample_->column(0).toLongLong();
        const qint64 reached = count < kSampleEntries ? part : sample_->column(1).toLongLong() - from + 1;
        length += double(count) * double(part) / double(std::max<qint64>(1, reached));
    }
    return length;
}

}  // namespace vt
