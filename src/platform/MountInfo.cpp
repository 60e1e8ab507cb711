#include "platform/MountInfo.h"

#include <QFile>
#include <QList>

namespace vt {

namespace {

bool hasOption(const QString& options, QLatin1String option) {
    const QStringList parts = options.split(QLatin1Char(','));
    return parts.contains(option);
}

bool isOctal(char c) {
    return c >= '0' && c <= '7';
}

}  // namespace

bool MountEntry::readOnly() const {
    return hasOption(mountOptions, QLatin1String("ro")) || hasOption(superOptions, QLatin1String("ro"));
}

QString decodeMountField(const QByteArray& field) {
    QByteArray bytes;
    bytes.reserve(field.size());
    for (int i = 0; i < field.size(); ++i) {
        if (field[i] == '\\' && i + 3 < field.size() && isOctal(field[i + 1]) && isOctal(field[i + 2]) &&
            isOctal(field[i + 3])) {
            bytes.append(
                char(((field[i + 1] - '0') << 6) | ((field[i + 2] - '0') << 3) | (field[i + 3] - '0')));
            i += 3;
        } else {
            bytes.append(field[i]);
        }
    }
    // Mount points are bytes; the file-name codec maps them to text as every other path of the program.
    return QFile::decodeName(bytes);
}

std::vector<MountEntry> parseMountInfo(const QByteArray& text) {
    std::vector<MountEntry> entries;
    for (const QByteArray& line : text.split('\n')) {
        const QList<QByteArray> fields = line.split(' ');
        // id parent major:minor root mount-point options [optional...] - type source super-options
        const int dash = fields.indexOf(QByteArray("-"), 6);
        if (dash < 6 || dash + 2 >= fields.size()) continue;
        MountEntry entry;
        entry.mountId = QString::fromLatin1(fields[0]);
        entry.deviceNumber = QString::fromLatin1(fields[2]);
        entry.root = decodeMountField(fields[3]);
        entry.mountPoint = decodeMountField(fields[4]);
        entry.mountOptions = QString::fromLatin1(fields[5]);
        entry.fsType = decodeMountField(fields[dash + 1]);
        entry.source = decodeMountField(fields[dash + 2]);
        if (dash + 3 < fields.size()) entry.superOptions = decodeMountField(fields[dash + 3]);
        entries.push_back(std::move(entry));
    }
    return entries;
}

}  // namespace vt
