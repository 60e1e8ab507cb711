#pragma once

#include <QString>
#include <QTemporaryDir>

namespace vt::test {

// A disc image made with xorriso (Rock Ridge and Joliet) from a folder tree, mounted with fuseiso the way
// a user mounts one. Unmounted when the object goes, whatever the test did meanwhile.
class MountedImage {
  public:
    // Why real disc images cannot be mounted on this machine, or empty when they can.
    static QString unavailableReason();

    // Builds the image of `tree` with volume label `label` and mounts it. Check `error()` afterwards.
    MountedImage(const QString& tree, const QString& label);
    ~MountedImage();
    MountedImage(const MountedImage&) = delete;
    MountedImage& operator=(const MountedImage&) = delete;

    const QString& error() const { return error_; }
    // Kills the fuseiso process serving the mount, as a crash would: the mount stays, but every request to
    // it fails from then on. False when no such process was found.
    bool killServer();
    // Detaches the mount lazily (`fusermount -u -z`): it vanishes from the mount table at once, while
    // folders held open stay readable until they are closed. False when fusermount failed.
    bool unmountLazily();
    QString imagePath() const { return work_.filePath(QStringLiteral("disc.iso")); }
    QString mountPoint() const { return work_.filePath(QStringLiteral("mnt")); }

  private:
    QTemporaryDir work_;
    bool mounted_ = false;
    QString error_;
};

}  // namespace vt::test
