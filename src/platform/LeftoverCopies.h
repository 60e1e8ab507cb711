#pragma once

#include <QString>

namespace vt {

// The folder a program makes in `parent` for the copies it takes out of disc images: its name carries the
// program's process id, so that a later program can tell a folder whose program has ended.
QString copiesFolderTemplate(const QString& parent);

// Removes, with everything in them, the copies folders in `parent` that this user's programs left behind
// when they ended without cleaning up (killed, or a power cut). Folders of running programs, of other
// users, links, and anything named otherwise are left alone.
void removeCopiesOfEndedPrograms(const QString& parent);

}  // namespace vt
