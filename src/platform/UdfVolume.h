#pragma once

#include <QString>
#include <vector>

#include "platform/UdfStructures.h"

namespace vt::udf {

// The partitions and the root folder of the image's UDF volume.
class UdfVolume {
  public:
    explicit UdfVolume(ImageSectors& sectors) : sectors_(sectors) {}

    // Reads the anchor, the volume descriptors and the file set; empty when they are sound, else why not.
    QString open();
    const LongAd& root() const { return root_; }
    // Reads `count` blocks from `where` into `out`, refusing any outside its partition.
    bool read(const LongAd& where, int count, unsigned char* out) const;

  private:
    struct Partition {
        std::uint32_t start = 0;
        std::uint32_t length = 0;
    };
    QString readDescriptorSequence(std::uint32_t start, std::uint32_t bytes);

    ImageSectors& sectors_;
    std::vector<Partition> byReference_;
    LongAd fileSet_;
    LongAd root_;
};

}  // namespace vt::udf
