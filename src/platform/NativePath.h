#pragma once

#include <QString>

namespace vt {

// The native path, as text (see nativePathText), of what the drive path `drivePath` ("D:\dir\file") names
// on a drive whose files live in the native folder `driveFolder`. Empty when the path has no drive root
// or would leave the drive (see pathWithinDrive); `driveFolder` itself for the root.
//
// A stored path does not always spell the real one: a name that is not UTF-8 was stored as its
// Windows-1256 reading (see FileNames.h), and a name holding a backslash reads as several components,
// since stored paths separate them with backslashes. So when the plain mapping names nothing, the path is
// matched against the real tree component by component: at each step the name's UTF-8 bytes, then its
// Windows-1256 bytes, then the same for the names formed by joining it with the next stored components
// by '\' (a name holding backslashes); a step that leads nowhere further is taken back and the next
// candidate tried, up to a fixed number of probes of the file system. Without a match the plain mapping is
// returned, as for any path that does not exist.
QString resolveDrivePath(const QString& driveFolder, const QString& drivePath);

}  // namespace vt
