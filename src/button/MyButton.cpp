#include "button/MyButton.h"

#include <QMouseEvent>
#include <QPainter>

namespace vt {

MyButton::MyButton(QWidget* parent) : QWidget(parent) { setFocusPolicy(Qt::StrongFocus); }

void MyButton::setCaption(const QString& caption) {
    caption_ = caption;
    update();
}

void MyButton::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    painter.fillRect(rect(), palette().button());
    painter.setPen(palette().color(QPalette::Mid));
    painter.drawRect(rect().adjusted(0, 0, -1, -1));
    painter.setPen(palette().color(QPalette::ButtonText));
    painter.drawText(rect().translated(pressed_ ? 1 : 0, pressed_ ? 1 : 0), Qt::AlignCenter, caption_);
}

void MyButton::mousePressEvent(QMouseEvent* event) {
    if (event->button() != Qt::LeftButton) return;
    pressed_ = true;
    update();
}

void MyButton::mouseReleaseEvent(QMouseEvent* event) {
    if (event->button() != Qt::LeftButton || !pressed_) return;
    pressed_ = false;
    update();
    if (rect().contains(event->position().toPoint())) emit Click();
}

}  // namespace vt
