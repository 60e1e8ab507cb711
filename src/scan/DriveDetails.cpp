#include "scan/DriveDetails.h"

#include <QLocale>

#include "platform/DriveTable.h"
#include "scan/WalkText.h"

namespace vt {

namespace {

// The system's buffers are 255 characters, NUL-filled: a longer text is cut to fit with its terminator.
QString fromBuffer(const QString& text) {
    constexpr int kBuffer = 255;
    QString buffer = text.left(kBuffer - 1);
    buffer.append(QString(kBuffer - buffer.size(), QChar(0)));
    return TrimNull(buffer);
}

}  // namespace

QString formatUsedSize(std::uint64_t bytes) {
    QLocale locale;
    locale.setNumberOptions(locale.numberOptions() & ~QLocale::OmitGroupSeparator);
    return locale.toString(qulonglong(bytes)) + QStringLiteral(" bytes");
}

QString serialText(std::uint32_t serial) {
    return QString::number(std::int32_t(serial));
}

DriveDetails readDriveDetails(const DriveTable& drives, const QString& root) {
    const DiskSpace space = drives.diskSpace(root);
    const VolumeInformation volume = drives.volumeInformation(root);
    DriveDetails details;
    details.usedSize =
        formatUsedSize(space.totalBytes >= space.freeBytes ? space.totalBytes - space.freeBytes : 0);
    details.label = fromBuffer(volume.label);
    details.fileSystemName = fromBuffer(volume.fileSystemName);
    details.serial = serialText(volume.serial);
    return details;
}

}  // namespace vt
