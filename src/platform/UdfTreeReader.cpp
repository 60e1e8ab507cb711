#include "platform/UdfTreeReader.h"

#include <algorithm>
#include <cstdint>
#include <optional>
#include <set>
#include <vector>

#include <QDateTime>
#include <QTimeZone>

#include "platform/ImageTree.h"
#include "platform/UdfVolume.h"

namespace vt {

namespace {

using namespace udf;

// Bounds on what one image may ask of the reader, far above anything an authoring tool writes.
constexpr std::uint64_t kMaxFolderBytes = 64ull << 20;
constexpr int kMaxExtents = 4096;
constexpr std::size_t kMaxEntries = 20'000'000;

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
    if (type == 0 || offsetMinutes == -2047 || offsetMinutes < -1440 || offsetMinutes > 1440) offsetMinutes = 0;
    const QDate date(std::int16_t(le16(t + 2)), t[4], t[5]);
    const QTime time(t[6], t[7], std::min<int>(t[8], 59));
    if (!date.isValid() || !time.isValid()) return std::nullopt;
    return QDateTime(date, time, QTimeZone::utc()).toSecsSinceEpoch() - std::int64_t(offsetMinutes) * 60;
}

constexpr std::uint8_t kFolderType = 4, kFileType = 5;

// Reads the (extended) file entry at `where`; empty when sound, else why not.
QString readFileEntry(const UdfVolume& volume, const LongAd& where, FileInfo& info) {
    if (!volume.read(where, 1, info.entry.data())) return QStringLiteral("cannot read the file entry at ") + at(where);
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

// Appends the bytes of one extent (`bytes` long at `where`) to `data`, zeros for an unrecorded one.
bool appendExtent(const UdfVolume& volume, const LongAd& where, std::uint32_t bytes, bool recorded,
                  std::vector<unsigned char>& data) {
    const std::size_t old = data.size();
    const std::uint32_t blocks = (bytes + kBlock - 1) / kBlock;
    data.resize(old + std::size_t(blocks) * kBlock);
    if (recorded && !volume.read(where, int(blocks), data.data() + old)) return false;
    data.resize(old + bytes);
    return true;
}

// The contents of a folder whose entry is `info`, from its allocation descriptors.
QString readContents(const UdfVolume& volume, const LongAd& where, const FileInfo& info,
                     std::vector<unsigned char>& data) {
    const QString damaged = QStringLiteral("damaged folder at ") + at(where);
    if (info.length > kMaxFolderBytes) return QStringLiteral("implausibly large folder at ") + at(where);
    if (info.adType == 3) {  // the contents are embedded in the entry itself
        if (info.length > std::uint64_t(info.adBytes)) return damaged;
        const unsigned char* p = info.entry.data() + info.adStart;
        data.assign(p, p + info.length);
        return {};
    }
    const int adSize = info.adType == 0 ? 8 : info.adType == 1 ? 16 : info.adType == 2 ? 20 : 0;
    if (adSize == 0) return damaged;
    Block continuation{};
    const unsigned char* ad = info.entry.data() + info.adStart;
    const unsigned char* end = ad + info.adBytes;
    for (int extents = 0; data.size() < info.length; ++extents) {
        if (end - ad < adSize || extents > kMaxExtents) return damaged;
        const std::uint32_t bytes = le32(ad) & 0x3FFFFFFF;
        const int kind = int(le32(ad) >> 30);
        LongAd extent{bytes, le32(ad + 4), where.partition};
        if (info.adType == 1) extent.partition = le16(ad + 8);
        if (info.adType == 2) extent = LongAd{bytes, le32(ad + 12), le16(ad + 16)};
        ad += adSize;
        if (bytes == 0) return damaged;
        if (kind == 3) {  // the descriptors go on in an allocation extent descriptor
            if (!volume.read(extent, 1, continuation.data()) || !isTag(continuation.data(), AllocationExtent) ||
                le32(continuation.data() + 20) > kBlock - 24) {
                return damaged;
            }
            ad = continuation.data() + 24;
            end = ad + le32(continuation.data() + 20);
            continue;
        }
        const std::uint32_t wanted = std::uint32_t(std::min<std::uint64_t>(bytes, info.length - data.size()));
        if (!appendExtent(volume, extent, wanted, kind == 0, data)) {
            return QStringLiteral("cannot read the folder at ") + at(where);
        }
    }
    return {};
}

struct Child {
    QString name;
    LongAd entry;
    bool folder = false;  // as the identifier says, for when the entry itself cannot be read
};

// Splits a folder's contents into its file identifiers, leaving out the parent and deleted ones, and
// those whose names no path can hold. Returns why not all of them could be taken, else empty.
QString parseIdentifiers(const std::vector<unsigned char>& data, const LongAd& where, std::vector<Child>& out) {
    QString unusable;
    std::size_t pos = 0;
    while (pos + 38 <= data.size()) {
        const unsigned char* p = data.data() + pos;
        const std::size_t nameBytes = p[19], useBytes = le16(p + 36);
        if (!isTag(p, FileIdentifier) || pos + 38 + useBytes + nameBytes > data.size()) {
            return QStringLiteral("damaged file identifier at byte %1 of the folder at ").arg(pos) + at(where);
        }
        const std::uint8_t characteristics = p[18];
        if (!(characteristics & 0x0C)) {  // neither deleted (4) nor the parent (8)
            const QString name = cs0Name(p + 38 + useBytes, int(nameBytes));
            if (name.isEmpty() || name.contains(QLatin1Char('/')) || name == QLatin1String(".") ||
                name == QLatin1String("..")) {
                if (unusable.isEmpty()) {
                    unusable = QStringLiteral("unusable file name at byte %1 of the folder at ").arg(pos) + at(where);
                }
            } else {
                out.push_back(Child{name, longAd(p + 20), bool(characteristics & 0x02)});
            }
        }
        pos += (38 + useBytes + nameBytes + 3) & ~std::size_t(3);
    }
    return unusable;
}

// Walks the folders from the root, each folder's children in recorded order, keeping the first error.
class UdfWalk {
  public:
    UdfWalk(const UdfVolume& volume, ImageTree& tree) : volume_(volume), tree_(tree) {}

    QString run() {
        pending_.push_back({0, volume_.root()});
        seen_.insert(volume_.root());
        while (!pending_.empty()) {
            const auto [folder, where] = pending_.back();
            pending_.pop_back();
            readFolder(folder, where);
        }
        return error_;
    }

  private:
    void note(const QString& error) {
        if (error_.isEmpty()) error_ = error;
    }

    void readFolder(int folder, const LongAd& where) {
        FileInfo info;
        std::vector<unsigned char> data;
        std::vector<Child> children;
        QString error = readFileEntry(volume_, where, info);
        if (error.isEmpty() && info.type != kFolderType) error = QStringLiteral("not a folder at ") + at(where);
        if (error.isEmpty()) error = readContents(volume_, where, info, data);
        if (error.isEmpty() || !data.empty()) {
            const QString parseError = parseIdentifiers(data, where, children);
            if (error.isEmpty()) error = parseError;
        }
        if (!error.isEmpty()) {
            note(error);
            tree_.markUnreadable(folder);
        }
        std::vector<std::pair<int, LongAd>> subfolders;
        for (const Child& child : children) {
            if (++entries_ > kMaxEntries) {
                note(QStringLiteral("implausibly many entries"));
                tree_.markUnreadable(folder);
                return;
            }
            addChild(folder, child, subfolders);
        }
        // Pushed in reverse so that the first subfolder is read next, keeping the walk depth-first.
        pending_.insert(pending_.end(), subfolders.rbegin(), subfolders.rend());
    }

    void addChild(int folder, const Child& child, std::vector<std::pair<int, LongAd>>& subfolders) {
        FileInfo info;
        const QString error = readFileEntry(volume_, child.entry, info);
        if (!error.isEmpty()) {
            note(error);
            if (child.folder) {
                tree_.markUnreadable(tree_.addFolder(folder, child.name));
            } else {
                tree_.addFile(folder, child.name, -1);
            }
            return;
        }
        if (info.type == kFileType) {
            tree_.addFile(folder, child.name, std::int64_t(std::min<std::uint64_t>(info.length, INT64_MAX)),
                          info.modified);
        } else if (info.type == kFolderType) {
            if (seen_.count(child.entry)) {
                note(QStringLiteral("a folder is recorded inside itself at ") + at(child.entry));
                return;
            }
            seen_.insert(child.entry);
            subfolders.push_back({tree_.addFolder(folder, child.name), child.entry});
        }
    }

    const UdfVolume& volume_;
    ImageTree& tree_;
    std::vector<std::pair<int, LongAd>> pending_;
    std::set<LongAd> seen_;
    std::size_t entries_ = 0;
    QString error_;
};

}  // namespace

QString readUdfTree(ImageSectors& sectors, ImageTree& tree) {
    UdfVolume volume(sectors);
    const QString error = volume.open();
    if (!error.isEmpty()) {
        tree.markUnreadable(0);
        return error;
    }
    return UdfWalk(volume, tree).run();
}

}  // namespace vt
