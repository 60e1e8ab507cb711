#include "button/control/WidgetButtonHost.h"

#include <QApplication>
#include <QWidget>
#include <QtDebug>

namespace vt::button {

namespace {

Rgb toRgb(const QColor& c) {
    return Rgb(c.red()) | (Rgb(c.green()) << 8) | (Rgb(c.blue()) << 16);
}

}  // namespace

QString WidgetButtonHost::DisplayName(const QWidget& control) const {
    return control.objectName();
}

QFont WidgetButtonHost::AmbientFont(const QWidget& control) const {
    return control.parentWidget() ? control.parentWidget()->font() : QApplication::font();
}

QPoint WidgetButtonHost::ExtenderPosition(const QWidget& control) const {
    return control.pos();
}

Rgb WidgetButtonHost::ParentBackground(const QWidget& control) const {
    const QWidget* parent = control.parentWidget();
    return parent ? toRgb(parent->palette().color(parent->backgroundRole()))
                  : toRgb(QApplication::palette().color(QPalette::Window));
}

Rgb WidgetButtonHost::ParentText(const QWidget& control) const {
    const QWidget* parent = control.parentWidget();
    return parent ? toRgb(parent->palette().color(parent->foregroundRole()))
                  : toRgb(QApplication::palette().color(QPalette::WindowText));
}

void WidgetButtonHost::HandlerFailed(const QWidget& control, const std::exception& error) const {
    // Nothing in the program raises errors through a button's handlers that the user could act on;
    // a failure is kept visible for whoever runs the program from a terminal.
    qWarning("%s: %s", qPrintable(control.objectName()), error.what());
}

}  // namespace vt::button
