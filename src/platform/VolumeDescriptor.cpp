#include "platform/VolumeDescriptor.h"

#include <fcntl.h>
#include <unistd.h>

#include <QFile>
#include <array>
#include <cstring>

namespace vt {

namespace {

constexpr int kSector = 2048;
using Sector = std::array<unsigned char, kSector>;

// Closes the descriptor it holds.
class FileReader {
  public:
    explicit FileReader(const QString& path)
        : fd_(::open(QFile::encodeName(path).constData(), O_RDONLY | O_CLOEXEC)) {}
    ~FileReader() {
        if (fd_ >= 0) ::close(fd_);
    }
    FileReader(const FileReader&) = delete;
    FileReader& operator=(const FileReader&) = delete;

    bool ok() const { return fd_ >= 0; }
    bool read(std::uint64_t sector, unsigned char* out) const {
        return ::pread(fd_, out, kSector, off_t(sector * kSector)) == kSector;
    }

  private:
    int fd_;
};

class DescriptorReader {
  public:
    explicit DescriptorReader(const DiscSectorReader& read) : read_(read) {}
    bool read(std::uint64_t sector, Sector& out) const { return read_(sector, out.data()); }

  private:
    const DiscSectorReader& read_;
};

std::uint32_t le32(const unsigned char* p) {
    return std::uint32_t(p[0]) | std::uint32_t(p[1]) << 8 | std::uint32_t(p[2]) << 16 |
           std::uint32_t(p[3]) << 24;
}
std::uint16_t le16(const unsigned char* p) {
    return std::uint16_t(p[0] | p[1] << 8);
}

std::array<std::uint8_t, 4> laneSums(const unsigned char* data, int size) {
    std::array<std::uint8_t, 4> lanes{};
    for (int i = 0; i < size; ++i) lanes[size_t(i % 4)] = std::uint8_t(lanes[size_t(i % 4)] + data[i]);
    return lanes;
}

QString trimmedRight(QString text) {
    const int nul = text.indexOf(QChar(0));
    if (nul >= 0) text.truncate(nul);
    while (!text.isEmpty() && text.back().isSpace()) text.chop(1);
    return text;
}

bool isJoliet(const Sector& s) {
    const unsigned char* esc = s.data() + 88;
    return esc[0] == '%' && esc[1] == '/' && (esc[2] == '@' || esc[2] == 'C' || esc[2] == 'E');
}

QString jolietText(const unsigned char* p, int bytes) {
    QString text;
    for (int i = 0; i + 1 < bytes; i += 2) text.append(QChar(char16_t(p[i] << 8 | p[i + 1])));
    return trimmedRight(text);
}

std::optional<DiscVolume> readIso(const DescriptorReader& file) {
    Sector primary{}, joliet{}, sector{};
    bool havePrimary = false, haveJoliet = false;
    // Descriptors start at sector 16; a real set ends with a terminator well before this bound.
    for (std::uint64_t n = 16; n < 16 + 64 && file.read(n, sector); ++n) {
        if (std::memcmp(sector.data() + 1, "CD001", 5) != 0) break;
        if (sector[0] == 255) break;
        if (sector[0] == 1 && !havePrimary) {
            primary = sector;
            havePrimary = true;
        } else if (sector[0] == 2 && !haveJoliet && isJoliet(sector)) {
            joliet = sector;
            haveJoliet = true;
        }
    }
    if (!havePrimary) return std::nullopt;
    DiscVolume volume;
    const Sector& chosen = haveJoliet ? joliet : primary;
    volume.serial = isoSerial(chosen.data(), kSector);
    volume.label =
        haveJoliet
            ? jolietText(joliet.data() + 40, 32)
            : trimmedRight(QString::fromLatin1(reinterpret_cast<const char*>(primary.data() + 40), 32));
    volume.volumeBytes = std::uint64_t(le32(primary.data() + 80)) * le16(primary.data() + 128);
    volume.joliet = haveJoliet;
    return volume;
}

// A UDF "dstring": compression id 8 (one byte a character) or 16 (big-endian UTF-16), the used length in
// the last byte.
QString udfText(const unsigned char* p, int fieldBytes) {
    const int used = p[fieldBytes - 1];
    if (used <= 1 || used >= fieldBytes) return {};
    QString text;
    if (p[0] == 8) {
        for (int i = 1; i < used; ++i) text.append(QChar(char16_t(p[i])));
    } else if (p[0] == 16) {
        for (int i = 1; i + 1 < used; i += 2) text.append(QChar(char16_t(p[i] << 8 | p[i + 1])));
    }
    return trimmedRight(text);
}

std::uint16_t tagId(const Sector& s) {
    return le16(s.data());
}

std::optional<DiscVolume> readUdf(const DescriptorReader& file) {
    Sector sector{};
    if (!file.read(256, sector) || tagId(sector) != 2) return std::nullopt;  // anchor
    const std::uint32_t vdsLength = le32(sector.data() + 16);
    const std::uint32_t vdsStart = le32(sector.data() + 20);

    bool haveVolume = false, havePartition = false;
    std::uint32_t blockSize = 0, fsdBlock = 0, partitionStart = 0, partitionLength = 0;
    QString label;
    const std::uint32_t sectors = std::min<std::uint32_t>(vdsLength / kSector, 64);
    for (std::uint32_t i = 0; i < sectors && file.read(vdsStart + i, sector); ++i) {
        const std::uint16_t id = tagId(sector);
        if (id == 8) break;  // terminator
        if (id == 6 && !haveVolume) {
            label = udfText(sector.data() + 84, 128);
            blockSize = le32(sector.data() + 212);
            fsdBlock = le32(sector.data() + 248 + 4);
            haveVolume = true;
        } else if (id == 5 && !havePartition) {
            partitionStart = le32(sector.data() + 188);
            partitionLength = le32(sector.data() + 192);
            havePartition = true;
        }
    }
    if (!haveVolume || !havePartition || blockSize != kSector) return std::nullopt;
    if (!file.read(std::uint64_t(partitionStart) + fsdBlock, sector) || tagId(sector) != 256)
        return std::nullopt;
    DiscVolume volume;
    volume.label = label;
    volume.serial = udfSerial(sector.data(), kSector);
    volume.volumeBytes = std::uint64_t(partitionLength) * blockSize;
    return volume;
}

}  // namespace

std::uint32_t isoSerial(const unsigned char* descriptor, int size) {
    const auto l = laneSums(descriptor, size);
    return std::uint32_t(l[0]) << 24 | std::uint32_t(l[1]) << 16 | std::uint32_t(l[2]) << 8 | l[3];
}

std::uint32_t udfSerial(const unsigned char* block, int size) {
    const auto l = laneSums(block, size);
    return std::uint32_t(l[3]) << 24 | std::uint32_t(l[2]) << 16 | std::uint32_t(l[1]) << 8 | l[0];
}

std::optional<DiscVolume> readDiscVolume(const QString& path, bool udf) {
    const FileReader file(path);
    if (!file.ok()) return std::nullopt;
    return readDiscVolume(
        [&file](std::uint64_t sector, unsigned char* out) { return file.read(sector, out); }, udf);
}

std::optional<DiscVolume> readDiscVolume(const DiscSectorReader& readSector, bool udf) {
    const DescriptorReader source(readSector);
    return udf ? readUdf(source) : readIso(source);
}

}  // namespace vt
