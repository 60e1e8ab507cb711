#pragma once

#include <QString>
#include <memory>

#include "platform/ImageFolders.h"

namespace vt {

class ImageSectors;

// The folders of an image's ISO 9660 file system, read straight from its directory records: the Joliet
// tree (the names Windows shows) when asked for and recorded, else the primary tree with its Rock Ridge
// names, or its plain names without their ";1" version. Files recorded in several extents (4 GiB and
// more) get their whole length; Rock Ridge links, special files and relocated folders' stand-ins are left
// out (a relocated folder is listed where it belongs). Every record is checked against the image's bounds.
class IsoFolders final : public ImageFolders {
  public:
    // The tree of `sectors` (which must outlive the result); null with `error` set when the volume
    // descriptors hold no usable root.
    static std::unique_ptr<IsoFolders> open(ImageSectors& sectors, bool joliet, QString& error);

    ImageEntry root() const override { return root_; }
    bool list(const ImageEntry& folder, std::vector<ImageEntry>& out, QString& problem) override;
    QString copy(const ImageEntry& file, const ImageDataSink& sink) override;

  private:
    explicit IsoFolders(ImageSectors& sectors) : sectors_(sectors) {}
    struct Record;
    // Reads the directory record at `record` (`bytes` long); false when it is damaged.
    bool parse(const unsigned char* record, int bytes, Record& out);
    void readSystemUse(const unsigned char* area, int bytes, Record& out, int hops);

    ImageSectors& sectors_;
    ImageEntry root_;
    bool joliet_ = false;
    bool rockRidge_ = false;
    int systemUseSkip_ = 0;  // bytes before the Rock Ridge entries in every record (SUSP "SP")
};

}  // namespace vt
