#include <gtest/gtest.h>

#include "CatalogueHelpers.h"
#include "catalog/BankListAppender.h"
#include "catalog/SqliteStatement.h"

namespace vt {
namespace {

TEST(BankListAppender, NamesAndPathsAreStoredExactlyWhateverTheirCharactersAndInTheOrderGiven) {
    test::TempCatalogue catalogue;
    Connection& cn = catalogue.connection;
    const std::vector<std::pair<QString, QString>> rows = {
        {QStringLiteral("\u06A9\u062A\u0627\u0628 \u06CC\u06A9.txt"),
         QStringLiteral(
             "D:\\\u0645\u0648\u0633\u06CC\u0642\u06CC\\\u06A9\u062A\u0627\u0628 \u06CC\u06A9.txt")},
        {QStringLiteral("not the end.txt"), QStringLiteral("D:\\other\\name.txt")},
        {QStringLiteral("\U0001F600 smile.png"), QStringLiteral("D:\\\u00E9t\u00E9\\\U0001F600 smile.png")},
        {QStringLiteral("caf\u00E9 \u00FC.txt"), QStringLiteral("D:\\x\\caf\u00E9 \u00FC.txt")},
        {QString(), QStringLiteral("D:\\empty\\")},
        {QStringLiteral("a"), QStringLiteral("a")},
    };
    {
        Transaction transaction(cn);
        BankListAppender appender(cn);
        // More rows than go in one statement, so that both kinds of statement are used.
        for (int copy = 0; copy < 7; ++copy) {
            for (const auto& [name, path] : rows) {
                appender.append({QStringLiteral("CD"), name, path, double(copy), QStringLiteral("Normal")});
            }
        }
        appender.finish();
        transaction.commit();
    }
    SqliteStatement read(cn.handle(),
                         QStringLiteral("SELECT FileName, FilePath, FileSize FROM BankList ORDER BY rowid"));
    for (int copy = 0; copy < 7; ++copy) {
        for (const auto& [name, path] : rows) {
            ASSERT_TRUE(read.step());
            EXPECT_EQ(read.column(0).toString(), name);
            EXPECT_EQ(read.column(1).toString(), path);
            EXPECT_EQ(read.column(2).toInt(), copy);
        }
    }
    EXPECT_FALSE(read.step());
}

}  // namespace
}  // namespace vt
