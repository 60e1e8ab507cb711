#include <gtest/gtest.h>

#include <set>

#include "button/paint/ButtonPainter.h"
#include "button/paint/OverflowError.h"

using namespace vt::button;

namespace {

int pixelCount(const QRegion& region) {
    int n = 0;
    for (const QRect& r : region) n += r.width() * r.height();
    return n;
}

std::set<std::pair<int, int>> missing(const QRegion& region, int w, int h) {
    std::set<std::pair<int, int>> out;
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x)
            if (!region.contains(QPoint(x, y))) out.insert({x, y});
    return out;
}

}  // namespace

TEST(BuildRegion, CutsTheCornerPixelsOfEachStyle) {
    using P = std::set<std::pair<int, int>>;
    EXPECT_EQ(pixelCount(BuildRegion(GradientRounded, 10, 6)), 48);
    EXPECT_EQ(
        missing(BuildRegion(RoundedFramed, 10, 6), 10, 6),
        (P{{0, 0}, {1, 0}, {0, 1}, {9, 0}, {8, 0}, {9, 1}, {0, 5}, {1, 5}, {0, 4}, {9, 5}, {8, 5}, {9, 4}}));
    EXPECT_EQ(pixelCount(BuildRegion(FlatFramed, 10, 6)), 58);
    EXPECT_EQ(missing(BuildRegion(FlatFramed, 10, 6), 10, 6), (P{{0, 5}, {9, 0}}));
    EXPECT_EQ(pixelCount(BuildRegion(FramedBevel, 10, 6)), 56);
    EXPECT_EQ(missing(BuildRegion(GradientFramed, 10, 6), 10, 6), (P{{0, 0}, {9, 0}, {0, 5}, {9, 5}}));
    for (std::int32_t type : {2, 6, 7, 8, 9, 10, 11, 12, 0, 99}) {
        EXPECT_EQ(BuildRegion(type, 10, 6), QRegion(0, 0, 10, 6)) << type;
    }
}

TEST(BuildRegion, OvalIsTheInscribedEllipse) {
    const QRegion oval = BuildRegion(Oval, 40, 20);
    EXPECT_TRUE(oval.boundingRect() == QRect(0, 0, 40, 20));
    for (QPoint corner : {QPoint(0, 0), QPoint(39, 0), QPoint(0, 19), QPoint(39, 19), QPoint(3, 1)}) {
        EXPECT_FALSE(oval.contains(corner)) << corner.x() << "," << corner.y();
    }
    for (QPoint inside : {QPoint(20, 10), QPoint(0, 10), QPoint(39, 9), QPoint(19, 0), QPoint(20, 19)}) {
        EXPECT_TRUE(oval.contains(inside)) << inside.x() << "," << inside.y();
    }
    // Symmetric about both axes.
    for (int y = 0; y < 20; ++y)
        for (int x = 0; x < 40; ++x) {
            ASSERT_EQ(oval.contains(QPoint(x, y)), oval.contains(QPoint(39 - x, y)));
            ASSERT_EQ(oval.contains(QPoint(x, y)), oval.contains(QPoint(x, 19 - y)));
        }
}

TEST(BuildRegion, EmptyForNoArea) {
    EXPECT_TRUE(BuildRegion(Standard3D, 0, 10).isEmpty());
    EXPECT_TRUE(BuildRegion(Oval, 10, 0).isEmpty());
    EXPECT_EQ(pixelCount(BuildRegion(GradientRounded, 1, 1)), 0);
}

TEST(FocusRect, InsetsByStyle) {
    EXPECT_EQ(focusRectFor(Standard3D, 100, 30), (IntRect{4, 4, 96, 26}));
    EXPECT_EQ(focusRectFor(ThinRaised, 100, 30), (IntRect{3, 3, 97, 27}));
    EXPECT_EQ(focusRectFor(Oval, 100, 30), (IntRect{3, 3, 97, 27}));
    EXPECT_EQ(focusRectFor(FlatFramed, 100, 30), (IntRect{4, 4, 96, 26}));
    EXPECT_EQ(focusRectFor(GradientFramed, 100, 30), (IntRect{6, 6, 96, 26}));
    EXPECT_EQ(focusRectFor(42, 100, 30), (IntRect{4, 4, 96, 26}));
}

TEST(FocusRect, OverflowIsReportedNotWrapped) {
    EXPECT_THROW(focusRectFor(GradientFramed, INT32_MIN + 2, 30), OverflowError);
}
