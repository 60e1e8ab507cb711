#include <set>

#include "ButtonFixture.h"
#include "button/paint/ButtonCanvas.h"
#include "button/paint/CaptionDrawing.h"

using namespace vt::button;

namespace {

using PixelSet = std::set<std::pair<int, int>>;

PixelSet inkOf(const QImage& image, Rgb rgb) {
    const auto v = vt::test::pixelsOf(image, rgb);
    return PixelSet(v.begin(), v.end());
}

PixelSet shifted(const PixelSet& s, int d) {
    PixelSet out;
    for (auto [x, y] : s) out.insert({x + d, y + d});
    return out;
}

std::set<Rgb> coloursOf(const QImage& image) {
    std::set<Rgb> out;
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x) out.insert(vt::test::pixelAt(image, x, y));
    return out;
}

class CaptionDrawing : public vt::test::ButtonFixture {
  protected:
    void SetUp() override {
        setUpButton(ThinRaised, 80, 40, CustomColors);
        state.BackColor = 0x808080;
        state.ForeColor = 0x0000FF;
        state.ForeOver = 0x00FF00;
        state.Font = QFont("DejaVu Sans");
        state.Font.setPixelSize(20);
        state.Font.setBold(true);
        state.Font.setStyleStrategy(QFont::NoAntialias);
        state.Caption = "Hm";
        DeriveColors(state, sources);
        CalcCaptionRect(state);
    }
    // The face alone, then the caption in `style`.
    void paint(std::uint8_t style) {
        surface = vt::test::blankSurface(80, 40, state.colors.FaceColor);
        ButtonCanvas canvas(surface, 80, 40);
        DrawCaption(state, canvas, style);
    }
};

}  // namespace

TEST_F(CaptionDrawing, PressedStyleDrawsOnlyOnePixelRightAndDown) {
    paint(0);
    const PixelSet normal = inkOf(surface, 0x0000FF);
    ASSERT_GT(normal.size(), 20u);
    for (auto [x, y] : normal) {
        ASSERT_GE(x, state.CaptionRect.left);
        ASSERT_LT(x, state.CaptionRect.right);
        ASSERT_GE(y, state.CaptionRect.top);
        ASSERT_LT(y, state.CaptionRect.bottom);
    }
    paint(1);
    EXPECT_EQ(inkOf(surface, 0x00FF00), normal);  // hover: the hover text colour, same place
    paint(2);
    EXPECT_EQ(state.LastCaptionStyle, 2);
    EXPECT_EQ(inkOf(surface, 0x00FF00), shifted(normal, 1));
    EXPECT_EQ(coloursOf(surface).size(), 2u);
}

TEST_F(CaptionDrawing, EffectCopiesByKind) {
    paint(0);
    const PixelSet text = inkOf(surface, 0x0000FF);
    EXPECT_EQ(coloursOf(surface), (std::set<Rgb>{0x808080, 0x0000FF}));

    state.SpecialEffect = EffectShadow;
    paint(0);
    EXPECT_EQ(coloursOf(surface), (std::set<Rgb>{0x808080, 0x0000FF, 0x585858}));
    EXPECT_EQ(inkOf(surface, 0x585858), [&] {
        PixelSet dark = shifted(text, 1);
        for (auto p : text) dark.erase(p);
        return dark;
    }());

    state.SpecialEffect = 9;  // above 3 acts as the shadow
    paint(0);
    EXPECT_EQ(coloursOf(surface).size(), 3u);

    state.SpecialEffect = EffectRaised;
    paint(0);
    PixelSet light = inkOf(surface, 0xA8A8A8), dark = inkOf(surface, 0x585858);
    EXPECT_FALSE(light.empty());
    EXPECT_FALSE(dark.empty());
    EXPECT_EQ(light.begin()->first, text.begin()->first - 1);  // the light copy is up and left
    EXPECT_EQ(dark.rbegin()->first, text.rbegin()->first + 1);

    state.SpecialEffect = EffectSunken;
    paint(0);
    light = inkOf(surface, 0xA8A8A8);
    dark = inkOf(surface, 0x585858);
    EXPECT_EQ(dark.begin()->first, text.begin()->first - 1);  // reversed
    EXPECT_EQ(light.rbegin()->first, text.rbegin()->first + 1);

    state.SoftBevel = true;  // halves the colour offsets, not the positions
    DeriveColors(state, sources);
    paint(0);
    EXPECT_FALSE(inkOf(surface, 0x949494).empty());
    EXPECT_FALSE(inkOf(surface, 0x6C6C6C).empty());
    EXPECT_EQ(inkOf(surface, 0x6C6C6C).begin()->first, text.begin()->first - 1);
}

TEST_F(CaptionDrawing, EffectBaseColourFollowsTheStyle) {
    state.SpecialEffect = EffectShadow;
    state.ButtonType = GradientRounded;
    DeriveColors(state, sources);
    paint(0);
    EXPECT_FALSE(inkOf(surface, ShiftColor(state.colors.BrightFaceColor, -40, false, false)).empty());

    state.ButtonType = HoverHighlight;
    state.ColorScheme = FixedColors;
    state.MouseIsOver = true;
    state.LastState = StateUp;
    DeriveColors(state, sources);
    paint(1);
    EXPECT_FALSE(inkOf(surface, ShiftColor(0xD1ADAD, -40, false, false)).empty());
    state.LastState = StateDown;
    paint(1);
    EXPECT_FALSE(inkOf(surface, ShiftColor(0xC0C0C0, -40, false, false)).empty());
}

TEST_F(CaptionDrawing, DoubledStylesUseTheirColours) {
    const WorkingColors& c = state.colors;
    paint(0);
    const PixelSet text = inkOf(surface, 0x0000FF);
    PixelSet underOnly = shifted(text, 1);
    for (auto p : text) underOnly.erase(p);
    struct Expect {
        std::uint8_t style;
        Rgb under, over;
    };
    for (const Expect& e :
         {Expect{3, c.HighlightColor, c.ShadowColor}, Expect{6, c.HighlightColor, c.FaceColor},
          Expect{7, ShiftColor(c.ShadowColor, -50, false, false), c.HighlightColor}}) {
        paint(e.style);
        EXPECT_EQ(state.LastCaptionStyle, e.style);
        if (e.over != c.FaceColor) {
            EXPECT_EQ(inkOf(surface, e.over), text) << int(e.style);
        }
        EXPECT_EQ(inkOf(surface, e.under), underOnly) << int(e.style);
    }
    paint(4);
    EXPECT_EQ(coloursOf(surface), (std::set<Rgb>{c.FaceColor, c.ShadowColor}));
    paint(5);
    EXPECT_EQ(coloursOf(surface),
              (std::set<Rgb>{c.FaceColor, ShiftColor(c.BrightFaceColor, -104, true, false)}));
}

TEST_F(CaptionDrawing, AccessKeyIsUnderlinedAndPersianIsDrawn) {
    paint(0);
    const size_t plain = inkOf(surface, 0x0000FF).size();
    state.Caption = "&Hm";
    CalcCaptionRect(state);
    paint(0);
    EXPECT_GT(inkOf(surface, 0x0000FF).size(), plain);

    state.Caption = QString::fromUtf8("\u0634\u0631\u0648\u0639");  // Persian "start"
    CalcCaptionRect(state);
    paint(0);
    EXPECT_GT(inkOf(surface, 0x0000FF).size(), 10u);
    EXPECT_GT(state.CaptionWidth, 0);
}
