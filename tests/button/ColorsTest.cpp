#include <gtest/gtest.h>

#include <iomanip>

#include "button/paint/ButtonPainter.h"
#include "support/FakeSystemColors.h"

namespace vt::button {

bool operator==(const WorkingColors& a, const WorkingColors& b) {
    return a.FaceColor == b.FaceColor && a.LightColor == b.LightColor &&
           a.HighlightColor == b.HighlightColor && a.ShadowColor == b.ShadowColor &&
           a.DarkShadowColor == b.DarkShadowColor && a.TextColor == b.TextColor &&
           a.HoverTextColor == b.HoverTextColor && a.TransparentColor == b.TransparentColor &&
           a.BrightFaceColor == b.BrightFaceColor && a.SelectionColor == b.SelectionColor &&
           a.SelectionLightColor == b.SelectionLightColor;
}

void PrintTo(const WorkingColors& c, std::ostream* os) {
    *os << std::hex << "face " << c.FaceColor << " light " << c.LightColor << " highlight "
        << c.HighlightColor << " shadow " << c.ShadowColor << " dark " << c.DarkShadowColor << " text "
        << c.TextColor << " hover " << c.HoverTextColor << " transparent " << c.TransparentColor << " bright "
        << c.BrightFaceColor << " selection " << c.SelectionColor << " selection-light "
        << c.SelectionLightColor;
}

}  // namespace vt::button

using namespace vt::button;

namespace {

// Field order: face, light, highlight, shadow, dark shadow, text, hover text, transparent, bright face,
// selection, selection light.
WorkingColors set(Rgb face, Rgb light, Rgb high, Rgb shadow, Rgb dark, Rgb text, Rgb hover, Rgb transparent,
                  Rgb bright, Rgb sel, Rgb selLight) {
    return WorkingColors{face, light, high, shadow, dark, text, hover, transparent, bright, sel, selLight};
}

struct DeriveColorsTest : ::testing::Test {
    WorkingColors derive(std::int32_t scheme) {
        state.ColorScheme = scheme;
        DeriveColors(state, sources);
        return state.colors;
    }
    vt::test::FakeSystemColors system;
    ColorSources sources{&system, 0xB3BCC1, 0x102030};
    ButtonState state;
};

}  // namespace

TEST(ShiftColor, IntegerRules) {
    EXPECT_EQ(ShiftColor(0xC0C0C0, -24, true, false), 0xA8A8A8u);
    EXPECT_EQ(ShiftColor(0x600000, -24, true, false), 0x540000u);  // only blue is scaled
    EXPECT_EQ(ShiftColor(0x600000, -24, false, false), 0x480000u);
    EXPECT_EQ(ShiftColor(0x202020, -50, false, false), 0x000000u);
    EXPECT_EQ(ShiftColor(0xF0F0F0, 50, false, false), 0xFFFFFFu);
    EXPECT_EQ(ShiftColor(0x640000, -1, true, false), 0x640000u);  // -100 / 192 truncates to 0
    // SoftBevel halves the amount toward zero.
    EXPECT_EQ(ShiftColor(0x808080, -1, false, true), 0x808080u);
    EXPECT_EQ(ShiftColor(0x808080, -5, false, true), 0x7E7E7Eu);
    EXPECT_EQ(ShiftColor(0x808080, 7, false, true), 0x838383u);
    EXPECT_THROW(ShiftColor(0xFF0000, 0x7FFFFFF0, true, false), OverflowError);
}

TEST(BlendWithWhite, MovesEachComponentTowardWhite) {
    EXPECT_EQ(BlendWithWhite(0x0000FF, 128), 0x8080FFu);
    EXPECT_EQ(BlendWithWhite(0x000000, 176), 0xB0B0B0u);
    EXPECT_EQ(BlendWithWhite(0xFFFFFF, 176), 0xFFFFFFu);
}

TEST_F(DeriveColorsTest, TranslateColorReadsSystemColoursAndGivesBlackForTheRest) {
    EXPECT_EQ(TranslateColor(0x123456, sources), 0x123456u);
    EXPECT_EQ(TranslateColor(std::int32_t(0x8000000F), sources), 0xC8D0D4u);
    EXPECT_EQ(TranslateColor(std::int32_t(0x80000063), sources), 0u);
    EXPECT_EQ(TranslateColor(-1, sources), 0u);
    EXPECT_EQ(TranslateColor(std::int32_t(0x8000000F), ColorSources{}), 0u);
}

TEST_F(DeriveColorsTest, CustomColorsFollowBackColorWithAndWithoutSoftBevel) {
    state.BackColor = 0x808080;
    state.ForeColor = 0x0000FF;
    state.ForeOver = 0x00FF00;
    state.MaskColor = std::int32_t(0x80000014);
    EXPECT_EQ(derive(CustomColors), set(0x808080, 0x9F9F9F, 0xAFAFAF, 0x404040, 0x000000, 0x0000FF, 0x00FF00,
                                        0xFFFFFF, 0xB0B0B0, 0x000000, 0x808080));
    state.SoftBevel = true;
    EXPECT_EQ(derive(CustomColors), set(0x808080, 0x8F8F8F, 0x979797, 0x606060, 0x202020, 0x0000FF, 0x00FF00,
                                        0xFFFFFF, 0x989898, 0x404040, 0x808080));
    state.SoftBevel = false;
    state.BackColor = std::int32_t(0x8000000F);  // a system colour: the shades follow it
    system.set(15, 0x707070);
    EXPECT_EQ(derive(CustomColors).ShadowColor, 0x303030u);
}

TEST_F(DeriveColorsTest, BrightFaceScalesBlueOnlyForGradientRounded) {
    state.BackColor = 0x808080;
    state.ButtonType = GradientRounded;
    EXPECT_EQ(derive(CustomColors).BrightFaceColor, 0xA0B0B0u);
    state.ButtonType = RoundedFramed;
    EXPECT_EQ(derive(CustomColors).BrightFaceColor, 0xB0B0B0u);
}

TEST_F(DeriveColorsTest, FixedSystemAndContainerSchemes) {
    state.BackColor = 0x123456;  // ignored by all three
    state.ForeColor = 0x654321;
    state.MaskColor = 0xFF00FF;
    state.SoftBevel = true;  // no effect on constants and system colours; the bright face does follow it
    EXPECT_EQ(derive(FixedColors), set(0xC0C0C0, 0xDFDFDF, 0xFFFFFF, 0x808080, 0x000000, 0, 0, 0xFF00FF,
                                       0xD8D8D8, 0x800000, 0xD1ADAD));
    state.SoftBevel = false;
    const WorkingColors desktop = set(0xC8D0D4, 0xC8D0D4, 0xFFFFFF, 0x808080, 0x404040, 0, 0, 0xFF00FF,
                                      0xF8FFFF, 0x6A240A, BlendWithWhite(0x6A240A, 176));
    EXPECT_EQ(derive(SystemColors), desktop);
    EXPECT_EQ(derive(7), desktop);
    EXPECT_EQ(derive(ContainerColors),
              set(0xB3BCC1, ShiftColor(0xB3BCC1, 31, false, false), ShiftColor(0xB3BCC1, 47, false, false),
                  ShiftColor(0xB3BCC1, -64, false, false), 0x000001, 0x102030, 0x102030, 0xFF00FF,
                  ShiftColor(0xB3BCC1, 48, false, false), 0x6A240A, BlendWithWhite(0x6A240A, 176)));
}
