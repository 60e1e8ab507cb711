// bench_scan generate DIR FILES SEED   writes the seeded tree
// bench_scan scan DIR                  catalogues DIR as drive D: through the new-disk window, prints
//                                      wall and CPU seconds of the click, files recorded and the
//                                      process's peak memory
#include <sys/resource.h>

#include <QApplication>
#include <QElapsedTimer>
#include <QTemporaryDir>
#include <cstdio>

#include "SeededTree.h"
#include "catalog/ConnectionString.h"
#include "catalog/SqliteStatement.h"
#include "platform/LinuxFileSystem.h"
#include "scan/ScanTexts.h"
#include "scan/frmMain.h"
#include "support/FakeDrives.h"
#include "support/FakeMessageService.h"
#include "support/FakeShell.h"
#include "support/FakeSystemColors.h"
#include "window/AppContext.h"

namespace {

long peakMemoryKiB() {
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    return usage.ru_maxrss;
}

// User and system time of this process so far, in seconds.
double cpuSeconds() {
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    auto seconds = [](const timeval& t) { return double(t.tv_sec) + t.tv_usec / 1e6; };
    return seconds(usage.ru_utime) + seconds(usage.ru_stime);
}

int scan(const QString& tree) {
    using namespace vt;
    QTemporaryDir program;
    test::FakeMessageService messages;
    test::FakeDriveTable drives;
    drives.add(QLatin1Char('D'), {kDriveTypeCdRom,
                                  tree,
                                  {650000000, 0},
                                  {QStringLiteral("BENCH"), QStringLiteral("CDFS"), 0x1234u},
                                  true});
    LinuxFileSystem fileSystem(drives);
    test::FakeShell shell;
    test::FakeSystemColors colors;
    AppContext context(Platform{messages, drives, fileSystem, shell, colors, program.path()});
    openCatalogue(context.cnCatalog, buildConnectionString(program.path()));

    frmMain form(context);
    form.Form_Load();
    form.show();
    QElapsedTimer timer;
    const double cpuBefore = cpuSeconds();
    timer.start();
    form.cmdStart_Click();
    const double seconds = timer.nsecsElapsed() / 1e9;
    const double cpu = cpuSeconds() - cpuBefore;

    SqliteStatement count(context.cnCatalog.handle(), QStringLiteral("SELECT count(*) FROM BankList"));
    count.step();
    if (messages.texts().value(0) != ScanTexts::finished()) {
        std::fprintf(stderr, "the scan did not finish: %s\n",
                     qPrintable(messages.texts().join(QLatin1Char('|'))));
        return 1;
    }
    std::printf("seconds=%.3f cpu=%.3f files=%lld peak_kib=%ld\n", seconds, cpu, count.column(0).toLongLong(),
                peakMemoryKiB());
    return 0;
}

}  // namespace

int main(int argc, char** argv) {
    QApplication application(argc, argv);
    const QStringList args = QApplication::arguments();
    if (args.size() == 5 && args[1] == QLatin1String("generate")) {
        return vt::bench::writeSeededTree(args[2], args[3].toLong(), args[4].toUInt()) ? 0 : 1;
    }
    if (args.size() == 3 && args[1] == QLatin1String("scan")) return scan(args[2]);
    std::fprintf(stderr, "usage: bench_scan generate DIR FILES SEED | bench_scan scan DIR\n");
    return 2;
}
