// A program killed in the middle of a scan leaves a sound catalogue without any row of the disc.
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <QFileInfo>
#include <QLineEdit>
#include <QThread>
#include <QThreadPool>

#include "ScanFixture.h"
#include "catalog/Connection.h"
#include "catalog/Recordset.h"
#include "catalog/SqliteStatement.h"
#include "scan/ScanCommand.h"
#include "scan/ScanProgress.h"
#include "scan/ScanTexts.h"

namespace vt::test {
namespace {

class SilentProgress final : public ScanProgress {
  public:
    void started() override {}
    void pause(long) override {}
};

class ScanCrashTest : public ScanFixture {};

TEST_F(ScanCrashTest, AProgramKilledMidScanLeavesNoRowOfTheDiscAndASoundCatalogue) {
    for (int folder = 0; folder < 30; ++folder) {
        for (int file = 0; file < 100; ++file)
            write(QStringLiteral("dir%1/file%2.txt").arg(folder).arg(file));
    }
    execute(QStringLiteral(
        "INSERT INTO Disks(DiskName, SerialNo, DiskSize, FileCount) VALUES ('OLD','1','1 bytes','1');"
        "INSERT INTO BankList(DiskName, FileName, FilePath, FileSize, FileAttr) VALUES "
        "('OLD','x','D:\\x',1,'Normal');"));
    context.cnCatalog.Close();

    // The child starts the writer thread, and a fork copies only the thread that forks: no other thread
    // may be alive then, holding a lock the child would wait for. Qt keeps the threads it scaled pictures
    // on idle for half a minute; this ends them.
    QThreadPool::globalInstance()->waitForDone();
    const pid_t child = ::fork();
    ASSERT_GE(child, 0);
    if (child == 0) {
        // The scan as the program runs it, on a connection of its own whose tiny page cache makes it write
        // its rows into the log long before it ends; then the process dies at once, as in a power cut of
        // the program.
        Connection scan;
        openCatalogue(scan, context.cnCatalog.connectionString());
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
        ::_exit(0);  // not reached
    }
    // A child that hangs instead of dying must not hang the test run.
    int status = 0;
    pid_t ended = 0;
    for (int waited = 0; waited < 600 && (ended = ::waitpid(child, &status, WNOHANG)) == 0; ++waited) {
        QThread::msleep(100);
    }
    if (ended == 0) {
        ::kill(child, SIGKILL);
        ::waitpid(child, &status, 0);
        FAIL() << "the scanning child neither finished nor died within a minute";
    }
    ASSERT_EQ(ended, child);
    ASSERT_TRUE(WIFSIGNALED(status) && WTERMSIG(status) == SIGKILL) << "the child finished instead";
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
