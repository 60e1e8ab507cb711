#include "catalog/FileTimeText.h"

#include <QDateTime>
#include <QTimeZone>

namespace vt {

QString isoUtcText(std::optional<qint64> secondsSinceEpoch) {
    if (!secondsSinceEpoch) return QString();
    return QDateTime::fromSecsSinceEpoch(*secondsSinceEpoch, QTimeZone::utc())
        .toString(QStringLiteral("yyyy-MM-ddTHH:mm:ss'Z'"));
}

}  // namespace vt
