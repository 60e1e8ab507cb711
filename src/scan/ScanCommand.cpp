#include "scan/ScanCommand.h"

#include <QDateTime>

#include "catalog/BankListWriting.h"
#include "catalog/CatalogSchema.h"
#include "catalog/Connection.h"
#include "catalog/Recordset.h"
#include "catalog/Statements.h"
#include "catalog/UnmappedWriting.h"
#include "platform/DriveTable.h"
#include "scan/DiskScanner.h"
#include "scan/DriveDetails.h"
#include "scan/ScanProgress.h"

namespace vt {

ScanCommand::ScanCommand(Connection& connection, Recordset& rsDisks, Recordset& rsBankList,
                         const DriveTable& drives, FileSystem& fileSystem)
    : connection_(connection),
      rsDisks_(rsDisks),
      rsBankList_(rsBankList),
      drives_(drives),
      fileSystem_(fileSystem) {}

bool isUsableDiskName(const QString& name) {
    return !name.trimmed().isEmpty();
}

ScanSummary ScanCommand::run(const ScanRequest& request, ScanProgress& progress) {
    ScanSummary summary;
    if (!isUsableDiskName(request.diskName)) {
        summary.outcome = ScanOutcome::NoName;
        return summary;
    }
    // Without a listed optical drive there is nothing to walk; an empty root would mean some other
    // drive's root, which must never be catalogued in its place.
    if (request.driveRoot.isEmpty() || drives_.driveType(request.driveRoot) != kDriveTypeCdRom ||
        request.usedSize == formatUsedSize(0)) {
        summary.outcome = ScanOutcome::NoDisc;
        return summary;
    }

    // What the drive holds as the scan begins; the disc row is written only if it holds the same at the end.
    const QString medium = drives_.mediumIdentity(request.driveRoot);
    if (medium.isEmpty()) {
        summary.outcome = ScanOutcome::NoDisc;
        return summary;
    }

    // From the name test to the last row, the catalogue is this command's: no other writer can take the
    // name meanwhile, and a failure or a crash leaves nothing of the disc. The catalogue stays unmapped
    // until the transaction has ended, so that the memory the scan takes does not grow with the disc.
    const UnmappedWriting unmapped(connection_);
    Transaction scan(connection_);
    if (rsDisks_.State() != 0) rsDisks_.Close();
    if (rsBankList_.State() != 0) rsBankList_.Close();
    connection_.reserveDiscName(request.diskName);
    rsDisks_.Open(Statements::disksNamedLike(request.diskName), connection_);
    rsBankList_.Open(Statements::bankListForAppend(), connection_);
    if (rsDisks_.RecordCount() > 0) {
        summary.outcome = ScanOutcome::NameTaken;
        return summary;
    }

    progress.started();
    try {
        const std::unique_ptr<BankListWriter> writer = startBankListWriting(connection_);
        DiskScanner scanner(*writer, fileSystem_, progress, request.diskName);
        scanner.ScanFolder(request.driveRoot, QStringLiteral("*.*"));
        writer->finish();
        summary.recorded = scanner.recorded();
        summary.skipped = scanner.skipped();
    } catch (const MediumGoneError& gone) {
        // The rows written so far go with the transaction.
        summary.outcome = ScanOutcome::DiscGone;
        summary.detail = gone.detail();
        return summary;
    } catch (const ScanCancelled&) {
        summary.outcome = ScanOutcome::Cancelled;
        return summary;
    }
    // A request that came while the last rows were written still stops the disc from being recorded.
    if (progress.cancelRequested()) {
        summary = ScanSummary{ScanOutcome::Cancelled, 0, 0, QString()};
        return summary;
    }
    if (drives_.mediumIdentity(request.driveRoot) != medium) {
        summary = ScanSummary{
            ScanOutcome::DiscGone, 0, 0,
            QStringLiteral("%1 no longer holds the disc the scan began with").arg(request.driveRoot)};
        return summary;
    }
    rsDisks_.AddNew();
    rsDisks_.Fields(0).setValue(request.diskName);
    rsDisks_.Fields(1).setValue(request.serial);
    rsDisks_.Fields(2).setValue(request.usedSize);
    rsDisks_.Fields(3).setValue(QString::number(summary.recorded));
    const DriveDetails volume = readDriveDetails(drives_, request.driveRoot);
    rsDisks_.Fields(DisksColumn::VolumeLabel).setValue(volume.label);
    rsDisks_.Fields(DisksColumn::FileSystem).setValue(volume.fileSystemName);
    rsDisks_.Fields(DisksColumn::CataloguedAt).setValue(QDateTime::currentSecsSinceEpoch());
    rsDisks_.Update();
    scan.commit();
    summary.outcome = ScanOutcome::Finished;
    return summary;
}

}  // namespace vt
