#pragma once

#include <QByteArray>
#include <QString>
#include <vector>

namespace vt {

// One line of /proc/<pid>/mountinfo, its escapes decoded.
struct MountEntry {
    QString mountId;       // unique among the mounts while this one exists
    QString deviceNumber;  // "major:minor" of the mounted filesystem
    QString root;          // the folder of the filesystem mounted here ("/" for the whole filesystem)
    QString mountPoint;
    QString mountOptions;  // per-mount options, e.g. "ro,nosuid"
    QString fsType;        // e.g. "iso9660", "fuse.fuseiso"
    QString source;        // e.g. "/dev/sr0", "fuseiso"
    QString superOptions;  // per-filesystem options

    bool readOnly() const;
};

// Decodes the octal escapes the kernel writes for blanks, tabs, newlines and backslashes ("\040").
QString decodeMountField(const QByteArray& field);

// Parses the text of a mountinfo file; malformed lines are passed over.
std::vector<MountEntry> parseMountInfo(const QByteArray& text);

}  // namespace vt
