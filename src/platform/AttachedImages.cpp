#include "platform/AttachedImages.h"

#include <fcntl.h>
#include <sys/stat.h>

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QStringList>
#include <cerrno>
#include <cstring>

#include "platform/Descriptor.h"
#include "platform/DiscImage.h"
#include "platform/DrivePath.h"
#include "platform/FileNames.h"
#include "platform/LeftoverCopies.h"
#include "platform/WriteAll.h"

namespace vt {

namespace {

constexpr char16_t kFirstLetter = u'D';
constexpr char16_t kLastLetter = u'P';

std::uint32_t bitOf(QChar letter) {
    return 1u << (letter.unicode() - u'A');
}

QString rootOf(QChar letter) {
    return QString(letter) + QStringLiteral(":\\");
}

// Copies the file `within` of `image` to a new file `target`, readable only by this user; empty when it
// was copied whole, else why not (and nothing is left at `target`).
QString copyOut(const DiscImage& image, const QString& within, const QString& target) {
    const QByteArray native = QFile::encodeName(target);
    QString error;
    {
        const Descriptor file(
            ::open(native.constData(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC | O_NOFOLLOW, 0600));
        if (!file.valid()) return QString::fromLocal8Bit(std::strerror(errno));
        int writeError = 0;
        error = image.copyFile(within, [&](const unsigned char* data, std::size_t bytes) {
            writeError = writeAll(file.get(), reinterpret_cast<const char*>(data), qint64(bytes));
            return writeError == 0;
        });
        if (writeError != 0) error = QString::fromLocal8Bit(std::strerror(writeError));
    }
    if (!error.isEmpty()) QFile::remove(target);
    return error;
}

}  // namespace

struct AttachedImages::Drive {
    QChar letter;
    QString path;  // the image file, absolute and clean
    std::shared_ptr<const DiscImage> image;
    unsigned attachment = 0;
};

AttachedImages::AttachedImages(const DriveTable& mounted) : mounted_(mounted) {}

AttachedImages::~AttachedImages() = default;

AttachedImages::Attached AttachedImages::attach(const QString& path) {
    const QString absolute = QFileInfo(path).absoluteFilePath();
    for (const Drive& drive : drives_) {
        if (drive.path == absolute) return {rootOf(drive.letter), Refusal::None, {}};
    }
    const std::uint32_t taken = logicalDrives();
    QChar letter;
    for (char16_t c = kFirstLetter; c <= kLastLetter && letter.isNull(); ++c) {
        if (!(taken & bitOf(QChar(c)))) letter = QChar(c);
    }
    if (letter.isNull()) {
        return {{}, Refusal::NoFreeLetter, QStringLiteral("every drive letter from D: to P: is taken")};
    }
    DiscImage::Opened opened = DiscImage::open(absolute);
    if (!opened.image) return {{}, Refusal::Unreadable, opened.error};
    drives_.push_back(Drive{letter, absolute, std::move(opened.image), ++attachments_});
    return {rootOf(letter), Refusal::None, {}};
}

bool AttachedImages::detach(const QString& root) {
    const Drive* drive = find(root);
    if (!drive) return false;
    drives_.erase(drives_.begin() + (drive - drives_.data()));
    return true;
}

const AttachedImages::Drive* AttachedImages::find(const QString& root) const {
    const std::optional<QChar> letter = driveLetter(root);
    if (!letter) return nullptr;
    for (const Drive& drive : drives_) {
        if (drive.letter == *letter) return &drive;
    }
    return nullptr;
}

QString AttachedImages::imagePath(const QString& root) const {
    const Drive* drive = find(root);
    return drive ? drive->path : QString();
}

std::shared_ptr<const DiscImage> AttachedImages::image(const QString& root) const {
    const Drive* drive = find(root);
    return drive ? drive->image : nullptr;
}

std::uint32_t AttachedImages::logicalDrives() const {
    std::uint32_t mask = mounted_.logicalDrives();
    for (const Drive& drive : drives_) mask |= bitOf(drive.letter);
    return mask;
}

int AttachedImages::driveType(const QString& root) const {
    return find(root) ? kDriveTypeCdRom : mounted_.driveType(root);
}

DiskSpace AttachedImages::diskSpace(const QString& root) const {
    // A disc is full: all of its volume is used, none of it free.
    if (const Drive* drive = find(root)) return DiskSpace{drive->image->volume().usedBytes, 0};
    return mounted_.diskSpace(root);
}

VolumeInformation AttachedImages::volumeInformation(const QString& root) const {
    const Drive* drive = find(root);
    if (!drive) return mounted_.volumeInformation(root);
    const ImageVolume& volume = drive->image->volume();
    return VolumeInformation{volume.label, volume.fileSystemName, volume.serial};
}

bool AttachedImages::readOnlyVolume(const QString& root) const {
    return find(root) ? true : mounted_.readOnlyVolume(root);
}

QString AttachedImages::mountPoint(const QString& root) const {
    const Drive* drive = find(root);
    return drive ? drive->path : mounted_.mountPoint(root);
}

QString AttachedImages::nativePath(const QString& drivePath) const {
    return find(drivePath) ? QString() : mounted_.nativePath(drivePath);
}

OpenableFile AttachedImages::openableFile(const QString& drivePath) const {
    const Drive* drive = find(drivePath);
    if (!drive) return mounted_.openableFile(drivePath);
    const std::optional<QString> within = pathWithinDrive(drivePath);
    if (!within || within->isEmpty()) return {{}, {}, QStringLiteral("not a file of the image")};
    if (!copies_) {
        // Copies outlive a program that was killed; the first copy of the next program clears them away.
        removeCopiesOfEndedPrograms(QDir::tempPath());
        // QTemporaryDir makes its folder with mode 0700.
        copies_ = std::make_unique<QTemporaryDir>(copiesFolderTemplate(QDir::tempPath()));
        if (!copies_->isValid()) {
            const QString why = copies_->errorString();
            copies_.reset();
            return {{}, {}, QStringLiteral("no private temporary folder: ") + why};
        }
    }
    const QString folder = copies_->filePath(QString::number(++copyCount_));
    if (::mkdir(QFile::encodeName(folder).constData(), 0700) != 0) {
        return {{}, {}, QString::fromLocal8Bit(std::strerror(errno))};
    }
    const QString target = folder + QLatin1Char('/') + within->section(QLatin1Char('/'), -1);
    const QString error = copyOut(*drive->image, *within, target);
    if (!error.isEmpty()) return {{}, {}, error};
    return {nativePathText(QFile::encodeName(target)), folder, {}};
}

QString AttachedImages::mediumIdentity(const QString& root) const {
    const Drive* drive = find(root);
    if (!drive) return mounted_.mediumIdentity(root);
    return QStringList{QStringLiteral("image"), QString::number(drive->attachment), drive->path,
                       QString::number(drive->image->volume().serial)}
        .join(QLatin1Char('\n'));
}

}  // namespace vt
