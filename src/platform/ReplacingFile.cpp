#include "platform/ReplacingFile.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <QFile>
#include <QFileInfo>
#include <cerrno>
#include <cstdlib>
#include <cstring>

#include "platform/WriteAll.h"

namespace vt {

namespace {

// The permission bits the result gets: the existing target's, or what a new file would get.
mode_t permissionsFor(const QByteArray& target) {
    struct stat existing {};
    if (::stat(target.constData(), &existing) == 0) return existing.st_mode & 07777;
    const mode_t mask = ::umask(0);
    ::umask(mask);
    return 0666 & ~mask;
}

}  // namespace

ReplacingFile::ReplacingFile(QString target) : target_(std::move(target)) {}

ReplacingFile::~ReplacingFile() {
    discard();
}

bool ReplacingFile::open() {
    const QFileInfo info(target_);
    temporary_ = QFile::encodeName(info.absolutePath() + QStringLiteral("/.") + info.fileName() +
                                   QStringLiteral(".XXXXXX"));
    fd_ = ::mkostemp(temporary_.data(), O_CLOEXEC);
    if (fd_ < 0) {
        const int error = errno;
        temporary_.clear();
        fail(QStringLiteral("cannot create a file in %1").arg(info.absolutePath()), error);
        return false;
    }
    ::fchmod(fd_, permissionsFor(QFile::encodeName(info.absoluteFilePath())));
    return QIODevice::open(QIODevice::WriteOnly | QIODevice::Unbuffered);
}

qint64 ReplacingFile::writeData(const char* data, qint64 size) {
    if (failed_ || fd_ < 0) return -1;
    if (const int error = writeBytes(fd_, data, size); error != 0) {
        fail(QStringLiteral("cannot write %1").arg(target_), error);
        return -1;
    }
    return size;
}

bool ReplacingFile::commit() {
    if (fd_ < 0 && !failed_) fail(QStringLiteral("%1 was not opened").arg(target_), EBADF);
    if (failed_) {
        discard();
        return false;
    }
    if (const int error = syncFile(fd_); error != 0) {
        fail(QStringLiteral("cannot write %1 to the disk").arg(target_), error);
        discard();
        return false;
    }
    const int fd = fd_;
    fd_ = -1;
    if (::close(fd) == -1 && errno != EINTR) {
        const int error = errno;
        fail(QStringLiteral("cannot write %1").arg(target_), error);
        discard();
        return false;
    }
    if (::rename(temporary_.constData(), QFile::encodeName(target_).constData()) == -1) {
        const int error = errno;
        fail(QStringLiteral("cannot put the output in place as %1").arg(target_), error);
        discard();
        return false;
    }
    temporary_.clear();
    QIODevice::close();
    // The rename is made durable with its folder; the file is complete in place whether or not this works.
    const int folder = ::open(QFile::encodeName(QFileInfo(target_).absolutePath()).constData(),
                              O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (folder >= 0) {
        ::fsync(folder);
        ::close(folder);
    }
    return true;
}

int ReplacingFile::writeBytes(int fd, const char* data, qint64 size) {
    return writeAll(fd, data, size);
}

int ReplacingFile::syncFile(int fd) {
    return ::fsync(fd) == 0 ? 0 : errno;
}

void ReplacingFile::fail(const QString& what, int error) {
    failed_ = true;
    setErrorString(what + QStringLiteral(": ") + QString::fromLocal8Bit(std::strerror(error)));
}

void ReplacingFile::discard() {
    if (fd_ >= 0) {
        ::close(fd_);
        fd_ = -1;
    }
    if (!temporary_.isEmpty()) {
        ::unlink(temporary_.constData());
        temporary_.clear();
    }
    if (isOpen()) QIODevice::close();
}

}  // namespace vt
