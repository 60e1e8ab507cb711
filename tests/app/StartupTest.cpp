#include <gtest/gtest.h>

#include <QFile>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QTest>

#include "app/MDIForm1.h"
#include "app/Startup.h"
#include "app/WindowRegistry.h"
#include "app/frmAbout.h"
#include "button/MyButton.h"
#include "catalog/Connection.h"
#include "catalog/ConnectionString.h"
#include "remove/frmDelete.h"
#include "scan/frmMain.h"
#include "search/frmFind.h"
#include "support/TestPlatform.h"
#include "window/AppContext.h"

namespace vt {
namespace {

class StartupTest : public ::testing::Test {
  protected:
    void SetUp() override { ASSERT_TRUE(fake.folder.isValid()); }

    std::unique_ptr<MDIForm1> start() { return startUp(context); }

    // Clicks through the window system, as a user does, so that modal windows block it.
    static void click(MyButton* button) {
        ASSERT_NE(button, nullptr);
        QWidget* window = button->window();
        const QPoint at = button->mapTo(window, QPoint(5, 5));
        QTest::mouseClick(window->windowHandle(), Qt::LeftButton, {}, at);
        QCoreApplication::processEvents();
    }

    test::TestPlatform fake;
    AppContext context{fake.platform()};
};

TEST_F(StartupTest, OpensTheCatalogueAndShowsTheNewDiskWindowInsideTheFrame) {
    auto frame = start();
    ASSERT_NE(frame, nullptr);
    EXPECT_EQ(context.cnCatalog.State(), 1);
    EXPECT_EQ(context.cnCatalog.connectionString(),
              QStringLiteral("Provider=Microsoft.Jet.OLEDB.4.0;data source=") + fake.folder.path() +
                  QStringLiteral("\\Mydb.mdb;;Jet OLEDB:Database Password=tandrimo"));
    EXPECT_EQ(context.cnCatalog.cursorLocation(), Connection::adUseClient);
    EXPECT_EQ(context.helpFile, fake.folder.path() + QStringLiteral("/Help.chm"));
    EXPECT_TRUE(QFile::exists(fake.catalogPath()));
    EXPECT_EQ(frame->windowTitle(), QStringLiteral("Vellumtrove"));

    frmMain* main = frame->windows().mainWindow();
    ASSERT_NE(main, nullptr);
    EXPECT_EQ(main->windowTitle(), QStringLiteral("ديسك جديد"));
    ASSERT_EQ(frame->clientArea().subWindowList().size(), 1);
    EXPECT_EQ(frame->clientArea().subWindowList().front()->widget(), main);
    EXPECT_TRUE(fake.messages.shown.empty());
}

TEST_F(StartupTest, TheStripHoldsFiveCaptionedButtonsAtTheirPlaces) {
    auto frame = start();
    ASSERT_NE(frame, nullptr);
    const std::vector<std::pair<MyButton*, QString>> buttons{
        {frame->cmdAddnew(), QStringLiteral("ديسك جديد")},
        {frame->cmdRemDisk(), QStringLiteral("حذف ديسك")},
        {frame->cmdFind(), QStringLiteral("جستجو")},
        {frame->cmdSetting(), QStringLiteral("تنظيمات")},
        {frame->cmdAbout(), QStringLiteral("درباره")}};
    int left = 8;  // 120 twips, then a step of 1920 twips (128 pixels)
    for (const auto& [button, caption] : buttons) {
        EXPECT_EQ(button->Caption(), caption);
        EXPECT_EQ(button->geometry(), QRect(left, 8, 121, 25));
        left += 128;
    }
}

TEST_F(StartupTest, AGarbageCatalogueStopsStartUpWithAMessageAndIsLeftAlone) {
    {
        QFile file(fake.catalogPath());
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
        file.write("not a catalogue at all");
    }
    auto frame = start();
    EXPECT_EQ(frame, nullptr);
    ASSERT_EQ(fake.messages.shown.size(), 1u);
    EXPECT_EQ(fake.messages.shown[0].kind, MessageKind::Information);
    EXPECT_TRUE(fake.messages.shown[0].text.contains(fake.catalogPath()));
    EXPECT_TRUE(fake.messages.shown[0].text.startsWith(QStringLiteral("فهرست ديسكها باز نشد")));
    QFile file(fake.catalogPath());
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    EXPECT_EQ(file.readAll(), QByteArray("not a catalogue at all"));
}

TEST_F(StartupTest, ACatalogueAnotherProgramHoldsStopsStartUpSayingSo) {
    // The other program keeps the catalogue to itself (its exclusive locking mode), as long as it runs.
    Connection otherProgram;
    openCatalogue(otherProgram, buildConnectionString(fake.folder.path()));
    otherProgram.Execute(QStringLiteral("PRAGMA locking_mode = EXCLUSIVE;"));
    otherProgram.Execute(QStringLiteral("INSERT INTO Disks(DiskName) VALUES ('CD1');"));

    auto frame = start();
    EXPECT_EQ(frame, nullptr);
    ASSERT_EQ(fake.messages.shown.size(), 1u);
    EXPECT_TRUE(fake.messages.shown[0].text.contains(
        QStringLiteral("\nفهرست در دست برنامه ديگري است. آن برنامه را ببنديد و دوباره امتحان كنيد.\n(")))
        << fake.messages.shown[0].text.toStdString();
}

TEST_F(StartupTest, EachWindowExistsOnceAndShowingItAgainBringsItToTheFront) {
    auto frame = start();
    ASSERT_NE(frame, nullptr);
    click(frame->cmdFind());
    frmFind* find = frame->windows().findWindow();
    ASSERT_NE(find, nullptr);
    EXPECT_EQ(frame->clientArea().activeSubWindow()->widget(), find);

    click(frame->cmdAddnew());
    EXPECT_EQ(frame->clientArea().subWindowList().size(), 2);
    EXPECT_EQ(frame->clientArea().activeSubWindow()->widget(), frame->windows().mainWindow());

    click(frame->cmdFind());
    click(frame->cmdRemDisk());
    click(frame->cmdRemDisk());
    EXPECT_EQ(frame->clientArea().subWindowList().size(), 3);
    EXPECT_EQ(frame->windows().findWindow(), find);
    EXPECT_EQ(frame->clientArea().activeSubWindow()->widget(), frame->windows().deleteWindow());
}

TEST_F(StartupTest, ClosingAWindowUnloadsItAndTheNextShowLoadsItAfresh) {
    auto frame = start();
    ASSERT_NE(frame, nullptr);
    QPointer<frmMain> first = frame->windows().mainWindow();
    first->parentWidget()->close();
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    EXPECT_TRUE(first.isNull());
    EXPECT_EQ(frame->windows().mainWindow(), nullptr);
    EXPECT_TRUE(frame->clientArea().subWindowList().isEmpty());

    click(frame->cmdAddnew());
    ASSERT_NE(frame->windows().mainWindow(), nullptr);
    EXPECT_EQ(frame->clientArea().subWindowList().size(), 1);
}

TEST_F(StartupTest, SettingsOnlySaysItIsToCome) {
    auto frame = start();
    ASSERT_NE(frame, nullptr);
    click(frame->cmdSetting());
    ASSERT_EQ(fake.messages.shown.size(), 1u);
    EXPECT_EQ(fake.messages.shown[0].kind, MessageKind::Information);
    EXPECT_EQ(fake.messages.shown[0].text, QStringLiteral("In future version !"));
    EXPECT_EQ(frame->clientArea().subWindowList().size(), 1);
}

TEST_F(StartupTest, TheAboutWindowIsModalAndItsButtonClosesIt) {
    auto frame = start();
    ASSERT_NE(frame, nullptr);
    frame->activateWindow();
    click(frame->cmdAbout());
    QPointer<frmAbout> about = frame->windows().aboutWindow();
    ASSERT_NE(about, nullptr);
    EXPECT_TRUE(about->isVisible());
    EXPECT_EQ(about->windowTitle(), QStringLiteral("About"));
    EXPECT_TRUE(about->isModal());
    EXPECT_EQ(about->findChild<QWidget*>(QStringLiteral("Picture1"))->size(), QSize(128, 128));
    EXPECT_EQ(about->findChild<QWidget*>(QStringLiteral("Picture2"))->size(), QSize(198, 142));
    EXPECT_EQ(about->findChild<QWidget*>(QStringLiteral("Picture3"))->size(), QSize(340, 142));

    // While it is open the main window's buttons take no clicks.
    click(frame->cmdFind());
    EXPECT_EQ(frame->windows().findWindow(), nullptr);

    EXPECT_EQ(about->cmdDelete()->Caption(), QStringLiteral("بستن"));
    click(about->cmdDelete());
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    EXPECT_TRUE(about.isNull());
    click(frame->cmdFind());
    EXPECT_NE(frame->windows().findWindow(), nullptr);
}

}  // namespace
}  // namespace vt
