// A mounted disc image that goes away in the middle of its scan, as when the FUSE server of the image is
// killed or the image is unmounted lazily (`fusermount -u -z`): the scan fails whole and records nothing.
#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <functional>

#include "catalog/Connection.h"
#include "catalog/ConnectionString.h"
#include "catalog/Recordset.h"
#include "catalog/SqliteStatement.h"
#include "platform/LinuxDriveTable.h"
#include "platform/LinuxFileSystem.h"
#include "scan/DriveDetails.h"
#include "scan/ScanCommand.h"
#include "scan/ScanProgress.h"
#include "support/FakeMessageService.h"
#include "support/FakeShell.h"
#include "support/FakeSystemColors.h"
#include "support/MountedImage.h"
#include "window/AppContext.h"

namespace vt::test {
namespace {

// Runs `action` at the first pause of the walk, when it is well under way.
class ActingProgress final : public ScanProgress {
  public:
    explicit ActingProgress(std::function<void()> action) : action_(std::move(action)) {}
    void started() override {}
    void pause(long recorded) override {
        if (acted) return;
        acted = true;
        recordedThen = recorded;
        action_();
    }
    bool acted = false;
    long recordedThen = 0;

  private:
    std::function<void()> action_;
};

class RealDiscGone : public ::testing::Test {
  protected:
    void SetUp() override {
        const QString reason = MountedImage::unavailableReason();
        if (!reason.isEmpty()) GTEST_SKIP() << reason.toStdString();
        ASSERT_TRUE(tree_.isValid() && program_.isValid());
        // Enough folders that a walk over FUSE lasts far longer than its first pause.
        for (int folder = 0; folder < 120; ++folder) {
            const QString dir =
                tree_.filePath(QStringLiteral("folder %1").arg(folder, 3, 10, QLatin1Char('0')));
            ASSERT_TRUE(QDir().mkpath(dir));
            for (int file = 0; file < 40; ++file) {
                QFile f(dir + QStringLiteral("/file %1.txt").arg(file));
                ASSERT_TRUE(f.open(QIODevice::WriteOnly));
            }
        }
        image_ = std::make_unique<MountedImage>(tree_.path(), QStringLiteral("GOING"));
        ASSERT_TRUE(image_->error().isEmpty()) << image_->error().toStdString();

        openCatalogue(cn_, buildConnectionString(program_.path()));
        cn_.Execute(QStringLiteral(
            "INSERT INTO Disks(DiskName, SerialNo, DiskSize, FileCount) VALUES ('OLD','1','1 bytes','1');"
            "INSERT INTO BankList(DiskName, FileName, FilePath, FileSize, FileAttr) VALUES "
            "('OLD','x','D:\\x',1,'Normal');"));
    }

    // The root of the mounted image among the drives.
    QString root() {
        const std::uint32_t mask = drives_.logicalDrives();
        for (int i = 0; i < 16; ++i) {
            const QString r = QString(QChar('A' + i)) + QStringLiteral(":\\");
            if ((mask & (1u << i)) && drives_.mountPoint(r) == image_->mountPoint()) return r;
        }
        return {};
    }

    ScanSummary scan(ActingProgress& progress) {
        const QString r = root();
        EXPECT_FALSE(r.isEmpty()) << "the mounted image is not listed as a drive";
        const DriveDetails details = readDriveDetails(drives_, r);
        Recordset rsDisks, rsBankList;
        ScanCommand command(cn_, rsDisks, rsBankList, drives_, fileSystem_);
        return command.run({r, QStringLiteral("Going"), details.serial, details.usedSize}, progress);
    }

    void expectNothingOfTheDisc() {
        SqliteStatement rows(cn_.handle(),
                             QStringLiteral("SELECT count(*) FROM BankList WHERE DiskName <> 'OLD'"));
        ASSERT_TRUE(rows.step());
        EXPECT_EQ(rows.column(0).toLongLong(), 0);
        SqliteStatement disks(cn_.handle(), QStringLiteral("SELECT group_concat(DiskName) FROM Disks"));
        ASSERT_TRUE(disks.step());
        EXPECT_EQ(disks.column(0).toString(), QStringLiteral("OLD"));
        EXPECT_FALSE(cn_.inTransaction());
    }

    QTemporaryDir tree_, program_;
    std::unique_ptr<MountedImage> image_;
    LinuxDriveTable drives_;
    LinuxFileSystem fileSystem_{drives_};
    Connection cn_;
};

TEST_F(RealDiscGone, KillingTheImagesServerMidScanRecordsNothingOfTheDisc) {
    ActingProgress progress(
        [&] { EXPECT_TRUE(image_->killServer()) << "no fuseiso process serves the mount"; });
    const ScanSummary summary = scan(progress);
    ASSERT_TRUE(progress.acted) << "the walk ended before its first pause";
    EXPECT_LT(progress.recordedThen, 120 * 40);
    EXPECT_EQ(summary.outcome, ScanOutcome::DiscGone);
    EXPECT_TRUE(summary.detail.contains(QStringLiteral("could not be read"))) << summary.detail.toStdString();
    expectNothingOfTheDisc();
}

TEST_F(RealDiscGone, ALazyUnmountMidScanRecordsNothingOfTheDisc) {
    ActingProgress progress([&] { EXPECT_TRUE(image_->unmountLazily()); });
    const ScanSummary summary = scan(progress);
    ASSERT_TRUE(progress.acted) << "the walk ended before its first pause";
    EXPECT_EQ(summary.outcome, ScanOutcome::DiscGone) << summary.recorded << " files recorded";
    // The walk goes on through what it holds open; the drive is found empty before the disc row.
    EXPECT_TRUE(summary.detail.contains(QStringLiteral("no longer holds"))) << summary.detail.toStdString();
    expectNothingOfTheDisc();
}

TEST_F(RealDiscGone, UntouchedTheSameImageIsCataloguedWhole) {
    ActingProgress progress([] {});
    const ScanSummary summary = scan(progress);
    EXPECT_EQ(summary.outcome, ScanOutcome::Finished);
    EXPECT_EQ(summary.recorded, 120 * 40);
    EXPECT_EQ(summary.skipped, 0);
}

}  // namespace
}  // namespace vt::test
