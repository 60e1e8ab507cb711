// Where the search window's controls stand and what they say; saves a picture of it with results.
#include <QCoreApplication>
#include <QDir>
#include <QHeaderView>
#include <QLabel>

#include "FindWindowFixture.h"
#include "button/MyButton.h"

namespace vt::test {
namespace {

using FindLayout = FindWindowFixture;

TEST_F(FindLayout, ControlsStandWhereTheFormPutsThemWithTheirCaptions) {
    addDisk(QStringLiteral("Music1"));
    addDisk(QStringLiteral("آرشيو 1385"));
    addFile(QStringLiteral("Music1"), QStringLiteral("D:\\Music\\Shajarian\\Bidad\\01 - Bidad.mp3"),
            8421376.0);
    addFile(QStringLiteral("آرشيو 1385"), QStringLiteral("E:\\موسيقي\\ترانه هاي شيراز\\سفر نوروز.mp3"),
            4200000.0);
    addFile(QStringLiteral("آرشيو 1385"), QStringLiteral("E:\\Videos\\Backup.mp3.iso"), 5368709120.0);
    loadWindow();
    search(QStringLiteral("mp3"));
    listView1().topLevelItem(1)->setSelected(true);

    EXPECT_EQ(window->windowTitle(), QStringLiteral("پويشگر"));
    EXPECT_EQ(window->size(), QSize(641, 268));
    const struct {
        const char* name;
        QString caption;
        QRect rect;
    } labels[] = {{"Label1_0", QStringLiteral("مورد جستجو :"), QRect(520, 8, 81, 17)},
                  {"Label1_1", QStringLiteral("جستجو در ديسك :"), QRect(520, 40, 96, 14)},
                  {"Label1_2", QStringLiteral("موارد مطابق :"), QRect(552, 72, 81, 17)}};
    for (const auto& l : labels) {
        SCOPED_TRACE(l.name);
        auto* label = window->findChild<QLabel*>(QLatin1String(l.name));
        ASSERT_NE(label, nullptr);
        EXPECT_EQ(label->text(), l.caption);
        EXPECT_EQ(label->geometry(), l.rect);
        EXPECT_TRUE(label->alignment() & Qt::AlignRight);
        EXPECT_TRUE(label->alignment() & Qt::AlignAbsolute);
        EXPECT_EQ(label->layoutDirection(), Qt::RightToLeft);
    }
    EXPECT_EQ(text1().geometry(), QRect(128, 8, 385, 25));
    EXPECT_EQ(combo1().geometry(), QRect(128, 40, 385, 22));

    const struct {
        const char* name;
        QString caption;
        QRect rect;
    } buttons[] = {{"cmdDelete", QStringLiteral("جستجو"), QRect(8, 8, 105, 25)},
                   {"cmdCancel", QStringLiteral("بستن"), QRect(8, 40, 105, 25)}};
    for (const auto& b : buttons) {
        SCOPED_TRACE(b.name);
        auto* button = window->findChild<MyButton*>(QLatin1String(b.name));
        ASSERT_NE(button, nullptr);
        EXPECT_EQ(button->Caption(), b.caption);
        EXPECT_EQ(button->geometry(), b.rect);
    }

    QTreeWidget& list = listView1();
    EXPECT_EQ(list.geometry(), QRect(8, 88, 625, 169));
    EXPECT_EQ(list.layoutDirection(), Qt::LeftToRight);
    const QTreeWidgetItem* header = list.headerItem();
    ASSERT_EQ(list.columnCount(), 3);
    EXPECT_EQ(header->text(0), QStringLiteral("Address"));
    EXPECT_EQ(header->text(1), QStringLiteral("DiskName"));
    EXPECT_EQ(header->text(2), QStringLiteral("Size"));
    EXPECT_EQ(list.header()->sectionSize(0), 389);
    EXPECT_EQ(list.header()->sectionSize(1), 96);

    window->show();
    QCoreApplication::processEvents();
    // The last column fills the rest of the list, so that ten-digit sizes stay whole.
    EXPECT_EQ(list.header()->sectionSize(2), list.viewport()->width() - 389 - 96);
    EXPECT_GE(list.header()->sectionSize(2),
              list.fontMetrics().horizontalAdvance(QStringLiteral("5368709120")));
    const QImage shot = window->grab().toImage();
    ASSERT_FALSE(shot.isNull());
    const QString out = qEnvironmentVariable("VT_TEST_OUTPUT");
    if (!out.isEmpty() && QDir().mkpath(out)) {
        EXPECT_TRUE(shot.save(out + QStringLiteral("/frmFind.png")));
    }
}

}  // namespace
}  // namespace vt::test
