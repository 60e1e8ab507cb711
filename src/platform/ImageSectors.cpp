#include "platform/ImageSectors.h"

#include "platform/CdioImageSectors.h"
#include "platform/ImageFileSectors.h"

namespace vt {

namespace {

template <typename Sectors>
OpenedSectors opened(std::unique_ptr<Sectors> sectors) {
    if (!sectors->error().isEmpty()) return OpenedSectors{nullptr, sectors->error()};
    return OpenedSectors{std::move(sectors), QString()};
}

}  // namespace

OpenedSectors openImageSectors(const QString& path) {
    if (path.endsWith(QLatin1String(".cue"), Qt::CaseInsensitive)) {
        return opened(std::make_unique<CdioImageSectors>(path, CdioImageSectors::Kind::CueSheet));
    }
    if (path.endsWith(QLatin1String(".nrg"), Qt::CaseInsensitive)) {
        return opened(std::make_unique<CdioImageSectors>(path, CdioImageSectors::Kind::Nero));
    }
    return opened(std::make_unique<ImageFileSectors>(path));
}

}  // namespace vt
