#include <QDir>
#include <QFile>

#include "catalog/Recordset.h"
#include "cli/CliFixture.h"

namespace vt {
namespace {

class DriveCommands : public test::CliFixture {
  protected:
    void SetUp() override {
        ASSERT_TRUE(disc.isValid());
        write(QStringLiteral("a.txt"), 3);
        write(QStringLiteral("b.txt"), 5);
        write(QStringLiteral("dir/c.txt"), 7);
        test::FakeDriveTable::Drive drive;
        drive.folder = disc.path();
        drive.space = {700000000, 0};
        drive.volume = {QStringLiteral("MUSIC"), QStringLiteral("iso9660"), 0x80000000u};
        drives.add(QLatin1Char('E'), drive);
    }

    void write(const QString& relative, int bytes) {
        const QString path = disc.path() + QLatin1Char('/') + relative;
        QDir().mkpath(QFileInfo(path).absolutePath());
        QFile file(path);
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
        file.write(QByteArray(bytes, 'x'));
    }

    QStringList column(const QString& sql, int field) {
        Connection cn;
        openCatalogue(cn, buildConnectionString(folder.path()));
        Recordset rs;
        rs.Open(sql, cn);
        QStringList values;
        for (long i = 0; i < rs.RecordCount(); ++i) {
            values << rs.Fields(field).Value().toString();
            rs.MoveNext();
        }
        return values;
    }

    QTemporaryDir disc;
};

TEST_F(DriveCommands, DrivesListsTheOpticalDrivesAsTheWindowShowsThem) {
    test::FakeDriveTable::Drive hardDisk;
    hardDisk.type = 3;
    hardDisk.folder = disc.path();
    drives.add(QLatin1Char('C'), hardDisk);
    ASSERT_EQ(run({QStringLiteral("drives")}), 0);
    const QStringList lines = outLines();
    ASSERT_EQ(lines.size(), 2);
    EXPECT_EQ(lines[1],
              QStringLiteral("E:\\\\\t%1\tMUSIC\t700,000,000 bytes\tiso9660\t-2147483648").arg(disc.path()));
    drives.remove(QLatin1Char('E'));
    EXPECT_EQ(run({QStringLiteral("drives")}), 1);
}

TEST_F(DriveCommands, ScanCataloguesTheDiscWithTheWindowsRules) {
    ASSERT_EQ(run({QStringLiteral("scan"), QStringLiteral("e:"), QStringLiteral("Music 1")}), 0)
        << errText.toStdString();
    EXPECT_TRUE(outText.contains(QStringLiteral("Catalogued 3 files")));
    EXPECT_EQ(column(QStringLiteral("select * from Disks;"), 3), QStringList{QStringLiteral("3")});
    EXPECT_EQ(column(QStringLiteral("select * from Disks;"), 1), QStringList{QStringLiteral("-2147483648")});
    EXPECT_EQ(column(QStringLiteral("select * from BankList;"), 2),
              (QStringList{QStringLiteral("E:\\a.txt"), QStringLiteral("E:\\b.txt"),
                           QStringLiteral("E:\\dir\\c.txt")}));
    // Searches find the new rows at once; the path index takes them in when asked to.
    const QString covered =
        QStringLiteral("select IndexedUpTo >= (select max(rowid) from BankList) from SearchIndexCoverage;");
    EXPECT_EQ(column(covered, 0), QStringList{QStringLiteral("0")});
    ASSERT_EQ(run({QStringLiteral("search"), QStringLiteral("C.TXT")}), 0) << errText.toStdString();
    EXPECT_TRUE(outText.contains(QStringLiteral("E:\\\\dir\\\\c.txt"))) << outText.toStdString();
    ASSERT_EQ(run({QStringLiteral("index")}), 0) << errText.toStdString();
    EXPECT_EQ(outText, QStringLiteral("Indexed 3 files.\n"));
    EXPECT_EQ(column(covered, 0), QStringList{QStringLiteral("1")});
    ASSERT_EQ(run({QStringLiteral("index")}), 0);
    EXPECT_EQ(outText, QStringLiteral("Indexed 0 files.\n"));

    // The same name in another case is taken; so is one the like comparison matches.
    EXPECT_EQ(run({QStringLiteral("scan"), QStringLiteral("E:\\"), QStringLiteral("MUSIC 1")}), 1);
    EXPECT_EQ(run({QStringLiteral("scan"), QStringLiteral("E:"), QStringLiteral("Music _")}), 1);
    EXPECT_TRUE(errText.contains(QStringLiteral("already catalogued")));
    EXPECT_EQ(column(QStringLiteral("select * from BankList;"), 0).size(), 3);
}

TEST_F(DriveCommands, EmptyOrMissingDrivesAndBadRootsAreRefused) {
    EXPECT_EQ(run({QStringLiteral("scan"), QStringLiteral("F:"), QStringLiteral("X")}), 1);
    EXPECT_TRUE(errText.contains(QStringLiteral("no disc in F:\\")));
    test::FakeDriveTable::Drive empty;
    empty.folder = disc.path();
    drives.add(QLatin1Char('G'), empty);
    EXPECT_EQ(run({QStringLiteral("scan"), QStringLiteral("G:"), QStringLiteral("X")}), 1);
    EXPECT_EQ(run({QStringLiteral("scan"), QStringLiteral("/mnt/cdrom"), QStringLiteral("X")}), 2);
    EXPECT_EQ(run({QStringLiteral("scan"), QStringLiteral("E:")}), 2);
}

TEST_F(DriveCommands, AnEmptyOrBlankNameIsRefusedAndNoCatalogueIsMade) {
    for (const QString& name : {QString(), QStringLiteral("  \t ")}) {
        EXPECT_EQ(run({QStringLiteral("scan"), QStringLiteral("E:"), name}), 1);
        EXPECT_TRUE(errText.contains(QStringLiteral("disc name is empty"))) << errText.toStdString();
    }
    EXPECT_FALSE(QFile::exists(folder.path() + QStringLiteral("/Mydb.mdb")));
}

TEST_F(DriveCommands, UnreadableFilesAreSkippedAndCounted) {
    fileSystem.unmeasurable.insert(QStringLiteral("E:\\b.txt"));
    ASSERT_EQ(run({QStringLiteral("scan"), QStringLiteral("E:"), QStringLiteral("CD")}), 0)
        << errText.toStdString();
    EXPECT_TRUE(outText.contains(QStringLiteral("1 could not be read")));
    EXPECT_EQ(column(QStringLiteral("select * from Disks;"), 3), QStringList{QStringLiteral("2")});
}

TEST_F(DriveCommands, ADiscThatGoesAwayDuringTheScanIsNotCataloguedAndExitsWithFive) {
    fileSystem.mediumGoneDuring.insert(QStringLiteral("E:\\dir\\"));
    EXPECT_EQ(run({QStringLiteral("scan"), QStringLiteral("E:"), QStringLiteral("CD")}), 5);
    EXPECT_TRUE(errText.contains(QStringLiteral("removed or became unreadable"))) << errText.toStdString();
    EXPECT_TRUE(errText.contains(QStringLiteral("nothing of it was catalogued"))) << errText.toStdString();
    EXPECT_TRUE(outText.isEmpty()) << outText.toStdString();
    EXPECT_TRUE(column(QStringLiteral("select * from Disks;"), 0).isEmpty());
    EXPECT_TRUE(column(QStringLiteral("select * from BankList;"), 0).isEmpty());

    // The help and the overview tell the code.
    ASSERT_EQ(run({QStringLiteral("scan"), QStringLiteral("--help")}), 0);
    EXPECT_TRUE(outText.contains(QStringLiteral("exit code 5"))) << outText.toStdString();
    ASSERT_EQ(run({QStringLiteral("--help")}), 0);
    EXPECT_TRUE(outText.contains(QStringLiteral("5 the disc was removed or became unreadable")))
        << outText.toStdString();
}

}  // namespace
}  // namespace vt
