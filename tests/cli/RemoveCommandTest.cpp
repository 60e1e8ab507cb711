#include "catalog/Recordset.h"
#include "cli/CliFixture.h"

namespace vt {
namespace {

class RemoveCommand : public test::CliFixture {
  protected:
    long rows(const QString& sql) {
        Connection cn;
        openCatalogue(cn, buildConnectionString(folder.path()));
        Recordset rs;
        rs.Open(sql, cn);
        return rs.RecordCount();
    }
};

TEST_F(RemoveCommand, RemovesExactlyTheNamedDiscWithYes) {
    catalogue(QStringLiteral("CD1"), {QStringLiteral("D:\\a"), QStringLiteral("D:\\b")});
    catalogue(QStringLiteral("CD10"), {QStringLiteral("D:\\c")});
    catalogue(QStringLiteral("CD_"), {QStringLiteral("D:\\d")});
    EXPECT_EQ(run({QStringLiteral("remove"), QStringLiteral("CD1"), QStringLiteral("--yes")}), 0);
    EXPECT_EQ(rows(QStringLiteral("select * from Disks;")), 2);
    EXPECT_EQ(rows(QStringLiteral("select * from BankList;")), 2);
    EXPECT_EQ(run({QStringLiteral("remove"), QStringLiteral("CD1"), QStringLiteral("--yes")}), 1);
    EXPECT_TRUE(errText.contains(QStringLiteral("no disc named")));
}

TEST_F(RemoveCommand, ADiscIsRemovedByItsNameInAnotherCase) {
    catalogue(QStringLiteral("aXb"), {QStringLiteral("D:\\a"), QStringLiteral("D:\\b")});
    catalogue(QStringLiteral("aXbc"), {QStringLiteral("D:\\c")});
    EXPECT_EQ(run({QStringLiteral("remove"), QStringLiteral("AXB"), QStringLiteral("--yes")}), 0);
    EXPECT_TRUE(errText.contains(QStringLiteral("Removed the disc 'aXb' and 2 file rows")))
        << errText.toStdString();
    EXPECT_EQ(rows(QStringLiteral("select * from Disks;")), 1);
    EXPECT_EQ(rows(QStringLiteral("select * from BankList;")), 1);
}

TEST_F(RemoveCommand, ANameWithAQuoteIsRemovedAndNothingElse) {
    catalogue(QStringLiteral("Bob's"), {QStringLiteral("D:\\a")});
    catalogue(QStringLiteral("Bob"), {QStringLiteral("D:\\b")});
    EXPECT_EQ(run({QStringLiteral("remove"), QStringLiteral("Bob's"), QStringLiteral("--yes")}), 0);
    EXPECT_EQ(rows(QStringLiteral("select * from BankList;")), 1);
    EXPECT_EQ(rows(QStringLiteral("select * from Disks where(DiskName='Bob');")), 1);
}

TEST_F(RemoveCommand, AsksOnATerminalAndRefusesWithoutOne) {
    catalogue(QStringLiteral("CD1"), {QStringLiteral("D:\\a")});
    EXPECT_EQ(run({QStringLiteral("remove"), QStringLiteral("CD1")}), 1);
    EXPECT_TRUE(errText.contains(QStringLiteral("--yes")));
    EXPECT_EQ(rows(QStringLiteral("select * from Disks;")), 1);

    interactive = true;
    EXPECT_EQ(run({QStringLiteral("remove"), QStringLiteral("CD1")}, QStringLiteral("n\n")), 1);
    EXPECT_EQ(rows(QStringLiteral("select * from Disks;")), 1);
    EXPECT_EQ(run({QStringLiteral("remove"), QStringLiteral("CD1")}, QStringLiteral("y\n")), 0);
    EXPECT_EQ(rows(QStringLiteral("select * from Disks;")), 0);
    EXPECT_EQ(rows(QStringLiteral("select * from BankList;")), 0);
}

TEST_F(RemoveCommand, AFailureChangesNothing) {
    catalogue(QStringLiteral("CD1"), {QStringLiteral("D:\\a"), QStringLiteral("D:\\b")});
    {
        Connection cn;
        openCatalogue(cn, buildConnectionString(folder.path()));
        cn.Execute(QStringLiteral(
            "CREATE TRIGGER refuse BEFORE DELETE ON Disks BEGIN SELECT RAISE(ABORT, 'no'); END;"));
    }
    EXPECT_EQ(run({QStringLiteral("remove"), QStringLiteral("CD1"), QStringLiteral("--yes")}), 3);
    EXPECT_TRUE(errText.contains(QStringLiteral("nothing changed")));
    EXPECT_EQ(rows(QStringLiteral("select * from BankList;")), 2);
    EXPECT_EQ(rows(QStringLiteral("select * from Disks;")), 1);
}

}  // namespace
}  // namespace vt
