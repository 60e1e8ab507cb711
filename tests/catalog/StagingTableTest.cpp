#include <gtest/gtest.h>

#include <QTemporaryDir>

#include "catalog/CatalogError.h"
#include "catalog/Connection.h"
#include "catalog/ConnectionString.h"
#include "catalog/Recordset.h"
#include "catalog/SqliteStatement.h"
#include "catalog/StagingTable.h"

namespace vt {
namespace {

class StagingTableTest : public ::testing::Test {
  protected:
    void SetUp() override {
        ASSERT_TRUE(folder.isValid());
        cn.setConnectionString(buildConnectionString(folder.path()));
        cn.Open();
    }
    long count(const QString& sql) {
        SqliteStatement s(cn.handle(), sql);
        return s.step() ? s.column(0).toLongLong() : -1;
    }
    void add(Recordset& rs, const QString& name) {
        rs.AddNew();
        rs.Fields(0).setValue(QStringLiteral("CD"));
        rs.Fields(1).setValue(name);
        rs.Fields(2).setValue(QStringLiteral("D:\\") + name);
        rs.Fields(3).setValue(5368709120.0);
        rs.Fields(4).setValue(QStringLiteral("Normal"));
        rs.Update();
    }

    QTemporaryDir folder;
    Connection cn;
};

TEST_F(StagingTableTest, RowsWaitInStagingAndArePublishedInOrderThroughTriggers) {
    cn.Execute(
        QStringLiteral("INSERT INTO BankList VALUES ('OLD','o','D:\\o',1,'Normal');"
                       "CREATE TABLE log (name TEXT);"
                       "CREATE TRIGGER logged AFTER INSERT ON BankList BEGIN "
                       "INSERT INTO log VALUES (NEW.FileName); END;"));
    Recordset rs;
    rs.Open(QStringLiteral("select top 1 * from bankList;"), cn);
    {
        StagingTable staging(cn, rs.tableName());
        rs.sendNewRowsTo(staging.name());
        for (const char* name : {"c", "a", "b"}) add(rs, QString::fromLatin1(name));
        EXPECT_EQ(rs.RecordCount(), 1) << "appended rows are not kept client-side";
        EXPECT_EQ(count(QStringLiteral("SELECT count(*) FROM BankList")), 1);

        Transaction publish(cn);
        staging.publish();
        publish.commit();
    }
    EXPECT_EQ(count(QStringLiteral("SELECT count(*) FROM sqlite_temp_master")), 0)
        << "dropped with the object";
    SqliteStatement rows(cn.handle(),
                         QStringLiteral("SELECT FileName, FileSize FROM BankList ORDER BY _rowid_"));
    QStringList names;
    while (rows.step()) {
        names << rows.column(0).toString();
        if (names.size() > 1) {
            EXPECT_EQ(rows.column(1).toDouble(), 5368709120.0);
        }
    }
    EXPECT_EQ(names, (QStringList{QStringLiteral("o"), QStringLiteral("c"), QStringLiteral("a"),
                                  QStringLiteral("b")}));
    EXPECT_EQ(count(QStringLiteral("SELECT count(*) FROM log")), 3);

    rs.Close();
    rs.Open(QStringLiteral("select top 1 * from bankList;"), cn);
    add(rs, QStringLiteral("direct"));
    EXPECT_EQ(count(QStringLiteral("SELECT count(*) FROM BankList")), 5) << "reopening ends the redirection";
}

TEST_F(StagingTableTest, StagedRowsNeverOutliveTheConnection) {
    Recordset rs;
    rs.Open(QStringLiteral("select top 1 * from bankList;"), cn);
    auto staging = std::make_unique<StagingTable>(cn, rs.tableName());
    rs.sendNewRowsTo(staging->name());
    add(rs, QStringLiteral("x"));
    rs.Close();
    cn.Close();       // as when the program dies mid-scan
    staging.reset();  // cannot drop its table any more, and need not
    Connection again;
    again.setConnectionString(buildConnectionString(folder.path()));
    again.Open();
    SqliteStatement s(again.handle(), QStringLiteral("SELECT count(*) FROM BankList"));
    ASSERT_TRUE(s.step());
    EXPECT_EQ(s.column(0).toInt(), 0);
}

}  // namespace
}  // namespace vt
