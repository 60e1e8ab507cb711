#include "support/FakeDrives.h"

#include <QDir>
#include <QFileInfo>
#include <vector>

namespace vt::test {

namespace {

QString normalised(const QString& drivePath) {
    QString p = drivePath.toUpper();
    while (p.size() > 3 && p.endsWith(QLatin1Char('\\'))) p.chop(1);
    return p;
}

class ListHandle final : public FindHandle {
public:
    explicit ListHandle(std::vector<FindData> entries) : entries_(std::move(entries)) {}
    bool next(FindData& entry) override {
        if (index_ >= entries_.size()) return false;
        entry = entries_[index_++];
        return true;
    }

private:
    std::vector<FindData> entries_;
    size_t index_ = 1;  // entry 0 went out with findFirst
};

}  // namespace

const FakeDriveTable::Drive* FakeDriveTable::find(const QString& root) const {
    if (root.size() < 2 || root[1] != QLatin1Char(':')) return nullptr;
    const auto it = drives_.find(root[0].toUpper());
    return it == drives_.end() ? nullptr : &it->second;
}

std::uint32_t FakeDriveTable::logicalDrives() const {
    std::uint32_t mask = 0;
    for (const auto& [letter, drive] : drives_) mask |= 1u << (letter.unicode() - 'A');
    return mask;
}

int FakeDriveTable::driveType(const QString& root) const {
    const Drive* d = find(root);
    return d ? d->type : 0;
}

DiskSpace FakeDriveTable::diskSpace(const QString& root) const {
    const Drive* d = find(root);
    return d ? d->space : DiskSpace{};
}

VolumeInformation FakeDriveTable::volumeInformation(const QString& root) const {
    const Drive* d = find(root);
    return d ? d->volume : VolumeInformation{};
}

QString FakeDriveTable::mountPoint(const QString& root) const {
    const Drive* d = find(root);
    return d ? d->folder : QString();
}

QString FakeDriveTable::nativePath(const QString& drivePath) const {
    const Drive* d = find(drivePath);
    if (!d || drivePath.size() < 3) return {};
    QString rest = drivePath.mid(3);
    rest.replace(QLatin1Char('\\'), QLatin1Char('/'));
    return rest.isEmpty() ? d->folder : d->folder + QLatin1Char('/') + rest;
}

bool FakeFileSystem::failsIn(const std::set<QString>& set, const QString& path) const {
    const QString key = normalised(path);
    for (const QString& s : set) {
        if (normalised(s) == key) return true;
    }
    return false;
}

std::unique_ptr<FindHandle> FakeFileSystem::findFirst(const QString& folder, const QString& pattern,
                                                      FindData& first) {
    if (failsIn(unlistable, folder)) return nullptr;
    const QString native = drives_.nativePath(folder);
    if (native.isEmpty() || !QFileInfo(native).isDir()) return nullptr;

    QDir dir(native);
    QDir::Filters filters = QDir::AllEntries | QDir::Hidden | QDir::System;
    const bool isRoot = normalised(folder).size() == 3;
    if (isRoot) filters |= QDir::NoDotAndDotDot;
    QStringList nameFilters;
    if (pattern != QLatin1String("*.*") && pattern != QLatin1String("*")) nameFilters << pattern;
    const QFileInfoList infos = dir.entryInfoList(nameFilters, filters, QDir::Name | QDir::DirsLast);

    std::vector<FindData> entries;
    if (!isRoot && nameFilters.isEmpty()) {
        entries.push_back({QStringLiteral("."), FileAttribute::Directory});
        entries.push_back({QStringLiteral(".."), FileAttribute::Directory});
    }
    for (const QFileInfo& info : infos) {
        if (info.fileName() == QLatin1String(".") || info.fileName() == QLatin1String("..")) continue;
        FindData data;
        data.name = info.fileName();
        data.attributes = info.isDir() ? FileAttribute::Directory : 0;
        entries.push_back(data);
    }
    if (entries.empty()) return nullptr;
    first = entries.front();
    return std::make_unique<ListHandle>(std::move(entries));
}

std::optional<std::uint32_t> FakeFileSystem::attributes(const QString& path) {
    if (failsIn(unmeasurable, path) || failsIn(vanishing, path)) return std::nullopt;
    const QFileInfo info(drives_.nativePath(path));
    if (!info.exists()) return std::nullopt;
    std::uint32_t bits = info.isDir() ? FileAttribute::Directory : 0;
    for (const auto& [p, extra] : extraAttributes) {
        if (normalised(p) == normalised(path)) bits |= extra;
    }
    return bits;
}

std::optional<std::int64_t> FakeFileSystem::fileLength(const QString& path) {
    if (failsIn(unmeasurable, path) || failsIn(vanishing, path)) return std::nullopt;
    const QFileInfo info(drives_.nativePath(path));
    if (!info.exists()) return std::nullopt;
    return info.size();
}

bool FakeFileSystem::pathExists(const QString& path) {
    if (failsIn(vanishing, path)) return false;
    const QString native = drives_.nativePath(path);
    return !native.isEmpty() && QFileInfo::exists(native);
}

}  // namespace vt::test
