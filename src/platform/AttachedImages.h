#pragma once

#include <QString>
#include <QTemporaryDir>
#include <memory>
#include <vector>

#include "platform/DriveTable.h"

namespace vt {

class DiscImage;

// Disc images attached as drives, laid over the table of the machine's mounted drives: an attached image
// is an optical drive of its own under the first letter from D to P that is free when it is attached,
// with the label, file-system name, used size and serial its volume records; its files are read from the
// image itself (AttachedImageFileSystem), nothing is mounted. An image keeps its letter until it is
// detached; a medium mounted later under the same letter stays hidden behind it until then. Attached
// images last as long as this object. Used from one thread.
class AttachedImages final : public DriveTable {
  public:
    // `mounted` must outlive this object.
    explicit AttachedImages(const DriveTable& mounted);
    ~AttachedImages() override;
    AttachedImages(const AttachedImages&) = delete;
    AttachedImages& operator=(const AttachedImages&) = delete;

    enum class Refusal { None, Unreadable, NoFreeLetter };
    struct Attached {
        QString root;  // "E:\" of the image; empty when it was refused
        Refusal refusal = Refusal::None;
        QString error;  // why it was refused, in English
    };
    // Attaches the image file at `path`; an image already attached keeps the letter it has.
    Attached attach(const QString& path);
    // Detaches the image under `root`; false when no image is attached there. A walk of it that is under
    // way goes on over the image as it was read.
    bool detach(const QString& root);
    // The image file attached under `root`, or empty when the drive is not an attached image.
    QString imagePath(const QString& root) const;
    // The image attached under `root`, or null.
    std::shared_ptr<const DiscImage> image(const QString& root) const;

    std::uint32_t logicalDrives() const override;
    int driveType(const QString& root) const override;
    DiskSpace diskSpace(const QString& root) const override;
    VolumeInformation volumeInformation(const QString& root) const override;
    bool readOnlyVolume(const QString& root) const override;
    // For an image: the image file, which is what the user knows the drive by.
    QString mountPoint(const QString& root) const override;
    // Empty for an image's files, which have no native path (see openableFile).
    QString nativePath(const QString& drivePath) const override;
    QString mediumIdentity(const QString& root) const override;
    // For a file of an image: a copy of it, taken out of the image into a folder of this object's that
    // only this user can enter (mode 0700) and that is removed with everything in it when this object
    // goes; each copy has a folder of its own there, so that it keeps its name.
    OpenableFile openableFile(const QString& drivePath) const override;

  private:
    struct Drive;
    const Drive* find(const QString& root) const;

    const DriveTable& mounted_;
    std::vector<Drive> drives_;
    unsigned attachments_ = 0;  // tells one attachment of an image from a later one of the same file
    mutable std::unique_ptr<QTemporaryDir> copies_;  // made at the first copy
    mutable unsigned copyCount_ = 0;
};

}  // namespace vt
