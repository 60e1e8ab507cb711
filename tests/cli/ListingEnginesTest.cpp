#include <QRegularExpression>

#include "catalog/Connection.h"
#include "catalog/Statements.h"
#include "cli/CliFixture.h"
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
