#include "platform/DrivePath.h"

#include <QStringList>

namespace vt {

std::optional<QChar> driveLetter(const QString& drivePath) {
    if (drivePath.size() < 2 || drivePath[1] != QLatin1Char(':')) return std::nullopt;
    if (drivePath.size() > 2 && drivePath[2] != QLatin1Char('\\')) return std::nullopt;
    const QChar letter = drivePath[0].toUpper();
    if (letter < QLatin1Char('A') || letter > QLatin1Char('Z')) return std::nullopt;
    return letter;
}

std::optional<QString> pathWithinDrive(const QString& drivePath) {
    if (!driveLetter(drivePath)) return std::nullopt;
    const QStringList parts = drivePath.mid(3).split(QLatin1Char('\\'), Qt::SkipEmptyParts);
    for (const QString& part : parts) {
        // No name on either system holds a '/', so one here could only be meant to climb out.
        if (part == QLatin1String(".") || part == QLatin1String("..") || part.contains(QLatin1Char('/'))) {
            return std::nullopt;
        }
    }
    return parts.join(QLatin1Char('/'));
}

}  // namespace vt
