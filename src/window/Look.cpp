#include "window/Look.h"

#include <QStringList>
#include <QWidget>

namespace vt {
namespace Look {

QFont font(double points) {
    QFont f;
    f.setFamilies({QStringLiteral("Tahoma"), QStringLiteral("Noto Sans Arabic UI"),
                   QStringLiteral("Noto Sans Arabic"), QStringLiteral("Noto Naskh Arabic"),
                   QStringLiteral("DejaVu Sans")});
    f.setPointSizeF(points);
    f.setWeight(QFont::Normal);
    return f;
}

void applyWindowLook(QWidget& window) {
    window.setAutoFillBackground(true);
    QPalette palette = window.palette();
    palette.setColor(QPalette::Window, windowColor());
    window.setPalette(palette);
    window.setFont(controlFont());
}

}  // namespace Look
}  // namespace vt
