#include <gtest/gtest.h>
#include <sqlite3.h>

#include <QFile>
#include <QTemporaryDir>

#include "CatalogueHelpers.h"
#include "catalog/CatalogSchema.h"
#include "catalog/DiscTree.h"

namespace vt {
namespace {

std::vector<QString> fileNames(const DiscFolder& folder) {
    std::vector<QString> names;
    for (const DiscFile& file : folder.files) names.push_back(file.name);
    return names;
}

using Names = std::vector<QString>;

TEST(DiscTree, FoldersComeFromThePathsWithAnyNameAndOnlyTheirOwnRows) {
    test::TempCatalogue catalogue;
    Connection& cn = catalogue.connection;
    const QString persian = QStringLiteral("موسيقي ايراني");
    const QString quoted = QStringLiteral("آلبوم \"دوم\"");
    test::addDisc(
        cn, QStringLiteral("CD1"),
        {QStringLiteral("D:\\") + persian + QStringLiteral("\\آهنگ يك.mp3"),
         QStringLiteral("D:\\") + persian + QStringLiteral("\\") + quoted + QStringLiteral("\\قطعه 2.mp3"),
         QStringLiteral("D:\\O'Brien's files\\a b.txt"),
         // "data" is a file here and a folder below docs.
         QStringLiteral("D:\\data"), QStringLiteral("D:\\docs\\data\\x.txt"),
         // Names that sort right beside the folder "a": before and after its backslash.
         QStringLiteral("D:\\a b\\c.txt"), QStringLiteral("D:\\a\\d.txt"), QStringLiteral("D:\\a]\\e.txt"),
         QStringLiteral("D:\\a!.txt"), QStringLiteral("D:\\ab.txt"), QStringLiteral("D:\\a%\\_.txt")});
    // Another disc with a folder of the same path, and a disc whose name is a wildcard pattern of the first.
    test::addDisc(cn, QStringLiteral("CD2"), {QStringLiteral("D:\\a\\other.txt")});
    test::addDisc(cn, QStringLiteral("CD_"), {QStringLiteral("D:\\a\\pattern.txt")});
    test::execute(cn, QStringLiteral("INSERT INTO BankList(DiskName, FileName, FilePath, FileSize, FileAttr, "
                                     "FileModified) VALUES ('CD1', 'dated.txt', 'D:\\a\\dated.txt', 7, "
                                     "'Normal', 1551694830)"));

    const DiscTree tree(cn, QStringLiteral("CD1"));
    EXPECT_EQ(tree.root(), QStringLiteral("D:\\"));
    const DiscFolder root = tree.list(QStringLiteral("D:\\"));
    EXPECT_EQ(root.folders,
              (Names{QStringLiteral("O'Brien's files"), QStringLiteral("a b"), QStringLiteral("a%"),
                     QStringLiteral("a"), QStringLiteral("a]"), QStringLiteral("docs"), persian}));
    EXPECT_EQ(fileNames(root),
              (Names{QStringLiteral("a!.txt"), QStringLiteral("ab.txt"), QStringLiteral("data")}));

    const DiscFolder a = tree.list(QStringLiteral("D:\\a\\"));
    EXPECT_TRUE(a.folders.empty());
    ASSERT_EQ(fileNames(a), (Names{QStringLiteral("d.txt"), QStringLiteral("dated.txt")}));
    EXPECT_EQ(a.files[0].path, QStringLiteral("D:\\a\\d.txt"));
    EXPECT_EQ(a.files[0].attributes, QStringLiteral("ArchiveNormal"));
    EXPECT_FALSE(a.files[0].modified.has_value());
    EXPECT_EQ(a.files[1].modified, std::optional<qint64>(1551694830));
    EXPECT_EQ(a.files[1].size, 7.0);

    const DiscFolder docs = tree.list(QStringLiteral("D:\\docs\\"));
    EXPECT_EQ(docs.folders, Names{QStringLiteral("data")});
    EXPECT_TRUE(docs.files.empty());
    EXPECT_EQ(fileNames(tree.list(QStringLiteral("D:\\docs\\data\\"))), Names{QStringLiteral("x.txt")});
    EXPECT_TRUE(tree.list(QStringLiteral("D:\\data\\")).files.empty());

    const QString music = QStringLiteral("D:\\") + persian + QStringLiteral("\\");
    EXPECT_EQ(tree.list(music).folders, Names{quoted});
    EXPECT_EQ(fileNames(tree.list(music)), Names{QStringLiteral("آهنگ يك.mp3")});
    EXPECT_EQ(fileNames(tree.list(music + quoted + QStringLiteral("\\"))),
              Names{QStringLiteral("قطعه 2.mp3")});
    EXPECT_EQ(fileNames(tree.list(QStringLiteral("D:\\O'Brien's files\\"))),
              Names{QStringLiteral("a b.txt")});
    EXPECT_EQ(fileNames(tree.list(QStringLiteral("D:\\a%\\"))), Names{QStringLiteral("_.txt")});

    // Above the root: the root itself, as a folder.
    EXPECT_EQ(tree.list(QString()).folders, Names{QStringLiteral("D:")});

    Names below;
    tree.forEachFile(music, [&](const DiscFile& file) { below.push_back(file.path); });
    EXPECT_EQ(below, (Names{music + quoted + QStringLiteral("\\قطعه 2.mp3"),
                            music + QStringLiteral("آهنگ يك.mp3")}));
    EXPECT_EQ(DiscTree::folderOf(QStringLiteral("D:\\docs\\data\\x.txt")),
              QStringLiteral("D:\\docs\\data\\"));

    const std::optional<DiscFacts> facts = tree.facts();
    ASSERT_TRUE(facts.has_value());
    EXPECT_EQ(facts->fileCount, QStringLiteral("11"));
    EXPECT_FALSE(DiscTree(cn, QStringLiteral("CD%")).facts().has_value());
    EXPECT_TRUE(DiscTree(cn, QStringLiteral("CD%")).list(QStringLiteral("D:\\")).folders.empty());
}

TEST(DiscTree, ADiscTwoHundredFoldersDeepIsWalkedLevelByLevel) {
    test::TempCatalogue catalogue;
    QString deepest = QStringLiteral("D:\\");
    for (int level = 0; level < 200; ++level) deepest += QStringLiteral("level %1\\").arg(level);
    test::addDisc(catalogue.connection, QStringLiteral("Deep"),
                  {QStringLiteral("D:\\top.txt"), deepest + QStringLiteral("bottom.txt")});

    const DiscTree tree(catalogue.connection, QStringLiteral("Deep"));
    QString folder = tree.root();
    for (int level = 0; level < 200; ++level) {
        const DiscFolder listing = tree.list(folder);
        ASSERT_EQ(listing.folders, Names{QStringLiteral("level %1").arg(level)}) << level;
        ASSERT_EQ(listing.files.size(), level == 0 ? 1u : 0u) << level;
        folder += listing.folders.front() + QStringLiteral("\\");
    }
    EXPECT_EQ(folder, deepest);
    const DiscFolder bottom = tree.list(folder);
    EXPECT_TRUE(bottom.folders.empty());
    EXPECT_EQ(fileNames(bottom), Names{QStringLiteral("bottom.txt")});
}

TEST(DiscTree, AnOlderCatalogueOpenedOnlyForReadingIsListedWithoutDates) {
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("Mydb.mdb"));
    // A catalogue of version 1, which reading leaves as it is.
    sqlite3* db = nullptr;
    ASSERT_EQ(sqlite3_open(QFile::encodeName(path).constData(), &db), SQLITE_OK);
    const std::string sql =
        "CREATE TABLE Disks (DiskName TEXT, SerialNo TEXT, DiskSize TEXT, FileCount TEXT);"
        "CREATE TABLE BankList (DiskName TEXT, FileName TEXT, FilePath TEXT, FileSize REAL, FileAttr TEXT);"
        "CREATE INDEX BankList_DiskName ON BankList(DiskName);"
        "INSERT INTO Disks VALUES ('CD1', '1', '1 bytes', '2');"
        "INSERT INTO BankList VALUES ('CD1', 'a.txt', 'D:\\x\\a.txt', 1, 'Normal'),"
        "                            ('CD1', 'b.txt', 'D:\\b.txt', 2, 'Normal');"
        "PRAGMA user_version = 1; PRAGMA application_id = " +
        std::to_string(CatalogSchema::kApplicationId) + ";";
    ASSERT_EQ(sqlite3_exec(db, sql.c_str(), nullptr, nullptr, nullptr), SQLITE_OK) << sqlite3_errmsg(db);
    sqlite3_close(db);

    Connection reader;
    openCatalogue(reader, QStringLiteral("Provider=Microsoft.Jet.OLEDB.4.0;data source=") + path,
                  CatalogueAccess::ReadOnly);
    {
        const DiscTree tree(reader, QStringLiteral("CD1"));
        const DiscFolder root = tree.list(tree.root());
        EXPECT_EQ(root.folders, Names{QStringLiteral("x")});
        ASSERT_EQ(fileNames(root), Names{QStringLiteral("b.txt")});
        EXPECT_FALSE(root.files[0].modified.has_value());
        EXPECT_EQ(root.files[0].size, 2.0);
        EXPECT_FALSE(tree.facts()->cataloguedAt.has_value());
    }
}

}  // namespace
}  // namespace vt
