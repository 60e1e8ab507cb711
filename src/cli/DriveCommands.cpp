#include "cli/DriveCommands.h"

#include <QElapsedTimer>
#include <QFileInfo>
#include <QRegularExpression>

#include "catalog/CatalogError.h"
#include "catalog/Connection.h"
#include "catalog/SearchIndex.h"
#include "catalog/Recordset.h"
#include "cli/CliArguments.h"
#include "cli/CliCatalogue.h"
#include "cli/CliEnvironment.h"
#include "cli/RecordWriter.h"
#include "platform/AttachedImages.h"
#include "platform/DriveTable.h"
#include "scan/DriveDetails.h"
#include "scan/ScanCommand.h"
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

// Shows the count and the rate on a terminal, rewriting one line.
class TerminalProgress final : public ScanProgress {
public:
    explicit TerminalProgress(CliEnvironment& env) : env_(env) {}
    void started() override { clock_.start(); }
    void pause(long recorded) override {
        if (!env_.interactive) return;
        const double seconds = std::max(clock_.elapsed(), qint64(1)) / 1000.0;
        env_.err << "\r" << recorded << " files, " << qint64(recorded / seconds) << " files/s   ";
        env_.err.flush();
    }
    void finish() {
        if (env_.interactive && clock_.isValid()) env_.err << '\n';
    }

private:
    CliEnvironment& env_;
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

// Attaches the image file `path` as a drive; its root, or empty after telling why it could not be.
QString attachImage(const QString& path, CliEnvironment& env) {
    if (!env.images) {
        env.err << "vellumtrove-cli: disc images cannot be attached here\n";
        return {};
    }
    const AttachedImages::Attached attached = env.images->attach(path);
    if (attached.refusal != AttachedImages::Refusal::None) {
        env.err << "vellumtrove-cli: the disc image " << path << " cannot be attached: " << attached.error << '\n';
    }
    return attached.root;
}

// The drive a scan is asked for: a root as typed, or the root an image file is attached as (empty when
// it cannot be).
QString scannedRoot(const QString& text, CliEnvironment& env) {
    if (QFileInfo(text).isFile()) return attachImage(text, env);
    return parseRoot(text);
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
    bool attachedAll = true;
    for (const QString& image : args.values(QStringLiteral("--image"))) {
        attachedAll = !attachImage(image, env).isEmpty() && attachedAll;
    }
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
    TerminalProgress progress(env);
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
