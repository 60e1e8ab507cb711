// The released look of every style.
#include "button/paint/FacePainter.h"

namespace vt::button {

void FacePainter::upRoundedFramed(std::uint8_t captionStyle) {
    rectFill(1, 1, W - 2, H - 2, c_.LightColor);
    caption(captionStyle);
    rectFrame(0, 0, W, H, c_.DarkShadowColor);
    cornerPixels(c_.DarkShadowColor);
    line(1, 2, 2, 0, c_.FaceColor);
    line(3, 2, W - 3, 2, c_.HighlightColor);
    line(2, 2, 2, H - 3, c_.HighlightColor);
    pixel(3, 3, c_.HighlightColor);
    line(W - 3, 1, W - 3, H - 3, c_.FaceColor);
    line(1, H - 3, W - 3, H - 3, c_.FaceColor);
    pixel(W - 4, H - 4, c_.FaceColor);
    line(W - 2, 2, W - 2, H - 2, c_.ShadowColor);
    line(2, H - 2, W - 2, H - 2, c_.ShadowColor);
    pixel(W - 3, H - 3, c_.ShadowColor);
}

void FacePainter::upGradientRoundedEdges() {
    if (state_.MouseIsOver) {
        rectFrame(1, 2, W - 2, H - 4, 0x31B2FF);
        line(2, H - 2, W - 2, H - 2, 0x0096E7);
        line(2, 1, W - 2, 1, 0xCEF3FF);
        line(1, 2, W - 1, 2, 0x8CDBFF);
        line(2, 3, 2, H - 3, 0x6BCBFF);
        line(W - 3, 3, W - 3, H - 3, 0x6BCBFF);
    } else if (state_.ShowFocusRect && (state_.HasFocus || state_.DisplayAsDefault)) {
        rectFrame(1, 2, W - 2, H - 4, 0xE7AE8C);
        line(2, H - 2, W - 2, H - 2, 0xEF826B);
        line(2, 1, W - 2, 1, 0xFFE7CE);
        line(1, 2, W - 1, 2, 0xF7D7BD);
        line(2, 3, 2, H - 3, 0xF0D1B5);
        line(W - 3, 3, W - 3, H - 3, 0xF0D1B5);
    } else {
        const Rgb bright = c_.BrightFaceColor;
        line(2, H - 2, W - 2, H - 2, shiftB(bright, -48));
        line(1, H - 3, W - 2, H - 3, shiftB(bright, -32));
        line(W - 2, 2, W - 2, H - 2, shiftB(bright, -36));
        line(W - 3, 3, W - 3, H - 3, shiftB(bright, -24));
        line(2, 1, W - 2, 1, shiftB(bright, 16));
        line(1, 2, W - 2, 2, shiftB(bright, 10));
        line(1, 2, 1, H - 2, shiftB(bright, -5));
        line(2, 3, 2, H - 3, shiftB(bright, -10));
    }
}

void FacePainter::drawUp() {
    const bool over = state_.MouseIsOver;
    switch (state_.ButtonType) {
        case FramedBevel:
            upCaption();
            bevel(c_.HighlightColor, c_.ShadowColor, c_.HighlightColor, c_.ShadowColor, -1);
            rectFrame(0, 0, W, H, c_.DarkShadowColor);
            focus();
            break;
        case Standard3D:
            upCaption();
            if (state_.ShowFocusRect && state_.DisplayAsDefault) {
                bevel(c_.HighlightColor, c_.DarkShadowColor, c_.LightColor, c_.ShadowColor, -1);
                focus();
                rectFrame(0, 0, W, H, c_.DarkShadowColor);
            } else {
                bevel(c_.HighlightColor, c_.DarkShadowColor, c_.LightColor, c_.ShadowColor, 0);
            }
            break;
        case GradientRounded:
            gradient(c_.BrightFaceColor, 25, true, false);
            upCaption();
            rectFrame(0, 0, W, H, 0x733C00);
            cornerPixels(0x7B4D10);
            upGradientRoundedEdges();
            break;
        case RoundedFramed:
            upRoundedFramed(over ? 1 : 0);
            break;
        case FlatFramed:
            rectFill(1, 1, W - 1, H - 1, shift(c_.FaceColor, 12));
            upCaption();
            rectFrame(1, 1, W - 1, H - 1, c_.HighlightColor);
            rectFrame(0, 0, W - 1, H - 1, shift(c_.ShadowColor, -26));
            pixel(1, H - 2, shift(c_.ShadowColor, 26));
            pixel(W - 2, 1, shift(c_.ShadowColor, 26));
            if (state_.HasFocus && state_.ShowFocusRect) captionFrame();
            break;
        case SoftRaised:
            upCaption();
            bevel(shift(c_.LightColor, 8), c_.ShadowColor, shift(c_.LightColor, 8), c_.ShadowColor, 0);
            focus();
            break;
        case ThinRaised:
            upCaption();
            bevelOuter(c_.HighlightColor, c_.ShadowColor, 0);
            focus();
            break;
        case HoverThin:
            upCaption();
            if (over) bevelOuter(c_.HighlightColor, c_.ShadowColor, 0);
            focus();
            break;
        case HoverHighlight:
            if (over) rectFill(1, 1, W, H, c_.SelectionLightColor);
            upCaption();
            if (over) rectFrame(0, 0, W, H, c_.SelectionColor);
            focus();
            break;
        case Borderless:
            break;
        case Transparent:
            copyBackground();
            upCaption();
            focus();
            break;
        case Hover3D:
            upCaption();
            if (over) bevel(c_.HighlightColor, c_.DarkShadowColor, c_.LightColor, c_.ShadowColor, 0);
            focus();
            break;
        case Oval:
            canvas_.DrawEllipse(0, 0, W, H, over ? c_.ShadowColor : c_.FaceColor, c_.FaceColor);
            upCaption();
            break;
        case GradientFramed:
            if (over) {
                rectFill(0, 0, W, H, c_.LightColor);
            } else {
                gradient(c_.HighlightColor, 58, false, false);
            }
            // Shown as the container's default button, the caption still looks exactly as without it.
            upCaption();
            rectFrame(0, 0, W, H, shift(c_.ShadowColor, -50));
            rectFrame(1, 1, W - 2, H - 2, shift(c_.FaceColor, -9));
            rectFill(2, 2, W - 4, 2, c_.HighlightColor);
            rectFill(2, 4, 2, H - 6, c_.HighlightColor);
            focus();
            break;
        default:
            break;
    }
}

}  // namespace vt::button
