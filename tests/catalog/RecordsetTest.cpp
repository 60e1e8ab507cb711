#include <gtest/gtest.h>

#include "catalog/CatalogError.h"
#include "catalog/Recordset.h"
#include "catalog/Statements.h"
#include "support/CatalogFixture.h"

namespace vt {
namespace {

using test::CatalogFixture;

class RecordsetTest : public CatalogFixture {};

TEST_F(RecordsetTest, RecordCountIsExactAtOnceAndTopLimitsTheRows) {
    addDisk(QStringLiteral("CD1"), 30);
    Recordset rs;
    rs.Open(QStringLiteral("select * from BankList;"), cn);
    EXPECT_EQ(rs.State(), 1);
    EXPECT_EQ(rs.RecordCount(), 30);
    rs.Close();
    EXPECT_EQ(rs.State(), 0);
    rs.Open(QStringLiteral("Select top 7 * from Banklist Where( FilePath Like '%f%');"), cn);
    EXPECT_EQ(rs.RecordCount(), 7);
}

TEST_F(RecordsetTest, FieldsGoByPositionAndMovesWalkTheRows) {
    addDisk(QStringLiteral("CD1"), 3);
    Recordset rs;
    rs.Open(Statements::filesOfDisk(QStringLiteral("CD1")), cn);
    rs.MoveFirst();
    QStringList paths;
    for (long i = 0; i < rs.RecordCount(); ++i) {
        EXPECT_EQ(rs.Fields(0).Value().toString(), QStringLiteral("CD1"));
        paths << rs.Fields(2).Value().toString();
        EXPECT_EQ(rs.Fields(3).Value().toDouble(), double(i));
        rs.MoveNext();
    }
    EXPECT_TRUE(rs.EOF_());
    EXPECT_EQ(paths, (QStringList{"D:\\dir\\f0.txt", "D:\\dir\\f1.txt", "D:\\dir\\f2.txt"}));
    EXPECT_THROW(rs.Fields(0).Value(), CatalogError);
    EXPECT_THROW(rs.MoveNext(), CatalogError);
}

TEST_F(RecordsetTest, AbsolutePositionCountsFromOne) {
    addDisk(QStringLiteral("A"), 0);
    addDisk(QStringLiteral("B"), 0);
    addDisk(QStringLiteral("C"), 0);
    Recordset rs;
    rs.Open(Statements::allDisks(), cn);
    rs.setAbsolutePosition(2);
    EXPECT_EQ(rs.Fields(0).Value().toString(), QStringLiteral("B"));
    EXPECT_THROW(rs.setAbsolutePosition(0), CatalogError);
    EXPECT_THROW(rs.setAbsolutePosition(4), CatalogError);
}

TEST_F(RecordsetTest, DeleteRemovesTheCurrentRowOnly) {
    addDisk(QStringLiteral("CD1"), 3);
    addDisk(QStringLiteral("CD2"), 2);
    Recordset rs;
    rs.Open(Statements::filesOfDisk(QStringLiteral("CD1")), cn);
    rs.MoveFirst();
    rs.MoveNext();
    rs.Delete(Recordset::adAffectCurrent);
    EXPECT_EQ(rs.RecordCount(), 2);
    EXPECT_THROW(rs.Fields(0).Value(), CatalogError);  // the deleted row stays current until a move
    rs.MoveNext();
    EXPECT_EQ(rs.Fields(1).Value().toString(), QStringLiteral("f2.txt"));

    Recordset check;
    check.Open(QStringLiteral("select * from BankList;"), cn);
    EXPECT_EQ(check.RecordCount(), 4);
    check.Close();
    check.Open(QStringLiteral("select * from BankList where(FileName='f1.txt');"), cn);
    EXPECT_EQ(check.RecordCount(), 1);  // CD2's f1.txt is untouched
    check.MoveFirst();
    EXPECT_EQ(check.Fields(0).Value().toString(), QStringLiteral("CD2"));
}

TEST_F(RecordsetTest, AddNewIsWrittenAtUpdateAndDroppedWithoutIt) {
    Recordset rs;
    rs.Open(Statements::disksNamedLike(QStringLiteral("New")), cn);
    EXPECT_EQ(rs.RecordCount(), 0);
    rs.AddNew();
    rs.Fields(0).setValue(QStringLiteral("New"));
    rs.Fields(1).setValue(QStringLiteral("-2147483648"));
    rs.Fields(2).setValue(QStringLiteral("700,000,000 bytes"));
    rs.Fields(3).setValue(QStringLiteral("5"));
    rs.Update();
    EXPECT_EQ(rs.RecordCount(), 1);
    EXPECT_EQ(rs.Fields(2).Value().toString(), QStringLiteral("700,000,000 bytes"));

    Recordset files;
    files.Open(Statements::bankListForAppend(), cn);
    files.AddNew();
    files.Fields(0).setValue(QStringLiteral("New"));
    files.Close();  // never updated: not written

    Recordset check;
    check.Open(QStringLiteral("select * from BankList;"), cn);
    EXPECT_EQ(check.RecordCount(), 0);
    check.Close();
    check.Open(Statements::allDisks(), cn);
    ASSERT_EQ(check.RecordCount(), 1);
    check.MoveFirst();
    EXPECT_EQ(check.Fields(1).Value().toString(), QStringLiteral("-2147483648"));
}

TEST_F(RecordsetTest, LargeSizesSurviveAsDoubles) {
    Recordset rs;
    rs.Open(Statements::bankListForAppend(), cn);
    rs.AddNew();
    rs.Fields(0).setValue(QStringLiteral("DVD"));
    rs.Fields(3).setValue(5368709120.0);
    rs.Update();
    rs.Close();
    rs.Open(QStringLiteral("select * from BankList;"), cn);
    rs.MoveFirst();
    EXPECT_EQ(rs.Fields(3).Value().toDouble(), 5368709120.0);
}

TEST_F(RecordsetTest, MisuseIsAnErrorNotACrash) {
    Recordset rs;
    EXPECT_THROW(rs.RecordCount(), CatalogError);
    EXPECT_THROW(rs.Open(QStringLiteral("select * from NoSuchTable;"), cn), CatalogError);
    EXPECT_EQ(rs.State(), 0);
    EXPECT_THROW(rs.Open(QStringLiteral("delete from Disks;"), cn), CatalogError);
    rs.Open(Statements::allDisks(), cn);
    EXPECT_THROW(rs.MoveFirst(), CatalogError);                       // no rows
    EXPECT_THROW(rs.Open(Statements::allDisks(), cn), CatalogError);  // already open
    EXPECT_THROW(rs.Fields(0).setValue(1), CatalogError);             // not a new row
}

TEST_F(RecordsetTest, AQuotedNameCannotWidenADelete) {
    addDisk(QStringLiteral("CD1"), 2);
    addDisk(QStringLiteral("x' or '1'='1"), 1);
    Recordset rs;
    rs.Open(Statements::filesOfDisk(QStringLiteral("x' or '1'='1")), cn);
    EXPECT_EQ(rs.RecordCount(), 1);
    rs.MoveFirst();
    rs.Delete();
    rs.Close();
    rs.Open(QStringLiteral("select * from BankList;"), cn);
    EXPECT_EQ(rs.RecordCount(), 2);
}

TEST(TranslateSelect, TopBecomesLimitAndTheTableIsKnown) {
    QString table;
    EXPECT_EQ(translateSelect(QStringLiteral("select top 1 * from bankList;"), &table),
              QStringLiteral("SELECT _rowid_, * from bankList LIMIT 1;"));
    EXPECT_EQ(table, QStringLiteral("bankList"));
    EXPECT_EQ(translateSelect(
                  QStringLiteral("Select top 2000 * from Banklist Where( FilePath Like '%a;b%');"), &table),
              QStringLiteral("SELECT _rowid_, * from Banklist Where( FilePath Like '%a;b%') LIMIT 2000;"));
    EXPECT_EQ(translateSelect(QStringLiteral("Select * from Disks;"), &table),
              QStringLiteral("SELECT _rowid_, * from Disks;"));
    EXPECT_EQ(table, QStringLiteral("Disks"));
}

}  // namespace
}  // namespace vt
