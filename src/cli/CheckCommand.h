#pragma once

namespace vt::cli {

struct Arguments;
struct CliEnvironment;

// vellumtrove-cli check: checks the catalogue file and what the program keeps true of it, and says what it
// found in plain words. Exit code 0 only when everything holds.
int runCheck(const Arguments& args, CliEnvironment& env);

}  // namespace vt::cli
