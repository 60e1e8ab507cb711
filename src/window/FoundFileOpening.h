#pragma once

#include <QString>

class QWidget;

namespace vt {

struct Platform;

// The way back from a catalogued file to the real one: the recorded path loses the root of the drive it
// was scanned from, the first optical drive (A to P) holding the rest is found, the user is asked, and the
// file goes to its default application with the drive's root as working folder. Nothing found, or a
// launcher that fails later, is told in `owner` (while it still exists).
void openFoundFile(const Platform& platform, QWidget* owner, const QString& recordedPath);

}  // namespace vt
