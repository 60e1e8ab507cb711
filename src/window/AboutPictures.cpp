#include "window/AboutPictures.h"

#include <QLinearGradient>
#include <QPainter>
#include <QRadialGradient>

#include "window/Look.h"

namespace vt {

namespace {

QPixmap canvas(int width, int height, const QColor& fill) {
    QPixmap pixmap(width, height);
    pixmap.fill(fill);
    return pixmap;
}

}  // namespace

QPixmap aboutDiscPicture() {
    QPixmap pixmap = canvas(128, 128, Look::windowColor());
    QPainter p(&pixmap);
    p.setRenderHint(QPainter::Antialiasing);
    QRadialGradient sheen(QPointF(64, 64), 60);
    sheen.setColorAt(0.0, QColor(235, 240, 245));
    sheen.setColorAt(0.45, QColor(180, 200, 230));
    sheen.setColorAt(0.7, QColor(230, 200, 235));
    sheen.setColorAt(1.0, QColor(170, 190, 210));
    p.setBrush(sheen);
    p.setPen(QPen(QColor(90, 100, 110), 2));
    p.drawEllipse(QPointF(64, 64), 58, 58);
    p.setBrush(Look::windowColor());
    p.drawEllipse(QPointF(64, 64), 12, 12);
    return pixmap;
}

QPixmap aboutDrawersPicture() {
    QPixmap pixmap = canvas(198, 142, Look::windowColor());
    QPainter p(&pixmap);
    p.setRenderHint(QPainter::Antialiasing);
    for (int row = 0; row < 3; ++row) {
        const QRectF drawer(24, 12 + row * 42, 150, 36);
        QLinearGradient wood(drawer.topLeft(), drawer.bottomLeft());
        wood.setColorAt(0, QColor(196, 160, 110));
        wood.setColorAt(1, QColor(150, 112, 70));
        p.setBrush(wood);
        p.setPen(QPen(QColor(90, 64, 40), 1.5));
        p.drawRoundedRect(drawer, 4, 4);
        p.setBrush(QColor(230, 225, 210));
        p.drawRoundedRect(QRectF(drawer.center().x() - 22, drawer.top() + 10, 44, 14), 3, 3);
    }
    return pixmap;
}

QPixmap aboutBannerPicture() {
    QPixmap pixmap = canvas(340, 142, Look::frameColor());
    QPainter p(&pixmap);
    p.setRenderHint(QPainter::Antialiasing);
    QLinearGradient sky(0, 0, 0, 142);
    sky.setColorAt(0, QColor(60, 90, 130));
    sky.setColorAt(1, QColor(150, 175, 200));
    p.fillRect(pixmap.rect(), sky);
    QFont title = Look::font(26);
    title.setBold(true);
    p.setFont(title);
    p.setPen(QColor(250, 250, 245));
    p.drawText(pixmap.rect(), Qt::AlignCenter, QStringLiteral("Vellumtrove"));
    return pixmap;
}

}  // namespace vt
