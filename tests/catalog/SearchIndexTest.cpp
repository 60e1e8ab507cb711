#include <gtest/gtest.h>
#include <sqlite3.h>

#include <QElapsedTimer>

#include "CatalogueHelpers.h"
#include "catalog/BankListAppender.h"
#include "catalog/SearchIndex.h"
#include "catalog/SearchIndexUpkeep.h"
#include "catalog/SqliteStatement.h"
#include "catalog/Statements.h"

namespace vt {
namespace {

qint64 count(Connection& connection, const QString& sql) {
    SqliteStatement statement(connection.handle(), sql);
    return statement.step() ? statement.column(0).toLongLong() : -1;
}

std::vector<QString> found(Connection& connection, const QString& text) {
    return test::rowsOf(connection, Statements::search(true, QString(), text), true);
}

TEST(SearchIndex, FollowsDiscsAddedAndRemovedRowByRow) {
    test::TempCatalogue catalogue;
    Connection& cn = catalogue.connection;
    test::addDisc(cn, QStringLiteral("CD1"),
                  {QStringLiteral("D:\\Music\\Song.mp3"), QStringLiteral("D:\\Docs\\a.doc")});
    test::addDisc(cn, QStringLiteral("CD2"), {QStringLiteral("D:\\MUSIC\\Other.mp3")});
    test::indexNewRows(cn);
    EXPECT_EQ(found(cn, QStringLiteral("music")).size(), 2u);

    test::removeDisc(cn, QStringLiteral("CD1"));
    EXPECT_EQ(found(cn, QStringLiteral("music")),
              (std::vector<QString>{QStringLiteral("CD2|D:\\MUSIC\\Other.mp3|2")}));
    EXPECT_TRUE(found(cn, QStringLiteral("docs")).empty());
    // The removed rows' entries wait for idle time; the index must still match the table once applied.
    EXPECT_EQ(count(cn, QStringLiteral("SELECT count(*) FROM SearchIndexRemoved")), 2);
    EXPECT_EQ(test::indexProblem(cn), QString());
    EXPECT_EQ(count(cn, QStringLiteral("SELECT count(*) FROM SearchIndexRemoved")), 0);
}

TEST(SearchIndex, RolledBackAddLeavesNothingBehind) {
    test::TempCatalogue catalogue;
    Connection& cn = catalogue.connection;
    {
        Transaction transaction(cn);
        test::execute(cn,
                      QStringLiteral("INSERT INTO BankList(DiskName, FileName, FilePath, FileSize, FileAttr) "
                                     "VALUES ('CD1', 'x.txt', 'D:\\Lost\\x.txt', 1, 'Normal');"));
        // Inside the transaction the new row is found already.
        EXPECT_EQ(found(cn, QStringLiteral("lost")).size(), 1u);
    }
    EXPECT_TRUE(found(cn, QStringLiteral("lost")).empty());
    EXPECT_EQ(test::indexProblem(cn), QString());
}

TEST(SearchIndex, RowBackUnderAnOldRowidIsFoundByItsNewPathOnly) {
    test::TempCatalogue catalogue;
    Connection& cn = catalogue.connection;
    test::addDisc(cn, QStringLiteral("CD1"), {QStringLiteral("D:\\keep.txt")});
    test::addDisc(cn, QStringLiteral("CD2"),
                  {QStringLiteral("D:\\Alpha\\one.txt"), QStringLiteral("D:\\Alpha\\two.txt")});
    test::removeDisc(cn, QStringLiteral("CD2"));
    test::addDisc(cn, QStringLiteral("CD3"),
                  {QStringLiteral("D:\\Beta\\one.txt"), QStringLiteral("D:\\Beta\\two.txt")});
    // The removed disc had the highest rowids, so SQLite handed them out again.
    EXPECT_EQ(count(cn, QStringLiteral("SELECT max(rowid) FROM BankList")), 3);

    EXPECT_TRUE(found(cn, QStringLiteral("alpha")).empty());
    EXPECT_EQ(found(cn, QStringLiteral("beta")).size(), 2u);
    EXPECT_EQ(found(cn, QStringLiteral("one.txt")).size(), 1u);
    EXPECT_EQ(test::indexProblem(cn), QString());
    EXPECT_EQ(found(cn, QStringLiteral("beta")).size(), 2u);
    EXPECT_EQ(found(cn, QStringLiteral("one.txt")).size(), 1u);
}

TEST(SearchIndex, FollowsUpdatedAndReplacedRows) {
    test::TempCatalogue catalogue;
    Connection& cn = catalogue.connection;
    test::addDisc(cn, QStringLiteral("CD1"),
                  {QStringLiteral("D:\\old\\a.txt"), QStringLiteral("D:\\old\\b.txt")});
    test::execute(cn, QStringLiteral("UPDATE BankList SET FilePath = 'D:\\fresh\\a.txt' WHERE rowid = 1;"));
    test::execute(
        cn, QStringLiteral("INSERT OR REPLACE INTO BankList(rowid, DiskName, FilePath) VALUES (2, 'CD1', "
                           "'D:\\swapped\\b.txt');"));
    EXPECT_TRUE(found(cn, QStringLiteral("old")).empty());
    EXPECT_EQ(found(cn, QStringLiteral("fresh")).size(), 1u);
    EXPECT_EQ(found(cn, QStringLiteral("swapped")).size(), 1u);
    EXPECT_EQ(test::indexProblem(cn), QString());
}

TEST(SearchIndex, PathsWithZeroAndStrayBytesKeepTheIndexSound) {
    test::TempCatalogue catalogue;
    Connection& cn = catalogue.connection;
    // D:\a<NUL>b<0xFF>bz  and  D:\ab<0xC3>  (cut short in the middle of a character)
    test::execute(
        cn, QStringLiteral(
                "INSERT INTO BankList(DiskName, FilePath) VALUES "
                "('CD1', CAST(X'443A5C610062FF627A' AS TEXT)), ('CD1', CAST(X'443A5C6162C3' AS TEXT));"));
    test::removeDisc(cn, QStringLiteral("CD1"));
    test::execute(cn, QStringLiteral("INSERT INTO BankList(DiskName, FilePath) VALUES ('CD2', 'D:\\bz');"));
    EXPECT_EQ(test::indexProblem(cn), QString());
    EXPECT_EQ(found(cn, QStringLiteral("bz")).size(), 1u);
}

TEST(SearchIndex, RowsWaitingForTheIndexAreFoundFromTheTableMeanwhile) {
    test::TempCatalogue catalogue;
    Connection& cn = catalogue.connection;
    test::addDisc(cn, QStringLiteral("CD1"), {QStringLiteral("D:\\Music\\a.mp3")});
    test::indexNewRows(cn);
    test::addDisc(cn, QStringLiteral("CD2"),
                  {QStringLiteral("D:\\Music\\b.mp3"), QStringLiteral("D:\\Music\\c.mp3"),
                   QStringLiteral("D:\\Docs\\d.doc")});
    EXPECT_EQ(SearchIndex::pendingRows(cn.handle()), 3);
    const std::vector<QString> all = {QStringLiteral("CD1|D:\\Music\\a.mp3|0"),
                                      QStringLiteral("CD2|D:\\Music\\b.mp3|1"),
                                      QStringLiteral("CD2|D:\\Music\\c.mp3|2")};
    EXPECT_EQ(found(cn, QStringLiteral("music")), all);
    // Half indexed, half not: still every row once, in rowid order, and the cap counts both parts.
    test::indexNewRows(cn, 1);
    EXPECT_EQ(SearchIndex::pendingRows(cn.handle()), 2);
    EXPECT_EQ(found(cn, QStringLiteral("music")), all);
    EXPECT_EQ(test::rowsOf(cn, QStringLiteral("Select top 2 * from BankList where(FilePath Like '%music%');"),
                           true),
              std::vector<QString>(all.begin(), all.begin() + 2));
    EXPECT_EQ(found(cn, QStringLiteral("Mu")), all) << "two characters go through the index too";

    // Of a disc removed half indexed, only the indexed row leaves entries for the index to take out.
    test::removeDisc(cn, QStringLiteral("CD2"));
    EXPECT_EQ(count(cn, QStringLiteral("SELECT count(*) FROM SearchIndexRemoved")), 1);
    EXPECT_EQ(found(cn, QStringLiteral("music")), std::vector<QString>{all[0]});
    EXPECT_EQ(test::indexProblem(cn), QString());
}

TEST(SearchIndex, AppendedRowsGoAboveTheCoverageAndTheInsertTriggerIsBackWhetherTheyLandOrNot) {
    test::TempCatalogue catalogue;
    Connection& cn = catalogue.connection;
    const QString triggers =
        QStringLiteral("SELECT count(*) FROM sqlite_master WHERE name = 'BankList_IndexInsert'");
    test::addDisc(cn, QStringLiteral("CD1"), {QStringLiteral("D:\\a.txt"), QStringLiteral("D:\\b.txt")});
    test::indexNewRows(cn);
    test::removeDisc(cn, QStringLiteral("CD1"));  // the top rows go; the mark stays at 2
    test::addDisc(cn, QStringLiteral("CD2"), {QStringLiteral("D:\\c.txt")});
    EXPECT_EQ(count(cn, QStringLiteral("SELECT min(rowid) FROM BankList")), 3) << "not under the mark";
    EXPECT_EQ(count(cn, triggers), 1);
    {
        Transaction failing(cn);
        BankListAppender appender(cn);
        // Looked at by the writer, which has the connection to itself while the rows go in.
        qint64 triggersWhileWriting = -1;
        appender.runBeforeEachBatch([&] { triggersWhileWriting = count(cn, triggers); });
        appender.append({QStringLiteral("CD3"), QStringLiteral("d.txt"), QStringLiteral("D:\\d.txt"), 1,
                         QString(), std::nullopt});
        appender.finish();
        EXPECT_EQ(triggersWhileWriting, 0) << "set aside while the rows go in";
    }
    EXPECT_EQ(count(cn, triggers), 1);
    EXPECT_EQ(count(cn, QStringLiteral("SELECT count(*) FROM BankList")), 1);
    // A row written under the mark the plain way is indexed at once.
    test::execute(
        cn, QStringLiteral("INSERT INTO BankList(rowid, DiskName, FilePath) VALUES (1, 'CD4', 'D:\\e.txt')"));
    EXPECT_EQ(found(cn, QStringLiteral("e.txt")).size(), 1u);
    EXPECT_EQ(test::indexProblem(cn), QString());
}

TEST(SearchIndex, IdleUpkeepIndexesAppliesRemovalsAndMergesUntilTidy) {
    test::TempCatalogue catalogue;
    Connection& cn = catalogue.connection;
    for (int d = 0; d < 12; ++d) {
        test::addDisc(
            cn, QStringLiteral("CD%1").arg(d),
            {QStringLiteral("D:\\disc%1\\a.txt").arg(d), QStringLiteral("D:\\disc%1\\b.txt").arg(d)});
        test::indexNewRows(cn);
    }
    test::removeDisc(cn, QStringLiteral("CD3"));
    test::addDisc(cn, QStringLiteral("CD12"), {QStringLiteral("D:\\disc12\\a.txt")});
    const QString segments = QStringLiteral("SELECT count(DISTINCT segid) FROM BankListPaths_idx");
    const qint64 segmentsBefore = count(cn, segments);
    EXPECT_GE(segmentsBefore, 12);  // indexing each disc leaves its segment unmerged

    SearchIndexUpkeep upkeep(cn);
    {
        // Never inside someone else's transaction.
        Transaction transaction(cn);
        EXPECT_FALSE(upkeep.step());
    }
    int steps = 0;
    while (upkeep.step() && steps < 100) ++steps;
    EXPECT_GT(steps, 0);
    EXPECT_LT(count(cn, segments), segmentsBefore);
    EXPECT_EQ(count(cn, QStringLiteral("SELECT count(*) FROM SearchIndexRemoved")), 0);
    EXPECT_EQ(SearchIndex::pendingRows(cn.handle()), 0);

    // Tidy and unchanged: no work, and not a single write.
    const int changes = sqlite3_total_changes(cn.handle());
    EXPECT_FALSE(upkeep.step());
    EXPECT_FALSE(upkeep.step());
    EXPECT_EQ(sqlite3_total_changes(cn.handle()), changes);
    EXPECT_EQ(test::indexProblem(cn), QString());
    EXPECT_EQ(found(cn, QStringLiteral("disc11")).size(), 2u);
    EXPECT_TRUE(found(cn, QStringLiteral("disc3")).empty());
}

TEST(SearchIndex, UpkeepIndexesWhatAnotherConnectionAddedAndNeverWaitsForIt) {
    test::TempCatalogue catalogue;
    SearchIndexUpkeep upkeep(catalogue.connection);
    EXPECT_FALSE(upkeep.step());

    Connection scan;
    openCatalogue(scan, catalogue.connection.connectionString());
    test::addDisc(scan, QStringLiteral("CD1"), {QStringLiteral("D:\\Music\\a.mp3")});
    scan.BeginTrans();  // the next scan holds the catalogue
    QElapsedTimer clock;
    clock.start();
    EXPECT_FALSE(upkeep.step());
    EXPECT_LT(clock.elapsed(), 1000) << "upkeep gives way at once";
    scan.CommitTrans();

    while (upkeep.step()) {
    }
    EXPECT_EQ(SearchIndex::pendingRows(catalogue.connection.handle()), 0);
    EXPECT_EQ(found(catalogue.connection, QStringLiteral("music")).size(), 1u);
}

}  // namespace
}  // namespace vt
