#pragma once

#include "platform/ImageSectors.h"

typedef struct _CdIo CdIo_t;

namespace vt {

// A CD image described by a cue sheet (MODE1/2048, MODE1/2352, MODE2/2352 data tracks) or held in a Nero
// (.nrg) file, read through libcdio, which knows those layouts. Owns the libcdio handle.
class CdioImageSectors final : public ImageSectors {
  public:
    enum class Kind { CueSheet, Nero };
    // Opens `path`; `error()` says why when it could not.
    CdioImageSectors(const QString& path, Kind kind);
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
