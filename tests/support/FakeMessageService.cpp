#include "support/FakeMessageService.h"

namespace vt::test {

MessageAnswer FakeMessageService::show(QWidget*, MessageKind kind, const QString& text) {
    shown.push_back({kind, text});
    if (whileShown) whileShown(shown.back());
    if (kind == MessageKind::Information) return MessageAnswer::Ok;
    if (answers_.empty()) return MessageAnswer::Yes;
    const MessageAnswer next = answers_.front();
    answers_.pop_front();
    return next;
}

QStringList FakeMessageService::texts() const {
    QStringList result;
    for (const Shown& s : shown) result << s.text;
    return result;
}

}  // namespace vt::test
