// The focus-rectangle insets and the window shape of each button style.
#include <QRect>
#include <vector>

#include "button/paint/ButtonPainter.h"
#include "button/paint/CheckedInt.h"
#include "button/paint/EllipseSpan.h"

namespace vt::button {

IntRect focusRectFor(std::int32_t buttonType, std::int32_t width, std::int32_t height) {
    const CheckedInt w = width, h = height;
    CheckedInt inset = 4, offset = 0;
    if (buttonType >= ThinRaised && buttonType <= Oval) {
        inset = 3;
    } else if (buttonType == GradientFramed) {
        inset = 5;
        offset = 1;
    }
    return IntRect{(inset + offset).value(), (inset + offset).value(), (w - inset + offset).value(),
                   (h - inset + offset).value()};
}

namespace {

QRegion ovalRegion(CheckedInt w, CheckedInt h) {
    // The ellipse reaches the outer edges of the rectangle: semi-axes of W/2 and H/2.
    const EllipseSpan ellipse = EllipseSpan::inscribed(0, 0, w, h, 1);
    std::vector<QRect> rows;
    for (std::int32_t y = 0; y < h.value(); ++y) {
        std::int64_t first = 0, last = 0;
        if (!ellipse.row(y, false, first, last)) continue;
        if (first < 0) first = 0;
        if (last > w.value() - 1) last = w.value() - 1;
        rows.emplace_back(int(first), y, int(last - first + 1), 1);
    }
    QRegion region;
    if (!rows.empty()) region.setRects(rows.data(), int(rows.size()));
    return region;
}

}  // namespace

QRegion BuildRegion(std::int32_t buttonType, std::int32_t width, std::int32_t height) {
    const CheckedInt w = width, h = height;
    if (width <= 0 || height <= 0) return QRegion();
    if (buttonType == Oval) return ovalRegion(w, h);

    QRegion region(0, 0, width, height);
    auto cut = [&region](CheckedInt x, CheckedInt y) { region -= QRegion(x.value(), y.value(), 1, 1); };
    switch (buttonType) {
        case FramedBevel:
        case GradientFramed:
            cut(0, 0);
            cut(w - 1, 0);
            cut(0, h - 1);
            cut(w - 1, h - 1);
            break;
        case FlatFramed:
            cut(0, h - 1);
            cut(w - 1, 0);
            break;
        case GradientRounded:
        case RoundedFramed:
            cut(0, 0), cut(1, 0), cut(0, 1);
            cut(w - 1, 0), cut(w - 2, 0), cut(w - 1, 1);
            cut(0, h - 1), cut(1, h - 1), cut(0, h - 2);
            cut(w - 1, h - 1), cut(w - 2, h - 1), cut(w - 1, h - 2);
            break;
        default:
            break;
    }
    return region;
}

}  // namespace vt::button
