// Times removing one disc through the removal window's delete command (question answered Yes, file rows
// and disc row deleted row by row in one transaction, list reloaded) against the plainest way the store
// can do the same: one DELETE per table in one transaction. Both run on the same catalogue in the same
// process, alternating, each on discs of its own.
#include <QApplication>
#include <QComboBox>
#include <QElapsedTimer>
#include <algorithm>
#include <cstdio>
#include <vector>

#include "button/MyButton.h"
#include "catalog/ConnectionString.h"
#include "catalog/SearchIndex.h"
#include "catalog/SqliteStatement.h"
#include "remove/frmDelete.h"
#include "support/TestPlatform.h"
#include "window/AppContext.h"

namespace vt {
namespace {

struct Options {
    int discs = 200;
    int filesPerDisc = 5000;
    int runs = 7;
};

Options parse(const QStringList& arguments) {
    Options options;
    for (int i = 1; i + 1 < arguments.size(); i += 2) {
        const int value = arguments[i + 1].toInt();
        if (arguments[i] == QLatin1String("--discs")) options.discs = value;
        if (arguments[i] == QLatin1String("--files-per-disc")) options.filesPerDisc = value;
        if (arguments[i] == QLatin1String("--runs")) options.runs = value;
    }
    return options;
}

QString discName(int i) {
    return QStringLiteral("Disc%1").arg(i, 4, 10, QLatin1Char('0'));
}

// Each disc's files lie together, as a scan writes them.
void fill(Connection& cn, const Options& options) {
    Transaction transaction(cn);
    cn.Execute(
        QStringLiteral("WITH RECURSIVE c(n) AS (SELECT 0 UNION ALL SELECT n + 1 FROM c WHERE n + 1 < %1) "
                       "INSERT INTO BankList(DiskName, FileName, FilePath, FileSize, FileAttr) SELECT 'Disc' "
                       "|| printf('%04d', n / %2), "
                       "'file' || n || '.dat', 'D:\\folder' || (n % 97) || '\\file' || n || '.dat', "
                       "(n * 7919) % 700000000, 'ArchiveNormal' FROM c;")
            .arg(qint64(options.discs) * options.filesPerDisc)
            .arg(options.filesPerDisc));
    cn.Execute(
        QStringLiteral("WITH RECURSIVE c(n) AS (SELECT 0 UNION ALL SELECT n + 1 FROM c WHERE n + 1 < %1) "
                       "INSERT INTO Disks(DiskName, SerialNo, DiskSize, FileCount) SELECT 'Disc' || "
                       "printf('%04d', n), -123456 - n, "
                       "'654,311,424 bytes', '%2' FROM c;")
            .arg(options.discs)
            .arg(options.filesPerDisc));
    transaction.commit();
    // As idle time leaves a catalogue: every row in the path index, merged.
    Transaction indexing(cn);
    SearchIndex::fill(cn.handle(), {});
    indexing.commit();
    cn.Execute(QStringLiteral("PRAGMA wal_checkpoint(TRUNCATE);"));
}

long rowsOf(Connection& cn, const QString& disc) {
    SqliteStatement statement(cn.handle(),
                              QStringLiteral("SELECT count(*) FROM BankList WHERE DiskName = ?"));
    statement.bind(1, disc);
    return statement.step() ? long(statement.column(0).toLongLong()) : -1;
}

double viaWindow(frmDelete& form, const QString& disc) {
    const int index = form.Combo1().findText(disc);
    form.Combo1().setCurrentIndex(index);
    emit form.Combo1().activated(index);
    QElapsedTimer timer;
    timer.start();
    emit form.cmdDelete().Click();
    return double(timer.nsecsElapsed()) / 1e6;
}

double viaSingleDeletes(Connection& cn, const QString& disc) {
    QElapsedTimer timer;
    timer.start();
    Transaction transaction(cn);
    for (const char* table : {"BankList", "Disks"}) {
        SqliteStatement statement(
            cn.handle(), QStringLiteral("DELETE FROM %1 WHERE DiskName = ?;").arg(QLatin1String(table)));
        statement.bind(1, disc);
        statement.step();
    }
    transaction.commit();
    return double(timer.nsecsElapsed()) / 1e6;
}

double median(std::vector<double> values) {
    std::sort(values.begin(), values.end());
    return values[values.size() / 2];
}

int run(const Options& options) {
    test::TestPlatform platform;
    AppContext context(platform.platform());
    openCatalogue(context.cnCatalog, buildConnectionString(platform.folder.path()));

    QElapsedTimer filling;
    filling.start();
    fill(context.cnCatalog, options);
    std::printf("catalogue: %d discs x %d files = %lld rows (made in %.1f s)\n", options.discs,
                options.filesPerDisc, qint64(options.discs) * options.filesPerDisc,
                filling.elapsed() / 1000.0);

    Recordset windowRecordset;
    frmDelete form(context, windowRecordset);
    form.Form_Load();
    form.show();

    std::vector<double> window;
    std::vector<double> baseline;
    for (int r = 0; r < options.runs; ++r) {
        const QString mine = discName(2 * r);
        const QString theirs = discName(2 * r + 1);
        window.push_back(viaWindow(form, mine));
        baseline.push_back(viaSingleDeletes(context.cnCatalog, theirs));
        if (rowsOf(context.cnCatalog, mine) != 0 || rowsOf(context.cnCatalog, theirs) != 0 ||
            !platform.messages.texts().value(r).startsWith(QStringLiteral("آيا"))) {
            std::fprintf(stderr, "run %d: the disc was not removed as expected\n", r);
            return 1;
        }
    }
    if (platform.messages.shown.size() != size_t(options.runs)) {
        std::fprintf(stderr, "unexpected messages: %s\n", qPrintable(platform.messages.texts().join(" | ")));
        return 1;
    }

    const double windowMedian = median(window);
    const double baselineMedian = median(baseline);
    std::printf("removal window, delete command:      median %7.2f ms  worst %7.2f ms  (%d runs)\n",
                windowMedian, *std::max_element(window.begin(), window.end()), options.runs);
    std::printf("baseline, one DELETE per table:      median %7.2f ms  worst %7.2f ms  (%d runs)\n",
                baselineMedian, *std::max_element(baseline.begin(), baseline.end()), options.runs);
    std::printf("ratio window / baseline:             %.2f\n", windowMedian / baselineMedian);
    std::printf("target <= 50 ms:                     %s\n", windowMedian <= 50.0 ? "met" : "NOT met");
    return 0;
}

}  // namespace
}  // namespace vt

int main(int argc, char** argv) {
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication application(argc, argv);
    const vt::Options options = vt::parse(application.arguments());
    if (options.runs < 1 || 2 * options.runs > options.discs || options.filesPerDisc < 1) {
        std::fprintf(stderr, "usage: bench_remove [--discs N] [--files-per-disc F] [--runs R], 2R <= N\n");
        return 2;
    }
    return vt::run(options);
}
