#pragma once

#include <QCursor>
#include <cstdint>
#include <optional>

namespace vt::button {

// The control's pointer codes: 0 the container's default, 1 the arrow, 2 to 15 the standard shapes,
// 99 the custom pointer picture.
constexpr std::int16_t kPointerDefault = 0;
constexpr std::int16_t kPointerArrow = 1;
constexpr std::int16_t kPointerCustom = 99;

// The Qt shape for a standard pointer code (1 to 15); nothing for 0, 99 and codes without a shape of
// their own, which show the container's pointer.
std::optional<Qt::CursorShape> standardPointerShape(std::int16_t code);

}  // namespace vt::button
