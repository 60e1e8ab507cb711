#pragma once

#include "button/ButtonState.h"
#include "button/paint/ButtonCanvas.h"

namespace vt::button {

// Caption styles: 0 normal, 1 hover, 2 pressed, 3 embossed, 4 shadow, 5 gradient dark, 6 etched,
// 7 pressed light. Stores the style in state.LastCaptionStyle first.
void DrawCaption(ButtonState& state, ButtonCanvas& canvas, std::uint8_t style);

// The SpecialEffect copies of the caption for the rectangle `rect`, drawn before the caption itself.
void DrawCaptionEffect(const ButtonState& state, ButtonCanvas& canvas, const IntRect& rect);

// The caption once, in `color`, in `rect`, with the caption text rules; the canvas keeps `color` as its
// text colour.
void DrawCaptionText(const ButtonState& state, ButtonCanvas& canvas, const IntRect& rect, Rgb color);

}  // namespace vt::button
