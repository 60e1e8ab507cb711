#include <gtest/gtest.h>

#include "CatalogueHelpers.h"
#include "catalog/DiscNames.h"
#include "catalog/SelectRouting.h"
#include "catalog/SqliteStatement.h"
#include "catalog/Statements.h"

namespace vt {
namespace {

// What SQLite plans for `sql`, one step a line.
QString planOf(Connection& connection, const QString& sql) {
    SqliteStatement plan(connection.handle(), QStringLiteral("EXPLAIN QUERY PLAN ") + sql);
    QString steps;
    while (plan.step()) steps += plan.column(3).toString() + QLatin1Char('\n');
    return steps;
}

// Persian "كتاب" as catalogued with the Persian kaf, and asked for with the Arabic one.
const QString kPersianKaf = QStringLiteral("\u06A9\u062A\u0627\u0628 \u0645\u0646");
const QString kArabicKaf = QStringLiteral("\u0643\u062A\u0627\u0628 \u0645\u0646");

class DiscNamesTest : public ::testing::Test {
  protected:
    void SetUp() override {
        test::addDisc(catalogue.connection, QStringLiteral("other"), {QStringLiteral("D:\\abc\\x.txt")});
        test::addDisc(catalogue.connection, QStringLiteral("aXb"),
                      {QStringLiteral("D:\\abc\\1.txt"), QStringLiteral("D:\\abc\\2.txt"),
                       QStringLiteral("D:\\z\\3.txt")});
        test::addDisc(catalogue.connection, kPersianKaf, {QStringLiteral("D:\\abc\\4.txt")});
        test::indexNewRows(catalogue.connection);
    }
    std::vector<QString> rows(const QString& statement, bool indexed) {
        return test::rowsOf(catalogue.connection, statement, indexed);
    }

    test::TempCatalogue catalogue;
};

TEST_F(DiscNamesTest, ADiscIsFoundByItsNameInAnyCaseAndEitherKafThroughIndexAndTableAlike) {
    for (const QString& text : {QStringLiteral("abc"), QStringLiteral("a"), QStringLiteral(".txt")}) {
        const auto exact = rows(Statements::search(false, QStringLiteral("aXb"), text), false);
        ASSERT_FALSE(exact.empty()) << text.toStdString();
        for (const QString& asked : {QStringLiteral("AXB"), QStringLiteral("axb"), QStringLiteral("aXb")}) {
            const QString statement = Statements::search(false, asked, text);
            EXPECT_EQ(rows(statement, true), exact) << asked.toStdString() << ' ' << text.toStdString();
            EXPECT_EQ(rows(statement, false), exact) << asked.toStdString() << ' ' << text.toStdString();
        }
    }
    EXPECT_EQ(rows(Statements::search(false, kArabicKaf, QStringLiteral("abc")), true).size(), 1u);
    EXPECT_EQ(rows(Statements::search(false, kArabicKaf, QStringLiteral("a")), false).size(), 1u);
    EXPECT_EQ(rows(Statements::filesOfDisk(QStringLiteral("AXB")), false).size(), 3u);
    EXPECT_EQ(rows(Statements::diskNamed(kArabicKaf), false).size(), 1u);
    EXPECT_TRUE(rows(Statements::search(false, QStringLiteral("aX"), QStringLiteral("abc")), true).empty());
    EXPECT_TRUE(rows(Statements::filesOfDisk(QStringLiteral("a_b")), false).empty())
        << "no wildcards in a name";
}

TEST_F(DiscNamesTest, ADiscIsRemovedByItsNameInAnyCaseAndNoOtherWithIt) {
    test::removeDisc(catalogue.connection, QStringLiteral("AXB"));
    test::removeDisc(catalogue.connection, kArabicKaf);
    EXPECT_TRUE(rows(Statements::filesOfDisk(QStringLiteral("aXb")), false).empty());
    EXPECT_TRUE(rows(Statements::diskNamed(QStringLiteral("aXb")), false).empty());
    EXPECT_TRUE(rows(Statements::filesOfDisk(kPersianKaf), false).empty());
    EXPECT_EQ(rows(QStringLiteral("select * from BankList;"), false).size(), 1u);
    EXPECT_TRUE(test::indexProblem(catalogue.connection).isEmpty());
}

TEST_F(DiscNamesTest, SeveralStoredSpellingsAreAllTakenInRowidOrderAndEveryStatementUsesTheNameIndex) {
    // Two spellings of one name can only come from outside the scan, which refuses the second.
    test::execute(catalogue.connection,
                  QStringLiteral("INSERT INTO BankList(DiskName, FileName, FilePath, FileSize, FileAttr) "
                                 "VALUES ('AxB', '5.txt', 'D:\\abc\\5.txt', 99, 'Normal');"
                                 "INSERT INTO BankList(DiskName, FileName, FilePath, FileSize, FileAttr) "
                                 "VALUES ('aXb', '6.txt', 'D:\\abc\\6.txt', 98, 'Normal');"));
    EXPECT_EQ(DiscNames::storedSpellings(catalogue.connection.handle(), QStringLiteral("AXB")),
              (std::vector<QString>{QStringLiteral("AxB"), QStringLiteral("aXb")}));
    EXPECT_EQ(DiscNames::storedSpellings(catalogue.connection.handle(), QStringLiteral("none")),
              std::vector<QString>{QStringLiteral("none")});
    const auto found = rows(Statements::search(false, QStringLiteral("axb"), QStringLiteral("abc")), true);
    ASSERT_EQ(found.size(), 4u);
    EXPECT_TRUE(found[2].startsWith(QStringLiteral("AxB|D:\\abc\\5.txt")));
    EXPECT_TRUE(found[3].startsWith(QStringLiteral("aXb|D:\\abc\\6.txt")));

    for (const QString& name : {QStringLiteral("AXB"), QStringLiteral("other")}) {
        for (const QString& statement : {Statements::search(false, name, QStringLiteral("a")),
                                         Statements::filesOfDisk(name), Statements::diskNamed(name)}) {
            const auto routed = routeSelect(statement, catalogue.connection.handle(), false);
            ASSERT_TRUE(routed.has_value()) << statement.toStdString();
            const QString plan = planOf(catalogue.connection, routed->sql);
            EXPECT_TRUE(plan.contains(QStringLiteral("USING INDEX"))) << plan.toStdString();
            EXPECT_FALSE(plan.contains(QStringLiteral("SCAN"))) << plan.toStdString();
        }
    }
}

}  // namespace
}  // namespace vt
