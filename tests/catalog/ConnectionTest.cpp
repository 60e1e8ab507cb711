#include <gtest/gtest.h>
#include <sqlite3.h>
#include <sys/stat.h>
#include <unistd.h>

#include <QCryptographicHash>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <QTemporaryDir>

#include "catalog/CatalogError.h"
#include "catalog/Connection.h"
#include "catalog/ConnectionString.h"
#include "catalog/Recordset.h"
#include "catalog/Statements.h"
#include "support/MountedImage.h"

namespace vt {
namespace {

using Reason = CatalogOpenError::Reason;

TEST(ConnectionString, IsBuiltFromTheFourPieces) {
    EXPECT_EQ(buildConnectionString(QStringLiteral("C:\\Tools")),
              QStringLiteral("Provider=Microsoft.Jet.OLEDB.4.0;data source=C:\\Tools\\Mydb.mdb;;"
                             "Jet OLEDB:Database Password=tandrimo"));
    EXPECT_EQ(buildConnectionString(QStringLiteral("C:\\")),
              QStringLiteral("Provider=Microsoft.Jet.OLEDB.4.0;data source=C:\\\\Mydb.mdb;;"
                             "Jet OLEDB:Database Password=tandrimo"));
}

TEST(ConnectionString, DataSourceBecomesANativePath) {
    EXPECT_EQ(dataSourcePath(buildConnectionString(QStringLiteral("/opt/vellumtrove"))),
              QStringLiteral("/opt/vellumtrove/Mydb.mdb"));
    EXPECT_EQ(dataSourcePath(buildConnectionString(QStringLiteral("/"))), QStringLiteral("/Mydb.mdb"));
    EXPECT_EQ(dataSourcePath(QStringLiteral("Provider=x;Password=y")), QString());
}

QByteArray digest(const QString& path) {
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) return {};
    return QCryptographicHash::hash(file.readAll(), QCryptographicHash::Sha256);
}

class OpeningTest : public ::testing::Test {
  protected:
    QString path() const { return folder.path() + QStringLiteral("/Mydb.mdb"); }

    Reason openFails() {
        Connection cn;
        cn.setConnectionString(buildConnectionString(folder.path()));
        try {
            cn.Open();
        } catch (const CatalogOpenError& e) {
            EXPECT_EQ(e.path(), path());
            EXPECT_EQ(cn.State(), 0);
            return e.reason();
        }
        ADD_FAILURE() << "the catalogue opened";
        return Reason::CannotOpen;
    }

    void writeFile(const QByteArray& bytes) {
        QFile file(path());
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
        file.write(bytes);
    }

    QTemporaryDir folder;
};

TEST_F(OpeningTest, AMissingCatalogueIsCreatedWithTheTwoTables) {
    {
        Connection cn;
        cn.setConnectionString(buildConnectionString(folder.path()));
        cn.Open();
        EXPECT_EQ(cn.State(), 1);
        Recordset rs;
        rs.Open(Statements::allDisks(), cn);
        EXPECT_EQ(rs.fieldCount(), 7);
        rs.Close();
        rs.Open(Statements::bankListForAppend(), cn);
        EXPECT_EQ(rs.fieldCount(), 6);
    }
    EXPECT_TRUE(QFile::exists(path()));
    // No staging file is left beside it.
    EXPECT_EQ(QDir(folder.path()).entryList({QStringLiteral("*.new-*")}, QDir::Files).size(), 0);
    // Reopening finds the same catalogue.
    Connection again;
    again.setConnectionString(buildConnectionString(folder.path()));
    EXPECT_NO_THROW(again.Open());
}

TEST_F(OpeningTest, GarbageIsRefusedAndLeftAsItWas) {
    writeFile(QByteArray("Standard Jet DB\0\0\0 garbage that an old program wrote", 50));
    const QByteArray before = digest(path());
    EXPECT_EQ(openFails(), Reason::NotACatalogue);
    EXPECT_EQ(digest(path()), before);
}

TEST_F(OpeningTest, AnEmptyFileIsRefusedAndLeftAsItWas) {
    writeFile(QByteArray());
    EXPECT_EQ(openFails(), Reason::NotACatalogue);
    EXPECT_EQ(QFileInfo(path()).size(), 0);
}

TEST_F(OpeningTest, AnotherProgramsSqliteDatabaseIsRefusedUntouched) {
    sqlite3* db = nullptr;
    ASSERT_EQ(sqlite3_open(QFile::encodeName(path()).constData(), &db), SQLITE_OK);
    sqlite3_exec(db, "CREATE TABLE notes(x); INSERT INTO notes VALUES (1);", nullptr, nullptr, nullptr);
    sqlite3_close(db);
    const QByteArray before = digest(path());
    EXPECT_EQ(openFails(), Reason::NotACatalogue);
    EXPECT_EQ(digest(path()), before);
}

TEST_F(OpeningTest, ACatalogueOfANewerVersionIsRefusedUntouched) {
    {
        Connection cn;
        cn.setConnectionString(buildConnectionString(folder.path()));
        cn.Open();
        cn.Execute(QStringLiteral("PRAGMA user_version = 999;"));
    }
    const QByteArray before = digest(path());
    EXPECT_EQ(openFails(), Reason::UnknownVersion);
    EXPECT_EQ(digest(path()), before);
}

TEST_F(OpeningTest, ACorruptCatalogueIsRefusedUntouched) {
    {
        Connection cn;
        cn.setConnectionString(buildConnectionString(folder.path()));
        cn.Open();
        cn.Execute(QStringLiteral("PRAGMA journal_mode=DELETE;"));
    }
    QFile file(path());
    ASSERT_TRUE(file.open(QIODevice::ReadWrite));
    file.seek(100);
    file.write(QByteArray(4000, '\x5a'));  // the schema page is trampled
    file.close();
    const QByteArray before = digest(path());
    EXPECT_EQ(openFails(), Reason::NotACatalogue);
    EXPECT_EQ(digest(path()), before);
}

TEST_F(OpeningTest, ReadOnlyFileAndFolderAreReported) {
    if (::geteuid() == 0) GTEST_SKIP() << "root ignores file permissions";
    {
        Connection cn;
        cn.setConnectionString(buildConnectionString(folder.path()));
        cn.Open();
    }
    QFile::remove(path() + QStringLiteral("-wal"));
    QFile::remove(path() + QStringLiteral("-shm"));
    ::chmod(QFile::encodeName(path()).constData(), 0444);
    EXPECT_EQ(openFails(), Reason::ReadOnlyFile);
    ::chmod(QFile::encodeName(path()).constData(), 0644);
    ::chmod(QFile::encodeName(folder.path()).constData(), 0555);
    EXPECT_EQ(openFails(), Reason::FolderNotWritable);
    ::chmod(QFile::encodeName(folder.path()).constData(), 0755);
}

TEST_F(OpeningTest, AMissingCatalogueInAnUnwritableFolderIsReported) {
    const QString missingFolder = folder.path() + QStringLiteral("/no/such/folder");
    Connection cn;
    cn.setConnectionString(buildConnectionString(missingFolder));
    try {
        cn.Open();
        FAIL() << "opened";
    } catch (const CatalogOpenError& e) {
        EXPECT_EQ(e.reason(), Reason::FolderNotWritable);
        EXPECT_EQ(e.path(), missingFolder + QStringLiteral("/Mydb.mdb"));
    }
}

TEST_F(OpeningTest, TransactionsRollBackUnlessCommitted) {
    Connection cn;
    cn.setConnectionString(buildConnectionString(folder.path()));
    cn.Open();
    {
        Transaction t(cn);
        cn.Execute(QStringLiteral(
            "INSERT INTO Disks(DiskName, SerialNo, DiskSize, FileCount) VALUES ('A','1','2','3');"));
    }
    {
        Transaction t(cn);
        cn.Execute(QStringLiteral(
            "INSERT INTO Disks(DiskName, SerialNo, DiskSize, FileCount) VALUES ('B','1','2','3');"));
        t.commit();
    }
    EXPECT_FALSE(cn.inTransaction());
    Recordset rs;
    rs.Open(Statements::allDisks(), cn);
    ASSERT_EQ(rs.RecordCount(), 1);
    rs.MoveFirst();
    EXPECT_EQ(rs.Fields(0).Value().toString(), QStringLiteral("B"));
}

}  // namespace
}  // namespace vt

namespace vt {
namespace {

TEST(ReadOnlyOpening, NeverCreatesNorWrites) {
    QTemporaryDir folder;
    const QString path = folder.path() + QStringLiteral("/Mydb.mdb");
    Connection missing;
    missing.setConnectionString(buildConnectionString(folder.path()));
    EXPECT_THROW(missing.OpenReadOnly(), CatalogOpenError);
    EXPECT_FALSE(QFile::exists(path));

    {
        Connection cn;
        cn.setConnectionString(buildConnectionString(folder.path()));
        cn.Open();
        cn.Execute(QStringLiteral(
            "INSERT INTO Disks(DiskName, SerialNo, DiskSize, FileCount) VALUES ('CD1','1','2','3');"));
    }
    Connection reader;
    reader.setConnectionString(buildConnectionString(folder.path()));
    reader.OpenReadOnly();
    Recordset rs;
    rs.Open(Statements::allDisks(), reader);
    EXPECT_EQ(rs.RecordCount(), 1);
    EXPECT_THROW(reader.Execute(QStringLiteral("DELETE FROM Disks;")), CatalogError);
}

}  // namespace
}  // namespace vt

namespace vt {
namespace {

// What a plain SQLite program sees when it opens the catalogue, counts its discs and closes it again: the
// count, or -1 when it could not.
int disksSeenByAnotherProgram(const QString& path) {
    QProcess sqlite;
    sqlite.start(QStringLiteral("sqlite3"), {path, QStringLiteral("SELECT count(*) FROM Disks;")});
    if (!sqlite.waitForFinished(30000) || sqlite.exitCode() != 0) return -1;
    bool ok = false;
    const int count = sqlite.readAllStandardOutput().trimmed().toInt(&ok);
    return ok ? count : -1;
}

// POSIX locks belong to the process, not the descriptor: opening and closing the catalogue file by any
// other means than SQLite while a connection is open drops that connection's locks, and another program
// closing the catalogue then deletes the log the open connection still writes to. Its rows are lost.
TEST(TwoPrograms, ASecondConnectionKeepsTheFirstOnesLocksAndRows) {
    QTemporaryDir folder;
    const QString path = folder.path() + QStringLiteral("/Mydb.mdb");
    Connection main;
    main.setConnectionString(buildConnectionString(folder.path()));
    main.Open();
    Connection scan;  // opened later, as the first scan does
    scan.setConnectionString(main.connectionString());
    scan.Open();
    Connection reader;
    reader.setConnectionString(main.connectionString());
    reader.OpenReadOnly();

    EXPECT_EQ(disksSeenByAnotherProgram(path), 0);
    EXPECT_TRUE(QFile::exists(path + QStringLiteral("-wal"))) << "another program's close removed the log";
    main.Execute(QStringLiteral(
        "INSERT INTO Disks(DiskName, SerialNo, DiskSize, FileCount) VALUES ('CD1','1','2','3');"));
    scan.Execute(QStringLiteral(
        "INSERT INTO Disks(DiskName, SerialNo, DiskSize, FileCount) VALUES ('CD2','1','2','3');"));
    EXPECT_EQ(disksSeenByAnotherProgram(path), 2);
}

// A catalogue kept on a disc or a read-only share is read as it is, and a failure names its real cause.
TEST(ReadOnlyMedia, ACatalogueOnADiscIsReadAndRefusesOnlyWriting) {
    const QString reason = test::MountedImage::unavailableReason();
    if (!reason.isEmpty()) GTEST_SKIP() << reason.toStdString();
    QTemporaryDir tree;
    {
        Connection cn;
        cn.setConnectionString(buildConnectionString(tree.path()));
        cn.Open();
        cn.Execute(QStringLiteral(
            "INSERT INTO Disks(DiskName, SerialNo, DiskSize, FileCount) VALUES ('CD1','1','2','3');"));
    }
    ASSERT_FALSE(QFile::exists(tree.filePath(QStringLiteral("Mydb.mdb-wal"))));
    test::MountedImage disc(tree.path(), QStringLiteral("CATALOGUE"));
    ASSERT_TRUE(disc.error().isEmpty()) << disc.error().toStdString();

    Connection reader;
    reader.setConnectionString(buildConnectionString(disc.mountPoint()));
    reader.OpenReadOnly();
    Recordset rs;
    rs.Open(Statements::allDisks(), reader);
    EXPECT_EQ(rs.RecordCount(), 1);

    Connection writer;
    writer.setConnectionString(buildConnectionString(disc.mountPoint()));
    try {
        writer.Open();
        ADD_FAILURE() << "a catalogue on a disc opened for writing";
    } catch (const CatalogOpenError& e) {
        EXPECT_NE(e.reason(), Reason::NotACatalogue) << e.detail().toStdString();
    }
}

// Reading leaves the folder as it was found: no log or shared-memory file stays behind.
TEST(ReadOnlyOpening, LeavesNoFilesBehind) {
    QTemporaryDir folder;
    {
        Connection cn;
        cn.setConnectionString(buildConnectionString(folder.path()));
        cn.Open();
    }
    const QStringList before = QDir(folder.path()).entryList(QDir::Files);
    {
        Connection reader;
        reader.setConnectionString(buildConnectionString(folder.path()));
        reader.OpenReadOnly();
        Recordset rs;
        rs.Open(Statements::allDisks(), reader);
        EXPECT_THROW(reader.Execute(QStringLiteral("DELETE FROM Disks;")), CatalogError);
    }
    EXPECT_EQ(QDir(folder.path()).entryList(QDir::Files), before);
}

}  // namespace
}  // namespace vt
