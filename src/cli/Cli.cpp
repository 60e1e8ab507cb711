#include "cli/Cli.h"

#include <functional>
#include <vector>

#include "catalog/CatalogError.h"
#include "cli/BrowseCommands.h"
#include "cli/CheckCommand.h"
#include "cli/CliArguments.h"
#include "cli/CliEnvironment.h"
#include "cli/CommandOutput.h"
#include "cli/CopyCommand.h"
#include "cli/DriveCommands.h"
#include "cli/IndexCommand.h"
#include "cli/ListingCommands.h"
#include "cli/RecogniseCommands.h"
#include "cli/RemoveCommand.h"

namespace vt::cli {

namespace {

struct Command {
    const char* name;
    const char* summary;
    const char* help;
    CommandSyntax syntax;
    std::function<int(const Arguments&, CliEnvironment&)> run;
};

// Every command that lists records can write them to a file instead of the standard output.
const QStringList kCommon{QStringLiteral("--catalog"), QStringLiteral("--format"),
                          QStringLiteral("--output")};

QStringList with(QStringList base, const QStringList& more) {
    base << more;
    return base;
}

const std::vector<Command>& commands() {
    static const std::vector<Command> table{
        {"drives",
         "list the optical drives and their discs",
         "usage: vellumtrove-cli drives [--image FILE]... [--format tsv|csv|json] [--output FILE]\n"
         "Lists the optical drives as the new-disk window does (mounted discs and disc images as letters D\n"
         "to P): root, mount point, label, used size, file system, serial. Each --image FILE attaches the\n"
         "disc image FILE first, as the next free letter, listed with the image file as its mount point.\n"
         "Exit code 1 when there is no drive or an image cannot be read.\n",
         {{QStringLiteral("--format"), QStringLiteral("--output"), QStringLiteral("--image")}, {}, 0, 0},
         runDrives},
        {"scan",
         "catalogue the disc in a drive, or a disc image, under a name",
         "usage: vellumtrove-cli scan ROOT|IMAGE NAME [--catalog PATH]\n"
         "Catalogues the disc in ROOT (such as D: or D:\\) under NAME with the new-disk window's rules: an\n"
         "empty drive, an empty or blank name and a name already catalogued (compared as the window does,\n"
         "case ignored) are refused; the disc is catalogued whole or not at all; unreadable files are\n"
         "skipped and counted. A disc removed or unreadable before the scan ends is not catalogued at\n"
         "all (exit code 5).\n"
         "Given the file IMAGE of a disc image (.iso, .img, .bin, .cue, .nrg), catalogues the image without\n"
         "mounting it, as the next free drive letter, exactly as the same image mounted would be.\n"
         "Progress (files, time, files per second) goes to the terminal. Exit code 1 when refused; an\n"
         "interrupt (Ctrl-C) or SIGTERM stops the scan with nothing of the disc catalogued, exit code 130\n"
         "or 143 (a second one ends the program at once).\n"
         "Searches find the new files at once. The path index that makes searches over a large catalogue\n"
         "fast takes them in later: in the window program's idle time, or with 'vellumtrove-cli index' "
         "(after\n"
         "a scan, an update or a copy; cataloguing many discs in a row, once at the end).\n",
         {{QStringLiteral("--catalog")}, {}, 2, 2},
         runScan},
        {"identify",
         "name the catalogued discs a disc or image is",
         "usage: vellumtrove-cli identify ROOT|IMAGE [--catalog PATH]\n"
         "Prints the names of the catalogued discs that the disc in ROOT (such as D:) or the disc image "
         "file\n"
         "IMAGE is, recognised by serial and used size as the new-disk window does, one per line. A rebuilt\n"
         "disc has another serial and is not recognised. Exit code 1 when none is.\n",
         {{QStringLiteral("--catalog")}, {}, 1, 1},
         runIdentify},
        {"update",
         "bring a catalogued disc up to date with the disc in a drive or an image",
         "usage: vellumtrove-cli update ROOT|IMAGE NAME [--dry-run] [--yes] [--catalog PATH]\n"
         "Reads the disc in ROOT (or the disc image IMAGE) and lists how it differs from the disc catalogued "
         "as NAME (case ignored):\n"
         "files added, removed, resized and redated (another modification time), then the counts. Then\n"
         "replaces that disc's file rows, serial, size, label and file count with what the disc holds now,\n"
         "keeping its name, all or nothing. Asks first on a terminal; from a script give --yes; --dry-run\n"
         "only lists. Exit code 1 when there is no such disc or the update was declined, 5 when the disc\n"
         "went away, 130/143 when interrupted (nothing changed).\n",
         {{QStringLiteral("--catalog")}, {QStringLiteral("--dry-run"), QStringLiteral("--yes")}, 2, 2},
         runUpdate},
        {"search",
         "find catalogued files by part of their path",
         "usage: vellumtrove-cli search TEXT [--disk NAME] [--limit N] [--min-size BYTES] [--max-size "
         "BYTES]\n"
         "                             [--newer DATE] [--older DATE] [--format tsv|csv|json] [--output "
         "FILE]\n"
         "                             [--catalog PATH]\n"
         "Lists the files whose recorded path contains TEXT, in all discs or in the disc NAME, as the "
         "search\n"
         "window finds them: case is ignored, '%' stands for any run of characters and '_' for one.\n"
         "--min-size and --max-size keep files of at least and at most so many bytes; --newer keeps files\n"
         "changed at DATE or later, --older those changed before DATE (UTC: 2019-03-04 or\n"
         "2019-03-04T10:20:30); files of unknown date pass no date test. The rows keep the window's order.\n"
         "Columns: path, disc, size. At most N rows that pass (2000 by default). Exit code 1 when nothing\n"
         "matches.\n",
         {with(kCommon, {QStringLiteral("--disk"), QStringLiteral("--limit"), QStringLiteral("--min-size"),
                         QStringLiteral("--max-size"), QStringLiteral("--newer"), QStringLiteral("--older")}),
          {},
          1,
          1},
         runSearch},
        {"disks",
         "list the catalogued discs",
         "usage: vellumtrove-cli disks [--format tsv|csv|json] [--output FILE] [--catalog PATH]\n"
         "Lists every catalogued disc: name, serial, size, files, label, filesystem, catalogued (when, in\n"
         "UTC; empty or null for discs catalogued before it was recorded). Exit code 1 when there is none.\n",
         {kCommon, {}, 0, 0},
         runDisks},
        {"export",
         "write every file row of the catalogue",
         "usage: vellumtrove-cli export [--disk NAME] [--format tsv|csv|json] [--output FILE] [--catalog "
         "PATH]\n"
         "Writes every file row (disc, name, path, size, attributes, modified: ISO 8601 in UTC, empty or\n"
         "null when not known), or those of the disc NAME, streaming\n"
         "in catalogue order. Exit code 1 when there is no row, 4 when the output could not be written\n"
         "whole: with --output FILE, FILE is then left as it was.\n",
         {with(kCommon, {QStringLiteral("--disk")}), {}, 0, 0},
         runExport},
        {"ls",
         "list one folder of a catalogued disc",
         "usage: vellumtrove-cli ls DISC [FOLDER] [--format tsv|csv|json] [--output FILE] [--catalog PATH]\n"
         "Lists the folder FOLDER of the disc DISC (its root when not given) as the catalogue knows it from\n"
         "the recorded paths: subfolders first, then files. FOLDER may be given whole (D:\\dir\\sub) or\n"
         "below the root (dir/sub). Columns: type, name, size, modified (UTC), attributes. Exit code 1 when\n"
         "there is no such disc or folder.\n",
         {kCommon, {}, 1, 2},
         runLs},
        {"tree",
         "show the folders and files below a folder of a disc",
         "usage: vellumtrove-cli tree DISC [FOLDER] [--output FILE] [--catalog PATH]\n"
         "Shows the folder FOLDER of the disc DISC (its root when not given) and everything below it, one\n"
         "name a line, indented two blanks a level; each folder's files come before its subfolders, and\n"
         "folders end with a backslash. Exit code 1 when there is no such disc or folder.\n",
         {{QStringLiteral("--catalog"), QStringLiteral("--output")}, {}, 1, 2},
         runTree},
        {"remove",
         "remove a disc and all its file rows",
         "usage: vellumtrove-cli remove NAME [--yes] [--catalog PATH]\n"
         "Removes the disc NAME (as 'disks' lists it, case ignored) with all its file rows, in one step:\n"
         "all or nothing. Asks first on a terminal; from a script give --yes. Exit code 1 when there is no\n"
         "such disc or the removal was declined.\n",
         {{QStringLiteral("--catalog")}, {QStringLiteral("--yes")}, 1, 1},
         runRemove},
        {"check",
         "check the catalogue file and its rules",
         "usage: vellumtrove-cli check [--catalog PATH]\n"
         "Checks the catalogue without changing it: the file's own integrity (SQLite's check), every disc's\n"
         "file count against its file rows, file rows that belong to no disc, discs that share a name, and\n"
         "the path index against the rows it covers. Says what it found in plain words. Exit code 0 when\n"
         "everything holds, 1 when a problem was found, 3 when the catalogue cannot be read.\n",
         {{QStringLiteral("--catalog")}, {}, 0, 0},
         runCheck},
        {"index",
         "take newly catalogued files into the path index",
         "usage: vellumtrove-cli index [--catalog PATH]\n"
         "Takes the files catalogued since the path index was last brought up to date into it, a step at a\n"
         "time (an interrupted run keeps the steps it finished), and prints how many. Searches give the "
         "same\n"
         "rows before and after; over a large catalogue they are much faster after. A catalogue on a server\n"
         "indexes every file as it arrives and has nothing to do here.\n",
         {{QStringLiteral("--catalog")}, {}, 0, 0},
         runIndex},
        {"copy",
         "copy every disc of one catalogue into another",
         "usage: vellumtrove-cli copy --from SOURCE --to TARGET\n"
         "Copies every disc of the catalogue SOURCE into the catalogue TARGET (each a catalogue file or a\n"
         "postgresql:// address; TARGET is made when missing), in the order they were catalogued: a disc's\n"
         "file rows in their order and its disc row as it is, each disc whole or not at all. A disc whose\n"
         "name TARGET already has is skipped and named, so a copy that was interrupted goes on where it\n"
         "stopped when run again. Prints 'copied' or 'skipped', the disc and its file count a line. Exit\n"
         "code 3 when a catalogue cannot be read or written (the discs copied before stay), 130/143 when\n"
         "stopped by SIGINT/SIGTERM (likewise).\n",
         {{QStringLiteral("--from"), QStringLiteral("--to")}, {}, 0, 0},
         runCopy},
    };
    return table;
}

void printOverview(QTextStream& out) {
    out << "usage: vellumtrove-cli COMMAND [ARGUMENTS] [--catalog PATH] [--format tsv|csv|json]\n\n"
           "The terminal companion of Vellumtrove: the same catalogue, statements and rules as the "
           "windows.\n\n"
           "Commands:\n";
    for (const Command& c : commands())
        out << "  " << QString::fromLatin1(c.name).leftJustified(9) << c.summary << '\n';
    out << "\nCommon options:\n"
           "  --catalog PATH   the catalogue to use (default: the windows' Mydb.mdb, beside the program,\n"
           "                   or in ~/.local/share/vellumtrove for an installed program)\n"
           "  --format F       tsv (default), csv (RFC 4180) or json (one object per line)\n"
           "  --output FILE    write the listing to FILE, which is replaced only when it is complete\n"
           "  --help           help for a command\n\n"
           "Exit codes: 0 success, 1 nothing found or refused, 2 usage error, 3 catalogue error, 4 the "
           "output\n"
           "could not be written whole (a full disk, a closed output): a message on the error stream says "
           "why,\n"
           "5 the disc was removed or became unreadable during a scan, 130/143 a scan stopped by "
           "SIGINT/SIGTERM.\n";
}

}  // namespace

int runCli(const QStringList& words, CliEnvironment& env) {
    if (words.isEmpty() || words.front() == QLatin1String("--help") ||
        words.front() == QLatin1String("help")) {
        printOverview(words.isEmpty() ? env.err : env.out);
        return words.isEmpty() ? kUsageError : kSuccess;
    }
    const QString name = words.front();
    for (const Command& command : commands()) {
        if (name != QLatin1String(command.name)) continue;
        const QStringList rest = words.mid(1);
        if (rest.contains(QStringLiteral("--help"))) {
            env.out << command.help;
            return kSuccess;
        }
        try {
            return runWithCheckedOutput(parseCommandLine(name, rest, command.syntax), env, command.run);
        } catch (const UsageError& e) {
            env.err << "vellumtrove-cli: " << e.message() << '\n';
            return kUsageError;
        } catch (const CatalogError& e) {
            // Commands tell their own failures; this is for one that reaches no command's own words (a
            // server connection cut between two of a command's statements), which must not end the
            // program without a word.
            env.err << "vellumtrove-cli: the catalogue failed: " << e.message() << '\n';
            return kCatalogueError;
        }
    }
    env.err << "vellumtrove-cli: unknown command '" << name << "'; see 'vellumtrove-cli --help'\n";
    return kUsageError;
}

}  // namespace vt::cli
