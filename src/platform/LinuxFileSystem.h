#pragma once

#include "platform/FileSystem.h"

namespace vt {

class DriveTable;

// Directory listing and file queries on the drives of a DriveTable.
class LinuxFileSystem final : public FileSystem {
public:
    explicit LinuxFileSystem(const DriveTable& drives) : drives_(drives) {}
    std::unique_ptr<FindHandle> findFirst(const QString&, const QString&, FindData&) override { return nullptr; }
    std::optional<std::uint32_t> attributes(const QString&) override { return std::nullopt; }
    std::optional<std::int64_t> fileLength(const QString&) override { return std::nullopt; }
    bool pathExists(const QString&) override { return false; }

private:
    const DriveTable& drives_;
};

}  // namespace vt
