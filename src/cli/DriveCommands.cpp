#include "cli/DriveCommands.h"

#include <QElapsedTimer>
#include <QRegularExpression>
#include <csignal>

#include "catalog/CatalogError.h"
#include "catalog/Connection.h"
#include "catalog/SearchIndex.h"
#include "catalog/Recordset.h"
#include "cli/CliArguments.h"
#include "cli/CliCatalogue.h"
#include "cli/CliEnvironment.h"
#include "cli/RecordWriter.h"
#include "platform/DriveTable.h"
#include "platform/InterruptSignals.h"
#include "scan/DriveDetails.h"
#include "scan/ScanCommand.h"
#include "scan/ScanPace.h"
#include "scan/ScanProgress.h"

namespace vt::cli {

namespace {

QString driveRoot(int index) { return QString(QChar('A' + index)) + QStringLiteral(":\\"); }

// "D:", "d:" or "D:\" as the three-character root the catalogue stores.
QString parseRoot(const QString& text) {
    static const QRegularExpression shape(QStringLiteral("^([A-Za-z]):\\\\?$"));
    const QRegularExpressionMatch match = shape.match(text);
    if (!match.hasMatch()) {
        throw UsageError(QStringLiteral("'%1' is not a drive; give a letter and a colon such as D: "
                                        "('vellumtrove-cli drives' lists them)")
                             .arg(text));
    }
    return match.captured(1).toUpper() + QStringLiteral(":\\");
}

// Shows the count, the time and the rate on a terminal, rewriting one line; stops the scan on an interrupt.
class TerminalProgress final : public ScanProgress {
public:
    TerminalProgress(CliEnvironment& env, const InterruptSignals& interrupts) : env_(env), interrupts_(interrupts) {}
    void started() override { clock_.start(); }
    void pause(long recorded) override {
        if (!env_.interactive) return;
        const qint64 ms = clock_.elapsed();
        env_.err << "\r" << recorded << " files, " << elapsedText(ms) << ", " << filesPerSecond(recorded, ms)
                 << " files/s   ";
        env_.err.flush();
    }
    bool cancelRequested() const override { return interrupts_.caught() != 0; }
    void finish() {
        if (env_.interactive && clock_.isValid()) env_.err << '\n';
    }

private:
    CliEnvironment& env_;
    const InterruptSignals& interrupts_;
    QElapsedTimer clock_;
};

// Indexes the rows the scan added, so that searches from the command line find them through the path index
// at once (the program would otherwise do it in its idle time). The disc is catalogued either way: a
// failure here only leaves the rest for later.
void indexNewRows(Connection& connection, CliEnvironment& env) {
    constexpr qint64 kRowsPerTransaction = 20000;
    try {
        for (;;) {
            Transaction step(connection);
            const qint64 indexed = SearchIndex::catchUp(connection.handle(), kRowsPerTransaction);
            step.commit();
            if (indexed == 0) break;
        }
    } catch (const CatalogError& e) {
        env.err << "vellumtrove-cli: the new files are catalogued; indexing them for search will be finished "
                   "later: "
                << e.message() << '\n';
    }
}

int emptyNameRefused(CliEnvironment& env) {
    env.err << "vellumtrove-cli: the disc name is empty; give the disc a name with more than blanks in it\n";
    return kNothingFound;
}

}  // namespace

int runDrives(const Arguments& args, CliEnvironment& env) {
    const OutputFormat format = parseOutputFormat(args.option(QStringLiteral("--format"), QStringLiteral("tsv")));
    RecordWriter writer(env.out, format,
                        {QStringLiteral("root"), QStringLiteral("mount"), QStringLiteral("label"),
                         QStringLiteral("used"), QStringLiteral("filesystem"), QStringLiteral("serial")});
    const std::uint32_t mask = env.drives.logicalDrives();
    int listed = 0;
    for (int i = 0; i < 16; ++i) {
        const QString root = driveRoot(i);
        if (!(mask & (1u << i)) || env.drives.driveType(root) != kDriveTypeCdRom) continue;
        const DriveDetails details = readDriveDetails(env.drives, root);
        writer.write({root, env.drives.mountPoint(root), details.label, details.usedSize, details.fileSystemName,
                      details.serial},
                     {false, false, false, false, false, true});
        ++listed;
    }
    return listed > 0 ? kSuccess : kNothingFound;
}

int runScan(const Arguments& args, CliEnvironment& env) {
    const QString root = parseRoot(args.positional.value(0));
    const QString name = args.positional.value(1);
    // Refused before the catalogue is opened, so that not even a new catalogue is made for it.
    if (!isUsableDiskName(name)) {
        return emptyNameRefused(env);
    }
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
        env.err << "vellumtrove-cli: the scan failed and nothing of the disc was catalogued: " << e.message()
                << '\n';
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
        case ScanOutcome::Cancelled: {
            const bool terminated = interrupts.caught() == SIGTERM;
            env.err << "vellumtrove-cli: " << (terminated ? "terminated" : "interrupted")
                    << "; the scan was stopped and nothing of the disc was catalogued\n";
            return terminated ? kTerminated : kInterrupted;
        }
        case ScanOutcome::Finished:
            break;
    }
    indexNewRows(*cn, env);
    env.out << "Catalogued " << summary.recorded << " files of " << root << " as '" << name << "'";
    if (summary.skipped > 0) env.out << "; " << summary.skipped << " could not be read and were skipped";
    env.out << ".\n";
    return kSuccess;
}

}  // namespace vt::cli
