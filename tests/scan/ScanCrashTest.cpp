// A program killed in the middle of a scan leaves a sound catalogue without any row of the disc.
#include <signal.h>

#include <QCoreApplication>
#include <QFile>
#include <QFileInfo>
#include <QLineEdit>
#include <QThread>

#include "ScanFixture.h"
#include "catalog/Connection.h"
#include "catalog/ConnectionString.h"
#include "catalog/Recordset.h"
#include "catalog/SqliteStatement.h"
#include "scan/ScanCommand.h"
#include "scan/ScanProgress.h"
#include "scan/ScanTexts.h"
#include "support/ChildProcess.h"

namespace vt::test {
namespace {

class SilentProgress final : public ScanProgress {
  public:
    void started() override {}
    void pause(long) override {}
};

class ScanCrashTest : public ScanFixture {};

// Set in the environment of the copy of this test program that runs the scan and is killed: the catalogue
// it writes to.
constexpr char kKilledScanCatalogue[] = "VT_KILLED_SCAN_CATALOGUE";

TEST_F(ScanCrashTest, AProgramKilledMidScanLeavesNoRowOfTheDiscAndASoundCatalogue) {
    for (int folder = 0; folder < 30; ++folder) {
        for (int file = 0; file < 100; ++file)
            write(QStringLiteral("dir%1/file%2.txt").arg(folder).arg(file));
    }
    if (qEnvironmentVariableIsSet(kKilledScanCatalogue)) {
        // The killed program: the scan as the program runs it, on a connection whose tiny page cache makes
        // it write its rows into the log long before it ends; then the process dies at once, as in a power
        // cut of the program.
        Connection scan;
        openCatalogue(scan,
                      buildConnectionString(QFileInfo(qEnvironmentVariable(kKilledScanCatalogue)).path()));
        scan.Execute(QStringLiteral("PRAGMA cache_size = 10;"));
        platform.fileSystem.whileListing = [](const QString& folder) {
            if (folder != QLatin1String("D:\\dir25\\")) return;
            QThread::msleep(300);  // lets the writer catch up with the 2,500 rows walked so far
            ::raise(SIGKILL);
        };
        Recordset rsDisks;
        Recordset rsBankList;
        SilentProgress progress;
        ScanCommand command(scan, rsDisks, rsBankList, platform.drives, platform.fileSystem);
        command.run({QStringLiteral("D:\\"), QStringLiteral("Killed"), QStringLiteral("1"),
                     QStringLiteral("654,311,424 bytes")},
                    progress);
        FAIL() << "the scan was not killed";
    }
    execute(QStringLiteral(
        "INSERT INTO Disks(DiskName, SerialNo, DiskSize, FileCount) VALUES ('OLD','1','1 bytes','1');"
        "INSERT INTO BankList(DiskName, FileName, FilePath, FileSize, FileAttr) VALUES "
        "('OLD','x','D:\\x',1,'Normal');"));
    context.cnCatalog.Close();

    // The killed program is a fresh copy of this one rather than a fork: a fork would carry this
    // program's threads' locks and its libraries' state into a child that starts threads of its own.
    qputenv(kKilledScanCatalogue, QFile::encodeName(platform.catalogPath()));
    ChildProcess child(
        QCoreApplication::applicationFilePath(),
        {QStringLiteral(
            "--gtest_filter=ScanCrashTest.AProgramKilledMidScanLeavesNoRowOfTheDiscAndASoundCatalogue")});
    qunsetenv(kKilledScanCatalogue);
    ASSERT_EQ(child.startError(), QString());
    // A child that hangs instead of dying must not hang the test run.
    child.finish(60000);
    ASSERT_EQ(child.endingSignal(), SIGKILL)
        << "the child finished, or hung, instead: " << child.output().toStdString();
    QFileInfo log(platform.catalogPath() + QStringLiteral("-wal"));
    EXPECT_GT(log.size(), 4096) << "the killed scan had written rows into the log";

    context.cnCatalog.Open();
    {
        SqliteStatement check(db(), QStringLiteral("PRAGMA integrity_check"));
        ASSERT_TRUE(check.step());
        EXPECT_EQ(check.column(0).toString(), QStringLiteral("ok"));
    }
    EXPECT_TRUE(files(QStringLiteral("Killed")).empty());
    ASSERT_EQ(disks().size(), 1u);
    EXPECT_EQ(disks()[0][0], QStringLiteral("OLD"));

    // The name is free and the catalogue takes the disc whole.
    openWindow();
    form->Text3()->setText(QStringLiteral("Killed"));
    start();
    EXPECT_EQ(platform.messages.texts(), QStringList{ScanTexts::finished()});
    EXPECT_EQ(files(QStringLiteral("Killed")).size(), 3000u);
}

}  // namespace
}  // namespace vt::test
