#pragma once

#include <QString>

namespace vt::bench {

// Writes a tree of `files` empty-bodied files (lengths set sparsely, up to 4 GiB) under `folder`, in
// folders nested up to six deep, with Latin, Persian and blank-containing names. The same seed gives the
// same tree. Returns false when the folder cannot be written.
bool writeSeededTree(const QString& folder, long files, unsigned seed);

}  // namespace vt::bench
