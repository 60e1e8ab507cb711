// A disc that goes away during its scan fails the whole scan: nothing of it is recorded, and the window
// says why. (Skipping and counting is for one unreadable file or folder, not for a medium that is gone.)
#include <QLabel>
#include <QLineEdit>

#include "ScanFixture.h"
#include "catalog/Connection.h"
#include "scan/ScanCommand.h"
#include "scan/ScanProgress.h"
#include "scan/ScanTexts.h"

namespace vt::test {
namespace {

class QuietProgress final : public ScanProgress {
  public:
    void started() override {}
    void pause(long) override {}
};

class DiscGoneTest : public ScanFixture {
  protected:
    void SetUp() override {
        ScanFixture::SetUp();
        execute(QStringLiteral(
            "INSERT INTO Disks(DiskName, SerialNo, DiskSize, FileCount) VALUES ('OLD','1','1 bytes','1');"
            "INSERT INTO BankList(DiskName, FileName, FilePath, FileSize, FileAttr) VALUES "
            "('OLD','x','D:\\x',1,'Normal');"));
        for (int i = 0; i < 8; ++i) {
            write(QStringLiteral("dir%1/a.txt").arg(i));
            write(QStringLiteral("dir%1/b.txt").arg(i));
        }
    }
    ScanSummary runCommand() {
        QuietProgress progress;
        ScanCommand command(context.cnScan, context.rsDisks, context.rsBankList, platform.drives,
                            platform.fileSystem);
        if (context.cnScan.State() == 0) {
            openCatalogue(context.cnScan, context.cnCatalog.connectionString());
        }
        return command.run({QStringLiteral("D:\\"), QStringLiteral("Gone"), QStringLiteral("305419896"),
                            QStringLiteral("654,311,424 bytes")},
                           progress);
    }
    // Only the disc catalogued before is there.
    void expectOnlyTheOldDisc() {
        EXPECT_EQ(paths(), QStringList{QStringLiteral("D:\\x")});
        ASSERT_EQ(disks().size(), 1u);
        EXPECT_EQ(disks()[0][0], QStringLiteral("OLD"));
        EXPECT_FALSE(context.cnScan.inTransaction());
    }
};

TEST_F(DiscGoneTest, AListingThatFindsTheMediumGoneFailsTheWholeScanInTheWindow) {
    platform.fileSystem.mediumGoneAt.insert(QStringLiteral("D:\\dir5\\"));
    openWindow();
    start();
    expectOnlyTheOldDisc();
    EXPECT_EQ(platform.messages.texts(), QStringList{ScanTexts::discGone()});
    EXPECT_FALSE(form->BusyForm()->isVisible());
    EXPECT_FALSE(form->scanning());

    // With the disc back, the same name takes it whole.
    platform.fileSystem.mediumGoneAt.clear();
    platform.messages.clear();
    start();
    EXPECT_EQ(platform.messages.texts(), QStringList{ScanTexts::finished()});
    EXPECT_EQ(files(QStringLiteral("NewDisk1")).size(), 16u);
}

TEST_F(DiscGoneTest, AListingBrokenOffByTheMediumGoingFailsTheScanAndSaysWhere) {
    platform.fileSystem.mediumGoneDuring.insert(QStringLiteral("D:\\dir6\\"));
    const ScanSummary summary = runCommand();
    EXPECT_EQ(summary.outcome, ScanOutcome::DiscGone);
    EXPECT_TRUE(summary.detail.contains(QStringLiteral("D:\\dir6\\"))) << summary.detail.toStdString();
    expectOnlyTheOldDisc();
}

TEST_F(DiscGoneTest, AnotherDiscInTheDriveBeforeTheDiscRowFailsTheScan) {
    // The walk ends normally, but the drive holds another medium by then (same folder, other serial).
    platform.fileSystem.whileListing = [&](const QString& folder) {
        if (folder != QLatin1String("D:\\dir7\\")) return;
        addDrive(QLatin1Char('D'), disc.path(), 654311424, 0x0BADF00Du);
    };
    const ScanSummary summary = runCommand();
    EXPECT_EQ(summary.outcome, ScanOutcome::DiscGone);
    EXPECT_FALSE(summary.detail.isEmpty());
    expectOnlyTheOldDisc();
}

TEST_F(DiscGoneTest, ADriveThatIsGoneBeforeTheDiscRowFailsTheScanInTheWindow) {
    platform.fileSystem.whileListing = [&](const QString& folder) {
        if (folder == QLatin1String("D:\\dir3\\")) platform.drives.remove(QLatin1Char('D'));
    };
    openWindow();
    start();
    expectOnlyTheOldDisc();
    EXPECT_EQ(platform.messages.texts(), QStringList{ScanTexts::discGone()});
}

TEST_F(DiscGoneTest, UnreadableFoldersAloneAreStillSkippedAndCounted) {
    platform.fileSystem.unlistable.insert(QStringLiteral("D:\\dir2\\"));
    platform.fileSystem.breakingOff.insert(QStringLiteral("D:\\dir4\\"));
    const ScanSummary summary = runCommand();
    EXPECT_EQ(summary.outcome, ScanOutcome::Finished);
    EXPECT_EQ(summary.skipped, 2);
    EXPECT_EQ(files(QStringLiteral("Gone")).size(), 12u) << "all but the files of the two folders";
}

TEST(ScanTextsTest, TheDiscGoneMessageUsesTheLetterFormsOfTheOtherTexts) {
    const QString text = ScanTexts::discGone();
    EXPECT_EQ(text,
              QStringLiteral("ديسك از درايو خارج شد يا قابل خواندن نيست؛ هيچ اطلاعاتي از آن ذخيره نشد"));
    // Arabic yeh and kaf, as in every other text of the window; never the Persian forms.
    EXPECT_FALSE(text.contains(QChar(0x06CC)));
    EXPECT_FALSE(text.contains(QChar(0x06A9)));
}

}  // namespace
}  // namespace vt::test
