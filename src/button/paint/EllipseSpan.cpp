#include "button/paint/EllipseSpan.h"

#include <cmath>

namespace vt::button {

namespace {

using Wide = __int128;

std::int64_t floorDiv2(std::int64_t v) {
    return v >= 0 ? v / 2 : -((-v + 1) / 2);
}

}  // namespace

EllipseSpan::EllipseSpan(CheckedInt centerX2, CheckedInt centerY2, CheckedInt axisX2, CheckedInt axisY2)
    : cx_(centerX2.value()), cy_(centerY2.value()), ax_(axisX2.value()), ay_(axisY2.value()) {}

EllipseSpan EllipseSpan::inscribed(CheckedInt x, CheckedInt y, CheckedInt width, CheckedInt height,
                                   CheckedInt growHalves) {
    return EllipseSpan(x * 2 + width, y * 2 + height, width - 1 + growHalves, height - 1 + growHalves);
}

bool EllipseSpan::row(std::int64_t y, bool strict, std::int64_t& first, std::int64_t& last) const {
    if (ax_ <= 0 || ay_ <= 0) return false;
    const Wide dy = Wide(2 * y + 1 - cy_);
    const Wide a2 = Wide(ax_) * ax_;
    const Wide b2 = Wide(ay_) * ay_;
    // Centre offsets u (doubled) with u^2 * b^2 <= a^2 * (b^2 - dy^2).
    const Wide rhs = a2 * (b2 - dy * dy);
    if (rhs < 0 || (strict && rhs == 0)) return false;
    auto fits = [&](Wide u) { return strict ? u * u * b2 < rhs : u * u * b2 <= rhs; };
    Wide u = Wide(std::sqrt(double(rhs) / double(b2)));
    while (u > 0 && !fits(u)) --u;
    while (fits(u + 1)) ++u;
    if (!fits(u)) return false;
    // Pixel x has centre 2x + 1 in doubled coordinates.
    const std::int64_t lo = std::int64_t(cx_ - u);
    const std::int64_t hi = std::int64_t(cx_ + u);
    first = -floorDiv2(-(lo - 1));  // ceil((lo - 1) / 2)
    last = floorDiv2(hi - 1);
    return first <= last;
}

}  // namespace vt::button
