#pragma once

#include <QString>

namespace vt {

class DriveTable;
class FileSystem;

// The disc a found file lives on is looked for by its path alone: any CD in the optical drives A to P
// that holds the same path within the disc qualifies, whatever its name or label.
//
// Returns the root ("G:\") of the first drive, in letter order, that is an optical drive and holds
// `pathWithinDisc` (a path without drive root, backslash-separated); an empty text when none does.
// Drives lettered Q to Z are never tried. Probes the drives afresh on every call.
QString firstOpticalDriveHolding(const DriveTable& drives, FileSystem& fileSystem,
                                 const QString& pathWithinDisc);

}  // namespace vt
