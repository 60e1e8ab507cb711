#include "platform/OpticalMounts.h"

#include <QFile>
#include <algorithm>
#include <set>

namespace vt {

bool sysfsIsCdRom(const QString& deviceNumber) {
    QFile type(QStringLiteral("/sys/dev/block/%1/device/type").arg(deviceNumber));
    return type.open(QIODevice::ReadOnly) && type.readAll().trimmed() == "5";
}

bool isOpticalMount(const MountEntry& mount, const CdRomProbe& isCdRom) {
    if (mount.root != QLatin1String("/")) return false;
    if (mount.fsType == QLatin1String("iso9660") || mount.fsType == QLatin1String("udf") ||
        mount.fsType == QLatin1String("fuse.fuseiso")) {
        return true;
    }
    if (mount.source.startsWith(QLatin1String("/dev/sr"))) return true;
    return mount.source.startsWith(QLatin1String("/dev/")) && isCdRom(mount.deviceNumber);
}

std::vector<OpticalDrive> assignOpticalLetters(const std::vector<MountEntry>& mounts, const CdRomProbe& isCdRom) {
    std::vector<const MountEntry*> media;
    for (const MountEntry& m : mounts) {
        if (isOpticalMount(m, isCdRom)) media.push_back(&m);
    }
    std::stable_sort(media.begin(), media.end(), [](const MountEntry* a, const MountEntry* b) {
        if (a->source != b->source) return a->source < b->source;
        return a->mountPoint < b->mountPoint;
    });
    std::vector<OpticalDrive> drives;
    std::set<QString> seen;
    char letter = 'D';
    for (const MountEntry* m : media) {
        if (letter > 'P') break;
        if (!seen.insert(m->deviceNumber).second) continue;
        drives.push_back({QChar(letter++), *m});
    }
    return drives;
}

}  // namespace vt
