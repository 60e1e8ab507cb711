#include "support/FakeDrives.h"

#include <sys/stat.h>

#include <QDateTime>
#include <QDir>
#include <QFileInfo>

#include "platform/DrivePath.h"
#include "platform/FileNames.h"
#include "platform/NativePath.h"

namespace vt::test {

namespace {

QString normalised(const QString& drivePath) {
    QString p = drivePath.toUpper();
    while (p.size() > 3 && p.endsWith(QLatin1Char('\\'))) p.chop(1);
    return p;
}

class ListHandle final : public FindHandle {
  public:
    ListHandle(std::vector<FindData> entries, bool breaksOff, bool mediumGoes)
        : entries_(std::move(entries)), breaksOff_(breaksOff || mediumGoes), mediumGoes_(mediumGoes) {}
    bool next(FindData& entry) override {
        if (breaksOff_ || index_ >= entries_.size()) {
            failed_ = breaksOff_;
            return false;
        }
        entry = entries_[index_++];
        return true;
    }
    bool failed() const override { return failed_; }
    bool mediumGone() const override { return failed_ && mediumGoes_; }

  private:
    std::vector<FindData> entries_;
    bool breaksOff_;
    bool mediumGoes_;
    bool failed_ = false;
    size_t index_ = 1;  // entry 0 went out with findFirst
};

}  // namespace

const FakeDriveTable::Drive* FakeDriveTable::find(const QString& root) const {
    const std::optional<QChar> letter = driveLetter(root);
    if (!letter) return nullptr;
    const auto it = drives_.find(*letter);
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

bool FakeDriveTable::readOnlyVolume(const QString& root) const {
    const Drive* d = find(root);
    return d && d->readOnly;
}

QString FakeDriveTable::mountPoint(const QString& root) const {
    const Drive* d = find(root);
    return d ? d->folder : QString();
}

QString FakeDriveTable::nativePath(const QString& drivePath) const {
    const Drive* d = find(drivePath);
    return d ? resolveDrivePath(d->folder, drivePath) : QString();
}

QString FakeDriveTable::mediumIdentity(const QString& root) const {
    const Drive* d = find(root);
    if (!d) return {};
    return QStringList{d->folder, QString::number(d->type), d->volume.label, d->volume.fileSystemName,
                       QString::number(d->volume.serial)}
        .join(QLatin1Char('\n'));
}

bool FakeFileSystem::failsIn(const std::set<QString>& set, const QString& path) const {
    const QString key = normalised(path);
    for (const QString& s : set) {
        if (normalised(s) == key) return true;
    }
    return false;
}

std::optional<std::int64_t> FakeFileSystem::lengthOf(const QString& path) const {
    for (const auto& [p, length] : lengths) {
        if (normalised(p) == normalised(path)) return length;
    }
    const QFileInfo info(drives_.nativePath(path));
    if (!info.exists()) return std::nullopt;
    return info.isDir() ? 0 : info.size();
}

std::unique_ptr<FindHandle> FakeFileSystem::findFirst(const QString& folder, const QString& pattern,
                                                      FindData& first, FindStatus& status) {
    listed.push_back(folder);
    if (whileListing) whileListing(folder);
    status = FindStatus::Unreadable;
    if (failsIn(unlistable, folder)) return nullptr;
    if (failsIn(mediumGoneAt, folder)) {
        status = FindStatus::MediumGone;
        return nullptr;
    }
    const QString native = drives_.nativePath(folder);
    if (native.isEmpty() || !QFileInfo(native).isDir()) return nullptr;

    QDir dir(native);
    QDir::Filters filters = QDir::AllEntries | QDir::Hidden | QDir::System | QDir::NoDotAndDotDot;
    const bool isRoot = normalised(folder).size() == 3;
    QStringList nameFilters;
    if (pattern != QLatin1String("*.*") && pattern != QLatin1String("*")) nameFilters << pattern;
    const QFileInfoList infos = dir.entryInfoList(nameFilters, filters, QDir::Name | QDir::DirsLast);

    std::vector<FindData> entries;
    if (!isRoot && nameFilters.isEmpty()) {
        entries.push_back({QStringLiteral("."), FileAttribute::Directory, 0, {}, {}});
        entries.push_back({QStringLiteral(".."), FileAttribute::Directory, 0, {}, {}});
    }
    const QString prefix = folder.endsWith(QLatin1Char('\\')) ? folder : folder + QLatin1Char('\\');
    for (const QFileInfo& info : infos) {
        FindData data;
        data.name = info.fileName();
        const QString path = prefix + data.name;
        const std::optional<std::uint32_t> bits = attributes(path);
        const std::optional<std::int64_t> length = fileLength(path);
        data.attributes = bits ? *bits : (info.isDir() ? FileAttribute::Directory : 0);
        data.length = bits && length ? *length : -1;
        if (!info.isDir()) data.modified = info.lastModified().toSecsSinceEpoch();
        entries.push_back(data);
    }
    if (entries.empty()) {
        status = FindStatus::Empty;
        return nullptr;
    }
    status = FindStatus::Found;
    first = entries.front();
    return std::make_unique<ListHandle>(std::move(entries), failsIn(breakingOff, folder),
                                        failsIn(mediumGoneDuring, folder));
}

std::optional<std::uint32_t> FakeFileSystem::attributes(const QString& path) {
    if (failsIn(unmeasurable, path) || failsIn(vanishing, path)) return std::nullopt;
    const QFileInfo info(drives_.nativePath(path));
    if (!info.exists()) return std::nullopt;
    std::uint32_t bits = info.isDir() ? FileAttribute::Directory : 0;
    const std::optional<QChar> letter = driveLetter(path);
    if (letter && drives_.readOnlyVolume(QString(*letter) + QStringLiteral(":\\")))
        bits |= FileAttribute::ReadOnly;
    for (const auto& [p, extra] : extraAttributes) {
        if (normalised(p) == normalised(path)) bits |= extra;
    }
    return bits;
}

std::optional<std::int64_t> FakeFileSystem::fileLength(const QString& path) {
    if (failsIn(unmeasurable, path) || failsIn(vanishing, path)) return std::nullopt;
    return lengthOf(path);
}

bool FakeFileSystem::pathExists(const QString& path) {
    if (failsIn(vanishing, path)) return false;
    const QString native = drives_.nativePath(path);
    struct stat st {};
    return !native.isEmpty() && ::stat(nativePathBytes(native).constData(), &st) == 0;
}

}  // namespace vt::test
