#pragma once

#include <QString>

class QWidget;

namespace vt {

// The three kinds of message box the program shows. Every box is titled "Vellumtrove".
enum class MessageKind {
    Information,  // information icon, OK button
    Question,     // question icon, Yes and No buttons
    YesNoPlain,   // Yes and No buttons, no icon
};

enum class MessageAnswer { Ok, Yes, No };

// Every message the program shows to the user goes through this service, so that tests can
// read the exact texts and script the answers.
class MessageService {
  public:
    virtual ~MessageService() = default;

    // Shows a modal box over `parent` (may be null) and returns the user's answer.
    virtual MessageAnswer show(QWidget* parent, MessageKind kind, const QString& text) = 0;

    void information(QWidget* parent, const QString& text) { show(parent, MessageKind::Information, text); }
    bool askQuestion(QWidget* parent, const QString& text) {
        return show(parent, MessageKind::Question, text) == MessageAnswer::Yes;
    }
    bool askYesNo(QWidget* parent, const QString& text) {
        return show(parent, MessageKind::YesNoPlain, text) == MessageAnswer::Yes;
    }
};

}  // namespace vt
