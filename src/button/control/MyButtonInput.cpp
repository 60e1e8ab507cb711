#include <QApplication>
#include <QCursor>
#include <QKeyEvent>
#include <QMouseEvent>

#include "button/MyButton.h"
#include "button/control/ContainerCodes.h"
#include "button/paint/OverflowError.h"

// Mouse, keyboard, focus and hover: Qt's events turned into the button's looks and events. Qt delivers
// a double-click as press, release, double-click, release; the double-click stands in for the second
// press, which Qt does not deliver on its own. A click is a press and release of one button over the
// button's shape, except the second press of a double-click.

namespace vt {

using namespace button;

namespace {

std::uint8_t toByte(qint16 value, const char* what) {
    if (value < 0 || value > 255)
        throw OverflowError(QStringLiteral("Overflow: the %1 %2 does not fit 8 bits")
                                .arg(QLatin1String(what))
                                .arg(value)
                                .toStdString());
    return static_cast<std::uint8_t>(value);
}

}  // namespace

bool MyButton::IsMouseOver() const {
    // The desktop never finds a disabled window under the pointer.
    if (!isEnabled()) return false;
    return QApplication::widgetAt(QCursor::pos()) == this;
}

bool MyButton::insideShape(const QPoint& position) const {
    return rect().contains(position) && (mask().isEmpty() || mask().contains(position));
}

void MyButton::MousePressHandler(qint16 Button, qint16 Shift, float X, float Y) {
    emit MouseDown(Button, Shift, X, Y);
    LastButton = toByte(Button, "button code");
    if (Button != 2) DrawButton(StateDown, false);
}

void MyButton::mousePressEvent(QMouseEvent* event) {
    const qint16 code = mouseButtonCode(event->button());
    if (code == 0) return;
    clickCandidates_.setFlag(event->button());
    MousePressHandler(code, shiftState(event->modifiers()), float(event->position().x()),
                      float(event->position().y()));
}

void MyButton::mouseDoubleClickEvent(QMouseEvent* event) {
    if (mouseButtonCode(event->button()) == 0 || LastButton != 1) return;
    MousePressHandler(1, 0, 0.0f, 0.0f);
    // The coming release must reach this button even off its window.
    if (isVisible()) {
        grabMouse();
        doubleClickGrab_ = true;
    }
}

void MyButton::mouseReleaseEvent(QMouseEvent* event) {
    const qint16 code = mouseButtonCode(event->button());
    if (code == 0) return;
    if (doubleClickGrab_ && event->buttons() == Qt::NoButton) {
        releaseMouse();
        doubleClickGrab_ = false;
    }
    const bool click = clickCandidates_.testFlag(event->button()) && insideShape(event->position().toPoint());
    clickCandidates_.setFlag(event->button(), false);
    qint16 Button = code;
    qint16 Shift = shiftState(event->modifiers());
    float X = float(event->position().x());
    float Y = float(event->position().y());
    emit MouseUp(Button, Shift, X, Y);
    if (Button != 2) DrawButton(StateUp, false);
    if (click) ClickHandler();
}

void MyButton::mouseMoveEvent(QMouseEvent* event) {
    qint16 Button = mouseButtonSet(event->buttons());
    qint16 Shift = shiftState(event->modifiers());
    float X = float(event->position().x());
    float Y = float(event->position().y());
    emit MouseMove(Button, Shift, X, Y);
    if (Button >= 2) return;
    if (!IsMouseOver()) {
        DrawButton(StateUp, false);  // a button dragged off while pressed pops up
        return;
    }
    if (Button == 0) {
        if (state_.MouseIsOver) return;
        OverTimer.start();
        state_.MouseIsOver = true;
        DrawButton(StateUp, true);
        emit MouseOver();
    } else if (Button == 1) {
        // The pressed look in the hover colours; the flag is clear again afterwards.
        state_.MouseIsOver = true;
        DrawButton(StateDown, false);
        state_.MouseIsOver = false;
    }
}

void MyButton::OverTimer_Timer() {
    if (IsMouseOver()) return;
    OverTimer.stop();
    state_.MouseIsOver = false;
    DrawButton(StateUp, true);
    emit MouseOut();
}

void MyButton::ClickHandler() {
    if (LastButton != 1 || !state_.Enabled) return;
    if (state_.CheckBoxBehaviour) state_.Value = !state_.Value;
    DrawButton(StateUp, true);
    // The released look reaches the screen before the form's handler runs, however long it takes.
    repaint();
    emit Click();
}

void MyButton::keyPressEvent(QKeyEvent* event) {
    qint16 KeyCode = virtualKeyCode(*event);
    qint16 Shift = shiftState(event->modifiers());
    emit KeyDown(KeyCode, Shift);
    LastKey = toByte(KeyCode, "key code");
    switch (KeyCode) {
        case 32:
            DrawButton(StateDown, false);
            break;
        case 37:
        case 38:
            focusNextPrevChild(false);
            break;
        case 39:
        case 40:
            focusNextPrevChild(true);
            break;
        default:
            break;
    }
    if (!event->text().isEmpty()) {
        qint16 KeyAscii = static_cast<qint16>(event->text().at(0).unicode());
        emit KeyPress(KeyAscii);
    }
}

void MyButton::keyReleaseEvent(QKeyEvent* event) {
    // A held key repeats its key-down only, as on the desktop the control comes from.
    if (event->isAutoRepeat()) return;
    qint16 KeyCode = virtualKeyCode(*event);
    qint16 Shift = shiftState(event->modifiers());
    emit KeyUp(KeyCode, Shift);
    if (LastKey != 32 || KeyCode != 32) return;
    if (state_.CheckBoxBehaviour) state_.Value = !state_.Value;
    DrawButton(StateUp, false);
    repaint();
    emit Click();
}

void MyButton::focusInEvent(QFocusEvent*) {
    state_.HasFocus = true;
    DrawButton(state_.LastState, true);
}

void MyButton::focusOutEvent(QFocusEvent*) {
    state_.HasFocus = false;
    DrawButton(state_.LastState, true);
}

}  // namespace vt
