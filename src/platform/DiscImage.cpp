#include "platform/DiscImage.h"

#include <QFile>
#include <fnmatch.h>

#include "platform/ImageSectors.h"
#include "platform/IsoTreeReader.h"
#include "platform/UdfTreeReader.h"
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

// One folder of an opened image: "." and ".." first (except at the root), then its entries in recorded
// order, those matching the pattern.
class ImageFindHandle final : public FindHandle {
  public:
    ImageFindHandle(const std::vector<ImageTree::Entry>& entries, bool root, const QString& pattern,
                    bool complete)
        : entries_(entries),
          pattern_(matchesAll(pattern) ? QByteArray() : QFile::encodeName(pattern)),
          dots_(root ? 2 : 0),
          complete_(complete) {}

    bool next(FindData& entry) override {
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
            const ImageTree::Entry& e = entries_[index_++];
            if (!matches(e.name)) continue;
            entry.name = e.name;
            entry.length = e.length;
            entry.modified = e.modified;
            entry.attributes = e.length < 0 ? 0 : attributeBits(e.name, e.isDirectory());
            return true;
        }
        return false;
    }

    bool failed() const override { return index_ == entries_.size() && !complete_; }

  private:
    bool matches(const QString& name) const {
        return pattern_.isEmpty() || ::fnmatch(pattern_.constData(), QFile::encodeName(name).constData(),
                                               FNM_CASEFOLD) == 0;
    }

    const std::vector<ImageTree::Entry>& entries_;
    QByteArray pattern_;  // empty: every entry
    int dots_;            // how many of "." and ".." are done
    bool complete_;       // false: the folder's records broke off after these entries
    std::size_t index_ = 0;
};

}  // namespace

DiscImage::Opened DiscImage::open(const QString& path) {
    OpenedSectors opened = openImageSectors(path);
    if (!opened.sectors) return {nullptr, QStringLiteral("cannot open the image: ") + opened.error};
    ImageSectors& sectors = *opened.sectors;
    const DiscSectorReader readSector = [&sectors](std::uint64_t sector, unsigned char* out) {
        return sectors.read(sector, 1, out);
    };

    std::unique_ptr<DiscImage> image(new DiscImage);
    const std::optional<DiscVolume> iso = readDiscVolume(readSector, false);
    if (const std::optional<DiscVolume> udf = readDiscVolume(readSector, true)) {
        ImageTree tree;
        const QString damage = readUdfTree(sectors, tree);
        // Unusable UDF structures on a bridge image leave its ISO 9660 side; a tree read in part is kept.
        if (tree.readable(0) || !iso) {
            image->volume_ = ImageVolume{udf->label, QStringLiteral("udf"), udf->volumeBytes, udf->serial};
            image->tree_ = std::move(tree);
            image->damage_ = damage;
            return refusedIfUnreadable(std::move(image));
        }
    }
    if (!iso) return {nullptr, QStringLiteral("not a disc image: no ISO 9660 or UDF volume descriptors")};
    image->volume_ = ImageVolume{iso->label, QStringLiteral("iso9660"), iso->volumeBytes, iso->serial};
    image->damage_ = readIsoTree(sectors, iso->joliet, image->tree_);
    if (iso->joliet && !image->tree_.readable(0)) {  // a damaged Joliet tree leaves the primary one
        ImageTree primary;
        const QString damage = readIsoTree(sectors, false, primary);
        if (primary.readable(0)) {
            image->tree_ = std::move(primary);
            image->damage_ = damage;
        }
    }
    return refusedIfUnreadable(std::move(image));
}

DiscImage::Opened DiscImage::refusedIfUnreadable(std::unique_ptr<DiscImage> image) {
    if (image->tree_.readable(0) || !image->tree_.entries(0).empty()) return {std::move(image), QString()};
    return {nullptr, QStringLiteral("the image's root folder cannot be read: ") + image->damage_};
}

std::unique_ptr<FindHandle> DiscImage::findFirst(const QString& folder, const QString& pattern,
                                                 FindData& first, FindStatus& status) const {
    status = FindStatus::Unreadable;
    const std::optional<int> number = tree_.folderAt(folder);
    if (!number || (!tree_.readable(*number) && tree_.entries(*number).empty())) return nullptr;
    auto handle = std::make_unique<ImageFindHandle>(tree_.entries(*number), folder.isEmpty(), pattern,
                                                    tree_.readable(*number));
    if (!handle->next(first)) {
        status = handle->failed() ? FindStatus::Unreadable : FindStatus::Empty;
        return nullptr;
    }
    status = FindStatus::Found;
    return handle;
}

std::optional<std::uint32_t> DiscImage::attributes(const QString& path) const {
    if (path.isEmpty()) return FileAttribute::Directory | FileAttribute::ReadOnly;
    const ImageTree::Entry* entry = tree_.entryAt(path);
    if (!entry || entry->length < 0) return std::nullopt;
    return attributeBits(entry->name, entry->isDirectory());
}

std::optional<std::int64_t> DiscImage::fileLength(const QString& path) const {
    const ImageTree::Entry* entry = tree_.entryAt(path);
    if (!entry || entry->isDirectory() || entry->length < 0) return std::nullopt;
    return entry->length;
}

bool DiscImage::pathExists(const QString& path) const {
    return path.isEmpty() || tree_.entryAt(path);
}

}  // namespace vt
