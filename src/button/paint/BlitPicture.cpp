#include "button/paint/BlitPicture.h"

#include <QPainter>
#include <algorithm>
#include <cmath>

#include "button/RgbPixel.h"

namespace vt::button {

namespace {

// The picture as it lies on its work surface: an icon over the mask colour, a bitmap as it is.
QImage workPixels(const Picture& picture, int width, int height, Rgb maskRgb) {
    if (picture.type == Picture::Bitmap) return picture.image.convertToFormat(QImage::Format_RGB32);
    QImage work(width, height, QImage::Format_RGB32);
    work.fill(toQRgb(maskRgb));
    QPainter painter(&work);
    painter.drawImage(QPoint(0, 0), picture.image);
    return work;
}

int roundHalfEven(double v) {
    // The default floating-point environment rounds to nearest with ties to even.
    return int(std::nearbyint(v));
}

}  // namespace

void BlitPicture(QImage& surface, CheckedInt x, CheckedInt y, CheckedInt width, CheckedInt height,
                 const Picture& picture, Rgb maskRgb, bool useMaskColor, const BlitOptions& options) {
    if (width == 0 || height == 0 || picture.image.isNull() || surface.isNull()) return;
    if (width < 0) width = picture.image.width();
    if (height < 0) height = picture.image.height();
    // Like every rectangle on the face, this one must be representable in 32 bits.
    static_cast<void>(x + width);
    static_cast<void>(y + height);
    const QImage work = workPixels(picture, width.value(), height.value(), maskRgb);
    const std::int64_t col0 = std::max<std::int64_t>(0, -std::int64_t(x.value()));
    const std::int64_t row0 = std::max<std::int64_t>(0, -std::int64_t(y.value()));
    const std::int64_t cols =
        std::min<std::int64_t>({width.value(), work.width(), std::int64_t(surface.width()) - x.value()});
    const std::int64_t rows =
        std::min<std::int64_t>({height.value(), work.height(), std::int64_t(surface.height()) - y.value()});
    const QRgb tint = options.tint >= 0 ? toQRgb(Rgb(options.tint & 0xFFFFFF)) : 0;
    for (std::int64_t i = row0; i < rows; ++i) {
        const QRgb* from = reinterpret_cast<const QRgb*>(work.constScanLine(int(i)));
        QRgb* to = reinterpret_cast<QRgb*>(surface.scanLine(int(y.value() + i)));
        for (std::int64_t j = col0; j < cols; ++j) {
            const QRgb p = from[j];
            QRgb& b = to[x.value() + j];
            const int R = qRed(p), G = qGreen(p), B = qBlue(p);
            if (useMaskColor && fromQRgb(p) == maskRgb) continue;
            if (options.tint >= 0) {
                if (options.darkOnly && R + G + B > 384) continue;
                b = tint;
            } else if (options.greyscale) {
                const int g = roundHalfEven(double(roundHalfEven(0.3 * R)) + 0.59 * G + 0.11 * B);
                b = qRgb(g, g, g);
            } else if (options.blend) {
                b = qRgb((2 * R + qRed(b)) / 3, (2 * G + qGreen(b)) / 3, (2 * B + qBlue(b)) / 3);
            } else {
                b = p | 0xFF000000u;
            }
        }
    }
}

}  // namespace vt::button
