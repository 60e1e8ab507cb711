#include "scan/ScanCommand.h"

#include "catalog/BankListAppender.h"
#include "catalog/Connection.h"
#include "catalog/Recordset.h"
#include "catalog/Statements.h"
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

bool isUsableDiskName(const QString& name) { return !name.trimmed().isEmpty(); }

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

    // From the name test to the last row, the catalogue is this command's: no other writer can take the
    // name meanwhile, and a failure or a crash leaves nothing of the disc.
    Transaction scan(connection_);
    if (rsDisks_.State() != 0) rsDisks_.Close();
    if (rsBankList_.State() != 0) rsBankList_.Close();
    rsDisks_.Open(Statements::disksNamedLike(request.diskName), connection_);
    rsBankList_.Open(Statements::bankListForAppend(), connection_);
    if (rsDisks_.RecordCount() > 0) {
        summary.outcome = ScanOutcome::NameTaken;
        return summary;
    }

    progress.started();
    rsDisks_.AddNew();
    rsDisks_.Fields(0).setValue(request.diskName);
    rsDisks_.Fields(1).setValue(request.serial);
    rsDisks_.Fields(2).setValue(request.usedSize);
    {
        BankListAppender appender(connection_);
        DiskScanner scanner(appender, fileSystem_, progress, request.diskName);
        scanner.ScanFolder(request.driveRoot, QStringLiteral("*.*"));
        appender.finish();
        summary.recorded = scanner.recorded();
        summary.skipped = scanner.skipped();
    }
    rsDisks_.Fields(3).setValue(QString::number(summary.recorded));
    rsDisks_.Update();
    scan.commit();
    summary.outcome = ScanOutcome::Finished;
    return summary;
}

}  // namespace vt
