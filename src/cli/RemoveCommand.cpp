#include "cli/RemoveCommand.h"

#include "catalog/BankListRows.h"
#include "catalog/CatalogError.h"
#include "catalog/Recordset.h"
#include "catalog/Statements.h"
#include "cli/CliArguments.h"
#include "cli/CliCatalogue.h"
#include "cli/CliEnvironment.h"
#include "remove/DiskRemoval.h"

namespace vt::cli {

int runRemove(const Arguments& args, CliEnvironment& env) {
    const QString name = args.positional.value(0);
    const bool confirmed = args.has(QStringLiteral("--yes"));
    if (!confirmed && !env.interactive) {
        env.err << "vellumtrove-cli: not removing '" << name
                << "' without confirmation; add --yes to remove it from a script\n";
        return kNothingFound;
    }
    auto cn = openCatalogue(args, env, Access::Write);
    if (!cn) return kCatalogueError;
    try {
        Recordset disk;
        disk.Open(Statements::diskNamed(name), *cn);
        if (disk.RecordCount() == 0) {
            env.err << "vellumtrove-cli: no disc named '" << name
                    << "' is catalogued; 'vellumtrove-cli disks' lists them\n";
            return kNothingFound;
        }
        // Told as catalogued, whatever the case it was asked for in.
        const QString catalogued = disk.Fields(0).Value().toString();
        disk.Close();
        // The file rows the removal takes: those of every stored spelling of the name, as it removes them.
        const qint64 files = BankListRows::countOfDisc(*cn, name);
        if (!confirmed) {
            env.err << "Remove the disc '" << catalogued << "' and its " << files << " file rows? [y/N] ";
            env.err.flush();
            const QString answer = env.in.readLine().trimmed().toLower();
            if (answer != QLatin1String("y") && answer != QLatin1String("yes")) {
                env.err << "Nothing was removed.\n";
                return kNothingFound;
            }
        }
        removeDisk(*cn, name);
        env.err << "Removed the disc '" << catalogued << "' and " << files << " file rows.\n";
        return kSuccess;
    } catch (const CatalogError& e) {
        env.err << (e.cause() == CatalogFailureCause::OutcomeUnknown
                        ? "vellumtrove-cli: whether the disc was removed cannot be known until the server "
                          "answers ('vellumtrove-cli disks' tells then): "
                        : "vellumtrove-cli: the disc was not removed, nothing changed: ")
                << e.message() << '\n';
        return kCatalogueError;
    }
}

}  // namespace vt::cli
