#pragma once

#include "button/ButtonState.h"
#include "button/paint/ButtonCanvas.h"

namespace vt::button {

// Draws the style-specific part of one repaint: the up, down or disabled look of state.ButtonType, over
// the face fill and under the picture. Reads the state's colours and flags; writes only
// LastCaptionStyle and, during the pressed RoundedFramed caption, BrightFaceColor (restored before it
// returns). Holds references: the state and the canvas must outlive the painter.
class FacePainter {
  public:
    FacePainter(ButtonState& state, ButtonCanvas& canvas);

    void drawUp();
    void drawDown();
    void drawDisabled();

  private:
    // The shorthand the style tables are written in.
    void rectFill(CheckedInt x, CheckedInt y, CheckedInt w, CheckedInt h, Rgb c);
    void rectFrame(CheckedInt x, CheckedInt y, CheckedInt w, CheckedInt h, Rgb c);
    void line(CheckedInt x1, CheckedInt y1, CheckedInt x2, CheckedInt y2, Rgb c);
    void pixel(CheckedInt x, CheckedInt y, Rgb c);
    void bevel(Rgb c1, Rgb c2, Rgb c3, Rgb c4, std::int16_t inset);
    void bevelOuter(Rgb c1, Rgb c2, std::int16_t inset);
    void cornerPixels(Rgb c);
    void caption(std::uint8_t style);
    void upCaption();  // style 1 while the pointer is over the button, 0 otherwise
    void focus();
    Rgb shift(Rgb c, std::int32_t amount) const;
    Rgb shiftB(Rgb c, std::int32_t amount) const;
    // Row i (1..H) takes shiftB or shift of `base` by the nearest integer to -(top / H) * i; with
    // `upsideDown` row H - i does instead.
    void gradient(Rgb base, std::int32_t top, bool scaled, bool upsideDown);
    void captionFrame();
    void copyBackground();

    void upRoundedFramed(std::uint8_t captionStyle);
    void upGradientRoundedEdges();
    void disabledGradientFramed();

    ButtonState& state_;
    ButtonCanvas& canvas_;
    const WorkingColors& c_;
    const CheckedInt W;
    const CheckedInt H;
};

}  // namespace vt::button
