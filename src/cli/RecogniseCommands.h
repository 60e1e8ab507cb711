#pragma once

namespace vt::cli {

struct Arguments;
struct CliEnvironment;

// vellumtrove-cli identify ROOT|IMAGE: the names of the catalogued discs the disc in ROOT, or the disc image
// file IMAGE, is (by serial and used size, as the new-disk window recognises one).
int runIdentify(const Arguments& args, CliEnvironment& env);
// vellumtrove-cli update ROOT NAME [--dry-run] [--yes]: brings the disc catalogued as NAME up to date with
// the disc in ROOT, after showing the differences.
int runUpdate(const Arguments& args, CliEnvironment& env);

}  // namespace vt::cli
