#pragma once

#include "button/ButtonState.h"
#include "button/paint/ButtonCanvas.h"

namespace vt::button {

// Picture states of a repaint.
constexpr std::uint8_t PictureUp = 0;
constexpr std::uint8_t PictureDown = 1;
constexpr std::uint8_t PictureDisabled = 2;

// Puts PictureNormal (or PictureOver) on the face at PictureX, PictureY for the picture state, and draws
// the caption again over a picture that lies behind it. Does nothing without PictureNormal.
void DrawPicture(ButtonState& state, ButtonCanvas& canvas, std::uint8_t pictureState);

// The SpecialEffect silhouettes of `picture`, moved by `offset` (-1, 0 or 1) pixels.
void DrawPictureEffect(const ButtonState& state, ButtonCanvas& canvas, std::int32_t offset,
                       const Picture& picture);

}  // namespace vt::button
