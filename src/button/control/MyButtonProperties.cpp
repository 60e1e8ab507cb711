#include <cmath>
#include <limits>

#include "button/ButtonHost.h"
#include "button/MyButton.h"
#include "button/control/MousePointerShape.h"
#include "button/paint/OverflowError.h"

// Property setters: each stores its value and then does what the property requires, in this order.
// "Redraw" is a forced repaint in the last drawn state unless the released state is named.

namespace vt {

using namespace button;

void MyButton::setButtonType(std::int32_t value) {
    state_.ButtonType = value;
    if (value == FlatFramed && !host_->UserMode()) {
        state_.Font.setBold(true);
        QWidget::setFont(state_.Font);
    } else if (value == Transparent && state_.RedrawEnabled) {
        CaptureBackground();
    }
    ResizeControl();
    mark("BTYPE");
}

void MyButton::setCaption(const QString& value) {
    state_.Caption = value;
    UpdateAccessKey();
    CalcCaptionRect(state_);
    DrawButton(StateUp, true);
    mark("TX");
}

void MyButton::setEnabled(bool value) {
    state_.Enabled = value;
    DrawButton(StateUp, true);
    QWidget::setEnabled(value);
    mark("ENAB");
}

void MyButton::setFont(const QFont& value) {
    state_.Font = value;
    QWidget::setFont(value);
    CalcCaptionRect(state_);
    DrawButton(StateUp, true);
    mark("FONT");
}

void MyButton::fontChanged() {
    QWidget::setFont(state_.Font);
    CalcCaptionRect(state_);
    DrawButton(StateUp, true);
}

void MyButton::setFontBold(bool value) {
    state_.Font.setBold(value);
    fontChanged();
}

void MyButton::setFontItalic(bool value) {
    state_.Font.setItalic(value);
    fontChanged();
}

void MyButton::setFontUnderline(bool value) {
    state_.Font.setUnderline(value);
    fontChanged();
}

std::int16_t MyButton::FontSize() const {
    // nearbyint rounds halves to the even neighbour in the default rounding mode.
    const double points =
        state_.Font.pointSizeF() > 0 ? state_.Font.pointSizeF() : QFontInfo(state_.Font).pointSizeF();
    return static_cast<std::int16_t>(std::nearbyint(points));
}

void MyButton::setFontSize(std::int16_t value) {
    if (value > 0) state_.Font.setPointSize(value);
    fontChanged();
}

QString MyButton::FontName() const {
    return state_.Font.families().isEmpty() ? state_.Font.family() : state_.Font.families().first();
}

void MyButton::setFontName(const QString& value) {
    state_.Font.setFamilies({value});
    fontChanged();
}

void MyButton::setColorScheme(std::int32_t value) {
    state_.ColorScheme = value;
    DeriveColors();
    DrawButton(StateUp, true);
    mark("COLTYPE");
}

void MyButton::setShowFocusRect(bool value) {
    state_.ShowFocusRect = value;
    DrawButton(state_.LastState, true);
    mark("FOCUSR");
}

void MyButton::setBackColor(ColorValue value) {
    state_.BackColor = value;
    if (!host_->UserMode()) state_.BackOver = value;
    DeriveColors();
    DrawButton(state_.LastState, true);
    mark("BCOL");
}

void MyButton::setBackOver(ColorValue value) {
    state_.BackOver = value;
    DeriveColors();
    DrawButton(state_.LastState, true);
    mark("BCOLO");
}

void MyButton::setForeColor(ColorValue value) {
    state_.ForeColor = value;
    if (!host_->UserMode()) state_.ForeOver = value;
    DeriveColors();
    DrawButton(state_.LastState, true);
    mark("FCOL");
}

void MyButton::setForeOver(ColorValue value) {
    state_.ForeOver = value;
    DeriveColors();
    DrawButton(state_.LastState, true);
    mark("FCOLO");
}

void MyButton::setMaskColor(ColorValue value) {
    state_.MaskColor = value;
    DeriveColors();
    DrawButton(state_.LastState, true);
    mark("MCOL");
}

void MyButton::setMousePointer(std::int32_t value) {
    if (value < std::numeric_limits<std::int16_t>::min() || value > std::numeric_limits<std::int16_t>::max())
        throw OverflowError(
            QStringLiteral("Overflow: the pointer code %1 does not fit 16 bits").arg(value).toStdString());
    mousePointer_ = static_cast<std::int16_t>(value);
    applyPointer();
    mark("MPTR");
}

void MyButton::setMouseIcon(const PictureRef& value) {
    mouseIcon_ = value;
    pointerIsHand_ = false;
    applyPointer();
    mark("MICON");
}

void MyButton::setHandPointer(bool value) {
    handPointer_ = value;
    // The desktop's own pointing hand stands for the hand cursor the control once carried as a resource,
    // so this never fails for a missing resource.
    mouseIcon_.reset();
    pointerIsHand_ = value;
    mousePointer_ = value ? kPointerCustom : kPointerArrow;
    applyPointer();
    mark("HAND");
}

void MyButton::setSoftBevel(bool value) {
    state_.SoftBevel = value;
    DeriveColors();
    DrawButton(state_.LastState, true);
    mark("SOFT");
}

void MyButton::setPictureNormal(const PictureRef& value) {
    state_.PictureNormal = value;
    MeasurePicture(state_);
    CalcCaptionRect(state_);
    DrawButton(state_.LastState, true);
    mark("PICN");
}

void MyButton::setPictureOver(const PictureRef& value) {
    state_.PictureOver = value;
    if (state_.MouseIsOver) DrawButton(state_.LastState, true);
    mark("PICO");
}

void MyButton::setPicturePosition(std::int32_t value) {
    state_.PicturePosition = value;
    mark("PICPOS");
    CalcCaptionRect(state_);
    DrawButton(state_.LastState, true);
}

void MyButton::setUseMaskColor(bool value) {
    state_.UseMaskColor = value;
    if (state_.PictureNormal) DrawButton(state_.LastState, true);
    mark("UMCOL");
}

void MyButton::setUseGreyscale(bool value) {
    state_.UseGreyscale = value;
    if (state_.PictureNormal) DrawButton(state_.LastState, true);
    mark("NGREY");
}

void MyButton::setSpecialEffect(std::int32_t value) {
    state_.SpecialEffect = value;
    DrawButton(state_.LastState, true);
    mark("FX");
}

void MyButton::setCheckBoxBehaviour(bool value) {
    state_.CheckBoxBehaviour = value;
    DrawButton(state_.LastState, true);
    mark("CHECK");
}

void MyButton::setValue(bool value) {
    state_.Value = value;
    if (state_.CheckBoxBehaviour) DrawButton(StateUp, true);
    mark("VALUE");
}

}  // namespace vt
