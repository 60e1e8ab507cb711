#include "app/QtPersianTexts.h"

#include <QCoreApplication>
#include <QLibraryInfo>

namespace vt {

QtPersianTexts::QtPersianTexts() {
    installed_ =
        translator_.load(QStringLiteral("qtbase_fa"), QLibraryInfo::path(QLibraryInfo::TranslationsPath)) &&
        QCoreApplication::installTranslator(&translator_);
}

QtPersianTexts::~QtPersianTexts() {
    if (installed_) QCoreApplication::removeTranslator(&translator_);
}

QString QtPersianTexts::WithoutShortcutMarks::translate(const char* context, const char* sourceText,
                                                        const char* disambiguation, int n) const {
    const QString text = QTranslator::translate(context, sourceText, disambiguation, n);
    if (!text.contains(QLatin1Char('&'))) return text;
    QString shown;
    shown.reserve(text.size());
    for (qsizetype i = 0; i < text.size(); ++i) {
        // "&&" is a plain ampersand; a single one marks the next letter.
        if (text[i] == QLatin1Char('&') && ++i == text.size()) break;
        shown += text[i];
    }
    return shown;
}

}  // namespace vt
