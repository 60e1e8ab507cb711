#pragma once

#include <QImage>
#include <QString>

namespace vt::button {

// Writes `image` as an uncompressed 24-bit BMP (bottom-up rows padded to 4 bytes, 2835 pixels per
// metre), the kind of bitmap the buttons' pictures are stored as. Qt's own writer makes 32-bit files.
// Returns false, with the file left as it was, when it cannot be written.
bool writeBitmap24(const QImage& image, const QString& path);

}  // namespace vt::button
