#include "platform/LinuxFileSystem.h"

#include <dirent.h>
#include <fcntl.h>
#include <fnmatch.h>
#include <limits.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>
#include <functional>

#include "platform/DrivePath.h"
#include "platform/DriveTable.h"
#include "platform/FileNames.h"

namespace vt {

namespace {

// Bytes read from a folder at a time; what the C library reads with, too.
constexpr size_t kListingBuffer = 32768;

// A walk keeps the folders it is inside open to this depth, so that entering a subfolder takes one lookup
// of one name. Deeper folders are opened from the deepest one kept, by their path below it, and closed
// once listed: however deep a tree, a walk holds at most this many descriptors.
constexpr int kFoldersKeptOpen = 48;

// True when `error` means the medium itself is gone or unreadable, not just the one entry: the FUSE
// server of an image ended, the device went away or holds no medium, the mount is stale. An I/O error
// counts when it comes from a folder (one bad file of a scratched disc is still skipped).
bool meansMediumGone(int error, bool onFolder) {
    switch (error) {
        case ENOTCONN:
        case ECONNABORTED:
        case ENODEV:
        case ENXIO:
        case ESTALE:
        case ENOMEDIUM:
        case ESHUTDOWN:
            return true;
        case EIO:
            return onFolder;
        default:
            return false;
    }
}

FindStatus failedStatus(int error) {
    return meansMediumGone(error, true) ? FindStatus::MediumGone : FindStatus::Unreadable;
}

bool matchesAll(const QString& pattern) {
    return pattern == QLatin1String("*.*") || pattern == QLatin1String("*");
}

bool isDots(const char* name) {
    return name[0] == '.' && (name[1] == 0 || (name[1] == '.' && name[2] == 0));
}

// `hiddenName`: the entry's name starts with '.' and is neither "." nor "..".
std::uint32_t attributeBits(bool hiddenName, const struct stat& st, bool readOnlyVolume) {
    std::uint32_t bits = S_ISDIR(st.st_mode) ? FileAttribute::Directory : 0;
    if (hiddenName) bits |= FileAttribute::Hidden;
    if (readOnlyVolume || (st.st_mode & (S_IWUSR | S_IWGRP | S_IWOTH)) == 0) bits |= FileAttribute::ReadOnly;
    return bits;
}

bool hiddenName(const QString& name) {
    return name.startsWith(QLatin1Char('.')) && name != QLatin1String(".") && name != QLatin1String("..");
}

bool listable(const struct stat& st) {
    return S_ISDIR(st.st_mode) || S_ISREG(st.st_mode);
}

// Streams one open folder: "." and ".." first (unless it is a drive's root), then the entries in the
// order the file system returns them, each measured with one stat relative to the folder. Names are read
// as FileNames.h decides; folders keep their bytes for entering them. `done` runs when the listing goes.
class FolderListing final : public FindHandle {
  public:
    // `failure`, when given, receives the errno of a failure that ends the listing.
    FolderListing(int fd, std::function<void()> done, bool dots, const QString& pattern, bool readOnlyVolume,
                  int* failure = nullptr)
        : fd_(fd),
          failure_(failure),
          done_(std::move(done)),
          pattern_(matchesAll(pattern) ? QByteArray() : pattern.toUtf8()),
          dots_(dots ? 0 : 2),
          readOnlyVolume_(readOnlyVolume),
          buffer_(new char[kListingBuffer]) {}
    ~FolderListing() override {
        if (done_) done_();
    }
    FolderListing(const FolderListing&) = delete;
    FolderListing& operator=(const FolderListing&) = delete;

    bool next(FindData& entry) override {
        while (dots_ < 2) {
            const char* name = dots_++ == 0 ? "." : "..";
            if (!matches(name)) continue;
            // Both are folders that exist while this one is open; nothing about them needs measuring.
            entry.name = QString::fromLatin1(name);
            entry.rawName.clear();
            entry.length = 0;
            entry.modified.reset();
            entry.attributes = FileAttribute::Directory | (readOnlyVolume_ ? FileAttribute::ReadOnly : 0);
            return true;
        }
        for (;;) {
            if (offset_ >= filled_ && !fill()) return false;
            const auto* d = reinterpret_cast<const struct dirent64*>(buffer_.get() + offset_);
            offset_ += d->d_reclen;
            const char* name = d->d_name;
            if (isDots(name) || !matches(name)) continue;
            struct stat st {};
            if (::fstatat(fd_, name, &st, AT_SYMLINK_NOFOLLOW) != 0) {
                if (meansMediumGone(errno, false)) return fail(errno);
                // Listed but gone or unreadable by the time it is measured.
                entry.name = decodeFileName(name, qsizetype(std::strlen(name)));
                entry.rawName.clear();
                entry.attributes = d->d_type == DT_DIR ? FileAttribute::Directory : 0;
                entry.length = -1;
                entry.modified.reset();
                return true;
            }
            if (!listable(st)) continue;
            const qsizetype size = qsizetype(std::strlen(name));
            entry.name = decodeFileName(name, size);
            entry.attributes = attributeBits(name[0] == '.', st, readOnlyVolume_);
            entry.modified = std::int64_t(st.st_mtim.tv_sec);
            if (S_ISDIR(st.st_mode)) {
                entry.rawName = QByteArray(name, size);
                entry.length = 0;
            } else {
                entry.rawName.clear();
                entry.length = std::int64_t(st.st_size);
            }
            return true;
        }
    }

    bool failed() const override { return error_ != 0; }
    bool mediumGone() const override { return meansMediumGone(error_, true); }
    int error() const { return error_; }

  private:
    bool matches(const char* name) const {
        return pattern_.isEmpty() || ::fnmatch(pattern_.constData(), name, FNM_CASEFOLD) == 0;
    }

    // Reads the next entries; false at the end of the folder or when reading it failed.
    bool fill() {
        if (ended_) return false;
        for (;;) {
            const ssize_t n = ::getdents64(fd_, buffer_.get(), kListingBuffer);
            if (n > 0) {
                filled_ = size_t(n);
                offset_ = 0;
                return true;
            }
            if (n < 0 && errno == EINTR) continue;
            ended_ = true;
            if (n < 0) setError(errno);
            return false;
        }
    }

    bool fail(int error) {
        ended_ = true;
        filled_ = offset_ = 0;
        setError(error);
        return false;
    }

    void setError(int error) {
        error_ = error;
        if (failure_) *failure_ = error;
    }

    int fd_;
    int* failure_;
    std::function<void()> done_;
    QByteArray pattern_;  // empty: every entry
    int dots_;            // how many of "." and ".." are done (2 when they are not listed)
    bool readOnlyVolume_;
    std::unique_ptr<char[]> buffer_;
    size_t filled_ = 0;
    size_t offset_ = 0;
    bool ended_ = false;
    int error_ = 0;  // errno of the failure that ended the listing
};

// Lists a folder that is open as `fd`, as findFirst does.
std::unique_ptr<FindHandle> startListing(std::unique_ptr<FolderListing> listing, FindData& first,
                                         FindStatus& status) {
    if (!listing->next(first)) {
        status = listing->failed() ? failedStatus(listing->error()) : FindStatus::Empty;
        return nullptr;
    }
    status = FindStatus::Found;
    return listing;
}

// A folder of a LinuxWalk.
struct LinuxWalkFolder final : WalkFolder {
    ~LinuxWalkFolder() override {
        if (fd >= 0) ::close(fd);
    }
    LinuxWalkFolder* parent = nullptr;  // null for the walk's top
    QByteArray name;                    // its bytes within the parent
    int depth = 0;                      // 0 for the top
    qsizetype nativeLength = 0;         // bytes of its native path
    int fd = -1;                        // while open
    int error = 0;                      // why it could not be opened
    bool listedBefore = false;
};

// A walk relative to a descriptor of its top folder, taken when it starts: a lazy unmount meanwhile
// cannot turn it to the empty folder beneath, and a mount gone or dead shows as the errors it gives.
class LinuxWalk final : public DriveWalk {
  public:
    LinuxWalk(const QByteArray& nativeTop, bool dotsAtTop, bool readOnlyVolume)
        : dotsAtTop_(dotsAtTop), readOnlyVolume_(readOnlyVolume) {
        top_.nativeLength = nativeTop.endsWith('/') ? nativeTop.size() - 1 : nativeTop.size();
        top_.fd =
            nativeTop.isEmpty() ? -1 : ::open(nativeTop.constData(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
        top_.error = top_.fd >= 0 ? 0 : nativeTop.isEmpty() ? ENOENT : errno;
    }

    WalkFolder& top() override { return top_; }

    std::unique_ptr<WalkFolder> subfolder(WalkFolder& parent, const FindData& entry,
                                          const QString&) override {
        auto& above = static_cast<LinuxWalkFolder&>(parent);
        auto folder = std::make_unique<LinuxWalkFolder>();
        folder->parent = &above;
        folder->name = entry.rawName.isEmpty() ? entry.name.toUtf8() : entry.rawName;
        folder->depth = above.depth + 1;
        folder->nativeLength = above.nativeLength + 1 + folder->name.size();
        return folder;
    }

    std::unique_ptr<FindHandle> findFirst(WalkFolder& walkFolder, const QString& pattern, FindData& first,
                                          FindStatus& status) override {
        auto& folder = static_cast<LinuxWalkFolder&>(walkFolder);
        lastError_ = 0;
        if (!open(folder)) {
            lastError_ = folder.error;
            status = failedStatus(folder.error);
            return nullptr;
        }
        if (folder.listedBefore && ::lseek(folder.fd, 0, SEEK_SET) != 0) {
            lastError_ = errno;
            status = failedStatus(errno);
            return nullptr;
        }
        folder.listedBefore = true;
        std::function<void()> done;
        if (folder.depth >= kFoldersKeptOpen) {
            done = [&folder] {
                ::close(folder.fd);
                folder.fd = -1;
            };
        }
        return startListing(std::make_unique<FolderListing>(folder.fd, std::move(done),
                                                            folder.parent != nullptr || dotsAtTop_, pattern,
                                                            readOnlyVolume_, &lastError_),
                            first, status);
    }

    QString lastFailure() const override {
        return lastError_ == 0 ? QString() : QString::fromLocal8Bit(std::strerror(lastError_));
    }

  private:
    // Opens `folder` from the nearest folder above it that is open; false with folder.error set if that
    // fails. A folder whose native path would be longer than the system takes in one path is refused, as
    // a path-based listing refused it: a file there could not be opened from a search result.
    bool open(LinuxWalkFolder& folder) {
        if (folder.fd >= 0) return true;
        if (!folder.parent) return false;  // the top, which could not be opened
        if (folder.nativeLength >= PATH_MAX) {
            folder.error = ENAMETOOLONG;
            return false;
        }
        QByteArray relative = folder.name;
        const LinuxWalkFolder* base = folder.parent;
        for (; base->fd < 0 && base->parent; base = base->parent) relative = base->name + '/' + relative;
        if (base->fd < 0) {
            folder.error = base->error;
            return false;
        }
        folder.fd = ::openat(base->fd, relative.constData(), O_RDONLY | O_DIRECTORY | O_CLOEXEC | O_NOFOLLOW);
        folder.error = folder.fd >= 0 ? 0 : errno;
        return folder.fd >= 0;
    }

    LinuxWalkFolder top_;
    bool dotsAtTop_;
    bool readOnlyVolume_;
    int lastError_ = 0;
};

}  // namespace

std::unique_ptr<FindHandle> LinuxFileSystem::findFirst(const QString& folder, const QString& pattern,
                                                       FindData& first, FindStatus& status) {
    status = FindStatus::Unreadable;
    const QString native = drives_.nativePath(folder);
    if (native.isEmpty()) return nullptr;
    const int fd = ::open(nativePathBytes(native).constData(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (fd < 0) {
        status = failedStatus(errno);
        return nullptr;
    }
    const std::optional<QString> within = pathWithinDrive(folder);
    const bool root = within && within->isEmpty();
    return startListing(std::make_unique<FolderListing>(
                            fd, [fd] { ::close(fd); }, !root, pattern, drives_.readOnlyVolume(folder)),
                        first, status);
}

std::unique_ptr<DriveWalk> LinuxFileSystem::walk(const QString& folder) {
    const QString native = drives_.nativePath(folder);
    const std::optional<QString> within = pathWithinDrive(folder);
    return std::make_unique<LinuxWalk>(native.isEmpty() ? QByteArray() : nativePathBytes(native),
                                       within && !within->isEmpty(), drives_.readOnlyVolume(folder));
}

std::optional<std::uint32_t> LinuxFileSystem::attributes(const QString& path) {
    const QString native = drives_.nativePath(path);
    struct stat st {};
    if (native.isEmpty() || ::lstat(nativePathBytes(native).constData(), &st) != 0 || !listable(st)) {
        return std::nullopt;
    }
    return attributeBits(hiddenName(path.section(QLatin1Char('\\'), -1)), st, drives_.readOnlyVolume(path));
}

std::optional<std::int64_t> LinuxFileSystem::fileLength(const QString& path) {
    const QString native = drives_.nativePath(path);
    struct stat st {};
    if (native.isEmpty() || ::lstat(nativePathBytes(native).constData(), &st) != 0 || !S_ISREG(st.st_mode)) {
        return std::nullopt;
    }
    return std::int64_t(st.st_size);
}

bool LinuxFileSystem::pathExists(const QString& path) {
    const QString native = drives_.nativePath(path);
    struct stat st {};
    return !native.isEmpty() && ::stat(nativePathBytes(native).constData(), &st) == 0;
}

}  // namespace vt
