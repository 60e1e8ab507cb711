#pragma once

#include <QColor>

#include "button/ButtonState.h"

namespace vt::button {

// Conversions between the button's 0x00BBGGRR colours and QImage's 0xAARRGGBB pixels.
inline QRgb toQRgb(Rgb c) {
    return qRgb(int(c & 0xFF), int((c >> 8) & 0xFF), int((c >> 16) & 0xFF));
}
inline Rgb fromQRgb(QRgb p) {
    return Rgb(qRed(p)) | (Rgb(qGreen(p)) << 8) | (Rgb(qBlue(p)) << 16);
}
inline QColor toQColor(Rgb c) {
    return QColor::fromRgb(toQRgb(c));
}

}  // namespace vt::button
