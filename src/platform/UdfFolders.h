#pragma once

#include <QString>
#include <memory>

#include "platform/ImageFolders.h"
#include "platform/UdfVolume.h"

namespace vt {

// The folders of an image's UDF file system (block size 2048, type 1 partition maps: what DVD and CD
// authoring tools write up to UDF 2.01). Names are the recorded Unicode names, lengths the 64-bit
// information lengths; links and special files are left out. Every record is checked against the image's
// bounds and its descriptor tag, so a damaged image gives an error, never a wild read. An entry's location
// is its file entry's block, with the partition in the upper 32 bits.
class UdfFolders final : public ImageFolders {
  public:
    // The file system of `sectors` (which must outlive the result); null with `error` set when the volume
    // itself cannot be used.
    static std::unique_ptr<UdfFolders> open(ImageSectors& sectors, QString& error);

    ImageEntry root() const override;
    bool list(const ImageEntry& folder, std::vector<ImageEntry>& out, QString& problem) override;
    QString copy(const ImageEntry& file, const ImageDataSink& sink) override;

  private:
    explicit UdfFolders(ImageSectors& sectors) : volume_(sectors) {}
    udf::UdfVolume volume_;
};

}  // namespace vt
