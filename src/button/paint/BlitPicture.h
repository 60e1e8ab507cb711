#pragma once

#include <QImage>

#include "button/ButtonState.h"
#include "button/paint/CheckedInt.h"

namespace vt::button {

// How one picture is composed with the face under it; every option off copies the picture.
struct BlitOptions {
    std::int64_t tint = -1;  // an RGB colour painted in place of each counted pixel, or negative for none
    bool darkOnly = false;   // with a tint: only pixels whose R + G + B is at most 384 take it
    bool greyscale = false;  // the pixel's grey value in place of its colour
    bool blend = false;      // two thirds picture, one third face
};

// Composes `picture` onto `surface` in the rectangle (x, y, width, height), pixel by pixel with the face
// already there. While `useMaskColor` is set, picture pixels of exactly `maskRgb` leave the face as it is.
// An icon is first laid over a block of `maskRgb`, so its transparent parts count as the mask colour.
// A bitmap smaller than the rectangle leaves the face unchanged where it has no pixels; a larger one is
// cropped. Width or height 0 draws nothing; a negative one means the picture's own size.
void BlitPicture(QImage& surface, CheckedInt x, CheckedInt y, CheckedInt width, CheckedInt height,
                 const Picture& picture, Rgb maskRgb, bool useMaskColor, const BlitOptions& options);

}  // namespace vt::button
