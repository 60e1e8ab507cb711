#pragma once

#include <Qt>
#include <QtGlobal>

class QKeyEvent;

namespace vt::button {

// The numbers the button's events carry, as its forms know them.

// Mouse buttons: 1 left, 2 right, 4 middle; 0 for any other button.
qint16 mouseButtonCode(Qt::MouseButton button);
// The set of buttons held, as the sum of their codes.
qint16 mouseButtonSet(Qt::MouseButtons buttons);
// Shift 1, Ctrl 2, Alt 4.
qint16 shiftState(Qt::KeyboardModifiers modifiers);
// The desktop's virtual-key code of a key (8 backspace, 13 enter, 32 space, 37-40 the arrows, 48-57 the
// digits, 65-90 the letters, 112-123 F1-F12 ...); 0 for a key without one.
qint16 virtualKeyCode(const QKeyEvent& event);

}  // namespace vt::button
