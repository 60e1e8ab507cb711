#include "button/paint/FacePainter.h"

#include <algorithm>
#include <cmath>

#include "button/paint/ButtonPainter.h"
#include "button/paint/CaptionDrawing.h"

namespace vt::button {

FacePainter::FacePainter(ButtonState& state, ButtonCanvas& canvas)
    : state_(state), canvas_(canvas), c_(state.colors), W(state.ClientWidth), H(state.ClientHeight) {}

void FacePainter::rectFill(CheckedInt x, CheckedInt y, CheckedInt w, CheckedInt h, Rgb c) {
    canvas_.DrawRect(x, y, w, h, c, false);
}

void FacePainter::rectFrame(CheckedInt x, CheckedInt y, CheckedInt w, CheckedInt h, Rgb c) {
    canvas_.DrawRect(x, y, w, h, c, true);
}

void FacePainter::line(CheckedInt x1, CheckedInt y1, CheckedInt x2, CheckedInt y2, Rgb c) {
    canvas_.DrawLine(x1, y1, x2, y2, c);
}

void FacePainter::pixel(CheckedInt x, CheckedInt y, Rgb c) {
    canvas_.DrawPixel(x, y, c);
}

void FacePainter::bevel(Rgb c1, Rgb c2, Rgb c3, Rgb c4, std::int16_t inset) {
    canvas_.DrawBevel(c1, c2, c3, c4, inset, false);
}

void FacePainter::bevelOuter(Rgb c1, Rgb c2, std::int16_t inset) {
    canvas_.DrawBevel(c1, c2, 0, 0, inset, true);
}

void FacePainter::cornerPixels(Rgb c) {
    pixel(1, 1, c);
    pixel(1, H - 2, c);
    pixel(W - 2, 1, c);
    pixel(W - 2, H - 2, c);
}

void FacePainter::caption(std::uint8_t style) {
    DrawCaption(state_, canvas_, style);
}

void FacePainter::upCaption() {
    caption(state_.MouseIsOver ? 1 : 0);
}

void FacePainter::focus() {
    canvas_.DrawFocusRectangle(state_);
}

Rgb FacePainter::shift(Rgb c, std::int32_t amount) const {
    return ShiftColor(c, amount, false, state_.SoftBevel);
}

Rgb FacePainter::shiftB(Rgb c, std::int32_t amount) const {
    return ShiftColor(c, amount, true, state_.SoftBevel);
}

void FacePainter::gradient(Rgb base, std::int32_t top, bool scaled, bool upsideDown) {
    if (H <= 0) return;
    // The step is held in single precision; the product is rounded to the nearest integer, ties to even.
    const float step = float(double(top) / double(H.value()));
    // Rows past the surface are clipped, so only the steps that land on it are drawn.
    const std::int64_t visible = std::max(canvas_.surface().height(), 0);
    std::int64_t first = 1, last = H.value();
    if (upsideDown) {
        first = std::max<std::int64_t>(1, std::int64_t(H.value()) - visible + 1);
    } else {
        last = std::min<std::int64_t>(last, visible);
    }
    for (std::int64_t i = first; i <= last; ++i) {
        const std::int32_t amount = std::int32_t(std::nearbyint(-(double(step) * double(i))));
        const Rgb color = scaled ? shiftB(base, amount) : shift(base, amount);
        const CheckedInt row = upsideDown ? H - std::int32_t(i) : CheckedInt(std::int32_t(i));
        line(0, row, W, row, color);
    }
}

void FacePainter::captionFrame() {
    const IntRect& r = state_.CaptionRect;
    rectFrame(CheckedInt(r.left) - 2, CheckedInt(r.top) - 1, CheckedInt(state_.CaptionWidth) + 4,
              CheckedInt(state_.CaptionHeight) + 2, 0xCC9999);
}

void FacePainter::copyBackground() {
    canvas_.CopyFrom(state_.Background, W, H);
}

}  // namespace vt::button
