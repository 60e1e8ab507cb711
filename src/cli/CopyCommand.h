#pragma once

namespace vt::cli {

struct Arguments;
struct CliEnvironment;

// vellumtrove-cli copy --from SOURCE --to TARGET: copies every disc of one catalogue into another, each
// disc whole or not at all, skipping (and naming) the discs the target already has.
int runCopy(const Arguments& args, CliEnvironment& env);

}  // namespace vt::cli
