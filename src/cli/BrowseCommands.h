#pragma once

namespace vt::cli {

struct Arguments;
struct CliEnvironment;

// vellumtrove-cli ls DISC [FOLDER]: one folder of a catalogued disc (its root when FOLDER is not given),
// subfolders first, then files, with size, date and attributes.
int runLs(const Arguments& args, CliEnvironment& env);
// vellumtrove-cli tree DISC [FOLDER]: the folders and files below a folder of a disc, indented by depth.
int runTree(const Arguments& args, CliEnvironment& env);

}  // namespace vt::cli
