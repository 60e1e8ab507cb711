#include "button/paint/PictureDrawing.h"

#include "button/paint/BlitPicture.h"
#include "button/paint/ButtonPainter.h"
#include "button/paint/CaptionDrawing.h"

namespace vt::button {

namespace {

void blit(const ButtonState& state, ButtonCanvas& canvas, CheckedInt x, CheckedInt y, const Picture& picture,
          const BlitOptions& options = {}) {
    BlitPicture(canvas.surface(), x, y, state.PictureWidth, state.PictureHeight, picture,
                state.colors.TransparentColor, state.UseMaskColor, options);
}

BlitOptions tinted(Rgb color, bool darkOnly = false) {
    BlitOptions o;
    o.tint = color;
    o.darkOnly = darkOnly;
    return o;
}

}  // namespace

void DrawPictureEffect(const ButtonState& state, ButtonCanvas& canvas, std::int32_t offset,
                       const Picture& picture) {
    if (state.SpecialEffect <= EffectNone) return;
    const WorkingColors& c = state.colors;
    Rgb base = c.FaceColor;
    if (state.ButtonType == GradientRounded) {
        base = c.BrightFaceColor;
    } else if (offset == -1 && state.ColorScheme != CustomColors) {
        base = c.SelectionLightColor;
    }
    const bool sunken = state.SpecialEffect == EffectSunken;
    const Rgb lighter = ShiftColor(base, 40, false, state.SoftBevel);
    const Rgb darker = ShiftColor(base, -40, false, state.SoftBevel);
    const CheckedInt x = state.PictureX, y = state.PictureY, d = offset;
    blit(state, canvas, x + 1 + d, y + 1 + d, picture, tinted(sunken ? lighter : darker));
    if (state.SpecialEffect < EffectShadow) {
        blit(state, canvas, x - 1 + d, y - 1 + d, picture, tinted(sunken ? darker : lighter));
    }
}

void DrawPicture(ButtonState& state, ButtonCanvas& canvas, std::uint8_t pictureState) {
    if (!state.PictureNormal) return;
    const Picture& normal = *state.PictureNormal;
    const Picture* over = state.PictureOver.get();
    const WorkingColors& c = state.colors;
    const std::int32_t type = state.ButtonType;
    const CheckedInt x = state.PictureX, y = state.PictureY;

    if (pictureState == PictureUp) {
        if (!state.MouseIsOver) {
            DrawPictureEffect(state, canvas, 0, normal);
            BlitOptions o;
            o.greyscale = state.UseGreyscale;
            o.blend = type == HoverHighlight;
            blit(state, canvas, x, y, normal, o);
        } else if (type == HoverHighlight) {
            DrawPictureEffect(state, canvas, -1, normal);
            blit(state, canvas, x + 1, y + 1, normal, tinted(c.ShadowColor));
            blit(state, canvas, x - 1, y - 1, normal);
        } else {
            const Picture& shown = over != nullptr ? *over : normal;
            DrawPictureEffect(state, canvas, 0, shown);
            blit(state, canvas, x, y, shown);
        }
    } else if (pictureState == PictureDown) {
        if (over != nullptr && type != HoverHighlight) {
            const CheckedInt d = type == FlatFramed ? 0 : 1;
            blit(state, canvas, x + d, y + d, *over);
        } else if (type != FlatFramed && type != HoverHighlight) {
            DrawPictureEffect(state, canvas, 1, normal);
            blit(state, canvas, x + 1, y + 1, normal);
        } else {
            DrawPictureEffect(state, canvas, 0, normal);
            blit(state, canvas, x, y, normal);
        }
    } else if (pictureState == PictureDisabled) {
        if (type == GradientRounded) {
            BlitOptions o;
            o.greyscale = true;
            blit(state, canvas, x + 1, y + 1, normal, o);
        } else if (type == FlatFramed || type == SoftRaised || type == HoverHighlight) {
            const Rgb tint = type == HoverHighlight ? ShiftColor(c.ShadowColor, 13, false, state.SoftBevel)
                                                    : c.ShadowColor;
            blit(state, canvas, x, y, normal, tinted(tint, true));
        } else {
            blit(state, canvas, x + 1, y + 1, normal, tinted(c.HighlightColor, true));
            blit(state, canvas, x, y, normal, tinted(c.ShadowColor, true));
        }
    }
    if (state.PicturePosition == PictureCenter) DrawCaption(state, canvas, state.LastCaptionStyle);
}

}  // namespace vt::button
