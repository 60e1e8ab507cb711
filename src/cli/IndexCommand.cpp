#include "cli/IndexCommand.h"

#include "catalog/CatalogError.h"
#include "catalog/Connection.h"
#include "catalog/SearchIndex.h"
#include "catalog/UnmappedWriting.h"
#include "cli/CliArguments.h"
#include "cli/CliCatalogue.h"
#include "cli/CliEnvironment.h"

namespace vt::cli {

int runIndex(const Arguments& args, CliEnvironment& env) {
    // Steps of a transaction each, so that an interruption keeps what was done and other programs get
    // their turn in between.
    constexpr qint64 kRowsPerTransaction = 20000;
    auto cn = openCatalogue(args, env, Access::Write);
    if (!cn) return kCatalogueError;
    if (cn->server()) {
        env.out << "Indexed 0 files: a catalogue on a server indexes every file as it arrives.\n";
        return kSuccess;
    }
    qint64 total = 0;
    try {
        const UnmappedWriting unmapped(*cn);
        for (;;) {
            Transaction step(*cn);
            const qint64 indexed = SearchIndex::catchUp(cn->handle(), kRowsPerTransaction);
            step.commit();
            if (indexed == 0) break;
            total += indexed;
        }
    } catch (const CatalogError& e) {
        env.err << "vellumtrove-cli: indexing stopped after " << total
                << " files (those are kept): " << e.message() << '\n';
        return kCatalogueError;
    }
    env.out << "Indexed " << total << " files.\n";
    return kSuccess;
}

}  // namespace vt::cli
