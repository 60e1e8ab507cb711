#include <unistd.h>

#include <QCoreApplication>
#include <QTextStream>
#include <cstdio>

#include "cli/Cli.h"
#include "cli/CliEnvironment.h"
#include "platform/AttachedImageFileSystem.h"
#include "platform/AttachedImages.h"
#include "platform/LinuxDriveTable.h"
#include "platform/LinuxFileSystem.h"
#include "platform/ProgramDataFolder.h"
#include "platform/StandardOutput.h"

int main(int argc, char** argv) {
    // Taken first, so that a closed standard output is held before anything else can open a file on it.
    vt::StandardOutput standardOutput;
    QCoreApplication application(argc, argv);
    QTextStream out(&standardOutput);
    QTextStream err(stderr);
    QTextStream in(stdin);
    vt::LinuxDriveTable mountedDrives;
    vt::LinuxFileSystem mountedFiles(mountedDrives);
    vt::AttachedImages drives(mountedDrives);
    vt::AttachedImageFileSystem fileSystem(mountedFiles, drives);
    vt::cli::CliEnvironment env{out,
                                err,
                                in,
                                ::isatty(STDIN_FILENO) && ::isatty(STDERR_FILENO),
                                vt::programDataFolder(QStringLiteral("Mydb.mdb")),
                                drives,
                                fileSystem,
                                &drives};
    int code = vt::cli::runCli(QCoreApplication::arguments().mid(1), env);
    out.flush();
    // The commands have checked every write; the close can still report a failure of its own.
    if (!standardOutput.finish() && code != vt::cli::kOutputError) {
        err << "vellumtrove-cli: the output could not be written: " << standardOutput.errorString()
            << "; it is incomplete\n";
        code = vt::cli::kOutputError;
    }
    err.flush();
    return code;
}
