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

}  // namespace vt
