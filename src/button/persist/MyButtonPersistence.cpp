#include "button/ButtonHost.h"
#include "button/MyButton.h"
#include "button/control/MousePointerShape.h"
#include "button/persist/PropertyBag.h"
#include "platform/SystemColors.h"

// The three moments of persistence: a newly placed instance, loading from the form's property bag and
// saving into it. Loading neither derives colours nor draws; that happens when the button is shown.

namespace vt {

using namespace button;

namespace {

constexpr ColorValue kDefaultMaskColor = 0xC0C0C0;

ColorValue systemRgb(const ButtonHost& host, int index) {
    std::uint32_t rgb = 0;
    if (!host.systemColors().color(index, rgb)) rgb = 0;
    return static_cast<ColorValue>(rgb);
}

}  // namespace

void MyButton::InitProperties() {
    state_.Enabled = true;
    state_.ShowFocusRect = true;
    state_.UseMaskColor = true;
    state_.Caption = host_->DisplayName(*this);
    state_.Font = host_->AmbientFont(*this);
    QWidget::setFont(state_.Font);
    state_.ButtonType = Standard3D;
    state_.ColorScheme = button::SystemColors;
    DeriveColors();
    // The derived RGB values, not system colour numbers, so the instance keeps the colours it was
    // placed with.
    state_.BackColor = state_.BackOver = static_cast<ColorValue>(state_.colors.FaceColor);
    state_.ForeColor = state_.ForeOver = static_cast<ColorValue>(state_.colors.TextColor);
    state_.MaskColor = kDefaultMaskColor;
    CalcCaptionRect(state_);
}

void MyButton::ReadProperties(PropertyBag& bag) {
    state_.ButtonType = bag.readInt32(QStringLiteral("BTYPE"), Standard3D);
    state_.Caption = bag.readText(QStringLiteral("TX"), QString());
    state_.Enabled = bag.readBool(QStringLiteral("ENAB"), true);
    state_.Font = bag.readFont(QStringLiteral("FONT"), state_.Font);
    QWidget::setFont(state_.Font);
    state_.ColorScheme = bag.readInt32(QStringLiteral("COLTYPE"), button::SystemColors);
    state_.ShowFocusRect = bag.readBool(QStringLiteral("FOCUSR"), true);
    state_.BackColor = bag.readInt32(QStringLiteral("BCOL"), systemRgb(*host_, SysColor::ButtonFace));
    state_.BackOver = bag.readInt32(QStringLiteral("BCOLO"), state_.BackColor);
    state_.ForeColor = bag.readInt32(QStringLiteral("FCOL"), systemRgb(*host_, SysColor::ButtonText));
    state_.ForeOver = bag.readInt32(QStringLiteral("FCOLO"), state_.ForeColor);
    state_.MaskColor = bag.readInt32(QStringLiteral("MCOL"), kDefaultMaskColor);
    mousePointer_ = bag.readInt16(QStringLiteral("MPTR"), kPointerDefault);
    applyPointer();
    const PictureRef icon = bag.readPicture(QStringLiteral("MICON"), nullptr);
    mouseIcon_ = icon && !icon->image.isNull() ? icon : nullptr;
    pointerIsHand_ = false;
    applyPointer();
    state_.PictureNormal = bag.readPicture(QStringLiteral("PICN"), nullptr);
    state_.PictureOver = bag.readPicture(QStringLiteral("PICH"), nullptr);
    state_.UseMaskColor = bag.readBool(QStringLiteral("UMCOL"), true);
    state_.SoftBevel = bag.readBool(QStringLiteral("SOFT"), false);
    state_.PicturePosition = bag.readInt32(QStringLiteral("PICPOS"), PictureLeft);
    state_.UseGreyscale = bag.readBool(QStringLiteral("NGREY"), false);
    state_.SpecialEffect = bag.readInt32(QStringLiteral("FX"), EffectNone);
    // Through the property, so the pointer and picture just read give way to the hand or the arrow.
    setHandPointer(bag.readBool(QStringLiteral("HAND"), false));
    state_.CheckBoxBehaviour = bag.readBool(QStringLiteral("CHECK"), false);
    state_.Value = bag.readBool(QStringLiteral("VALUE"), false);
    QWidget::setEnabled(state_.Enabled);
    MeasurePicture(state_);
    CalcCaptionRect(state_);
    UpdateAccessKey();
}

void MyButton::WriteProperties(PropertyBag& bag) const {
    bag.writeInt32(QStringLiteral("BTYPE"), state_.ButtonType);
    bag.write(QStringLiteral("TX"), BagValue::text(state_.Caption));
    bag.writeBool(QStringLiteral("ENAB"), state_.Enabled);
    bag.write(QStringLiteral("FONT"), BagValue::font(state_.Font));
    bag.writeInt32(QStringLiteral("COLTYPE"), state_.ColorScheme);
    bag.writeBool(QStringLiteral("FOCUSR"), state_.ShowFocusRect);
    bag.writeColour(QStringLiteral("BCOL"), state_.BackColor);
    bag.writeColour(QStringLiteral("BCOLO"), state_.BackOver);
    bag.writeColour(QStringLiteral("FCOL"), state_.ForeColor);
    bag.writeColour(QStringLiteral("FCOLO"), state_.ForeOver);
    bag.writeColour(QStringLiteral("MCOL"), state_.MaskColor);
    bag.write(QStringLiteral("MPTR"), BagValue::integer(mousePointer_));
    // The window always has a pointer picture object, empty when it shows none.
    bag.write(QStringLiteral("MICON"),
              BagValue::picture(mouseIcon_ ? mouseIcon_ : std::make_shared<Picture>()));
    bag.write(QStringLiteral("PICN"), BagValue::picture(state_.PictureNormal));
    bag.write(QStringLiteral("PICH"), BagValue::picture(state_.PictureOver));
    bag.writeBool(QStringLiteral("UMCOL"), state_.UseMaskColor);
    bag.writeBool(QStringLiteral("SOFT"), state_.SoftBevel);
    bag.writeInt32(QStringLiteral("PICPOS"), state_.PicturePosition);
    bag.writeBool(QStringLiteral("NGREY"), state_.UseGreyscale);
    bag.writeInt32(QStringLiteral("FX"), state_.SpecialEffect);
    bag.writeBool(QStringLiteral("HAND"), handPointer_);
    bag.writeBool(QStringLiteral("CHECK"), state_.CheckBoxBehaviour);
    bag.writeBool(QStringLiteral("VALUE"), state_.Value);
}

}  // namespace vt
