#include "platform/ImageFileSectors.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <QFile>
#include <array>
#include <cerrno>
#include <cstring>

namespace vt {

namespace {

constexpr int kRawSectorBytes = 2352;
constexpr unsigned char kSync[12] = {0x00, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0x00};

bool readFully(int fd, unsigned char* out, std::size_t bytes, off_t offset) {
    while (bytes > 0) {
        const ssize_t n = ::pread(fd, out, bytes, offset);
        if (n < 0 && errno == EINTR) continue;
        if (n <= 0) return false;
        out += n, bytes -= std::size_t(n), offset += n;
    }
    return true;
}

}  // namespace

ImageFileSectors::ImageFileSectors(const QString& path)
    : fd_(::open(QFile::encodeName(path).constData(), O_RDONLY | O_CLOEXEC)) {
    struct stat st {};
    if (fd_ < 0 || ::fstat(fd_, &st) != 0) {
        error_ = QString::fromLocal8Bit(std::strerror(errno));
        return;
    }
    if (!S_ISREG(st.st_mode)) {
        error_ = QStringLiteral("not a regular file");
        return;
    }
    detectLayout(std::uint64_t(st.st_size));
}

ImageFileSectors::~ImageFileSectors() {
    if (fd_ >= 0) ::close(fd_);
}

void ImageFileSectors::detectLayout(std::uint64_t fileBytes) {
    sectorCount_ = fileBytes / kImageSectorBytes;
    // A raw data track repeats the sync pattern at the start of every sector; sector 16, where every disc's
    // volume descriptors begin, settles it.
    std::array<unsigned char, 16 + 8> head{};
    if (fileBytes % kRawSectorBytes != 0 || fileBytes < 17ull * kRawSectorBytes ||
        !readFully(fd_, head.data(), head.size(), off_t(16) * kRawSectorBytes) ||
        std::memcmp(head.data(), kSync, sizeof kSync) != 0) {
        return;
    }
    stride_ = kRawSectorBytes;
    dataOffset_ = head[15] == 2 ? 16 + 8 : 16;  // mode 2 (form 1) carries an 8-byte subheader
    sectorCount_ = fileBytes / kRawSectorBytes;
}

bool ImageFileSectors::read(std::uint64_t first, int count, unsigned char* out) {
    if (fd_ < 0 || count < 0 || first > sectorCount_ || std::uint64_t(count) > sectorCount_ - first) return false;
    if (stride_ == kImageSectorBytes) {
        return readFully(fd_, out, std::size_t(count) * kImageSectorBytes, off_t(first * kImageSectorBytes));
    }
    for (int i = 0; i < count; ++i) {
        const off_t at = off_t((first + i) * kRawSectorBytes + dataOffset_);
        if (!readFully(fd_, out + std::size_t(i) * kImageSectorBytes, kImageSectorBytes, at)) return false;
    }
    return true;
}

}  // namespace vt
