#include "platform/LinuxFileSystem.h"

#include <dirent.h>
#include <fcntl.h>
#include <fnmatch.h>
#include <sys/stat.h>

#include <QFile>

#include "platform/DrivePath.h"
#include "platform/DriveTable.h"

namespace vt {

namespace {

struct DirCloser {
    void operator()(DIR* dir) const { ::closedir(dir); }
};
using DirPtr = std::unique_ptr<DIR, DirCloser>;

bool matchesAll(const QString& pattern) {
    return pattern == QLatin1String("*.*") || pattern == QLatin1String("*");
}

std::uint32_t attributeBits(const QString& name, const struct stat& st, bool readOnlyVolume) {
    std::uint32_t bits = S_ISDIR(st.st_mode) ? FileAttribute::Directory : 0;
    if (name.startsWith(QLatin1Char('.')) && name != QLatin1String(".") && name != QLatin1String("..")) {
        bits |= FileAttribute::Hidden;
    }
    if (readOnlyVolume || (st.st_mode & (S_IWUSR | S_IWGRP | S_IWOTH)) == 0) bits |= FileAttribute::ReadOnly;
    return bits;
}

bool listable(const struct stat& st) {
    return S_ISDIR(st.st_mode) || S_ISREG(st.st_mode);
}

// Streams one folder: "." and ".." first (except at a drive root), then the entries as the filesystem
// returns them, each measured with one stat relative to the open folder.
class LinuxFindHandle final : public FindHandle {
  public:
    LinuxFindHandle(DirPtr dir, bool root, QString pattern, bool readOnlyVolume)
        : dir_(std::move(dir)),
          pattern_(matchesAll(pattern) ? QByteArray() : QFile::encodeName(pattern)),
          dots_(root ? 2 : 0),
          readOnlyVolume_(readOnlyVolume) {}

    bool next(FindData& entry) override {
        while (dots_ < 2) {
            const char* name = dots_++ == 0 ? "." : "..";
            if (!matches(name)) continue;
            // Both are folders that exist while this one is open; nothing about them needs measuring.
            entry.name = QString::fromLatin1(name);
            entry.length = 0;
            entry.attributes = FileAttribute::Directory | (readOnlyVolume_ ? FileAttribute::ReadOnly : 0);
            return true;
        }
        for (;;) {
            errno = 0;
            const dirent* d = ::readdir(dir_.get());
            if (!d) {
                failed_ = errno != 0;
                return false;
            }
            const char* name = d->d_name;
            if (name[0] == '.' && (name[1] == 0 || (name[1] == '.' && name[2] == 0))) continue;
            if (!matches(name)) continue;
            struct stat st {};
            entry.name = QString::fromUtf8(name);  // the file-name codec, without its per-call lookup
            if (::fstatat(::dirfd(dir_.get()), name, &st, AT_SYMLINK_NOFOLLOW) != 0) {
                // Listed but gone or unreadable by the time it is measured.
                entry.attributes = d->d_type == DT_DIR ? FileAttribute::Directory : 0;
                entry.length = -1;
                return true;
            }
            if (!listable(st)) continue;
            entry.attributes = attributeBits(entry.name, st, readOnlyVolume_);
            entry.length = S_ISREG(st.st_mode) ? std::int64_t(st.st_size) : 0;
            return true;
        }
    }

    bool failed() const override { return failed_; }

  private:
    bool matches(const char* name) const {
        return pattern_.isEmpty() || ::fnmatch(pattern_.constData(), name, FNM_CASEFOLD) == 0;
    }

    DirPtr dir_;
    QByteArray pattern_;  // empty: every entry
    int dots_;            // how many of "." and ".." are done
    bool readOnlyVolume_;
    bool failed_ = false;
};

}  // namespace

std::unique_ptr<FindHandle> LinuxFileSystem::findFirst(const QString& folder, const QString& pattern,
                                                       FindData& first, FindStatus& status) {
    status = FindStatus::Unreadable;
    const QString native = drives_.nativePath(folder);
    if (native.isEmpty()) return nullptr;
    DirPtr dir(::opendir(QFile::encodeName(native).constData()));
    if (!dir) return nullptr;
    const std::optional<QString> within = pathWithinDrive(folder);
    const bool root = within && within->isEmpty();
    auto handle =
        std::make_unique<LinuxFindHandle>(std::move(dir), root, pattern, drives_.readOnlyVolume(folder));
    if (!handle->next(first)) {
        status = handle->failed() ? FindStatus::Unreadable : FindStatus::Empty;
        return nullptr;
    }
    status = FindStatus::Found;
    return handle;
}

std::optional<std::uint32_t> LinuxFileSystem::attributes(const QString& path) {
    const QString native = drives_.nativePath(path);
    struct stat st {};
    if (native.isEmpty() || ::lstat(QFile::encodeName(native).constData(), &st) != 0 || !listable(st)) {
        return std::nullopt;
    }
    const QString name = path.section(QLatin1Char('\\'), -1);
    return attributeBits(name, st, drives_.readOnlyVolume(path));
}

std::optional<std::int64_t> LinuxFileSystem::fileLength(const QString& path) {
    const QString native = drives_.nativePath(path);
    struct stat st {};
    if (native.isEmpty() || ::lstat(QFile::encodeName(native).constData(), &st) != 0 ||
        !S_ISREG(st.st_mode)) {
        return std::nullopt;
    }
    return std::int64_t(st.st_size);
}

bool LinuxFileSystem::pathExists(const QString& path) {
    const QString native = drives_.nativePath(path);
    struct stat st {};
    return !native.isEmpty() && ::stat(QFile::encodeName(native).constData(), &st) == 0;
}

}  // namespace vt
