// The whole repaint of a button face.
#include "button/paint/ButtonCanvas.h"
#include "button/paint/ButtonPainter.h"
#include "button/paint/FacePainter.h"
#include "button/paint/PictureDrawing.h"

namespace vt::button {

namespace {

// Puts BackOver in place of BackColor for one repaint of a hovered CustomColors button, and restores
// BackColor and its shades afterwards, also when drawing throws.
class HoverColorSwap {
  public:
    HoverColorSwap(ButtonState& state, const ColorSources& sources)
        : state_(state),
          sources_(sources),
          kept_(state.BackColor),
          active_(state.MouseIsOver && state.ColorScheme == CustomColors) {
        if (!active_) return;
        state_.BackColor = state_.BackOver;
        DeriveColors(state_, sources_);
    }
    ~HoverColorSwap() {
        if (!active_) return;
        state_.BackColor = kept_;
        DeriveColors(state_, sources_);
    }
    HoverColorSwap(const HoverColorSwap&) = delete;
    HoverColorSwap& operator=(const HoverColorSwap&) = delete;

  private:
    ButtonState& state_;
    const ColorSources& sources_;
    const ColorValue kept_;
    const bool active_;
};

}  // namespace

bool DrawButton(ButtonState& state, QImage& surface, std::uint8_t paintState, bool force,
                const ColorSources& sources) {
    if (state.CheckBoxBehaviour && state.Value) paintState = StateDown;
    if (!force && state.Caption == state.LastCaption && paintState == state.LastState) return false;
    if (state.ClientHeight == 0 || !state.RedrawEnabled) return false;
    state.LastState = paintState;
    state.LastCaption = state.Caption;

    ButtonCanvas canvas(surface, state.ClientWidth, state.ClientHeight);
    surface.fill(Qt::white);
    HoverColorSwap swap(state, sources);
    canvas.DrawRect(0, 0, state.ClientWidth, state.ClientHeight, state.colors.FaceColor, false);

    FacePainter face(state, canvas);
    std::uint8_t pictureState;
    if (!state.Enabled) {
        face.drawDisabled();
        pictureState = PictureDisabled;
    } else if (paintState == StateUp) {
        face.drawUp();
        pictureState = PictureUp;
    } else if (paintState == StateDown) {
        face.drawDown();
        pictureState = PictureDown;
    } else {
        return true;
    }
    DrawPicture(state, canvas, pictureState);
    return true;
}

}  // namespace vt::button
