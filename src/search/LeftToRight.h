#pragma once

#include <QChar>
#include <QString>

namespace vt {

// A text that reads left to right (a path, a number with its unit, a date) shown inside right-to-left
// windows: isolated, "D:\Photos\a.jpg" is not laid out as "a.jpg\Photos\:D", nor "512.6 KB" as "KB 512.6".
inline QString leftToRight(const QString& text) {
    return text.isEmpty() ? text : QChar(0x2066) + text + QChar(0x2069);
}

}  // namespace vt
