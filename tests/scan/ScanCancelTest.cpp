#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QTest>
#include <QThread>
#include <QTimer>

#include "ScanFixture.h"
#include "button/MyButton.h"
#include "catalog/Connection.h"
#include "catalog/Recordset.h"
#include "scan/DriveDetails.h"
#include "scan/ScanCommand.h"
#include "scan/ScanTexts.h"

namespace vt::test {
namespace {

// Asks to stop at the given look (1 = after the first entry of the walk); never before the walk started.
class CancelAtLook final : public ScanProgress {
  public:
    explicit CancelAtLook(int look) : look_(look) {}
    void started() override {}
    void pause(long) override {}
    bool cancelRequested() const override { return ++looks_ >= look_; }
    int looks() const { return looks_; }

  private:
    int look_;
    mutable int looks_ = 0;
};

class ScanCancelTest : public ScanFixture {
  protected:
    void fiveFiles() {
        for (int i = 1; i <= 5; ++i) write(QStringLiteral("f%1.txt").arg(i), i);
    }
    ScanSummary scanWith(ScanProgress& progress, const QString& name = QStringLiteral("Disc")) {
        Recordset rsDisks;
        Recordset rsBankList;
        ScanCommand command(context.cnCatalog, rsDisks, rsBankList, platform.drives, platform.fileSystem);
        const DriveDetails details = readDriveDetails(platform.drives, QStringLiteral("D:\\"));
        return command.run({QStringLiteral("D:\\"), name, details.serial, details.usedSize}, progress);
    }
    // Twelve folders of one file each, each listing slow enough for the window to take events between.
    void twelveSlowFolders(const QString& whereToAct, std::function<void()> act) {
        for (int i = 0; i < 12; ++i) write(QStringLiteral("folder %1/file.txt").arg(i));
        platform.fileSystem.whileListing = [=](const QString& folder) {
            QThread::msleep(20);
            if (folder == whereToAct) QTimer::singleShot(0, act);
        };
    }
};

TEST_F(ScanCancelTest, CancelAtTheFirstMiddleOrLastFileOrJustBeforeTheDiscRowLeavesNothingOfTheDisc) {
    fiveFiles();
    // Five files in the root: looks 1 to 5 follow them, look 6 comes after the walk.
    for (int look : {1, 3, 5, 6}) {
        CancelAtLook progress(look);
        EXPECT_EQ(scanWith(progress).outcome, ScanOutcome::Cancelled) << look;
        EXPECT_EQ(progress.looks(), look);
        EXPECT_TRUE(files().empty()) << look;
        EXPECT_TRUE(disks().empty()) << look;
        EXPECT_FALSE(context.cnCatalog.inTransaction());
    }
    CancelAtLook never(1000);
    const ScanSummary summary = scanWith(never);
    EXPECT_EQ(summary.outcome, ScanOutcome::Finished) << "the name was not left taken";
    EXPECT_EQ(summary.recorded, 5);
    EXPECT_EQ(files().size(), 5u);
}

TEST_F(ScanCancelTest, TheCancelButtonAndEscapeStopTheScanSayItAndReturnTheWindowToIdle) {
    openWindow();
    EXPECT_EQ(form->cmdCancel()->parentWidget(), form->BusyForm());
    EXPECT_EQ(form->cmdCancel()->Caption(), ScanTexts::cmdCancel());
    twelveSlowFolders(QStringLiteral("D:\\folder 5\\"), [this] { emit form->cmdCancel()->Click(); });
    start();
    EXPECT_EQ(platform.messages.texts(), QStringList{ScanTexts::cancelled()});
    EXPECT_TRUE(files().empty());
    EXPECT_TRUE(disks().empty());
    EXPECT_FALSE(form->scanning());
    EXPECT_FALSE(form->BusyForm()->isVisible());
    EXPECT_TRUE(form->Text3()->isEnabled());
    EXPECT_TRUE(form->cmdStart()->isEnabled());

    platform.messages.clear();
    platform.fileSystem.whileListing = [this](const QString& folder) {
        QThread::msleep(20);
        if (folder == QLatin1String("D:\\folder 5\\"))
            QTimer::singleShot(0, [this] { QTest::keyClick(form->Combo1(), Qt::Key_Escape); });
    };
    start();
    EXPECT_EQ(platform.messages.texts(), QStringList{ScanTexts::cancelled()});
    EXPECT_TRUE(files().empty());

    platform.messages.clear();
    platform.fileSystem.whileListing = nullptr;
    start();
    EXPECT_EQ(platform.messages.texts(), QStringList{ScanTexts::finished()});
    EXPECT_EQ(files().size(), 12u);
    EXPECT_FALSE(form->lblRate()->text().isEmpty());
}

TEST_F(ScanCancelTest, ClosingTheWindowDuringAScanAndAgreeingToCancelRollsBackThenCloses) {
    openWindow();
    bool closed = true;
    twelveSlowFolders(QStringLiteral("D:\\folder 3\\"), [&] { closed = form->close(); });
    platform.messages.answer({MessageAnswer::Yes});
    start();
    EXPECT_FALSE(closed) << "not while the scan still unwinds";
    EXPECT_EQ(platform.messages.texts(), (QStringList{ScanTexts::askCancelScan(), ScanTexts::cancelled()}));
    EXPECT_TRUE(files().empty());
    EXPECT_TRUE(disks().empty());
    EXPECT_FALSE(form->isVisible()) << "closes once the scan has wound down";
}

}  // namespace
}  // namespace vt::test
