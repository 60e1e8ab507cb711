#pragma once

namespace vt::cli {

struct Arguments;
struct CliEnvironment;

// vellumtrove-cli remove NAME [--yes]: removes a disc and all its file rows in one step, after asking on a
// terminal; without a terminal --yes is required.
int runRemove(const Arguments& args, CliEnvironment& env);

}  // namespace vt::cli
