#include <gtest/gtest.h>

#include <QFile>
#include <QLibraryInfo>
#include <QMessageBox>
#include <QPushButton>

#include "app/QtPersianTexts.h"

namespace vt {
namespace {

QString shownText(QMessageBox& box, QMessageBox::StandardButton which) {
    return box.button(which)->text();
}

TEST(QtPersianTexts, MessageBoxButtonsReadPersianWhileInstalledAndEnglishAfter) {
    if (!QFile::exists(QLibraryInfo::path(QLibraryInfo::TranslationsPath) +
                       QStringLiteral("/qtbase_fa.qm"))) {
        GTEST_SKIP()
            << "Qt's Persian translations (qtbase_fa.qm, Debian qt6-translations-l10n) are not installed";
    }
    {
        const QtPersianTexts texts;
        ASSERT_TRUE(texts.installed());
        // Qt's own words, as its translators wrote them: "بله", "نه", "تأیید", "انصراف"; without the mark of
        // a shortcut letter, which would be drawn apart from the letters it joins.
        QMessageBox box;
        box.setStandardButtons(QMessageBox::Yes | QMessageBox::No | QMessageBox::Ok | QMessageBox::Cancel);
        EXPECT_EQ(shownText(box, QMessageBox::Yes), QString::fromUtf16(u"\u0628\u0644\u0647"));
        EXPECT_EQ(shownText(box, QMessageBox::No), QString::fromUtf16(u"\u0646\u0647"));
        EXPECT_EQ(shownText(box, QMessageBox::Ok), QString::fromUtf16(u"\u062A\u0623\u06CC\u06CC\u062F"));
        EXPECT_EQ(shownText(box, QMessageBox::Cancel),
                  QString::fromUtf16(u"\u0627\u0646\u0635\u0631\u0627\u0641"));
    }
    QMessageBox box;
    box.setStandardButtons(QMessageBox::Yes);
    EXPECT_EQ(shownText(box, QMessageBox::Yes), QStringLiteral("&Yes"));
}

}  // namespace
}  // namespace vt
