#include <gtest/gtest.h>

#include "CatalogueHelpers.h"
#include "catalog/PathSearch.h"
#include "catalog/PathSearchRouter.h"
#include "catalog/Statements.h"

namespace vt {
namespace {

TEST(SearchRouting, RecognisesBothSearchStatementsWithQuotesUndoubled) {
    const auto all = PathSearch::recognise(Statements::search(true, QString(), QStringLiteral("it's 50%")));
    ASSERT_TRUE(all.has_value());
    EXPECT_EQ(all->limit, 2000);
    EXPECT_FALSE(all->diskName.has_value());
    EXPECT_EQ(all->pattern, QStringLiteral("%it's 50%%"));

    // A disc name that reads like the rest of the statement must stay a disc name.
    const QString trick = QStringLiteral("x'  And  FilePath Like '%a%");
    const auto one = PathSearch::recognise(Statements::search(false, trick, QStringLiteral("O''Brien")));
    ASSERT_TRUE(one.has_value());
    EXPECT_EQ(one->diskName.value_or(QString()), trick);
    EXPECT_EQ(one->pattern, QStringLiteral("%O''Brien%"));

    const auto empty = PathSearch::recognise(Statements::search(false, QString(), QStringLiteral("abc")));
    ASSERT_TRUE(empty.has_value());
    EXPECT_EQ(empty->diskName.value_or(QStringLiteral("none")), QString());
}

TEST(SearchRouting, LeavesEveryOtherStatementToTheTable) {
    for (const QString& statement : {
             Statements::filesOfDisk(QStringLiteral("CD1")),
             Statements::disksNamedLike(QStringLiteral("CD1")),
             Statements::allDisks(),
             QStringLiteral("Select * from Banklist Where( FilePath Like '%abc%');"),  // no limit
             QStringLiteral("Select top 2000 * from Banklist Where( FileName Like '%abc%');"),
             QStringLiteral("Select top 2000 * from Banklist Where( FilePath Like '%abc%' ESCAPE '\\');"),
             QStringLiteral("Select top 2000 * from Banklist Where( FilePath Like '%abc%') or (1=1);"),
             QStringLiteral("Select top 2000 * from Banklist Where( FilePath Like '%a'bc%');"),
             QStringLiteral("Select top 2000 * from Banklist Where( FilePath Like '%ab") + QChar(0) +
                 QStringLiteral("c%');"),
         }) {
        EXPECT_FALSE(PathSearch::recognise(statement).has_value()) << statement.toStdString();
    }
}

TEST(SearchRouting, AsksTheIndexForTrigramsElseForTwoCharacterPrefixes) {
    EXPECT_EQ(PathSearchRouter::indexQuery(QStringLiteral("%a%")), QString());
    EXPECT_EQ(PathSearchRouter::indexQuery(QStringLiteral("%a_c%")), QString());
    EXPECT_EQ(PathSearchRouter::indexQuery(QStringLiteral("%aB%")), QStringLiteral("\"ab\"*"));
    EXPECT_EQ(PathSearchRouter::indexQuery(QStringLiteral("ab_cd%ab")),
              QStringLiteral("\"ab\"* AND \"cd\"*"));
    EXPECT_EQ(PathSearchRouter::indexQuery(QStringLiteral("%AbC%")), QStringLiteral("\"abc\""));
    EXPECT_EQ(PathSearchRouter::indexQuery(QStringLiteral("%abcd%")), QStringLiteral("\"abc\" AND \"bcd\""));
    EXPECT_EQ(PathSearchRouter::indexQuery(QStringLiteral("x%abc_de%abc")), QStringLiteral("\"abc\""));
    EXPECT_EQ(PathSearchRouter::indexQuery(QStringLiteral("%a\"b%")), QStringLiteral("\"a\"\"b\""));
    // Two Persian letters are four bytes but two characters: not enough for a trigram.
    EXPECT_EQ(PathSearchRouter::indexQuery(QStringLiteral("%\u06A9\u062A%")),
              QStringLiteral("\"\u06A9\u062A\"*"));
    EXPECT_EQ(PathSearchRouter::indexQuery(QStringLiteral("%\u0643\u062A\u0627%")),
              QStringLiteral("\"\u06A9\u062A\u0627\""));
}

TEST(SearchRouting, OneDiscSearchKeepsTheDiscCondition) {
    test::TempCatalogue catalogue;
    PathSearch search;
    search.limit = 7;
    search.diskName = QStringLiteral("CD'1");
    search.pattern = QStringLiteral("%abc%");
    const auto routed = PathSearchRouter::route(search, catalogue.connection.handle());
    ASSERT_TRUE(routed.has_value());
    EXPECT_TRUE(routed->sql.contains(QStringLiteral("b.DiskName = ?3")));
    EXPECT_TRUE(routed->sql.endsWith(QStringLiteral("LIMIT 7;")));
    ASSERT_EQ(routed->bindings.size(), 3u);
    EXPECT_EQ(routed->bindings[2].toString(), QStringLiteral("CD'1"));
}

TEST(SearchRouting, LongPiecesAskForTheirRarestTrigramsOnly) {
    test::TempCatalogue catalogue;
    std::vector<QString> paths;
    for (int i = 0; i < 600; ++i) paths.push_back(QStringLiteral("D:\\common\\abcdefgh%1.txt").arg(i));
    paths.push_back(QStringLiteral("D:\\common\\abcdefxyzw.txt"));
    test::addDisc(catalogue.connection, QStringLiteral("CD1"), paths);
    test::indexNewRows(catalogue.connection);
    const auto askedFor = [&](const QString& text) {
        const auto search = PathSearch::recognise(Statements::search(true, QString(), text));
        return PathSearchRouter::route(*search, catalogue.connection.handle())->bindings[0].toString();
    };
    // abc to def are on every row, the others on one: the rarest leaves too few candidates to ask for more.
    EXPECT_EQ(askedFor(QStringLiteral("abcdefxyzw")), QStringLiteral("\"efx\""));
    // A trigram that no row has answers alone.
    EXPECT_EQ(askedFor(QStringLiteral("abcdefghq")), QStringLiteral("\"ghq\""));
    EXPECT_EQ(test::rowsOf(catalogue.connection,
                           Statements::search(true, QString(), QStringLiteral("Defxyzw.")), true)
                  .size(),
              1u);
}

TEST(SearchRouting, AFurtherTrigramComesFromAnotherWordWhenTheRarestsOwnWordWouldNotNarrowIt) {
    test::TempCatalogue catalogue;
    std::vector<QString> paths;
    // "s\w" is the rarest trigram of "files\windows", and every row that has it has "windows" too.
    for (int i = 0; i < 3000; ++i) {
        paths.push_back(QStringLiteral("D:\\apps\\windows\\f%1.txt").arg(i));
        paths.push_back(QStringLiteral("D:\\files\\a\\f%1.txt").arg(i));
        paths.push_back(QStringLiteral("D:\\files\\b\\f%1.txt").arg(i));
    }
    for (int i = 0; i < 5; ++i) paths.push_back(QStringLiteral("D:\\files\\windows\\f%1.txt").arg(i));
    test::addDisc(catalogue.connection, QStringLiteral("CD1"), paths);
    test::indexNewRows(catalogue.connection);
    const QString statement = Statements::search(true, QString(), QStringLiteral("files\\windows"));
    const auto routed =
        PathSearchRouter::route(*PathSearch::recognise(statement), catalogue.connection.handle());
    ASSERT_TRUE(routed.has_value());
    const QString asked = routed->bindings[0].toString();
    EXPECT_TRUE(asked.startsWith(QStringLiteral("\"s\\w\" AND "))) << asked.toStdString();
    for (const char* trigram : {"fil", "ile", "les"}) {
        if (asked.contains(QString::fromLatin1(trigram))) return SUCCEED();
    }
    ADD_FAILURE() << "no trigram of \"files\" asked for: " << asked.toStdString();
}

TEST(SearchRouting, TwoCharactersAreFoundAnywhereInAPathEvenAtItsEnd) {
    test::TempCatalogue catalogue;
    test::addDisc(catalogue.connection, QStringLiteral("CD1"),
                  {QStringLiteral("D:\\dir\\report.QZ"), QStringLiteral("D:\\qz\\x.txt"),
                   QStringLiteral("D:\\dir\\q.z"), QStringLiteral("D:\\\u0639\u0644\u064A"),
                   QStringLiteral("D:\\\u0639\u0644\u06CC\\a")});
    for (const auto& [text, rows] :
         std::vector<std::pair<QString, size_t>>{{QStringLiteral("qz"), 2},
                                                 {QStringLiteral("Z"), 3},
                                                 {QStringLiteral("\u0644\u06CC"), 2},
                                                 {QStringLiteral("\u0644\u064A"), 2},
                                                 {QStringLiteral("d:"), 5},
                                                 {QStringLiteral("q_z"), 1}}) {
        for (const bool allDiscs : {true, false}) {
            const QString statement = Statements::search(allDiscs, QStringLiteral("CD1"), text);
            EXPECT_EQ(test::rowsOf(catalogue.connection, statement, true).size(), rows) << text.toStdString();
            EXPECT_EQ(test::rowsOf(catalogue.connection, statement, false).size(), rows)
                << text.toStdString();
        }
    }
}

TEST(SearchRouting, PersianYehAndKafFindEachOtherThroughIndexAndTable) {
    test::TempCatalogue catalogue;
    test::addDisc(catalogue.connection, QStringLiteral("CD1"),
                  {QStringLiteral("D:\\\u0643\u062A\u0627\u0628\\\u0639\u0644\u064A.txt"),  // Arabic kaf, yeh
                   QStringLiteral("D:\\\u06A9\u062A\u0627\u0628\\\u0639\u0644\u06CC.txt"),  // Persian
                   QStringLiteral("D:\\\u06A9\u062A\u0627\u0628\\\u0639\u0644\u0649.txt"),  // alef maksura
                   QStringLiteral("D:\\other\\file.txt")});
    for (const QString& text :
         {QStringLiteral("\u06A9\u062A\u0627\u0628"), QStringLiteral("\u0643\u062A\u0627\u0628"),
          QStringLiteral("\u0639\u0644\u06CC"), QStringLiteral("\u0639\u0644\u064A"),
          QStringLiteral("\u0639\u0644\u0649"), QStringLiteral("\u0644\u064A.TXT")}) {
        for (const bool allDiscs : {true, false}) {
            const QString statement = Statements::search(allDiscs, QStringLiteral("CD1"), text);
            ASSERT_FALSE(PathSearchRouter::indexQuery(PathSearch::recognise(statement)->pattern).isEmpty());
            EXPECT_EQ(test::rowsOf(catalogue.connection, statement, true).size(), 3u) << text.toStdString();
            EXPECT_EQ(test::rowsOf(catalogue.connection, statement, false).size(), 3u) << text.toStdString();
        }
    }
}

}  // namespace
}  // namespace vt
