// A removal lands whole or not at all, and neither undoes nor is undone by other work on the catalogue,
// such as a scan that holds it while yielding to the event loop.
#include <sqlite3.h>

#include <QElapsedTimer>

#include "RemovalFixture.h"
#include "catalog/CatalogError.h"
#include "catalog/Statements.h"
#include "remove/DiskRemoval.h"

namespace vt::test {
namespace {

const QString kFailedPrefix = QStringLiteral("حذف ديسك انجام نشد");
const QString kBusyPrefix = QStringLiteral("عمليات ديگري روي فهرست");

using RemovalTransaction = RemovalFixture;

TEST_F(RemovalTransaction, AFailureAtAnyStepRollsBothTablesBackAndTellsTheUser) {
    const struct {
        const char* name;
        const char* trigger;
    } failures[] = {
        {"disc row refused",
         "CREATE TEMP TRIGGER refuse BEFORE DELETE ON main.Disks BEGIN SELECT RAISE(ABORT, 'refused'); END;"},
        {"third file row refused",
         "CREATE TEMP TRIGGER refuse BEFORE DELETE ON main.BankList WHEN old.FileName = 'file2' "
         "BEGIN SELECT RAISE(ABORT, 'refused'); END;"},
    };
    addDisk(QStringLiteral("Music1"), 5);
    addDisk(QStringLiteral("Photos"), 2);
    openWindow();
    for (const auto& failure : failures) {
        SCOPED_TRACE(failure.name);
        context.cnCatalog.Execute(QString::fromLatin1(failure.trigger));
        platform.messages.clear();
        choose(0);
        clickDelete();

        ASSERT_EQ(platform.messages.shown.size(), 2u);
        EXPECT_EQ(platform.messages.shown[1].kind, MessageKind::Information);
        EXPECT_TRUE(platform.messages.shown[1].text.startsWith(kFailedPrefix));
        EXPECT_FALSE(context.cnCatalog.inTransaction());
        EXPECT_EQ(filesOf(QStringLiteral("Music1")), 5);
        EXPECT_EQ(disksNamed(QStringLiteral("Music1")), 1);
        EXPECT_EQ(filesOf(QStringLiteral("Photos")), 2);
        // The list and the choice stay as they were, ready for another try.
        EXPECT_EQ(entries(), QStringList({"Music1", "Photos"}));
        EXPECT_EQ(form->Label1(4).text(), QStringLiteral("Music1"));
        context.cnCatalog.Execute(QStringLiteral("DROP TRIGGER refuse;"));
    }
    clickDelete();
    EXPECT_EQ(filesOf(QStringLiteral("Music1")), 0);
    EXPECT_EQ(disksNamed(QStringLiteral("Music1")), 0);
}

TEST_F(RemovalTransaction, AnEngineFailureIsToldByItsCauseWithTheEnginesOwnTextAsADetail) {
    addDisk(QStringLiteral("Music1"), 3);
    openWindow();
    choose(0);
    const QString removalFailed = QStringLiteral("حذف ديسك انجام نشد و هيچ اطلاعاتي از فهرست پاك نشد.");

    // Another program holds the catalogue for writing.
    Connection otherProgram;
    openCatalogue(otherProgram, context.cnCatalog.connectionString());
    otherProgram.BeginTrans();
    sqlite3_busy_timeout(db(), 0);
    clickDelete();
    otherProgram.RollbackTrans();
    ASSERT_EQ(platform.messages.shown.size(), 2u);
    EXPECT_EQ(platform.messages.shown[1].text,
              removalFailed + QStringLiteral("\nفهرست در دست برنامه ديگري است. آن برنامه را ببنديد و دوباره "
                                             "امتحان كنيد.\n(database is locked)"));

    // The catalogue cannot be written.
    platform.messages.clear();
    context.cnCatalog.Execute(QStringLiteral("PRAGMA query_only = 1;"));
    clickDelete();
    ASSERT_EQ(platform.messages.shown.size(), 2u);
    EXPECT_TRUE(platform.messages.shown[1].text.startsWith(
        removalFailed + QStringLiteral("\nفايل فهرست يا پوشه آن فقط خواندني است و نمي توان در آن نوشت.\n(")))
        << platform.messages.shown[1].text.toStdString();
    EXPECT_EQ(filesOf(QStringLiteral("Music1")), 3);
}

TEST_F(RemovalTransaction, AnOpenTransactionOfOtherWorkIsNeitherJoinedNorRolledBack) {
    addDisk(QStringLiteral("Music1"), 3);
    openWindow();
    choose(0);

    context.cnCatalog.BeginTrans();
    addFiles(QStringLiteral("Pending"), 2);
    clickDelete();
    ASSERT_EQ(platform.messages.shown.size(), 2u);
    EXPECT_TRUE(platform.messages.shown[1].text.startsWith(kBusyPrefix));
    EXPECT_TRUE(context.cnCatalog.inTransaction());
    context.cnCatalog.CommitTrans();

    EXPECT_EQ(filesOf(QStringLiteral("Pending")), 2);
    EXPECT_EQ(filesOf(QStringLiteral("Music1")), 3);
    EXPECT_EQ(disksNamed(QStringLiteral("Music1")), 1);
    EXPECT_EQ(form->Label1(4).text(), QStringLiteral("Music1"));

    EXPECT_THROW(
        {
            Transaction other(context.cnCatalog);
            removeDisk(context.cnCatalog, QStringLiteral("Music1"));
        },
        CatalogError);
    EXPECT_EQ(filesOf(QStringLiteral("Music1")), 3);
}

TEST_F(RemovalTransaction, NoTransactionIsOpenWhileTheQuestionWaitsForAnAnswer) {
    addDisk(QStringLiteral("Music1"), 3);
    openWindow();
    choose(0);
    bool open = true;
    // While the box is open the event loop runs; a scan may write a row meanwhile.
    platform.messages.whileShown = [&](const FakeMessageService::Shown&) {
        open = context.cnCatalog.inTransaction();
        addFiles(QStringLiteral("Scanning"), 1);
    };
    clickDelete();
    EXPECT_FALSE(open);
    EXPECT_FALSE(context.cnCatalog.inTransaction());
    EXPECT_EQ(filesOf(QStringLiteral("Scanning")), 1);
    EXPECT_EQ(filesOf(QStringLiteral("Music1")), 0);
}

// A scan holds the catalogue on a connection of its own from its name test to its last row.
TEST_F(RemovalTransaction, ARemovalWhileAScanHoldsTheCatalogueIsTurnedAwayAtOnce) {
    addDisk(QStringLiteral("Old"), 4);
    openWindow();
    choose(0);
    openCatalogue(context.cnScan, context.cnCatalog.connectionString());
    context.cnScan.BeginTrans();
    context.cnScan.Execute(
        QStringLiteral("INSERT INTO BankList(DiskName, FileName, FilePath, FileSize, FileAttr) VALUES "
                       "('New','a','D:\\a',1,'Normal');"));

    QElapsedTimer clock;
    clock.start();
    clickDelete();
    EXPECT_LT(clock.elapsed(), 2000) << "no wait for the scan, which needs this very event loop to go on";
    ASSERT_EQ(platform.messages.shown.size(), 2u);
    EXPECT_TRUE(platform.messages.shown[1].text.startsWith(kBusyPrefix));
    EXPECT_TRUE(context.cnScan.inTransaction());
    context.cnScan.CommitTrans();
    EXPECT_EQ(filesOf(QStringLiteral("Old")), 4);
    EXPECT_EQ(filesOf(QStringLiteral("New")), 1);

    platform.messages.clear();
    clickDelete();
    EXPECT_EQ(filesOf(QStringLiteral("Old")), 0);
    EXPECT_EQ(disksNamed(QStringLiteral("Old")), 0);
}

}  // namespace
}  // namespace vt::test
