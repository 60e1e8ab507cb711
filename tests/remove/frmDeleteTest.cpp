// The removal window as the user drives it: the list, the details, the question and what gets deleted.
#include <QDir>
#include <QGroupBox>
#include <QLineEdit>
#include <QTest>

#include "RemovalFixture.h"
#include "button/MyButton.h"

namespace vt::test {
namespace {

const QString kAsk = QStringLiteral("آيا مطمئن هستيد ؟");

using RemovalWindow = RemovalFixture;

TEST_F(RemovalWindow, ControlsStandWhereTheFormPutsThemAndTheWindowCanBeSeen) {
    addDisk(QStringLiteral("Music1"), 2);
    openWindow();
    choose(0);

    EXPECT_EQ(form->windowTitle(), QStringLiteral("حذف اطلاعات ديسك"));
    EXPECT_EQ(form->size(), QSize(252, 230));
    EXPECT_EQ(form->Label1(0).text(), QStringLiteral("نام ديسك :"));
    EXPECT_EQ(form->Label1(0).geometry(), QRect(184, 16, 58, 14));
    EXPECT_EQ(form->Combo1().geometry(), QRect(8, 16, 169, 22));
    EXPECT_TRUE(form->Combo1().isEditable());
    EXPECT_EQ(form->Frame1().title(), QStringLiteral("جزئيات"));
    EXPECT_EQ(form->Frame1().geometry(), QRect(8, 40, 233, 137));
    EXPECT_EQ(form->cmdDelete().Caption(), QStringLiteral("حذف"));
    EXPECT_EQ(form->cmdDelete().objectName(), QStringLiteral("cmdDelete"));
    EXPECT_EQ(form->cmdDelete().geometry(), QRect(16, 192, 105, 25));
    EXPECT_EQ(form->cmdCancel().Caption(), QStringLiteral("بستن"));
    EXPECT_EQ(form->cmdCancel().objectName(), QStringLiteral("cmdCancel"));
    EXPECT_EQ(form->cmdCancel().geometry(), QRect(128, 192, 105, 25));

    // Each detail row: the caption at the right and its value label at the same height to its left.
    const struct {
        int caption;
        int value;
        QString text;
        int top;
    } rows[] = {{8, 4, QStringLiteral("بر چسب :"), 32},
                {1, 6, QStringLiteral("حجم :"), 56},
                {2, 7, QStringLiteral("تعداد فايلها :"), 80},
                {3, 5, QStringLiteral("سريال :"), 104}};
    for (const auto& row : rows) {
        SCOPED_TRACE(row.caption);
        const QLabel& caption = form->Label1(row.caption);
        const QLabel& value = form->Label1(row.value);
        EXPECT_EQ(caption.text(), row.text);
        EXPECT_EQ(caption.parentWidget(), &form->Frame1());
        EXPECT_EQ(value.parentWidget(), &form->Frame1());
        EXPECT_EQ(caption.y(), row.top);
        EXPECT_EQ(value.y(), row.top);
        EXPECT_LT(value.geometry().right(), caption.geometry().left());
        EXPECT_LE(caption.geometry().right(), form->Frame1().width());
    }

    const QImage shot = form->grab().toImage();
    ASSERT_FALSE(shot.isNull());
    const QString out = qEnvironmentVariable("VT_TEST_OUTPUT");
    if (!out.isEmpty() && QDir().mkpath(out)) {
        EXPECT_TRUE(shot.save(out + QStringLiteral("/frmDelete.png")));
    }
}

TEST_F(RemovalWindow, ChoosingADiscShowsItsNameSizeCountAndSerialInTheirRows) {
    addDisk(QStringLiteral("Music1"), 2, QStringLiteral("11"), QStringLiteral("1,000 bytes"));
    addDisk(QStringLiteral("Photos"), 3, QStringLiteral("-1887438530"), QStringLiteral("654,311,424 bytes"));
    addDisk(QStringLiteral("Backup"), 1, QStringLiteral("33"), QStringLiteral("3 bytes"));
    openWindow();
    EXPECT_EQ(entries(), QStringList({"Music1", "Photos", "Backup"}));
    EXPECT_EQ(form->ListIndex(), -1);
    EXPECT_TRUE(form->Combo1().currentText().isEmpty());

    choose(1);
    // Value labels 4 to 7 hold fields 0 to 3: name, serial, size text, file count.
    EXPECT_EQ(values(), QStringList({"Photos", "-1887438530", "654,311,424 bytes", "3"}));
    choose(2);
    EXPECT_EQ(values(), QStringList({"Backup", "33", "3 bytes", "1"}));
}

TEST_F(RemovalWindow, TypingInTheComboLeavesNoDiscChosenAndDeleteDoesNothing) {
    addDisk(QStringLiteral("Music1"), 2);
    addDisk(QStringLiteral("Photos"), 3);
    openWindow();
    choose(1);
    ASSERT_EQ(form->Label1(4).text(), QStringLiteral("Photos"));

    QTest::keyClicks(form->Combo1().lineEdit(), QStringLiteral("x"));
    EXPECT_EQ(form->ListIndex(), -1);
    EXPECT_EQ(values(), QStringList({"0", "0", "0", "0"}));
    clickDelete();
    EXPECT_TRUE(platform.messages.shown.empty());

    // Typed text never becomes an entry; Return on a listed name picks that entry, whose own details
    // (and so the name a deletion uses) then show.
    QTest::keyClick(form->Combo1().lineEdit(), Qt::Key_Return);
    EXPECT_EQ(entries(), QStringList({"Music1", "Photos"}));
    EXPECT_EQ(form->ListIndex(), -1);
    form->Combo1().lineEdit()->clear();
    QTest::keyClicks(form->Combo1().lineEdit(), QStringLiteral("Music1"));
    EXPECT_EQ(values(), QStringList({"0", "0", "0", "0"}));
    QTest::keyClick(form->Combo1().lineEdit(), Qt::Key_Return);
    EXPECT_EQ(form->ListIndex(), 0);
    EXPECT_EQ(form->Label1(4).text(), QStringLiteral("Music1"));
    EXPECT_EQ(entries(), QStringList({"Music1", "Photos"}));
}

TEST_F(RemovalWindow, DetailsThatCannotBeReadAreNeverTakenForTheChosenDisc) {
    addDisk(QStringLiteral("0"), 1);
    addDisk(QStringLiteral("Photos"), 3);
    openWindow();
    windowRecordset.Close();
    choose(1);
    EXPECT_EQ(values(), QStringList({"0", "0", "0", "0"}));
    clickDelete();
    EXPECT_TRUE(platform.messages.shown.empty());
    EXPECT_EQ(count(QStringLiteral("SELECT count(*) FROM BankList")), 4);
}

TEST_F(RemovalWindow, NothingIsDeletedWithoutAChoiceOrWhenTheAnswerIsNo) {
    openWindow();  // an empty catalogue
    EXPECT_EQ(form->Combo1().count(), 0);
    EXPECT_EQ(values(), QStringList({"0", "0", "0", "0"}));
    clickDelete();
    EXPECT_TRUE(platform.messages.shown.empty());

    addDisk(QStringLiteral("Music1"), 3);
    openWindow();
    clickDelete();
    EXPECT_TRUE(platform.messages.shown.empty());

    choose(0);
    platform.messages.answer({MessageAnswer::No});
    clickDelete();
    ASSERT_EQ(platform.messages.shown.size(), 1u);
    EXPECT_EQ(platform.messages.shown[0].kind, MessageKind::Question);
    EXPECT_EQ(platform.messages.shown[0].text, kAsk);
    EXPECT_EQ(filesOf(QStringLiteral("Music1")), 3);
    EXPECT_EQ(disksNamed(QStringLiteral("Music1")), 1);
    EXPECT_EQ(entries(), QStringList({"Music1"}));
}

TEST_F(RemovalWindow, DeletingRemovesTheDiscAndItsFilesAndReloadsTheList) {
    addDisk(QStringLiteral("Music1"), 3);
    addDisk(QStringLiteral("Photos"), 2);
    addDisk(QStringLiteral("Empty"), 0);
    openWindow();

    choose(0);
    clickDelete();
    EXPECT_EQ(platform.messages.texts(), QStringList({kAsk}));
    EXPECT_EQ(filesOf(QStringLiteral("Music1")), 0);
    EXPECT_EQ(disksNamed(QStringLiteral("Music1")), 0);
    EXPECT_EQ(entries(), QStringList({"Photos", "Empty"}));
    EXPECT_EQ(form->ListIndex(), -1);
    EXPECT_EQ(values(), QStringList({"0", "0", "0", "0"}));
    // No entry is chosen after a deletion, so the button does nothing until one is.
    clickDelete();
    EXPECT_EQ(platform.messages.shown.size(), 1u);

    choose(1);  // a disc without file rows
    clickDelete();
    EXPECT_EQ(disksNamed(QStringLiteral("Empty")), 0);
    choose(0);
    clickDelete();
    EXPECT_EQ(form->Combo1().count(), 0);
    EXPECT_EQ(count(QStringLiteral("SELECT count(*) FROM Disks")), 0);
    EXPECT_EQ(count(QStringLiteral("SELECT count(*) FROM BankList")), 0);
    EXPECT_EQ(platform.messages.texts(), QStringList({kAsk, kAsk, kAsk}));
}

TEST_F(RemovalWindow, OnlyTheChosenDiscGoesWhateverItsNameHolds) {
    const QStringList names = {QStringLiteral("CD_1"),
                               QStringLiteral("CDx1"),
                               QStringLiteral("CD_10"),
                               QStringLiteral("CD_1 "),
                               QStringLiteral("CD%"),
                               QStringLiteral("CDzz"),
                               QStringLiteral("O'Brien's disc"),
                               QStringLiteral("x') or ('1'='1"),
                               QStringLiteral("ديسك يك")};
    for (int i = 0; i < names.size(); ++i) addDisk(names[i], i + 1);
    openWindow();

    const QStringList doomed = {QStringLiteral("CD_1"), QStringLiteral("CD%"),
                                QStringLiteral("O'Brien's disc"), QStringLiteral("x') or ('1'='1")};
    for (const QString& name : doomed) {
        SCOPED_TRACE(name.toStdString());
        const int index = entries().indexOf(name);
        ASSERT_GE(index, 0);
        choose(index);
        clickDelete();
        EXPECT_EQ(disksNamed(name), 0);
        EXPECT_EQ(filesOf(name), 0);
    }
    for (int i = 0; i < names.size(); ++i) {
        if (doomed.contains(names[i])) continue;
        SCOPED_TRACE(names[i].toStdString());
        EXPECT_EQ(disksNamed(names[i]), 1);
        EXPECT_EQ(filesOf(names[i]), i + 1);
    }
    EXPECT_EQ(form->Combo1().count(), names.size() - doomed.size());
    EXPECT_EQ(platform.messages.shown.size(), size_t(doomed.size()));
}

TEST_F(RemovalWindow, CloseUnloadsTheWindowAndTheNextOpeningReadsTheCatalogueAfresh) {
    addDisk(QStringLiteral("Music1"), 1);
    openWindow();
    QTest::mouseClick(&form->cmdCancel(), Qt::LeftButton);
    EXPECT_FALSE(form->isVisible());

    addDisk(QStringLiteral("Photos"), 1);
    openWindow();  // the same window recordset, still open from the last load
    EXPECT_EQ(entries(), QStringList({"Music1", "Photos"}));
    choose(1);
    EXPECT_EQ(form->Label1(4).text(), QStringLiteral("Photos"));
}

}  // namespace
}  // namespace vt::test
