#pragma once

#include <QTranslator>

namespace vt {

// Qt's own texts (message-box buttons, file dialogs, the context menus of text fields) in Persian, from the
// translations installed with Qt, for as long as this object lives. Without them installed Qt's English
// texts stay.
class QtPersianTexts {
  public:
    QtPersianTexts();
    ~QtPersianTexts();
    QtPersianTexts(const QtPersianTexts&) = delete;
    QtPersianTexts& operator=(const QtPersianTexts&) = delete;

    bool installed() const { return installed_; }

  private:
    // Qt's translations mark a letter of a word as its keyboard shortcut ("&بله"), which is drawn
    // underlined and apart from the letters it joins ("ب له"); these texts come without the marks.
    class WithoutShortcutMarks final : public QTranslator {
      public:
        QString translate(const char* context, const char* sourceText, const char* disambiguation,
                          int n) const override;
    };

    WithoutShortcutMarks translator_;
    bool installed_ = false;
};

}  // namespace vt
