#pragma once

namespace vt::cli {

struct Arguments;
struct CliEnvironment;

// vellumtrove-cli disks: the catalogued discs (name, serial, size, files).
int runDisks(const Arguments& args, CliEnvironment& env);
// vellumtrove-cli search TEXT [--disk NAME] [--limit N]: files whose path contains TEXT, as the search
// window finds them (the same statement, the same like).
int runSearch(const Arguments& args, CliEnvironment& env);
// vellumtrove-cli export [--disk NAME]: every file row, streamed in catalogue order.
int runExport(const Arguments& args, CliEnvironment& env);

}  // namespace vt::cli
