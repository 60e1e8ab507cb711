#include "scan/ScanCommand.h"

#include "catalog/Connection.h"
#include "catalog/Recordset.h"
#include "catalog/StagingTable.h"
#include "catalog/Statements.h"
#include "platform/DriveTable.h"
#include "scan/DiskScanner.h"
#include "scan/DriveDetails.h"
#include "scan/ScanProgress.h"

namespace vt {

ScanCommand::ScanCommand(Connection& cnCatalog, Recordset& rsDisks, Recordset& rsBankList,
                         const DriveTable& drives, FileSystem& fileSystem)
    : cnCatalog_(cnCatalog),
      rsDisks_(rsDisks),
      rsBankList_(rsBankList),
      drives_(drives),
      fileSystem_(fileSystem) {}

bool ScanCommand::nameTaken(const QString& diskName) {
    Recordset check;
    check.Open(Statements::disksNamedLike(diskName), cnCatalog_);
    return check.RecordCount() > 0;
}

ScanSummary ScanCommand::run(const ScanRequest& request, ScanProgress& progress) {
    ScanSummary summary;
    // Without a listed optical drive there is nothing to walk; an empty root would mean some other
    // drive's root, which must never be catalogued in its place.
    if (request.driveRoot.isEmpty() || drives_.driveType(request.driveRoot) != kDriveTypeCdRom ||
        request.usedSize == formatUsedSize(0)) {
        summary.outcome = ScanOutcome::NoDisc;
        return summary;
    }

    if (rsDisks_.State() != 0) rsDisks_.Close();
    if (rsBankList_.State() != 0) rsBankList_.Close();
    rsDisks_.Open(Statements::disksNamedLike(request.diskName), cnCatalog_);
    rsBankList_.Open(Statements::bankListForAppend(), cnCatalog_);
    if (rsDisks_.RecordCount() > 0) {
        summary.outcome = ScanOutcome::NameTaken;
        return summary;
    }

    progress.started();
    rsDisks_.AddNew();
    rsDisks_.Fields(0).setValue(request.diskName);
    rsDisks_.Fields(1).setValue(request.serial);
    rsDisks_.Fields(2).setValue(request.usedSize);

    StagingTable staging(cnCatalog_, rsBankList_.tableName());
    rsBankList_.sendNewRowsTo(staging.name());
    DiskScanner scanner(cnCatalog_, rsBankList_, fileSystem_, progress, request.diskName);
    scanner.ScanFolder(request.driveRoot, QStringLiteral("*.*"));
    summary.recorded = scanner.recorded();
    summary.skipped = scanner.skipped();

    Transaction publish(cnCatalog_);
    // Another program on the same catalogue may have taken the name while the walk ran.
    if (nameTaken(request.diskName)) {
        summary.outcome = ScanOutcome::NameTaken;
        return summary;
    }
    staging.publish([&progress](long done, long total) { progress.publishing(done, total); });
    rsDisks_.Fields(3).setValue(QString::number(summary.recorded));
    rsDisks_.Update();
    publish.commit();
    summary.outcome = ScanOutcome::Finished;
    return summary;
}

}  // namespace vt
