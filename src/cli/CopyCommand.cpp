#include "cli/CopyCommand.h"

#include <csignal>

#include "catalog/CatalogError.h"
#include "catalog/CatalogSchema.h"
#include "catalog/DiscCopy.h"
#include "catalog/DiscRows.h"
#include "cli/CliArguments.h"
#include "cli/CliCatalogue.h"
#include "cli/CliEnvironment.h"
#include "cli/ScanSupport.h"
#include "platform/InterruptSignals.h"

namespace vt::cli {

int runCopy(const Arguments& args, CliEnvironment& env) {
    const QString source = args.option(QStringLiteral("--from"));
    const QString target = args.option(QStringLiteral("--to"));
    if (source.isEmpty() || target.isEmpty()) {
        env.err << "vellumtrove-cli: copy needs both --from SOURCE and --to TARGET (a catalogue file or a "
                   "postgresql:// address)\n";
        return kUsageError;
    }
    auto from = openCatalogueAt(source, env, Access::Read);
    if (!from) return kCatalogueError;
    auto to = openCatalogueAt(target, env, Access::Write);
    if (!to) return kCatalogueError;

    const InterruptSignals interrupts;
    const auto stop = [&interrupts] { return interrupts.caught() != 0; };
    int copied = 0;
    int skipped = 0;
    std::vector<std::vector<QVariant>> discs;
    try {
        discs = DiscRows::allDiscs(*from);
    } catch (const CatalogError& e) {
        env.err << "vellumtrove-cli: cannot read the discs of " << from->databasePath() << ": " << e.message()
                << '\n';
        return kCatalogueError;
    }
    for (const std::vector<QVariant>& disc : discs) {
        const QString name = disc[DisksColumn::DiskName].toString();
        qint64 files = 0;
        DiscCopyOutcome outcome;
        try {
            outcome = copyDisc(*from, *to, disc, stop, &files);
        } catch (const CatalogError& e) {
            env.err
                << "vellumtrove-cli: copying '" << name
                << (e.cause() == CatalogFailureCause::OutcomeUnknown
                        ? "' was cut short as the target committed it; whether it was copied cannot be known "
                          "until the target answers (a copy again skips it if it is there): "
                        : "' failed and nothing of it was copied: ")
                << e.message() << "\n"
                << copied << " disc(s) were copied before it; the same command goes on from there\n";
            return kCatalogueError;
        }
        if (outcome == DiscCopyOutcome::Stopped) {
            env.err << "vellumtrove-cli: stopped while copying '" << name << "'; nothing of it was copied, "
                    << copied << " disc(s) were copied before it; the same command goes on from there\n";
            return interrupts.caught() == SIGTERM ? kTerminated : kInterrupted;
        }
        if (outcome == DiscCopyOutcome::AlreadyThere) {
            env.out << "skipped\t" << name << "\talready in the target\n";
            ++skipped;
        } else {
            env.out << "copied\t" << name << '\t' << files << " files\n";
            ++copied;
        }
    }
    env.err << copied << " disc(s) copied, " << skipped << " skipped (already in the target)\n";
    return kSuccess;
}

}  // namespace vt::cli
