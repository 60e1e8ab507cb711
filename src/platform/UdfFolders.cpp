#include "platform/UdfFolders.h"

#include <QDateTime>
#include <QTimeZone>
#include <algorithm>
#include <cstdint>
#include <functional>
#include <optional>
#include <vector>

namespace vt {

namespace {

using namespace udf;

// Bounds on what one image may ask of the reader, far above anything an authoring tool writes.
constexpr std::uint64_t kMaxFolderBytes = 64ull << 20;
constexpr int kMaxExtents = 4096;
constexpr int kChunkBlocks = 32;  // blocks of a file copied at a time

// A file identifier's name in OSTA compressed Unicode: 8 bits or big-endian 16 bits a character.
QString cs0Name(const unsigned char* p, int bytes) {
    if (bytes < 2) return {};
    if (p[0] == 8) return QString::fromLatin1(reinterpret_cast<const char*>(p + 1), bytes - 1);
    if (p[0] != 16) return {};
    QString name;
    for (int i = 1; i + 1 < bytes; i += 2) name.append(QChar(char16_t(p[i] << 8 | p[i + 1])));
    return name;
}

QString at(const LongAd& where) {
    return QStringLiteral("block %1 of partition %2").arg(where.block).arg(where.partition);
}

// What a file entry says about its file.
struct FileInfo {
    std::uint8_t type = 0;  // 4 folder, 5 plain file; others are links and devices
    std::uint64_t length = 0;
    int adType = 0;  // how its allocation descriptors are recorded (short, long, extended, embedded)
    Block entry{};
    int adStart = 0, adBytes = 0;
    std::optional<std::int64_t> modified;
};

// A UDF timestamp (ECMA-167 1/7.3) in seconds since 1970-01-01 UTC; nothing when it is not a real time.
// Type 1 is local time at the recorded offset (in minutes, -2047 for none given, then taken as UTC).
std::optional<std::int64_t> udfTime(const unsigned char* t) {
    const std::uint16_t typeAndZone = le16(t);
    const int type = typeAndZone >> 12;
    if (type > 1) return std::nullopt;
    int offsetMinutes = typeAndZone & 0x0FFF;
    if (offsetMinutes & 0x0800) offsetMinutes -= 0x1000;  // 12-bit two's complement
    if (type == 0 || offsetMinutes == -2047 || offsetMinutes < -1440 || offsetMinutes > 1440)
        offsetMinutes = 0;
    const QDate date(std::int16_t(le16(t + 2)), t[4], t[5]);
    const QTime time(t[6], t[7], std::min<int>(t[8], 59));
    if (!date.isValid() || !time.isValid()) return std::nullopt;
    return QDateTime(date, time, QTimeZone::utc()).toSecsSinceEpoch() - std::int64_t(offsetMinutes) * 60;
}

constexpr std::uint8_t kFolderType = 4, kFileType = 5;

// Reads the (extended) file entry at `where`; empty when sound, else why not.
QString readFileEntry(const UdfVolume& volume, const LongAd& where, FileInfo& info) {
    if (!volume.read(where, 1, info.entry.data()))
        return QStringLiteral("cannot read the file entry at ") + at(where);
    const unsigned char* e = info.entry.data();
    std::uint64_t start = 0, extended = 0, descriptors = 0;
    if (isTag(e, FileEntry)) {
        start = 176, extended = le32(e + 168), descriptors = le32(e + 172);
        info.modified = udfTime(e + 84);
    } else if (isTag(e, ExtendedFileEntry)) {
        start = 216, extended = le32(e + 208), descriptors = le32(e + 212);
        info.modified = udfTime(e + 92);
    } else {
        return QStringLiteral("damaged file entry at ") + at(where);
    }
    if (start + extended + descriptors > kBlock) return QStringLiteral("damaged file entry at ") + at(where);
    info.type = e[27];
    info.adType = le16(e + 34) & 7;
    info.length = le64(e + 56);
    info.adStart = int(start + extended);
    info.adBytes = int(descriptors);
    return {};
}

// Calls `extent(where, bytes, recorded)` for each extent of the file whose entry is `info`, up to its
// length, in order (a false return stops it). Returns empty when all were, else why not.
QString forEachExtent(const UdfVolume& volume, const LongAd& where, const FileInfo& info,
                      const std::function<bool(const LongAd&, std::uint32_t, bool)>& extent) {
    const QString damaged = QStringLiteral("damaged file entry at ") + at(where);
    const int adSize = info.adType == 0 ? 8 : info.adType == 1 ? 16 : info.adType == 2 ? 20 : 0;
    if (adSize == 0) return damaged;
    Block continuation{};
    const unsigned char* ad = info.entry.data() + info.adStart;
    const unsigned char* end = ad + info.adBytes;
    std::uint64_t done = 0;
    for (int extents = 0; done < info.length; ++extents) {
        if (end - ad < adSize || extents > kMaxExtents) return damaged;
        const std::uint32_t bytes = le32(ad) & 0x3FFFFFFF;
        const int kind = int(le32(ad) >> 30);
        LongAd place{bytes, le32(ad + 4), where.partition};
        if (info.adType == 1) place.partition = le16(ad + 8);
        if (info.adType == 2) place = LongAd{bytes, le32(ad + 12), le16(ad + 16)};
        ad += adSize;
        if (bytes == 0) return damaged;
        if (kind == 3) {  // the descriptors go on in an allocation extent descriptor
            if (!volume.read(place, 1, continuation.data()) ||
                !isTag(continuation.data(), AllocationExtent) ||
                le32(continuation.data() + 20) > kBlock - 24) {
                return damaged;
            }
            ad = continuation.data() + 24;
            end = ad + le32(continuation.data() + 20);
            continue;
        }
        const std::uint32_t wanted = std::uint32_t(std::min<std::uint64_t>(bytes, info.length - done));
        if (!extent(place, wanted, kind == 0)) return QStringLiteral("cannot read the data at ") + at(place);
        done += wanted;
    }
    return {};
}

// The contents of a folder whose entry is `info`.
QString readContents(const UdfVolume& volume, const LongAd& where, const FileInfo& info,
                     std::vector<unsigned char>& data) {
    if (info.length > kMaxFolderBytes) return QStringLiteral("implausibly large folder at ") + at(where);
    if (info.adType == 3) {  // the contents are embedded in the entry itself
        if (info.length > std::uint64_t(info.adBytes))
            return QStringLiteral("damaged folder at ") + at(where);
        const unsigned char* p = info.entry.data() + info.adStart;
        data.assign(p, p + info.length);
        return {};
    }
    return forEachExtent(volume, where, info, [&](const LongAd& extent, std::uint32_t bytes, bool recorded) {
        const std::size_t old = data.size();
        const std::uint32_t blocks = (bytes + kBlock - 1) / kBlock;
        data.resize(old + std::size_t(blocks) * kBlock);
        if (recorded && !volume.read(extent, int(blocks), data.data() + old)) return false;
        data.resize(old + bytes);
        return true;
    });
}

struct Child {
    QString name;
    LongAd entry;
    bool folder = false;  // as the identifier says, for when the entry itself cannot be read
};

// Splits a folder's contents into its file identifiers, leaving out the parent and deleted ones, and
// those whose names no path can hold. Returns why not all of them could be taken, else empty.
QString parseIdentifiers(const std::vector<unsigned char>& data, const LongAd& where,
                         std::vector<Child>& out) {
    QString unusable;
    std::size_t pos = 0;
    while (pos + 38 <= data.size()) {
        const unsigned char* p = data.data() + pos;
        const std::size_t nameBytes = p[19], useBytes = le16(p + 36);
        if (!isTag(p, FileIdentifier) || pos + 38 + useBytes + nameBytes > data.size()) {
            return QStringLiteral("damaged file identifier at byte %1 of the folder at ").arg(pos) +
                   at(where);
        }
        const std::uint8_t characteristics = p[18];
        if (!(characteristics & 0x0C)) {  // neither deleted (4) nor the parent (8)
            const QString name = cs0Name(p + 38 + useBytes, int(nameBytes));
            if (name.isEmpty() || name.contains(QLatin1Char('/')) || name == QLatin1String(".") ||
                name == QLatin1String("..")) {
                if (unusable.isEmpty()) {
                    unusable = QStringLiteral("unusable file name at byte %1 of the folder at ").arg(pos) +
                               at(where);
                }
            } else {
                out.push_back(Child{name, longAd(p + 20), bool(characteristics & 0x02)});
            }
        }
        pos += (38 + useBytes + nameBytes + 3) & ~std::size_t(3);
    }
    return unusable;
}

LongAd placeOf(std::uint64_t location) {
    return LongAd{0, std::uint32_t(location), std::uint16_t(location >> 32)};
}

std::uint64_t locationOf(const LongAd& where) {
    return std::uint64_t(where.partition) << 32 | where.block;
}

}  // namespace

std::unique_ptr<UdfFolders> UdfFolders::open(ImageSectors& sectors, QString& error) {
    std::unique_ptr<UdfFolders> folders(new UdfFolders(sectors));
    error = folders->volume_.open();
    return error.isEmpty() ? std::move(folders) : nullptr;
}

ImageEntry UdfFolders::root() const {
    ImageEntry root;
    root.directory = true;
    root.location = locationOf(volume_.root());
    return root;
}

bool UdfFolders::list(const ImageEntry& folder, std::vector<ImageEntry>& out, QString& problem) {
    const LongAd where = placeOf(folder.location);
    FileInfo info;
    std::vector<unsigned char> data;
    std::vector<Child> children;
    QString error = folder.readable ? readFileEntry(volume_, where, info)
                                    : QStringLiteral("unreadable folder at ") + at(where);
    if (error.isEmpty() && info.type != kFolderType) error = QStringLiteral("not a folder at ") + at(where);
    if (error.isEmpty()) error = readContents(volume_, where, info, data);
    if (error.isEmpty() || !data.empty()) {
        const QString parseError = parseIdentifiers(data, where, children);
        if (error.isEmpty()) error = parseError;
    }
    const bool complete = error.isEmpty();
    problem = error;
    for (const Child& child : children) {
        FileInfo childInfo;
        const QString childError = readFileEntry(volume_, child.entry, childInfo);
        ImageEntry entry;
        entry.name = child.name;
        entry.location = locationOf(child.entry);
        if (!childError.isEmpty()) {
            if (problem.isEmpty()) problem = childError;
            entry.directory = child.folder;
            entry.readable = false;
            entry.length = child.folder ? 0 : -1;
        } else if (childInfo.type == kFileType) {
            entry.length = std::int64_t(std::min<std::uint64_t>(childInfo.length, INT64_MAX));
            entry.modified = childInfo.modified;
        } else if (childInfo.type == kFolderType) {
            entry.directory = true;
        } else {
            continue;  // links and special files
        }
        out.push_back(std::move(entry));
    }
    return complete;
}

QString UdfFolders::copy(const ImageEntry& file, const ImageDataSink& sink) {
    const LongAd where = placeOf(file.location);
    FileInfo info;
    if (QString error = readFileEntry(volume_, where, info); !error.isEmpty()) return error;
    if (info.adType == 3) {
        if (info.length > std::uint64_t(info.adBytes))
            return QStringLiteral("damaged file entry at ") + at(where);
        return sink(info.entry.data() + info.adStart, std::size_t(info.length))
                   ? QString()
                   : QStringLiteral("the copy cannot be written");
    }
    std::vector<unsigned char> chunk(std::size_t(kChunkBlocks) * kBlock);
    bool written = true;
    const QString error =
        forEachExtent(volume_, where, info, [&](const LongAd& extent, std::uint32_t bytes, bool recorded) {
            for (std::uint32_t done = 0; done < bytes;) {
                const std::uint32_t part = std::min<std::uint32_t>(bytes - done, std::uint32_t(chunk.size()));
                const std::uint32_t blocks = (part + kBlock - 1) / kBlock;
                const LongAd from{0, extent.block + done / kBlock, extent.partition};
                if (!recorded) {
                    std::fill(chunk.begin(), chunk.end(), 0);
                } else if (!volume_.read(from, int(blocks), chunk.data())) {
                    return false;
                }
                if (!sink(chunk.data(), part)) return written = false;
                done += part;
            }
            return true;
        });
    return written ? error : QStringLiteral("the copy cannot be written");
}

}  // namespace vt
