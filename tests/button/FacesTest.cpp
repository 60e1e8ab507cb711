// Pixel checks of every style's up, down and disabled looks on small FixedColors buttons with an empty
// caption, at the stroke positions the style tables give.
#include "ButtonFixture.h"

using namespace vt::button;

namespace {

// FixedColors working set.
constexpr Rgb F = 0xC0C0C0, L = 0xDFDFDF, Hi = 0xFFFFFF, S = 0x808080, D = 0x000000;
constexpr Rgb Sel = 0x800000, SelL = 0xD1ADAD;

struct Px {
    int x, y;
    Rgb rgb;
};

enum Flag : unsigned { None = 0, Over = 1, Focus = 2, Disabled = 4, Default = 8 };

struct FaceCase {
    const char* name;
    std::int32_t type;
    std::uint8_t paintState;
    unsigned flags;
    int w, h;
    std::vector<Px> pixels;
};

void PrintTo(const FaceCase& c, std::ostream* os) {
    *os << c.name;
}

class Faces : public vt::test::ButtonFixture, public ::testing::WithParamInterface<FaceCase> {};

TEST_P(Faces, StrokesLieWhereTheTableSays) {
    const FaceCase& c = GetParam();
    setUpButton(c.type, c.w, c.h);
    state.MouseIsOver = c.flags & Over;
    state.HasFocus = c.flags & Focus;
    state.Enabled = !(c.flags & Disabled);
    state.DisplayAsDefault = c.flags & Default;
    ASSERT_TRUE(repaint(c.paintState));
    for (const Px& p : c.pixels) {
        EXPECT_EQ(at(p.x, p.y), p.rgb) << std::hex << "pixel (" << std::dec << p.x << ", " << p.y << ")";
    }
}

// A focus-rectangle pixel of odd parity: inverted (F ^ white) when the dotted frame is drawn.
constexpr Rgb Inv = F ^ 0xFFFFFF;

// clang-format off
const FaceCase kCases[] = {
    {"FramedBevelUp", FramedBevel, StateUp, Focus, 16, 12,
     {{0, 0, D}, {15, 11, D}, {1, 1, Hi}, {1, 9, Hi}, {14, 1, S}, {1, 10, S}, {14, 10, S}, {2, 2, Hi},
      {12, 2, Hi}, {13, 2, S}, {2, 9, S}, {8, 5, F}, {5, 4, Inv}, {4, 4, F}}},
    {"FramedBevelDown", FramedBevel, StateDown, Focus, 16, 12,
     {{0, 0, D}, {1, 1, S}, {14, 1, Hi}, {2, 2, S}, {13, 2, Hi}, {5, 4, Inv}}},
    {"FramedBevelDisabled", FramedBevel, StateUp, Focus | Disabled, 16, 12,
     {{0, 0, D}, {1, 1, Hi}, {14, 1, S}, {5, 4, F}}},

    {"Standard3DUp", Standard3D, StateUp, Focus, 16, 12,
     {{0, 0, Hi}, {14, 0, Hi}, {15, 0, D}, {0, 11, D}, {1, 1, L}, {13, 1, L}, {14, 1, S}, {1, 10, S},
      {5, 5, F}, {5, 4, F}}},
    {"Standard3DUpDefault", Standard3D, StateUp, Focus | Default, 16, 12,
     {{0, 0, D}, {15, 11, D}, {1, 1, Hi}, {14, 1, D}, {2, 2, L}, {13, 2, S}, {5, 4, Inv}}},
    {"Standard3DDown", Standard3D, StateDown, Focus, 16, 12,
     {{0, 0, D}, {15, 0, Hi}, {1, 1, S}, {14, 1, L}, {5, 4, F}}},
    {"Standard3DDownDefault", Standard3D, StateDown, Focus | Default, 16, 12,
     {{0, 0, D}, {1, 1, S}, {14, 10, S}, {2, 2, F}, {5, 4, Inv}}},
    {"Standard3DDisabled", Standard3D, StateUp, Focus | Default | Disabled, 16, 12,
     {{0, 0, Hi}, {15, 0, D}, {1, 1, L}}},

    // Gradient: step 25 / 10 = 2.5, so rows 1 and 5 are ties that round to even (-2 and -12).
    {"GradientRoundedUp", GradientRounded, StateUp, Focus, 16, 10,
     {{8, 3, 0xE6E8E8}, {8, 5, 0xE1E4E4}, {0, 5, 0x733C00}, {1, 1, 0x7B4D10},
      {14, 8, 0x7B4D10}, {14, 7, 0xE7AE8C}, {5, 8, 0xEF826B}, {5, 1, 0xFFE7CE}, {5, 2, 0xF7D7BD},
      {2, 5, 0xF0D1B5},
      {13, 5, 0xF0D1B5}, {1, 5, 0xE7AE8C}, {5, 4, 0xE4E6E6}}},
    {"GradientRoundedUpPlain", GradientRounded, StateUp, None, 16, 10,
     {{8, 8, 0xB4C0C0}, {8, 7, ShiftColor(0xF0F0F0, -32, true, false)}, {14, 5, 0xC3CCCC},
      {13, 5, ShiftColor(0xF0F0F0, -24, true, false)}, {8, 1, 0xFFFFFF},
      {8, 2, ShiftColor(0xF0F0F0, 10, true, false)}, {1, 5, 0xEAEBEB},
      {2, 5, ShiftColor(0xF0F0F0, -10, true, false)}, {14, 9, 0x733C00}, {14, 8, 0x7B4D10}}},
    {"GradientRoundedHoverWinsOverFocus", GradientRounded, StateUp, Over | Focus, 16, 10,
     {{1, 5, 0x31B2FF}, {14, 5, 0x31B2FF}, {5, 8, 0x0096E7}, {5, 1, 0xCEF3FF}, {5, 2, 0x8CDBFF},
      {2, 5, 0x6BCBFF}, {13, 5, 0x6BCBFF}}},
    {"GradientRoundedDown", GradientRounded, StateDown, None, 16, 10,
     {{8, 5, 0xBCC4C4}, {8, 3, 0xB6BEBE}, {8, 6, 0xBEC6C6}, {13, 4, 0xF0F0F0}, {0, 0, 0x733C00},
      {1, 8, 0x7B4D10}}},
    {"GradientRoundedDisabled", GradientRounded, StateUp, Over | Focus | Disabled, 16, 10,
     {{8, 5, 0xD2D8D8}, {0, 5, 0x879C9C}, {1, 1, 0x96A8A8}, {14, 8, 0x96A8A8}}},

    {"RoundedFramedUp", RoundedFramed, StateUp, Focus, 16, 12,
     {{1, 1, D}, {2, 1, F}, {1, 2, F}, {5, 2, Hi}, {2, 5, Hi}, {3, 3, Hi}, {13, 5, F}, {5, 9, F},
      {12, 8, F}, {14, 5, S}, {5, 10, S}, {13, 9, S}, {14, 10, D}, {8, 5, L}, {0, 5, D}, {5, 4, L}}},
    {"RoundedFramedDown", RoundedFramed, StateDown, Focus, 16, 12,
     {{8, 5, 0x707070}, {2, 2, 0x404040}, {3, 3, 0x606060}, {5, 2, 0x606060}, {5, 1, 0x404040},
      {13, 5, S}, {5, 9, S}, {12, 8, S}, {14, 5, 0x707070}, {14, 9, 0x606060}, {13, 10, 0x606060},
      {5, 10, 0x707070}, {2, 10, 0x606060}, {14, 2, 0x606060}, {1, 1, D}, {0, 0, D}}},
    {"RoundedFramedDisabled", RoundedFramed, StateUp, Disabled, 16, 12,
     {{1, 1, D}, {2, 1, F}, {5, 2, Hi}, {14, 5, S}, {8, 5, L}}},

    {"FlatFramedUp", FlatFramed, StateUp, None, 16, 12,
     {{0, 0, 0x666666}, {14, 0, 0x666666}, {14, 5, 0x666666}, {5, 10, 0x666666}, {15, 5, Hi}, {5, 11, Hi},
      {1, 5, Hi}, {5, 1, Hi}, {1, 10, 0x9A9A9A}, {14, 1, 0x9A9A9A}, {8, 5, 0xCCCCCC}}},
    {"FlatFramedUpFocusFramesTheCaption", FlatFramed, StateUp, Focus, 16, 12,
     {{6, 5, 0xCC9999}, {9, 5, 0xCC9999}, {6, 6, 0xCC9999}, {9, 6, 0xCC9999}, {5, 5, 0xCCCCCC},
      {10, 5, 0xCCCCCC}, {5, 4, 0xCCCCCC}}},
    {"FlatFramedDown", FlatFramed, StateDown, Focus, 16, 12,
     {{8, 4, 0x909090}, {15, 5, Hi}, {5, 11, Hi}, {0, 0, 0x666666}, {14, 5, 0x666666}, {6, 5, 0xCC9999}}},
    {"FlatFramedDisabled", FlatFramed, StateDown, Focus | Disabled, 16, 12,
     {{0, 0, S}, {15, 11, S}, {15, 0, S}, {8, 5, F}, {6, 5, F}}},

    {"SoftRaisedUp", SoftRaised, StateUp, Focus, 16, 12,
     {{0, 0, 0xE7E7E7}, {15, 0, S}, {1, 1, 0xE7E7E7}, {14, 1, S}, {8, 5, F}, {5, 4, Inv}}},
    {"SoftRaisedDown", SoftRaised, StateDown, Focus, 16, 12,
     {{0, 0, S}, {15, 0, 0xE7E7E7}, {1, 1, S}, {5, 4, Inv}}},
    {"SoftRaisedDisabled", SoftRaised, StateUp, Focus | Disabled, 16, 12,
     {{0, 0, 0xE7E7E7}, {15, 0, S}, {5, 4, F}}},

    {"ThinRaisedUp", ThinRaised, StateUp, Focus, 16, 12,
     {{0, 0, Hi}, {15, 0, S}, {0, 11, S}, {1, 1, F}, {4, 3, Inv}, {3, 3, F}}},
    {"ThinRaisedDown", ThinRaised, StateDown, None, 16, 12, {{0, 0, S}, {15, 0, Hi}, {1, 1, F}}},
    {"ThinRaisedDisabled", ThinRaised, StateUp, Focus | Disabled, 16, 12,
     {{0, 0, Hi}, {15, 0, S}, {4, 3, F}}},

    {"HoverThinUp", HoverThin, StateUp, Focus, 16, 12, {{0, 0, F}, {15, 11, F}, {4, 3, Inv}}},
    {"HoverThinUpOver", HoverThin, StateUp, Over, 16, 12, {{0, 0, Hi}, {15, 11, S}}},
    {"HoverThinDownAfterLeaving", HoverThin, StateDown, None, 16, 12, {{0, 0, S}, {15, 11, Hi}}},
    {"HoverThinDisabled", HoverThin, StateUp, Over | Focus | Disabled, 16, 12, {{0, 0, F}, {4, 3, F}}},

    {"HoverHighlightUp", HoverHighlight, StateUp, None, 16, 12, {{0, 0, F}, {8, 5, F}}},
    {"HoverHighlightUpOver", HoverHighlight, StateUp, Over | Focus, 16, 12,
     {{0, 0, Sel}, {15, 11, Sel}, {1, 1, SelL}, {8, 5, SelL}, {4, 3, SelL ^ 0xFFFFFF}}},
    {"HoverHighlightDownOver", HoverHighlight, StateDown, Over, 16, 12, {{0, 0, Sel}, {8, 5, 0xBF8080}}},
    {"HoverHighlightDownAfterLeaving", HoverHighlight, StateDown, None, 16, 12, {{0, 0, Sel}, {8, 5, F}}},
    {"HoverHighlightDisabled", HoverHighlight, StateUp, Over, 16, 12, {{0, 0, Sel}}},

    {"BorderlessUp", Borderless, StateUp, Over | Focus, 16, 12, {{0, 0, F}, {4, 3, F}, {15, 11, F}}},
    {"BorderlessDown", Borderless, StateDown, Focus, 16, 12, {{0, 0, F}, {4, 3, F}}},

    {"Hover3DUp", Hover3D, StateUp, None, 16, 12, {{0, 0, F}, {1, 1, F}}},
    {"Hover3DUpOver", Hover3D, StateUp, Over, 16, 12, {{0, 0, Hi}, {15, 0, D}, {1, 1, L}, {14, 1, S}}},
    {"Hover3DDown", Hover3D, StateDown, None, 16, 12, {{0, 0, D}, {15, 0, Hi}, {1, 1, S}, {14, 1, L}}},
    {"Hover3DDisabled", Hover3D, StateUp, Over, 16, 12, {{0, 0, Hi}}},

    {"OvalUp", Oval, StateUp, Focus, 16, 12, {{8, 0, F}, {8, 5, F}, {4, 3, F}}},
    {"OvalUpOver", Oval, StateUp, Over, 16, 12, {{8, 0, S}, {8, 1, S}, {8, 2, F}, {0, 6, S}}},
    {"OvalDown", Oval, StateDown, Focus, 16, 12, {{8, 0, D}, {8, 11, D}, {8, 5, 0xA0A0A0}, {4, 3, 0xA0A0A0}}},
    {"OvalDisabled", Oval, StateDown, Over | Disabled, 16, 12, {{8, 0, F}, {8, 5, F}}},

    // Gradient: step 58 / 10 = 5.8 in single precision.
    {"GradientFramedUp", GradientFramed, StateUp, None, 16, 10,
     {{8, 5, 0xE2E2E2}, {8, 6, 0xDCDCDC}, {0, 0, 0x4E4E4E}, {15, 9, 0x4E4E4E}, {1, 1, 0xB7B7B7},
      {14, 8, 0xB7B7B7}, {2, 2, Hi}, {13, 3, Hi}, {2, 4, Hi}, {3, 7, Hi}, {4, 4, 0xE8E8E8}}},
    {"GradientFramedUpDefault", GradientFramed, StateUp, Default | Focus, 16, 12,
     {{0, 0, 0x4E4E4E}, {7, 6, ShiftColor(0xFFFFFF, -29, false, false) ^ 0xFFFFFF}}},
    {"GradientFramedUpOver", GradientFramed, StateUp, Over, 16, 10,
     {{8, 5, L}, {0, 0, 0x4E4E4E}, {2, 2, Hi}}},
    {"GradientFramedDown", GradientFramed, StateDown, None, 16, 10,
     {{8, 5, 0xB7B7B7}, {0, 0, 0x505050}, {15, 9, 0x505050}, {5, 8, Hi}, {14, 5, Hi}, {14, 8, Hi}}},
    {"GradientFramedDisabled", GradientFramed, StateUp, Over | Focus | Disabled, 16, 12,
     {{8, 5, ShiftColor(0xFFFFFF, -24, false, false)}, {0, 0, 0x4E4E4E},
      {7, 6, ShiftColor(0xFFFFFF, -29, false, false)}}},
};
// clang-format on

INSTANTIATE_TEST_SUITE_P(AllStyles, Faces, ::testing::ValuesIn(kCases),
                         [](const ::testing::TestParamInfo<FaceCase>& testCase) {
                             return testCase.param.name;
                         });

class TransparentFace : public vt::test::ButtonFixture {};

TEST_F(TransparentFace, ShowsTheCapturedBackground) {
    setUpButton(Transparent, 16, 12);
    state.Background = vt::test::blankSurface(16, 12, 0x123456);
    state.Background.setPixel(0, 0, qRgb(1, 2, 3));
    state.HasFocus = true;
    for (std::uint8_t s : {StateUp, StateDown}) {
        ASSERT_TRUE(repaint(s));
        EXPECT_EQ(at(0, 0), 0x030201u);
        EXPECT_EQ(at(8, 1), 0x123456u);
        EXPECT_EQ(at(4, 3), 0x123456u ^ 0xFFFFFFu);  // the dotted focus frame
    }
    state.Enabled = false;
    ASSERT_TRUE(repaint(StateUp));
    EXPECT_EQ(at(4, 3), 0x123456u);
    // Never captured: the face colour shows.
    state.Background = QImage();
    state.Enabled = true;
    ASSERT_TRUE(repaint(StateUp));
    EXPECT_EQ(at(8, 1), F);
}

class RoundedFramedPressed : public vt::test::ButtonFixture {};

TEST_F(RoundedFramedPressed, RestoresBrightFaceColor) {
    setUpButton(RoundedFramed, 16, 12, CustomColors);
    state.BackColor = 0x808080;
    state.SpecialEffect = EffectShadow;
    DeriveColors(state, sources);
    state.colors.BrightFaceColor = 0x010203;  // whatever it held, it ends as the derived value
    ASSERT_TRUE(repaint(StateDown));
    EXPECT_EQ(state.colors.BrightFaceColor, ShiftColor(0x808080, 48, false, false));
}

}  // namespace
