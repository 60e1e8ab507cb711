#include <gtest/gtest.h>

#include <QThread>
#include <QUrl>
#include <thread>

#include "catalog/CatalogError.h"
#include "catalog/postgres/PgConnection.h"
#include "catalog/postgres/PgConnectionString.h"
#include "support/PostgresFixture.h"

namespace vt {
namespace {

using test::PostgresFixture;
using test::PrivatePostgresServer;

using PgConnectionTest = PostgresFixture;

// Values go as parameters, whatever they hold, and come back typed as the SQLite catalogue gives them.
TEST_F(PgConnectionTest, ValuesTravelAsParametersAndComeBackAsTheFileCatalogueGivesThem) {
    PgConnection db(connectionString);
    db.execScript("CREATE TABLE t (name TEXT, size DOUBLE PRECISION, at BIGINT);");
    const QString hostile = QStringLiteral("O'Brien'); DROP TABLE t; -- \\ $1");
    const QString persian = QStringLiteral("كتاب\u200Cهاي من");
    db.exec(QStringLiteral("INSERT INTO t VALUES ($1, $2, $3), ($4, $5, $6);"),
            {hostile, 1.0 / 3.0, qlonglong(1) << 40, persian, QVariant(), QVariant()});

    const PgResult rows = db.exec(QStringLiteral("SELECT name, size, at FROM t ORDER BY at NULLS LAST;"));
    ASSERT_EQ(rows.rowCount(), 2);
    ASSERT_EQ(rows.columnCount(), 3);
    EXPECT_EQ(rows.columnName(1), QStringLiteral("size"));
    EXPECT_EQ(rows.value(0, 0), QVariant(hostile));
    EXPECT_EQ(rows.value(0, 1).typeId(), QMetaType::Double);
    EXPECT_EQ(rows.value(0, 1).toDouble(), 1.0 / 3.0);
    EXPECT_EQ(rows.value(0, 2), QVariant(qlonglong(1) << 40));
    EXPECT_EQ(rows.value(1, 0), QVariant(persian));
    EXPECT_FALSE(rows.value(1, 1).isValid());
    EXPECT_FALSE(rows.value(1, 2).isValid());
    EXPECT_EQ(db.exec(QStringLiteral("DELETE FROM t WHERE name = $1;"), {persian}).affectedRows(), 1);
}

// A statement the server refuses throws with the server's words, and the connection goes on working.
TEST_F(PgConnectionTest, RefusedStatementsThrowTheServersReasonAndTheConnectionGoesOn) {
    PgConnection db(connectionString);
    try {
        db.exec(QStringLiteral("SELECT * FROM NoSuchTable;"));
        FAIL() << "a missing table was not reported";
    } catch (const CatalogError& e) {
        EXPECT_TRUE(e.message().contains(QStringLiteral("nosuchtable"))) << e.what();
    }
    EXPECT_FALSE(db.inTransaction());
    db.execScript("BEGIN;");
    EXPECT_THROW(db.exec(QStringLiteral("SELECT 1/0;")), CatalogError);
    EXPECT_TRUE(db.inTransaction());  // failed, and waiting for its rollback
    db.execScript("ROLLBACK;");
    EXPECT_EQ(db.exec(QStringLiteral("SELECT $1::int + 1;"), {41}).value(0, 0), QVariant(qlonglong(42)));
}

// A statement run on a generic plan leaves the session's planning as it was, whether it works or fails,
// in a transaction or not; after a cut it is prepared again on the new session.
TEST_F(PgConnectionTest, AStatementOnAGenericPlanLeavesNoSettingBehindAndOutlivesACut) {
    PgConnection db(connectionString);
    PgConnection other(connectionString);
    const QString plusOne = QStringLiteral("SELECT $1::int + 1");
    const QString inverse = QStringLiteral("SELECT 1 / $1::int");
    const auto planning = [&] {
        return db
            .exec(QStringLiteral("SELECT current_setting('plan_cache_mode') || ' ' || "
                                 "current_setting('max_parallel_workers_per_gather') || ' ' || "
                                 "current_setting('jit');"))
            .value(0, 0);
    };
    const QVariant untouched = planning();

    EXPECT_EQ(db.execOnGenericPlan("plus_one", plusOne, {41}).value(0, 0), QVariant(qlonglong(42)));
    EXPECT_EQ(db.execOnGenericPlan("plus_one", plusOne, {1}).value(0, 0), QVariant(qlonglong(2)));
    EXPECT_EQ(planning(), untouched);
    EXPECT_THROW(db.execOnGenericPlan("inverse", inverse, {0}), CatalogError);
    EXPECT_FALSE(db.inTransaction());
    EXPECT_EQ(planning(), untouched);

    db.execScript("BEGIN;");
    EXPECT_EQ(db.execOnGenericPlan("inverse", inverse, {1}).value(0, 0), QVariant(qlonglong(1)));
    EXPECT_EQ(planning(), untouched);
    EXPECT_THROW(db.execOnGenericPlan("inverse", inverse, {0}), CatalogError);
    EXPECT_TRUE(db.inTransaction());
    db.rollback();
    EXPECT_EQ(planning(), untouched);

    other.exec(QStringLiteral("SELECT pg_terminate_backend($1, 5000);"), {db.serverProcessId()});
    EXPECT_THROW(db.execOnGenericPlan("plus_one", plusOne, {1}), CatalogError);
    EXPECT_EQ(db.execOnGenericPlan("plus_one", plusOne, {2}).value(0, 0), QVariant(qlonglong(3)));
    EXPECT_EQ(planning(), untouched);
}

// A connection cut while the server commits: the commit holds when the server kept the transaction (cut
// while the commit waited for a standby, after it was written) and fails when it did not (cut in a deferred
// trigger, before it was written).
TEST_F(PgConnectionTest, ACommitCutShortHoldsExactlyWhenTheServerKeptTheTransaction) {
    PgConnection admin(connectionString);
    admin.execScript(
        "CREATE TABLE kept (x int);"
        "CREATE FUNCTION slowly() RETURNS trigger LANGUAGE plpgsql AS "
        "  $$ BEGIN PERFORM pg_sleep(60); RETURN NULL; END $$;"
        "CREATE CONSTRAINT TRIGGER slow_commit AFTER INSERT ON kept DEFERRABLE INITIALLY DEFERRED "
        "  FOR EACH ROW WHEN (NEW.x = 2) EXECUTE FUNCTION slowly();");
    // Commits wait for a standby that never comes, in the sessions that ask for it: the server's other
    // sessions run with synchronous_commit off.
    admin.execScript("ALTER SYSTEM SET synchronous_standby_names = 'nobody';");
    const auto reload = [&](const char* expected) {
        admin.execScript("SELECT pg_reload_conf();");
        for (int i = 0;
             i < 500 && admin.exec(QStringLiteral("SHOW synchronous_standby_names;")).value(0, 0) !=
                            QVariant(QString::fromLatin1(expected));
             ++i)
            QThread::msleep(10);
    };
    reload("nobody");

    // Commits a row `x` and cuts the connection once the server waits for `waitEvent` in the commit:
    // whether the commit threw.
    const auto commitCut = [&](int x, const QString& waitEvent) {
        PgConnection db(connectionString);
        db.execScript("SET synchronous_commit = on; BEGIN;");
        db.exec(QStringLiteral("INSERT INTO kept VALUES ($1);"), {x});
        std::thread cutter([&, pid = db.serverProcessId()] {
            try {
                PgConnection other(connectionString);
                const QString waiting = QStringLiteral(
                    "SELECT count(*) FROM pg_stat_activity WHERE pid = $1 AND wait_event = $2;");
                for (int i = 0; i < 3000; ++i, QThread::msleep(10)) {
                    if (other.exec(waiting, {pid, waitEvent}).value(0, 0) == QVariant(qlonglong(1))) {
                        other.exec(QStringLiteral("SELECT pg_terminate_backend($1, 5000);"), {pid});
                        return;
                    }
                }
                ADD_FAILURE() << "the commit never waited for " << waitEvent.toStdString();
            } catch (const CatalogError& error) {
                ADD_FAILURE() << error.what();
            }
        });
        bool threw = false;
        try {
            db.commit();
        } catch (const CatalogError&) {
            threw = true;
        }
        cutter.join();
        EXPECT_FALSE(db.inTransaction());
        return threw;
    };
    EXPECT_FALSE(commitCut(1, QStringLiteral("SyncRep")));
    EXPECT_TRUE(commitCut(2, QStringLiteral("PgSleep")));
    admin.execScript("ALTER SYSTEM RESET synchronous_standby_names;");
    reload("");
    EXPECT_EQ(admin.exec(QStringLiteral("SELECT string_agg(x::text, ',') FROM kept;")).value(0, 0),
              QVariant(QStringLiteral("1")));
}

// A connection string may hold a password; no message and no description ever shows it.
// A connection cut while idle is made again, with its settings, at the statement after the one that met
// the cut; one cut inside a transaction is not made again before the transaction is rolled back, so that
// nothing meant for the transaction runs outside it.
TEST_F(PgConnectionTest, AConnectionCutWhileIdleIsMadeAgainButNeverInsideATransaction) {
    PgConnection db(connectionString);
    db.keepSetting("SET default_transaction_read_only = on;");
    PgConnection other(connectionString);
    const auto cut = [&] {
        other.exec(QStringLiteral("SELECT pg_terminate_backend($1, 5000);"), {db.serverProcessId()});
    };

    cut();
    EXPECT_THROW(db.exec(QStringLiteral("SELECT 1;")), CatalogError);
    EXPECT_EQ(db.exec(QStringLiteral("SHOW default_transaction_read_only;")).value(0, 0),
              QVariant(QStringLiteral("on")));

    db.execScript("BEGIN;");
    cut();
    EXPECT_THROW(db.exec(QStringLiteral("SELECT 1;")), CatalogError);
    EXPECT_TRUE(db.inTransaction());
    EXPECT_THROW(db.exec(QStringLiteral("SELECT 1;")), CatalogError);
    db.rollback();
    EXPECT_FALSE(db.inTransaction());
    EXPECT_EQ(db.exec(QStringLiteral("SELECT 2;")).value(0, 0), QVariant(qlonglong(2)));
}

TEST_F(PgConnectionTest, NoMessageShowsThePasswordOfTheConnectionString) {
    const QString secret = QStringLiteral("S3cret-Wort");
    const QString folder = PrivatePostgresServer::shared().socketFolder();
    const QString keyValue = QStringLiteral("host='%1' user=%2 dbname=nosuch password=%3")
                                 .arg(folder, QString::fromLatin1(PrivatePostgresServer::kUser), secret);
    const QString uri = QStringLiteral("postgresql://%1:%2@/nosuch?host=%3")
                            .arg(QString::fromLatin1(PrivatePostgresServer::kUser), secret,
                                 QString::fromLatin1(QUrl::toPercentEncoding(folder)));
    const QString unreadable = QStringLiteral("host=x password=%1 dbname='unterminated").arg(secret);
    for (const QString& text : {keyValue, uri, unreadable}) {
        SCOPED_TRACE(text.toStdString());
        try {
            PgConnection db(text);
            FAIL() << "connected to a database that does not exist";
        } catch (const CatalogError& e) {
            EXPECT_FALSE(e.message().contains(secret)) << e.what();
            if (text != unreadable) {
                EXPECT_TRUE(e.message().contains(QStringLiteral("nosuch"))) << e.what();
            }
        }
        EXPECT_FALSE(describeServerCatalogue(text).contains(secret));
    }
    EXPECT_EQ(
        describeServerCatalogue(QStringLiteral("postgresql://ana:%1@db.example:5433/archive").arg(secret)),
        QStringLiteral("postgresql://ana@db.example:5433/archive"));
    EXPECT_EQ(withoutPassword(QStringLiteral("FATAL: password %1 rejected").arg(secret), keyValue),
              QStringLiteral("FATAL: password *** rejected"));
}

}  // namespace
}  // namespace vt
