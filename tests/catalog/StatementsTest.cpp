#include <gtest/gtest.h>

#include "catalog/Statements.h"

namespace vt {
namespace {

TEST(Statements, TextsWithoutQuotesAreExactlyTheProgramsOwn) {
    EXPECT_EQ(Statements::disksNamedLike(QStringLiteral("NewDisk1")),
              QStringLiteral("Select * from Disks where(DiskName like 'NewDisk1');"));
    EXPECT_EQ(Statements::bankListForAppend(), QStringLiteral("select top 1 * from bankList;"));
    EXPECT_EQ(Statements::allDisks(), QStringLiteral("Select * from Disks;"));
    EXPECT_EQ(Statements::search(true, QString(), QStringLiteral("mp3")),
              QStringLiteral("Select top 2000 * from Banklist Where( FilePath Like '%mp3%');"));
    EXPECT_EQ(Statements::search(false, QStringLiteral("Music1"), QStringLiteral("mp3")),
              QStringLiteral(
                  "Select top 2000 * from Banklist  Where (Diskname='Music1'  And  FilePath Like '%mp3%');"));
    EXPECT_EQ(Statements::filesOfDisk(QStringLiteral("CD7")),
              QStringLiteral("select * from BankList where(DiskName='CD7');"));
    EXPECT_EQ(Statements::diskNamed(QStringLiteral("CD7")),
              QStringLiteral("select * from Disks where(DiskName='CD7');"));
}

TEST(Statements, UserTextIsSplicedUntrimmedWithWildcardsKept) {
    EXPECT_EQ(Statements::search(true, QString(), QStringLiteral("   ")),
              QStringLiteral("Select top 2000 * from Banklist Where( FilePath Like '%   %');"));
    EXPECT_EQ(
        Statements::search(false, QString(), QStringLiteral("abc")),
        QStringLiteral("Select top 2000 * from Banklist  Where (Diskname=''  And  FilePath Like '%abc%');"));
    EXPECT_EQ(Statements::disksNamedLike(QStringLiteral("Disk_%")),
              QStringLiteral("Select * from Disks where(DiskName like 'Disk_%');"));
}

TEST(Statements, QuotesInUserTextAreDoubled) {
    EXPECT_EQ(Statements::diskNamed(QStringLiteral("x') or ('1'='1")),
              QStringLiteral("select * from Disks where(DiskName='x'') or (''1''=''1');"));
    EXPECT_EQ(Statements::search(false, QStringLiteral("O'Brien"), QStringLiteral("it's")),
              QStringLiteral("Select top 2000 * from Banklist  Where (Diskname='O''Brien'  And  "
                             "FilePath Like '%it''s%');"));
}

}  // namespace
}  // namespace vt
