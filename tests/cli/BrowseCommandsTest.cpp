#include <QJsonDocument>
#include <QJsonObject>

#include "cli/CliFixture.h"

namespace vt {
namespace {

// 2019-03-04T10:20:30Z and a day later.
constexpr qint64 kMarch4 = 1551694830;
constexpr qint64 kDay = 86400;

class BrowseCommands : public test::CliFixture {
  protected:
    // One disc whose rows carry sizes and dates (NULL for none), with its facts.
    void catalogueDated(const QString& disk, const std::vector<std::tuple<QString, qint64, QString>>& rows) {
        Connection cn;
        openCatalogue(cn, buildConnectionString(folder.path()));
        cn.Execute(QStringLiteral("INSERT INTO Disks VALUES ('%1', '-5', '1,024 bytes', '%2', 'MY LABEL', "
                                  "'udf', %3);")
                       .arg(Statements::quoted(disk))
                       .arg(rows.size())
                       .arg(kMarch4 + kDay));
        for (const auto& [path, size, modified] : rows) {
            cn.Execute(
                QStringLiteral("INSERT INTO BankList VALUES ('%1', '%2', '%3', %4, 'ArchiveNormal', %5);")
                    .arg(Statements::quoted(disk), Statements::quoted(path.section(QLatin1Char('\\'), -1)),
                         Statements::quoted(path))
                    .arg(size)
                    .arg(modified));
        }
    }

    // What was printed, one line after another, readable in a failure message.
    std::string printed() const { return outLines().join(QLatin1Char('|')).toStdString(); }
    static std::string lines(const QStringList& expected) {
        return expected.join(QLatin1Char('|')).toStdString();
    }

    QJsonObject jsonLine(int index) const {
        return QJsonDocument::fromJson(outLines().value(index).toUtf8()).object();
    }
};

TEST_F(BrowseCommands, LsListsOneFolderFoldersFirstAndTreeShowsEverythingBelow) {
    catalogueDated(QStringLiteral("ديسك"),
                   {{QStringLiteral("D:\\z.txt"), 10, QString::number(kMarch4)},
                    {QStringLiteral("D:\\آهنگ ها\\يك \"1\".mp3"), 20, QStringLiteral("NULL")},
                    {QStringLiteral("D:\\آهنگ ها\\دو\\سه.mp3"), 30, QStringLiteral("NULL")},
                    {QStringLiteral("D:\\a.txt\\b.txt"), 40, QStringLiteral("NULL")}});

    ASSERT_EQ(run({QStringLiteral("ls"), QStringLiteral("ديسك")}), 0);
    EXPECT_EQ(printed(),
              lines({QStringLiteral("type\tname\tsize\tmodified\tattributes"),
                     QStringLiteral("folder\ta.txt\t\t\t"), QStringLiteral("folder\tآهنگ ها\t\t\t"),
                     QStringLiteral("file\tz.txt\t10\t2019-03-04T10:20:30Z\tArchiveNormal")}));
    ASSERT_EQ(run({QStringLiteral("ls"), QStringLiteral("ديسك"), QStringLiteral("آهنگ ها"),
                   QStringLiteral("--format=json")}),
              0);
    ASSERT_EQ(outLines().size(), 2);
    EXPECT_EQ(jsonLine(0).value(QStringLiteral("type")).toString(), QStringLiteral("folder"));
    EXPECT_TRUE(jsonLine(0).value(QStringLiteral("size")).isNull());
    EXPECT_EQ(jsonLine(1).value(QStringLiteral("name")).toString(), QStringLiteral("يك \"1\".mp3"));
    EXPECT_EQ(jsonLine(1).value(QStringLiteral("size")).toDouble(), 20.0);
    EXPECT_TRUE(jsonLine(1).value(QStringLiteral("modified")).isNull());
    // The folder given whole, or with forward slashes.
    ASSERT_EQ(run({QStringLiteral("ls"), QStringLiteral("ديسك"), QStringLiteral("d:\\آهنگ ها\\دو")}), 0);
    EXPECT_EQ(outLines().size(), 2);
    ASSERT_EQ(run({QStringLiteral("ls"), QStringLiteral("ديسك"), QStringLiteral("/آهنگ ها/دو/")}), 0);
    EXPECT_EQ(outLines().value(1), QStringLiteral("file\tسه.mp3\t30\t\tArchiveNormal"));
    EXPECT_EQ(run({QStringLiteral("ls"), QStringLiteral("ديسك"), QStringLiteral("z.txt")}), 1);
    EXPECT_EQ(run({QStringLiteral("ls"), QStringLiteral("no such disc")}), 1);

    ASSERT_EQ(run({QStringLiteral("tree"), QStringLiteral("ديسك")}), 0);
    EXPECT_EQ(outText.toStdString(), QStringLiteral("D:\\\n"
                                                    "  z.txt\n"
                                                    "  a.txt\\\n"
                                                    "    b.txt\n"
                                                    "  آهنگ ها\\\n"
                                                    "    يك \"1\".mp3\n"
                                                    "    دو\\\n"
                                                    "      سه.mp3\n")
                                         .toStdString());
    ASSERT_EQ(run({QStringLiteral("tree"), QStringLiteral("ديسك"), QStringLiteral("آهنگ ها\\دو")}), 0);
    EXPECT_EQ(outText.toStdString(), QStringLiteral("D:\\آهنگ ها\\دو\\\n  سه.mp3\n").toStdString());
}

TEST_F(BrowseCommands, SearchFiltersNarrowTheRowsInTheirOrderAndTheLimitCountsWhatPasses) {
    std::vector<std::tuple<QString, qint64, QString>> rows;
    // Many small files first, so that the first rows the statement gives all fail the size test.
    for (int i = 0; i < 30; ++i)
        rows.emplace_back(QStringLiteral("D:\\s\\small%1.dat").arg(i), 1, QString::number(kMarch4));
    rows.emplace_back(QStringLiteral("D:\\b\\big1.dat"), 5000, QString::number(kMarch4 - kDay));
    rows.emplace_back(QStringLiteral("D:\\b\\big2.dat"), 6000, QString::number(kMarch4 + 2 * kDay));
    rows.emplace_back(QStringLiteral("D:\\b\\big3.dat"), 7000, QStringLiteral("NULL"));
    catalogueDated(QStringLiteral("CD1"), rows);

    ASSERT_EQ(run({QStringLiteral("search"), QStringLiteral(".dat"), QStringLiteral("--min-size=5000"),
                   QStringLiteral("--limit=2")}),
              0);
    EXPECT_EQ(outLines(), (QStringList{QStringLiteral("path\tdisc\tsize"),
                                       QStringLiteral("D:\\\\b\\\\big1.dat\tCD1\t5000"),
                                       QStringLiteral("D:\\\\b\\\\big2.dat\tCD1\t6000")}));
    ASSERT_EQ(run({QStringLiteral("search"), QStringLiteral("dat"), QStringLiteral("--max-size=5000"),
                   QStringLiteral("--min-size=2")}),
              0);
    EXPECT_EQ(outLines().size(), 2);
    // From the start of March 4 (UTC) to before March 5: the small files only; no unknown dates.
    ASSERT_EQ(run({QStringLiteral("search"), QStringLiteral("dat"), QStringLiteral("--newer=2019-03-04"),
                   QStringLiteral("--older"), QStringLiteral("2019-03-05T00:00:00Z")}),
              0);
    EXPECT_EQ(outLines().size(), 31);
    ASSERT_EQ(
        run({QStringLiteral("search"), QStringLiteral("big"), QStringLiteral("--newer=2019-03-04 10:20:31")}),
        0);
    EXPECT_EQ(outLines(), (QStringList{QStringLiteral("path\tdisc\tsize"),
                                       QStringLiteral("D:\\\\b\\\\big2.dat\tCD1\t6000")}));
    EXPECT_EQ(run({QStringLiteral("search"), QStringLiteral("big"), QStringLiteral("--older=1990-01-01")}),
              1);
    EXPECT_EQ(run({QStringLiteral("search"), QStringLiteral("big"), QStringLiteral("--newer=yesterday")}), 2);
    EXPECT_EQ(run({QStringLiteral("search"), QStringLiteral("big"), QStringLiteral("--min-size=-1")}), 2);
}

TEST_F(BrowseCommands, DisksAndExportShowTheFactsAndDatesInUtc) {
    catalogueDated(QStringLiteral("CD1"), {{QStringLiteral("D:\\a.txt"), 3, QString::number(kMarch4)},
                                           {QStringLiteral("D:\\b.txt"), 4, QStringLiteral("NULL")}});
    catalogue(QStringLiteral("Old"), {QStringLiteral("D:\\c.txt")});

    ASSERT_EQ(run({QStringLiteral("disks"), QStringLiteral("--format=json")}), 0);
    ASSERT_EQ(outLines().size(), 2);
    EXPECT_EQ(jsonLine(0).value(QStringLiteral("files")).toDouble(), 2.0);
    EXPECT_EQ(jsonLine(0).value(QStringLiteral("label")).toString(), QStringLiteral("MY LABEL"));
    EXPECT_EQ(jsonLine(0).value(QStringLiteral("filesystem")).toString(), QStringLiteral("udf"));
    EXPECT_EQ(jsonLine(0).value(QStringLiteral("catalogued")).toString(),
              QStringLiteral("2019-03-05T10:20:30Z"));
    EXPECT_TRUE(jsonLine(1).value(QStringLiteral("catalogued")).isNull());
    EXPECT_TRUE(jsonLine(1).value(QStringLiteral("label")).isNull());

    ASSERT_EQ(run({QStringLiteral("export"), QStringLiteral("--format=json"), QStringLiteral("--disk=cd1")}),
              0);
    EXPECT_TRUE(outLines().value(0).contains(QStringLiteral("\"modified\":\"2019-03-04T10:20:30Z\"")));
    EXPECT_TRUE(jsonLine(1).value(QStringLiteral("modified")).isNull());
    EXPECT_EQ(jsonLine(1).value(QStringLiteral("size")).toDouble(), 4.0);
}

}  // namespace
}  // namespace vt
