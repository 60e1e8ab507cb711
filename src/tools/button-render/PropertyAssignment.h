#pragma once

#include <QString>

#include "button/ButtonState.h"

namespace vt::render {

// Applies one stored property, KEY=VALUE in the form files' notation, to a button: integers in decimal
// or 0x-hex (hex read as the 32-bit pattern, so 0x8000000F is a system colour), booleans as numbers
// (0 false, anything else true), TX as plain text, FONT as "family,points[,bold][,italic][,underline]",
// PICN and PICH as image file paths. The pointer keys (MPTR, MICON, HAND) are checked but change nothing
// that is drawn. Returns false with a message naming the key when the key or its value is not valid.
bool applyProperty(button::ButtonState& state, const QString& key, const QString& value, QString& error);

}  // namespace vt::render
