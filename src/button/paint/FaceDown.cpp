// The pressed look of every style.
#include "button/paint/ButtonPainter.h"
#include "button/paint/CaptionDrawing.h"
#include "button/paint/FacePainter.h"

namespace vt::button {

void FacePainter::drawDown() {
    switch (state_.ButtonType) {
        case FramedBevel:
            caption(2);
            bevel(c_.ShadowColor, c_.HighlightColor, c_.ShadowColor, c_.HighlightColor, -1);
            rectFrame(0, 0, W, H, c_.DarkShadowColor);
            focus();
            break;
        case Standard3D:
            caption(2);
            if (state_.ShowFocusRect && state_.DisplayAsDefault) {
                rectFrame(0, 0, W, H, c_.DarkShadowColor);
                rectFrame(1, 1, W - 2, H - 2, c_.ShadowColor);
                focus();
            } else {
                bevel(c_.DarkShadowColor, c_.HighlightColor, c_.ShadowColor, c_.LightColor, 0);
            }
            break;
        case GradientRounded: {
            const Rgb P = shiftB(c_.BrightFaceColor, -32);
            gradient(P, 25, true, true);
            caption(2);
            rectFrame(0, 0, W, H, 0x733C00);
            cornerPixels(0x7B4D10);
            line(2, H - 2, W - 2, H - 2, shiftB(P, 16));
            line(1, H - 3, W - 2, H - 3, shiftB(P, 10));
            line(W - 2, 2, W - 2, H - 2, shiftB(P, 5));
            line(W - 3, 3, W - 3, H - 3, c_.BrightFaceColor);
            line(2, 1, W - 2, 1, shiftB(P, -32));
            line(1, 2, W - 2, 2, shiftB(P, -24));
            line(1, 2, 1, H - 2, shiftB(P, -32));
            line(2, 2, 2, H - 2, shiftB(P, -22));
            break;
        }
        case RoundedFramed: {
            const Rgb pressed = shift(c_.ShadowColor, -16);
            rectFill(1, 1, W - 2, H - 2, pressed);
            // The caption's effect copies take their base colour from the pressed face.
            state_.colors.BrightFaceColor = pressed;
            caption(2);
            state_.colors.BrightFaceColor = shift(c_.FaceColor, 48);
            rectFrame(0, 0, W, H, c_.DarkShadowColor);
            rectFrame(1, 1, W - 2, H - 2, shift(c_.ShadowColor, -64));
            rectFrame(2, 2, W - 4, H - 4, shift(c_.ShadowColor, -32));
            pixel(2, 2, shift(c_.ShadowColor, -64));
            pixel(3, 3, shift(c_.ShadowColor, -32));
            cornerPixels(c_.DarkShadowColor);
            line(W - 3, 1, W - 3, H - 3, c_.ShadowColor);
            line(1, H - 3, W - 2, H - 3, c_.ShadowColor);
            pixel(W - 4, H - 4, c_.ShadowColor);
            line(W - 2, 3, W - 2, H - 2, shift(c_.ShadowColor, -16));
            line(3, H - 2, W - 2, H - 2, shift(c_.ShadowColor, -16));
            line(W - 2, H - 3, W - 4, H - 1, shift(c_.ShadowColor, -32));
            pixel(2, H - 2, shift(c_.ShadowColor, -32));
            pixel(W - 2, 2, shift(c_.ShadowColor, -32));
            break;
        }
        case FlatFramed:
            rectFill(1, 1, W - 2, H - 2, shift(c_.ShadowColor, 16));
            rectFrame(0, 0, W - 1, H - 1, shift(c_.ShadowColor, -26));
            line(W - 1, 1, W - 1, H, c_.HighlightColor);
            line(1, H - 1, W - 1, H - 1, c_.HighlightColor);
            // Pressed, this style's caption stays in place, without effect copies and without counting as
            // a caption style.
            DrawCaptionText(state_, canvas_, state_.CaptionRect, c_.HoverTextColor);
            if (state_.HasFocus && state_.ShowFocusRect) captionFrame();
            break;
        case SoftRaised:
            caption(2);
            bevel(c_.ShadowColor, shift(c_.LightColor, 8), c_.ShadowColor, shift(c_.LightColor, 8), 0);
            focus();
            break;
        case ThinRaised:
        case HoverThin:
            caption(2);
            bevelOuter(c_.ShadowColor, c_.HighlightColor, 0);
            focus();
            break;
        case HoverHighlight:
            if (state_.MouseIsOver) {
                const Rgb fill = state_.ColorScheme == CustomColors ? shift(c_.SelectionLightColor, -32)
                                                                    : BlendWithWhite(c_.SelectionColor, 128);
                rectFill(0, 0, W, H, fill);
            }
            caption(2);
            rectFrame(0, 0, W, H, c_.SelectionColor);
            focus();
            break;
        case Borderless:
            break;
        case Transparent:
            copyBackground();
            caption(7);
            focus();
            break;
        case Hover3D:
            caption(2);
            bevel(c_.DarkShadowColor, c_.HighlightColor, c_.ShadowColor, c_.LightColor, 0);
            focus();
            break;
        case Oval:
            canvas_.DrawEllipse(0, 0, W, H, c_.DarkShadowColor, shift(c_.FaceColor, -32));
            caption(2);
            break;
        case GradientFramed:
            rectFill(1, 1, W, H, shift(c_.FaceColor, -9));
            rectFrame(0, 0, W, H, shift(c_.ShadowColor, -48));
            line(2, H - 2, W - 2, H - 2, c_.HighlightColor);
            line(W - 2, 2, W - 2, H - 1, c_.HighlightColor);
            caption(7);
            focus();
            break;
        default:
            break;
    }
}

}  // namespace vt::button
