#pragma once

#include <QColor>
#include <QFont>
#include <QRect>

class QWidget;

namespace vt {

// The shared look of the program's windows. Layouts are given in twips, 15 to a pixel.
namespace Look {

constexpr int kTwipsPerPixel = 15;
constexpr int px(int twips) {
    return twips / kTwipsPerPixel;
}
inline QRect twipsRect(int left, int top, int width, int height) {
    return QRect(px(left), px(top), px(width), px(height));
}

// Window backgrounds and the button strip.
inline QColor windowColor() {
    return QColor(203, 215, 216);
}
// The main frame's client area and the busy panel.
inline QColor frameColor() {
    return QColor(179, 188, 193);
}

// Tahoma with the Arabic character set where installed, else an installed font with Persian glyphs.
QFont font(double points);
inline QFont controlFont() {
    return font(9);
}
inline QFont labelFont() {
    return font(9.75);
}

// Window background colour and the control font, for a window of the program.
void applyWindowLook(QWidget& window);

}  // namespace Look
}  // namespace vt
