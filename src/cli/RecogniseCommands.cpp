#include "cli/RecogniseCommands.h"

#include "catalog/CatalogError.h"
#include "catalog/Connection.h"
#include "catalog/FileTimeText.h"
#include "cli/CliArguments.h"
#include "cli/CliCatalogue.h"
#include "cli/CliEnvironment.h"
#include "cli/ScanSupport.h"
#include "platform/DiscImage.h"
#include "platform/InterruptSignals.h"
#include "scan/DiscRecognition.h"
#include "scan/DiscUpdate.h"
#include "scan/DriveDetails.h"

namespace vt::cli {

namespace {

// The details the disc would show in a drive: read from the drive, or from the image file without mounting
// it. Empty with a message on the error stream when the image cannot be read.
std::optional<DriveDetails> detailsOf(const QString& rootOrImage, CliEnvironment& env) {
    if (looksLikeRoot(rootOrImage)) return readDriveDetails(env.drives, parseRoot(rootOrImage));
    const DiscImage::Opened opened = DiscImage::open(rootOrImage);
    if (!opened.image) {
        env.err << "vellumtrove-cli: '" << rootOrImage
                << "' is neither a drive such as D: nor a disc image that can "
                << "be read: " << opened.error << '\n';
        return std::nullopt;
    }
    const ImageVolume& volume = opened.image->volume();
    return DriveDetails{formatUsedSize(volume.usedBytes), volume.label, volume.fileSystemName,
                        serialText(volume.serial)};
}

QString sizeText(double bytes) {
    return QString::number(bytes, 'f', 0);
}

void printDifferences(const DiscDifferences& differences, CliEnvironment& env) {
    for (const FileDifference& file : differences.files) {
        switch (file.kind) {
            case FileDifference::Kind::Added:
                env.out << "added\t" << file.path << '\t' << sizeText(file.newSize) << '\n';
                break;
            case FileDifference::Kind::Removed:
                env.out << "removed\t" << file.path << '\t' << sizeText(file.oldSize) << '\n';
                break;
            case FileDifference::Kind::Resized:
                env.out << "resized\t" << file.path << '\t' << sizeText(file.oldSize) << " -> "
                        << sizeText(file.newSize) << '\n';
                break;
            case FileDifference::Kind::Redated:
                env.out << "redated\t" << file.path << '\t' << isoUtcText(file.oldModified) << " -> "
                        << isoUtcText(file.newModified) << '\n';
                break;
        }
    }
    env.out << differences.added << " added, " << differences.removed << " removed, " << differences.resized
            << " resized, " << differences.redated << " redated\n";
}

bool confirmed(const QString& name, CliEnvironment& env) {
    env.err << "Update the disc '" << name << "' with these differences? [y/N] ";
    env.err.flush();
    const QString answer = env.in.readLine().trimmed().toLower();
    return answer == QLatin1String("y") || answer == QLatin1String("yes");
}

}  // namespace

int runIdentify(const Arguments& args, CliEnvironment& env) {
    const std::optional<DriveDetails> details = detailsOf(args.positional.value(0), env);
    if (!details) return kUsageError;
    auto cn = openCatalogue(args, env, Access::Read);
    if (!cn) return kCatalogueError;
    try {
        const QStringList names = recogniseDisc(*cn, *details);
        for (const QString& name : names) env.out << name << '\n';
        if (names.isEmpty()) {
            env.err << "vellumtrove-cli: no catalogued disc has serial " << details->serial << " and size "
                    << details->usedSize << '\n';
            return kNothingFound;
        }
        return kSuccess;
    } catch (const CatalogError& e) {
        env.err << "vellumtrove-cli: the catalogue could not be read: " << e.message() << '\n';
        return kCatalogueError;
    }
}

int runUpdate(const Arguments& args, CliEnvironment& env) {
    const QString source = args.positional.value(0);
    const QString name = args.positional.value(1);
    const bool dryRun = args.has(QStringLiteral("--dry-run"));
    const bool yes = args.has(QStringLiteral("--yes"));
    if (!dryRun && !yes && !env.interactive) {
        env.err << "vellumtrove-cli: not updating '" << name
                << "' without confirmation; add --yes to update it from a script, or --dry-run to see the "
                   "differences\n";
        return kNothingFound;
    }
    const QString root = scannedRoot(source, env);
    if (root.isEmpty()) return kNothingFound;
    auto cn = openCatalogue(args, env, Access::Write);
    if (!cn) return kCatalogueError;
    try {
        DiscUpdate update(*cn, env.drives, env.fileSystem);
        const InterruptSignals interrupts;
        TerminalProgress progress(env, interrupts);
        const DiscUpdate::ReadOutcome outcome = update.read(root, name, progress);
        progress.finish();
        switch (outcome) {
            case DiscUpdate::ReadOutcome::NoDisc:
                env.err << "vellumtrove-cli: there is no disc in " << root
                        << " (or it is not an optical drive); 'vellumtrove-cli drives' lists them\n";
                return kNothingFound;
            case DiscUpdate::ReadOutcome::UnknownDisc:
                env.err << "vellumtrove-cli: no disc named '" << name
                        << "' is catalogued; 'vellumtrove-cli disks' lists them\n";
                return kNothingFound;
            case DiscUpdate::ReadOutcome::DiscGone:
                env.err << "vellumtrove-cli: the disc in " << root
                        << " was removed or became unreadable; nothing was changed (" << update.detail()
                        << ")\n";
                return kDiscGone;
            case DiscUpdate::ReadOutcome::Cancelled:
                return stoppedBySignal(interrupts, env, "nothing was changed");
            case DiscUpdate::ReadOutcome::Read:
                break;
        }
        if (update.differences().none()) {
            env.out << "The disc '" << update.name() << "' is up to date.\n";
            return kSuccess;
        }
        printDifferences(update.differences(), env);
        if (dryRun) {
            env.err << "Nothing was changed (--dry-run).\n";
            return kSuccess;
        }
        if (!yes && !confirmed(update.name(), env)) {
            env.err << "Nothing was changed.\n";
            return kNothingFound;
        }
        if (!update.apply()) {
            env.err << "vellumtrove-cli: " << root
                    << " no longer holds the disc that was read; nothing was changed\n";
            return kDiscGone;
        }
        env.err << "Updated the disc '" << update.name() << "': " << update.files() << " files.\n";
        return kSuccess;
    } catch (const CatalogError& e) {
        env.err << "vellumtrove-cli: the disc was not updated, nothing changed: " << e.message() << '\n';
        return kCatalogueError;
    }
}

}  // namespace vt::cli
