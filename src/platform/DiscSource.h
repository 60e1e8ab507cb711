#pragma once

#include <QByteArray>
#include <QString>
#include <QStringList>

namespace vt {

struct MountEntry;

// Where the raw bytes of a mounted disc can be read: the block device itself, the file behind a loop
// device, or the image a fuseiso mount serves. Empty when none is known.
QString discSource(const MountEntry& mount);

// The image file that fuseiso serves at `mountPoint`, from the text of the mount list fuseiso keeps in
// the user's home folder (lines "image mount-point fuseiso options 0 0", blanks written as "\040").
QString fuseIsoImage(const QByteArray& mtabText, const QString& mountPoint);

// The image that a running fuseiso process with command line `arguments` (program name first) and working
// folder `workingFolder` serves at `mountPoint`; empty when it serves another mount point.
QString fuseIsoImageFromCommandLine(const QStringList& arguments, const QString& workingFolder,
                                    const QString& mountPoint);

}  // namespace vt
