#include "Gallery.h"

#include <QPainter>

#include "ButtonRenderer.h"

namespace vt::render {

namespace {

constexpr int kButtonWidth = 96;
constexpr int kButtonHeight = 28;
constexpr int kCellWidth = 104;
constexpr int kCellHeight = 36;
constexpr int kLabelWidth = 130;
constexpr int kHeaderHeight = 44;
constexpr int kGroupGap = 12;

const char* const kStyleNames[] = {"FramedBevel",    "Standard3D",    "GradientRounded", "RoundedFramed",
                                   "FlatFramed",     "SoftRaised",    "ThinRaised",      "HoverThin",
                                   "HoverHighlight", "Borderless",    "Transparent",     "Hover3D",
                                   "Oval",           "GradientFramed"};
const char* const kSchemeNames[] = {"SystemColors", "CustomColors", "FixedColors", "ContainerColors"};
const char* const kLookNames[] = {"up", "hover", "down", "disabled"};

// A 16 x 16 toolbar-style bitmap: a disc on magenta, the mask colour of the program's toolbar pictures.
button::PictureRef discBitmap() {
    QImage image(16, 16, QImage::Format_RGB32);
    image.fill(QColor(255, 0, 255));
    QPainter painter(&image);
    painter.setPen(QColor(0, 0, 128));
    painter.setBrush(QColor(64, 160, 224));
    painter.drawEllipse(1, 1, 13, 13);
    painter.setBrush(QColor(255, 255, 255));
    painter.drawEllipse(6, 6, 3, 3);
    painter.end();
    auto picture = std::make_shared<button::Picture>();
    picture->image = image;
    picture->type = button::Picture::Bitmap;
    return picture;
}

button::ButtonState galleryButton(std::int32_t type, std::int32_t scheme, const button::PictureRef& picture) {
    button::ButtonState s;
    s.ButtonType = type;
    s.ColorScheme = scheme;
    s.Caption = "Save";
    s.Font = QFont("Tahoma");
    s.Font.setPointSizeF(9);
    s.BackColor = 0xD8D7CB;
    s.BackOver = 0xC0E0FF;
    s.ForeColor = 0x000000;
    s.ForeOver = 0x800000;
    s.MaskColor = 0xFF00FF;
    s.PictureNormal = picture;
    s.PicturePosition = button::PictureLeft;
    return s;
}

}  // namespace

QImage renderGallery() {
    const int groupWidth = 4 * kCellWidth + kGroupGap;
    QImage sheet(kLabelWidth + 4 * groupWidth, kHeaderHeight + 14 * kCellHeight + 8, QImage::Format_ARGB32);
    sheet.fill(QColor(236, 236, 236));
    QPainter painter(&sheet);
    QFont labelFont("DejaVu Sans");
    labelFont.setPixelSize(11);
    painter.setFont(labelFont);
    painter.setPen(Qt::black);

    const button::PictureRef picture = discBitmap();
    for (int g = 0; g < 4; ++g) {
        const int x0 = kLabelWidth + g * groupWidth;
        painter.drawText(QRect(x0, 4, 4 * kCellWidth, 16), Qt::AlignCenter,
                         QString("%1 %2").arg(g + 1).arg(kSchemeNames[g]));
        for (int look = 0; look < 4; ++look) {
            painter.drawText(QRect(x0 + look * kCellWidth, 22, kCellWidth, 16), Qt::AlignCenter,
                             kLookNames[look]);
        }
    }
    for (int row = 0; row < 14; ++row) {
        const std::int32_t type = row + 1;
        const int y = kHeaderHeight + row * kCellHeight;
        painter.drawText(QRect(6, y, kLabelWidth - 8, kButtonHeight), Qt::AlignVCenter | Qt::AlignLeft,
                         QString("%1 %2").arg(type).arg(kStyleNames[row]));
        for (int g = 0; g < 4; ++g) {
            for (int look = 0; look < 4; ++look) {
                button::ButtonState s = galleryButton(type, g + 1, picture);
                s.MouseIsOver = look == 1 || look == 2;
                s.Enabled = look != 3;
                const std::uint8_t paintState = look == 2 ? button::StateDown : button::StateUp;
                const QImage image = renderButton(s, kButtonWidth, kButtonHeight, paintState);
                painter.drawImage(kLabelWidth + g * groupWidth + look * kCellWidth + 4, y, image);
            }
        }
    }
    return sheet;
}

}  // namespace vt::render
