#include <QRegularExpression>

#include "catalog/Connection.h"
#include "catalog/Statements.h"
#include "cli/CliFixture.h"
#include "scan/DriveDetails.h"
#include "support/CatalogueEngines.h"

namespace vt {
namespace {

using test::Engine;

// The reading commands print the same from a catalogue file and from a catalogue on a server, named by
// --catalog either way.
class ListingEngines : public test::CliFixture, public ::testing::WithParamInterface<Engine> {
  protected:
    void SetUp() override {
        VT_SKIP_WITHOUT_SERVER(GetParam());
        address = test::freshCatalogueAddress(GetParam(), folder);
        ASSERT_FALSE(address.isEmpty());
    }

    void catalogueOn(const QString& disk, const QStringList& paths) {
        Connection cn;
        openCatalogue(cn, test::connectionStringFor(address));
        cn.Execute(QStringLiteral("INSERT INTO Disks(DiskName, SerialNo, DiskSize, FileCount, CataloguedAt) "
                                  "VALUES ('%1', '-5', '1,024 bytes', '%2', 0);")
                       .arg(Statements::quoted(disk))
                       .arg(paths.size()));
        for (const QString& path : paths) {
            cn.Execute(
                QStringLiteral("INSERT INTO BankList(DiskName, FileName, FilePath, FileSize, FileAttr) "
                               "VALUES ('%1', '%2', '%3', 5368709120, 'Normal');")
                    .arg(Statements::quoted(disk), Statements::quoted(path.section(QLatin1Char('\\'), -1)),
                         Statements::quoted(path)));
        }
    }

    void execute(const QString& sql) {
        Connection cn;
        openCatalogue(cn, test::connectionStringFor(address));
        cn.Execute(sql);
    }

    int runOn(QStringList words) {
        words << QStringLiteral("--catalog") << address;
        return run(words);
    }

    QString address;
};

TEST_P(ListingEngines, DisksAndSearchPrintTheSameFromEitherEngine) {
    catalogueOn(QStringLiteral("CD1"),
                {QStringLiteral("D:\\Music\\A.MP3"), QStringLiteral("D:\\doc\\b.txt")});
    catalogueOn(QStringLiteral("Bob's CD"), {QStringLiteral("E:\\mp3\\c.ogg")});

    ASSERT_EQ(runOn({QStringLiteral("disks")}), 0) << errText.toStdString();
    EXPECT_EQ(outLines(),
              (QStringList{QStringLiteral("name\tserial\tsize\tfiles\tlabel\tfilesystem\tcatalogued"),
                           QStringLiteral("CD1\t-5\t1,024 bytes\t2\t\t\t1970-01-01T00:00:00Z"),
                           QStringLiteral("Bob's CD\t-5\t1,024 bytes\t1\t\t\t1970-01-01T00:00:00Z")}));

    ASSERT_EQ(runOn({QStringLiteral("search"), QStringLiteral("mp3")}), 0) << errText.toStdString();
    EXPECT_EQ(outLines(), (QStringList{QStringLiteral("path\tdisc\tsize"),
                                       QStringLiteral("D:\\\\Music\\\\A.MP3\tCD1\t5368709120"),
                                       QStringLiteral("E:\\\\mp3\\\\c.ogg\tBob's CD\t5368709120")}));
    EXPECT_EQ(runOn({QStringLiteral("search"), QStringLiteral("MP3"), QStringLiteral("--disk=bob's cd")}), 0);
    EXPECT_EQ(outLines().size(), 2);
    EXPECT_EQ(runOn({QStringLiteral("search"), QStringLiteral("mp3"), QStringLiteral("--limit=1")}), 0);
    EXPECT_EQ(outLines().size(), 2);
    EXPECT_EQ(runOn({QStringLiteral("search"), QStringLiteral("x') OR ('1'='1")}), 1);
}

// Folders are listed in the order of their paths ("a b\" before "a\" before "a]\"), files apart from them; a
// disc is named in any case and either form of yeh and kaf, and only its own rows are read.
TEST_P(ListingEngines, LsTreeAndExportOfOneDiscPrintTheSameFromEitherEngine) {
    const QString persian = QStringLiteral("كتاب يك");
    catalogueOn(QStringLiteral("Box"),
                {QStringLiteral("D:\\a b\\c.txt"), QStringLiteral("D:\\a\\d.txt"),
                 QStringLiteral("D:\\a]\\e.txt"), QStringLiteral("D:\\ab.txt"), QStringLiteral("D:\\a!.txt"),
                 QStringLiteral("D:\\data"), QStringLiteral("D:\\docs\\data\\x.txt"),
                 QStringLiteral("D:\\") + persian + QStringLiteral("\\y.pdf")});
    catalogueOn(QStringLiteral("Bo_"), {QStringLiteral("D:\\a\\wild.txt")});
    catalogueOn(QStringLiteral("Box2"), {QStringLiteral("D:\\a\\other.txt")});
    execute(
        QStringLiteral("INSERT INTO BankList(DiskName, FileName, FilePath, FileSize, FileAttr, FileModified) "
                       "VALUES ('Box', 'dated.txt', 'D:\\a\\dated.txt', 7, 'Archive', 1551694830);"));

    ASSERT_EQ(runOn({QStringLiteral("ls"), QStringLiteral("BOX")}), 0) << errText.toStdString();
    EXPECT_EQ(outLines(),
              (QStringList{QStringLiteral("type\tname\tsize\tmodified\tattributes"),
                           QStringLiteral("folder\ta b\t\t\t"), QStringLiteral("folder\ta\t\t\t"),
                           QStringLiteral("folder\ta]\t\t\t"), QStringLiteral("folder\tdocs\t\t\t"),
                           QStringLiteral("folder\t") + persian + QStringLiteral("\t\t\t"),
                           QStringLiteral("file\ta!.txt\t5368709120\t\tNormal"),
                           QStringLiteral("file\tab.txt\t5368709120\t\tNormal"),
                           QStringLiteral("file\tdata\t5368709120\t\tNormal")}));
    ASSERT_EQ(runOn({QStringLiteral("ls"), QStringLiteral("box"), QStringLiteral("/a")}), 0);
    EXPECT_EQ(outLines(), (QStringList{QStringLiteral("type\tname\tsize\tmodified\tattributes"),
                                       QStringLiteral("file\td.txt\t5368709120\t\tNormal"),
                                       QStringLiteral("file\tdated.txt\t7\t2019-03-04T10:20:30Z\tArchive")}));
    EXPECT_EQ(runOn({QStringLiteral("ls"), QStringLiteral("Box"), QStringLiteral("nosuch")}), 1);

    ASSERT_EQ(runOn({QStringLiteral("tree"), QStringLiteral("bOx")}), 0) << errText.toStdString();
    EXPECT_EQ(outText,
              QStringLiteral("D:\\\n  a!.txt\n  ab.txt\n  data\n  a b\\\n    c.txt\n  a\\\n    d.txt\n"
                             "    dated.txt\n  a]\\\n    e.txt\n  docs\\\n    data\\\n      x.txt\n  ") +
                  persian + QStringLiteral("\\\n    y.pdf\n"));

    // The same disc typed with the Persian forms of yeh and kaf.
    catalogueOn(persian, {QStringLiteral("F:\\z.txt")});
    ASSERT_EQ(
        runOn({QStringLiteral("export"), QStringLiteral("--disk=\u06A9\u062A\u0627\u0628 \u06CC\u06A9")}), 0)
        << errText.toStdString();
    EXPECT_EQ(outLines(),
              (QStringList{QStringLiteral("disc\tname\tpath\tsize\tattributes\tmodified"),
                           persian + QStringLiteral("\tz.txt\tF:\\\\z.txt\t5368709120\tNormal\t")}));
    ASSERT_EQ(runOn({QStringLiteral("export"), QStringLiteral("--disk=BOX")}), 0);
    const QStringList box = outLines();
    ASSERT_EQ(box.size(), 10);
    EXPECT_EQ(box[1], QStringLiteral("Box\tc.txt\tD:\\\\a b\\\\c.txt\t5368709120\tNormal\t"));
    EXPECT_EQ(box[9],
              QStringLiteral("Box\tdated.txt\tD:\\\\a\\\\dated.txt\t7\tArchive\t2019-03-04T10:20:30Z"));
    ASSERT_EQ(runOn({QStringLiteral("export")}), 0);
    EXPECT_EQ(outLines().size(), 1 + 9 + 1 + 1 + 1);
    EXPECT_EQ(runOn({QStringLiteral("export"), QStringLiteral("--disk=Bo%")}), 1);
}

// The disc goes with every row of its name in any spelling (a failed scan's rows too), and nothing else.
TEST_P(ListingEngines, RemoveTakesTheWholeDiscAndNothingElse) {
    catalogueOn(QStringLiteral("Box"), {QStringLiteral("D:\\a"), QStringLiteral("D:\\b\\c")});
    catalogueOn(QStringLiteral("Bo_"), {QStringLiteral("D:\\d")});
    catalogueOn(QStringLiteral("Box2"), {QStringLiteral("D:\\e")});
    execute(
        QStringLiteral("INSERT INTO BankList(DiskName, FileName, FilePath, FileSize, FileAttr) "
                       "VALUES ('box', 'f', 'D:\\f', 1, 'Normal');"));

    ASSERT_EQ(runOn({QStringLiteral("remove"), QStringLiteral("BOX"), QStringLiteral("--yes")}), 0)
        << errText.toStdString();
    EXPECT_EQ(errText, QStringLiteral("Removed the disc 'Box' and 3 file rows.\n"));
    ASSERT_EQ(runOn({QStringLiteral("export")}), 0);
    EXPECT_EQ(outLines(), (QStringList{QStringLiteral("disc\tname\tpath\tsize\tattributes\tmodified"),
                                       QStringLiteral("Bo_\td\tD:\\\\d\t5368709120\tNormal\t"),
                                       QStringLiteral("Box2\te\tD:\\\\e\t5368709120\tNormal\t")}));
    ASSERT_EQ(runOn({QStringLiteral("disks")}), 0);
    EXPECT_EQ(outLines().size(), 3);
    EXPECT_EQ(runOn({QStringLiteral("remove"), QStringLiteral("Box"), QStringLiteral("--yes")}), 1);

    // A removal refused at its last step leaves the disc whole.
    execute(
        GetParam() == Engine::File
            ? QStringLiteral(
                  "CREATE TRIGGER Keep BEFORE DELETE ON Disks BEGIN SELECT RAISE(ABORT, 'kept'); END;")
            : QStringLiteral("CREATE FUNCTION keep() RETURNS trigger LANGUAGE plpgsql AS $$ BEGIN RAISE "
                             "EXCEPTION 'kept'; END $$; CREATE TRIGGER Keep BEFORE DELETE ON Disks FOR EACH "
                             "ROW EXECUTE FUNCTION keep();"));
    EXPECT_EQ(runOn({QStringLiteral("remove"), QStringLiteral("bo_"), QStringLiteral("--yes")}),
              cli::kCatalogueError);
    EXPECT_TRUE(errText.contains(QStringLiteral("kept"))) << errText.toStdString();
    ASSERT_EQ(runOn({QStringLiteral("export"), QStringLiteral("--disk=Bo_")}), 0);
    EXPECT_EQ(outLines().size(), 2);
}

// A disc in a drive is recognised by serial and used size, and by its label where one was kept, in the
// order the discs were catalogued.
TEST_P(ListingEngines, IdentifyNamesTheSameDiscsFromEitherEngine) {
    const QString used = formatUsedSize(1024);
    const auto disc = [&](const QString& name, const QString& serial, const QString& label) {
        execute(QStringLiteral("INSERT INTO Disks(DiskName, SerialNo, DiskSize, FileCount, VolumeLabel) "
                               "VALUES ('%1', '%2', '%3', '0', %4);")
                    .arg(name, serial, used,
                         label.isNull() ? QStringLiteral("NULL")
                                        : QLatin1Char('\'') + label + QLatin1Char('\'')));
    };
    disc(QStringLiteral("Later"), QStringLiteral("-5"), QStringLiteral("BACKUP"));
    disc(QStringLiteral("Unlabelled"), QStringLiteral("-5"), QString());
    disc(QStringLiteral("OtherLabel"), QStringLiteral("-5"), QStringLiteral("PHOTOS"));
    disc(QStringLiteral("OtherSerial"), QStringLiteral("-6"), QStringLiteral("BACKUP"));
    test::FakeDriveTable::Drive drive;
    drive.folder = folder.path();
    drive.space = {1024, 0};
    drive.volume = {QStringLiteral("BACKUP"), QStringLiteral("CDFS"), 0xFFFFFFFBu};
    drives.add(QLatin1Char('E'), drive);

    ASSERT_EQ(runOn({QStringLiteral("identify"), QStringLiteral("E:")}), 0) << errText.toStdString();
    EXPECT_EQ(outText, QStringLiteral("Later\nUnlabelled\n"));
    drive.volume.serial = 7;
    drives.add(QLatin1Char('E'), drive);
    EXPECT_EQ(runOn({QStringLiteral("identify"), QStringLiteral("E:")}), 1);
}

// The check finds the same faults of the discs and their rows on either engine.
TEST_P(ListingEngines, CheckNamesTheSameFaultsOnEitherEngine) {
    catalogueOn(QStringLiteral("Box"), {QStringLiteral("D:\\a"), QStringLiteral("D:\\b")});
    ASSERT_EQ(runOn({QStringLiteral("check")}), 0) << outText.toStdString();
    EXPECT_TRUE(outText.endsWith(QStringLiteral("Everything holds.\n"))) << outText.toStdString();

    catalogueOn(QStringLiteral("Short"), {QStringLiteral("D:\\c")});
    execute(QStringLiteral("UPDATE Disks SET FileCount = '5' WHERE DiskName = 'Short';"));
    execute(
        QStringLiteral("INSERT INTO BankList(DiskName, FileName, FilePath, FileSize, FileAttr) "
                       "VALUES ('Ghost', 'g', 'D:\\g', 1, 'Normal'), ('box', 'h', 'D:\\h', 1, 'Normal');"));
    catalogueOn(QStringLiteral("Twin"), {});
    catalogueOn(QStringLiteral("Twin"), {});
    EXPECT_EQ(runOn({QStringLiteral("check")}), 1);
    QStringList problems = outLines().filter(QRegularExpression(QStringLiteral("^problem: ")));
    EXPECT_EQ(
        problems,
        (QStringList{QStringLiteral("problem: disc 'Short' records 5 files but has 1 file rows"),
                     QStringLiteral("problem: 1 file rows belong to no catalogued disc (named 'Ghost')"),
                     QStringLiteral("problem: 1 file rows belong to no catalogued disc (named 'box')"),
                     QStringLiteral("problem: 2 discs share the name 'Twin'")}))
        << outText.toStdString();
    EXPECT_TRUE(outText.contains(QStringLiteral(": 4 discs, 5 file rows.\n"))) << outText.toStdString();
}

// A server that cannot be reached is reported with its address, never the password the address holds.
TEST_P(ListingEngines, AnUnreachableServerIsReportedWithoutItsPassword) {
    if (GetParam() == Engine::File) GTEST_SKIP() << "about servers only";
    const QString secret = QStringLiteral("Geheim-42");
    address.replace(QStringLiteral(":///"), QStringLiteral("://vellumtrove:%1@/").arg(secret));
    address.replace(QRegularExpression(QStringLiteral("/vt_test_\\d+")), QStringLiteral("/nosuch"));
    EXPECT_EQ(runOn({QStringLiteral("disks")}), cli::kCatalogueError);
    EXPECT_TRUE(errText.contains(QStringLiteral("nosuch"))) << errText.toStdString();
    EXPECT_FALSE(errText.contains(secret)) << errText.toStdString();
}

INSTANTIATE_TEST_SUITE_P(BothEngines, ListingEngines, ::testing::Values(Engine::File, Engine::Server),
                         test::engineName);

}  // namespace
}  // namespace vt
