// The disabled look of every style: never a focus rectangle.
#include "button/paint/FacePainter.h"

namespace vt::button {

void FacePainter::disabledGradientFramed() {
    gradient(c_.HighlightColor, 58, false, false);
    rectFrame(0, 0, W, H, shift(c_.ShadowColor, -50));
    rectFrame(1, 1, W - 2, H - 2, shift(c_.FaceColor, -9));
    rectFill(2, 2, W - 4, 2, c_.HighlightColor);
    rectFill(2, 4, 2, H - 6, c_.HighlightColor);
    caption(6);
}

void FacePainter::drawDisabled() {
    switch (state_.ButtonType) {
        case FramedBevel:
            caption(3);
            bevel(c_.HighlightColor, c_.ShadowColor, c_.HighlightColor, c_.ShadowColor, -1);
            rectFrame(0, 0, W, H, c_.DarkShadowColor);
            break;
        case Standard3D:
            caption(3);
            bevel(c_.HighlightColor, c_.DarkShadowColor, c_.LightColor, c_.ShadowColor, 0);
            break;
        case GradientRounded:
            rectFill(0, 0, W, H, shiftB(c_.BrightFaceColor, -24));
            caption(5);
            rectFrame(0, 0, W, H, shiftB(c_.BrightFaceColor, -84));
            cornerPixels(shiftB(c_.BrightFaceColor, -72));
            break;
        case RoundedFramed:
            upRoundedFramed(3);
            break;
        case FlatFramed:
            caption(4);
            rectFrame(0, 0, W, H, c_.ShadowColor);
            break;
        case SoftRaised:
            caption(4);
            bevel(shift(c_.LightColor, 8), c_.ShadowColor, shift(c_.LightColor, 8), c_.ShadowColor, 0);
            break;
        case ThinRaised:
            caption(3);
            bevelOuter(c_.HighlightColor, c_.ShadowColor, 0);
            break;
        case HoverThin:
        case Hover3D:
        case Oval:
            caption(3);
            break;
        case HoverHighlight:
            caption(6);
            break;
        case Borderless:
            break;
        case Transparent:
            copyBackground();
            caption(6);
            break;
        case GradientFramed:
            disabledGradientFramed();
            break;
        default:
            break;
    }
}

}  // namespace vt::button
