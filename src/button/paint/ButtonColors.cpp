// Colour arithmetic and the working colour set of a button.
#include "button/paint/ButtonPainter.h"
#include "button/paint/CheckedInt.h"
#include "platform/SystemColors.h"

namespace vt::button {

namespace {

Rgb pack(std::int32_t r, std::int32_t g, std::int32_t b) {
    return Rgb(r) | (Rgb(g) << 8) | (Rgb(b) << 16);
}

Rgb systemColor(const ColorSources& sources, int index) {
    std::uint32_t rgb = 0;
    if (sources.system == nullptr || !sources.system->color(index, rgb)) return 0;
    return rgb & 0xFFFFFF;
}

}  // namespace

Rgb ShiftColor(Rgb color, std::int32_t amount, bool scaleBlue, bool softBevel) {
    CheckedInt n = amount;
    if (softBevel) n = n / 2;
    const CheckedInt r = std::int32_t(color & 0xFF);
    const CheckedInt g = std::int32_t((color >> 8) & 0xFF);
    const CheckedInt b = std::int32_t((color >> 16) & 0xFF);
    // Only blue may be scaled; red and green always move by the plain amount.
    CheckedInt parts[3] = {r + n, g + n, scaleBlue ? b + (b * n) / 192 : b + n};
    for (CheckedInt& c : parts) {
        if (n > 0 && c > 255) c = 255;
        if (n < 0 && c < 0) c = 0;
    }
    return pack(parts[0].value(), parts[1].value(), parts[2].value());
}

Rgb BlendWithWhite(Rgb color, std::int32_t amount) {
    const CheckedInt a = amount;
    CheckedInt parts[3];
    for (int i = 0; i < 3; ++i) {
        const CheckedInt c = std::int32_t((color >> (8 * i)) & 0xFF);
        parts[i] = ((CheckedInt(255) - a) * c) / 255 + a;
        if (parts[i] > 255) parts[i] = 255;
    }
    // There is no lower clamp (amounts are 0..255 in every use); the components are combined as numbers.
    return Rgb((parts[0] + parts[1] * 256 + parts[2] * 65536).value());
}

Rgb TranslateColor(ColorValue color, const ColorSources& sources) {
    const std::uint32_t value = std::uint32_t(color);
    switch (value >> 24) {
        case 0x00:
            return value;
        case 0x80:
            if ((value & 0x00FFFF00u) != 0) return 0;
            return systemColor(sources, int(value & 0xFF));
        default:
            return 0;  // palette forms and anything else cannot be translated without a palette
    }
}

void DeriveColors(ButtonState& state, const ColorSources& sources) {
    WorkingColors& c = state.colors;
    const bool soft = state.SoftBevel;
    auto shift = [soft](Rgb color, std::int32_t amount) { return ShiftColor(color, amount, false, soft); };
    auto deriveShades = [&]() {
        c.ShadowColor = shift(c.FaceColor, -64);
        c.LightColor = shift(c.FaceColor, 31);
        c.HighlightColor = shift(c.FaceColor, 47);
        c.DarkShadowColor = shift(c.FaceColor, -192);
    };
    switch (state.ColorScheme) {
        case CustomColors:
            c.FaceColor = TranslateColor(state.BackColor, sources);
            c.TextColor = TranslateColor(state.ForeColor, sources);
            c.HoverTextColor = TranslateColor(state.ForeOver, sources);
            deriveShades();
            c.SelectionColor = shift(c.FaceColor, -128);
            c.SelectionLightColor = c.FaceColor;
            break;
        case FixedColors:
            c.FaceColor = 0xC0C0C0;
            c.TextColor = 0x000000;
            c.HoverTextColor = 0x000000;
            c.ShadowColor = 0x808080;
            c.LightColor = 0xDFDFDF;
            c.HighlightColor = 0xFFFFFF;
            c.DarkShadowColor = 0x000000;
            c.SelectionColor = 0x800000;
            c.SelectionLightColor = 0xD1ADAD;
            break;
        case ContainerColors:
            c.FaceColor = sources.parentBackground & 0xFFFFFF;
            c.TextColor = sources.parentText & 0xFFFFFF;
            c.HoverTextColor = c.TextColor;
            deriveShades();
            c.SelectionColor = systemColor(sources, SysColor::Highlight);
            c.SelectionLightColor = BlendWithWhite(c.SelectionColor, 176);
            break;
        default:
            c.FaceColor = systemColor(sources, SysColor::ButtonFace);
            c.TextColor = systemColor(sources, SysColor::ButtonText);
            c.HoverTextColor = c.TextColor;
            c.ShadowColor = systemColor(sources, SysColor::ButtonShadow);
            c.LightColor = systemColor(sources, SysColor::Light3D);
            c.HighlightColor = systemColor(sources, SysColor::ButtonHighlight);
            c.DarkShadowColor = systemColor(sources, SysColor::DarkShadow3D);
            c.SelectionColor = systemColor(sources, SysColor::Highlight);
            c.SelectionLightColor = BlendWithWhite(c.SelectionColor, 176);
            break;
    }
    c.TransparentColor = TranslateColor(state.MaskColor, sources);
    c.BrightFaceColor = ShiftColor(c.FaceColor, 48, state.ButtonType == GradientRounded, soft);
}

}  // namespace vt::button
