#include <QFile>
#include <QFileInfo>

#include "ScanFixture.h"
#include "catalog/Connection.h"
#include "catalog/Recordset.h"
#include "scan/DriveDetails.h"
#include "scan/ScanCommand.h"

namespace vt::test {
namespace {

// Whether the file at `path` is mapped into this program now. A mapped page that a scan touches stays in
// the program's resident memory, so a mapped catalogue makes the memory a scan takes grow with the disc.
bool mapped(const QString& path) {
    QFile maps(QStringLiteral("/proc/self/maps"));
    if (!maps.open(QIODevice::ReadOnly)) return false;
    const QByteArray file = QFile::encodeName(QFileInfo(path).canonicalFilePath());
    for (const QByteArray& line : maps.readAll().split('\n')) {
        if (line.endsWith(' ' + file)) return true;
    }
    return false;
}

class WatchMapping final : public ScanProgress {
  public:
    explicit WatchMapping(QString catalogue) : catalogue_(std::move(catalogue)) {}
    void started() override { seen_ = seen_ || mapped(catalogue_); }
    void pause(long) override { seen_ = seen_ || mapped(catalogue_); }
    bool cancelRequested() const override {
        seen_ = seen_ || mapped(catalogue_);
        return false;
    }
    bool seen() const { return seen_; }

  private:
    QString catalogue_;
    mutable bool seen_ = false;
};

using ScanMemoryTest = ScanFixture;

TEST_F(ScanMemoryTest, TheCatalogueIsUnmappedWhileADiscIsWrittenAndMappedAgainForSearchesAfter) {
    write(QStringLiteral("a.txt"));
    write(QStringLiteral("folder/b.txt"));
    const QString catalogue = context.cnCatalog.databasePath();
    disks();
    ASSERT_TRUE(mapped(catalogue)) << "a search reads the catalogue mapped";

    Recordset rsDisks, rsBankList;
    ScanCommand command(context.cnCatalog, rsDisks, rsBankList, platform.drives, platform.fileSystem);
    const DriveDetails details = readDriveDetails(platform.drives, QStringLiteral("D:\\"));
    WatchMapping progress(catalogue);
    const ScanSummary summary = command.run(
        {QStringLiteral("D:\\"), QStringLiteral("Disc"), details.serial, details.usedSize}, progress);
    ASSERT_EQ(summary.outcome, ScanOutcome::Finished);
    EXPECT_FALSE(progress.seen());

    rsDisks.Close();
    rsBankList.Close();
    // Pages still in the log or in SQLite's cache are read from there; the others through the mapping.
    execute(QStringLiteral("PRAGMA wal_checkpoint(TRUNCATE); PRAGMA shrink_memory;"));
    EXPECT_EQ(files().size(), 2u);
    EXPECT_TRUE(mapped(catalogue));
}

}  // namespace
}  // namespace vt::test
