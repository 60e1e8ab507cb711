#include "scan/DiscUpdate.h"

#include <QDateTime>

#include "catalog/BankListRows.h"
#include "catalog/Connection.h"
#include "catalog/DiscNames.h"
#include "catalog/SqliteStatement.h"
#include "catalog/postgres/PgBankListCopy.h"
#include "catalog/postgres/PgConnection.h"
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
    const std::optional<QString> stored = storedDiscName(name);
    if (!stored) return ReadOutcome::UnknownDisc;
    storedName_ = *stored;

    std::vector<BankListRow> catalogued;
    BankListRows::forEach(connection_, storedName_, [&](const std::vector<QVariant>& values) {
        BankListRow row;
        row.filePath = values[2].toString();
        row.fileSize = values[3].toDouble();
        if (values.size() > 5 && !values[5].isNull()) row.fileModified = values[5].toLongLong();
        catalogued.push_back(std::move(row));
    });

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

std::optional<QString> DiscUpdate::storedDiscName(const QString& name) {
    if (PgConnection* server = connection_.server()) {
        const PgResult disk = server->exec(
            QStringLiteral("SELECT DiskName FROM Disks WHERE vt_fold(DiskName) = vt_fold($1) ORDER BY RowId "
                           "LIMIT 1;"),
            {name});
        if (disk.rowCount() == 0) return std::nullopt;
        return disk.value(0, 0).toString();
    }
    SqliteStatement disk(connection_,
                         QStringLiteral("SELECT DiskName FROM Disks WHERE %1 ORDER BY rowid LIMIT 1")
                             .arg(DiscNames::nameTest(QStringLiteral("DiskName"), 1, spellings_.size())));
    bindSpellings(disk, 1, spellings_);
    if (!disk.step()) return std::nullopt;
    return disk.column(0).toString();
}

void DiscUpdate::replaceDiscRow() {
    const std::vector<QVariant> facts = {
        details_.serial, details_.usedSize,       QString::number(now_.size()),
        details_.label,  details_.fileSystemName, QDateTime::currentSecsSinceEpoch()};
    if (PgConnection* server = connection_.server()) {
        const QString byName = QStringLiteral("vt_fold(DiskName) = vt_fold($1)");
        server->exec(QStringLiteral("DELETE FROM BankList WHERE %1;").arg(byName), {storedName_});
        std::vector<QVariant> parameters{storedName_};
        parameters.insert(parameters.end(), facts.begin(), facts.end());
        server->exec(QStringLiteral("UPDATE Disks SET SerialNo = $2, DiskSize = $3, FileCount = $4, "
                                    "VolumeLabel = $5, FileSystem = $6, CataloguedAt = $7 WHERE %1;")
                         .arg(byName),
                     parameters);
        return;
    }
    const QString nameTest = DiscNames::nameTest(QStringLiteral("DiskName"), 1, spellings_.size());
    SqliteStatement removeRows(connection_, QStringLiteral("DELETE FROM BankList WHERE %1").arg(nameTest));
    bindSpellings(removeRows, 1, spellings_);
    removeRows.step();
    // Numbered after the spellings, which take parameters 1 and on.
    const int at = int(spellings_.size()) + 1;
    SqliteStatement disk(connection_,
                         QStringLiteral("UPDATE Disks SET SerialNo = ?%1, DiskSize = ?%2, FileCount = ?%3, "
                                        "VolumeLabel = ?%4, FileSystem = ?%5, CataloguedAt = ?%6 WHERE %7")
                             .arg(at)
                             .arg(at + 1)
                             .arg(at + 2)
                             .arg(at + 3)
                             .arg(at + 4)
                             .arg(at + 5)
                             .arg(nameTest));
    bindSpellings(disk, 1, spellings_);
    for (size_t i = 0; i < facts.size(); ++i) disk.bind(at + int(i), facts[i]);
    disk.step();
}

bool DiscUpdate::apply(std::function<void()> beforeEachBatch) {
    if (drives_.mediumIdentity(root_) != medium_) return false;
    Transaction update(connection_);
    connection_.reserveDiscName(storedName_);
    replaceDiscRow();
    std::unique_ptr<BankListWriter> writer;
    if (PgConnection* server = connection_.server()) {
        writer = std::make_unique<PgBankListCopy>(*server);
    } else {
        auto appender = std::make_unique<BankListAppender>(connection_);
        if (beforeEachBatch) appender->runBeforeEachBatch(std::move(beforeEachBatch));
        writer = std::move(appender);
    }
    for (const BankListRow& row : now_) writer->append(row);
    writer->finish();
    update.commit();
    return true;
}

}  // namespace vt
