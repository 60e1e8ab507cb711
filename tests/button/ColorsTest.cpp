#include <gtest/gtest.h>

#include "button/ButtonPainter.h"
#include "button/OverflowError.h"
#include "support/FakeSystemColors.h"

using namespace vt::button;

namespace {

struct ColorsTest : ::testing::Test {
    vt::test::FakeSystemColors system;
    ColorSources sources{&system, 0xB3BCC1, 0x102030};
    ButtonState state;
};

}  // namespace

TEST(ShiftColor, ScalesOnlyBlueWhenAskedAndClamps) {
    EXPECT_EQ(ShiftColor(0xC0C0C0, -24, true, false), 0xA8A8A8u);
    EXPECT_EQ(ShiftColor(0x600000, -24, true, false), 0x540000u);
    EXPECT_EQ(ShiftColor(0x600000, -24, false, false), 0x480000u);
    EXPECT_EQ(ShiftColor(0x202020, -50, false, false), 0x000000u);
    EXPECT_EQ(ShiftColor(0xF0F0F0, 50, false, false), 0xFFFFFFu);
    EXPECT_EQ(ShiftColor(0x808080, 48, true, false), 0xA0B0B0u);
    EXPECT_EQ(ShiftColor(0x123456, 0, true, false), 0x123456u);
    // Blue scaling truncates toward zero: 100 * -1 / 192 is 0, not -1.
    EXPECT_EQ(ShiftColor(0x640000, -1, true, false), 0x640000u);
}

TEST(ShiftColor, SoftBevelHalvesTowardZero) {
    EXPECT_EQ(ShiftColor(0x808080, -1, false, true), 0x808080u);
    EXPECT_EQ(ShiftColor(0x808080, -5, false, true), 0x7E7E7Eu);
    EXPECT_EQ(ShiftColor(0x808080, 7, false, true), 0x838383u);
}

TEST(ShiftColor, HugeAmountIsAnOverflowNotAWrap) {
    EXPECT_THROW(ShiftColor(0xFF0000, 0x7FFFFFF0, true, false), OverflowError);
    EXPECT_EQ(ShiftColor(0x000000, 0x7FFFFF00, false, false), 0xFFFFFFu);
}

TEST(BlendWithWhite, MovesEachComponentTowardWhite) {
    EXPECT_EQ(BlendWithWhite(0x0000FF, 128), 0x8080FFu);
    EXPECT_EQ(BlendWithWhite(0x000000, 176), 0xB0B0B0u);
    EXPECT_EQ(BlendWithWhite(0xFFFFFF, 176), 0xFFFFFFu);
    EXPECT_EQ(BlendWithWhite(0x6A240A, 0), 0x6A240Au);
}

TEST_F(ColorsTest, TranslateColorReadsSystemColoursAndGivesBlackForTheRest) {
    EXPECT_EQ(TranslateColor(0x123456, sources), 0x123456u);
    EXPECT_EQ(TranslateColor(std::int32_t(0x8000000F), sources), 0xC8D0D4u);
    EXPECT_EQ(TranslateColor(std::int32_t(0x80000012), sources), 0x000000u);
    EXPECT_EQ(TranslateColor(std::int32_t(0x80000063), sources), 0u);  // not a known index
    EXPECT_EQ(TranslateColor(-1, sources), 0u);
    EXPECT_EQ(TranslateColor(std::int32_t(0x8000000F), ColorSources{}), 0u);  // no desktop to ask
}

TEST_F(ColorsTest, CustomColorsDeriveShadesFromBackColor) {
    state.ColorScheme = CustomColors;
    state.BackColor = 0x808080;
    state.ForeColor = 0x0000FF;
    state.ForeOver = 0x00FF00;
    state.MaskColor = std::int32_t(0x80000014);
    DeriveColors(state, sources);
    const WorkingColors& c = state.colors;
    EXPECT_EQ(c.FaceColor, 0x808080u);
    EXPECT_EQ(c.TextColor, 0x0000FFu);
    EXPECT_EQ(c.HoverTextColor, 0x00FF00u);
    EXPECT_EQ(c.ShadowColor, 0x404040u);
    EXPECT_EQ(c.LightColor, 0x9F9F9Fu);
    EXPECT_EQ(c.HighlightColor, 0xAFAFAFu);
    EXPECT_EQ(c.DarkShadowColor, 0x000000u);
    EXPECT_EQ(c.SelectionColor, 0x000000u);
    EXPECT_EQ(c.SelectionLightColor, 0x808080u);
    EXPECT_EQ(c.TransparentColor, 0xFFFFFFu);
    EXPECT_EQ(c.BrightFaceColor, 0xB0B0B0u);

    state.SoftBevel = true;
    DeriveColors(state, sources);
    EXPECT_EQ(c.ShadowColor, 0x606060u);
    EXPECT_EQ(c.HighlightColor, 0x979797u);
    EXPECT_EQ(c.LightColor, 0x8F8F8Fu);
    EXPECT_EQ(c.DarkShadowColor, 0x202020u);
    EXPECT_EQ(c.SelectionColor, 0x404040u);
    EXPECT_EQ(c.BrightFaceColor, 0x989898u);
}

TEST_F(ColorsTest, CustomBackColorMayNameASystemColour) {
    state.ColorScheme = CustomColors;
    state.BackColor = std::int32_t(0x8000000F);
    system.set(15, 0x707070);
    DeriveColors(state, sources);
    EXPECT_EQ(state.colors.FaceColor, 0x707070u);
    EXPECT_EQ(state.colors.ShadowColor, 0x303030u);
}

TEST_F(ColorsTest, BrightFaceScalesBlueOnlyForGradientRounded) {
    state.ColorScheme = CustomColors;
    state.BackColor = 0x808080;
    state.ButtonType = GradientRounded;
    DeriveColors(state, sources);
    EXPECT_EQ(state.colors.BrightFaceColor, 0xA0B0B0u);
    state.ButtonType = RoundedFramed;
    DeriveColors(state, sources);
    EXPECT_EQ(state.colors.BrightFaceColor, 0xB0B0B0u);
}

TEST_F(ColorsTest, FixedColorsIgnoreTheColourProperties) {
    state.ColorScheme = FixedColors;
    state.BackColor = 0x123456;
    state.ForeColor = 0x654321;
    state.SoftBevel = true;
    DeriveColors(state, sources);
    const WorkingColors& c = state.colors;
    EXPECT_EQ(c.FaceColor, 0xC0C0C0u);
    EXPECT_EQ(c.TextColor, 0u);
    EXPECT_EQ(c.HoverTextColor, 0u);
    EXPECT_EQ(c.ShadowColor, 0x808080u);
    EXPECT_EQ(c.LightColor, 0xDFDFDFu);
    EXPECT_EQ(c.HighlightColor, 0xFFFFFFu);
    EXPECT_EQ(c.DarkShadowColor, 0u);
    EXPECT_EQ(c.SelectionColor, 0x800000u);
    EXPECT_EQ(c.SelectionLightColor, 0xD1ADADu);
    EXPECT_EQ(c.BrightFaceColor, 0xD8D8D8u);  // the bright face does follow SoftBevel
}

TEST_F(ColorsTest, SystemColorsAndUnknownSchemesReadTheDesktop) {
    for (std::int32_t scheme : {std::int32_t(SystemColors), std::int32_t(7), std::int32_t(-3)}) {
        state.ColorScheme = scheme;
        state.BackColor = 0x123456;
        DeriveColors(state, sources);
        const WorkingColors& c = state.colors;
        EXPECT_EQ(c.FaceColor, 0xC8D0D4u) << scheme;
        EXPECT_EQ(c.TextColor, 0u);
        EXPECT_EQ(c.ShadowColor, 0x808080u);
        EXPECT_EQ(c.LightColor, 0xC8D0D4u);
        EXPECT_EQ(c.HighlightColor, 0xFFFFFFu);
        EXPECT_EQ(c.DarkShadowColor, 0x404040u);
        EXPECT_EQ(c.SelectionColor, 0x6A240Au);
        EXPECT_EQ(c.SelectionLightColor, BlendWithWhite(0x6A240A, 176));
    }
}

TEST_F(ColorsTest, ContainerColorsComeFromTheParent) {
    state.ColorScheme = ContainerColors;
    state.BackColor = 0x123456;
    DeriveColors(state, sources);
    const WorkingColors& c = state.colors;
    EXPECT_EQ(c.FaceColor, 0xB3BCC1u);
    EXPECT_EQ(c.TextColor, 0x102030u);
    EXPECT_EQ(c.HoverTextColor, 0x102030u);
    EXPECT_EQ(c.ShadowColor, ShiftColor(0xB3BCC1, -64, false, false));
    EXPECT_EQ(c.SelectionColor, 0x6A240Au);
    EXPECT_EQ(c.SelectionLightColor, BlendWithWhite(0x6A240A, 176));
}
