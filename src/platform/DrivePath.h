#pragma once

#include <QChar>
#include <QString>
#include <optional>

namespace vt {

// The drive letter (upper case) of a drive path such as "d:\dir\file" or "D:"; nothing when the path does
// not start with a letter and a colon followed by a backslash or nothing.
std::optional<QChar> driveLetter(const QString& drivePath);

// The part of a drive path after its root, with '/' between components ("dir/file"; empty for the root).
// Nothing when a component is "." or ".." or holds a '/', or the path has no drive root, so a mapped path
// never leaves the drive's folder.
std::optional<QString> pathWithinDrive(const QString& drivePath);

}  // namespace vt
