#pragma once

#include "platform/MessageService.h"

namespace vt {

// Message boxes of the desktop, laid out right to left for the Persian texts.
class QtMessageService final : public MessageService {
  public:
    MessageAnswer show(QWidget* parent, MessageKind kind, const QString& text) override;
};

}  // namespace vt
