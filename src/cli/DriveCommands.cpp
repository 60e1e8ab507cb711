#include "cli/DriveCommands.h"

#include "catalog/CatalogError.h"
#include "catalog/Connection.h"
#include "catalog/Recordset.h"
#include "cli/CliArguments.h"
#include "cli/CliCatalogue.h"
#include "cli/CliEnvironment.h"
#include "cli/RecordWriter.h"
#include "cli/ScanSupport.h"
#include "platform/DriveTable.h"
#include "platform/InterruptSignals.h"
#include "scan/DriveDetails.h"
#include "scan/ScanCommand.h"

namespace vt::cli {

namespace {

int emptyNameRefused(CliEnvironment& env) {
    env.err << "vellumtrove-cli: the disc name is empty; give the disc a name with more than blanks in it\n";
    return kNothingFound;
}

}  // namespace

int runDrives(const Arguments& args, CliEnvironment& env) {
    const OutputFormat format =
        parseOutputFormat(args.option(QStringLiteral("--format"), QStringLiteral("tsv")));
    RecordWriter writer(env.out, format,
                        {QStringLiteral("root"), QStringLiteral("mount"), QStringLiteral("label"),
                         QStringLiteral("used"), QStringLiteral("filesystem"), QStringLiteral("serial")});
    bool attachedAll = true;
    for (const QString& image : args.values(QStringLiteral("--image"))) {
        attachedAll = !attachImage(image, env).isEmpty() && attachedAll;
    }
    int listed = 0;
    for (const QString& root : opticalDriveRoots(env.drives)) {
        const DriveDetails details = readDriveDetails(env.drives, root);
        writer.write({root, env.drives.mountPoint(root), details.label, details.usedSize,
                      details.fileSystemName, details.serial},
                     {false, false, false, false, false, true});
        ++listed;
    }
    return listed > 0 && attachedAll ? kSuccess : kNothingFound;
}

int runScan(const Arguments& args, CliEnvironment& env) {
    const QString name = args.positional.value(1);
    // Refused before the catalogue is opened, so that not even a new catalogue is made for it.
    if (!isUsableDiskName(name)) {
        return emptyNameRefused(env);
    }
    const QString root = scannedRoot(args.positional.value(0), env);
    if (root.isEmpty()) return kNothingFound;
    const DriveDetails details = readDriveDetails(env.drives, root);
    auto cn = openCatalogue(args, env, Access::Write);
    if (!cn) return kCatalogueError;

    Recordset rsDisks;
    Recordset rsBankList;
    ScanCommand command(*cn, rsDisks, rsBankList, env.drives, env.fileSystem);
    const InterruptSignals interrupts;
    TerminalProgress progress(env, interrupts);
    ScanSummary summary;
    try {
        summary = command.run({root, name, details.serial, details.usedSize}, progress);
    } catch (const CatalogError& e) {
        progress.finish();
        env.err << (e.cause() == CatalogFailureCause::OutcomeUnknown
                        ? "vellumtrove-cli: whether the disc was catalogued cannot be known until the server "
                          "answers ('vellumtrove-cli disks' tells then): "
                        : "vellumtrove-cli: the scan failed and nothing of the disc was catalogued: ")
                << e.message() << '\n';
        return kCatalogueError;
    }
    progress.finish();
    switch (summary.outcome) {
        case ScanOutcome::NoName:
            return emptyNameRefused(env);
        case ScanOutcome::NoDisc:
            env.err << "vellumtrove-cli: there is no disc in " << root
                    << " (or it is not an optical drive); 'vellumtrove-cli drives' lists them\n";
            return kNothingFound;
        case ScanOutcome::NameTaken:
            env.err << "vellumtrove-cli: a disc named like '" << name
                    << "' is already catalogued; choose another name ('vellumtrove-cli disks' lists them)\n";
            return kNothingFound;
        case ScanOutcome::DiscGone:
            env.err << "vellumtrove-cli: the disc in " << root
                    << " was removed or became unreadable during the scan; nothing of it was catalogued ("
                    << summary.detail << ")\n";
            return kDiscGone;
        case ScanOutcome::Cancelled:
            return stoppedBySignal(interrupts, env,
                                   "the scan was stopped and nothing of the disc was catalogued");
        case ScanOutcome::Finished:
            break;
    }
    env.out << "Catalogued " << summary.recorded << " files of " << root << " as '" << name << "'";
    if (summary.skipped > 0) env.out << "; " << summary.skipped << " could not be read and were skipped";
    env.out << ".\n";
    return kSuccess;
}

}  // namespace vt::cli
