#include <QAction>
#include <QApplication>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QLocale>
#include <QMdiArea>
#include <QPointer>
#include <QTest>
#include <QTimer>
#include <QTreeWidget>
#include <functional>

#include "ScanFixture.h"
#include "app/WindowRegistry.h"
#include "button/MyButton.h"
#include "remove/frmDelete.h"
#include "scan/ScanTexts.h"
#include "scan/UpdateTexts.h"
#include "scan/frmDifferences.h"
#include "scan/frmUpdateDisc.h"
#include "search/frmFind.h"

namespace vt::test {
namespace {

// Runs `act` on the modal window of type Window as soon as one is open (checked every few milliseconds, so
// that a window opened behind a walk's pauses is waited for). The poll ends itself once it has acted.
template <class Window>
QPointer<QTimer> whenOpen(std::function<void(Window&)> act) {
    auto* poll = new QTimer;
    QObject::connect(poll, &QTimer::timeout, [poll, act] {
        auto* window = qobject_cast<Window*>(QApplication::activeModalWidget());
        if (!window) return;
        poll->stop();
        poll->deleteLater();
        act(*window);
    });
    poll->start(5);
    return poll;
}

// The disc "Box" catalogued from drive D, the windows of the program, and in drive E a medium whose
// contents differ (a disc burnt again, an image copied).
class PickUpdateTest : public ScanFixture {
  protected:
    void SetUp() override {
        ScanFixture::SetUp();
        QLocale::setDefault(QLocale(QLocale::English, QLocale::UnitedStates));
        ASSERT_TRUE(copy.isValid());
        addDrive(QLatin1Char('E'), copy.path(), 700000000, 0x0BADF00Du);
        write(QStringLiteral("a.txt"), 10);
        write(QStringLiteral("b.txt"), 20);
        catalogue(QStringLiteral("D:\\"), QStringLiteral("Box"));
        writeCopy(QStringLiteral("a.txt"), 15);
        writeCopy(QStringLiteral("sub/c.txt"), 5);
        platform.messages.clear();
    }
    void TearDown() override { QLocale::setDefault(QLocale::system()); }

    void writeCopy(const QString& relative, int size) {
        QDir().mkpath(QFileInfo(copy.filePath(relative)).absolutePath());
        QFile file(copy.filePath(relative));
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
        file.write(QByteArray(size, 'y'));
    }
    void catalogue(const QString& root, const QString& name) {
        frmMain& scan = windows.showMain();
        scan.Combo1()->setCurrentIndex(scan.Combo1()->findText(root));
        scan.Combo1_Click();
        scan.Text3()->setText(name);
        scan.cmdStart_Click();
    }
    // Asks, from the search window's disc list, to update `name`; `inWindow` then acts in the update window.
    void updateFromSearch(const QString& name, std::function<void(frmUpdateDisc&)> inWindow) {
        frmFind& find = windows.showFind();
        auto* discs = find.findChild<QComboBox*>(QStringLiteral("Combo1"));
        discs->setCurrentIndex(discs->findText(name));
        whenOpen<frmUpdateDisc>(std::move(inWindow));
        find.findChild<QAction*>(QStringLiteral("actUpdateDisc"))->trigger();
    }
    static void choose(frmUpdateDisc& window, const QString& root) {
        window.Combo1()->setCurrentIndex(window.Combo1()->findText(root));
    }
    static void answerDifferences(bool apply) {
        whenOpen<frmDifferences>([apply](frmDifferences& dialog) {
            emit(apply ? dialog.cmdApply() : dialog.cmdCancel())->Click();
        });
    }

    QTemporaryDir copy;
    QMdiArea area;
    WindowRegistry windows{context, area};
};

TEST_F(PickUpdateTest, ThePickedDiscKeepsItsNameAndGetsTheRowsOfAnUnrecognisedMediumAndItsWindowsShowIt) {
    addDrive(QLatin1Char('F'), QString(), 0, 0);  // an empty drive has nothing to update from
    frmDelete& removal = windows.showDelete();
    removal.Combo1().setCurrentIndex(0);
    removal.Combo1().activated(0);
    ASSERT_EQ(removal.Label1(6).text(), QStringLiteral("654,311,424 bytes"));
    frmFind& find = windows.showFind();
    find.findChild<QLineEdit*>(QStringLiteral("Text1"))->setText(QStringLiteral("a.txt"));
    find.cmdDelete_Click();

    QStringList listed;
    QString recognition;
    updateFromSearch(QStringLiteral("Box"), [&](frmUpdateDisc& window) {
        for (int i = 0; i < window.Combo1()->count(); ++i) listed << window.Combo1()->itemText(i);
        choose(window, QStringLiteral("E:\\"));
        recognition = window.lblRecognised()->text();
        answerDifferences(true);
        emit window.cmdStart()->Click();
    });

    EXPECT_EQ(listed, (QStringList{QStringLiteral("D:\\"), QStringLiteral("E:\\")}));
    EXPECT_TRUE(recognition.isEmpty()) << "not recognised as any disc";
    EXPECT_EQ(platform.messages.texts(), QStringList{ScanTexts::updated(QStringLiteral("Box"))})
        << "no warning for a medium that is no other disc";
    EXPECT_EQ(paths(QStringLiteral("Box")),
              (QStringList{QStringLiteral("E:\\a.txt"), QStringLiteral("E:\\sub\\c.txt")}));
    ASSERT_EQ(disks().size(), 1u);
    EXPECT_EQ(disks()[0], (QStringList{QStringLiteral("Box"), QStringLiteral("195948557"),
                                       QStringLiteral("700,000,000 bytes"), QStringLiteral("2")}));

    // The windows showing the disc show it as it is now.
    EXPECT_EQ(removal.ListIndex(), 0);
    EXPECT_EQ(removal.Label1(6).text(), QStringLiteral("700,000,000 bytes"));
    EXPECT_EQ(removal.Label1(7).text(), QStringLiteral("2"));
    auto* results = find.findChild<QTreeWidget*>(QStringLiteral("ListView1"));
    ASSERT_EQ(results->topLevelItemCount(), 1);
    EXPECT_EQ(results->topLevelItem(0)->text(0), QStringLiteral("E:\\a.txt"));
    EXPECT_EQ(results->topLevelItem(0)->text(2), QStringLiteral("15"));
    EXPECT_EQ(find.findChild<QComboBox*>(QStringLiteral("Combo1"))->currentText(), QStringLiteral("Box"));
    EXPECT_EQ(windows.mainWindow()->recognisedAs(), QStringList{}) << "D still holds the old contents";
    EXPECT_GE(windows.mainWindow()->Combo1()->findText(QStringLiteral("F:\\")), 0)
        << "drives that came while the update window was open are listed in the new-disk window too";
}

TEST_F(PickUpdateTest, AMediumRecognisedAsAnotherDiscWarnsAndRefusingOrCancellingChangesNothing) {
    catalogue(QStringLiteral("E:\\"), QStringLiteral("Other"));
    platform.messages.clear();
    const std::vector<QStringList> discsBefore = disks();
    const std::vector<FileRow> rowsBefore = files();
    const auto unchanged = [&] {
        EXPECT_EQ(disks(), discsBefore);
        EXPECT_EQ(paths(), (QStringList{QStringLiteral("D:\\a.txt"), QStringLiteral("D:\\b.txt"),
                                        QStringLiteral("E:\\a.txt"), QStringLiteral("E:\\sub\\c.txt")}));
        EXPECT_EQ(files().size(), rowsBefore.size());
    };

    // Warned, and told no: nothing is walked and the window stays, to choose another drive or close.
    platform.messages.answer({MessageAnswer::No});
    bool stayedOpen = false;
    const size_t listingsBefore = platform.fileSystem.listed.size();
    updateFromSearch(QStringLiteral("Box"), [&](frmUpdateDisc& window) {
        choose(window, QStringLiteral("E:\\"));
        EXPECT_EQ(window.lblRecognised()->text(), ScanTexts::recognisedAs({QStringLiteral("Other")}));
        emit window.cmdStart()->Click();
        stayedOpen = window.isVisible();
        emit window.cmdClose()->Click();
    });
    EXPECT_TRUE(stayedOpen);
    EXPECT_EQ(platform.messages.texts(),
              QStringList{UpdateTexts::askOtherDisc({QStringLiteral("Other")}, QStringLiteral("Box"))});
    EXPECT_EQ(platform.fileSystem.listed.size(), listingsBefore);
    unchanged();

    // Told yes, then the differences refused, from the removal window's list.
    platform.messages.clear();
    frmDelete& removal = windows.showDelete();
    removal.Combo1().setCurrentIndex(0);
    removal.Combo1().activated(0);
    whenOpen<frmUpdateDisc>([&](frmUpdateDisc& window) {
        choose(window, QStringLiteral("E:\\"));
        answerDifferences(false);
        emit window.cmdStart()->Click();
    });
    removal.findChild<QAction*>(QStringLiteral("actUpdateDisc"))->trigger();
    EXPECT_EQ(platform.messages.texts(),
              QStringList{UpdateTexts::askOtherDisc({QStringLiteral("Other")}, QStringLiteral("Box"))});
    unchanged();

    // Escape in the middle of the walk.
    platform.messages.clear();
    QPointer<frmUpdateDisc> walking;
    platform.fileSystem.whileListing = [&](const QString& folder) {
        if (walking && folder == QLatin1String("E:\\sub\\")) QTest::keyClick(walking, Qt::Key_Escape);
    };
    updateFromSearch(QStringLiteral("Box"), [&](frmUpdateDisc& window) {
        walking = &window;
        choose(window, QStringLiteral("E:\\"));
        emit window.cmdStart()->Click();
    });
    platform.fileSystem.whileListing = nullptr;
    EXPECT_EQ(platform.messages.texts(),
              (QStringList{UpdateTexts::askOtherDisc({QStringLiteral("Other")}, QStringLiteral("Box")),
                           ScanTexts::cancelled()}));
    unchanged();
}

TEST_F(PickUpdateTest, NoUpdateStartsWhileTheNewDiskWindowIsCataloguingADisc) {
    bool opened = false;
    QPointer<QTimer> poll = whenOpen<frmUpdateDisc>([&](frmUpdateDisc& window) {
        opened = true;
        window.reject();
    });
    bool asked = false;
    platform.fileSystem.whileListing = [&](const QString&) {
        if (asked) return;
        asked = true;
        EXPECT_FALSE(windows.updateDisc(QStringLiteral("Box")));
    };
    catalogue(QStringLiteral("E:\\"), QStringLiteral("Second"));
    delete poll;
    EXPECT_TRUE(asked);
    EXPECT_FALSE(opened);
    EXPECT_EQ(platform.messages.texts(), (QStringList{UpdateTexts::catalogueBusy(), ScanTexts::finished()}));
    EXPECT_EQ(paths(QStringLiteral("Box")),
              (QStringList{QStringLiteral("D:\\a.txt"), QStringLiteral("D:\\b.txt")}));
    EXPECT_EQ(paths(QStringLiteral("Second")).size(), 2);
}

}  // namespace
}  // namespace vt::test
