#include "ButtonFixture.h"
#include "button/paint/BlitPicture.h"
#include "button/paint/ButtonCanvas.h"
#include "button/paint/PictureDrawing.h"

using namespace vt::button;
using vt::test::pixelAt;

namespace {

Picture bitmapOf(const std::vector<std::vector<Rgb>>& rows) {
    Picture p;
    p.image = QImage(int(rows[0].size()), int(rows.size()), QImage::Format_RGB32);
    for (int y = 0; y < p.image.height(); ++y)
        for (int x = 0; x < p.image.width(); ++x) p.image.setPixel(x, y, toQRgb(rows[size_t(y)][size_t(x)]));
    return p;
}

Rgb composeOne(Rgb picture, Rgb face, const BlitOptions& options, bool useMask = true, Rgb mask = 0xFF00FF) {
    QImage surface = vt::test::blankSurface(1, 1, face);
    BlitPicture(surface, 0, 0, 1, 1, bitmapOf({{picture}}), mask, useMask, options);
    return pixelAt(surface, 0, 0);
}

BlitOptions greyscale() {
    BlitOptions o;
    o.greyscale = true;
    return o;
}

}  // namespace

TEST(BlitPicture, GreyscaleRoundsTwiceToEven) {
    EXPECT_EQ(composeOne(0x0000FF, 0, greyscale()), 0x4C4C4Cu);  // red: 76
    EXPECT_EQ(composeOne(0x00FF00, 0, greyscale()), 0x969696u);  // green: 150
    EXPECT_EQ(composeOne(0xFF0000, 0, greyscale()), 0x1C1C1Cu);  // blue: 28
    EXPECT_EQ(composeOne(0xFFFFFF, 0, greyscale()), 0xFEFEFEu);  // white: 254.5 goes to 254
}

TEST(BlitPicture, BlendTruncatesTwoThirdsPicture) {
    BlitOptions blend;
    blend.blend = true;
    EXPECT_EQ(composeOne(0xFFFFFF, 0x000000, blend), 0xAAAAAAu);
    EXPECT_EQ(composeOne(0x000000, 0xFFFFFF, blend), 0x555555u);
    EXPECT_EQ(composeOne(0x010203, 0x000000, blend), 0x000102u);
}

TEST(BlitPicture, DarkOnlyTintStopsAbove384) {
    BlitOptions tint;
    tint.tint = 0x0000AA;
    tint.darkOnly = true;
    EXPECT_EQ(composeOne(0xFFFFFF, 0x123456, tint), 0x123456u);
    EXPECT_EQ(composeOne(0x808080, 0x123456, tint), 0x0000AAu);  // sum 384 takes it
    EXPECT_EQ(composeOne(0x808081, 0x123456, tint), 0x123456u);  // 385 does not
    tint.darkOnly = false;
    EXPECT_EQ(composeOne(0xFFFFFF, 0x123456, tint), 0x0000AAu);
}

TEST(BlitPicture, MaskColourIsTransparentOnlyWhileUsed) {
    EXPECT_EQ(composeOne(0xFF00FF, 0x123456, {}), 0x123456u);
    EXPECT_EQ(composeOne(0xFF00FF, 0x123456, {}, false), 0xFF00FFu);
    EXPECT_EQ(composeOne(0xFF00FE, 0x123456, {}), 0xFF00FEu);
    BlitOptions tint;
    tint.tint = 0x0000AA;
    EXPECT_EQ(composeOne(0xFF00FF, 0x123456, tint), 0x123456u);  // the mask wins over every option
    EXPECT_EQ(composeOne(0xFF00FF, 0x123456, greyscale()), 0x123456u);
}

TEST(BlitPicture, OddWidthsComposeEveryPixelInPlace) {
    std::vector<std::vector<Rgb>> rows(3, std::vector<Rgb>(17));
    for (int y = 0; y < 3; ++y)
        for (int x = 0; x < 17; ++x) rows[size_t(y)][size_t(x)] = Rgb(x * 13 + y * 70 + 1);
    const Picture picture = bitmapOf(rows);
    QImage surface = vt::test::blankSurface(20, 6, 0x00FF00);
    BlitPicture(surface, 2, 1, 17, 3, picture, 0xFF00FF, true, {});
    for (int y = 0; y < 6; ++y)
        for (int x = 0; x < 20; ++x) {
            const bool inside = x >= 2 && x < 19 && y >= 1 && y < 4;
            ASSERT_EQ(pixelAt(surface, x, y), inside ? rows[size_t(y - 1)][size_t(x - 2)] : 0x00FF00u)
                << x << "," << y;
        }
    vt::test::saveOnFailure(surface, "blit-17-wide");
}

TEST(BlitPicture, SizesAndClipping) {
    const Picture picture = bitmapOf({{1, 2}, {3, 4}});
    QImage surface = vt::test::blankSurface(3, 3, 0x00FF00);
    BlitPicture(surface, 0, 0, 0, 2, picture, 0xFF00FF, true, {});
    EXPECT_EQ(vt::test::pixelsOf(surface, 0x00FF00).size(), 9u);
    BlitPicture(surface, 2, 2, -1, -1, picture, 0xFF00FF, true, {});  // own size, clipped
    EXPECT_EQ(pixelAt(surface, 2, 2), 1u);
    BlitPicture(surface, -1, -1, -1, -1, picture, 0xFF00FF, true, {});
    EXPECT_EQ(pixelAt(surface, 0, 0), 4u);
    // A bitmap smaller than the rectangle leaves the face where it has no pixels.
    surface.fill(Qt::green);
    BlitPicture(surface, 0, 0, 3, 3, picture, 0xFF00FF, false, {});
    EXPECT_EQ(pixelAt(surface, 1, 1), 4u);
    EXPECT_EQ(pixelAt(surface, 2, 2), 0x00FF00u);
    EXPECT_THROW(BlitPicture(surface, INT32_MAX, 0, 2, 2, picture, 0, true, {}), OverflowError);
}

TEST(BlitPicture, IconTransparencyShowsTheMaskColour) {
    Picture icon;
    icon.type = Picture::Icon;
    icon.image = QImage(2, 1, QImage::Format_ARGB32);
    icon.image.setPixel(0, 0, qRgba(0, 0, 255, 255));
    icon.image.setPixel(1, 0, qRgba(0, 0, 0, 0));
    QImage surface = vt::test::blankSurface(2, 1, 0x00FF00);
    BlitPicture(surface, 0, 0, 2, 1, icon, 0xC0C0C0, true, {});
    EXPECT_EQ(pixelAt(surface, 0, 0), 0xFF0000u);
    EXPECT_EQ(pixelAt(surface, 1, 0), 0x00FF00u);
    BlitPicture(surface, 0, 0, 2, 1, icon, 0xC0C0C0, false, {});
    EXPECT_EQ(pixelAt(surface, 1, 0), 0xC0C0C0u);  // an opaque block of the mask colour
}

namespace {

// A 4 x 4 picture of one colour with a mask-coloured corner, on a FixedColors button.
class PictureDrawingTest : public vt::test::ButtonFixture {
  protected:
    static PictureRef square(Rgb rgb) {
        auto p = std::make_shared<Picture>();
        p->image = QImage(4, 4, QImage::Format_RGB32);
        p->image.fill(toQRgb(rgb));
        p->image.setPixel(0, 0, toQRgb(0xFF00FF));
        return p;
    }
    void place(std::int32_t type, PictureRef normal, PictureRef over = {}) {
        setUpButton(type, 20, 12);
        state.MaskColor = 0xFF00FF;
        state.PictureNormal = std::move(normal);
        state.PictureOver = std::move(over);
        DeriveColors(state, sources);
        MeasurePicture(state);
        CalcCaptionRect(state);
        if (!state.PictureNormal) return;
        ASSERT_EQ(state.PictureX, 8);
        ASSERT_EQ(state.PictureY, 4);
    }
};

}  // namespace

TEST_F(PictureDrawingTest, UpStates) {
    place(ThinRaised, square(0x202020), square(0x0000AA));
    ASSERT_TRUE(repaint(StateUp));
    EXPECT_EQ(at(9, 5), 0x202020u);
    EXPECT_EQ(at(8, 4), 0xC0C0C0u);  // the mask-coloured pixel
    state.MouseIsOver = true;
    ASSERT_TRUE(repaint(StateUp));
    EXPECT_EQ(at(9, 5), 0x0000AAu);
    state.UseGreyscale = true;
    state.MouseIsOver = false;
    ASSERT_TRUE(repaint(StateUp));
    EXPECT_EQ(at(9, 5), 0x202020u);  // grey stays grey
    state.PictureNormal = square(0x0000FF);
    ASSERT_TRUE(repaint(StateUp));
    EXPECT_EQ(at(9, 5), 0x4C4C4Cu);
}

TEST_F(PictureDrawingTest, HoverHighlightBlendsAndJumps) {
    place(HoverHighlight, square(0xFFFFFF));
    ASSERT_TRUE(repaint(StateUp));
    EXPECT_EQ(at(9, 5), 0xEAEAEAu);  // (2 * 255 + 192) / 3
    state.MouseIsOver = true;
    ASSERT_TRUE(repaint(StateUp));
    EXPECT_EQ(at(7, 3), 0xD1ADADu);   // the masked corner shows the hover fill
    EXPECT_EQ(at(8, 3), 0xFFFFFFu);   // picture one up and left
    EXPECT_EQ(at(11, 7), 0x808080u);  // shadow one down and right
}

TEST_F(PictureDrawingTest, DownStates) {
    place(ThinRaised, square(0x202020));
    ASSERT_TRUE(repaint(StateDown));
    EXPECT_EQ(at(8, 4), 0xC0C0C0u);
    EXPECT_EQ(at(12, 8), 0x202020u);  // moved one right and down
    place(FlatFramed, square(0x202020), square(0x0000AA));
    ASSERT_TRUE(repaint(StateDown));
    EXPECT_EQ(at(9, 5), 0x0000AAu);  // PictureOver, not moved
    EXPECT_EQ(at(12, 8), 0x909090u);
    place(HoverHighlight, square(0x202020), square(0x0000AA));
    ASSERT_TRUE(repaint(StateDown));
    EXPECT_EQ(at(9, 5), 0x202020u);  // HoverHighlight never shows PictureOver pressed
}

TEST_F(PictureDrawingTest, DisabledLooks) {
    place(ThinRaised, square(0x202020));
    state.Enabled = false;
    ASSERT_TRUE(repaint(StateUp));
    EXPECT_EQ(at(9, 5), 0x808080u);   // shadow copy of the dark parts
    EXPECT_EQ(at(12, 8), 0xFFFFFFu);  // highlight copy one right and down
    place(SoftRaised, square(0x202020));
    state.Enabled = false;
    ASSERT_TRUE(repaint(StateUp));
    EXPECT_EQ(at(9, 5), 0x808080u);
    EXPECT_EQ(at(12, 8), 0xC0C0C0u);
    place(HoverHighlight, square(0x202020));
    state.Enabled = false;
    ASSERT_TRUE(repaint(StateUp));
    EXPECT_EQ(at(9, 5), 0x8D8D8Du);
    place(GradientRounded, square(0x0000FF));
    state.Enabled = false;
    ASSERT_TRUE(repaint(StateUp));
    EXPECT_EQ(at(10, 6), 0x4C4C4Cu);
}

TEST_F(PictureDrawingTest, EffectSilhouettes) {
    place(ThinRaised, square(0x202020));
    state.SpecialEffect = EffectRaised;
    ASSERT_TRUE(repaint(StateUp));
    EXPECT_EQ(at(12, 8), ShiftColor(0xC0C0C0, -40, false, false));
    EXPECT_EQ(at(7, 3), 0xC0C0C0u);  // the light copy's masked corner
    EXPECT_EQ(at(9, 3), ShiftColor(0xC0C0C0, 40, false, false));
}

TEST_F(PictureDrawingTest, PictureOverAloneDrawsNothing) {
    place(Borderless, nullptr, square(0x0000AA));
    state.PicturePosition = PictureCenter;
    state.Caption = "x";
    CalcCaptionRect(state);
    state.MouseIsOver = true;
    ASSERT_TRUE(repaint(StateUp));
    EXPECT_EQ(vt::test::pixelsOf(surface, 0xC0C0C0).size(), 240u);
}

TEST_F(PictureDrawingTest, PictureOverIsCroppedToTheNormalRectangle) {
    auto big = std::make_shared<Picture>();
    big->image = QImage(8, 8, QImage::Format_RGB32);
    big->image.fill(toQRgb(0x0000AA));
    place(ThinRaised, square(0x202020), big);
    state.MouseIsOver = true;
    ASSERT_TRUE(repaint(StateUp));
    EXPECT_EQ(at(11, 7), 0x0000AAu);
    EXPECT_EQ(at(12, 7), 0xC0C0C0u);
    EXPECT_EQ(at(11, 8), 0xC0C0C0u);
}
