#pragma once

#include "button/ButtonHost.h"
#include "platform/desktop/QtSystemColors.h"

namespace vt::button {

// The host our windows give their buttons: the control's object name as its display name, the parent's
// font and colours, run mode always, no default button. System colours come from `colors` when given
// (it must outlive the host), else from the desktop's palette.
class WidgetButtonHost final : public ButtonHost {
  public:
    explicit WidgetButtonHost(const vt::SystemColors* colors = nullptr) : colors_(colors) {}

    QString DisplayName(const QWidget& control) const override;
    QFont AmbientFont(const QWidget& control) const override;
    bool UserMode() const override { return true; }
    bool DisplayAsDefault(const QWidget&) const override { return false; }
    QPoint ExtenderPosition(const QWidget& control) const override;
    const vt::SystemColors& systemColors() const override { return colors_ ? *colors_ : desktopColors_; }
    Rgb ParentBackground(const QWidget& control) const override;
    Rgb ParentText(const QWidget& control) const override;
    void HandlerFailed(const QWidget& control, const std::exception& error) const override;

  private:
    const vt::SystemColors* colors_;
    QtSystemColors desktopColors_;
};

}  // namespace vt::button
