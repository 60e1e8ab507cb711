#include <gtest/gtest.h>

#include <QTemporaryDir>

#include "catalog/CatalogError.h"
#include "catalog/Connection.h"
#include "catalog/Recordset.h"
#include "catalog/Statements.h"
#include "support/CatalogueEngines.h"

namespace vt {
namespace {

using test::Engine;

// The program's statements read the same rows, in the same order, from either engine.
class RecordsetEngines : public ::testing::TestWithParam<Engine> {
  protected:
    void SetUp() override {
        VT_SKIP_WITHOUT_SERVER(GetParam());
        const QString address = test::freshCatalogueAddress(GetParam(), folder);
        ASSERT_FALSE(address.isEmpty());
        openCatalogue(cn, test::connectionStringFor(address));
    }

    // A disc as a scan adds it: the disc row, then its files through a recordset on BankList.
    void addDisc(const QString& name, const QStringList& paths) {
        Recordset disks;
        disks.Open(Statements::disksNamedLike(name), cn);
        ASSERT_EQ(disks.RecordCount(), 0);
        disks.AddNew();
        const QVariant values[] = {name,
                                   QStringLiteral("12AB"),
                                   QStringLiteral("700 MB"),
                                   paths.size(),
                                   QStringLiteral("LABEL"),
                                   QStringLiteral("ISO 9660"),
                                   qlonglong(1700000000)};
        for (int i = 0; i < 7; ++i) disks.Fields(i).setValue(values[i]);
        disks.Update();
        Recordset files;
        files.Open(Statements::bankListForAppend(), cn);
        double size = 1;
        for (const QString& path : paths) {
            files.AddNew();
            files.Fields(0).setValue(name);
            files.Fields(1).setValue(path.section(QLatin1Char('\\'), -1));
            files.Fields(2).setValue(path);
            files.Fields(3).setValue(size *= 1024);
            files.Fields(4).setValue(QStringLiteral("Normal"));
            files.Fields(5).setValue(QVariant());
            files.Update();
        }
    }

    QStringList column(const QString& statement, int field) {
        Recordset rs;
        rs.Open(statement, cn);
        QStringList values;
        for (; !rs.EOF_(); rs.MoveNext()) values << rs.Fields(field).Value().toString();
        return values;
    }

    QTemporaryDir folder;
    Connection cn;
};

TEST_P(RecordsetEngines, SearchesAndDiscStatementsGiveTheSameRowsInTheSameOrder) {
    addDisc(QStringLiteral("Backup"),
            {QStringLiteral("D:\\Docs\\Report.DOC"), QStringLiteral("D:\\docs\\b.txt"),
             QStringLiteral("D:\\كتاب\\يك.pdf")});
    addDisc(QStringLiteral("Photos"),
            {QStringLiteral("E:\\2024\\docs.jpg"), QStringLiteral("E:\\a_b\\x.png")});

    Recordset disks;
    disks.Open(Statements::allDisks(), cn);
    ASSERT_EQ(disks.RecordCount(), 2);
    ASSERT_EQ(disks.fieldCount(), 7);
    EXPECT_EQ(disks.Fields(0).Value(), QVariant(QStringLiteral("Backup")));
    EXPECT_EQ(disks.Fields(3).Value(), QVariant(QStringLiteral("3")));  // a text column keeps text
    EXPECT_EQ(disks.Fields(6).Value(), QVariant(qlonglong(1700000000)));

    // Case, letter forms and the program's wildcards as the catalogue's `like` has them; '\' is no escape.
    const auto paths = [this](const QString& statement) { return column(statement, 2); };
    EXPECT_EQ(paths(Statements::search(true, {}, QStringLiteral("DOCS\\"))),
              (QStringList{QStringLiteral("D:\\Docs\\Report.DOC"), QStringLiteral("D:\\docs\\b.txt")}));
    EXPECT_EQ(paths(Statements::search(true, {}, QStringLiteral("docs"), 2)),
              (QStringList{QStringLiteral("D:\\Docs\\Report.DOC"), QStringLiteral("D:\\docs\\b.txt")}));
    EXPECT_EQ(paths(Statements::search(true, {}, QStringLiteral("کتاب\\ی"))),
              (QStringList{QStringLiteral("D:\\كتاب\\يك.pdf")}));
    EXPECT_EQ(paths(Statements::search(true, {}, QStringLiteral("a_b"))),
              (QStringList{QStringLiteral("E:\\a_b\\x.png")}));
    EXPECT_EQ(paths(Statements::search(false, QStringLiteral("PHOTOS"), QStringLiteral("docs"))),
              (QStringList{QStringLiteral("E:\\2024\\docs.jpg")}));
    EXPECT_TRUE(paths(Statements::search(true, {}, QStringLiteral("x') OR ('1'='1"))).isEmpty());

    // A disc by name, case ignored, and its files in the order they were added.
    EXPECT_EQ(column(Statements::diskNamed(QStringLiteral("backup")), 0),
              QStringList{QStringLiteral("Backup")});
    EXPECT_EQ(column(Statements::disksNamedLike(QStringLiteral("BACK%")), 0),
              QStringList{QStringLiteral("Backup")});
    EXPECT_EQ(column(Statements::filesOfDisk(QStringLiteral("BACKUP")), 1),
              (QStringList{QStringLiteral("Report.DOC"), QStringLiteral("b.txt"), QStringLiteral("يك.pdf")}));

    // Rows go as they are deleted through the recordset.
    Recordset files;
    files.Open(Statements::filesOfDisk(QStringLiteral("Backup")), cn);
    files.setAbsolutePosition(2);
    files.Delete();
    EXPECT_EQ(files.RecordCount(), 2);
    EXPECT_EQ(column(Statements::filesOfDisk(QStringLiteral("Backup")), 1),
              (QStringList{QStringLiteral("Report.DOC"), QStringLiteral("يك.pdf")}));
    EXPECT_EQ(column(Statements::filesOfDisk(QStringLiteral("Backup")), 3),
              (QStringList{QStringLiteral("1024"), QStringLiteral("1073741824")}));
}

// Work meant to land whole is never joined to another transaction: a second Begin fails on either engine
// and leaves the open transaction, and its work, as they were.
TEST_P(RecordsetEngines, ABeginWithinATransactionFailsAndLeavesItOpen) {
    cn.BeginTrans();
    cn.Execute(QStringLiteral("INSERT INTO Disks (DiskName) VALUES ('Pending');"));
    EXPECT_THROW(
        {
            Transaction removal(cn);
            removal.commit();
        },
        CatalogError);
    ASSERT_TRUE(cn.inTransaction());
    cn.RollbackTrans();
    EXPECT_TRUE(column(Statements::allDisks(), 0).isEmpty());
}

INSTANTIATE_TEST_SUITE_P(BothEngines, RecordsetEngines, ::testing::Values(Engine::File, Engine::Server),
                         test::engineName);

}  // namespace
}  // namespace vt
