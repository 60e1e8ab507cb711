#pragma once

#include "platform/ImageSectors.h"

typedef struct _CdIo CdIo_t;

namespace vt {

// A CD image held in a Nero (.nrg) file, whose track layout libcdio reads from the chunks at the file's
// end. Owns the libcdio handle.
class CdioImageSectors final : public ImageSectors {
  public:
    // Opens `path`; `error()` says why when it could not.
    explicit CdioImageSectors(const QString& path);
    ~CdioImageSectors() override;
    CdioImageSectors(const CdioImageSectors&) = delete;
    CdioImageSectors& operator=(const CdioImageSectors&) = delete;

    const QString& error() const { return error_; }
    bool read(std::uint64_t first, int count, unsigned char* out) override;
    std::uint64_t sectorCount() const override { return sectorCount_; }

  private:
    CdIo_t* cdio_ = nullptr;
    QString error_;
    std::uint64_t sectorCount_ = 0;
};

}  // namespace vt
