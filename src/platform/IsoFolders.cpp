#include "platform/IsoFolders.h"

#include <sys/stat.h>

#include <QDateTime>
#include <QTimeZone>
#include <algorithm>
#include <array>

#include "platform/FileNames.h"
#include "platform/ImageSectors.h"

namespace vt {

namespace {

constexpr int kSector = kImageSectorBytes;
using Sector = std::array<unsigned char, kSector>;
// Bounds on what one image may ask of the reader, far above anything an authoring tool writes.
constexpr std::uint64_t kMaxFolderBytes = 64ull << 20;
constexpr int kMaxContinuations = 16;  // Rock Ridge continuation areas of one record
constexpr int kChunkSectors = 32;      // sectors read at a time

std::uint32_t le32(const unsigned char* p) {
    return std::uint32_t(p[0]) | std::uint32_t(p[1]) << 8 | std::uint32_t(p[2]) << 16 |
           std::uint32_t(p[3]) << 24;
}

bool isJolietDescriptor(const unsigned char* s) {
    return s[88] == '%' && s[89] == '/' && (s[90] == '@' || s[90] == 'C' || s[90] == 'E');
}

std::uint64_t sectorsOf(std::uint64_t bytes) {
    return (bytes + kSector - 1) / kSector;
}

// A recorded name without its version (";1") and without the dot of a name that has no extension.
QString withoutVersion(QString name) {
    const int semicolon = int(name.lastIndexOf(QLatin1Char(';')));
    if (semicolon >= 0 &&
        std::all_of(name.begin() + semicolon + 1, name.end(), [](QChar c) { return c.isDigit(); })) {
        name.truncate(semicolon);
    }
    if (name.size() > 1 && name.endsWith(QLatin1Char('.'))) name.chop(1);
    return name;
}

QString utf16BigEndian(const unsigned char* p, int bytes) {
    QString text;
    for (int i = 0; i + 1 < bytes; i += 2) text.append(QChar(char16_t(p[i] << 8 | p[i + 1])));
    return text;
}

// A directory record's recording date (seven bytes: years since 1900, month, day, hour, minute, second,
// offset from UTC in 15-minute steps) in seconds since 1970-01-01 UTC; nothing when it is not a real time.
std::optional<std::int64_t> recordedTime(const unsigned char* t) {
    const QDate date(1900 + t[0], t[1], t[2]);
    const QTime time(t[3], t[4], t[5]);
    if (!date.isValid() || !time.isValid()) return std::nullopt;
    const int offsetSteps = std::int8_t(t[6]);
    const int offsetMinutes = offsetSteps >= -48 && offsetSteps <= 52 ? offsetSteps * 15 : 0;
    return QDateTime(date, time, QTimeZone::utc()).toSecsSinceEpoch() - std::int64_t(offsetMinutes) * 60;
}

}  // namespace

// What one directory record says.
struct IsoFolders::Record {
    QString name;
    QByteArray rockRidgeName;
    bool hasRockRidgeName = false;
    std::uint8_t flags = 0;
    std::uint32_t extent = 0;
    std::uint32_t bytes = 0;
    bool dots = false;                     // "." or ".."
    bool leftOut = false;                  // a link, a special file or a relocated folder's stand-in
    std::int64_t childLink = -1;           // Rock Ridge CL: where the folder this record stands for lies
    std::optional<std::int64_t> recorded;  // the record's own date
};

std::unique_ptr<IsoFolders> IsoFolders::open(ImageSectors& sectors, bool joliet, QString& error) {
    std::unique_ptr<IsoFolders> folders(new IsoFolders(sectors));
    Sector s{}, primary{}, jolietDescriptor{};
    bool havePrimary = false, haveJoliet = false;
    for (std::uint64_t i = 16; i < 16 + 64 && sectors.read(i, 1, s.data()); ++i) {
        if (std::string_view(reinterpret_cast<const char*>(s.data() + 1), 5) != "CD001") break;
        if (s[0] == 255) break;
        if (s[0] == 1 && !havePrimary) primary = s, havePrimary = true;
        if (s[0] == 2 && isJolietDescriptor(s.data()) && !haveJoliet) jolietDescriptor = s, haveJoliet = true;
    }
    if (!havePrimary && !haveJoliet) {
        error = QStringLiteral("no ISO 9660 volume descriptor");
        return nullptr;
    }
    folders->joliet_ = joliet && haveJoliet;
    const unsigned char* root = (folders->joliet_ || !havePrimary ? jolietDescriptor : primary).data() + 156;
    folders->joliet_ = folders->joliet_ || !havePrimary;
    folders->root_.directory = true;
    folders->root_.location = le32(root + 2);
    folders->root_.extents = {ImageExtent{le32(root + 2), le32(root + 10)}};
    if (!folders->joliet_ && sectors.read(folders->root_.location, 1, s.data())) {
        // The root's "." record tells whether the records carry Rock Ridge entries (SUSP "SP").
        const unsigned char* su = s.data() + 34;
        if (s[0] >= 34 + 7 && su[0] == 'S' && su[1] == 'P' && su[4] == 0xBE && su[5] == 0xEF) {
            folders->rockRidge_ = true;
            folders->systemUseSkip_ = su[6];
        }
    }
    return folders;
}

void IsoFolders::readSystemUse(const unsigned char* area, int bytes, Record& out, int hops) {
    std::int64_t continuation = -1;
    std::uint32_t continuationOffset = 0, continuationBytes = 0;
    for (int pos = 0; pos + 4 <= bytes;) {
        const unsigned char* e = area + pos;
        const int length = e[2];
        if (length < 4 || pos + length > bytes) break;
        const char a = char(e[0]), b = char(e[1]);
        if (a == 'S' && b == 'T') break;
        if (a == 'N' && b == 'M' && length >= 5) {
            if (!(e[4] & 0x06)) out.rockRidgeName.append(reinterpret_cast<const char*>(e + 5), length - 5);
            out.hasRockRidgeName = true;
        } else if (a == 'P' && b == 'X' && length >= 12) {
            const std::uint32_t type = le32(e + 4) & S_IFMT;
            if (type != S_IFDIR && type != S_IFREG) out.leftOut = true;
        } else if ((a == 'S' && b == 'L') || (a == 'R' && b == 'E')) {
            out.leftOut = true;
        } else if (a == 'C' && b == 'L' && length >= 12) {
            out.childLink = le32(e + 4);
        } else if (a == 'C' && b == 'E' && length >= 28) {
            continuation = le32(e + 4);
            continuationOffset = le32(e + 12);
            continuationBytes = le32(e + 20);
        }
        pos += length;
    }
    if (continuation < 0 || hops >= kMaxContinuations || continuationOffset >= std::uint32_t(kSector)) return;
    Sector s{};
    if (!sectors_.read(std::uint64_t(continuation), 1, s.data())) return;
    const int available = int(std::min<std::uint32_t>(continuationBytes, kSector - continuationOffset));
    readSystemUse(s.data() + continuationOffset, available, out, hops + 1);
}

bool IsoFolders::parse(const unsigned char* r, int bytes, Record& out) {
    const int nameBytes = r[32];
    if (bytes < 34 || 33 + nameBytes > bytes) return false;
    out.flags = r[25];
    out.extent = le32(r + 2);
    out.bytes = le32(r + 10);
    out.recorded = recordedTime(r + 18);
    const unsigned char* name = r + 33;
    out.dots = nameBytes == 1 && (name[0] == 0 || name[0] == 1);
    if (out.dots) return true;
    if (rockRidge_) {
        const int start = 33 + nameBytes + (nameBytes % 2 == 0 ? 1 : 0) + systemUseSkip_;
        if (start < bytes) readSystemUse(r + start, bytes - start, out, 0);
    }
    if (out.hasRockRidgeName && !out.rockRidgeName.isEmpty()) {
        out.name = decodeFileName(out.rockRidgeName);
    } else if (joliet_) {
        out.name = withoutVersion(utf16BigEndian(name, nameBytes));
    } else {
        out.name = withoutVersion(decodeFileName(reinterpret_cast<const char*>(name), nameBytes));
    }
    return true;
}

bool IsoFolders::list(const ImageEntry& folder, std::vector<ImageEntry>& out, QString& problem) {
    const auto broken = [&](const QString& why) {
        problem = why + QStringLiteral(" (the folder at sector %1)").arg(folder.location);
        return false;
    };
    if (!folder.readable || folder.extents.size() != 1) return broken(QStringLiteral("unreadable folder"));
    const ImageExtent extent = folder.extents.front();
    if (extent.bytes > kMaxFolderBytes) return broken(QStringLiteral("implausibly large folder"));
    const std::uint64_t count = sectorsOf(extent.bytes);
    if (extent.sector + count > sectors_.sectorCount())
        return broken(QStringLiteral("folder beyond the image's end"));

    std::vector<unsigned char> chunk(std::size_t(kChunkSectors) * kSector);
    bool pending = false;  // the last entry of `out` goes on in the next record (a multi-extent file)
    for (std::uint64_t done = 0; done < count;) {
        const int n = int(std::min<std::uint64_t>(kChunkSectors, count - done));
        if (!sectors_.read(extent.sector + done, n, chunk.data()))
            return broken(QStringLiteral("cannot read"));
        for (int i = 0; i < n; ++i) {
            const unsigned char* s = chunk.data() + std::size_t(i) * kSector;
            for (int pos = 0; pos < kSector && s[pos] != 0;) {
                const int bytes = s[pos];
                Record record;
                if (pos + bytes > kSector || !parse(s + pos, bytes, record)) {
                    return broken(
                        QStringLiteral("damaged directory record at byte %1").arg(done * kSector + pos));
                }
                pos += bytes;
                if (record.dots || (record.flags & 0x04))
                    continue;  // associated files are no files of their own
                const bool continued =
                    pending && !out.empty() && out.back().name == record.name && !out.back().directory;
                pending = record.flags & 0x80;
                if (record.leftOut || record.name.isEmpty()) continue;
                if (continued) {
                    out.back().extents.push_back(ImageExtent{record.extent, record.bytes});
                    out.back().length += record.bytes;
                    continue;
                }
                ImageEntry entry;
                entry.name = record.name;
                entry.directory = (record.flags & 0x02) || record.childLink >= 0;
                entry.location = record.childLink >= 0 ? std::uint64_t(record.childLink) : record.extent;
                entry.extents = {ImageExtent{entry.location, record.bytes}};
                if (record.childLink >= 0) {
                    // The relocated folder's own "." record tells how long its records are.
                    Sector moved{};
                    entry.readable = sectors_.read(entry.location, 1, moved.data()) && moved[0] >= 34;
                    if (entry.readable) entry.extents.front().bytes = le32(moved.data() + 10);
                }
                entry.length = entry.directory ? 0 : std::int64_t(record.bytes);
                if (!entry.directory) entry.modified = record.recorded;
                out.push_back(std::move(entry));
            }
        }
        done += std::uint64_t(n);
    }
    return true;
}

QString IsoFolders::copy(const ImageEntry& file, const ImageDataSink& sink) {
    std::vector<unsigned char> chunk(std::size_t(kChunkSectors) * kSector);
    for (const ImageExtent& extent : file.extents) {
        const std::uint64_t count = sectorsOf(extent.bytes);
        if (extent.sector + count > sectors_.sectorCount())
            return QStringLiteral("the file lies beyond the image's end");
        std::uint64_t left = extent.bytes;
        for (std::uint64_t done = 0; done < count;) {
            const int n = int(std::min<std::uint64_t>(kChunkSectors, count - done));
            if (!sectors_.read(extent.sector + done, n, chunk.data())) {
                return QStringLiteral("the image cannot be read at sector %1").arg(extent.sector + done);
            }
            const std::size_t bytes = std::size_t(std::min<std::uint64_t>(left, std::uint64_t(n) * kSector));
            if (!sink(chunk.data(), bytes)) return QStringLiteral("the copy cannot be written");
            left -= bytes;
            done += std::uint64_t(n);
        }
    }
    return {};
}

}  // namespace vt
