// A removal lands whole or not at all, and neither undoes nor is undone by other work on the shared
// connection, such as a scan that writes between its yields to the event loop.
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

// The scan's own recordsets, written row by row between yields as the user removes another disc.
TEST_F(RemovalTransaction, ARemovalBetweenTheRowsOfAScanKeepsBoth) {
    addDisk(QStringLiteral("Old"), 4);
    openWindow();

    context.rsDisks.Open(Statements::disksNamedLike(QStringLiteral("New")), context.cnCatalog);
    ASSERT_EQ(context.rsDisks.RecordCount(), 0);
    context.rsDisks.AddNew();
    context.rsDisks.Fields(0).setValue(QStringLiteral("New"));
    context.rsBankList.Open(Statements::bankListForAppend(), context.cnCatalog);
    auto recordFile = [&](int i) {
        context.rsBankList.AddNew();
        context.rsBankList.Fields(0).setValue(QStringLiteral("New"));
        context.rsBankList.Fields(1).setValue(QStringLiteral("n%1").arg(i));
        context.rsBankList.Update();
    };
    recordFile(0);
    recordFile(1);

    choose(0);
    clickDelete();
    ASSERT_EQ(disksNamed(QStringLiteral("Old")), 0);

    recordFile(2);
    context.rsDisks.Fields(3).setValue(QStringLiteral("3"));
    context.rsDisks.Update();

    EXPECT_EQ(filesOf(QStringLiteral("Old")), 0);
    EXPECT_EQ(disksNamed(QStringLiteral("Old")), 0);
    EXPECT_EQ(filesOf(QStringLiteral("New")), 3);
    EXPECT_EQ(disksNamed(QStringLiteral("New")), 1);
}

// A scan that stages its rows in a temporary table and moves them over in one short transaction at
// the end: a removal committed in between must not come back, and the staged rows must all arrive.
TEST_F(RemovalTransaction, ARemovalWhileAScanStagesItsRowsIsNotUndoneByTheScansCommit) {
    addDisk(QStringLiteral("Old"), 4);
    addDisk(QStringLiteral("Kept"), 2);
    openWindow();

    context.cnCatalog.Execute(QStringLiteral("CREATE TEMP TABLE staged AS SELECT * FROM BankList WHERE 0;"));
    context.cnCatalog.Execute(QStringLiteral("INSERT INTO staged VALUES ('New','a','D:\\a',1,'Normal');"));
    choose(entries().indexOf(QStringLiteral("Old")));
    clickDelete();
    context.cnCatalog.Execute(QStringLiteral("INSERT INTO staged VALUES ('New','b','D:\\b',2,'Normal');"));
    EXPECT_EQ(count(QStringLiteral("SELECT count(*) FROM staged")), 2);

    {
        Transaction scanEnd(context.cnCatalog);
        context.cnCatalog.Execute(
            QStringLiteral("INSERT INTO BankList SELECT * FROM staged;"
                           "INSERT INTO Disks VALUES ('New','1','2 bytes','2');"));
        scanEnd.commit();
    }
    EXPECT_EQ(filesOf(QStringLiteral("Old")), 0);
    EXPECT_EQ(disksNamed(QStringLiteral("Old")), 0);
    EXPECT_EQ(filesOf(QStringLiteral("New")), 2);
    EXPECT_EQ(filesOf(QStringLiteral("Kept")), 2);
}

}  // namespace
}  // namespace vt::test
