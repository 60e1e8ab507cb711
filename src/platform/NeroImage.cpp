#include "platform/NeroImage.h"

#include <QFile>
#include <cstring>

namespace vt {

namespace {

// Nero keeps its numbers big-endian.
std::uint64_t be(const unsigned char* p, int bytes) {
    std::uint64_t value = 0;
    for (int i = 0; i < bytes; ++i) value = value << 8 | p[i];
    return value;
}

bool isChunk(const unsigned char* p, const char* id) {
    return std::memcmp(p, id, 4) == 0;
}

// The chunks sit between the offset the footer names and the footer; real images keep them to a few KiB.
constexpr qint64 kMaxChunkBytes = 1 << 20;

// The layout of a data track of `sectorBytes`-byte sectors starting at byte `start` of the file; raw
// 2352-byte sectors say in their header whether they are mode 1 or mode 2.
std::optional<SectorLayout> dataTrack(QFile& file, std::uint64_t start, std::uint64_t sectorBytes) {
    switch (sectorBytes) {
        case 2048:
            return SectorLayout{2048, 0, start};
        case 2336:
            return SectorLayout{2336, 8, start};
        case 2352: {
            unsigned char header[16] = {};
            if (!file.seek(qint64(start)) || file.read(reinterpret_cast<char*>(header), 16) != 16)
                return std::nullopt;
            return SectorLayout{2352, header[15] == 2 ? 24 : 16, start};
        }
        default:
            return std::nullopt;
    }
}

std::optional<SectorLayout> trackAtOnce(QFile& file, const unsigned char* entries, std::uint64_t bytes,
                                        bool wide) {
    const std::uint64_t size = wide ? 32 : 20;
    for (std::uint64_t at = 0; at + size <= bytes; at += size) {
        const unsigned char* e = entries + at;
        const std::uint64_t start = wide ? be(e, 8) : be(e, 4);
        const std::uint64_t mode = wide ? be(e + 16, 4) : be(e + 8, 4);
        // 0 mode 1 and 2 mode 2 form 1, kept as their 2048 user bytes; 3 mode 2 with its 2336 bytes.
        if (mode == 0 || mode == 2) return dataTrack(file, start, 2048);
        if (mode == 3) return dataTrack(file, start, 2336);
    }
    return std::nullopt;
}

std::optional<SectorLayout> discAtOnce(QFile& file, const unsigned char* data, std::uint64_t bytes,
                                       bool wide) {
    constexpr std::uint64_t kHeader = 22;  // size, catalogue number, flags, first and last track
    const std::uint64_t size = wide ? 42 : 30;
    for (std::uint64_t at = kHeader; at + size <= bytes; at += size) {
        const unsigned char* track = data + at;
        const std::uint64_t sectorBytes = be(track + 10, 4);
        const std::uint64_t index1 = wide ? be(track + 26, 8) : be(track + 22, 4);
        if (sectorBytes != 2352 || track[16] != 7) {  // 7: an audio track, skipped for the data after it
            if (auto layout = dataTrack(file, index1, sectorBytes)) return layout;
        }
    }
    return std::nullopt;
}

}  // namespace

std::optional<SectorLayout> readNeroLayout(const QString& path, QString& error) {
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) {
        error = path + QStringLiteral(": ") + file.errorString();
        return std::nullopt;
    }
    const qint64 size = file.size();
    unsigned char footer[12] = {};
    if (size < 12 || !file.seek(size - 12) || file.read(reinterpret_cast<char*>(footer), 12) != 12) {
        error = QStringLiteral("not a Nero image: too short");
        return std::nullopt;
    }
    std::uint64_t chunks = 0, end = std::uint64_t(size);
    if (isChunk(footer, "NER5")) {
        chunks = be(footer + 4, 8), end -= 12;
    } else if (isChunk(footer + 4, "NERO")) {
        chunks = be(footer + 8, 4), end -= 8;
    } else {
        error = QStringLiteral("not a Nero image: no NER5 or NERO footer");
        return std::nullopt;
    }
    if (chunks >= end || end - chunks > std::uint64_t(kMaxChunkBytes) || !file.seek(qint64(chunks))) {
        error = QStringLiteral("the Nero image's footer points outside the file");
        return std::nullopt;
    }
    const QByteArray area = file.read(qint64(end - chunks));
    const auto* p = reinterpret_cast<const unsigned char*>(area.constData());
    for (std::uint64_t at = 0; at + 8 <= std::uint64_t(area.size());) {
        const unsigned char* chunk = p + at;
        const std::uint64_t length = be(chunk + 4, 4);
        if (length > std::uint64_t(area.size()) - at - 8) break;
        std::optional<SectorLayout> layout;
        if (isChunk(chunk, "ETNF") || isChunk(chunk, "ETN2")) {
            layout = trackAtOnce(file, chunk + 8, length, isChunk(chunk, "ETN2"));
        } else if (isChunk(chunk, "DAOI") || isChunk(chunk, "DAOX")) {
            layout = discAtOnce(file, chunk + 8, length, isChunk(chunk, "DAOX"));
        } else if (isChunk(chunk, "END!")) {
            break;
        }
        if (layout) return layout;
        at += 8 + length;
    }
    error = QStringLiteral("the Nero image names no data track");
    return std::nullopt;
}

}  // namespace vt
