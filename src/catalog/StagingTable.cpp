#include "catalog/StagingTable.h"

#include <QElapsedTimer>
#include <algorithm>

#include "catalog/CatalogError.h"
#include "catalog/Connection.h"
#include "catalog/SqliteStatement.h"

namespace vt {

namespace {

QString quotedName(const QString& name) {
    QString q = name;
    q.replace(QLatin1Char('"'), QStringLiteral("\"\""));
    return QLatin1Char('"') + q + QLatin1Char('"');
}

}  // namespace

StagingTable::StagingTable(Connection& connection, const QString& target)
    : connection_(connection),
      target_(target),
      // Unique among the live staging tables of the process: each has its own address.
      name_(QStringLiteral("vt_staging_%1_%2").arg(target).arg(quintptr(this), 0, 16)) {
    // A table of this name can only be the leftover of an object that could not drop it.
    connection_.Execute(QStringLiteral("DROP TABLE IF EXISTS temp.%1;"
                                       "CREATE TEMP TABLE %1 AS SELECT * FROM main.%2 WHERE 0;")
                            .arg(quotedName(name_), quotedName(target_)));
}

StagingTable::~StagingTable() {
    try {
        connection_.Execute(QStringLiteral("DROP TABLE IF EXISTS temp.%1;").arg(quotedName(name_)));
    } catch (const CatalogError&) {
        // The table goes with the connection at the latest.
    }
}

void StagingTable::publish(const std::function<void(long done, long total)>& betweenChunks, int sliceMs) {
    // Rows are only ever appended to the staging table, so their row ids run from 1 without gaps.
    SqliteStatement count(connection_.handle(),
                          QStringLiteral("SELECT max(_rowid_) FROM temp.%1;").arg(quotedName(name_)));
    const long total = count.step() ? long(count.column(0).toLongLong()) : 0;
    SqliteStatement chunk(
        connection_.handle(),
        QStringLiteral("INSERT INTO main.%1 SELECT * FROM temp.%2 WHERE _rowid_ BETWEEN ?1 AND ?2 "
                       "ORDER BY _rowid_;")
            .arg(quotedName(target_), quotedName(name_)));
    // Each statement leaves the target's full-text index a segment to merge later; a thousand rows take
    // about as long as a time slice.
    constexpr long kChunkRows = 1024;
    QElapsedTimer slice;
    slice.start();
    for (long first = 1; first <= total; first += kChunkRows) {
        chunk.reset();
        chunk.bind(1, qlonglong(first));
        chunk.bind(2, qlonglong(first + kChunkRows - 1));
        chunk.step();
        if (betweenChunks && slice.elapsed() >= sliceMs) {
            betweenChunks(std::min(total, first + kChunkRows - 1), total);
            slice.restart();
        }
    }
}

}  // namespace vt
