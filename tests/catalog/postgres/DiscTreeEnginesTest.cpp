#include <gtest/gtest.h>

#include <QStringList>
#include <QTemporaryDir>

#include "catalog/BankListRows.h"
#include "catalog/Connection.h"
#include "catalog/DiscNames.h"
#include "catalog/DiscTree.h"
#include "catalog/Statements.h"
#include "support/CatalogueEngines.h"

namespace vt {
namespace {

using test::Engine;
using Names = std::vector<QString>;

Names fileNames(const DiscFolder& folder) {
    Names names;
    for (const DiscFile& file : folder.files) names.push_back(file.name);
    return names;
}

// The disc browser reads the same folders and files, in the same order, from either engine.
class DiscTreeEngines : public ::testing::TestWithParam<Engine> {
  protected:
    void SetUp() override {
        VT_SKIP_WITHOUT_SERVER(GetParam());
        const QString address = test::freshCatalogueAddress(GetParam(), folder);
        ASSERT_FALSE(address.isEmpty());
        openCatalogue(cn, test::connectionStringFor(address));
    }

    // The file rows in one statement, in the order given; a disc row with them unless `withDiscRow` is off.
    void addDisc(const QString& name, const QStringList& paths, bool withDiscRow = true) {
        if (withDiscRow) {
            cn.Execute(QStringLiteral("INSERT INTO Disks VALUES ('%1', '-5', '1,024 bytes', '%2', 'LABEL', "
                                      "'ISO 9660', 1700000000);")
                           .arg(Statements::quoted(name))
                           .arg(paths.size()));
        }
        if (paths.isEmpty()) return;
        QStringList rows;
        for (const QString& path : paths) {
            rows << QStringLiteral("('%1', '%2', '%3', 4096, 'Normal', NULL)")
                        .arg(Statements::quoted(name),
                             Statements::quoted(path.section(QLatin1Char('\\'), -1)),
                             Statements::quoted(path));
        }
        cn.Execute(QStringLiteral("INSERT INTO BankList VALUES %1;").arg(rows.join(QLatin1Char(','))));
    }

    QTemporaryDir folder;
    Connection cn;
};

TEST_P(DiscTreeEngines, FoldersFilesAndFactsComeInTheFilesOrder) {
    const QString persian = QStringLiteral("موسيقي ايراني");
    addDisc(
        QStringLiteral("CD1"),
        {QStringLiteral("D:\\") + persian + QStringLiteral("\\آهنگ يك.mp3"), QStringLiteral("D:\\a]\\e.txt"),
         QStringLiteral("D:\\a\\d.txt"), QStringLiteral("D:\\data"), QStringLiteral("D:\\docs\\data\\x.txt"),
         QStringLiteral("D:\\a b\\c.txt"), QStringLiteral("D:\\ab.txt"), QStringLiteral("D:\\a!.txt"),
         QStringLiteral("D:\\a%\\_.txt"), QStringLiteral("D:\\O'Brien's files\\a b.txt")});
    addDisc(QStringLiteral("CD2"), {QStringLiteral("D:\\a\\other.txt")});
    addDisc(QStringLiteral("CD_"), {QStringLiteral("D:\\a\\pattern.txt")});
    // A second row of the same path, and one with a date, arriving after the others.
    cn.Execute(
        QStringLiteral("INSERT INTO BankList VALUES ('CD1', 'd.txt', 'D:\\a\\d.txt', 9, 'Hidden', NULL), "
                       "('CD1', 'dated.txt', 'D:\\a\\dated.txt', 7, 'Normal', 1551694830);"));

    const DiscTree tree(cn, QStringLiteral("CD1"));
    EXPECT_EQ(tree.root(), QStringLiteral("D:\\"));
    const DiscFolder root = tree.list(QStringLiteral("D:\\"));
    EXPECT_EQ(root.folders,
              (Names{QStringLiteral("O'Brien's files"), QStringLiteral("a b"), QStringLiteral("a%"),
                     QStringLiteral("a"), QStringLiteral("a]"), QStringLiteral("docs"), persian}));
    EXPECT_EQ(fileNames(root),
              (Names{QStringLiteral("a!.txt"), QStringLiteral("ab.txt"), QStringLiteral("data")}));
    EXPECT_EQ(tree.list(QString()).folders, Names{QStringLiteral("D:")});

    const DiscFolder a = tree.list(QStringLiteral("D:\\a\\"));
    ASSERT_EQ(fileNames(a),
              (Names{QStringLiteral("d.txt"), QStringLiteral("d.txt"), QStringLiteral("dated.txt")}));
    EXPECT_EQ(a.files[0].path, QStringLiteral("D:\\a\\d.txt"));
    EXPECT_EQ(a.files[0].attributes, QStringLiteral("Normal"));
    EXPECT_EQ(a.files[0].size, 4096.0);
    EXPECT_EQ(a.files[1].attributes, QStringLiteral("Hidden"));
    EXPECT_FALSE(a.files[0].modified.has_value());
    EXPECT_EQ(a.files[2].modified, std::optional<qint64>(1551694830));
    EXPECT_EQ(tree.list(QStringLiteral("D:\\docs\\")).folders, Names{QStringLiteral("data")});

    // Every file of the disc, in the byte order of the paths' UTF-8 text.
    Names below;
    tree.forEachFile(QString(), [&](const DiscFile& file) { below.push_back(file.name); });
    EXPECT_EQ(below, (Names{QStringLiteral("a b.txt"), QStringLiteral("c.txt"), QStringLiteral("a!.txt"),
                            QStringLiteral("_.txt"), QStringLiteral("d.txt"), QStringLiteral("d.txt"),
                            QStringLiteral("dated.txt"), QStringLiteral("e.txt"), QStringLiteral("ab.txt"),
                            QStringLiteral("data"), QStringLiteral("x.txt"), QStringLiteral("آهنگ يك.mp3")}));

    const std::optional<DiscFacts> facts = tree.facts();
    ASSERT_TRUE(facts.has_value());
    EXPECT_EQ(facts->serial, QStringLiteral("-5"));
    EXPECT_EQ(facts->fileCount, QStringLiteral("10"));
    EXPECT_EQ(facts->label, QStringLiteral("LABEL"));
    EXPECT_EQ(facts->fileSystem, QStringLiteral("ISO 9660"));
    EXPECT_EQ(facts->cataloguedAt, std::optional<qint64>(1700000000));

    // Names are exact here: another case, or a wildcard, is another disc.
    EXPECT_FALSE(DiscTree(cn, QStringLiteral("cd1")).facts().has_value());
    EXPECT_TRUE(DiscTree(cn, QStringLiteral("CD%")).list(QStringLiteral("D:\\")).folders.empty());
    EXPECT_EQ(DiscTree(cn, QStringLiteral("CD_")).list(QStringLiteral("D:\\a\\")).files.size(), 1u);
}

// A disc is found from what was typed by every spelling stored of it, a failed scan's rows included.
TEST_P(DiscTreeEngines, TheStoredSpellingsOfATypedNameAreFoundFolded) {
    addDisc(QStringLiteral("aXb"), {QStringLiteral("D:\\x")});
    addDisc(QStringLiteral("AXB"), {QStringLiteral("D:\\y")}, false);
    addDisc(QStringLiteral("\u064A\u0643"), {QStringLiteral("D:\\z")});
    addDisc(QStringLiteral("aXbc"), {QStringLiteral("D:\\w")});
    EXPECT_EQ(DiscNames::storedSpellings(cn, QStringLiteral("axB")),
              (Names{QStringLiteral("AXB"), QStringLiteral("aXb")}));
    EXPECT_EQ(DiscNames::storedSpellings(cn, QStringLiteral("\u06CC\u06A9")),
              Names{QStringLiteral("\u064A\u0643")});
    EXPECT_EQ(DiscNames::storedSpellings(cn, QStringLiteral("a_b")), Names{QStringLiteral("a_b")});
}

// A folder of more files than are fetched at once is visited whole, in path order, while other folders are
// listed meanwhile; an export of the disc reads every row in order of arrival.
TEST_P(DiscTreeEngines, ALargeFolderIsVisitedWholeInPathOrder) {
    QStringList paths;
    constexpr int kFiles = 12001;
    for (int i = kFiles - 1; i >= 0; --i)
        paths << QStringLiteral("D:\\big\\f%1").arg(i, 5, 10, QLatin1Char('0'));
    paths << QStringLiteral("D:\\big\\sub\\x") << QStringLiteral("D:\\other.txt");
    addDisc(QStringLiteral("Big"), paths);

    const DiscTree tree(cn, QStringLiteral("Big"));
    int visited = 0;
    bool ordered = true;
    QString last;
    tree.forEachFile(QStringLiteral("D:\\big\\"), [&](const DiscFile& file) {
        ordered = ordered && file.path > last;
        last = file.path;
        if (++visited % 5000 == 0) {
            EXPECT_EQ(tree.list(QStringLiteral("D:\\")).folders, Names{QStringLiteral("big")});
        }
    });
    EXPECT_EQ(visited, kFiles + 1);
    EXPECT_TRUE(ordered);
    EXPECT_EQ(last, QStringLiteral("D:\\big\\sub\\x"));

    QStringList exported;
    BankListRows::forEach(cn, QStringLiteral("BIG"),
                          [&](const std::vector<QVariant>& row) { exported << row[2].toString(); });
    EXPECT_EQ(exported, paths);
    EXPECT_EQ(BankListRows::countOfDisc(cn, QStringLiteral("big")), paths.size());
}

INSTANTIATE_TEST_SUITE_P(BothEngines, DiscTreeEngines, ::testing::Values(Engine::File, Engine::Server),
                         test::engineName);

}  // namespace
}  // namespace vt
