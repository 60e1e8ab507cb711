#include <gtest/gtest.h>
#include <sqlite3.h>

#include <QFile>
#include <QTemporaryDir>

#include "CatalogueHelpers.h"
#include "catalog/CatalogError.h"
#include "catalog/CatalogSchema.h"
#include "catalog/ConnectionString.h"
#include "catalog/SearchIndex.h"
#include "catalog/SqliteStatement.h"
#include "catalog/Statements.h"

namespace vt {
namespace {

// A catalogue as the first version of the program wrote it, with `rows` files on two discs.
void writeVersion1(const QString& path, int rows, const char* extraSql = "") {
    sqlite3* db = nullptr;
    ASSERT_EQ(sqlite3_open(QFile::encodeName(path).constData(), &db), SQLITE_OK);
    std::string sql =
        "BEGIN;"
        "CREATE TABLE Disks (DiskName TEXT, SerialNo TEXT, DiskSize TEXT, FileCount TEXT);"
        "CREATE TABLE BankList (DiskName TEXT, FileName TEXT, FilePath TEXT, FileSize REAL, FileAttr TEXT);"
        "CREATE INDEX BankList_DiskName ON BankList(DiskName);"
        "CREATE INDEX Disks_DiskName ON Disks(DiskName);"
        "INSERT INTO Disks(DiskName, SerialNo, DiskSize, FileCount) VALUES ('CD1', '1', '1 bytes', '1'), "
        "('CD2', '2', '2 bytes', '2');"
        "PRAGMA user_version = 1;"
        "PRAGMA application_id = " +
        std::to_string(CatalogSchema::kApplicationId) + ";";
    sql += extraSql;
    ASSERT_EQ(sqlite3_exec(db, sql.c_str(), nullptr, nullptr, nullptr), SQLITE_OK) << sqlite3_errmsg(db);
    sqlite3_stmt* insert = nullptr;
    sqlite3_prepare_v2(db,
                       "INSERT INTO BankList(DiskName, FileName, FilePath, FileSize, FileAttr) VALUES (?1, "
                       "'f.txt', ?2, ?3, 'Normal')",
                       -1, &insert, nullptr);
    for (int i = 0; i < rows; ++i) {
        const QByteArray disc = i % 2 ? "CD2" : "CD1";
        // Arabic yeh and kaf as old catalogues hold them, and Latin names in mixed case.
        const QByteArray filePath =
            (i % 3 ? QStringLiteral("D:\\Folder%1\\File%2.TXT").arg(i % 50).arg(i)
                   : QStringLiteral("D:\\\u0643\u062A\u0627\u0628\u0647\u0627\u064A %1\\f.txt").arg(i))
                .toUtf8();
        sqlite3_bind_text(insert, 1, disc.constData(), -1, SQLITE_TRANSIENT);
        sqlite3_bind_text(insert, 2, filePath.constData(), -1, SQLITE_TRANSIENT);
        sqlite3_bind_int(insert, 3, i);
        sqlite3_step(insert);
        sqlite3_reset(insert);
    }
    sqlite3_finalize(insert);
    ASSERT_EQ(sqlite3_exec(db, "COMMIT;", nullptr, nullptr, nullptr), SQLITE_OK);
    sqlite3_close(db);
}

qint64 scalar(sqlite3* db, const char* sql) {
    SqliteStatement statement(db, QString::fromLatin1(sql));
    return statement.step() ? statement.column(0).toLongLong() : -1;
}

TEST(Migration, Version1CatalogueGetsItsIndexOnFirstOpenWithProgress) {
    QTemporaryDir dir;
    writeVersion1(dir.path() + QStringLiteral("/Mydb.mdb"), 120000);
    Connection connection;
    connection.setConnectionString(buildConnectionString(dir.path()));
    std::vector<std::pair<qint64, qint64>> reports;
    connection.Open([&](qint64 done, qint64 total) { reports.emplace_back(done, total); });

    EXPECT_EQ(scalar(connection.handle(), "PRAGMA user_version"), CatalogSchema::kVersion);
    // Every row and disc is kept, with its fields where they were; dates and disc facts are not known.
    EXPECT_EQ(scalar(connection.handle(),
                     "SELECT count(*) FROM BankList WHERE FileModified IS NULL AND "
                     "FileName = 'f.txt' AND FileAttr = 'Normal' AND FileSize = rowid - 1"),
              120000);
    EXPECT_EQ(scalar(connection.handle(),
                     "SELECT count(*) FROM Disks WHERE VolumeLabel IS NULL AND "
                     "FileSystem IS NULL AND CataloguedAt IS NULL AND DiskSize = "
                     "SerialNo || ' bytes'"),
              2);
    // Reported from nothing to everything, never backwards, in several steps.
    ASSERT_GE(reports.size(), 3u);
    EXPECT_EQ(reports.front().first, 0);
    EXPECT_EQ(reports.back().first, reports.back().second);
    for (size_t i = 1; i < reports.size(); ++i) {
        EXPECT_GE(reports[i].first, reports[i - 1].first);
        EXPECT_EQ(reports[i].second, reports.front().second);
    }
    EXPECT_EQ(test::indexProblem(connection), QString());
    // Persian kaf and yeh typed, Arabic ones recorded: found through the index as by the table.
    for (const QString& text :
         {QStringLiteral("\u06A9\u062A\u0627\u0628\u0647\u0627\u06CC 3"), QStringLiteral("file7")}) {
        for (const bool allDiscs : {true, false}) {
            const QString statement = Statements::search(allDiscs, QStringLiteral("CD2"), text);
            const auto indexed = test::rowsOf(connection, statement, true);
            EXPECT_FALSE(indexed.empty());
            EXPECT_EQ(indexed, test::rowsOf(connection, statement, false));
        }
    }

    // Opening it again builds nothing.
    connection.Close();
    bool rebuilt = false;
    connection.Open([&](qint64, qint64) { rebuilt = true; });
    EXPECT_FALSE(rebuilt);
}

TEST(Migration, FailedUpgradeLeavesTheCatalogueAsItWas) {
    QTemporaryDir dir;
    const QString path = dir.path() + QStringLiteral("/Mydb.mdb");
    // A name the upgrade needs is taken, so it fails half-way.
    writeVersion1(path, 10, "CREATE TABLE SearchIndexLayout (x);");
    Connection connection;
    connection.setConnectionString(buildConnectionString(dir.path()));
    EXPECT_THROW(connection.Open(), CatalogOpenError);

    sqlite3* db = nullptr;
    ASSERT_EQ(sqlite3_open(QFile::encodeName(path).constData(), &db), SQLITE_OK);
    EXPECT_EQ(scalar(db, "PRAGMA user_version"), 1);
    EXPECT_EQ(scalar(db, "SELECT count(*) FROM BankList"), 10);
    EXPECT_EQ(
        scalar(db, "SELECT count(*) FROM sqlite_master WHERE name LIKE 'BankListPaths%' OR type = 'trigger'"),
        0);
    sqlite3_close(db);
}

TEST(Migration, NewerCatalogueIsRefusedUntouched) {
    QTemporaryDir dir;
    const QString path = dir.path() + QStringLiteral("/Mydb.mdb");
    const std::string newer = "PRAGMA user_version = " + std::to_string(CatalogSchema::kVersion + 1) + ";";
    writeVersion1(path, 5, newer.c_str());
    Connection connection;
    connection.setConnectionString(buildConnectionString(dir.path()));
    try {
        connection.Open();
        FAIL() << "a catalogue of a newer version was opened";
    } catch (const CatalogOpenError& error) {
        EXPECT_EQ(error.reason(), CatalogOpenError::Reason::UnknownVersion);
    }
    sqlite3* db = nullptr;
    ASSERT_EQ(sqlite3_open(QFile::encodeName(path).constData(), &db), SQLITE_OK);
    EXPECT_EQ(scalar(db, "SELECT count(*) FROM sqlite_master WHERE name LIKE 'BankListPaths%'"), 0);
    sqlite3_close(db);
}

TEST(Migration, IndexBuiltWithOtherTokensIsRebuilt) {
    // Built under an older Unicode (some character without its fold yet), under the folds before Persian
    // letter forms and marks, or before the end mark: either way rows would be missing from the index, as if
    // it were empty.
    for (const QString& layout :
         {QStringLiteral("UnicodeVersion = 1"), QStringLiteral("UnicodeVersion = UnicodeVersion % 1000"),
          QStringLiteral("TokenKinds = 1")}) {
        test::TempCatalogue catalogue;
        test::addDisc(catalogue.connection, QStringLiteral("CD1"), {QStringLiteral("D:\\a\\Report.doc")});
        test::execute(catalogue.connection,
                      QStringLiteral("UPDATE SearchIndexLayout SET %1;"
                                     "INSERT INTO BankListPaths(BankListPaths) VALUES ('delete-all');")
                          .arg(layout));
        catalogue.connection.Close();
        bool rebuilt = false;
        catalogue.connection.Open([&](qint64, qint64) { rebuilt = true; });
        EXPECT_TRUE(rebuilt) << layout.toStdString();
        EXPECT_EQ(test::rowsOf(catalogue.connection,
                               Statements::search(true, QString(), QStringLiteral("report")), true)
                      .size(),
                  1u);
        EXPECT_EQ(test::indexProblem(catalogue.connection), QString());
    }
}

TEST(Migration, IndexWithEarlierMergeSettingsIsRetunedWithoutRebuilding) {
    test::TempCatalogue catalogue;
    test::addDisc(catalogue.connection, QStringLiteral("CD1"), {QStringLiteral("D:\\a\\Report.doc")});
    EXPECT_TRUE(SearchIndex::isTuned(catalogue.connection.handle()));
    // As earlier versions left it: FTS5's default forced merge.
    test::execute(catalogue.connection,
                  QStringLiteral("DELETE FROM BankListPaths_config WHERE k = 'crisismerge';"));
    EXPECT_FALSE(SearchIndex::isTuned(catalogue.connection.handle()));
    catalogue.connection.Close();
    bool rebuilt = false;
    catalogue.connection.Open([&](qint64, qint64) { rebuilt = true; });
    EXPECT_FALSE(rebuilt);
    EXPECT_TRUE(SearchIndex::isTuned(catalogue.connection.handle()));
    EXPECT_EQ(test::rowsOf(catalogue.connection,
                           Statements::search(true, QString(), QStringLiteral("report")), true)
                  .size(),
              1u);
}

TEST(Migration, CompleteIndexOfVersion2CoversItsRowsAndTheRemovedRowsItStillLists) {
    test::TempCatalogue catalogue;
    Connection& cn = catalogue.connection;
    test::addDisc(cn, QStringLiteral("CD1"), {QStringLiteral("D:\\Keep\\a.txt")});
    test::addDisc(cn, QStringLiteral("CD2"),
                  {QStringLiteral("D:\\Gone\\b.txt"), QStringLiteral("D:\\Gone\\c.txt")});
    test::indexNewRows(cn);
    // The top rows go; their entries wait in the index for idle time.
    test::removeDisc(cn, QStringLiteral("CD2"));
    // As version 2 left a catalogue: every row indexed as written, nothing telling how far.
    test::execute(cn, QStringLiteral("DROP TABLE SearchIndexCoverage; PRAGMA user_version = 2;"));
    cn.Close();
    cn.Open();
    EXPECT_EQ(scalar(cn.handle(), "PRAGMA user_version"), CatalogSchema::kVersion);
    EXPECT_EQ(scalar(cn.handle(), "SELECT IndexedUpTo FROM SearchIndexCoverage"), 3);

    // Rowid 2 is handed out again: its old entries must not bring the row in a second time.
    test::execute(
        cn, QStringLiteral(
                "INSERT INTO Disks(DiskName, SerialNo, DiskSize, FileCount) VALUES ('CD3','3','1 bytes','1');"
                "INSERT INTO BankList(DiskName, FileName, FilePath, FileSize, FileAttr) VALUES "
                "('CD3','d.txt','D:\\Gone\\d.txt',7,'Normal');"));
    test::addDisc(cn, QStringLiteral("CD4"), {QStringLiteral("D:\\Gone\\e.txt")});
    const QString search = Statements::search(true, QString(), QStringLiteral("gone"));
    EXPECT_EQ(test::rowsOf(cn, search, true),
              (std::vector<QString>{QStringLiteral("CD3|D:\\Gone\\d.txt|7"),
                                    QStringLiteral("CD4|D:\\Gone\\e.txt|8")}));
    EXPECT_EQ(test::rowsOf(cn, search, true), test::rowsOf(cn, search, false));
    EXPECT_EQ(test::indexProblem(cn), QString());
}

TEST(Migration, NewCatalogueHasTheIndexFromTheStart) {
    test::TempCatalogue catalogue;
    EXPECT_EQ(scalar(catalogue.connection.handle(), "PRAGMA user_version"), CatalogSchema::kVersion);
    test::addDisc(catalogue.connection, QStringLiteral("CD1"), {QStringLiteral("D:\\x\\Song.MP3")});
    EXPECT_EQ(test::rowsOf(catalogue.connection,
                           Statements::search(true, QString(), QStringLiteral("song.mp3")), true)
                  .size(),
              1u);
}

}  // namespace
}  // namespace vt
