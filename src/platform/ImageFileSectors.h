#pragma once

#include <optional>

#include "platform/ImageSectors.h"

namespace vt {

// How a data track's sectors lie in a file.
struct SectorLayout {
    int sectorBytes = kImageSectorBytes;  // bytes per sector in the file
    int dataOffset = 0;                   // where a sector's 2048 user bytes start within it
    std::uint64_t startByte = 0;          // where the track's first sector starts
};

// An image file holding a data track sector after sector: 2048 bytes each (.iso), or raw 2352-byte CD
// sectors (.bin) whose user data sits after a 12-byte sync and a 4-byte header (mode 1) or after a further
// 8-byte subheader (mode 2 form 1). Owns the file descriptor.
class ImageFileSectors final : public ImageSectors {
  public:
    // Opens `path`, telling plain from raw sectors by the sync pattern; `error()` says why it could not.
    explicit ImageFileSectors(const QString& path);
    // Opens `path` with a known layout (a cue sheet's data track).
    ImageFileSectors(const QString& path, const SectorLayout& layout);
    ~ImageFileSectors() override;
    ImageFileSectors(const ImageFileSectors&) = delete;
    ImageFileSectors& operator=(const ImageFileSectors&) = delete;

    const QString& error() const { return error_; }
    bool read(std::uint64_t first, int count, unsigned char* out) override;
    std::uint64_t sectorCount() const override { return sectorCount_; }

  private:
    // The file's size, or nothing (with `error_` set) when it cannot be used.
    std::optional<std::uint64_t> openFile(const QString& path);
    void detectLayout(std::uint64_t fileBytes);
    void useLayout(const SectorLayout& layout, std::uint64_t fileBytes);

    int fd_ = -1;
    QString error_;
    SectorLayout layout_;
    std::uint64_t sectorCount_ = 0;
};

}  // namespace vt
