#include "cli/ListingCommands.h"

#include <climits>
#include <optional>
#include <vector>

#include "catalog/BankListRows.h"
#include "catalog/CatalogError.h"
#include "catalog/CatalogSchema.h"
#include "catalog/FileTimeText.h"
#include "catalog/Recordset.h"
#include "catalog/Statements.h"
#include "cli/CliArguments.h"
#include "cli/CliCatalogue.h"
#include "cli/CliEnvironment.h"
#include "cli/RecordWriter.h"
#include "cli/SearchFilters.h"

namespace vt::cli {

namespace {

OutputFormat formatOf(const Arguments& args) {
    return parseOutputFormat(args.option(QStringLiteral("--format"), QStringLiteral("tsv")));
}

std::optional<qint64> optionalTime(const QVariant& value) {
    if (value.isNull()) return std::nullopt;
    return value.toLongLong();
}

std::optional<qint64> modifiedOf(Recordset& rs) {
    if (rs.fieldCount() <= BankListColumn::FileModified) return std::nullopt;
    return optionalTime(rs.Fields(BankListColumn::FileModified).Value());
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
        const bool facts = cn->hasFileDates();
        Recordset rs;
        rs.Open(Statements::allDisks(), *cn);
        RecordWriter writer(env.out, format,
                            {QStringLiteral("name"), QStringLiteral("serial"), QStringLiteral("size"),
                             QStringLiteral("files"), QStringLiteral("label"), QStringLiteral("filesystem"),
                             QStringLiteral("catalogued")});
        const long count = rs.RecordCount();
        for (long i = 0; i < count; ++i) {
            const QString files = rs.Fields(DisksColumn::FileCount).Value().toString();
            bool filesIsNumber = false;
            files.toLongLong(&filesIsNumber);
            const QVariant label = facts ? rs.Fields(DisksColumn::VolumeLabel).Value() : QVariant();
            const QVariant fileSystem = facts ? rs.Fields(DisksColumn::FileSystem).Value() : QVariant();
            const QVariant catalogued = facts ? rs.Fields(DisksColumn::CataloguedAt).Value() : QVariant();
            writer.write(
                {rs.Fields(DisksColumn::DiskName).Value().toString(),
                 rs.Fields(DisksColumn::SerialNo).Value().toString(),
                 rs.Fields(DisksColumn::DiskSize).Value().toString(), files, label.toString(),
                 fileSystem.toString(), isoUtcText(optionalTime(catalogued))},
                {false, false, false, filesIsNumber, false, false, false},
                {false, false, false, false, label.isNull(), fileSystem.isNull(), catalogued.isNull()});
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
    const SearchFilters filters = SearchFilters::from(args);

    auto cn = openCatalogue(args, env, Access::Read);
    if (!cn) return kCatalogueError;
    try {
        // The filters narrow the statement's rows in its own order and --limit counts the rows they keep:
        // the statement asks for more rows, four times as many each round, until enough are kept or it has
        // no more to give.
        Recordset rs;
        std::vector<QStringList> kept;
        for (int asked = limit;; asked = asked > INT_MAX / 4 ? INT_MAX : asked * 4) {
            rs.Open(Statements::search(allDisks, args.option(QStringLiteral("--disk")), text, asked), *cn);
            kept.clear();
            const long count = rs.RecordCount();
            for (long i = 0; i < count && long(kept.size()) < limit; ++i) {
                if (!filters.any() ||
                    filters.keeps(rs.Fields(BankListColumn::FileSize).Value().toDouble(), modifiedOf(rs))) {
                    kept.push_back({rs.Fields(2).Value().toString(), rs.Fields(0).Value().toString(),
                                    numberText(rs.Fields(3).Value())});
                }
                rs.MoveNext();
            }
            if (!filters.any() || long(kept.size()) == limit || count < asked || asked == INT_MAX) break;
            rs.Close();
        }
        RecordWriter writer(env.out, format,
                            {QStringLiteral("path"), QStringLiteral("disc"), QStringLiteral("size")});
        for (const QStringList& row : kept) writer.write(row, {false, false, true});
        return kept.empty() ? kNothingFound : kSuccess;
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
        // A disc is named as everywhere else, case ignored.
        const std::optional<QString> disk =
            args.options.contains(QStringLiteral("--disk"))
                ? std::optional<QString>(args.option(QStringLiteral("--disk")))
                : std::nullopt;
        RecordWriter writer(
            env.out, format,
            {QStringLiteral("disc"), QStringLiteral("name"), QStringLiteral("path"), QStringLiteral("size"),
             QStringLiteral("attributes"), QStringLiteral("modified")});
        long count = 0;
        BankListRows::forEach(*cn, disk, [&](const std::vector<QVariant>& row) {
            const QString modified = row.size() > size_t(BankListColumn::FileModified)
                                         ? isoUtcText(optionalTime(row[BankListColumn::FileModified]))
                                         : QString();
            writer.write({row[0].toString(), row[1].toString(), row[2].toString(), numberText(row[3]),
                          row[4].toString(), modified},
                         {false, false, false, true, false, false},
                         {false, false, false, false, false, true});
            ++count;
        });
        env.out.flush();
        return count > 0 ? kSuccess : kNothingFound;
    } catch (const CatalogError& e) {
        return catalogueFailure(env, e);
    }
}

}  // namespace vt::cli
