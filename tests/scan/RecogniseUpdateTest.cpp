#include <QApplication>
#include <QComboBox>
#include <QDateTime>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QLocale>
#include <QMouseEvent>
#include <QTest>
#include <QTimeZone>
#include <QTimer>
#include <stdexcept>

#include "ScanFixture.h"
#include "button/MyButton.h"
#include "catalog/CatalogError.h"
#include "scan/DiscRecognition.h"
#include "scan/DiscUpdate.h"
#include "scan/ScanProgress.h"
#include "scan/ScanTexts.h"
#include "scan/frmDifferences.h"

namespace vt::test {
namespace {

class QuietProgress final : public ScanProgress {
  public:
    void started() override {}
    void pause(long) override {}
};

class RecogniseUpdateTest : public ScanFixture {
  protected:
    void SetUp() override {
        ScanFixture::SetUp();
        QLocale::setDefault(QLocale(QLocale::English, QLocale::UnitedStates));
    }
    void TearDown() override { QLocale::setDefault(QLocale::system()); }

    void scanAs(const QString& name) {
        form->Text3()->setText(name);
        start();
    }
    void click(QWidget* widget) {
        QMouseEvent release(QEvent::MouseButtonRelease, QPointF(2, 2), widget->mapToGlobal(QPointF(2, 2)),
                            Qt::LeftButton, Qt::NoButton, Qt::NoModifier);
        QApplication::sendEvent(widget, &release);
    }
    // Answers the differences dialog when it opens, after noting what it shows.
    void answerDifferences(bool apply) {
        QTimer::singleShot(0, [this, apply] {
            auto* dialog = qobject_cast<frmDifferences*>(QApplication::activeModalWidget());
            ASSERT_NE(dialog, nullptr);
            shownCounts = dialog->lblCounts()->text();
            shownFiles.clear();
            for (int i = 0; i < dialog->lstFiles()->count(); ++i)
                shownFiles << dialog->lstFiles()->item(i)->text();
            emit(apply ? dialog->cmdApply() : dialog->cmdCancel())->Click();
        });
    }
    void changeTheDisc() {
        write(QStringLiteral("a.txt"), 15);  // resized
        QFile::remove(disc.filePath(QStringLiteral("b.txt")));
        write(QStringLiteral("sub/d.txt"), 5);                // added
        QFile c(disc.filePath(QStringLiteral("sub/c.txt")));  // the same size, rewritten another day
        ASSERT_TRUE(c.open(QIODevice::ReadWrite));
        ASSERT_TRUE(c.setFileTime(QDateTime(QDate(2020, 1, 2), QTime(3, 4, 5), Qt::UTC),
                                  QFileDevice::FileModificationTime));
    }

    QString shownCounts;
    QStringList shownFiles;
};

TEST_F(RecogniseUpdateTest, ADiscIsRecognisedBySerialAndSizeAtOnceAndWhenPutInButNotOnceRebuilt) {
    write(QStringLiteral("a.txt"), 10);
    openWindow();
    EXPECT_TRUE(form->lblRecognised()->text().isEmpty());
    EXPECT_EQ(form->lblRecognised()->parentWidget(), static_cast<QWidget*>(form->Frame1()));
    scanAs(QStringLiteral("First"));
    EXPECT_EQ(form->lblRecognised()->text(), ScanTexts::recognisedAs({QStringLiteral("First")}));

    // Another disc with the same serial and size (copies of one master, say): both are named.
    execute(
        QStringLiteral("INSERT INTO Disks(DiskName, SerialNo, DiskSize, FileCount) VALUES "
                       "('Copy','305419896','654,311,424 bytes','1');"
                       "INSERT INTO Disks(DiskName, SerialNo, DiskSize, FileCount) VALUES ('Other "
                       "size','305419896','1 bytes','1');"));
    form->Combo1()->activated(0);
    EXPECT_EQ(form->recognisedAs(), (QStringList{QStringLiteral("First"), QStringLiteral("Copy")}));
    EXPECT_EQ(form->lblRecognised()->text(),
              ScanTexts::recognisedAs({QStringLiteral("First"), QStringLiteral("Copy")}));

    // The same serial and size under another label is another disc.
    FakeDriveTable::Drive relabelled;
    relabelled.type = kDriveTypeCdRom;
    relabelled.folder = disc.path();
    relabelled.space = DiskSpace{654311424, 0};
    relabelled.volume = VolumeInformation{QStringLiteral("OTHER"), QStringLiteral("CDFS"), 0x12345678u};
    platform.drives.add(QLatin1Char('D'), relabelled);
    form->Combo1()->activated(0);
    EXPECT_EQ(form->recognisedAs(), QStringList{QStringLiteral("Copy")})
        << "First keeps its label; Copy has none";

    // A rebuilt image of changed contents has another serial: put in while the window is open, it shows
    // as not catalogued, without a click.
    addDrive(QLatin1Char('D'), disc.path(), 654311424, 0x0BADF00Du);
    QTest::qWait(1300);
    EXPECT_EQ(form->Label1(7)->text(), QStringLiteral("195948557"));
    EXPECT_TRUE(form->recognisedAs().isEmpty());
    EXPECT_TRUE(form->lblRecognised()->text().isEmpty());
    // The name test of a new disc is unchanged.
    scanAs(QStringLiteral("first"));
    EXPECT_EQ(platform.messages.texts().back(), ScanTexts::nameTaken());
}

TEST_F(RecogniseUpdateTest, TheLookupGoesThroughAnIndexThatOlderCataloguesGetWhenOpened) {
    {
        SqliteStatement plan(
            db(), QStringLiteral("EXPLAIN QUERY PLAN SELECT DiskName FROM Disks WHERE SerialNo = ?1 "
                                 "AND DiskSize = ?2 ORDER BY rowid"));
        ASSERT_TRUE(plan.step());
        EXPECT_TRUE(plan.column(3).toString().contains(QStringLiteral("Disks_SerialNo_DiskSize")))
            << plan.column(3).toString().toStdString();
    }

    execute(QStringLiteral("DROP INDEX Disks_SerialNo_DiskSize;"));
    context.cnCatalog.Close();
    context.cnCatalog.Open();
    SqliteStatement index(db(),
                          QStringLiteral("SELECT 1 FROM sqlite_master WHERE name='Disks_SerialNo_DiskSize'"));
    EXPECT_TRUE(index.step());
}

TEST_F(RecogniseUpdateTest,
       UpdatingShowsExactlyTheAddedRemovedAndResizedFilesAndReplacesTheRowsOnlyWhenAccepted) {
    write(QStringLiteral("a.txt"), 10);
    write(QStringLiteral("b.txt"), 20);
    write(QStringLiteral("sub/c.txt"), 30);
    openWindow();
    scanAs(QStringLiteral("Box"));
    changeTheDisc();
    platform.messages.clear();

    answerDifferences(false);
    click(form->lblRecognised());
    EXPECT_EQ(shownCounts, ScanTexts::differenceCounts(1, 1, 2));
    ASSERT_EQ(shownFiles.size(), 4);
    EXPECT_EQ(shownFiles.mid(0, 3),
              (QStringList{QStringLiteral("+  D:\\sub\\d.txt  (5)"), QStringLiteral("-  D:\\b.txt  (20)"),
                           QStringLiteral("~  D:\\a.txt  (10 → 15)")}));
    EXPECT_TRUE(shownFiles[3].startsWith(QStringLiteral("~  D:\\sub\\c.txt  (")));
    EXPECT_TRUE(shownFiles[3].endsWith(QStringLiteral(" → 2020-01-02T03:04:05Z)")))
        << shownFiles[3].toStdString();
    EXPECT_EQ(paths(), (QStringList{QStringLiteral("D:\\a.txt"), QStringLiteral("D:\\b.txt"),
                                    QStringLiteral("D:\\sub\\c.txt")}))
        << "refused, nothing changes";
    EXPECT_TRUE(platform.messages.texts().isEmpty());

    addDrive(QLatin1Char('D'), disc.path(), 700000000, 0x12345678u);  // the rewritten disc holds more now
    form->Combo1()->activated(0);
    EXPECT_TRUE(form->recognisedAs().isEmpty()) << "another used size";
    execute(QStringLiteral("UPDATE Disks SET DiskSize = '700,000,000 bytes';"));
    form->Combo1()->activated(0);
    answerDifferences(true);
    click(form->lblRecognised());
    EXPECT_EQ(platform.messages.texts(), QStringList{ScanTexts::updated(QStringLiteral("Box"))});
    EXPECT_EQ(paths(), (QStringList{QStringLiteral("D:\\a.txt"), QStringLiteral("D:\\sub\\c.txt"),
                                    QStringLiteral("D:\\sub\\d.txt")}));
    EXPECT_EQ(files()[0].size, 15.0);
    EXPECT_EQ(files()[0].disk, QStringLiteral("Box"));
    ASSERT_EQ(disks().size(), 1u);
    EXPECT_EQ(disks()[0], (QStringList{QStringLiteral("Box"), QStringLiteral("305419896"),
                                       QStringLiteral("700,000,000 bytes"), QStringLiteral("3")}));
    EXPECT_FALSE(form->scanning());

    platform.messages.clear();
    click(form->lblRecognised());
    EXPECT_EQ(platform.messages.texts(), QStringList{ScanTexts::noDifferences(QStringLiteral("Box"))});
}

TEST_F(RecogniseUpdateTest, AnUpdateThatFailsAtItsLastRowLeavesTheOldRowsAndDiscRow) {
    write(QStringLiteral("a.txt"), 10);
    write(QStringLiteral("b.txt"), 20);
    write(QStringLiteral("sub/c.txt"), 30);
    openWindow();
    scanAs(QStringLiteral("Box"));
    const std::vector<QStringList> discBefore = disks();
    changeTheDisc();

    DiscUpdate update(context.cnCatalog, platform.drives, platform.fileSystem);
    QuietProgress progress;
    ASSERT_EQ(update.read(QStringLiteral("D:\\"), QStringLiteral("BOX"), progress),
              DiscUpdate::ReadOutcome::Read);
    EXPECT_EQ(update.name(), QStringLiteral("Box"));
    EXPECT_EQ(update.files(), 3);
    // The three rows go in one batch: failing it fails at the last row.
    EXPECT_THROW(update.apply([] { throw std::runtime_error("disk full"); }), CatalogError);
    EXPECT_EQ(paths(), (QStringList{QStringLiteral("D:\\a.txt"), QStringLiteral("D:\\b.txt"),
                                    QStringLiteral("D:\\sub\\c.txt")}));
    EXPECT_EQ(disks(), discBefore);
    EXPECT_FALSE(context.cnCatalog.inTransaction());

    // The same disc read in another drive differs only where it changed, and is then stored under that drive.
    addDrive(QLatin1Char('E'), disc.path(), 654311424, 0x12345678u);
    DiscUpdate elsewhere(context.cnCatalog, platform.drives, platform.fileSystem);
    ASSERT_EQ(elsewhere.read(QStringLiteral("E:\\"), QStringLiteral("Box"), progress),
              DiscUpdate::ReadOutcome::Read);
    EXPECT_EQ(elsewhere.differences().added, 1);
    EXPECT_EQ(elsewhere.differences().removed, 1);
    EXPECT_EQ(elsewhere.differences().resized, 1);
    EXPECT_EQ(elsewhere.differences().files[0].path, QStringLiteral("E:\\sub\\d.txt"));
    EXPECT_EQ(elsewhere.differences().files[1].path, QStringLiteral("D:\\b.txt"));

    // A different disc in the drive by the time of writing changes nothing either.
    addDrive(QLatin1Char('D'), disc.path(), 654311424, 0x0BADF00Du);
    EXPECT_FALSE(update.apply());
    EXPECT_EQ(disks(), discBefore);
}

}  // namespace
}  // namespace vt::test
