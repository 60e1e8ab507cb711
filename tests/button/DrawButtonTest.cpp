#include "ButtonFixture.h"

using namespace vt::button;

namespace {

class DrawButtonSequence : public vt::test::ButtonFixture {};

}  // namespace

TEST_F(DrawButtonSequence, SameStateAndCaptionWithoutForceDrawsNothing) {
    setUpButton(ThinRaised, 12, 8);
    ASSERT_TRUE(repaint(StateUp));
    surface.fill(Qt::black);
    EXPECT_FALSE(repaint(StateUp, false));
    EXPECT_EQ(at(5, 5), 0u);
    EXPECT_TRUE(repaint(StateUp, true));
    EXPECT_EQ(at(5, 5), 0xC0C0C0u);
    surface.fill(Qt::black);
    state.Caption = "x";  // a new caption is reason enough
    EXPECT_TRUE(repaint(StateUp, false));
    EXPECT_EQ(state.LastCaption, "x");
    EXPECT_TRUE(repaint(StateDown, false));
    EXPECT_EQ(state.LastState, StateDown);
}

TEST_F(DrawButtonSequence, ZeroHeightOrRedrawDisabledKeepsTheLastState) {
    setUpButton(ThinRaised, 12, 8);
    state.RedrawEnabled = false;
    state.Caption = "new";
    EXPECT_FALSE(repaint(StateDown));
    EXPECT_EQ(state.LastState, StateUp);
    EXPECT_TRUE(state.LastCaption.isEmpty());
    EXPECT_EQ(at(5, 5), 0x00FF00u);
    state.RedrawEnabled = true;
    state.ClientHeight = 0;
    EXPECT_FALSE(repaint(StateDown));
    EXPECT_EQ(state.LastState, StateUp);
}

TEST_F(DrawButtonSequence, CheckedCheckBoxDrawsAndStoresTheDownLook) {
    setUpButton(ThinRaised, 12, 8);
    state.CheckBoxBehaviour = true;
    state.Value = true;
    ASSERT_TRUE(repaint(StateUp));
    EXPECT_EQ(state.LastState, StateDown);
    EXPECT_EQ(at(0, 0), 0x808080u);  // the sunken edge: shadow top-left
    EXPECT_EQ(at(11, 7), 0xFFFFFFu);
    state.Value = false;
    ASSERT_TRUE(repaint(StateUp));
    EXPECT_EQ(at(0, 0), 0xFFFFFFu);
}

TEST_F(DrawButtonSequence, StateOneFillsOnlyWhileEnabled) {
    setUpButton(ThinRaised, 12, 8);
    state.HasFocus = true;
    ASSERT_TRUE(repaint(1));
    EXPECT_EQ(state.LastState, 1);
    EXPECT_EQ(vt::test::pixelsOf(surface, 0xC0C0C0).size(), 96u);
    state.Enabled = false;
    ASSERT_TRUE(repaint(1));
    EXPECT_EQ(at(0, 0), 0xFFFFFFu);  // the disabled look has its edge
}

TEST_F(DrawButtonSequence, UnknownTypeShowsOnlyTheFace) {
    setUpButton(42, 12, 8);
    state.HasFocus = true;
    for (std::uint8_t s : {StateUp, StateDown}) {
        ASSERT_TRUE(repaint(s));
        EXPECT_EQ(vt::test::pixelsOf(surface, 0xC0C0C0).size(), 96u);
    }
}

TEST_F(DrawButtonSequence, HoverSwapsInBackOverAndRestoresBackColor) {
    setUpButton(ThinRaised, 12, 8, CustomColors);
    state.BackColor = 0x808080;
    state.BackOver = 0x404040;
    DeriveColors(state, sources);
    state.MouseIsOver = true;
    ASSERT_TRUE(repaint(StateUp));
    EXPECT_EQ(at(5, 5), 0x404040u);
    EXPECT_EQ(at(0, 0), ShiftColor(0x404040, 47, false, false));
    EXPECT_EQ(state.BackColor, 0x808080);
    EXPECT_EQ(state.colors.FaceColor, 0x808080u);
    EXPECT_EQ(state.colors.HighlightColor, 0xAFAFAFu);

    // Only CustomColors swaps.
    setUpButton(ThinRaised, 12, 8, FixedColors);
    state.BackOver = 0x404040;
    state.MouseIsOver = true;
    ASSERT_TRUE(repaint(StateUp));
    EXPECT_EQ(at(5, 5), 0xC0C0C0u);
}

TEST_F(DrawButtonSequence, HoverSwapIsRestoredWhenDrawingFails) {
    setUpButton(HoverHighlight, 12, 8, CustomColors);
    state.BackColor = 0x808080;
    state.BackOver = 0x404040;
    state.MouseIsOver = true;
    state.ClientWidth = INT32_MAX;  // Rect(1, 1, W, H) cannot be expressed
    EXPECT_THROW(repaint(StateUp), OverflowError);
    EXPECT_EQ(state.BackColor, 0x808080);
    EXPECT_EQ(state.colors.FaceColor, 0x808080u);
}

namespace {

class CaptionInTheSequence : public vt::test::ButtonFixture {
  protected:
    void prepare(std::int32_t type) {
        setUpButton(type, 60, 30, CustomColors);
        state.BackColor = 0x808080;
        state.ForeColor = 0x0000FF;
        state.ForeOver = 0x00FF00;
        state.Font = QFont("DejaVu Sans");
        state.Font.setPixelSize(16);
        state.Font.setStyleStrategy(QFont::NoAntialias);
        state.Caption = "Hm";
        DeriveColors(state, sources);
        CalcCaptionRect(state);
    }
    void withCentredPicture() {
        auto picture = std::make_shared<Picture>();
        picture->image = QImage(2, 2, QImage::Format_RGB32);
        picture->image.fill(vt::button::toQRgb(0xC0C0C0));  // the mask colour: invisible
        state.PictureNormal = picture;
        state.PicturePosition = PictureCenter;
        MeasurePicture(state);
        CalcCaptionRect(state);
    }
    size_t ink(Rgb rgb) const { return vt::test::pixelsOf(surface, rgb).size(); }
};

}  // namespace

TEST_F(CaptionInTheSequence, BorderlessShowsItsCaptionOnlyOverACentredPicture) {
    prepare(Borderless);
    ASSERT_TRUE(repaint(StateUp));
    EXPECT_EQ(ink(0x0000FF), 0u);
    withCentredPicture();
    ASSERT_TRUE(repaint(StateUp));
    EXPECT_GT(ink(0x0000FF), 10u);
    state.Enabled = false;
    state.PicturePosition = PictureLeft;
    ASSERT_TRUE(repaint(StateUp));
    EXPECT_EQ(ink(0x0000FF), 0u);
    EXPECT_EQ(ink(0x808080), 60u * 30u);
}

TEST_F(CaptionInTheSequence, PressedFlatFramedRedrawsOverThePictureInTheLastCaptionStyle) {
    prepare(FlatFramed);
    withCentredPicture();
    ASSERT_TRUE(repaint(StateUp));
    ASSERT_EQ(state.LastCaptionStyle, 0);
    ASSERT_TRUE(repaint(StateDown));
    EXPECT_EQ(state.LastCaptionStyle, 0);
    EXPECT_GT(ink(0x0000FF), 10u);
    EXPECT_EQ(ink(0x00FF00), 0u);
    state.PicturePosition = PictureLeft;  // without the picture behind it: the hover text colour
    CalcCaptionRect(state);
    ASSERT_TRUE(repaint(StateDown));
    EXPECT_EQ(ink(0x0000FF), 0u);
    EXPECT_GT(ink(0x00FF00), 10u);
}

TEST_F(CaptionInTheSequence, GradientFramedDefaultButtonCaptionIsUnchanged) {
    prepare(GradientFramed);
    state.SpecialEffect = EffectRaised;
    ASSERT_TRUE(repaint(StateUp));
    const QImage plain = surface;
    state.DisplayAsDefault = true;
    ASSERT_TRUE(repaint(StateUp));
    EXPECT_EQ(surface, plain);
    EXPECT_EQ(state.BackColor, 0x808080);
    EXPECT_EQ(state.BackOver, 0);
}
