#include "SearchBench.h"

#include <sqlite3.h>
#include <time.h>

#include <algorithm>
#include <stdexcept>

#include "catalog/Connection.h"
#include "catalog/Recordset.h"
#include "catalog/SearchIndex.h"
#include "catalog/SqliteStatement.h"

namespace vt::bench {

namespace {

struct Statement {
    Statement(sqlite3* db, const char* sql) {
        if (sqlite3_prepare_v2(db, sql, -1, &stmt, nullptr) != SQLITE_OK)
            throw std::runtime_error(sqlite3_errmsg(db));
    }
    ~Statement() { sqlite3_finalize(stmt); }
    void text(int index, const QString& value) {
        const QByteArray utf8 = value.toUtf8();
        sqlite3_bind_text(stmt, index, utf8.constData(), int(utf8.size()), SQLITE_TRANSIENT);
    }
    sqlite3_stmt* stmt = nullptr;
};

qint64 nowNs(clockid_t clock) {
    timespec t{};
    clock_gettime(clock, &t);
    return qint64(t.tv_sec) * 1000000000 + t.tv_nsec;
}

}  // namespace

Stopwatch::Stopwatch() : wallNs_(nowNs(CLOCK_MONOTONIC)), cpuNs_(nowNs(CLOCK_PROCESS_CPUTIME_ID)) {}

Duration Stopwatch::elapsed() const {
    return {double(nowNs(CLOCK_MONOTONIC) - wallNs_) / 1e6,
            double(nowNs(CLOCK_PROCESS_CPUTIME_ID) - cpuNs_) / 1e6};
}

Duration median(std::vector<Duration> values) {
    std::vector<double> wall, cpu;
    for (const Duration& d : values) {
        wall.push_back(d.wallMs);
        cpu.push_back(d.cpuMs);
    }
    std::sort(wall.begin(), wall.end());
    std::sort(cpu.begin(), cpu.end());
    return {wall[wall.size() / 2], cpu[cpu.size() / 2]};
}

Timing SearchBench::search(const QString& statement, bool indexed, int runs) {
    connection_.setIndexedSearch(indexed);
    std::vector<Duration> times;
    long rows = 0;
    for (int run = 0; run <= runs; ++run) {
        const Stopwatch stopwatch;
        Recordset recordset;
        recordset.Open(statement, connection_);
        rows = recordset.RecordCount();
        if (rows > 0) {
            recordset.MoveFirst();
            for (long i = 0; i < rows; ++i) {
                const QString path = recordset.Fields(2).Value().toString();
                const QString disc = recordset.Fields(0).Value().toString();
                const QString size = QString::number(recordset.Fields(3).Value().toLongLong());
                recordset.MoveNext();
            }
        }
        recordset.Close();
        if (run > 0) times.push_back(stopwatch.elapsed());
    }
    connection_.setIndexedSearch(true);
    return {median(times), rows};
}

Duration SearchBench::addDisc(sqlite3* db, const QString& name, const std::vector<FileRow>& files) {
    executeSql(db,
               "CREATE TEMP TABLE IF NOT EXISTS Staging (DiskName TEXT, FileName TEXT, FilePath TEXT, "
               "FileSize REAL, FileAttr TEXT); DELETE FROM temp.Staging;");
    {
        Statement stage(db, "INSERT INTO temp.Staging VALUES (?1, ?2, ?3, ?4, 'ArchiveNormalReadOnly')");
        for (const FileRow& row : files) {
            stage.text(1, name);
            stage.text(2, row.fileName);
            stage.text(3, row.filePath);
            sqlite3_bind_double(stage.stmt, 4, row.size);
            sqlite3_step(stage.stmt);
            sqlite3_reset(stage.stmt);
        }
    }
    const Stopwatch stopwatch;
    executeSql(db,
               "BEGIN IMMEDIATE; INSERT INTO BankList(DiskName, FileName, FilePath, FileSize, FileAttr) "
               "SELECT * FROM temp.Staging;");
    Statement disk(db,
                   "INSERT INTO Disks(DiskName, SerialNo, DiskSize, FileCount) VALUES (?1, '12345', "
                   "'654,311,424 bytes', ?2)");
    disk.text(1, name);
    sqlite3_bind_int(disk.stmt, 2, int(files.size()));
    sqlite3_step(disk.stmt);
    executeSql(db, "COMMIT;");
    const Duration took = stopwatch.elapsed();
    executeSql(db, "DELETE FROM temp.Staging;");
    return took;
}

Duration SearchBench::removeDisc(sqlite3* db, const QString& name) {
    const Stopwatch stopwatch;
    executeSql(db, "BEGIN IMMEDIATE;");
    std::vector<sqlite3_int64> rowids;
    {
        Statement rows(db, "SELECT _rowid_, * FROM BankList WHERE (DiskName = ?1)");
        rows.text(1, name);
        while (sqlite3_step(rows.stmt) == SQLITE_ROW) rowids.push_back(sqlite3_column_int64(rows.stmt, 0));
    }
    {
        Statement remove(db, "DELETE FROM BankList WHERE _rowid_ = ?1");
        for (sqlite3_int64 rowid : rowids) {
            sqlite3_bind_int64(remove.stmt, 1, rowid);
            if (sqlite3_step(remove.stmt) != SQLITE_DONE) throw std::runtime_error(sqlite3_errmsg(db));
            sqlite3_reset(remove.stmt);
        }
        Statement disk(db, "DELETE FROM Disks WHERE DiskName = ?1");
        disk.text(1, name);
        sqlite3_step(disk.stmt);
    }
    executeSql(db, "COMMIT;");
    return stopwatch.elapsed();
}

Duration SearchBench::mergeUntilDone() {
    const Stopwatch stopwatch;
    while (SearchIndex::merge(connection_.handle(), 200)) {
    }
    return stopwatch.elapsed();
}

}  // namespace vt::bench
