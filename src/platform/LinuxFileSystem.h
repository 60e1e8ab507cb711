#pragma once

#include "platform/FileSystem.h"

namespace vt {

class DriveTable;

// Directory listing and file queries on the drives of a DriveTable, which must outlive this object.
// Attributes as the catalogue knows them: directory for a folder, hidden for a name starting with '.',
// read-only when nobody may write the entry or the volume cannot be written; never system or archive.
// Symbolic links and special files are not listed, so a walk never follows a link out of the disc or
// round in a loop. Names are read as FileNames.h decides (UTF-8, otherwise Windows-1256). Errors that mean
// the medium itself is gone (a dead FUSE server, a device gone, an I/O error on a folder) are told apart
// as FindStatus::MediumGone. A walk reads relative to a descriptor of its top folder taken when it starts.
class LinuxFileSystem final : public FileSystem {
  public:
    explicit LinuxFileSystem(const DriveTable& drives) : drives_(drives) {}

    std::unique_ptr<FindHandle> findFirst(const QString& folder, const QString& pattern, FindData& first,
                                          FindStatus& status) override;
    std::unique_ptr<DriveWalk> walk(const QString& folder) override;
    std::optional<std::uint32_t> attributes(const QString& path) override;
    std::optional<std::int64_t> fileLength(const QString& path) override;
    bool pathExists(const QString& path) override;

  private:
    const DriveTable& drives_;
};

}  // namespace vt
