#include "platform/OpticalMounts.h"

#include <QFile>
#include <algorithm>
#include <map>
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

std::vector<OpticalDrive> assignOpticalLetters(const std::vector<MountEntry>& mounts,
                                               const CdRomProbe& isCdRom,
                                               const std::vector<OpticalDrive>& previous) {
    std::vector<const MountEntry*> media;
    for (const MountEntry& m : mounts) {
        if (isOpticalMount(m, isCdRom)) media.push_back(&m);
    }
    std::stable_sort(media.begin(), media.end(), [](const MountEntry* a, const MountEntry* b) {
        if (a->source != b->source) return a->source < b->source;
        return a->mountPoint < b->mountPoint;
    });
    std::set<QString> seen;
    std::vector<const MountEntry*> unique;
    for (const MountEntry* m : media) {
        if (seen.insert(m->deviceNumber).second) unique.push_back(m);
    }

    std::map<QChar, const MountEntry*> byLetter;
    std::vector<const MountEntry*> waiting;
    for (const MountEntry* m : unique) {
        const auto kept = std::find_if(previous.begin(), previous.end(), [m](const OpticalDrive& d) {
            return d.mount.mountId == m->mountId && d.mount.deviceNumber == m->deviceNumber &&
                   d.mount.mountPoint == m->mountPoint;
        });
        // `previous` may come from a damaged record: only a free letter of the range is kept.
        if (kept != previous.end() && kept->letter >= QLatin1Char('D') && kept->letter <= QLatin1Char('P') &&
            byLetter.count(kept->letter) == 0) {
            byLetter[kept->letter] = m;
        } else {
            waiting.push_back(m);
        }
    }
    auto next = waiting.begin();
    for (char letter = 'D'; letter <= 'P' && next != waiting.end(); ++letter) {
        if (byLetter.count(QChar(letter)) == 0) byLetter[QChar(letter)] = *next++;
    }

    std::vector<OpticalDrive> drives;
    for (const auto& [letter, mount] : byLetter) drives.push_back({letter, *mount});
    return drives;
}

}  // namespace vt
