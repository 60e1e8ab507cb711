#include "button/paint/ButtonCanvas.h"

#include <algorithm>
#include <cstdlib>

#include "button/RgbPixel.h"
#include "button/paint/EllipseSpan.h"

namespace vt::button {

namespace {

using Wide = __int128;

// floor(n / d) for d > 0.
Wide floorDiv(Wide n, Wide d) {
    return n >= 0 ? n / d : -((-n + d - 1) / d);
}

}  // namespace

ButtonCanvas::ButtonCanvas(QImage& surface, CheckedInt width, CheckedInt height)
    : surface_(surface), width_(width), height_(height) {
    if (!surface_.isNull() && surface_.format() != QImage::Format_RGB32) {
        surface_.convertTo(QImage::Format_RGB32);
    }
}

void ButtonCanvas::fill(std::int64_t x0, std::int64_t y0, std::int64_t x1, std::int64_t y1, QRgb pixel) {
    x0 = std::max<std::int64_t>(x0, 0);
    y0 = std::max<std::int64_t>(y0, 0);
    x1 = std::min<std::int64_t>(x1, surface_.width());
    y1 = std::min<std::int64_t>(y1, surface_.height());
    for (std::int64_t y = y0; y < y1; ++y) {
        QRgb* line = reinterpret_cast<QRgb*>(surface_.scanLine(int(y)));
        std::fill(line + x0, line + std::max(x0, x1), pixel);
    }
}

void ButtonCanvas::put(std::int64_t x, std::int64_t y, QRgb pixel) {
    if (x < 0 || y < 0 || x >= surface_.width() || y >= surface_.height()) return;
    reinterpret_cast<QRgb*>(surface_.scanLine(int(y)))[x] = pixel;
}

void ButtonCanvas::DrawRect(CheckedInt x, CheckedInt y, CheckedInt width, CheckedInt height, Rgb color,
                            bool frameOnly) {
    const CheckedInt right = x + width, bottom = y + height;
    if (right <= x || bottom <= y) return;
    const QRgb p = toQRgb(color);
    const std::int64_t l = x.value(), t = y.value(), r = right.value(), b = bottom.value();
    if (!frameOnly) {
        fill(l, t, r, b, p);
        return;
    }
    fill(l, t, r, t + 1, p);
    fill(l, b - 1, r, b, p);
    fill(l, t, l + 1, b, p);
    fill(r - 1, t, r, b, p);
}

void ButtonCanvas::DrawEllipse(CheckedInt x, CheckedInt y, CheckedInt width, CheckedInt height, Rgb border,
                               Rgb fillColor) {
    const CheckedInt right = x + width, bottom = y + height;
    if (right <= x || bottom <= y) return;
    // A two-pixel pen centred on the path through the outermost pixel centres: one pixel either side of
    // it. Everything strictly inside the pen is the interior.
    const EllipseSpan outer = EllipseSpan::inscribed(x, y, width, height, 2);
    const EllipseSpan inner = EllipseSpan::inscribed(x, y, width, height, -2);
    const QRgb pen = toQRgb(border), brush = toQRgb(fillColor);
    const std::int64_t y0 = std::max<std::int64_t>(y.value() - 1, 0);
    const std::int64_t y1 = std::min<std::int64_t>(std::int64_t(bottom.value()) + 1, surface_.height());
    for (std::int64_t row = y0; row < y1; ++row) {
        std::int64_t first = 0, last = 0;
        if (!outer.row(row, false, first, last)) continue;
        fill(first, row, last + 1, row + 1, pen);
        std::int64_t innerFirst = 0, innerLast = 0;
        if (inner.row(row, true, innerFirst, innerLast)) fill(innerFirst, row, innerLast + 1, row + 1, brush);
    }
}

void ButtonCanvas::DrawLine(CheckedInt x1, CheckedInt y1, CheckedInt x2, CheckedInt y2, Rgb color) {
    const std::int64_t ax = x1.value(), ay = y1.value();
    const std::int64_t dx = std::int64_t(x2.value()) - ax, dy = std::int64_t(y2.value()) - ay;
    if (dx == 0 && dy == 0) return;
    const QRgb p = toQRgb(color);
    const bool xMajor = std::llabs(dx) >= std::llabs(dy);
    const std::int64_t major = xMajor ? dx : dy;
    const std::int64_t minor = xMajor ? dy : dx;
    const std::int64_t steps = std::llabs(major);
    const std::int64_t dir = major > 0 ? 1 : -1;
    const std::int64_t start = xMajor ? ax : ay;
    const std::int64_t minorStart = xMajor ? ay : ax;
    const std::int64_t limit = xMajor ? surface_.width() : surface_.height();
    // Only the steps whose major coordinate lies on the surface: [0, limit).
    std::int64_t tFirst = 0, tLast = steps - 1;  // the end point itself is never painted
    if (dir > 0) {
        tFirst = std::max<std::int64_t>(tFirst, -start);
        tLast = std::min<std::int64_t>(tLast, limit - 1 - start);
    } else {
        tFirst = std::max<std::int64_t>(tFirst, start - (limit - 1));
        tLast = std::min<std::int64_t>(tLast, start);
    }
    for (std::int64_t t = tFirst; t <= tLast; ++t) {
        // The exact line's minor coordinate, with a tie between two pixels going to the larger one: the
        // same pixels whichever end the line is drawn from.
        const std::int64_t m =
            minorStart + std::int64_t(floorDiv(Wide(2) * t * minor + steps, Wide(2) * steps));
        const std::int64_t j = start + dir * t;
        if (xMajor) {
            put(j, m, p);
        } else {
            put(m, j, p);
        }
    }
}

void ButtonCanvas::DrawBevel(Rgb c1, Rgb c2, Rgb c3, Rgb c4, std::int16_t inset, bool outerOnly) {
    const CheckedInt in = inset;
    const CheckedInt l = inset < 0 ? -in : in;
    const CheckedInt t = l;
    const CheckedInt r = width_ - 1 + in;
    const CheckedInt b = height_ - 1 + in;
    DrawLine(l, b, l, t, c1);
    DrawLine(l, t, r, t, c1);
    DrawLine(r, t, r, b, c2);
    DrawLine(r, b, l - 1, b, c2);
    if (outerOnly) return;
    DrawLine(l + 1, b - 1, l + 1, t + 1, c3);
    DrawLine(l + 1, t + 1, r - 1, t + 1, c3);
    DrawLine(r - 1, t + 1, r - 1, b - 1, c4);
    DrawLine(r - 1, b - 1, l, b - 1, c4);
}

void ButtonCanvas::DrawPixel(CheckedInt x, CheckedInt y, Rgb color) {
    put(x.value(), y.value(), toQRgb(color));
}

void ButtonCanvas::invert(std::int64_t x0, std::int64_t y0, std::int64_t x1, std::int64_t y1, QRgb even,
                          QRgb odd) {
    x0 = std::max<std::int64_t>(x0, 0);
    y0 = std::max<std::int64_t>(y0, 0);
    x1 = std::min<std::int64_t>(x1, surface_.width());
    y1 = std::min<std::int64_t>(y1, surface_.height());
    for (std::int64_t y = y0; y < y1; ++y) {
        QRgb* line = reinterpret_cast<QRgb*>(surface_.scanLine(int(y)));
        for (std::int64_t x = x0; x < x1; ++x) line[x] ^= ((x + y) % 2 == 0) ? even : odd;
    }
}

void ButtonCanvas::DrawFocusRectangle(const ButtonState& state) {
    if (!state.ShowFocusRect || !state.HasFocus) return;
    textColor_ = state.colors.TextColor;
    const IntRect& f = state.FocusRect;
    const std::int64_t l = f.left, t = f.top, r = f.right, b = f.bottom;
    if (r <= l || b <= t) return;
    // A checkerboard pattern: its set dots take the text colour, the others the surface's (white)
    // background colour, each combined with the pixel under it by exclusive-or.
    const QRgb even = toQRgb(textColor_) & 0xFFFFFF;
    const QRgb odd = 0xFFFFFF;
    invert(l, t, r, t + 1, even, odd);
    invert(l, b - 1, r, b, even, odd);
    invert(l, t + 1, l + 1, b - 1, even, odd);
    invert(r - 1, t + 1, r, b - 1, even, odd);
}

void ButtonCanvas::CopyFrom(const QImage& source, CheckedInt width, CheckedInt height) {
    if (source.isNull()) return;
    const QImage pixels =
        source.format() == QImage::Format_RGB32 ? source : source.convertToFormat(QImage::Format_RGB32);
    const std::int64_t w = std::min<std::int64_t>({width.value(), pixels.width(), surface_.width()});
    const std::int64_t h = std::min<std::int64_t>({height.value(), pixels.height(), surface_.height()});
    for (std::int64_t y = 0; y < h; ++y) {
        const QRgb* from = reinterpret_cast<const QRgb*>(pixels.constScanLine(int(y)));
        QRgb* to = reinterpret_cast<QRgb*>(surface_.scanLine(int(y)));
        std::copy(from, from + std::max<std::int64_t>(w, 0), to);
    }
}

}  // namespace vt::button
