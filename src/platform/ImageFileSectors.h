#pragma once

#include "platform/ImageSectors.h"

namespace vt {

// An image file holding the data track sector after sector: 2048 bytes each (.iso), or raw 2352-byte CD
// sectors (.bin without its cue sheet) whose user data sits after a 12-byte sync and a 4-byte header
// (mode 1) or after a further 8-byte subheader (mode 2 form 1). Owns the file descriptor.
class ImageFileSectors final : public ImageSectors {
  public:
    // Opens `path`; `error()` says why when it could not.
    explicit ImageFileSectors(const QString& path);
    ~ImageFileSectors() override;
    ImageFileSectors(const ImageFileSectors&) = delete;
    ImageFileSectors& operator=(const ImageFileSectors&) = delete;

    const QString& error() const { return error_; }
    bool read(std::uint64_t first, int count, unsigned char* out) override;
    std::uint64_t sectorCount() const override { return sectorCount_; }

  private:
    void detectLayout(std::uint64_t fileBytes);

    int fd_ = -1;
    QString error_;
    int stride_ = kImageSectorBytes;  // bytes per sector in the file
    int dataOffset_ = 0;              // where a sector's 2048 data bytes start within it
    std::uint64_t sectorCount_ = 0;
};

}  // namespace vt
