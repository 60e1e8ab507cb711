// Measures searching through the path index against scanning the table, on one seeded catalogue in one
// run, and what the index costs: size, the build on first open, adding and removing a disc.
//
//   bench_search_index [rows] [work folder] [runs]
//
// rows defaults to 1,000,000 (5,000 files per disc); the catalogues are kept in the work folder (default
// /tmp/vt-bench-search-index) so that a second run skips generating them.

#include <sqlite3.h>

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <cstdio>

#include "SearchBench.h"
#include "SyntheticCatalogue.h"
#include "catalog/Connection.h"
#include "catalog/ConnectionString.h"
#include "catalog/Statements.h"

using namespace vt;
using namespace vt::bench;

namespace {

constexpr int kFilesPerDisc = 5000;

double megabytes(const QString& path) {
    return double(QFileInfo(path).size() + QFileInfo(path + QStringLiteral("-wal")).size()) / 1e6;
}

QString firstValue(sqlite3* db, const char* sql) {
    sqlite3_stmt* statement = nullptr;
    QString value;
    if (sqlite3_prepare_v2(db, sql, -1, &statement, nullptr) == SQLITE_OK &&
        sqlite3_step(statement) == SQLITE_ROW) {
        value = QString::fromUtf8(reinterpret_cast<const char*>(sqlite3_column_text(statement, 0)));
    }
    sqlite3_finalize(statement);
    return value;
}

void printSearch(SearchBench& bench, const char* label, const QString& statement, int runs, int plainRuns,
                 double targetMs) {
    const Timing indexed = bench.search(statement, true, runs);
    const Timing plain = bench.search(statement, false, plainRuns);
    std::printf("%-34s %6ld %9.2f %8.2f %9.2f %8.2f %8.1fx %7.0f%s\n", label, indexed.rows,
                indexed.median.wallMs, indexed.median.cpuMs, plain.median.wallMs, plain.median.cpuMs,
                plain.median.cpuMs / indexed.median.cpuMs, targetMs,
                indexed.rows != plain.rows ? "   ROW COUNTS DIFFER" : "");
    std::fflush(stdout);
}

}  // namespace

int main(int argc, char** argv) {
    QCoreApplication application(argc, argv);
    const long rows = argc > 1 ? std::atol(argv[1]) : 1000000;
    const QString folder =
        argc > 2 ? QString::fromLocal8Bit(argv[2]) : QStringLiteral("/tmp/vt-bench-search-index");
    const int runs = argc > 3 ? std::atoi(argv[3]) : 21;
    const int discs = int(std::max(1L, rows / kFilesPerDisc));
    const int plainRuns = rows > 2000000 ? 5 : runs;
    QDir().mkpath(folder);

    const QString version1 = QStringLiteral("%1/version1-%2.db").arg(folder).arg(rows);
    if (!QFileInfo::exists(version1)) {
        const Stopwatch timer;
        SyntheticCatalogue(20240917).writeVersion1(version1 + QStringLiteral(".part"), discs, kFilesPerDisc);
        QFile::rename(version1 + QStringLiteral(".part"), version1);
        std::fprintf(stderr, "generated %s in %.1f s\n", qPrintable(version1), timer.elapsed().wallMs / 1000);
    }

    const QString programFolder = QStringLiteral("%1/indexed-%2").arg(folder).arg(rows);
    QDir(programFolder).removeRecursively();
    QDir().mkpath(programFolder);
    const QString catalogue = programFolder + QStringLiteral("/Mydb.mdb");
    QFile::copy(version1, catalogue);
    const QString plainCopy = QStringLiteral("%1/plain-%2.db").arg(folder).arg(rows);
    QFile::remove(plainCopy);
    QFile::copy(version1, plainCopy);

    std::printf("catalogue: %ld rows on %d discs of %d files\n", long(discs) * kFilesPerDisc, discs,
                kFilesPerDisc);
    const double sizeWithout = megabytes(catalogue);

    Connection connection;
    const Stopwatch buildTimer;
    int lastTenth = -1;
    openCatalogue(connection, buildConnectionString(programFolder), CatalogueAccess::ReadWrite,
                  [&](qint64 done, qint64 total) {
                      const int tenth = total ? int(done * 10 / total) : 10;
                      if (tenth != lastTenth)
                          std::fprintf(stderr, "  building the index: %d%%\n", tenth * 10);
                      lastTenth = tenth;
                  });
    const Duration build = buildTimer.elapsed();
    sqlite3* db = connection.handle();
    sqlite3_exec(db, "PRAGMA wal_checkpoint(TRUNCATE);", nullptr, nullptr, nullptr);
    const double sizeWith = megabytes(catalogue);
    std::printf("size without index %.1f MB, with index %.1f MB (+%.0f%%)\n", sizeWithout, sizeWith,
                100.0 * (sizeWith - sizeWithout) / sizeWithout);
    std::printf("index built on first open (migration) in %.1f s (cpu %.1f s)\n\n", build.wallMs / 1000,
                build.cpuMs / 1000);

    SearchBench bench(connection);
    const QString middleDisc = SyntheticCatalogue::discName(discs / 2);
    // A rare term: one file's name without its extension, in other letter case.
    const QString rare = firstValue(db, QStringLiteral("SELECT FileName FROM BankList WHERE rowid = %1")
                                            .arg(rows / 2 + 17)
                                            .toUtf8()
                                            .constData())
                             .section(QLatin1Char('.'), 0, 0)
                             .toLower();
    const QString rareDisc = firstValue(db, QStringLiteral("SELECT DiskName FROM BankList WHERE rowid = %1")
                                                .arg(rows / 2 + 17)
                                                .toUtf8()
                                                .constData());
    std::printf(
        "median ms of %d runs (plain: %d)                 indexed            plain    ratio  target\n", runs,
        plainRuns);
    std::printf("%-34s %6s %9s %8s %9s %8s %9s %7s\n", "search", "rows", "wall", "cpu", "wall", "cpu",
                "(cpu)", "(ms)");
    const auto all = [](const QString& text) { return Statements::search(true, QString(), text); };
    const auto one = [](const QString& disc, const QString& text) {
        return Statements::search(false, disc, text);
    };
    printSearch(bench, "common \"mp3\"", all(QStringLiteral("mp3")), runs, plainRuns, 10);
    printSearch(bench, "common Persian (kaf typed)", all(QStringLiteral("\u06A9\u062A\u0627\u0628")), runs,
                plainRuns, 10);
    printSearch(bench, qPrintable(QStringLiteral("rare \"%1\"").arg(rare)), all(rare), runs, plainRuns, 10);
    printSearch(bench, "missing \"qzxwv\"", all(QStringLiteral("qzxwv")), runs, plainRuns, 10);
    printSearch(bench, "long \"program files\\windows\"", all(QStringLiteral("program files\\windows")), runs,
                plainRuns, 10);
    printSearch(bench, "long \"files\\windows\"", all(QStringLiteral("files\\windows")), runs, plainRuns, 10);
    printSearch(bench, "wildcards \"sea_on%2\\\"", all(QStringLiteral("sea_on%2\\")), runs, plainRuns, 10);
    printSearch(bench, "2 characters common \"ka\"", all(QStringLiteral("ka")), runs, plainRuns, 150);
    printSearch(bench, "2 characters missing \"qz\"", all(QStringLiteral("qz")), runs, plainRuns, 150);
    printSearch(bench, "one disc \"mp3\"", one(middleDisc, QStringLiteral("mp3")), runs, plainRuns, 5);
    printSearch(bench, "one disc rare", one(rareDisc, rare), runs, plainRuns, 5);
    printSearch(bench, "one disc missing \"qzxwv\"", one(middleDisc, QStringLiteral("qzxwv")), runs,
                plainRuns, 5);
    printSearch(bench, "one disc 2 characters \"qz\"", one(middleDisc, QStringLiteral("qz")), runs, plainRuns,
                5);

    // Adding and removing a disc, against the same on a copy without the index.
    sqlite3* plain = nullptr;
    sqlite3_open(QFile::encodeName(plainCopy).constData(), &plain);
    sqlite3_exec(plain, "PRAGMA journal_mode=WAL;", nullptr, nullptr, nullptr);
    SyntheticCatalogue newDiscs(7);
    std::vector<Duration> addIndexed, addPlain, removeIndexed, removePlain;
    for (int i = 0; i < 5; ++i) {
        const std::vector<FileRow> files = newDiscs.disc(kFilesPerDisc);
        const QString name = QStringLiteral("NewDisc%1").arg(i);
        addIndexed.push_back(SearchBench::addDisc(db, name, files));
        addPlain.push_back(SearchBench::addDisc(plain, name, files));
    }
    const Duration merged = bench.mergeUntilDone();
    for (int i = 0; i < 5; ++i) {
        const QString name = QStringLiteral("NewDisc%1").arg(i);
        removeIndexed.push_back(SearchBench::removeDisc(db, name));
        removePlain.push_back(SearchBench::removeDisc(plain, name));
    }
    const Duration mergedAfterRemove = bench.mergeUntilDone();
    sqlite3_close(plain);
    const auto row = [](const char* label, const std::vector<Duration>& indexedTimes,
                        const std::vector<Duration>& plainTimes, double targetMs) {
        const Duration a = median(indexedTimes);
        const Duration b = median(plainTimes);
        std::printf("%-41s %9.1f %8.1f %9.1f %8.1f %8.2fx %7.0f\n", label, a.wallMs, a.cpuMs, b.wallMs,
                    b.cpuMs, a.cpuMs / b.cpuMs, targetMs);
    };
    std::printf("\n%d-file disc, median of 5 (ms)                indexed            plain  ratio  target\n",
                kFilesPerDisc);
    row("add a disc (its transaction)", addIndexed, addPlain, 500);
    row("remove a disc", removeIndexed, removePlain, 50);
    std::printf(
        "idle time after the 5 adds (indexing them, merging): %.0f ms (cpu %.0f), after the 5 removals: %.0f "
        "ms "
        "(cpu %.0f)\n",
        merged.wallMs, merged.cpuMs, mergedAfterRemove.wallMs, mergedAfterRemove.cpuMs);
    return 0;
}
