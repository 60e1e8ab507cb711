#pragma once

#include <QString>
#include <functional>
#include <map>
#include <optional>
#include <set>
#include <vector>

#include "platform/DriveTable.h"
#include "platform/FileSystem.h"

namespace vt::test {

// A drive table whose letters map onto folders of the test's own, with the volume details given.
class FakeDriveTable final : public DriveTable {
  public:
    struct Drive {
        int type = kDriveTypeCdRom;
        QString folder;  // native folder holding the drive's files
        DiskSpace space;
        VolumeInformation volume;
        bool readOnly = false;  // files then carry the read-only attribute
    };

    void add(QChar letter, Drive drive) { drives_[letter.toUpper()] = std::move(drive); }
    void remove(QChar letter) { drives_.erase(letter.toUpper()); }

    std::uint32_t logicalDrives() const override;
    int driveType(const QString& root) const override;
    DiskSpace diskSpace(const QString& root) const override;
    VolumeInformation volumeInformation(const QString& root) const override;
    bool readOnlyVolume(const QString& root) const override;
    QString mountPoint(const QString& root) const override;
    // Resolves stored paths against the real folder, as the real table does (resolveDrivePath).
    QString nativePath(const QString& drivePath) const override;
    // The drive's folder, type and volume details: the same while the same Drive stays added.
    QString mediumIdentity(const QString& root) const override;

  private:
    const Drive* find(const QString& root) const;
    std::map<QChar, Drive> drives_;
};

// Lists the real folders behind a FakeDriveTable, and fails on cue.
class FakeFileSystem final : public FileSystem {
  public:
    explicit FakeFileSystem(const DriveTable& drives) : drives_(drives) {}

    std::unique_ptr<FindHandle> findFirst(const QString& folder, const QString& pattern, FindData& first,
                                          FindStatus& status) override;
    std::optional<std::uint32_t> attributes(const QString& path) override;
    std::optional<std::int64_t> fileLength(const QString& path) override;
    bool pathExists(const QString& path) override;

    // Drive paths ("D:\dir" or "D:\dir\file", compared without regard to case) that fail:
    std::set<QString> unlistable;        // folders whose listing does not start
    std::set<QString> unmeasurable;      // files whose length and attributes cannot be read
    std::set<QString> vanishing;         // entries listed but gone when queried
    std::set<QString> breakingOff;       // folders whose listing fails after its first entry
    std::set<QString> mediumGoneAt;      // folders whose listing does not start: the medium is gone
    std::set<QString> mediumGoneDuring;  // folders whose listing fails after its first entry: medium gone
    // Lengths to report instead of the real file's (for sizes no test should have to write).
    std::map<QString, std::int64_t> lengths;
    // Extra attribute bits per drive path (hidden, system, archive, read-only).
    std::map<QString, std::uint32_t> extraAttributes;

    // Runs as each listing starts, with the folder (to act as the user or another window would meanwhile).
    std::function<void(const QString& folder)> whileListing;
    // How many listings were started, and the folders they were for, in order.
    std::vector<QString> listed;

  private:
    bool failsIn(const std::set<QString>& set, const QString& path) const;
    std::optional<std::int64_t> lengthOf(const QString& path) const;
    const DriveTable& drives_;
};

}  // namespace vt::test
