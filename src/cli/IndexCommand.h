#pragma once

namespace vt::cli {

struct Arguments;
struct CliEnvironment;

// vellumtrove-cli index: takes the rows catalogued since the path index was last brought up to date into
// it, as the window program does in its idle time.
int runIndex(const Arguments& args, CliEnvironment& env);

}  // namespace vt::cli
