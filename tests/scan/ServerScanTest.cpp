// Scans into a catalogue on a PostgreSQL server: the rows are the ones a catalogue file gets, a disc lands
// whole or not at all, and two scans can never take one name.
#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <future>

#include "catalog/CatalogError.h"
#include "catalog/Connection.h"
#include "catalog/Recordset.h"
#include "catalog/Statements.h"
#include "catalog/postgres/PgConnection.h"
#include "scan/DiscUpdate.h"
#include "scan/ScanCommand.h"
#include "scan/ScanProgress.h"
#include "support/CatalogueEngines.h"
#include "support/FakeDrives.h"
#include "support/TextPrinting.h"

namespace vt {
namespace {

using test::Engine;

class QuietProgress final : public ScanProgress {
  public:
    void started() override {}
    void pause(long) override {}
};

// A fake optical drive D whose files are in a temporary folder.
class ServerScan : public ::testing::Test {
  protected:
    void SetUp() override {
        VT_SKIP_WITHOUT_SERVER(Engine::Server);
        ASSERT_TRUE(disc.isValid());
        test::FakeDriveTable::Drive drive;
        drive.type = kDriveTypeCdRom;
        drive.folder = disc.path();
        drive.space = DiskSpace{654311424, 0};
        drive.volume = VolumeInformation{QStringLiteral("LABEL_D"), QStringLiteral("CDFS"), 0x12345678u};
        drives.add(QLatin1Char('D'), drive);
        server = test::freshCatalogueAddress(Engine::Server, folders);
        ASSERT_FALSE(server.isEmpty());
    }

    void write(const QString& relative, int size = 1) {
        const QString path = disc.filePath(relative);
        QDir().mkpath(QFileInfo(path).absolutePath());
        QFile file(path);
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
        file.write(QByteArray(size, 'x'));
    }

    ScanSummary scan(Connection& cn, const QString& name, ScanProgress& progress) {
        Recordset rsDisks;
        Recordset rsBankList;
        ScanCommand command(cn, rsDisks, rsBankList, drives, fileSystem);
        return command.run(
            {QStringLiteral("D:\\"), name, QStringLiteral("305419896"), QStringLiteral("654,311,424 bytes")},
            progress);
    }
    ScanSummary scan(Connection& cn, const QString& name) {
        QuietProgress progress;
        return scan(cn, name, progress);
    }

    // Every field of every row of a table, in the order the statement gives them.
    static QStringList rows(Connection& cn, const QString& statement) {
        Recordset rs;
        rs.Open(statement, cn);
        QStringList result;
        for (; !rs.EOF_(); rs.MoveNext()) {
            QStringList fields;
            for (int i = 0; i < rs.fieldCount(); ++i) fields << rs.Fields(i).Value().toString();
            result << fields.join(QLatin1Char('|'));
        }
        return result;
    }

    QTemporaryDir folders;
    QTemporaryDir disc;
    test::FakeDriveTable drives;
    test::FakeFileSystem fileSystem{drives};
    QString server;
};

TEST_F(ServerScan, RowsAreTheOnesTheCatalogueFileGetsInTheSameOrder) {
    // Names with what COPY's text format must escape, and what a `like` would read as a wildcard.
    for (const char* name :
         {"a/plain.txt", "a/tab\there.txt", "a/line\nbreak.txt", "a/back\\slash.txt", "a/cr\rreturn",
          "b/100%_done.txt", "b/\\N", "كتاب‌ها/يك.pdf", "c/ends with space "}) {
        write(QString::fromUtf8(name), 3);
    }
    for (int i = 0; i < 3000; ++i) write(QStringLiteral("many/f%1.dat").arg(i), i % 7);

    Connection file;
    openCatalogue(file, test::connectionStringFor(folders.filePath(QStringLiteral("Mydb.mdb"))));
    ASSERT_EQ(scan(file, QStringLiteral("Disc")).outcome, ScanOutcome::Finished);
    Connection onServer;
    openCatalogue(onServer, server);
    ASSERT_EQ(scan(onServer, QStringLiteral("Disc")).outcome, ScanOutcome::Finished);

    const QStringList expected = rows(file, QStringLiteral("select * from BankList;"));
    ASSERT_EQ(expected.size(), 3009);
    EXPECT_EQ(rows(onServer, QStringLiteral("select * from BankList;")), expected);
    // The disc row but its time of cataloguing.
    const auto discRow = [](Connection& cn) {
        return rows(cn, Statements::allDisks()).value(0).section(QLatin1Char('|'), 0, 5);
    };
    EXPECT_EQ(discRow(onServer), discRow(file));
}

TEST_F(ServerScan, AnUpdateFromTheMediumChangesTheServerAsItChangesTheFile) {
    for (int i = 0; i < 50; ++i) write(QStringLiteral("d/f%1.txt").arg(i), i);
    Connection file;
    openCatalogue(file, test::connectionStringFor(folders.filePath(QStringLiteral("Mydb.mdb"))));
    Connection onServer;
    openCatalogue(onServer, server);
    for (Connection* cn : {&file, &onServer})
        ASSERT_EQ(scan(*cn, QStringLiteral("Disc")).outcome, ScanOutcome::Finished);

    QFile::remove(disc.filePath(QStringLiteral("d/f3.txt")));
    write(QStringLiteral("d/f7.txt"), 700);
    write(QStringLiteral("e/new.txt"), 5);
    for (Connection* cn : {&file, &onServer}) {
        DiscUpdate update(*cn, drives, fileSystem);
        QuietProgress progress;
        ASSERT_EQ(update.read(QStringLiteral("D:\\"), QStringLiteral("DISC"), progress),
                  DiscUpdate::ReadOutcome::Read);
        EXPECT_EQ(update.differences().added, 1);
        EXPECT_EQ(update.differences().removed, 1);
        ASSERT_TRUE(update.apply());
    }
    const QStringList expected = rows(file, QStringLiteral("select * from BankList;"));
    ASSERT_EQ(expected.size(), 50);
    EXPECT_EQ(rows(onServer, QStringLiteral("select * from BankList;")), expected);
    const auto discRow = [](Connection& cn) {
        return rows(cn, Statements::allDisks()).value(0).section(QLatin1Char('|'), 0, 5);
    };
    EXPECT_EQ(discRow(onServer), discRow(file));
}

// Stops the scan's connection on the server from another connection, as a dropped network would.
class CutConnection final : public ScanProgress {
  public:
    CutConnection(PgConnection& scanning, const QString& server, int afterEntries)
        : server_(server), pid_(scanning.serverProcessId()), left_(afterEntries) {}
    void started() override {}
    void pause(long) override {}
    bool cancelRequested() const override {
        if (--left_ == 0) {
            PgConnection other(server_);
            other.exec(QStringLiteral("SELECT pg_terminate_backend($1, 5000);"), {pid_});
        }
        return false;
    }

  private:
    QString server_;
    int pid_;
    mutable int left_;
};

TEST_F(ServerScan, AConnectionLostMidScanLeavesNothingOfTheDiscAndSaysSo) {
    for (int i = 0; i < 6000; ++i) write(QStringLiteral("f%1.dat").arg(i));
    for (const int cutAfter : {10, 5990}) {
        Connection cn;
        openCatalogue(cn, server);
        CutConnection cut(*cn.server(), server, cutAfter);
        try {
            scan(cn, QStringLiteral("Cut"), cut);
            ADD_FAILURE() << "the scan went on after its connection was cut at entry " << cutAfter;
        } catch (const CatalogError& error) {
            EXPECT_FALSE(error.message().isEmpty());
        }
        Connection after;
        openCatalogue(after, server);
        EXPECT_EQ(rows(after, Statements::allDisks()), QStringList());
        EXPECT_EQ(rows(after, QStringLiteral("select * from BankList;")), QStringList());
    }
}

TEST_F(ServerScan, TwoScansNeverTakeOneNameWhateverTheyStartWith) {
    write(QStringLiteral("a.txt"));
    struct Race {
        const char* first;   // holds its name, its disc row written but not yet committed
        const char* second;  // starts meanwhile, and must find the first's name once it lands
    };
    for (const Race race : {Race{"Backup", "BACKUP"}, Race{"abc", "a_c"}, Race{"a%", "a%"}}) {
        const QString first = QString::fromUtf8(race.first);
        const QString second = QString::fromUtf8(race.second);
        Connection holder;
        openCatalogue(holder, test::freshCatalogueAddress(Engine::Server, folders));
        const QString address = holder.connectionString();
        Transaction held(holder);
        holder.reserveDiscName(first);
        Recordset disk;
        disk.Open(Statements::disksNamedLike(first), holder);
        disk.AddNew();
        disk.Fields(0).setValue(first);
        disk.Update();

        auto secondScan = std::async(std::launch::async, [&] {
            Connection cn;
            openCatalogue(cn, address);
            return scan(cn, second).outcome;
        });
        // The second waits for the first to end rather than missing its uncommitted disc row.
        EXPECT_EQ(secondScan.wait_for(std::chrono::milliseconds(500)), std::future_status::timeout)
            << race.first << " / " << race.second;
        held.commit();
        EXPECT_EQ(secondScan.get(), ScanOutcome::NameTaken) << race.first << " / " << race.second;
    }
}

}  // namespace
}  // namespace vt
