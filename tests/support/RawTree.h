#pragma once

#include <dirent.h>
#include <fcntl.h>
#include <unistd.h>

#include <QFile>
#include <QString>
#include <string>
#include <vector>

namespace vt::test {

// Removes the entry `name` of the open folder `parent`, and everything in it, relative to descriptors.
inline void removeTreeAt(int parent, const char* name) {
    if (::unlinkat(parent, name, 0) == 0) return;
    const int fd = ::openat(parent, name, O_RDONLY | O_DIRECTORY | O_NOFOLLOW | O_CLOEXEC);
    if (fd < 0) return;
    DIR* dir = ::fdopendir(fd);
    if (!dir) {
        ::close(fd);
        return;
    }
    std::vector<std::string> names;
    while (const dirent* entry = ::readdir(dir)) {
        const std::string entryName = entry->d_name;
        if (entryName != "." && entryName != "..") names.push_back(entryName);
    }
    for (const std::string& entryName : names) removeTreeAt(::dirfd(dir), entryName.c_str());
    ::closedir(dir);
    ::unlinkat(parent, name, AT_REMOVEDIR);
}

// Removes the folder `path` and everything in it by the names' own bytes and relative to descriptors.
// QTemporaryDir cannot remove names that are not UTF-8 (they do not survive its trip through text), nor
// trees deeper than one path can name, so tests that make such trees clean up with this.
inline void removeTree(const QString& path) {
    removeTreeAt(AT_FDCWD, QFile::encodeName(path).constData());
}

}  // namespace vt::test
