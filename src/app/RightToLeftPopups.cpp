#include "app/RightToLeftPopups.h"

#include <QAbstractItemView>
#include <QApplication>
#include <QComboBox>
#include <QEvent>
#include <QScreen>
#include <algorithm>

namespace vt {

namespace {

// The combo box whose list `widget` is the window of, if it is one.
QComboBox* comboOfList(QWidget* widget) {
    if (!widget->isWindow()) return nullptr;
    auto* combo = qobject_cast<QComboBox*>(widget->parentWidget());
    return combo && combo->view() && combo->view()->window() == widget ? combo : nullptr;
}

}  // namespace

RightToLeftPopups::RightToLeftPopups() {
    QApplication::instance()->installEventFilter(this);
}

RightToLeftPopups::~RightToLeftPopups() {
    QApplication::instance()->removeEventFilter(this);
}

bool RightToLeftPopups::eventFilter(QObject* watched, QEvent* event) {
    // Every event of the program passes here: the type is tested first.
    if (event->type() != QEvent::Show || !watched->isWidgetType()) return false;
    auto* list = static_cast<QWidget*>(watched);
    QComboBox* combo = comboOfList(list);
    if (!combo || !combo->isRightToLeft()) return false;
    // The list is placed before it is shown; only its left edge moves, kept on the screen.
    int left = combo->mapToGlobal(QPoint(combo->width(), 0)).x() - list->width();
    if (const QScreen* screen = combo->screen()) left = std::max(left, screen->availableGeometry().left());
    list->move(left, list->y());
    return false;
}

}  // namespace vt
