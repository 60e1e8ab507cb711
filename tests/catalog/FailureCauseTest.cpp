// Each failure of the engine that the user can mend carries its cause, produced here for real.
#include <gtest/gtest.h>
#include <sqlite3.h>

#include <QFile>
#include <functional>

#include "CatalogueHelpers.h"
#include "catalog/CatalogError.h"
#include "catalog/SqliteStatement.h"

namespace vt::test {
namespace {

// The cause of the CatalogError that `work` throws; General with a failed expectation when it throws none.
CatalogFailureCause causeOf(const std::function<void()>& work) {
    try {
        work();
    } catch (const CatalogError& error) {
        return error.cause();
    }
    ADD_FAILURE() << "no CatalogError";
    return CatalogFailureCause::General;
}

std::vector<QString> manyPaths(int count) {
    std::vector<QString> paths;
    for (int i = 0; i < count; ++i)
        paths.push_back(QStringLiteral("D:\\a rather long folder name\\file number %1.txt").arg(i));
    return paths;
}

qint64 pragma(Connection& connection, const QString& text) {
    SqliteStatement statement(connection.handle(), text);
    return statement.step() ? statement.column(0).toLongLong() : -1;
}

TEST(CatalogFailureCause, AFullDiskIsToldAsSuch) {
    TempCatalogue catalogue;
    Connection& cn = catalogue.connection;
    // A disk that holds no more than the catalogue already takes.
    execute(
        cn,
        QStringLiteral("PRAGMA max_page_count = %1;").arg(pragma(cn, QStringLiteral("PRAGMA page_count"))));
    EXPECT_EQ(causeOf([&] { addDisc(cn, QStringLiteral("CD1"), manyPaths(2000)); }),
              CatalogFailureCause::DiskFull);
}

TEST(CatalogFailureCause, ACatalogueThatCannotBeWrittenIsToldAsReadOnly) {
    TempCatalogue catalogue;
    // A catalogue opened for reading only; root can write any file, so permissions would not show it.
    Connection reader;
    openCatalogue(reader, catalogue.connection.connectionString(), CatalogueAccess::ReadOnly);
    EXPECT_EQ(causeOf([&] { reader.Execute(QStringLiteral("DELETE FROM Disks;")); }),
              CatalogFailureCause::ReadOnly);
    // And one kept to queries.
    execute(catalogue.connection, QStringLiteral("PRAGMA query_only = 1;"));
    EXPECT_EQ(causeOf([&] { addDisc(catalogue.connection, QStringLiteral("CD1"), manyPaths(1)); }),
              CatalogFailureCause::ReadOnly);
}

TEST(CatalogFailureCause, AnotherProgramWritingIsToldAsLocked) {
    TempCatalogue catalogue;
    Connection other;
    openCatalogue(other, catalogue.connection.connectionString());
    other.BeginTrans();
    sqlite3_busy_timeout(catalogue.connection.handle(), 0);
    EXPECT_EQ(causeOf([&] { catalogue.connection.BeginTrans(); }), CatalogFailureCause::Locked);
    other.RollbackTrans();
}

TEST(CatalogFailureCause, GarbageInTheFileIsToldAsDamageAndAnyOtherFailureAsGeneral) {
    TempCatalogue catalogue;
    Connection& cn = catalogue.connection;
    addDisc(cn, QStringLiteral("CD1"), manyPaths(2000));
    EXPECT_EQ(causeOf([&] { cn.Execute(QStringLiteral("SELECT no_such_column FROM Disks;")); }),
              CatalogFailureCause::General);
    const qint64 pageSize = pragma(cn, QStringLiteral("PRAGMA page_size"));
    const qint64 root =
        pragma(cn, QStringLiteral("SELECT rootpage FROM sqlite_master WHERE name = 'BankList'"));
    execute(cn, QStringLiteral("PRAGMA wal_checkpoint(TRUNCATE);"));
    cn.Close();

    QFile file(catalogue.path());
    ASSERT_TRUE(file.open(QIODevice::ReadWrite));
    ASSERT_TRUE(file.seek((root - 1) * pageSize));
    file.write(QByteArray(int(pageSize), '\xA5'));
    file.close();

    EXPECT_EQ(causeOf([&] {
                  openCatalogue(cn, catalogue.connection.connectionString());
                  cn.Execute(QStringLiteral("SELECT * FROM BankList;"));
              }),
              CatalogFailureCause::Damaged);
}

}  // namespace
}  // namespace vt::test
