#pragma once

#include <QString>
#include <QStringList>

namespace vt::test {

// What a run of the real command-line program gave.
struct CliResult {
    int code = -1;  // -1 when a signal ended it or it hung
    QString out;
    QString err;
};

// The built vellumtrove-cli beside the test programs' folder.
QString cliProgram();
// Runs the real program to its end, as a script would.
CliResult runCli(const QStringList& arguments);
// A file of `size` bytes at `path`, with the folders it needs.
void writeFileOfSize(const QString& path, int size);

}  // namespace vt::test
