#include <QFile>

#include "catalog/SearchIndex.h"
#include "catalog/SqliteStatement.h"
#include "cli/CliFixture.h"

namespace vt::test {
namespace {

class CheckCommand : public CliFixture {
  protected:
    // Breaks the catalogue with `sql`, as a crash, a bug or another program might have.
    void tamper(const QString& sql) {
        Connection cn;
        openCatalogue(cn, buildConnectionString(folder.path()));
        cn.Execute(sql);
    }

    // Indexes the rows waiting for the path index, as the program does in idle time.
    void indexForSearch() {
        Connection cn;
        openCatalogue(cn, buildConnectionString(folder.path()));
        Transaction step(cn);
        SearchIndex::catchUp(cn.handle(), 1000000);
        step.commit();
    }

    // Where the b-tree page of `indexName` starts in the file.
    qint64 pageOffset(const QString& indexName) {
        Connection cn;
        openCatalogue(cn, buildConnectionString(folder.path()));
        SqliteStatement root(cn.handle(),
                             QStringLiteral("SELECT rootpage, (SELECT page_size FROM pragma_page_size) FROM "
                                            "sqlite_master WHERE name = '%1'")
                                 .arg(indexName));
        if (!root.step()) return -1;
        return (root.column(0).toLongLong() - 1) * root.column(1).toLongLong();
    }
};

TEST_F(CheckCommand, ASoundCatalogueHoldsAndEachBrokenRuleIsNamed) {
    catalogue(QStringLiteral("CD1"), {QStringLiteral("D:\\a\\one.txt"), QStringLiteral("D:\\a\\two.txt")});
    catalogue(QStringLiteral("CD2"), {QStringLiteral("D:\\b.txt")});
    ASSERT_EQ(run({QStringLiteral("check")}), 0) << outText.toStdString() << errText.toStdString();
    EXPECT_TRUE(outText.contains(QStringLiteral("2 discs, 3 file rows"))) << outText.toStdString();
    EXPECT_TRUE(outText.contains(QStringLiteral("Everything holds")));

    tamper(QStringLiteral(
        "UPDATE Disks SET FileCount = '7' WHERE DiskName = 'CD2';"
        "INSERT INTO BankList(DiskName, FileName, FilePath, FileSize, FileAttr) VALUES ('Lost', 'x', "
        "'D:\\x', 1, 'Normal');"
        "INSERT INTO Disks(DiskName, SerialNo, DiskSize, FileCount) VALUES ('CD1', '1', '2', '2');"));
    EXPECT_EQ(run({QStringLiteral("check")}), 1);
    EXPECT_TRUE(outText.contains(QStringLiteral("disc 'CD2' records 7 files but has 1 file rows")))
        << outText.toStdString();
    EXPECT_TRUE(outText.contains(QStringLiteral("1 file rows belong to no catalogued disc (named 'Lost')")));
    EXPECT_TRUE(outText.contains(QStringLiteral("2 discs share the name 'CD1'")));
}

TEST_F(CheckCommand, AnIndexThatMissesOrKeepsEntriesIsAProblem) {
    catalogue(QStringLiteral("CD1"),
              {QStringLiteral("D:\\music\\song.mp3"), QStringLiteral("D:\\notes.txt")});
    indexForSearch();
    ASSERT_EQ(run({QStringLiteral("check")}), 0) << outText.toStdString();
    // The rows of CD1 were written with the index's triggers in place; a removal leaves its entries
    // waiting for idle upkeep, which is in order.
    tamper(
        QStringLiteral("DELETE FROM BankList WHERE FilePath = 'D:\\notes.txt';"
                       "UPDATE Disks SET FileCount = '1';"));
    ASSERT_EQ(run({QStringLiteral("check")}), 0) << outText.toStdString();

    tamper(
        QStringLiteral("INSERT INTO BankListPaths(BankListPaths, rowid, FilePath) SELECT 'delete', rowid, "
                       "FilePath FROM BankList;"));
    EXPECT_EQ(run({QStringLiteral("check")}), 1);
    EXPECT_TRUE(outText.contains(QStringLiteral("the path index lacks"))) << outText.toStdString();
}

TEST_F(CheckCommand, ADamagedFileIsReportedAndNeverChanged) {
    catalogue(QStringLiteral("CD1"), {QStringLiteral("D:\\a.txt")});
    const qint64 page = pageOffset(QStringLiteral("BankList_DiskName"));
    ASSERT_GT(page, 0);
    QFile file(folder.filePath(QStringLiteral("Mydb.mdb")));
    ASSERT_TRUE(file.open(QIODevice::ReadWrite));
    file.seek(page);
    file.write(QByteArray(64, '\xff'));  // the page header and its cell pointers
    file.close();
    const QByteArray damaged = [&] {
        file.open(QIODevice::ReadOnly);
        return file.readAll();
    }();
    file.close();

    EXPECT_EQ(run({QStringLiteral("check")}), 1) << errText.toStdString();
    EXPECT_TRUE(outText.contains(QStringLiteral("problem: damaged file:"))) << outText.toStdString();
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    EXPECT_EQ(file.readAll(), damaged);
}

}  // namespace
}  // namespace vt::test
