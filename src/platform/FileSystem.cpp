#include "platform/FileSystem.h"

namespace vt {

namespace {

// A folder of a PathWalk: nothing but its drive path.
struct PathFolder final : WalkFolder {
    explicit PathFolder(QString folderPath) : path(std::move(folderPath)) {}
    QString path;
};

// Walks by drive paths, each folder listed through FileSystem::findFirst.
class PathWalk final : public DriveWalk {
  public:
    PathWalk(FileSystem& fileSystem, QString top) : fileSystem_(fileSystem), top_(std::move(top)) {}

    WalkFolder& top() override { return top_; }
    std::unique_ptr<WalkFolder> subfolder(WalkFolder&, const FindData&, const QString& path) override {
        return std::make_unique<PathFolder>(path);
    }
    std::unique_ptr<FindHandle> findFirst(WalkFolder& folder, const QString& pattern, FindData& first,
                                          FindStatus& status) override {
        return fileSystem_.findFirst(static_cast<PathFolder&>(folder).path, pattern, first, status);
    }

  private:
    FileSystem& fileSystem_;
    PathFolder top_;
};

}  // namespace

std::unique_ptr<DriveWalk> FileSystem::walk(const QString& folder) {
    return std::make_unique<PathWalk>(*this, folder);
}

}  // namespace vt
