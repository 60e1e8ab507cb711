#pragma once

#include <QString>
#include <memory>

#include "catalog/Connection.h"

namespace vt::cli {

struct Arguments;
struct CliEnvironment;

enum class Access { Read, Write };

// Opens the catalogue named by --catalog, or the windows' own (ProgramDataFolder). Reading needs an existing
// catalogue and never writes to it; writing creates a missing one, as the program does at start-up.
// Returns null after writing a message that says what is wrong and what to do.
std::unique_ptr<Connection> openCatalogue(const Arguments& args, CliEnvironment& env, Access access);
// The same for the catalogue `given` as a command line gives one: a path, a "postgresql://" address, or
// empty for the windows' own.
std::unique_ptr<Connection> openCatalogueAt(const QString& given, CliEnvironment& env, Access access);

// The catalogue path a command will use, or the "postgresql://" address given as --catalog as it is.
QString cataloguePath(const Arguments& args, const CliEnvironment& env);

}  // namespace vt::cli
