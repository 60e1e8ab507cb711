#include "platform/AttachedImageFileSystem.h"

#include "platform/AttachedImages.h"
#include "platform/DiscImage.h"
#include "platform/DrivePath.h"

namespace vt {

namespace {

// A folder of an ImageWalk: its path within the image ("" for the root, "dir/sub" below it).
struct ImageFolder final : WalkFolder {
    explicit ImageFolder(QString within) : path(std::move(within)) {}
    QString path;
};

QString below(const QString& folder, const QString& name) {
    return folder.isEmpty() ? name : folder + QLatin1Char('/') + name;
}

class ImageWalk final : public DriveWalk {
  public:
    ImageWalk(std::shared_ptr<const DiscImage> image, QString top)
        : image_(std::move(image)), top_(std::move(top)) {}

    WalkFolder& top() override { return top_; }
    std::unique_ptr<WalkFolder> subfolder(WalkFolder& parent, const FindData& entry, const QString&) override {
        return std::make_unique<ImageFolder>(below(static_cast<ImageFolder&>(parent).path, entry.name));
    }
    std::unique_ptr<FindHandle> findFirst(WalkFolder& folder, const QString& pattern, FindData& first,
                                          FindStatus& status) override {
        return image_->findFirst(static_cast<ImageFolder&>(folder).path, pattern, first, status);
    }

  private:
    std::shared_ptr<const DiscImage> image_;
    ImageFolder top_;
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
    // A path that would leave the drive names no folder of it: a walk of nothing, listed as unreadable.
    return std::make_unique<ImageWalk>(at.image, at.within.value_or(QStringLiteral("\\")));
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
