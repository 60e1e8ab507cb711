#pragma once

namespace vt::cli {

struct Arguments;
struct CliEnvironment;

// vellumtrove-cli drives: the optical drives as the new-disk window lists them, with their details, after
// attaching the disc images given with --image.
int runDrives(const Arguments& args, CliEnvironment& env);
// vellumtrove-cli scan ROOT NAME: catalogues the disc in ROOT (D: or D:\, or a disc image file, attached
// for the scan) under NAME with the start button's rules: empty drive and taken name refused, all or
// nothing, unreadable files skipped and counted, a disc gone before the end not catalogued at all
// (kDiscGone).
int runScan(const Arguments& args, CliEnvironment& env);

}  // namespace vt::cli
