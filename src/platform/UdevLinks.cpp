#include "platform/UdevLinks.h"

#include <QDir>
#include <QFileInfo>

namespace vt {

QString decodeUdevName(const QString& name) {
    QByteArray bytes;
    const QByteArray raw = name.toUtf8();
    for (int i = 0; i < raw.size(); ++i) {
        bool ok = false;
        if (raw[i] == '\\' && i + 3 < raw.size() && raw[i + 1] == 'x') {
            const int value = raw.mid(i + 2, 2).toInt(&ok, 16);
            if (ok) {
                bytes.append(char(value));
                i += 3;
                continue;
            }
        }
        bytes.append(raw[i]);
    }
    return QString::fromUtf8(bytes);
}

QString udevLinkName(const QString& folder, const QString& device) {
    const QString target = QFileInfo(device).canonicalFilePath();
    if (target.isEmpty()) return {};
    const QFileInfoList links = QDir(folder).entryInfoList(QDir::System | QDir::Files, QDir::Name);
    for (const QFileInfo& link : links) {
        if (link.isSymLink() && link.canonicalFilePath() == target) return decodeUdevName(link.fileName());
    }
    return {};
}

std::uint32_t serialFromUuid(const QString& uuid) {
    if (uuid.isEmpty()) return 0;
    std::uint32_t hash = 2166136261u;
    for (const char c : uuid.toUtf8()) {
        hash ^= std::uint8_t(c);
        hash *= 16777619u;
    }
    return hash;
}

}  // namespace vt
