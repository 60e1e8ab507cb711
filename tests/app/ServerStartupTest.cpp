#include <gtest/gtest.h>

#include <QComboBox>
#include <QFile>
#include <QLabel>
#include <QLineEdit>
#include <QTest>
#include <QTreeWidget>

#include "app/MDIForm1.h"
#include "app/Startup.h"
#include "app/WindowRegistry.h"
#include "app/frmAbout.h"
#include "catalog/Connection.h"
#include "catalog/postgres/PgConnectionString.h"
#include "remove/frmDelete.h"
#include "search/frmFind.h"
#include "support/CatalogueEngines.h"
#include "support/TestPlatform.h"
#include "window/AppContext.h"
#include "window/DiscUpdateFlow.h"

namespace vt {
namespace {

// The window program on a catalogue that its settings file puts on a PostgreSQL server.
class ServerStartup : public ::testing::Test {
  protected:
    void SetUp() override {
        ASSERT_TRUE(fake.folder.isValid());
        VT_SKIP_WITHOUT_SERVER(test::Engine::Server);
        address = test::freshCatalogueAddress(test::Engine::Server, fake.folder);
        ASSERT_FALSE(address.isEmpty());
    }

    void writeSettings(const QString& text) {
        QFile file(fake.folder.path() + QStringLiteral("/vellumtrove.conf"));
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
        file.write(text.toUtf8());
    }

    test::TestPlatform fake;
    AppContext context{fake.platform()};
    QString address;
};

TEST_F(ServerStartup, TheProgramRunsOnTheServerItsSettingsNameAndSearchesAndRemovesThere) {
    writeSettings(QStringLiteral("# shared by the office\ncatalog=") + address + QLatin1Char('\n'));
    {
        Connection colleague;
        openCatalogue(colleague, address);
        colleague.Execute(
            QStringLiteral("INSERT INTO Disks (DiskName, SerialNo, DiskSize, FileCount) VALUES ('Music "
                           "2009', '7', '1 bytes', '1');"
                           "INSERT INTO BankList (DiskName, FileName, FilePath, FileSize, FileAttr) VALUES "
                           "('Music 2009', 'song.mp3', 'D:\\Rock\\song.mp3', 1000, 'ArchiveNormal');"));
    }

    auto frame = startUp(context);
    ASSERT_NE(frame, nullptr) << fake.messages.texts().join(QLatin1Char('\n')).toStdString();
    EXPECT_TRUE(fake.messages.shown.empty());
    EXPECT_NE(context.cnCatalog.server(), nullptr);
    EXPECT_EQ(context.cnCatalog.databasePath(), describeServerCatalogue(address));
    EXPECT_FALSE(QFile::exists(fake.catalogPath()));
    // The scans' own connection opens on the same server.
    EXPECT_NE(scanConnection(context).server(), nullptr);
    // Idle moments pass (the file's index upkeep would look for work now) and the program stays up.
    QTest::qWait(2200);

    frmFind& find = frame->windows().showFind();
    find.findChild<QLineEdit*>(QStringLiteral("Text1"))->setText(QStringLiteral("ROCK"));
    find.cmdDelete_Click();
    const QTreeWidget* results = find.findChild<QTreeWidget*>(QStringLiteral("ListView1"));
    ASSERT_EQ(results->topLevelItemCount(), 1);
    EXPECT_EQ(results->topLevelItem(0)->text(1), QStringLiteral("Music 2009"));

    frmDelete& removal = frame->windows().showDelete();
    const int entry = removal.Combo1().findText(QStringLiteral("Music 2009"));
    removal.Combo1().setCurrentIndex(entry);
    emit removal.Combo1().activated(entry);
    removal.cmdDelete_Click();
    EXPECT_EQ(removal.Combo1().count(), 0);
    find.cmdDelete_Click();
    EXPECT_EQ(results->topLevelItemCount(), 0);

    // The about window names the server, and the file that chose it.
    frmAbout& about = frame->windows().showAbout(frame.get());
    const QString told = about.lblCatalogue()->toolTip();
    EXPECT_TRUE(told.contains(describeServerCatalogue(address))) << told.toStdString();
    EXPECT_TRUE(told.contains(context.settingsFile)) << told.toStdString();
    about.close();
}

TEST_F(ServerStartup, AServerThatCannotBeReachedStopsStartUpNamingItAndTheSettingsFile) {
    const QString nowhere = QStringLiteral("postgresql:///vt?host=") + fake.folder.path() +
                            QStringLiteral("/no-server-here&user=nobody&connect_timeout=2");
    writeSettings(QStringLiteral("catalog=") + nowhere + QLatin1Char('\n'));
    EXPECT_EQ(startUp(context), nullptr);
    ASSERT_EQ(fake.messages.shown.size(), 1u);
    const QString& text = fake.messages.shown[0].text;
    EXPECT_TRUE(text.startsWith(QStringLiteral("فهرست ديسكها باز نشد")));
    EXPECT_TRUE(text.contains(describeServerCatalogue(nowhere))) << text.toStdString();
    EXPECT_TRUE(text.contains(QStringLiteral("سرور فهرست در دسترس نيست"))) << text.toStdString();
    EXPECT_TRUE(text.contains(fake.folder.path() + QStringLiteral("/vellumtrove.conf")));
    EXPECT_FALSE(QFile::exists(fake.catalogPath()));
}

}  // namespace
}  // namespace vt
