#include "search/ReadableSize.h"

namespace vt {

QString readableSize(double bytes) {
    static const char* const kUnits[] = {"KB", "MB", "GB", "TB"};
    if (bytes < 1024) return QStringLiteral("%1 B").arg(qint64(bytes));
    double value = bytes / 1024;
    int unit = 0;
    while (value >= 1024 && unit + 1 < int(std::size(kUnits))) {
        value /= 1024;
        ++unit;
    }
    return QString::number(value, 'f', 1) + QLatin1Char(' ') + QLatin1String(kUnits[unit]);
}

}  // namespace vt
