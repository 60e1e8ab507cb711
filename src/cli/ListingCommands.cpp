#include "cli/ListingCommands.h"

#include "catalog/CatalogError.h"
#include "catalog/DiscNames.h"
#include "catalog/Recordset.h"
#include "catalog/SqliteStatement.h"
#include "catalog/Statements.h"
#include "cli/CliArguments.h"
#include "cli/CliCatalogue.h"
#include "cli/CliEnvironment.h"
#include "cli/RecordWriter.h"

namespace vt::cli {

namespace {

OutputFormat formatOf(const Arguments& args) {
    return parseOutputFormat(args.option(QStringLiteral("--format"), QStringLiteral("tsv")));
}

int catalogueFailure(CliEnvironment& env, const CatalogError& e) {
    env.err << "vellumtrove-cli: the catalogue refused the request: " << e.message() << '\n';
    return kCatalogueError;
}

}  // namespace

int runDisks(const Arguments& args, CliEnvironment& env) {
    const OutputFormat format = formatOf(args);
    auto cn = openCatalogue(args, env, Access::Read);
    if (!cn) return kCatalogueError;
    try {
        Recordset rs;
        rs.Open(Statements::allDisks(), *cn);
        RecordWriter writer(env.out, format,
                            {QStringLiteral("name"), QStringLiteral("serial"), QStringLiteral("size"),
                             QStringLiteral("files")});
        const long count = rs.RecordCount();
        for (long i = 0; i < count; ++i) {
            writer.write({rs.Fields(0).Value().toString(), rs.Fields(1).Value().toString(),
                          rs.Fields(2).Value().toString(), rs.Fields(3).Value().toString()});
            rs.MoveNext();
        }
        return count > 0 ? kSuccess : kNothingFound;
    } catch (const CatalogError& e) {
        return catalogueFailure(env, e);
    }
}

int runSearch(const Arguments& args, CliEnvironment& env) {
    const OutputFormat format = formatOf(args);
    const QString text = args.positional.value(0);
    if (text.isEmpty()) throw UsageError(QStringLiteral("the search text is empty; give part of a path"));
    bool limitOk = false;
    const int limit = args.option(QStringLiteral("--limit"), QStringLiteral("2000")).toInt(&limitOk);
    if (!limitOk || limit < 1) throw UsageError(QStringLiteral("--limit needs a whole number of 1 or more"));
    const bool allDisks = !args.options.contains(QStringLiteral("--disk"));

    auto cn = openCatalogue(args, env, Access::Read);
    if (!cn) return kCatalogueError;
    try {
        Recordset rs;
        rs.Open(Statements::search(allDisks, args.option(QStringLiteral("--disk")), text, limit), *cn);
        RecordWriter writer(env.out, format,
                            {QStringLiteral("path"), QStringLiteral("disc"), QStringLiteral("size")});
        const long count = rs.RecordCount();
        for (long i = 0; i < count; ++i) {
            writer.write({rs.Fields(2).Value().toString(), rs.Fields(0).Value().toString(),
                          numberText(rs.Fields(3).Value())},
                         {false, false, true});
            rs.MoveNext();
        }
        return count > 0 ? kSuccess : kNothingFound;
    } catch (const CatalogError& e) {
        return catalogueFailure(env, e);
    }
}

int runExport(const Arguments& args, CliEnvironment& env) {
    const OutputFormat format = formatOf(args);
    auto cn = openCatalogue(args, env, Access::Read);
    if (!cn) return kCatalogueError;
    try {
        // Rows are read one at a time straight from the store, so memory stays flat for any catalogue.
        // A disc is named as everywhere else, case ignored; its rows come through the DiskName index.
        const bool oneDisk = args.options.contains(QStringLiteral("--disk"));
        const std::vector<QString> spellings =
            oneDisk ? DiscNames::storedSpellings(cn->handle(), args.option(QStringLiteral("--disk")))
                    : std::vector<QString>{};
        const QString oneDiskRows =
            QStringLiteral("SELECT * FROM BankList WHERE %1%2;")
                .arg(DiscNames::nameTest(QStringLiteral("DiskName"), 1, spellings.size()),
                     DiscNames::rowidOrder(spellings.size()));
        SqliteStatement rows(cn->handle(), oneDisk ? oneDiskRows : QStringLiteral("SELECT * FROM BankList;"));
        for (size_t i = 0; i < spellings.size(); ++i) rows.bind(int(i) + 1, spellings[i]);
        RecordWriter writer(env.out, format,
                            {QStringLiteral("disc"), QStringLiteral("name"), QStringLiteral("path"),
                             QStringLiteral("size"), QStringLiteral("attributes")});
        long count = 0;
        while (rows.step()) {
            writer.write({rows.column(0).toString(), rows.column(1).toString(), rows.column(2).toString(),
                          numberText(rows.column(3)), rows.column(4).toString()},
                         {false, false, false, true, false});
            ++count;
        }
        env.out.flush();
        return count > 0 ? kSuccess : kNothingFound;
    } catch (const CatalogError& e) {
        return catalogueFailure(env, e);
    }
}

}  // namespace vt::cli
