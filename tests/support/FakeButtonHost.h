#pragma once

#include <QFont>
#include <QStringList>
#include <QWidget>

#include "button/ButtonHost.h"
#include "support/FakeSystemColors.h"

namespace vt::test {

// A button container whose ambient properties and colours a test sets directly, and which records the
// failures of the buttons' handlers instead of reporting them.
class FakeButtonHost final : public vt::button::ButtonHost {
  public:
    QString displayName = QStringLiteral("MyButton1");
    QFont ambientFont = QFont(QStringLiteral("DejaVu Sans"), 9);
    bool userMode = true;
    bool displayAsDefault = false;
    vt::button::Rgb parentBackground = 0xC1BCB3;
    vt::button::Rgb parentText = 0x102030;
    FakeSystemColors colors;
    mutable QStringList failures;

    QString DisplayName(const QWidget&) const override { return displayName; }
    QFont AmbientFont(const QWidget&) const override { return ambientFont; }
    bool UserMode() const override { return userMode; }
    bool DisplayAsDefault(const QWidget&) const override { return displayAsDefault; }
    QPoint ExtenderPosition(const QWidget& control) const override { return control.pos(); }
    const vt::SystemColors& systemColors() const override { return colors; }
    vt::button::Rgb ParentBackground(const QWidget&) const override { return parentBackground; }
    vt::button::Rgb ParentText(const QWidget&) const override { return parentText; }
    void HandlerFailed(const QWidget&, const std::exception& error) const override {
        failures << QString::fromStdString(error.what());
    }
};

}  // namespace vt::test
