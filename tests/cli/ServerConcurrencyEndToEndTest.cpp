// Many programs on one server catalogue at once, their connections cut at random: every disc a scan
// reported is there whole, no disc is there in part, and no name is taken twice.
#include <gtest/gtest.h>

#include <QDir>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <atomic>
#include <map>
#include <mutex>
#include <random>
#include <thread>
#include <vector>

#include "RealProgram.h"
#include "catalog/CatalogError.h"
#include "catalog/Connection.h"
#include "catalog/TextMatch.h"
#include "catalog/postgres/PgConnection.h"
#include "support/CatalogueEngines.h"
#include "support/IsoImage.h"
#include "support/TextPrinting.h"

namespace vt {
namespace {

using test::CliResult;

constexpr int kImages = 40;
constexpr int kPrograms = 8;
constexpr int kRunsEach = 14;
// Names only scans use: one scan of each may land, and once reported it must stay. And names that removals
// take away again.
const QStringList kKeptNames = {QStringLiteral("Keep A"), QStringLiteral("keep a"), QStringLiteral("Keep_B"),
                                QStringLiteral("KEEP%"),  QStringLiteral("كتاب"),   QStringLiteral("کتاب")};
const QStringList kPassingNames = {QStringLiteral("Temp 1"), QStringLiteral("Temp 2"),
                                   QStringLiteral("temp 3")};

class ServerConcurrencyEndToEnd : public ::testing::Test {
  protected:
    void SetUp() override {
        VT_SKIP_WITHOUT_SERVER(test::Engine::Server);
        if (QStandardPaths::findExecutable(QStringLiteral("xorriso")).isEmpty()) {
            GTEST_SKIP() << "xorriso is not installed";
        }
        address = test::freshCatalogueAddress(test::Engine::Server, folder);
        ASSERT_FALSE(address.isEmpty());
        // Image i holds i + 1 files, so that a disc's file count says which image it came from.
        for (int i = 0; i < kImages; ++i) {
            const QString tree = folder.filePath(QStringLiteral("tree%1").arg(i));
            for (int f = 0; f <= i; ++f)
                test::writeFileOfSize(tree + QStringLiteral("/d/f%1_%2.txt").arg(i).arg(f), f);
            images << folder.filePath(QStringLiteral("disc%1.iso").arg(i));
            ASSERT_EQ(test::makeIsoImage(images.back(), {QStringLiteral("-J")}, tree), QString());
        }
        // Makes the catalogue before the programs race for it.
        Connection made;
        openCatalogue(made, address);
    }

    // One program's runs: scans, removals and searches at random.
    void runPrograms(int seed) {
        std::mt19937 random(seed);
        for (int run = 0; run < kRunsEach; ++run) {
            const int kind = int(random() % 10);
            if (kind < 6) {
                const bool kept = random() % 2;
                const QString name = kept ? kKeptNames[int(random() % kKeptNames.size())]
                                          : kPassingNames[int(random() % kPassingNames.size())];
                const int image = int(random() % kImages);
                const CliResult result = test::runCli(
                    {QStringLiteral("scan"), images[image], name, QStringLiteral("--catalog"), address});
                std::lock_guard<std::mutex> lock(mutex);
                if (result.code == 0 && kept) reported.push_back({name, image});
                if (result.code != 0 && result.code != 1 && result.code != 3) {
                    ADD_FAILURE() << "scan ended with " << result.code << ": " << result.err.toStdString();
                }
            } else if (kind < 8) {
                const CliResult result = test::runCli(
                    {QStringLiteral("remove"), kPassingNames[int(random() % kPassingNames.size())],
                     QStringLiteral("--yes"), QStringLiteral("--catalog"), address});
                if (result.code != 0 && result.code != 1 && result.code != 3) {
                    ADD_FAILURE() << "remove ended with " << result.code << ": " << result.err.toStdString();
                }
            } else {
                const CliResult result = test::runCli(
                    {QStringLiteral("search"), QStringLiteral("f1"), QStringLiteral("--catalog"), address});
                if (result.code != 0 && result.code != 1 && result.code != 3) {
                    ADD_FAILURE() << "search ended with " << result.code << ": " << result.err.toStdString();
                }
            }
        }
    }

    QTemporaryDir folder;
    QString address;
    QStringList images;
    std::mutex mutex;
    std::vector<std::pair<QString, int>> reported;  // name, image (guarded by mutex)
};

TEST_F(ServerConcurrencyEndToEnd, EveryReportedDiscIsWholeNoneIsPartialAndNoNameIsTakenTwice) {
    std::atomic<bool> running{true};
    std::atomic<int> cut{0};
    std::thread cutter([&] {
        std::mt19937 random(99);
        PgConnection admin(address);
        while (running) {
            std::this_thread::sleep_for(std::chrono::milliseconds(30 + random() % 200));
            cut += int(admin
                           .exec(QStringLiteral("SELECT count(*) FROM (SELECT pg_terminate_backend(pid) FROM "
                                                "pg_stat_activity WHERE datname = current_database() AND pid "
                                                "<> pg_backend_pid() ORDER BY random() LIMIT 1) AS cut;"))
                           .value(0, 0)
                           .toLongLong());
        }
    });
    std::vector<std::thread> programs;
    for (int p = 0; p < kPrograms; ++p) programs.emplace_back([this, p] { runPrograms(1000 + p); });
    for (std::thread& program : programs) program.join();
    running = false;
    cutter.join();
    EXPECT_GT(cut.load(), 10);

    PgConnection db(address);
    const PgResult discs = db.exec(QStringLiteral(
        "SELECT d.DiskName, d.FileCount, (SELECT count(*) FROM BankList b WHERE b.DiskName = d.DiskName), "
        "(SELECT count(*) FROM BankList b WHERE b.DiskName = d.DiskName AND NOT "
        "starts_with(substr(b.FilePath, "
        "3), '\\d\\f' || (d.FileCount::int - 1) || '_')) FROM Disks d ORDER BY d.RowId;"));
    std::map<QString, int> filesOf;
    for (int i = 0; i < discs.rowCount(); ++i) {
        const QString name = discs.value(i, 0).toString();
        const int files = discs.value(i, 1).toString().toInt();
        // Whole: as many rows as it says, all of the one image that has that many files.
        EXPECT_EQ(discs.value(i, 2).toLongLong(), files) << name.toStdString();
        EXPECT_EQ(discs.value(i, 3).toLongLong(), 0) << name.toStdString();
        for (const auto& [other, count] : filesOf) {
            EXPECT_FALSE(equalFolded(other.toUtf8().toStdString(), name.toUtf8().toStdString()))
                << "taken twice: " << other.toStdString() << " and " << name.toStdString();
        }
        filesOf[name] = files;
    }
    // Nothing of a disc without its disc row.
    EXPECT_EQ(
        db.exec(QStringLiteral("SELECT count(*) FROM BankList b WHERE NOT EXISTS (SELECT 1 FROM Disks d "
                               "WHERE d.DiskName = b.DiskName);"))
            .value(0, 0),
        QVariant(qlonglong(0)));
    // Every scan reported under a name no removal takes is there, from its image (the first reported of a
    // name; a later report of the same name would be a name taken twice).
    std::map<QString, int> firstReported;
    for (const auto& [name, image] : reported) firstReported.emplace(name, image);
    EXPECT_EQ(firstReported.size(), reported.size()) << "a name was reported catalogued twice";
    for (const auto& [name, image] : firstReported) {
        ASSERT_TRUE(filesOf.count(name)) << name.toStdString() << " was reported but is not there";
        EXPECT_EQ(filesOf[name], image + 1) << name.toStdString();
    }
    RecordProperty("connections_cut", cut.load());
    RecordProperty("scans_reported", int(reported.size()));
    RecordProperty("discs", discs.rowCount());
}

}  // namespace
}  // namespace vt
