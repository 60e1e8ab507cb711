#pragma once

#include <QImage>

#include "button/paint/ButtonPainter.h"

namespace vt::render {

// Where the tool's buttons stand: the classic desktop palette and the program's window colours.
button::ColorSources renderSources();

// Sizes `state` to width x height, derives its colours and layout, paints it in `paintState` and returns
// the client area as an ARGB image whose pixels outside the button's window region are fully transparent.
// A Transparent button shows a patterned stand-in for its parent's pixels.
QImage renderButton(button::ButtonState state, std::int32_t width, std::int32_t height,
                    std::uint8_t paintState);

}  // namespace vt::render
