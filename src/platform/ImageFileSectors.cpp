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

ImageFileSectors::ImageFileSectors(const QString& path) {
    if (const auto bytes = openFile(path)) detectLayout(*bytes);
}

ImageFileSectors::ImageFileSectors(const QString& path, const SectorLayout& layout) {
    if (const auto bytes = openFile(path)) useLayout(layout, *bytes);
}

ImageFileSectors::~ImageFileSectors() {
    if (fd_ >= 0) ::close(fd_);
}

std::optional<std::uint64_t> ImageFileSectors::openFile(const QString& path) {
    fd_ = ::open(QFile::encodeName(path).constData(), O_RDONLY | O_CLOEXEC);
    struct stat st {};
    if (fd_ < 0 || ::fstat(fd_, &st) != 0) {
        error_ = path + QStringLiteral(": ") + QString::fromLocal8Bit(std::strerror(errno));
        return std::nullopt;
    }
    if (!S_ISREG(st.st_mode)) {
        error_ = path + QStringLiteral(": not a regular file");
        return std::nullopt;
    }
    return std::uint64_t(st.st_size);
}

void ImageFileSectors::detectLayout(std::uint64_t fileBytes) {
    // A raw data track repeats the sync pattern at the start of every sector; sector 16, where every disc's
    // volume descriptors begin, settles it.
    std::array<unsigned char, 16> head{};
    const bool raw = fileBytes % kRawSectorBytes == 0 && fileBytes >= 17ull * kRawSectorBytes &&
                     readFully(fd_, head.data(), head.size(), off_t(16) * kRawSectorBytes) &&
                     std::memcmp(head.data(), kSync, sizeof kSync) == 0;
    if (!raw) {
        useLayout(SectorLayout{}, fileBytes);
        return;
    }
    useLayout(SectorLayout{kRawSectorBytes, head[15] == 2 ? 16 + 8 : 16, 0}, fileBytes);  // mode 2: subheader
}

void ImageFileSectors::useLayout(const SectorLayout& layout, std::uint64_t fileBytes) {
    layout_ = layout;
    if (layout.sectorBytes < layout.dataOffset + kImageSectorBytes || layout.startByte > fileBytes) {
        error_ = QStringLiteral("the data track lies outside its file");
        return;
    }
    // A last sector cut short still has its user data when only its error correction bytes are missing.
    const std::uint64_t tail = layout.sectorBytes - layout.dataOffset - kImageSectorBytes;
    sectorCount_ = (fileBytes - layout.startByte + tail) / std::uint64_t(layout.sectorBytes);
}

bool ImageFileSectors::read(std::uint64_t first, int count, unsigned char* out) {
    if (fd_ < 0 || count < 0 || first > sectorCount_ || std::uint64_t(count) > sectorCount_ - first)
        return false;
    const std::uint64_t stride = std::uint64_t(layout_.sectorBytes);
    if (stride == kImageSectorBytes) {
        return readFully(fd_, out, std::size_t(count) * kImageSectorBytes,
                         off_t(layout_.startByte + first * kImageSectorBytes));
    }
    for (int i = 0; i < count; ++i) {
        const off_t at = off_t(layout_.startByte + (first + std::uint64_t(i)) * stride + layout_.dataOffset);
        if (!readFully(fd_, out + std::size_t(i) * kImageSectorBytes, kImageSectorBytes, at)) return false;
    }
    return true;
}

}  // namespace vt
