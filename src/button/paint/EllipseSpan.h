#pragma once

#include <cstdint>

#include "button/paint/CheckedInt.h"

namespace vt::button {

// The pixels of an axis-aligned ellipse, decided exactly on pixel centres. Everything is kept in doubled
// coordinates, where pixel centres (x + 0.5) become the odd integers 2x + 1, so no rounding is involved.
class EllipseSpan {
  public:
    // The ellipse with doubled centre (centerX2, centerY2) and doubled semi-axes (axisX2, axisY2).
    // Throws OverflowError when the doubled values leave the 32-bit range.
    EllipseSpan(CheckedInt centerX2, CheckedInt centerY2, CheckedInt axisX2, CheckedInt axisY2);

    // The ellipse through the centres of the outermost pixels of the rectangle (x, y, x + width,
    // y + height), with each semi-axis grown by `growHalves` half pixels (negative shrinks it).
    static EllipseSpan inscribed(CheckedInt x, CheckedInt y, CheckedInt width, CheckedInt height,
                                 CheckedInt growHalves);

    // The columns [first, last] of row y whose pixel centres lie inside (or on the edge, unless
    // `strict`); false when the row has none.
    bool row(std::int64_t y, bool strict, std::int64_t& first, std::int64_t& last) const;

  private:
    std::int64_t cx_, cy_, ax_, ay_;
};

}  // namespace vt::button
