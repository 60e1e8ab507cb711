#include <gtest/gtest.h>

#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QTemporaryDir>
#include <QThread>
#include <csignal>

#include "RealProgram.h"
#include "support/ChildProcess.h"
#include "support/MountedImage.h"

namespace vt::test {
namespace {

// 30,000 small files: long enough to walk over a fuseiso mount that a signal lands mid-scan.
void writeManyFiles(const QString& root) {
    for (int folder = 0; folder < 120; ++folder) {
        const QString dir = QStringLiteral("%1/folder %2").arg(root).arg(folder);
        QDir().mkpath(dir);
        for (int file = 0; file < 250; ++file) {
            QFile out(QStringLiteral("%1/file %2.txt").arg(dir).arg(file));
            ASSERT_TRUE(out.open(QIODevice::WriteOnly));
            out.write("x");
        }
    }
}

TEST(CliScanInterrupt, SigintOrSigtermMidScanRollsTheDiscBackAndExits130Or143) {
    const QString reason = MountedImage::unavailableReason();
    if (!reason.isEmpty()) GTEST_SKIP() << reason.toStdString();
    QTemporaryDir tree, work;
    writeManyFiles(tree.path());
    MountedImage image(tree.path(), QStringLiteral("SIGNALS"));
    ASSERT_TRUE(image.error().isEmpty()) << image.error().toStdString();
    const QString catalog = work.filePath(QStringLiteral("catalog.db"));
    const QStringList scan{QStringLiteral("scan"), QStringLiteral("D:"), QStringLiteral("Signalled"),
                           QStringLiteral("--catalog"), catalog};

    for (const auto& [signal, code, word] :
         {std::tuple{SIGINT, 130, "interrupted"}, std::tuple{SIGTERM, 143, "terminated"}}) {
        ChildProcess process(cliProgram(), scan);
        ASSERT_EQ(process.startError(), QString());
        // The catalogue's log appears once the scan has the catalogue open; the walk is under way soon after.
        QElapsedTimer waited;
        waited.start();
        while (!QFile::exists(catalog + QStringLiteral("-wal")) && waited.elapsed() < 20000)
            QThread::msleep(5);
        // Long enough for the signal handlers to be in place, far shorter than the walk of 30,000 files.
        QThread::msleep(150);
        ::kill(process.pid(), signal);
        // A signal that ends the program unhandled gives -1 here, not 128 + its number.
        EXPECT_EQ(process.finish(60000), code) << "signal " << signal << " came too late or was not handled";
        EXPECT_TRUE(QString::fromUtf8(process.errors()).contains(QLatin1String(word)));
        EXPECT_EQ(runCli({QStringLiteral("disks"), QStringLiteral("--catalog"), catalog}).code, 1)
            << "no disc row";
        EXPECT_EQ(runCli({QStringLiteral("export"), QStringLiteral("--catalog"), catalog}).code, 1)
            << "no file row";
    }
    EXPECT_EQ(runCli(scan).code, 0) << "the name was left free";
}

}  // namespace
}  // namespace vt::test
