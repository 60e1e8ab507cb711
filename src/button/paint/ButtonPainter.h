#pragma once

#include <QImage>
#include <QRegion>

#include "button/ButtonState.h"
#include "button/paint/OverflowError.h"

namespace vt {
class SystemColors;
}

namespace vt::button {

// Geometry and colour arithmetic that leaves the 32-bit range throws OverflowError (nothing wraps).

// Where the colours that a button does not hold itself come from.
struct ColorSources {
    const vt::SystemColors* system = nullptr;  // the desktop's system colours
    Rgb parentBackground = 0;                  // the parent window's background colour (ContainerColors)
    Rgb parentText = 0;                        // the parent window's text colour (ContainerColors)
};

// Colours.
Rgb ShiftColor(Rgb color, std::int32_t amount, bool scaleBlue, bool softBevel);
Rgb BlendWithWhite(Rgb color, std::int32_t amount);
Rgb TranslateColor(ColorValue color, const ColorSources& sources);
void DeriveColors(ButtonState& state, const ColorSources& sources);

// Geometry.
IntRect focusRectFor(std::int32_t buttonType, std::int32_t width, std::int32_t height);
// The window shape: the pixels of (0, 0, width, height) that belong to the button.
QRegion BuildRegion(std::int32_t buttonType, std::int32_t width, std::int32_t height);

// Caption and picture layout.
void MeasurePicture(ButtonState& state);
void CalcCaptionRect(ButtonState& state);
void CalcPictureRect(ButtonState& state);

// The whole repaint sequence onto `surface` (ClientWidth x ClientHeight, Format_RGB32).
// Returns false when nothing was drawn (unchanged state and caption without force, zero height, or
// drawing disabled).
bool DrawButton(ButtonState& state, QImage& surface, std::uint8_t paintState, bool force,
                const ColorSources& sources);

}  // namespace vt::button
