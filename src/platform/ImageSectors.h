#pragma once

#include <QString>
#include <cstdint>
#include <memory>

namespace vt {

constexpr int kImageSectorBytes = 2048;

// The 2048-byte logical sectors of a disc image, whatever its layout on disk (plain sectors, raw 2352-byte
// CD sectors, a cue sheet's track, a Nero image). Not safe for use by two threads at once.
class ImageSectors {
  public:
    virtual ~ImageSectors() = default;
    // Copies `count` sectors starting at `first` into `out` (count * 2048 bytes); false when any of them
    // lies beyond the image or cannot be read, in which case `out` holds nothing useful.
    virtual bool read(std::uint64_t first, int count, unsigned char* out) = 0;
    // How many sectors the image holds.
    virtual std::uint64_t sectorCount() const = 0;
};

struct OpenedSectors {
    std::unique_ptr<ImageSectors> sectors;  // null when the image cannot be opened
    QString error;                          // why, when `sectors` is null
};

// Opens `path`: a cue sheet (".cue") or a Nero image (".nrg") as its first data track; any
// other file as plain 2048-byte sectors, or as raw 2352-byte CD sectors when it is laid out as a raw data
// track.
OpenedSectors openImageSectors(const QString& path);

}  // namespace vt
