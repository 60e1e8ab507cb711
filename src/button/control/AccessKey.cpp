#include "button/control/AccessKey.h"

namespace vt::button {

QString accessKeyOf(const QString& caption) {
    const int length = caption.size();
    if (length <= 1) return {};
    const int a = caption.indexOf(QLatin1Char('&'));  // 0-based
    if (a < 0 || a == length - 1) return {};
    if (caption[a + 1] != QLatin1Char('&')) return caption.mid(a + 1, 1).toLower();
    const int b = caption.indexOf(QLatin1Char('&'), a + 2);
    if (b < 0 || b == length - 1) return {};
    if (caption[b + 1] == QLatin1Char('&')) return {};
    return caption.mid(b + 1, 1).toLower();
}

}  // namespace vt::button
