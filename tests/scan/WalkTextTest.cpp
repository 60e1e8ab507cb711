#include <gtest/gtest.h>

#include <QLocale>

#include "platform/FileSystem.h"
#include "scan/DriveDetails.h"
#include "scan/WalkText.h"
#include "support/FakeDrives.h"

namespace vt {
namespace {

TEST(WalkText, AttributeWordsComeInFixedOrderWithNormalAlways) {
    using namespace FileAttribute;
    EXPECT_EQ(AttributeText(0), QStringLiteral("Normal"));
    EXPECT_EQ(AttributeText(ReadOnly), QStringLiteral("NormalReadOnly"));
    EXPECT_EQ(AttributeText(Hidden | Archive), QStringLiteral("HiddenArchiveNormal"));
    EXPECT_EQ(AttributeText(ReadOnly | Hidden | System | Directory | Archive | 0x800),
              QStringLiteral("DirectoryHiddenSystemArchiveNormalReadOnly"));
}

TEST(WalkText, SmallTextFunctions) {
    EXPECT_EQ(AddBackslash(QString()), QStringLiteral("\\"));
    EXPECT_EQ(AddBackslash(QStringLiteral("D:\\")), QStringLiteral("D:\\"));
    EXPECT_EQ(AddBackslash(QStringLiteral("D:\\dir")), QStringLiteral("D:\\dir\\"));
    EXPECT_EQ(TrimNull(QStringLiteral("no terminator")), QString());
    EXPECT_EQ(TrimNull(QStringLiteral("LABEL") + QChar(0) + QStringLiteral("junk")), QStringLiteral("LABEL"));
    EXPECT_EQ(TrimBlanks(QStringLiteral("  a b \t ")), QStringLiteral("a b \t"));
    EXPECT_EQ(TrimBlanks(QStringLiteral("   ")), QString());
}

class DriveDetailsTest : public ::testing::Test {
  protected:
    void SetUp() override { QLocale::setDefault(QLocale(QLocale::English, QLocale::UnitedStates)); }
    void TearDown() override { QLocale::setDefault(QLocale::system()); }
};

TEST_F(DriveDetailsTest, SizesAreGroupedInThreesAndSerialsAreSigned) {
    EXPECT_EQ(formatUsedSize(700000000), QStringLiteral("700,000,000 bytes"));
    EXPECT_EQ(formatUsedSize(0), QStringLiteral("0 bytes"));
    EXPECT_EQ(formatUsedSize(5368709120ull), QStringLiteral("5,368,709,120 bytes"));
    EXPECT_EQ(serialText(0x80000000u), QStringLiteral("-2147483648"));
    EXPECT_EQ(serialText(0x7FFFFFFFu), QStringLiteral("2147483647"));

    QLocale::setDefault(QLocale(QLocale::German, QLocale::Germany));
    EXPECT_EQ(formatUsedSize(654311424), QStringLiteral("654.311.424 bytes"));
}

TEST_F(DriveDetailsTest, DetailsOfADriveWithoutDiscAreZeroAndEmpty) {
    test::FakeDriveTable drives;
    drives.add(QLatin1Char('D'), {kDriveTypeCdRom,
                                  QStringLiteral("/nowhere"),
                                  {1000, 400},
                                  {QString(300, QLatin1Char('L')), QStringLiteral("UDF"), 0xFFFFFFFFu},
                                  true});
    const DriveDetails d = readDriveDetails(drives, QStringLiteral("D:\\"));
    EXPECT_EQ(d.usedSize, QStringLiteral("600 bytes"));
    EXPECT_EQ(d.label, QString(254, QLatin1Char('L'))) << "cut to the 255-character buffer";
    EXPECT_EQ(d.fileSystemName, QStringLiteral("UDF"));
    EXPECT_EQ(d.serial, QStringLiteral("-1"));
    const DriveDetails none = readDriveDetails(drives, QStringLiteral("E:\\"));
    EXPECT_EQ(none.usedSize, QStringLiteral("0 bytes"));
    EXPECT_EQ(none.label, QString());
    EXPECT_EQ(none.serial, QStringLiteral("0"));
}

}  // namespace
}  // namespace vt
