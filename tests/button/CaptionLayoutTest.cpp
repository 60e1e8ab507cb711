#include <QFontMetrics>

#include "ButtonFixture.h"

using namespace vt::button;

namespace {

// A crisp pixel-sized font, so measurements do not depend on the screen.
QFont testFont(int pixels = 12) {
    QFont f("DejaVu Sans");
    f.setPixelSize(pixels);
    f.setStyleStrategy(QFont::NoAntialias);
    return f;
}

PictureRef pictureOf(int w, int h) {
    auto p = std::make_shared<Picture>();
    p->image = QImage(w, h, QImage::Format_RGB32);
    p->image.fill(Qt::red);
    return p;
}

class CaptionLayout : public vt::test::ButtonFixture {
  protected:
    void layout(std::int32_t position, const QString& caption, int w, int h, PictureRef picture = {}) {
        state.ClientWidth = w;
        state.ClientHeight = h;
        state.Font = font;
        state.Caption = caption;
        state.PicturePosition = position;
        state.PictureNormal = std::move(picture);
        MeasurePicture(state);
        CalcCaptionRect(state);
    }
    int advance(const QString& text) const { return QFontMetrics(font).horizontalAdvance(text); }
    int lineHeight() const { return QFontMetrics(font).height(); }

    QFont font = testFont();
};

}  // namespace

TEST_F(CaptionLayout, PictureLeftCentresTheCaptionInTheFreeSpace) {
    // Find a caption exactly 40 pixels wide in some size of the font.
    QString caption;
    for (int px = 8; px <= 30 && caption.isEmpty(); ++px) {
        font = testFont(px);
        for (const QString& candidate : {QString("MMMM"), QString("Save"), QString("ABCD"), QString("xxxxx"),
                                         QString("Hello"), QString("WWW"), QString("Open it")}) {
            if (advance(candidate) == 40) {
                caption = candidate;
                break;
            }
        }
    }
    ASSERT_FALSE(caption.isEmpty()) << "no 40-pixel caption found";
    layout(PictureLeft, caption, 100, 30, pictureOf(20, 16));
    EXPECT_EQ(state.PictureWidth, 20);
    EXPECT_EQ(state.CaptionWidth, 40);
    EXPECT_EQ(state.CaptionRect.left, 40);
    EXPECT_EQ(state.CaptionRect.right, 80);
    EXPECT_EQ(state.PictureX, 16);
    EXPECT_EQ(state.PictureY, 7);
    EXPECT_EQ(state.CaptionRect.top, 1 + (30 - (1 + lineHeight())) / 2);
    EXPECT_EQ(state.ShiftedCaptionRect.left, 41);
    EXPECT_EQ(state.ShiftedCaptionRect.top, state.CaptionRect.top + 1);
}

TEST_F(CaptionLayout, EachPositionPlacesThePicture) {
    const int tw = advance("Go"), th = lineHeight();
    layout(PictureTop, "Go", 80, 60, pictureOf(10, 8));
    EXPECT_EQ(state.CaptionRect.left, 1 + (80 - (1 + tw)) / 2);
    EXPECT_EQ(state.CaptionRect.top, 9 + (60 - (9 + th)) / 2);
    EXPECT_EQ(state.PictureX, 35);
    EXPECT_EQ(state.PictureY, state.CaptionRect.top - 8 - 2);  // two pixels above the caption

    layout(PictureRight, "Go", 80, 60, pictureOf(10, 8));
    EXPECT_EQ(state.CaptionRect.left, 1 + (80 - (1 + tw) - 10 - 4) / 2);
    EXPECT_EQ(state.PictureX, state.CaptionRect.right + 4);
    EXPECT_EQ(state.PictureY, 26);

    layout(PictureBottom, "Go", 80, 60, pictureOf(10, 8));
    EXPECT_EQ(state.CaptionRect.top, 1 + (60 - (1 + th) - 8 - 4) / 2);
    EXPECT_EQ(state.PictureY, state.CaptionRect.bottom + 2);
    EXPECT_EQ(state.PictureX, 35);

    layout(PictureCenter, "Go", 80, 60, pictureOf(10, 8));
    EXPECT_EQ(state.PictureX, 35);
    EXPECT_EQ(state.PictureY, 26);
    EXPECT_EQ(state.CaptionRect.left, 1 + (80 - (1 + tw)) / 2);
}

TEST_F(CaptionLayout, BlankCaptionCentresThePictureButIsStillMeasured) {
    layout(PictureLeft, "   ", 80, 60, pictureOf(10, 8));
    EXPECT_EQ(state.PictureX, 35);
    EXPECT_EQ(state.PictureY, 26);
    EXPECT_GT(state.CaptionWidth, 0);
    EXPECT_EQ(state.CaptionHeight, lineHeight());

    layout(PictureLeft, "", 80, 60, pictureOf(10, 8));
    EXPECT_EQ(state.CaptionWidth, 0);
    EXPECT_EQ(state.CaptionHeight, 0);
    EXPECT_EQ(state.PictureX, 35);
}

TEST_F(CaptionLayout, NoPictureLeavesThePicturePlaceAlone) {
    state.PictureX = 123;
    state.PictureY = 45;
    layout(PictureLeft, "Go", 80, 60);
    EXPECT_EQ(state.PictureX, 123);
    EXPECT_EQ(state.PictureY, 45);
    EXPECT_EQ(state.PictureWidth, 0);
}

TEST_F(CaptionLayout, UnknownPositionKeepsTheMeasuringRectangleAndDoesNotCentre) {
    state.ShiftedCaptionRect = {5, 7, 70, 50};
    layout(9, "Go", 80, 60);
    EXPECT_EQ(state.CaptionRect.left, 5);
    EXPECT_EQ(state.CaptionRect.top, 7);
    EXPECT_EQ(state.CaptionRect.right, 5 + advance("Go"));
}

TEST_F(CaptionLayout, WrapsAtWordsAndAWideWordWidensTheRectangle) {
    const QString words = "one two three";
    const int w = advance("one two") + 3;  // room for "one two", not for all three words
    layout(PictureCenter, words, w + 3, 100);
    EXPECT_EQ(state.CaptionHeight, 2 * lineHeight());
    EXPECT_EQ(state.CaptionWidth, std::max(advance("one two"), advance("three")));

    layout(PictureCenter, "Extraordinarily", 20, 100);
    EXPECT_EQ(state.CaptionWidth, advance("Extraordinarily"));
    EXPECT_EQ(state.CaptionHeight, lineHeight());
    EXPECT_LT(state.CaptionRect.left, 1);  // centred, so it sticks out on both sides

    layout(PictureCenter, "a\nb", 100, 100);
    EXPECT_EQ(state.CaptionHeight, 2 * lineHeight());
}

TEST_F(CaptionLayout, AmpersandsMarkTheAccessKeyAndAreNotMeasured) {
    layout(PictureCenter, "&Save", 100, 40);
    EXPECT_EQ(state.CaptionWidth, advance("Save"));
    layout(PictureCenter, "A&&B", 100, 40);
    EXPECT_EQ(state.CaptionWidth, advance("A&B"));
}

TEST_F(CaptionLayout, OverflowInLayoutIsReported) {
    state.Font = font;
    state.Caption = "x";
    state.ClientWidth = INT32_MIN + 1;
    state.ClientHeight = 10;
    EXPECT_THROW(CalcCaptionRect(state), OverflowError);
}
