#include "scan/ScanPace.h"

namespace vt {

namespace {

QString twoDigits(qint64 value) {
    return QStringLiteral("%1").arg(value, 2, 10, QLatin1Char('0'));
}

}  // namespace

QString elapsedText(qint64 ms) {
    const qint64 seconds = ms / 1000;
    if (seconds < 3600) return QString::number(seconds / 60) + QLatin1Char(':') + twoDigits(seconds % 60);
    return QString::number(seconds / 3600) + QLatin1Char(':') + twoDigits(seconds / 60 % 60) +
           QLatin1Char(':') + twoDigits(seconds % 60);
}

long filesPerSecond(long recorded, qint64 ms) {
    return ms > 0 ? long(qint64(recorded) * 1000 / ms) : 0;
}

}  // namespace vt
