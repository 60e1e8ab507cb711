#include <gtest/gtest.h>

#include "catalog/Recordset.h"
#include "catalog/Statements.h"
#include "catalog/TextMatch.h"
#include "support/CatalogFixture.h"

namespace vt {
namespace {

bool like(const char* text, const char* pattern) {
    return LikePattern(pattern).matches(text);
}

TEST(Like, WildcardsMatchRunsAndSingleCharacters) {
    EXPECT_TRUE(like("D:\\music\\a.mp3", "%mp3%"));
    EXPECT_TRUE(like("abc", "abc"));
    EXPECT_FALSE(like("abcd", "abc"));
    EXPECT_TRUE(like("Disk1", "Disk_"));
    EXPECT_FALSE(like("Disk12", "Disk_"));
    EXPECT_TRUE(like("", "%"));
    EXPECT_FALSE(like("", "_"));
    EXPECT_TRUE(like("aXbXc", "a%b%c"));
    EXPECT_FALSE(like("aXbXd", "a%b%c"));
    EXPECT_TRUE(like("aaa", "%a%a%a%"));
    EXPECT_TRUE(like("x   y", "%   %"));
    EXPECT_FALSE(like("x  y", "%   %"));
}

TEST(Like, CaseIsIgnoredInEveryScript) {
    EXPECT_TRUE(like("DISK1", "Disk1"));
    EXPECT_TRUE(like("ÉTÉ", "été"));
    EXPECT_TRUE(like("ΑΒΓ", "αβγ"));
    EXPECT_TRUE(like("ПРИВЕТ", "%привет%"));
    EXPECT_FALSE(like("e", "é"));
}

TEST(Like, ArabicAndPersianYehAndKafAreOneLetter) {
    EXPECT_TRUE(like("ديسك", "دیسک"));  // Arabic letters stored, Persian typed
    EXPECT_TRUE(like("دیسک", "ديسك"));
    EXPECT_TRUE(like("موسيقى", "%موسیقی%"));
    EXPECT_FALSE(like("ديسك", "دسک"));
}

TEST(Like, InvalidUtf8IsComparedNotDropped) {
    EXPECT_FALSE(
        like("a\xff"
             "b",
             "ab"));
    EXPECT_TRUE(
        like("a\xff"
             "b",
             "a_b"));
    EXPECT_FALSE(like("a\xfe", "a_b"));
}

class LikeInStatements : public test::CatalogFixture {};

TEST_F(LikeInStatements, TheDuplicateTestIsCaseInsensitiveAndHonoursWildcards) {
    addDisk(QStringLiteral("DISK1"), 0);
    Recordset rs;
    rs.Open(Statements::disksNamedLike(QStringLiteral("Disk1")), cn);
    EXPECT_EQ(rs.RecordCount(), 1);
    rs.Close();
    rs.Open(Statements::disksNamedLike(QStringLiteral("Disk_")), cn);
    EXPECT_EQ(rs.RecordCount(), 1);
    rs.Close();
    rs.Open(Statements::disksNamedLike(QStringLiteral("Disk")), cn);
    EXPECT_EQ(rs.RecordCount(), 0);
}

TEST_F(LikeInStatements, SearchFindsQuotedTextAndNamesIgnoreCase) {
    addDisk(QStringLiteral("CD1"), 0);
    cn.Execute(
        QStringLiteral("INSERT INTO bankList(DiskName, FileName, FilePath, FileSize, FileAttr) VALUES "
                       "('CD1', 'x', 'D:\\O''Brien\\x', 1, 'Normal');"));
    Recordset rs;
    rs.Open(Statements::search(true, QString(), QStringLiteral("o'brien")), cn);
    EXPECT_EQ(rs.RecordCount(), 1);
    rs.Close();
    rs.Open(Statements::search(false, QStringLiteral("CD1"), QStringLiteral("O'Brien")), cn);
    EXPECT_EQ(rs.RecordCount(), 1);
    rs.Close();
    rs.Open(Statements::search(false, QStringLiteral("CD2"), QStringLiteral("O'Brien")), cn);
    EXPECT_EQ(rs.RecordCount(), 0);
}

}  // namespace
}  // namespace vt
