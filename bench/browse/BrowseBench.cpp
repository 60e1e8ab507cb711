// Times the disc browser on large discs: opening a disc of 100,000 and one of 1,000,000 files (from the
// request to the painted window: facts, the root's subfolders, the root's files) and listing a folder of
// 50,000 files (from choosing it in the tree to the painted, sorted list), against the targets of 2 s and
// 0.3 s, in one run over one catalogue. Memory: the resident size each step adds, per file, and the peak.
#include <sys/resource.h>

#include <QApplication>
#include <QElapsedTimer>
#include <QFile>
#include <QTreeView>
#include <algorithm>
#include <cstdio>
#include <vector>

#include "catalog/ConnectionString.h"
#include "catalog/SearchIndex.h"
#include "search/FolderFilesModel.h"
#include "search/FolderTreeModel.h"
#include "search/frmBrowse.h"
#include "support/TestPlatform.h"
#include "window/AppContext.h"

namespace vt {
namespace {

constexpr double kOpenTarget = 2.0;
constexpr double kListTarget = 0.3;
const QString kSmallDisc = QStringLiteral("Disc100k");
const QString kLargeDisc = QStringLiteral("Disc1M");
const QString kLargeFolder = QStringLiteral("D:\\Scans\\");

// Files in folders of 50 under sets of 100 under top folders, as a scan writes them; the large disc also
// has one folder of 50,000 files.
void fill(Connection& cn) {
    Transaction transaction(cn);
    const auto nested = [&](const QString& disc, long files) {
        cn.Execute(QStringLiteral(
                       "WITH RECURSIVE c(n) AS (SELECT 0 UNION ALL SELECT n + 1 FROM c WHERE n + 1 < %1) "
                       "INSERT INTO BankList(DiskName, FileName, FilePath, FileSize, FileAttr, FileModified) "
                       "SELECT '%2', 'file ' || n || '.dat', 'D:\\Archive ' || printf('%03d', n / 5000) || "
                       "'\\Set ' || printf('%02d', (n / 50) % 100) || '\\file ' || n || '.dat', "
                       "(n * 7919) % 700000000, 'ArchiveNormal', 1100000000 + n * 37 FROM c;")
                       .arg(files)
                       .arg(disc));
    };
    nested(kSmallDisc, 100000);
    nested(kLargeDisc, 950000);
    cn.Execute(
        QStringLiteral("WITH RECURSIVE c(n) AS (SELECT 0 UNION ALL SELECT n + 1 FROM c WHERE n + 1 < 50000) "
                       "INSERT INTO BankList(DiskName, FileName, FilePath, FileSize, FileAttr, FileModified) "
                       "SELECT 'Disc1M', 'scan ' || n || '.jpg', 'D:\\Scans\\scan ' || n || '.jpg', "
                       "(n * 104729) % 9000000, 'ArchiveNormal', 1200000000 + n FROM c;"));
    cn.Execute(QStringLiteral(
        "INSERT INTO Disks(DiskName, SerialNo, DiskSize, FileCount, VolumeLabel, FileSystem, CataloguedAt) "
        "VALUES ('Disc100k', '-1234', '650 MB', '100000', 'SMALL', 'ISO9660', 1700000000), "
        "('Disc1M', '-5678', '4.3 GB', '1000000', 'LARGE', 'UDF', 1700000100);"));
    transaction.commit();
    Transaction indexing(cn);
    SearchIndex::fill(cn.handle(), {});
    indexing.commit();
    cn.Execute(QStringLiteral("PRAGMA wal_checkpoint(TRUNCATE);"));
}

// Resident memory now, in bytes.
long residentBytes() {
    QFile status(QStringLiteral("/proc/self/statm"));
    if (!status.open(QIODevice::ReadOnly)) return 0;
    const QList<QByteArray> fields = status.readAll().split(' ');
    return fields.size() > 1 ? fields[1].toLong() * 4096 : 0;
}

long peakBytes() {
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    return usage.ru_maxrss * 1024;
}

void settle(QWidget& window) {
    QCoreApplication::processEvents();
    window.repaint();
}

double timed(const std::function<void()>& step) {
    QElapsedTimer timer;
    timer.start();
    step();
    return timer.nsecsElapsed() / 1e9;
}

struct Figures {
    std::vector<double> seconds;
    double median() {
        std::sort(seconds.begin(), seconds.end());
        return seconds[seconds.size() / 2];
    }
};

void report(const char* what, Figures& figures, double target) {
    const double median = figures.median();
    std::printf("%-36s median %7.3f s  min %7.3f  max %7.3f  target %.1f s  ratio %.2f  %s\n", what, median,
                figures.seconds.front(), figures.seconds.back(), target, median / target,
                median <= target ? "ok" : "OVER");
}

}  // namespace
}  // namespace vt

int main(int argc, char** argv) {
    using namespace vt;
    QApplication app(argc, argv);
    int runs = 5;
    const QStringList arguments = app.arguments();
    for (int i = 1; i + 1 < arguments.size(); i += 2) {
        if (arguments[i] == QLatin1String("--runs")) runs = std::max(1, arguments[i + 1].toInt());
    }

    test::TestPlatform fake;
    AppContext context(fake.platform());
    openCatalogue(context.cnCatalog, buildConnectionString(fake.folder.path()));
    QElapsedTimer seeding;
    seeding.start();
    fill(context.cnCatalog);
    std::printf("catalogue: 1,150,000 file rows on 2 discs, seeded in %.1f s\n", seeding.elapsed() / 1000.0);

    frmBrowse browser(context);
    browser.resize(880, 560);
    browser.show();
    browser.Form_Load();
    settle(browser);
    auto* tree = browser.findChild<QTreeView*>(QStringLiteral("Tree1"));

    const long before = residentBytes();
    Figures openSmall, openLarge, listLarge;
    long afterOpen = 0, afterList = 0;
    for (int run = 0; run < runs; ++run) {
        openSmall.seconds.push_back(timed([&] {
            browser.browseDisc(kSmallDisc);
            settle(browser);
        }));
        openLarge.seconds.push_back(timed([&] {
            browser.browseDisc(kLargeDisc);
            settle(browser);
        }));
        if (run == 0) afterOpen = residentBytes();
        const QModelIndex folder = browser.folders().locate(kLargeFolder);
        listLarge.seconds.push_back(timed([&] {
            tree->setCurrentIndex(folder);
            settle(browser);
        }));
        if (run == 0) afterList = residentBytes();
        if (browser.files().rowCount() != 50000) {
            std::fprintf(stderr, "the large folder listed %d files, not 50000\n", browser.files().rowCount());
            return 1;
        }
    }
    std::printf("runs: %d (the first from a cold statement cache)\n", runs);
    report("open 100,000-file disc", openSmall, kOpenTarget);
    report("open 1,000,000-file disc", openLarge, kOpenTarget);
    report("list 50,000-file folder", listLarge, kListTarget);
    std::printf("memory: opening the 1,000,000-file disc added %.1f MB (%.1f bytes per file of the disc)\n",
                (afterOpen - before) / 1e6, double(afterOpen - before) / 1000000.0);
    std::printf("        listing the 50,000-file folder added %.1f MB (%.1f bytes per listed file)\n",
                (afterList - afterOpen) / 1e6, double(afterList - afterOpen) / 50000.0);
    std::printf("        peak resident size of the process %.1f MB\n", peakBytes() / 1e6);
    return 0;
}
