#include "platform/SharedDriveLetters.h"

#include <errno.h>
#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

#include <QFile>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>

#include "platform/Descriptor.h"

namespace vt {

namespace {

// Thirteen entries with the longest mount points fit many times over; anything bigger is not a table.
constexpr qint64 kMaxTableBytes = 1 << 20;

// An exclusive flock on a file of its own, held while the object lives. It waits a few seconds at most:
// a program stopped in a debugger while holding it must not freeze every other one.
class ExclusiveLock {
  public:
    explicit ExclusiveLock(const QByteArray& path)
        : file_(::open(path.constData(), O_RDWR | O_CREAT | O_CLOEXEC | O_NOFOLLOW, 0600)) {
        for (int attempt = 0; file_.valid() && attempt < 300; ++attempt) {
            if (::flock(file_.get(), LOCK_EX | LOCK_NB) == 0) {
                held_ = true;
                return;
            }
            if (errno != EWOULDBLOCK && errno != EINTR) return;
            ::usleep(10000);
        }
    }
    ~ExclusiveLock() {
        if (held_) ::flock(file_.get(), LOCK_UN);
    }
    ExclusiveLock(const ExclusiveLock&) = delete;
    ExclusiveLock& operator=(const ExclusiveLock&) = delete;

    bool held() const { return held_; }

  private:
    Descriptor file_;
    bool held_ = false;
};

QByteArray encodeTable(const std::vector<OpticalDrive>& drives) {
    QJsonArray rows;
    for (const OpticalDrive& drive : drives) {
        rows.append(QJsonObject{{QStringLiteral("letter"), QString(drive.letter)},
                                {QStringLiteral("mountId"), drive.mount.mountId},
                                {QStringLiteral("device"), drive.mount.deviceNumber},
                                {QStringLiteral("mountPoint"), drive.mount.mountPoint}});
    }
    return QJsonDocument(rows).toJson();
}

// The recorded letters, or none at all when any part of the text is not a sound table. The letters
// themselves are checked where they are handed out.
std::vector<OpticalDrive> decodeTable(const QByteArray& text) {
    const QJsonDocument document = QJsonDocument::fromJson(text);
    if (!document.isArray()) return {};
    std::vector<OpticalDrive> drives;
    for (const QJsonValue& value : document.array()) {
        const QJsonObject row = value.toObject();
        const QString letter = row.value(QStringLiteral("letter")).toString();
        OpticalDrive drive;
        drive.mount.mountId = row.value(QStringLiteral("mountId")).toString();
        drive.mount.deviceNumber = row.value(QStringLiteral("device")).toString();
        drive.mount.mountPoint = row.value(QStringLiteral("mountPoint")).toString();
        if (letter.size() != 1 || drive.mount.mountId.isEmpty() || drive.mount.deviceNumber.isEmpty() ||
            drive.mount.mountPoint.isEmpty()) {
            return {};
        }
        drive.letter = letter.front();
        drives.push_back(std::move(drive));
    }
    return drives;
}

std::vector<OpticalDrive> readTable(const QByteArray& path) {
    const Descriptor file(::open(path.constData(), O_RDONLY | O_CLOEXEC | O_NOFOLLOW));
    if (!file.valid()) return {};
    QByteArray text;
    char buffer[4096];
    for (;;) {
        const ssize_t n = ::read(file.get(), buffer, sizeof buffer);
        if (n < 0 && errno == EINTR) continue;
        if (n <= 0) break;
        text.append(buffer, int(n));
        if (text.size() > kMaxTableBytes) return {};
    }
    return decodeTable(text);
}

bool writeAll(int fd, const QByteArray& text) {
    for (qsizetype done = 0; done < text.size();) {
        const ssize_t n = ::write(fd, text.constData() + done, size_t(text.size() - done));
        if (n < 0 && errno == EINTR) continue;
        if (n <= 0) return false;
        done += n;
    }
    return true;
}

// The new table is written beside the old one and renamed over it, so the table is always whole, even if
// this program is killed or the disk is full halfway through; that is why the lock lives in a file of its
// own, which a rename never replaces. No fsync: the letters mean nothing once the machine restarts.
bool writeTable(const QByteArray& path, const QByteArray& text) {
    const QByteArray temporary = path + ".new";
    bool written = false;
    {
        const Descriptor file(
            ::open(temporary.constData(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC | O_NOFOLLOW, 0600));
        written = file.valid() && writeAll(file.get(), text);
    }
    if (written && ::rename(temporary.constData(), path.constData()) == 0) return true;
    ::unlink(temporary.constData());
    return false;
}

// Makes `path` (whose parent must exist) a folder that only this user can enter, or checks that it is one.
bool usablePrivateFolder(const QByteArray& path) {
    if (::mkdir(path.constData(), 0700) != 0 && errno != EEXIST) return false;
    struct stat info {};
    return ::lstat(path.constData(), &info) == 0 && S_ISDIR(info.st_mode) && info.st_uid == ::geteuid() &&
           (info.st_mode & 077) == 0 && ::access(path.constData(), W_OK | X_OK) == 0;
}

}  // namespace

SharedDriveLetters::SharedDriveLetters(QString folder) : folder_(std::move(folder)) {}

std::optional<std::vector<OpticalDrive>> SharedDriveLetters::update(const Assign& assign) const {
    if (folder_.isEmpty()) return std::nullopt;
    const QByteArray table = QFile::encodeName(folder_ + QStringLiteral("/drive-letters"));
    const ExclusiveLock lock(table + ".lock");
    if (!lock.held()) return std::nullopt;
    std::vector<OpticalDrive> drives = assign(readTable(table));
    // Unwritten, the letters still hold for this program; the next change of the mounts tries again.
    writeTable(table, encodeTable(drives));
    return drives;
}

QString sessionStateFolder() {
    const QByteArray runtime = qgetenv("XDG_RUNTIME_DIR");
    // Only an absolute path can be the session's runtime folder: a relative one depends on where a program
    // was started.
    if (runtime.startsWith('/') && usablePrivateFolder(runtime + "/vellumtrove")) {
        return QFile::decodeName(runtime + "/vellumtrove");
    }
    const QByteArray fallback = "/tmp/vellumtrove-" + QByteArray::number(::geteuid());
    return usablePrivateFolder(fallback) ? QFile::decodeName(fallback) : QString();
}

}  // namespace vt
