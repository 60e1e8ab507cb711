#pragma once

#include <QImage>

#include "button/ButtonState.h"
#include "button/paint/CheckedInt.h"

namespace vt::button {

// The drawing primitives of a button face, on a Format_RGB32 image (converted to it if it is not) that
// stands for the control's device context. The canvas does not own the image: the image must outlive it.
// Coordinates are client pixels; whatever falls outside the image is clipped. Lines leave out their end
// point, frames are one pixel wide inside their rectangle, and the focus rectangle is combined by
// exclusive-or. Coordinate arithmetic throws OverflowError rather than wrapping.
class ButtonCanvas {
  public:
    // `width` and `height` are the control's client size, which the bevel follows.
    ButtonCanvas(QImage& surface, CheckedInt width, CheckedInt height);

    QImage& surface() { return surface_; }

    // The colour text is drawn in when nobody sets one (the surface's current text colour).
    Rgb textColor() const { return textColor_; }
    void setTextColor(Rgb color) { textColor_ = color; }

    void DrawRect(CheckedInt x, CheckedInt y, CheckedInt width, CheckedInt height, Rgb color, bool frameOnly);
    void DrawEllipse(CheckedInt x, CheckedInt y, CheckedInt width, CheckedInt height, Rgb border, Rgb fill);
    void DrawLine(CheckedInt x1, CheckedInt y1, CheckedInt x2, CheckedInt y2, Rgb color);
    // Inset is 0 (on the border) or negative (that many pixels inside it).
    void DrawBevel(Rgb c1, Rgb c2, Rgb c3, Rgb c4, std::int16_t inset, bool outerOnly);
    void DrawPixel(CheckedInt x, CheckedInt y, Rgb color);
    // The dotted frame on state.FocusRect, only while state.ShowFocusRect and state.HasFocus.
    void DrawFocusRectangle(const ButtonState& state);
    // A plain copy of width x height pixels of `source` to (0, 0); nothing when `source` is null.
    void CopyFrom(const QImage& source, CheckedInt width, CheckedInt height);

  private:
    // Fills the half-open rectangle [x0, x1) x [y0, y1), clipped to the surface.
    void fill(std::int64_t x0, std::int64_t y0, std::int64_t x1, std::int64_t y1, QRgb pixel);
    void put(std::int64_t x, std::int64_t y, QRgb pixel);
    void invert(std::int64_t x0, std::int64_t y0, std::int64_t x1, std::int64_t y1, QRgb even, QRgb odd);

    QImage& surface_;
    CheckedInt width_;
    CheckedInt height_;
    Rgb textColor_ = 0x000000;
};

}  // namespace vt::button
