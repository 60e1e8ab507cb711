#include <unistd.h>

#include <QCoreApplication>
#include <QTextStream>
#include <cstdio>

#include "cli/Cli.h"
#include "cli/CliEnvironment.h"
#include "platform/LinuxDriveTable.h"
#include "platform/LinuxFileSystem.h"

int main(int argc, char** argv) {
    QCoreApplication application(argc, argv);
    QTextStream out(stdout);
    QTextStream err(stderr);
    QTextStream in(stdin);
    vt::LinuxDriveTable drives;
    vt::LinuxFileSystem fileSystem(drives);
    vt::cli::CliEnvironment env{out,   err, in, ::isatty(STDIN_FILENO) && ::isatty(STDERR_FILENO),
                                QCoreApplication::applicationDirPath(), drives, fileSystem};
    const int code = vt::cli::runCli(QCoreApplication::arguments().mid(1), env);
    out.flush();
    err.flush();
    return code;
}
