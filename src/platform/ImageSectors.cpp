#include "platform/ImageSectors.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

#include "platform/CueSheet.h"
#include "platform/ImageFileSectors.h"
#include "platform/NeroImage.h"

namespace vt {

namespace {

template <typename Sectors>
OpenedSectors opened(std::unique_ptr<Sectors> sectors) {
    if (!sectors->error().isEmpty()) return OpenedSectors{nullptr, sectors->error()};
    return OpenedSectors{std::move(sectors), QString()};
}

// A cue sheet is a few lines of text; anything much larger is not one.
constexpr qint64 kMaxCueBytes = 1 << 20;

OpenedSectors openCueSheet(const QString& path) {
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return OpenedSectors{nullptr, path + QStringLiteral(": ") + file.errorString()};
    if (file.size() > kMaxCueBytes)
        return OpenedSectors{nullptr, QStringLiteral("not a cue sheet: too large")};
    QString error;
    const std::optional<CueDataTrack> track = parseCueSheet(QString::fromUtf8(file.readAll()), error);
    if (!track) return OpenedSectors{nullptr, error};
    const QString data = QFileInfo(QFileInfo(path).dir(), track->file).filePath();
    return opened(std::make_unique<ImageFileSectors>(
        data, SectorLayout{track->sectorBytes, track->dataOffset, track->startByte}));
}

OpenedSectors openNeroImage(const QString& path) {
    QString error;
    const std::optional<SectorLayout> layout = readNeroLayout(path, error);
    if (!layout) return OpenedSectors{nullptr, error};
    return opened(std::make_unique<ImageFileSectors>(path, *layout));
}

}  // namespace

OpenedSectors openImageSectors(const QString& path) {
    if (path.endsWith(QLatin1String(".cue"), Qt::CaseInsensitive)) return openCueSheet(path);
    if (path.endsWith(QLatin1String(".nrg"), Qt::CaseInsensitive)) return openNeroImage(path);
    return opened(std::make_unique<ImageFileSectors>(path));
}

}  // namespace vt
