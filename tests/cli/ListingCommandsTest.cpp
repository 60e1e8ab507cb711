#include <QFile>
#include <QJsonDocument>
#include <QJsonObject>

#include "cli/CliFixture.h"

namespace vt {
namespace {

class ListingCommands : public test::CliFixture {};

TEST_F(ListingCommands, SearchUsesTheWindowsRulesAndPrintsWholeSizes) {
    catalogue(QStringLiteral("CD1"), {QStringLiteral("D:\\Music\\A.MP3"), QStringLiteral("D:\\doc\\b.txt")});
    catalogue(QStringLiteral("CD2"), {QStringLiteral("E:\\mp3\\c.ogg")});
    EXPECT_EQ(run({QStringLiteral("search"), QStringLiteral("mp3")}), 0);
    EXPECT_EQ(outLines(), (QStringList{QStringLiteral("path\tdisc\tsize"),
                                       QStringLiteral("D:\\\\Music\\\\A.MP3\tCD1\t5368709120"),
                                       QStringLiteral("E:\\\\mp3\\\\c.ogg\tCD2\t5368709120")}));
    EXPECT_EQ(run({QStringLiteral("search"), QStringLiteral("mp3"), QStringLiteral("--disk"),
                   QStringLiteral("CD2")}),
              0);
    EXPECT_EQ(outLines().size(), 2);
    EXPECT_EQ(run({QStringLiteral("search"), QStringLiteral("mp3"), QStringLiteral("--limit=1")}), 0);
    EXPECT_EQ(outLines().size(), 2);
    EXPECT_EQ(run({QStringLiteral("search"), QStringLiteral("nothing-like-this")}), 1);
}

TEST_F(ListingCommands, QuotesInNamesAndTextAreJustText) {
    catalogue(QStringLiteral("Bob's CD"), {QStringLiteral("D:\\O'Brien\\x.txt")});
    EXPECT_EQ(run({QStringLiteral("search"), QStringLiteral("O'Brien"), QStringLiteral("--disk=Bob's CD")}),
              0);
    EXPECT_EQ(outLines().size(), 2);
    EXPECT_EQ(run({QStringLiteral("search"), QStringLiteral("x') OR ('1'='1")}), 1);
}

TEST_F(ListingCommands, EveryFormatKeepsAwkwardFieldsInOneRecord) {
    const QString awkward = QStringLiteral("D:\\a\tb,c\"d\ne");
    catalogue(QStringLiteral("CD1"), {awkward});

    ASSERT_EQ(run({QStringLiteral("export"), QStringLiteral("--format"), QStringLiteral("tsv")}), 0);
    QStringList lines = outLines();
    ASSERT_EQ(lines.size(), 2);
    EXPECT_EQ(lines[1].split(QLatin1Char('\t')).size(), 6);
    EXPECT_TRUE(lines[1].contains(QStringLiteral("D:\\\\a\\tb,c\"d\\ne")));

    ASSERT_EQ(run({QStringLiteral("export"), QStringLiteral("--format=csv")}), 0);
    EXPECT_EQ(outText,
              QStringLiteral("disc,name,path,size,attributes,modified\r\n"
                             "CD1,\"a\tb,c\"\"d\ne\",\"D:\\a\tb,c\"\"d\ne\",5368709120,Normal,\r\n"));

    ASSERT_EQ(run({QStringLiteral("export"), QStringLiteral("--format=json")}), 0);
    lines = outLines();
    ASSERT_EQ(lines.size(), 1);
    const QJsonObject row = QJsonDocument::fromJson(lines[0].toUtf8()).object();
    EXPECT_EQ(row.value(QStringLiteral("path")).toString(), awkward);
    EXPECT_EQ(row.value(QStringLiteral("size")).toDouble(), 5368709120.0);
}

TEST_F(ListingCommands, PersianNamesPassThroughUnchanged) {
    catalogue(QStringLiteral("ديسك موسيقي"), {QStringLiteral("D:\\آهنگ ها\\یک.mp3")});
    ASSERT_EQ(run({QStringLiteral("search"), QStringLiteral("آهنگ")}), 0);
    EXPECT_EQ(outLines().value(1), QStringLiteral("D:\\\\آهنگ ها\\\\یک.mp3\tديسك موسيقي\t5368709120"));
    ASSERT_EQ(run({QStringLiteral("disks"), QStringLiteral("--format=json")}), 0);
    EXPECT_TRUE(outText.contains(QStringLiteral("\"name\":\"ديسك موسيقي\"")));
}

TEST_F(ListingCommands, ExportOfOneDiscAndOfNothing) {
    catalogue(QStringLiteral("CD1"), {QStringLiteral("D:\\a"), QStringLiteral("D:\\b")});
    catalogue(QStringLiteral("CD10"), {QStringLiteral("D:\\c")});
    ASSERT_EQ(run({QStringLiteral("export"), QStringLiteral("--disk"), QStringLiteral("CD1")}), 0);
    EXPECT_EQ(outLines().size(), 3);
    EXPECT_EQ(run({QStringLiteral("export"), QStringLiteral("--disk"), QStringLiteral("CD")}), 1);
}

TEST_F(ListingCommands, ADiscIsNamedInAnyCaseAndWithEitherKafOrYeh) {
    catalogue(QStringLiteral("aXb"), {QStringLiteral("D:\\a.mp3"), QStringLiteral("D:\\b.mp3")});
    catalogue(QStringLiteral("\u06A9\u062A\u0627\u0628 \u06CC"),
              {QStringLiteral("D:\\c.mp3")});  // Persian kaf, yeh
    ASSERT_EQ(run({QStringLiteral("search"), QStringLiteral("mp3"), QStringLiteral("--disk"),
                   QStringLiteral("AXB")}),
              0);
    EXPECT_EQ(outLines().size(), 3);
    ASSERT_EQ(run({QStringLiteral("export"), QStringLiteral("--disk=AXB")}), 0);
    EXPECT_EQ(outLines().size(), 3);
    ASSERT_EQ(run({QStringLiteral("search"), QStringLiteral("mp3"),
                   QStringLiteral("--disk=\u0643\u062A\u0627\u0628 \u064A")}),  // Arabic kaf, yeh
              0);
    EXPECT_EQ(outLines().size(), 2);
}

TEST_F(ListingCommands, UsageErrorsSayWhatToDo) {
    EXPECT_EQ(run({}), 2);
    EXPECT_EQ(run({QStringLiteral("frobnicate")}), 2);
    EXPECT_TRUE(errText.contains(QStringLiteral("--help")));
    EXPECT_EQ(run({QStringLiteral("search")}), 2);
    EXPECT_EQ(run({QStringLiteral("search"), QStringLiteral("a"), QStringLiteral("b")}), 2);
    EXPECT_EQ(run({QStringLiteral("search"), QStringLiteral("a"), QStringLiteral("--limit=0")}), 2);
    EXPECT_EQ(run({QStringLiteral("disks"), QStringLiteral("--format=xml")}), 2);
    EXPECT_EQ(run({QStringLiteral("disks"), QStringLiteral("--catalog")}), 2);
    EXPECT_EQ(run({QStringLiteral("search"), QStringLiteral("--help")}), 0);
    EXPECT_TRUE(outText.startsWith(QStringLiteral("usage: vellumtrove-cli search")));
}

TEST_F(ListingCommands, AMissingOrForeignCatalogueIsACatalogueErrorAndIsNotCreated) {
    const QString elsewhere = folder.path() + QStringLiteral("/none.db");
    EXPECT_EQ(run({QStringLiteral("disks"), QStringLiteral("--catalog"), elsewhere}), 3);
    EXPECT_TRUE(errText.contains(elsewhere));
    EXPECT_FALSE(QFile::exists(elsewhere));

    QFile garbage(elsewhere);
    ASSERT_TRUE(garbage.open(QIODevice::WriteOnly));
    garbage.write("hello");
    garbage.close();
    EXPECT_EQ(run({QStringLiteral("search"), QStringLiteral("x"), QStringLiteral("--catalog"), elsewhere}),
              3);
    EXPECT_TRUE(errText.contains(QStringLiteral("not a Vellumtrove catalogue")));
}

}  // namespace
}  // namespace vt
