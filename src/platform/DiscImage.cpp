#include "platform/DiscImage.h"

#include <fnmatch.h>

#include <QFile>
#include <QStringList>
#include <algorithm>

#include "platform/ImageSectors.h"
#include "platform/IsoFolders.h"
#include "platform/UdfFolders.h"
#include "platform/VolumeDescriptor.h"

namespace vt {

namespace {

std::uint32_t attributeBits(const QString& name, bool directory) {
    std::uint32_t bits = FileAttribute::ReadOnly | (directory ? FileAttribute::Directory : 0);
    if (name.startsWith(QLatin1Char('.'))) bits |= FileAttribute::Hidden;
    return bits;
}

bool matchesAll(const QString& pattern) {
    return pattern == QLatin1String("*.*") || pattern == QLatin1String("*");
}

// One folder of an opened image, listed when the search began: "." and ".." first (except at the root),
// then its entries in recorded order, those matching the pattern.
class ImageFindHandle final : public FindHandle {
  public:
    ImageFindHandle(std::vector<ImageEntry> entries, bool root, const QString& pattern, bool complete)
        : entries_(std::move(entries)),
          pattern_(matchesAll(pattern) ? QByteArray() : QFile::encodeName(pattern)),
          dots_(root ? 2 : 0),
          complete_(complete) {}

    bool next(FindData& entry) override {
        entry.rawName.clear();
        while (dots_ < 2) {
            const QString name = dots_++ == 0 ? QStringLiteral(".") : QStringLiteral("..");
            if (!matches(name)) continue;
            entry.name = name;
            entry.length = 0;
            entry.modified.reset();
            entry.attributes = FileAttribute::Directory | FileAttribute::ReadOnly;
            return true;
        }
        while (index_ < entries_.size()) {
            const ImageEntry& e = entries_[index_++];
            if (!matches(e.name)) continue;
            entry.name = e.name;
            entry.length = e.length;
            entry.modified = e.modified;
            entry.attributes = e.length < 0 ? 0 : attributeBits(e.name, e.directory);
            return true;
        }
        return false;
    }

    bool failed() const override { return index_ == entries_.size() && !complete_; }
    const std::vector<ImageEntry>& entries() const { return entries_; }

  private:
    bool matches(const QString& name) const {
        return pattern_.isEmpty() ||
               ::fnmatch(pattern_.constData(), QFile::encodeName(name).constData(), FNM_CASEFOLD) == 0;
    }

    std::vector<ImageEntry> entries_;
    QByteArray pattern_;  // empty: every entry
    int dots_;            // how many of "." and ".." are done
    bool complete_;       // false: the folder's records broke off after these entries
    std::size_t index_ = 0;
};

// Whether the root of `folders` can be listed at all (whole, or in part), noting why not in `damage`.
bool rootListable(ImageFolders& folders, QString& damage) {
    std::vector<ImageEntry> entries;
    const bool complete = folders.list(folders.root(), entries, damage);
    return complete || !entries.empty();
}

}  // namespace

DiscImage::~DiscImage() = default;

DiscImage::Opened DiscImage::open(const QString& path) {
    OpenedSectors opened = openImageSectors(path);
    if (!opened.sectors) return {nullptr, QStringLiteral("cannot open the image: ") + opened.error};
    std::unique_ptr<DiscImage> image(new DiscImage);
    image->sectors_ = std::move(opened.sectors);
    ImageSectors& sectors = *image->sectors_;
    const DiscSectorReader readSector = [&sectors](std::uint64_t sector, unsigned char* out) {
        return sectors.read(sector, 1, out);
    };

    const std::optional<DiscVolume> iso = readDiscVolume(readSector, false);
    QString why;
    if (const std::optional<DiscVolume> udf = readDiscVolume(readSector, true)) {
        QString damage;
        std::unique_ptr<UdfFolders> folders = UdfFolders::open(sectors, damage);
        // Unusable UDF structures on a bridge image leave its ISO 9660 side; a root read in part is kept.
        if (folders && (rootListable(*folders, damage) || !iso)) {
            image->volume_ = ImageVolume{udf->label, QStringLiteral("udf"), udf->volumeBytes, udf->serial};
            image->folders_ = std::move(folders);
            image->damage_ = damage;
            return {std::move(image), QString()};
        }
        why = damage;
    }
    if (!iso) {
        if (!why.isEmpty())
            return {nullptr, QStringLiteral("the image's root folder cannot be read: ") + why};
        return {nullptr, QStringLiteral("not a disc image: no ISO 9660 or UDF volume descriptors")};
    }
    // A damaged Joliet tree leaves the primary one.
    for (const bool joliet : {true, false}) {
        if (joliet && !iso->joliet) continue;
        QString damage;
        std::unique_ptr<IsoFolders> folders = IsoFolders::open(sectors, joliet, damage);
        if (folders && rootListable(*folders, damage)) {
            image->volume_ =
                ImageVolume{iso->label, QStringLiteral("iso9660"), iso->volumeBytes, iso->serial};
            image->folders_ = std::move(folders);
            image->damage_ = damage;
            return {std::move(image), QString()};
        }
        if (why.isEmpty()) why = damage;
    }
    return {nullptr, QStringLiteral("the image's root folder cannot be read: ") + why};
}

QString DiscImage::damage() const {
    const std::lock_guard<std::mutex> lock(mutex_);
    return damage_;
}

bool DiscImage::list(const ImageEntry& folder, std::vector<ImageEntry>& entries) const {
    const std::lock_guard<std::mutex> lock(mutex_);
    QString problem;
    const bool complete = folders_->list(folder, entries, problem);
    if (damage_.isEmpty()) damage_ = problem;
    return complete;
}

std::unique_ptr<FindHandle> DiscImage::findFirst(const ImageEntry& folder, bool atRoot,
                                                 const QString& pattern, FindData& first,
                                                 FindStatus& status) const {
    status = FindStatus::Unreadable;
    if (!folder.directory) return nullptr;
    std::vector<ImageEntry> entries;
    const bool complete = list(folder, entries);
    if (!complete && entries.empty()) return nullptr;
    auto handle = std::make_unique<ImageFindHandle>(std::move(entries), atRoot, pattern, complete);
    if (!handle->next(first)) {
        status = handle->failed() ? FindStatus::Unreadable : FindStatus::Empty;
        return nullptr;
    }
    status = FindStatus::Found;
    return handle;
}

std::unique_ptr<FindHandle> DiscImage::findFirst(const QString& folder, const QString& pattern,
                                                 FindData& first, FindStatus& status) const {
    status = FindStatus::Unreadable;
    const std::optional<ImageEntry> entry = entryAt(folder);
    if (!entry) return nullptr;
    return findFirst(*entry, folder.isEmpty(), pattern, first, status);
}

std::vector<ImageEntry> DiscImage::subfoldersOf(const FindHandle& handle) {
    std::vector<ImageEntry> folders;
    if (const auto* listing = dynamic_cast<const ImageFindHandle*>(&handle)) {
        for (const ImageEntry& entry : listing->entries()) {
            if (entry.directory) folders.push_back(entry);
        }
    }
    return folders;
}

std::optional<ImageEntry> DiscImage::entryAt(const QString& path) const {
    ImageEntry entry = folders_->root();
    if (path.isEmpty()) return entry;
    std::vector<std::uint64_t> above;  // the folders on the way, so that a folder inside itself ends it
    for (const QString& name : path.split(QLatin1Char('/'))) {
        if (!entry.directory || !entry.readable) return std::nullopt;
        above.push_back(entry.location);
        std::vector<ImageEntry> entries;
        list(entry, entries);
        const auto found = std::find_if(entries.begin(), entries.end(),
                                        [&name](const ImageEntry& e) { return e.name == name; });
        if (found == entries.end()) return std::nullopt;
        entry = std::move(*found);
        if (entry.directory && std::find(above.begin(), above.end(), entry.location) != above.end()) {
            entry.readable = false;
        }
    }
    return entry;
}

std::optional<std::uint32_t> DiscImage::attributes(const QString& path) const {
    const std::optional<ImageEntry> entry = entryAt(path);
    if (!entry || entry->length < 0) return std::nullopt;
    return attributeBits(entry->name, entry->directory);
}

std::optional<std::int64_t> DiscImage::fileLength(const QString& path) const {
    const std::optional<ImageEntry> entry = entryAt(path);
    if (!entry || entry->directory || entry->length < 0) return std::nullopt;
    return entry->length;
}

bool DiscImage::pathExists(const QString& path) const {
    return entryAt(path).has_value();
}

QString DiscImage::copyFile(const QString& path, const ImageDataSink& sink) const {
    const std::optional<ImageEntry> entry = entryAt(path);
    if (!entry || entry->directory) return QStringLiteral("no such file in the image");
    if (entry->length < 0) return QStringLiteral("the file's record cannot be read");
    const std::lock_guard<std::mutex> lock(mutex_);
    return folders_->copy(*entry, sink);
}

}  // namespace vt
