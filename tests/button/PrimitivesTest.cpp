#include <gtest/gtest.h>

#include "ImageCheck.h"
#include "button/paint/ButtonCanvas.h"
#include "button/paint/OverflowError.h"

using namespace vt::button;
using vt::test::pixelAt;
using vt::test::pixelsOf;
using Pixels = std::vector<std::pair<int, int>>;

namespace {

constexpr Rgb kBack = 0x00FF00;
constexpr Rgb kInk = 0x0000FF;

struct Primitives : ::testing::Test {
    QImage image = vt::test::blankSurface(8, 8, kBack);
    ButtonCanvas canvas{image, 8, 8};
    void TearDown() override {
        vt::test::saveOnFailure(
            image, QString("primitives-") + ::testing::UnitTest::GetInstance()->current_test_info()->name());
    }
};

}  // namespace

TEST_F(Primitives, RectFramesInsideAndFillsExclusiveOfRightAndBottom) {
    canvas.DrawRect(2, 3, 1, 1, kInk, true);
    EXPECT_EQ(pixelsOf(image, kInk), (Pixels{{2, 3}}));
    image.fill(vt::button::toQRgb(kBack));
    canvas.DrawRect(1, 1, 0, 5, kInk, true);
    canvas.DrawRect(1, 1, 5, 0, kInk, false);
    canvas.DrawRect(1, 1, -2, 3, kInk, false);
    EXPECT_TRUE(pixelsOf(image, kInk).empty());
    canvas.DrawRect(1, 1, 3, 3, kInk, true);
    EXPECT_EQ(pixelsOf(image, kInk),
              (Pixels{{1, 1}, {2, 1}, {3, 1}, {1, 2}, {3, 2}, {1, 3}, {2, 3}, {3, 3}}));
    canvas.DrawRect(6, 6, 5, 5, 0x123456, false);  // clipped at the surface's edge
    EXPECT_EQ(pixelsOf(image, 0x123456), (Pixels{{6, 6}, {7, 6}, {6, 7}, {7, 7}}));
}

TEST_F(Primitives, LineLeavesOutItsEndPoint) {
    canvas.DrawLine(2, 5, 2, 5, kInk);
    EXPECT_TRUE(pixelsOf(image, kInk).empty());
    canvas.DrawLine(0, 0, 3, 0, kInk);
    EXPECT_EQ(pixelsOf(image, kInk), (Pixels{{0, 0}, {1, 0}, {2, 0}}));
    canvas.DrawLine(5, 4, 5, 1, 0x111111);
    EXPECT_EQ(pixelsOf(image, 0x111111), (Pixels{{5, 2}, {5, 3}, {5, 4}}));
    canvas.DrawLine(7, 3, 5, 5, 0x222222);  // a diagonal
    EXPECT_EQ(pixelsOf(image, 0x222222), (Pixels{{7, 3}, {6, 4}}));
}

TEST_F(Primitives, SlantedLineTiesGoToTheLargerCoordinateFromEitherEnd) {
    // Halfway between two columns at row 1: the rounded-corner stroke takes column 2.
    canvas.DrawLine(1, 2, 2, 0, kInk);
    EXPECT_EQ(pixelsOf(image, kInk), (Pixels{{2, 1}, {1, 2}}));
    image.fill(vt::button::toQRgb(kBack));
    canvas.DrawLine(0, 0, 4, 2, kInk);
    EXPECT_EQ(pixelsOf(image, kInk), (Pixels{{0, 0}, {1, 1}, {2, 1}, {3, 2}}));
    image.fill(vt::button::toQRgb(kBack));
    canvas.DrawLine(4, 2, 0, 0, kInk);  // drawn back, same pixels except the end points
    EXPECT_EQ(pixelsOf(image, kInk), (Pixels{{1, 1}, {2, 1}, {3, 2}, {4, 2}}));
    image.fill(vt::button::toQRgb(kBack));
    canvas.DrawLine(0, 0, 7, 3, kInk);  // a shallow line: one pixel per column
    EXPECT_EQ(pixelsOf(image, kInk), (Pixels{{0, 0}, {1, 0}, {2, 1}, {3, 1}, {4, 2}, {5, 2}, {6, 3}}));
}

TEST_F(Primitives, LineFarOutsideTheSurfaceIsClippedQuickly) {
    canvas.DrawLine(-2000000000, 3, 2000000000, 3, kInk);
    EXPECT_EQ(pixelsOf(image, kInk).size(), 8u);
}

TEST(Bevel, FourByFourPixelOwnership) {
    QImage image = vt::test::blankSurface(4, 4, kBack);
    ButtonCanvas canvas(image, 4, 4);
    canvas.DrawBevel(0x000001, 0x000002, 0x000003, 0x000004, 0, false);
    const Rgb expected[4][4] = {{1, 1, 1, 2},  //
                                {1, 3, 4, 2},
                                {1, 4, 4, 2},
                                {2, 2, 2, 2}};
    for (int y = 0; y < 4; ++y)
        for (int x = 0; x < 4; ++x) EXPECT_EQ(pixelAt(image, x, y), expected[y][x]) << x << "," << y;
    vt::test::saveOnFailure(image, "bevel-4x4");
}

TEST(Bevel, RingsOnABiggerControlAndOneInside) {
    QImage image = vt::test::blankSurface(6, 5, kBack);
    ButtonCanvas canvas(image, 6, 5);
    canvas.DrawBevel(1, 2, 3, 4, 0, false);
    const Rgb outer[5][6] = {{1, 1, 1, 1, 1, 2},
                             {1, 3, 3, 3, 4, 2},
                             {1, 3, kBack, kBack, 4, 2},
                             {1, 4, 4, 4, 4, 2},
                             {2, 2, 2, 2, 2, 2}};
    for (int y = 0; y < 5; ++y)
        for (int x = 0; x < 6; ++x) EXPECT_EQ(pixelAt(image, x, y), outer[y][x]) << x << "," << y;

    image.fill(vt::button::toQRgb(kBack));
    canvas.DrawBevel(1, 2, 3, 4, -1, true);
    const Rgb inset[5][6] = {{kBack, kBack, kBack, kBack, kBack, kBack},
                             {kBack, 1, 1, 1, 2, kBack},
                             {kBack, 1, kBack, kBack, 2, kBack},
                             {kBack, 2, 2, 2, 2, kBack},
                             {kBack, kBack, kBack, kBack, kBack, kBack}};
    for (int y = 0; y < 5; ++y)
        for (int x = 0; x < 6; ++x) EXPECT_EQ(pixelAt(image, x, y), inset[y][x]) << x << "," << y;
    vt::test::saveOnFailure(image, "bevel-rings");
}

TEST(FocusRectangle, DottedExclusiveOrThatTwiceRemoves) {
    QImage image = vt::test::blankSurface(8, 6, 0x808080);
    const QImage before = image;
    ButtonCanvas canvas(image, 8, 6);
    ButtonState state;
    state.FocusRect = {1, 1, 7, 5};
    state.colors.TextColor = 0x000000;
    state.HasFocus = false;
    canvas.DrawFocusRectangle(state);
    EXPECT_EQ(image, before);
    state.HasFocus = true;
    state.ShowFocusRect = false;
    canvas.DrawFocusRectangle(state);
    EXPECT_EQ(image, before);

    state.ShowFocusRect = true;
    canvas.DrawFocusRectangle(state);
    // With black text every other pixel of the frame is inverted, the rest left alone.
    EXPECT_EQ(pixelAt(image, 1, 1), 0x808080u);
    EXPECT_EQ(pixelAt(image, 2, 1), 0x7F7F7Fu);
    EXPECT_EQ(pixelAt(image, 1, 2), 0x7F7F7Fu);
    EXPECT_EQ(pixelAt(image, 5, 4), 0x7F7F7Fu);
    EXPECT_EQ(pixelAt(image, 6, 4), 0x808080u);
    EXPECT_EQ(pixelAt(image, 3, 2), 0x808080u);  // inside the frame
    EXPECT_EQ(pixelAt(image, 0, 0), 0x808080u);
    EXPECT_EQ(vt::test::pixelsOf(image, 0x7F7F7F).size(), 8u);
    canvas.DrawFocusRectangle(state);
    EXPECT_EQ(image, before);
    vt::test::saveOnFailure(image, "focus-rectangle");
}

TEST(Ellipse, TwoPixelBorderAroundTheFill) {
    QImage image = vt::test::blankSurface(20, 10, kBack);
    ButtonCanvas canvas(image, 20, 10);
    canvas.DrawEllipse(0, 0, 20, 10, 0x0000AA, 0x00AA00);
    EXPECT_EQ(pixelAt(image, 10, 0), 0x0000AAu);
    EXPECT_EQ(pixelAt(image, 10, 1), 0x0000AAu);
    EXPECT_EQ(pixelAt(image, 10, 2), 0x00AA00u);
    EXPECT_EQ(pixelAt(image, 10, 9), 0x0000AAu);
    EXPECT_EQ(pixelAt(image, 10, 8), 0x0000AAu);
    EXPECT_EQ(pixelAt(image, 10, 7), 0x00AA00u);
    EXPECT_EQ(pixelAt(image, 0, 4), 0x0000AAu);
    EXPECT_EQ(pixelAt(image, 2, 4), 0x00AA00u);
    EXPECT_EQ(pixelAt(image, 0, 0), kBack);
    vt::test::saveOnFailure(image, "ellipse");
}

TEST_F(Primitives, CoordinateOverflowRaisesOurError) {
    EXPECT_THROW(canvas.DrawRect(1, 1, INT32_MAX, 3, kInk, false), OverflowError);
    EXPECT_THROW(canvas.DrawEllipse(INT32_MAX, 0, 2, 2, kInk, kInk), OverflowError);
    EXPECT_THROW(CheckedInt(INT32_MIN) - 1, OverflowError);
    EXPECT_THROW(CheckedInt(INT32_MIN) / -1, OverflowError);
    EXPECT_TRUE(pixelsOf(image, kInk).empty());
}
