#include "button/paint/CaptionDrawing.h"

#include "button/paint/ButtonPainter.h"
#include "button/paint/CaptionText.h"

namespace vt::button {

namespace {

IntRect offset(const IntRect& r, CheckedInt d) {
    return IntRect{(CheckedInt(r.left) + d).value(), (CheckedInt(r.top) + d).value(),
                   (CheckedInt(r.right) + d).value(), (CheckedInt(r.bottom) + d).value()};
}

}  // namespace

void DrawCaptionText(const ButtonState& state, ButtonCanvas& canvas, const IntRect& rect, Rgb color) {
    canvas.setTextColor(color);
    CaptionText(state.Caption, state.Font).draw(canvas.surface(), rect, color);
}

void DrawCaptionEffect(const ButtonState& state, ButtonCanvas& canvas, const IntRect& rect) {
    if (state.SpecialEffect <= EffectNone) return;
    const WorkingColors& c = state.colors;
    Rgb base = c.FaceColor;
    const std::int32_t type = state.ButtonType;
    if (type == GradientRounded || type == RoundedFramed || type == GradientFramed) {
        base = c.BrightFaceColor;
    } else if (state.LastState == StateUp && state.MouseIsOver && state.ColorScheme != CustomColors &&
               type == HoverHighlight) {
        base = c.SelectionLightColor;
    }
    const bool sunken = state.SpecialEffect == EffectSunken;
    const Rgb lighter = ShiftColor(base, 40, false, state.SoftBevel);
    const Rgb darker = ShiftColor(base, -40, false, state.SoftBevel);
    DrawCaptionText(state, canvas, offset(rect, 1), sunken ? lighter : darker);
    if (state.SpecialEffect < EffectShadow)
        DrawCaptionText(state, canvas, offset(rect, -1), sunken ? darker : lighter);
}

void DrawCaption(ButtonState& state, ButtonCanvas& canvas, std::uint8_t style) {
    state.LastCaptionStyle = style;
    const WorkingColors& c = state.colors;
    const bool soft = state.SoftBevel;
    switch (style) {
        case 0:
            DrawCaptionEffect(state, canvas, state.CaptionRect);
            DrawCaptionText(state, canvas, state.CaptionRect, c.TextColor);
            break;
        case 1:
            DrawCaptionEffect(state, canvas, state.CaptionRect);
            DrawCaptionText(state, canvas, state.CaptionRect, c.HoverTextColor);
            break;
        case 2:
            DrawCaptionEffect(state, canvas, state.ShiftedCaptionRect);
            DrawCaptionText(state, canvas, state.ShiftedCaptionRect,
                            state.ButtonType == RoundedFramed ? c.LightColor : c.HoverTextColor);
            break;
        case 3:
            DrawCaptionText(state, canvas, state.ShiftedCaptionRect, c.HighlightColor);
            DrawCaptionText(state, canvas, state.CaptionRect, c.ShadowColor);
            break;
        case 4:
            DrawCaptionText(state, canvas, state.CaptionRect, c.ShadowColor);
            break;
        case 5:
            DrawCaptionText(state, canvas, state.CaptionRect,
                            ShiftColor(c.BrightFaceColor, -104, true, soft));
            break;
        case 6:
            DrawCaptionText(state, canvas, state.ShiftedCaptionRect, c.HighlightColor);
            DrawCaptionText(state, canvas, state.CaptionRect, c.FaceColor);
            break;
        case 7:
            DrawCaptionText(state, canvas, state.ShiftedCaptionRect,
                            ShiftColor(c.ShadowColor, -50, false, soft));
            DrawCaptionText(state, canvas, state.CaptionRect, c.HighlightColor);
            break;
        default:
            // No colour of its own: the text takes whatever colour the surface was last given.
            DrawCaptionText(state, canvas, state.CaptionRect, canvas.textColor());
            break;
    }
}

}  // namespace vt::button
