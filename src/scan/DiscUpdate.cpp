#include "scan/DiscUpdate.h"

#include <QDateTime>

#include "catalog/Connection.h"
#include "catalog/DiscNames.h"
#include "catalog/SqliteStatement.h"
#include "platform/DriveTable.h"
#include "scan/DiskScanner.h"
#include "scan/ScanProgress.h"

namespace vt {

namespace {

// Keeps a walk's rows in memory, for comparing before anything is written.
class RowCollector final : public BankListSink {
  public:
    explicit RowCollector(std::vector<BankListRow>& rows) : rows_(rows) {}
    void append(BankListRow row) override { rows_.push_back(std::move(row)); }

  private:
    std::vector<BankListRow>& rows_;
};

// Binds the spellings from parameter `first` on.
void bindSpellings(SqliteStatement& statement, int first, const std::vector<QString>& spellings) {
    for (size_t i = 0; i < spellings.size(); ++i) statement.bind(first + int(i), spellings[i]);
}

}  // namespace

DiscUpdate::DiscUpdate(Connection& connection, const DriveTable& drives, FileSystem& fileSystem)
    : connection_(connection), drives_(drives), fileSystem_(fileSystem) {}

DiscUpdate::ReadOutcome DiscUpdate::read(const QString& root, const QString& name, ScanProgress& progress) {
    root_ = root;
    now_.clear();
    differences_ = {};
    skipped_ = 0;
    detail_.clear();
    details_ = readDriveDetails(drives_, root);
    medium_ = drives_.mediumIdentity(root);
    if (root.isEmpty() || drives_.driveType(root) != kDriveTypeCdRom || medium_.isEmpty() ||
        details_.usedSize == formatUsedSize(0)) {
        return ReadOutcome::NoDisc;
    }

    spellings_ = DiscNames::storedSpellings(connection_, name);
    SqliteStatement disk(connection_,
                         QStringLiteral("SELECT DiskName FROM Disks WHERE %1 ORDER BY rowid LIMIT 1")
                             .arg(DiscNames::nameTest(QStringLiteral("DiskName"), 1, spellings_.size())));
    bindSpellings(disk, 1, spellings_);
    if (!disk.step()) return ReadOutcome::UnknownDisc;
    storedName_ = disk.column(0).toString();

    std::vector<BankListRow> catalogued;
    SqliteStatement rows(connection_,
                         QStringLiteral("SELECT FilePath, FileSize, FileModified FROM BankList WHERE %1")
                             .arg(DiscNames::nameTest(QStringLiteral("DiskName"), 1, spellings_.size())));
    bindSpellings(rows, 1, spellings_);
    while (rows.step()) {
        BankListRow row;
        row.filePath = rows.column(0).toString();
        row.fileSize = rows.column(1).toDouble();
        if (!rows.column(2).isNull()) row.fileModified = rows.column(2).toLongLong();
        catalogued.push_back(std::move(row));
    }

    progress.started();
    try {
        RowCollector collector(now_);
        DiskScanner scanner(collector, fileSystem_, progress, storedName_);
        scanner.ScanFolder(root, QStringLiteral("*.*"));
        skipped_ = scanner.skipped();
    } catch (const MediumGoneError& gone) {
        now_.clear();
        detail_ = gone.detail();
        return ReadOutcome::DiscGone;
    } catch (const ScanCancelled&) {
        now_.clear();
        return ReadOutcome::Cancelled;
    }
    differences_ = compareRows(catalogued, now_);
    return ReadOutcome::Read;
}

bool DiscUpdate::apply(std::function<void()> beforeEachBatch) {
    if (drives_.mediumIdentity(root_) != medium_) return false;
    const QString nameTest = DiscNames::nameTest(QStringLiteral("DiskName"), 1, spellings_.size());
    Transaction update(connection_);
    {
        SqliteStatement removeRows(connection_,
                                   QStringLiteral("DELETE FROM BankList WHERE %1").arg(nameTest));
        bindSpellings(removeRows, 1, spellings_);
        removeRows.step();
        // Numbered after the spellings, which take parameters 1 and on.
        const int at = int(spellings_.size()) + 1;
        SqliteStatement disk(connection_,
                             QStringLiteral("UPDATE Disks SET SerialNo = ?%1, DiskSize = ?%2, "
                                            "FileCount = ?%3, VolumeLabel = ?%4, FileSystem = ?%5, "
                                            "CataloguedAt = ?%6 WHERE %7")
                                 .arg(at)
                                 .arg(at + 1)
                                 .arg(at + 2)
                                 .arg(at + 3)
                                 .arg(at + 4)
                                 .arg(at + 5)
                                 .arg(nameTest));
        bindSpellings(disk, 1, spellings_);
        disk.bind(at, details_.serial);
        disk.bind(at + 1, details_.usedSize);
        disk.bind(at + 2, QString::number(now_.size()));
        disk.bind(at + 3, details_.label);
        disk.bind(at + 4, details_.fileSystemName);
        disk.bind(at + 5, QDateTime::currentSecsSinceEpoch());
        disk.step();
    }
    BankListAppender appender(connection_);
    if (beforeEachBatch) appender.runBeforeEachBatch(std::move(beforeEachBatch));
    for (const BankListRow& row : now_) appender.append(row);
    appender.finish();
    update.commit();
    return true;
}

}  // namespace vt
