#include "platform/AttachedImageFileSystem.h"

#include "platform/AttachedImages.h"
#include "platform/DiscImage.h"
#include "platform/DrivePath.h"

namespace vt {

namespace {

// A folder of an ImageWalk: its entry in the image, and the subfolders its latest listing found, from
// which they are entered without looking them up again.
struct ImageFolder final : WalkFolder {
    ImageFolder(ImageEntry folder, const ImageFolder* above) : entry(std::move(folder)), parent(above) {}
    ImageEntry entry;
    const ImageFolder* parent;  // null for the walk's top
    std::vector<ImageEntry> subfolders;
    std::size_t entered = 0;  // subfolders are entered in listed order: where to look for the next one
};

// A walk of an image from the entry of each folder: every folder is read once per listing, and nothing is
// kept but the subfolders of the folders the walk is inside.
class ImageWalk final : public DriveWalk {
  public:
    ImageWalk(std::shared_ptr<const DiscImage> image, std::optional<ImageEntry> top, bool atRoot)
        : image_(std::move(image)), top_(top.value_or(ImageEntry{}), nullptr), atRoot_(atRoot) {}

    WalkFolder& top() override { return top_; }

    std::unique_ptr<WalkFolder> subfolder(WalkFolder& parent, const FindData& entry,
                                          const QString&) override {
        auto& above = static_cast<ImageFolder&>(parent);
        ImageEntry found;  // not a folder: lists as unreadable
        for (std::size_t tried = 0; tried < above.subfolders.size(); ++tried) {
            const std::size_t i = (above.entered + tried) % above.subfolders.size();
            if (above.subfolders[i].name == entry.name) {
                found = above.subfolders[i];
                above.entered = i + 1;
                break;
            }
        }
        auto folder = std::make_unique<ImageFolder>(std::move(found), &above);
        // A folder recorded inside itself would lead the walk round for ever.
        for (const ImageFolder* f = &above; f; f = f->parent) {
            if (f->entry.location == folder->entry.location) folder->entry.readable = false;
        }
        return folder;
    }

    std::unique_ptr<FindHandle> findFirst(WalkFolder& walkFolder, const QString& pattern, FindData& first,
                                          FindStatus& status) override {
        auto& folder = static_cast<ImageFolder&>(walkFolder);
        std::unique_ptr<FindHandle> handle =
            image_->findFirst(folder.entry, atRoot_ && !folder.parent, pattern, first, status);
        folder.subfolders = handle ? DiscImage::subfoldersOf(*handle) : std::vector<ImageEntry>();
        folder.entered = 0;
        return handle;
    }

  private:
    std::shared_ptr<const DiscImage> image_;
    ImageFolder top_;
    bool atRoot_;
};

// The image under the drive of `drivePath` and the path within it; null image when it is no image's.
struct ImagePath {
    std::shared_ptr<const DiscImage> image;
    std::optional<QString> within;  // nothing when the path would leave the drive
};

ImagePath imagePath(const AttachedImages& images, const QString& drivePath) {
    ImagePath found{images.image(drivePath), std::nullopt};
    if (found.image) found.within = pathWithinDrive(drivePath);
    return found;
}

}  // namespace

std::unique_ptr<FindHandle> AttachedImageFileSystem::findFirst(const QString& folder, const QString& pattern,
                                                               FindData& first, FindStatus& status) {
    const ImagePath at = imagePath(images_, folder);
    if (!at.image) return mounted_.findFirst(folder, pattern, first, status);
    status = FindStatus::Unreadable;
    return at.within ? at.image->findFirst(*at.within, pattern, first, status) : nullptr;
}

std::unique_ptr<DriveWalk> AttachedImageFileSystem::walk(const QString& folder) {
    const ImagePath at = imagePath(images_, folder);
    if (!at.image) return mounted_.walk(folder);
    // A path that names no folder of the image (or would leave the drive) gives a walk of nothing, listed
    // as unreadable.
    const std::optional<ImageEntry> top = at.within ? at.image->entryAt(*at.within) : std::nullopt;
    return std::make_unique<ImageWalk>(at.image, top, at.within && at.within->isEmpty());
}

std::optional<std::uint32_t> AttachedImageFileSystem::attributes(const QString& path) {
    const ImagePath at = imagePath(images_, path);
    if (!at.image) return mounted_.attributes(path);
    return at.within ? at.image->attributes(*at.within) : std::nullopt;
}

std::optional<std::int64_t> AttachedImageFileSystem::fileLength(const QString& path) {
    const ImagePath at = imagePath(images_, path);
    if (!at.image) return mounted_.fileLength(path);
    return at.within ? at.image->fileLength(*at.within) : std::nullopt;
}

bool AttachedImageFileSystem::pathExists(const QString& path) {
    const ImagePath at = imagePath(images_, path);
    if (!at.image) return mounted_.pathExists(path);
    return at.within && at.image->pathExists(*at.within);
}

}  // namespace vt
