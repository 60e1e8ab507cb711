#pragma once

#include <QStringList>

namespace vt::cli {

struct CliEnvironment;

// Runs one command line of the command-line companion (the words after the program name) and returns its
// exit code (see CliEnvironment.h).
int runCli(const QStringList& words, CliEnvironment& env);

}  // namespace vt::cli
