#pragma once

#include <QStringList>
#include <deque>
#include <functional>
#include <vector>

#include "platform/MessageService.h"

namespace vt::test {

// Records every message and answers questions from a script (Yes when the script is empty).
class FakeMessageService final : public MessageService {
  public:
    struct Shown {
        MessageKind kind;
        QString text;
    };

    MessageAnswer show(QWidget* parent, MessageKind kind, const QString& text) override;

    // Queues the answers to the next questions, in order.
    void answer(std::initializer_list<MessageAnswer> answers) { answers_.insert(answers_.end(), answers); }
    // Runs while a message is "open", before it is answered (to act as the user would meanwhile).
    std::function<void(const Shown&)> whileShown;

    std::vector<Shown> shown;
    QStringList texts() const;
    void clear() { shown.clear(); }

  private:
    std::deque<MessageAnswer> answers_;
};

}  // namespace vt::test
