#pragma once

#include <QPixmap>

namespace vt {

// The about window's three pictures, drawn by the program itself:
// a disc (128 x 128), the catalogue drawers (198 x 142) and the product banner (340 x 142).
QPixmap aboutDiscPicture();
QPixmap aboutDrawersPicture();
QPixmap aboutBannerPicture();

}  // namespace vt
