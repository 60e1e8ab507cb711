#include "cli/CheckCommand.h"

#include "catalog/CatalogCheck.h"
#include "catalog/CatalogError.h"
#include "cli/CliCatalogue.h"
#include "cli/CliEnvironment.h"

namespace vt::cli {

int runCheck(const Arguments& args, CliEnvironment& env) {
    auto cn = openCatalogue(args, env, Access::Read);
    if (!cn) return kCatalogueError;
    CatalogCheckReport report;
    try {
        report = checkCatalogue(*cn);
    } catch (const CatalogError& e) {
        env.err << "vellumtrove-cli: the catalogue could not be read to the end: " << e.message() << '\n';
        return kCatalogueError;
    }
    env.out << "Catalogue " << cn->databasePath() << ": " << report.disks << " discs, " << report.rows
            << " file rows.\n";
    for (const QString& note : report.notes) env.out << "note: " << note << '\n';
    for (const QString& problem : report.problems) env.out << "problem: " << problem << '\n';
    if (report.sound()) {
        env.out << "Everything holds.\n";
        return kSuccess;
    }
    env.out << report.problems.size() << (report.problems.size() == 1 ? " problem" : " problems")
            << " found.\n";
    return kNothingFound;
}

}  // namespace vt::cli
