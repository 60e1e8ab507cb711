#include "cli/BrowseCommands.h"

#include <optional>
#include <vector>

#include "catalog/CatalogError.h"
#include "catalog/DiscNames.h"
#include "catalog/DiscTree.h"
#include "catalog/FileTimeText.h"
#include "cli/CliArguments.h"
#include "cli/CliCatalogue.h"
#include "cli/CliEnvironment.h"
#include "cli/RecordWriter.h"

namespace vt::cli {

namespace {

// The disc named on the command line as it is stored (case and yeh/kaf forms ignored, as everywhere), or
// nothing after saying why there is none.
std::optional<QString> storedDisc(Connection& cn, const QString& typed, CliEnvironment& env) {
    std::vector<QString> spellings;
    for (const QString& spelling : DiscNames::storedSpellings(cn, typed)) {
        if (DiscTree(cn, spelling).facts()) spellings.push_back(spelling);
    }
    if (spellings.size() == 1) return spellings.front();
    if (spellings.empty()) {
        env.err << "vellumtrove-cli: no disc named '" << typed
                << "' is catalogued; see 'vellumtrove-cli disks'\n";
    } else {
        env.err << "vellumtrove-cli: '" << typed << "' names more than one disc:";
        for (const QString& s : spellings) env.err << " '" << s << "'";
        env.err << "\n";
    }
    return std::nullopt;
}

// The folder typed on the command line as a path of the disc ending with a backslash: given whole ("D:\dir")
// or below the disc's root ("dir\sub", "/dir/sub"); either slash separates.
QString folderPath(const DiscTree& tree, QString typed) {
    typed.replace(QLatin1Char('/'), QLatin1Char('\\'));
    if (!typed.isEmpty() && !typed.endsWith(QLatin1Char('\\'))) typed += QLatin1Char('\\');
    const QString root = tree.root();
    if (!root.isEmpty() && !typed.startsWith(root, Qt::CaseInsensitive)) {
        while (typed.startsWith(QLatin1Char('\\'))) typed.remove(0, 1);
        typed.prepend(root);
    } else if (!root.isEmpty()) {
        typed.replace(0, root.size(), root);  // the letter as recorded
    }
    return typed;
}

// A name on one line of the tree: the characters that would break the line are written as escapes.
QString lineText(QString name) {
    name.replace(QLatin1Char('\n'), QLatin1String("\\n"));
    name.replace(QLatin1Char('\r'), QLatin1String("\\r"));
    return name;
}

struct Opened {
    std::unique_ptr<Connection> cn;
    std::unique_ptr<DiscTree> tree;
    QString folder;
};

// Opens the catalogue and the disc and finds the folder; null tree after a message when any is missing.
Opened openFolder(const Arguments& args, CliEnvironment& env, int& exitCode) {
    Opened opened;
    opened.cn = openCatalogue(args, env, Access::Read);
    if (!opened.cn) {
        exitCode = kCatalogueError;
        return opened;
    }
    const std::optional<QString> disc = storedDisc(*opened.cn, args.positional.value(0), env);
    if (!disc) {
        exitCode = kNothingFound;
        return opened;
    }
    opened.tree = std::make_unique<DiscTree>(*opened.cn, *disc);
    const QString root = opened.tree->root();
    opened.folder = args.positional.size() > 1 ? folderPath(*opened.tree, args.positional.value(1)) : root;
    return opened;
}

int catalogueFailure(CliEnvironment& env, const CatalogError& e) {
    env.err << "vellumtrove-cli: the catalogue refused the request: " << e.message() << '\n';
    return kCatalogueError;
}

void noSuchFolder(CliEnvironment& env, const Opened& opened) {
    env.err << "vellumtrove-cli: the disc '" << opened.tree->diskName() << "' has no files in '"
            << opened.folder << "'\n";
}

}  // namespace

int runLs(const Arguments& args, CliEnvironment& env) {
    const OutputFormat format =
        parseOutputFormat(args.option(QStringLiteral("--format"), QStringLiteral("tsv")));
    try {
        int exitCode = kSuccess;
        const Opened opened = openFolder(args, env, exitCode);
        if (!opened.tree) return exitCode;
        const DiscFolder listing = opened.tree->list(opened.folder);
        if (listing.folders.empty() && listing.files.empty()) {
            noSuchFolder(env, opened);
            return kNothingFound;
        }
        RecordWriter writer(env.out, format,
                            {QStringLiteral("type"), QStringLiteral("name"), QStringLiteral("size"),
                             QStringLiteral("modified"), QStringLiteral("attributes")});
        for (const QString& folder : listing.folders) {
            writer.write({QStringLiteral("folder"), folder, QString(), QString(), QString()}, {},
                         {false, false, true, true, true});
        }
        for (const DiscFile& file : listing.files) {
            writer.write({QStringLiteral("file"), file.name, numberText(file.size), isoUtcText(file.modified),
                          file.attributes},
                         {false, false, true, false, false}, {false, false, true, true, false});
        }
        env.out.flush();
        return kSuccess;
    } catch (const CatalogError& e) {
        return catalogueFailure(env, e);
    }
}

int runTree(const Arguments& args, CliEnvironment& env) {
    try {
        int exitCode = kSuccess;
        const Opened opened = openFolder(args, env, exitCode);
        if (!opened.tree) return exitCode;
        // Folders still to show, deepest last, so that no tree is too deep for the walk.
        struct Pending {
            QString path;
            QString name;
            int depth;
        };
        std::vector<Pending> stack{{opened.folder, opened.folder, 0}};
        bool any = false;
        while (!stack.empty()) {
            const Pending folder = std::move(stack.back());
            stack.pop_back();
            const DiscFolder listing = opened.tree->list(folder.path);
            any = any || !listing.files.empty() || !listing.folders.empty();
            if (!any) break;
            const QString indent(folder.depth * 2, QLatin1Char(' '));
            env.out << indent << lineText(folder.name.isEmpty() ? QStringLiteral("\\") : folder.name) << '\n';
            for (const DiscFile& file : listing.files) {
                env.out << indent << "  " << lineText(file.name) << '\n';
            }
            for (auto sub = listing.folders.rbegin(); sub != listing.folders.rend(); ++sub) {
                stack.push_back(
                    {folder.path + *sub + QLatin1Char('\\'), *sub + QLatin1Char('\\'), folder.depth + 1});
            }
        }
        if (!any) {
            noSuchFolder(env, opened);
            return kNothingFound;
        }
        env.out.flush();
        return kSuccess;
    } catch (const CatalogError& e) {
        return catalogueFailure(env, e);
    }
}

}  // namespace vt::cli
