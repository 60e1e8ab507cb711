#include <gtest/gtest.h>
#include <sqlite3.h>

#include <atomic>
#include <chrono>
#include <cstdio>
#include <functional>
#include <new>
#include <stdexcept>
#include <thread>
#include <utility>

#include "CatalogueHelpers.h"
#include "catalog/BankListAppender.h"
#include "catalog/CatalogError.h"
#include "catalog/Recordset.h"
#include "catalog/SqliteStatement.h"

namespace vt {
namespace {

// Every other copy without a date.
std::optional<qint64> dateOfCopy(int copy) {
    return copy % 2 ? std::nullopt : std::optional<qint64>(1551694830 + copy);
}

TEST(BankListAppender, NamesPathsAndDatesAreStoredExactlyWhateverTheirCharactersAndInTheOrderGiven) {
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
                appender.append({QStringLiteral("CD"), name, path, double(copy), QStringLiteral("Normal"),
                                 dateOfCopy(copy)});
            }
        }
        appender.finish();
        transaction.commit();
    }
    SqliteStatement read(cn.handle(),
                         QStringLiteral("SELECT FileName, FilePath, FileSize, FileModified FROM BankList "
                                        "ORDER BY rowid"));
    for (int copy = 0; copy < 7; ++copy) {
        for (const auto& [name, path] : rows) {
            ASSERT_TRUE(read.step());
            EXPECT_EQ(read.column(0).toString(), name);
            EXPECT_EQ(read.column(1).toString(), path);
            EXPECT_EQ(read.column(2).toInt(), copy);
            const QVariant modified = read.column(3);
            EXPECT_EQ(modified.isNull() ? std::nullopt : std::optional<qint64>(modified.toLongLong()),
                      dateOfCopy(copy));
        }
    }
    EXPECT_FALSE(read.step());
}

// Far more rows than the appender's queue holds (a few thousand): append() has to wait for the writer.
constexpr int kManyRows = 50000;

BankListRow fileRow(int number) {
    const QString name = QStringLiteral("file%1.txt").arg(number);
    return {QStringLiteral("CD"),     name,        QStringLiteral("D:\\dir\\") + name, double(number),
            QStringLiteral("Normal"), std::nullopt};
}

// From `rowid` on, the catalogue refuses rows, as a full disk or a damaged file would.
void refuseRowsFrom(Connection& cn, qint64 rowid) {
    test::execute(cn, QStringLiteral("CREATE TEMP TRIGGER RefuseRows BEFORE INSERT ON BankList "
                                     "WHEN new.rowid >= %1 BEGIN SELECT RAISE(ABORT, 'row refused'); END;")
                          .arg(rowid));
}

qint64 scalar(Connection& cn, const QString& sql) {
    SqliteStatement statement(cn, sql);
    return statement.step() ? statement.column(0).toLongLong() : -1;
}

// After the scan's transaction rolled back: no row of it, and the path index's insert trigger in place.
void expectRolledBackWhole(Connection& cn) {
    EXPECT_FALSE(cn.inTransaction());
    EXPECT_EQ(scalar(cn, QStringLiteral("SELECT count(*) FROM BankList")), 0);
    EXPECT_EQ(scalar(cn, QStringLiteral("SELECT count(*) FROM sqlite_master WHERE type = 'trigger' AND "
                                        "name = 'BankList_IndexInsert'")),
              1);
}

TEST(BankListAppenderFailure, ARefusedRowStopsAppendAndTheCallerGetsTheConnectionBackAtOnce) {
    test::TempCatalogue catalogue;
    Connection& cn = catalogue.connection;
    refuseRowsFrom(cn, 700);
    {
        Transaction transaction(cn);
        BankListAppender appender(cn);
        QString failure;
        int appended = 0;
        try {
            for (; appended < kManyRows; ++appended) appender.append(fileRow(appended));
        } catch (const CatalogError& error) {
            failure = error.message();
        }
        EXPECT_TRUE(failure.contains(QStringLiteral("row refused"))) << failure.toStdString();
        EXPECT_LT(appended, kManyRows);
        // The writer has stopped: the connection is the caller's again while the appender still exists.
        EXPECT_NO_THROW(cn.Execute(QStringLiteral("SELECT 1;")));
        EXPECT_THROW(appender.append(fileRow(appended)), CatalogError);
        EXPECT_THROW(appender.finish(), CatalogError);
    }
    expectRolledBackWhole(cn);
}

TEST(BankListAppenderFailure, DestroyingItWithAFullQueueReturnsAfterOneBatchAndTheTransactionRollsBack) {
    // The writer held up inside its first batch, and the writer failed: either way the queued rows are
    // dropped, not written, and the caller can roll back right after.
    for (const bool writerFailed : {false, true}) {
        SCOPED_TRACE(writerFailed ? "writer failed" : "writer held up");
        test::TempCatalogue catalogue;
        Connection& cn = catalogue.connection;
        if (writerFailed) refuseRowsFrom(cn, 1);
        std::atomic<int> batchesStarted{0};
        {
            Transaction transaction(cn);
            {
                BankListAppender appender(cn);
                appender.runBeforeEachBatch([&] {
                    if (batchesStarted++ == 0 && !writerFailed)
                        std::this_thread::sleep_for(std::chrono::milliseconds(300));
                });
                // The first batch and a full queue behind it; a failed writer may refuse them sooner.
                try {
                    for (int i = 0; i < 4096; ++i) appender.append(fileRow(i));
                } catch (const CatalogError&) {
                    EXPECT_TRUE(writerFailed);
                }
                while (batchesStarted == 0) std::this_thread::yield();
            }
            EXPECT_EQ(batchesStarted, 1) << "queued batches were written instead of dropped";
            EXPECT_EQ(scalar(cn, QStringLiteral("SELECT count(*) FROM BankList")), writerFailed ? 0 : 512);
        }
        expectRolledBackWhole(cn);
    }
}

TEST(BankListAppenderFailure, ARowNumberTakenBeforeItsRowFailsTheDiscRatherThanDroppingTheFile) {
    test::TempCatalogue catalogue;
    Connection& cn = catalogue.connection;
    {
        Transaction transaction(cn);
        BankListAppender appender(cn);
        bool taken = false;
        // The rows get rowids from 1 on; another row takes the 300th first.
        appender.runBeforeEachBatch([&] {
            if (std::exchange(taken, true)) return;
            test::execute(cn,
                          QStringLiteral("INSERT INTO BankList(rowid, DiskName, FilePath) VALUES (300, 'CD', "
                                         "'D:\\other.txt')"));
        });
        QString failure;
        try {
            for (int i = 0; i < 1000; ++i) appender.append(fileRow(i));
            appender.finish();
        } catch (const CatalogError& error) {
            failure = error.message();
        }
        EXPECT_TRUE(failure.contains(QStringLiteral("taken already"))) << failure.toStdString();
    }
    expectRolledBackWhole(cn);
}

TEST(BankListAppenderFailure, AnyExceptionOnTheWriterBecomesACatalogErrorInsteadOfEndingTheProgram) {
    const std::vector<std::pair<std::function<void()>, QString>> cases = {
        {[] { throw std::bad_alloc(); }, QStringLiteral("out of memory while writing the catalogue")},
        {[] { throw std::runtime_error("the disc cache broke"); },
         QStringLiteral("writing the catalogue failed: the disc cache broke")},
        {[] { throw 42; }, QStringLiteral("writing the catalogue failed for an unknown reason")},
    };
    for (const auto& [thrower, expected] : cases) {
        SCOPED_TRACE(expected.toStdString());
        test::TempCatalogue catalogue;
        Connection& cn = catalogue.connection;
        {
            Transaction transaction(cn);
            BankListAppender appender(cn);
            appender.runBeforeEachBatch(thrower);
            QString failure;
            try {
                for (int i = 0; i < kManyRows; ++i) appender.append(fileRow(i));
                appender.finish();
            } catch (const CatalogError& error) {
                failure = error.message();
            }
            EXPECT_EQ(failure, expected);
        }
        expectRolledBackWhole(cn);
    }
}

TEST(BankListAppenderThreads, WhileTheWriterOwnsTheConnectionEveryUseFromTheCallersThreadIsRefused) {
    test::TempCatalogue catalogue;
    Connection& cn = catalogue.connection;
    Transaction transaction(cn);
    Recordset disks;
    disks.Open(QStringLiteral("select * from Disks"), cn);
    SqliteStatement count(cn, QStringLiteral("SELECT count(*) FROM BankList"));
    {
        BankListAppender appender(cn);
        appender.append(fileRow(1));
        const auto expectRefused = [](const std::function<void()>& use) {
            try {
                use();
                ADD_FAILURE() << "used from a thread that does not own the connection";
            } catch (const CatalogError& error) {
                EXPECT_TRUE(error.message().contains(QStringLiteral("another thread"))) << error.what();
            }
        };
        expectRefused([&] { cn.Execute(QStringLiteral("SELECT 1;")); });
        expectRefused([&] { cn.CommitTrans(); });
        expectRefused([&] { cn.handle(); });
        expectRefused([&] {
            Recordset files;
            files.Open(QStringLiteral("select * from BankList"), cn);
        });
        expectRefused([&] {
            disks.AddNew();
            disks.Fields(0).setValue(QStringLiteral("CD"));
            disks.Update();
        });
        expectRefused([&] { count.step(); });
        // Whether a transaction is open may still be asked: other windows wait while a scan holds one.
        EXPECT_TRUE(cn.inTransaction());
        appender.finish();
    }
    // Back with the caller once the writer has stopped, with the row written.
    ASSERT_TRUE(count.step());
    EXPECT_EQ(count.column(0).toInt(), 1);
    // Any other thread is refused as well, appender or not.
    std::thread([&] { EXPECT_THROW(cn.Execute(QStringLiteral("SELECT 1;")), CatalogError); }).join();
    EXPECT_NO_THROW(cn.Execute(QStringLiteral("SELECT 1;")));
}

TEST(BankListAppenderThreadsDeathTest, AConnectionWithoutItsOwnLockIsRefusedBeforeAnyRowIsWritten) {
    // In SQLite's multi-thread (no-mutex) mode a connection does not serialise its own use; the child
    // process switches SQLite to it, as another part of a program could.
    EXPECT_EXIT(
        {
            sqlite3_shutdown();
            sqlite3_config(SQLITE_CONFIG_MULTITHREAD);
            sqlite3_initialize();
            test::TempCatalogue catalogue;
            Transaction transaction(catalogue.connection);
            try {
                BankListAppender appender(catalogue.connection);
            } catch (const CatalogError& error) {
                std::fprintf(stderr, "%s\n", error.what());
                std::_Exit(0);
            }
            std::_Exit(1);
        },
        ::testing::ExitedWithCode(0), "without its own lock");
}

}  // namespace
}  // namespace vt
