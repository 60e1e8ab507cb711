#pragma once

#include <QChar>
#include <functional>
#include <vector>

#include "platform/MountInfo.h"

namespace vt {

// A mounted optical medium and the drive letter it is shown under.
struct OpticalDrive {
    QChar letter;
    MountEntry mount;
};

// Tells whether the block device "major:minor" is an optical drive (SCSI type 5).
using CdRomProbe = std::function<bool(const QString& deviceNumber)>;

// The probe the machine answers: /sys/dev/block/<major:minor>/device/type reads 5.
bool sysfsIsCdRom(const QString& deviceNumber);

// True for the mount of a whole optical medium: the source is an optical drive, or the filesystem is one
// that discs and disc images carry (ISO 9660, UDF, or an image served by fuseiso). A mount of a folder
// inside a filesystem (bind mount) is not a medium of its own.
bool isOpticalMount(const MountEntry& mount, const CdRomProbe& isCdRom);

// The optical media among `mounts`, in order of source device, then mount point; a filesystem mounted at
// several places is shown once. A medium that had a letter in `previous` (the same mount: same mount id,
// device number and mount point; nothing else of it is looked at) keeps it, as a drive keeps its letter
// while others come and go; the others take the free letters from D upwards in that order. A letter of
// `previous` outside D to P, or given twice, is not kept. Media past P get no letter. The result is in
// letter order.
std::vector<OpticalDrive> assignOpticalLetters(const std::vector<MountEntry>& mounts,
                                               const CdRomProbe& isCdRom,
                                               const std::vector<OpticalDrive>& previous = {});

}  // namespace vt
