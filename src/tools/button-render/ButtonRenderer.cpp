#include "ButtonRenderer.h"

#include <QPainter>

#include "ClassicColors.h"

namespace vt::render {

namespace {

constexpr button::Rgb kParentBackground = 0xD8D7CB;  // the program's window colour
constexpr button::Rgb kParentText = 0x000000;

// What a Transparent button would find under itself: the window colour with faint diagonal stripes, so
// that the copy is visible as such.
QImage parentPixels(int width, int height) {
    QImage image(width, height, QImage::Format_RGB32);
    image.fill(QColor(203, 215, 216));
    QPainter painter(&image);
    painter.setPen(QColor(183, 195, 196));
    for (int d = -height; d < width; d += 6) painter.drawLine(d, height, d + height, 0);
    return image;
}

}  // namespace

button::ColorSources renderSources() {
    static const ClassicColors classic;
    return button::ColorSources{&classic, kParentBackground, kParentText};
}

QImage renderButton(button::ButtonState state, std::int32_t width, std::int32_t height,
                    std::uint8_t paintState) {
    const button::ColorSources sources = renderSources();
    state.ClientWidth = width;
    state.ClientHeight = height;
    state.FocusRect = button::focusRectFor(state.ButtonType, width, height);
    state.RedrawEnabled = true;
    if (state.ButtonType == button::Transparent) state.Background = parentPixels(width, height);
    button::DeriveColors(state, sources);
    button::MeasurePicture(state);
    button::CalcCaptionRect(state);

    QImage surface(width, height, QImage::Format_RGB32);
    surface.fill(Qt::white);
    button::DrawButton(state, surface, paintState, true, sources);

    QImage out = surface.convertToFormat(QImage::Format_ARGB32);
    const QRegion region = button::BuildRegion(state.ButtonType, width, height);
    for (int y = 0; y < height; ++y) {
        QRgb* line = reinterpret_cast<QRgb*>(out.scanLine(y));
        for (int x = 0; x < width; ++x) {
            if (!region.contains(QPoint(x, y))) line[x] = qRgba(0, 0, 0, 0);
        }
    }
    return out;
}

}  // namespace vt::render
