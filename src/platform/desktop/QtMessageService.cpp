#include "platform/desktop/QtMessageService.h"

#include <QMessageBox>

namespace vt {

MessageAnswer QtMessageService::show(QWidget* parent, MessageKind kind, const QString& text) {
    QMessageBox box(parent);
    box.setWindowTitle(QStringLiteral("Vellumtrove"));
    box.setText(text);
    box.setLayoutDirection(Qt::RightToLeft);
    switch (kind) {
        case MessageKind::Information:
            box.setIcon(QMessageBox::Information);
            box.setStandardButtons(QMessageBox::Ok);
            box.exec();
            return MessageAnswer::Ok;
        case MessageKind::Question:
            box.setIcon(QMessageBox::Question);
            break;
        case MessageKind::YesNoPlain:
            box.setIcon(QMessageBox::NoIcon);
            break;
    }
    box.setStandardButtons(QMessageBox::Yes | QMessageBox::No);
    box.setDefaultButton(QMessageBox::Yes);
    return box.exec() == QMessageBox::Yes ? MessageAnswer::Yes : MessageAnswer::No;
}

}  // namespace vt
