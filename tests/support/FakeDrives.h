#pragma once

#include <QString>
#include <map>
#include <set>

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
    };

    void add(QChar letter, Drive drive) { drives_[letter.toUpper()] = std::move(drive); }
    void remove(QChar letter) { drives_.erase(letter.toUpper()); }

    std::uint32_t logicalDrives() const override;
    int driveType(const QString& root) const override;
    DiskSpace diskSpace(const QString& root) const override;
    VolumeInformation volumeInformation(const QString& root) const override;
    QString mountPoint(const QString& root) const override;
    QString nativePath(const QString& drivePath) const override;

private:
    const Drive* find(const QString& root) const;
    std::map<QChar, Drive> drives_;
};

// Lists the real folders behind a FakeDriveTable, and fails on cue.
class FakeFileSystem final : public FileSystem {
public:
    explicit FakeFileSystem(const DriveTable& drives) : drives_(drives) {}

    std::unique_ptr<FindHandle> findFirst(const QString& folder, const QString& pattern, FindData& first) override;
    std::optional<std::uint32_t> attributes(const QString& path) override;
    std::optional<std::int64_t> fileLength(const QString& path) override;
    bool pathExists(const QString& path) override;

    // Drive paths ("D:\dir" or "D:\dir\file", compared without regard to case) that fail:
    std::set<QString> unlistable;      // folders whose listing does not start
    std::set<QString> unmeasurable;    // files whose length and attributes cannot be read
    std::set<QString> vanishing;       // entries listed but gone when queried
    // Extra attribute bits per drive path (hidden, system, archive, read-only).
    std::map<QString, std::uint32_t> extraAttributes;

private:
    bool failsIn(const std::set<QString>& set, const QString& path) const;
    const DriveTable& drives_;
};

}  // namespace vt::test
