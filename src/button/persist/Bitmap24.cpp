#include "button/persist/Bitmap24.h"

#include <QSaveFile>
#include <QtEndian>

namespace vt::button {

namespace {

void putLe16(QByteArray& out, quint16 v) {
    char b[2];
    qToLittleEndian(v, b);
    out.append(b, 2);
}

void putLe32(QByteArray& out, quint32 v) {
    char b[4];
    qToLittleEndian(v, b);
    out.append(b, 4);
}

}  // namespace

bool writeBitmap24(const QImage& image, const QString& path) {
    if (image.isNull()) return false;
    const QImage rgb = image.convertToFormat(QImage::Format_RGB32);
    const quint32 stride = (3 * quint32(rgb.width()) + 3) & ~3u;
    const quint32 pixelBytes = stride * quint32(rgb.height());
    constexpr quint32 kHeaders = 14 + 40;
    constexpr quint32 kPixelsPerMetre = 2835;  // 72 dots per inch

    QByteArray out;
    out.reserve(int(kHeaders + pixelBytes));
    out.append("BM", 2);
    putLe32(out, kHeaders + pixelBytes);
    putLe32(out, 0);
    putLe32(out, kHeaders);
    putLe32(out, 40);
    putLe32(out, quint32(rgb.width()));
    putLe32(out, quint32(rgb.height()));
    putLe16(out, 1);
    putLe16(out, 24);
    putLe32(out, 0);
    putLe32(out, pixelBytes);
    putLe32(out, kPixelsPerMetre);
    putLe32(out, kPixelsPerMetre);
    putLe32(out, 0);
    putLe32(out, 0);
    for (int y = rgb.height() - 1; y >= 0; --y) {
        const auto* line = reinterpret_cast<const QRgb*>(rgb.constScanLine(y));
        const int start = out.size();
        for (int x = 0; x < rgb.width(); ++x) {
            out.append(char(qBlue(line[x])));
            out.append(char(qGreen(line[x])));
            out.append(char(qRed(line[x])));
        }
        out.append(QByteArray(int(stride) - (out.size() - start), '\0'));
    }

    QSaveFile file(path);
    return file.open(QIODevice::WriteOnly) && file.write(out) == out.size() && file.commit();
}

}  // namespace vt::button
