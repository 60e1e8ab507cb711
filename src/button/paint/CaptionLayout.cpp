// Where the caption and the picture go on the face.
#include <algorithm>

#include "button/paint/ButtonPainter.h"
#include "button/paint/CaptionText.h"
#include "button/paint/CheckedInt.h"

namespace vt::button {

namespace {

IntRect moved(const IntRect& r, CheckedInt dx, CheckedInt dy) {
    return IntRect{(CheckedInt(r.left) + dx).value(), (CheckedInt(r.top) + dy).value(),
                   (CheckedInt(r.right) + dx).value(), (CheckedInt(r.bottom) + dy).value()};
}

}  // namespace

void MeasurePicture(ButtonState& state) {
    // Pictures are held at screen resolution, so their pixel size is what the face uses.
    if (!state.PictureNormal || state.PictureNormal->image.isNull()) {
        state.PictureWidth = 0;
        state.PictureHeight = 0;
        return;
    }
    state.PictureWidth = state.PictureNormal->image.width();
    state.PictureHeight = state.PictureNormal->image.height();
}

void CalcCaptionRect(ButtonState& state) {
    const CheckedInt W = state.ClientWidth, H = state.ClientHeight;
    const CheckedInt PW = state.PictureWidth, PH = state.PictureHeight;
    IntRect& measuring = state.ShiftedCaptionRect;
    switch (state.PicturePosition) {
        case PictureLeft:
            measuring = {(PW + 1).value(), 1, (W - 2).value(), (H - 2).value()};
            break;
        case PictureRight:
            measuring = {1, 1, (W - 2 - PW).value(), (H - 2).value()};
            break;
        case PictureTop:
            measuring = {1, (PH + 1).value(), (W - 2).value(), (H - 2).value()};
            break;
        case PictureBottom:
            measuring = {1, 1, (W - 2).value(), (H - 2 - PH).value()};
            break;
        case PictureCenter:
            measuring = {1, 1, (W - 2).value(), (H - 2).value()};
            break;
        default:
            break;
    }
    const IntRect measured = CaptionText(state.Caption, state.Font).measure(measuring);
    state.CaptionRect = measured;
    state.CaptionWidth = (CheckedInt(measured.right) - measured.left).value();
    state.CaptionHeight = (CheckedInt(measured.bottom) - measured.top).value();

    const CheckedInt r = measured.right, b = measured.bottom;
    switch (state.PicturePosition) {
        case PictureRight:
            state.CaptionRect = moved(measured, (W - r - PW - 4) / 2, (H - b) / 2);
            break;
        case PictureBottom:
            state.CaptionRect = moved(measured, (W - r) / 2, (H - b - PH - 4) / 2);
            break;
        case PictureLeft:
        case PictureTop:
        case PictureCenter:
            state.CaptionRect = moved(measured, (W - r) / 2, (H - b) / 2);
            break;
        default:
            break;
    }
    state.ShiftedCaptionRect = moved(state.CaptionRect, 1, 1);
    CalcPictureRect(state);
}

void CalcPictureRect(ButtonState& state) {
    if (!state.PictureNormal && !state.PictureOver) return;
    const CheckedInt W = state.ClientWidth, H = state.ClientHeight;
    const CheckedInt PW = state.PictureWidth, PH = state.PictureHeight;
    const IntRect& c = state.CaptionRect;
    // Only blanks count as empty space here; tabs and line breaks are text.
    const bool hasText = std::any_of(state.Caption.begin(), state.Caption.end(),
                                     [](QChar ch) { return ch != QLatin1Char(' '); });
    if (!hasText || state.PicturePosition == PictureCenter) {
        state.PictureX = ((W - PW) / 2).value();
        state.PictureY = ((H - PH) / 2).value();
        return;
    }
    switch (state.PicturePosition) {
        case PictureLeft:
            state.PictureX = (CheckedInt(c.left) - PW - 4).value();
            state.PictureY = ((H - PH) / 2).value();
            break;
        case PictureRight:
            state.PictureX = (CheckedInt(c.right) + 4).value();
            state.PictureY = ((H - PH) / 2).value();
            break;
        case PictureTop:
            state.PictureX = ((W - PW) / 2).value();
            state.PictureY = (CheckedInt(c.top) - PH - 2).value();
            break;
        case PictureBottom:
            state.PictureX = ((W - PW) / 2).value();
            state.PictureY = (CheckedInt(c.bottom) + 2).value();
            break;
        default:
            break;
    }
}

}  // namespace vt::button
