#pragma once

#include "platform/FileSystem.h"

namespace vt {

class AttachedImages;

// Directory listing and file queries on the drives of an AttachedImages table: a drive of an attached
// image is read from the image, every other drive from the file system it is laid over. A walk of an image
// holds the image it began with, so detaching it meanwhile cannot end the walk half-way (the scan learns of
// it from the drive's medium identity). Both arguments must outlive this object.
class AttachedImageFileSystem final : public FileSystem {
  public:
    AttachedImageFileSystem(FileSystem& mounted, const AttachedImages& images)
        : mounted_(mounted), images_(images) {}

    std::unique_ptr<FindHandle> findFirst(const QString& folder, const QString& pattern, FindData& first,
                                          FindStatus& status) override;
    std::unique_ptr<DriveWalk> walk(const QString& folder) override;
    std::optional<std::uint32_t> attributes(const QString& path) override;
    std::optional<std::int64_t> fileLength(const QString& path) override;
    bool pathExists(const QString& path) override;

  private:
    FileSystem& mounted_;
    const AttachedImages& images_;
};

}  // namespace vt
