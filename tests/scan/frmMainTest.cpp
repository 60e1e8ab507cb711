#include <QComboBox>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QLocale>
#include <QMenu>

#include "ScanFixture.h"
#include "button/MyButton.h"
#include "scan/ScanTexts.h"
#include "search/LeftToRight.h"

namespace vt::test {
namespace {

class frmMainTest : public ScanFixture {
  protected:
    void SetUp() override {
        ScanFixture::SetUp();
        QLocale::setDefault(QLocale(QLocale::English, QLocale::UnitedStates));
    }
    void TearDown() override { QLocale::setDefault(QLocale::system()); }
    QStringList entries() const {
        QStringList result;
        for (int i = 0; i < form->Combo1()->count(); ++i) result << form->Combo1()->itemText(i);
        return result;
    }
};

TEST_F(frmMainTest, ListsOpticalDrivesAToPInLetterOrderAndShowsTheFirst) {
    addDrive(QLatin1Char('E'), disc.path(), 700000000, 0x80000000u);
    addDrive(QLatin1Char('C'), disc.path(), 5, 1, 3);  // a hard disk
    addDrive(QLatin1Char('G'), disc.path(), 5, 1, 2);  // removable
    addDrive(QLatin1Char('Q'), disc.path(), 5, 1);     // optical, but past P
    openWindow();
    EXPECT_EQ(entries(), (QStringList{QStringLiteral("D:\\"), QStringLiteral("E:\\")}));
    EXPECT_EQ(form->Combo1()->currentIndex(), 0);
    EXPECT_EQ(form->Combo1()->itemData(0, Qt::ToolTipRole).toString(), leftToRight(disc.path()));
    EXPECT_EQ(form->Combo1()->toolTip(), leftToRight(disc.path()));
    EXPECT_EQ(form->Label1(4)->text(), QStringLiteral("654,311,424 bytes"));
    EXPECT_EQ(form->Label1(5)->text(), QStringLiteral("LABEL_D"));
    EXPECT_EQ(form->Label1(6)->text(), QStringLiteral("CDFS"));
    EXPECT_EQ(form->Label1(7)->text(), QStringLiteral("305419896"));

    form->Combo1()->setCurrentIndex(1);
    emit form->Combo1()->activated(1);
    EXPECT_EQ(form->Label1(4)->text(), QStringLiteral("700,000,000 bytes"));
    EXPECT_EQ(form->Label1(7)->text(), QStringLiteral("-2147483648"));
}

TEST_F(frmMainTest, ControlsStandAtTheirDesignPlacesWithTheirCaptionsAndFonts) {
    openWindow();
    EXPECT_EQ(form->windowTitle(), ScanTexts::windowCaption());
    EXPECT_EQ(form->size(), QSize(318, 248));
    EXPECT_EQ(form->Combo1()->geometry(), QRect(8, 8, 233, 22));
    EXPECT_EQ(form->Text3()->text(), QStringLiteral("NewDisk1"));
    EXPECT_EQ(form->Text3()->geometry(), QRect(8, 40, 233, 25));
    EXPECT_EQ(form->Label3()->text(), ScanTexts::label3());
    EXPECT_EQ(form->Label4()->text(), ScanTexts::label4());
    for (QLabel* caption : {form->Label3(), form->Label4()}) {
        // The box runs past the window's edge; the text must start at its left edge to stay in view.
        EXPECT_EQ(caption->alignment() & (Qt::AlignHorizontal_Mask | Qt::AlignAbsolute),
                  Qt::AlignLeft | Qt::AlignAbsolute);
        EXPECT_LE(caption->x() + caption->fontMetrics().horizontalAdvance(caption->text()), form->width());
    }
    EXPECT_EQ(form->Frame1()->title(), ScanTexts::frame1());
    EXPECT_EQ(form->Frame1()->geometry(), QRect(8, 72, 305, 137));
    EXPECT_EQ(form->cmdStart()->Caption(), ScanTexts::cmdStart());
    EXPECT_EQ(form->cmdStart()->objectName(), QStringLiteral("cmdStart"));
    EXPECT_EQ(form->cmdStart()->geometry(), QRect(8, 216, 305, 25));
    const QStringList captions = {ScanTexts::labelVolume(), ScanTexts::labelSize(), ScanTexts::labelFormat(),
                                  ScanTexts::labelSerial()};
    for (int i = 0; i < 4; ++i) {
        EXPECT_EQ(form->Label1(i)->text(), captions[i]);
        EXPECT_EQ(form->Label1(i)->geometry(), QRect(208, 32 + 24 * i, 81, 17));
    }
    EXPECT_EQ(form->Label1(5)->geometry(), QRect(16, 32, 185, 17));
    EXPECT_EQ(form->Label1(7)->geometry(), QRect(16, 104, 185, 17));
    for (int i = 0; i < 8; ++i) EXPECT_DOUBLE_EQ(form->Label1(i)->font().pointSizeF(), 9.75);
    EXPECT_DOUBLE_EQ(form->Label3()->font().pointSizeF(), 9.0);

    EXPECT_FALSE(form->BusyForm()->isVisible());
    EXPECT_EQ(form->BusyForm()->geometry(), QRect(8, 40, 305, 201));
    EXPECT_EQ(form->Label2(0)->text(), ScanTexts::busyWorking());
    EXPECT_EQ(form->Label2(1)->text(), ScanTexts::busyPleaseWait());
    EXPECT_EQ(form->Label2(1)->geometry(), QRect(16, 88, 257, 25));
    EXPECT_EQ(form->lblCount()->text(), QStringLiteral("0"));
    EXPECT_EQ(form->lblCount()->geometry(), QRect(96, 136, 121, 33));
    EXPECT_DOUBLE_EQ(form->lblCount()->font().pointSizeF(), 14.25);
    EXPECT_EQ(form->BusyForm()->palette().color(QPalette::Window), QColor(179, 188, 193));
}

TEST_F(frmMainTest, OnlyTheVolumeLabelOpensTheMenuAndCopyTakesItsExactText) {
    openWindow();
    form->Label1_Click(4);
    EXPECT_FALSE(form->mnuSys()->isVisible());
    form->Label1_Click(0);
    EXPECT_FALSE(form->mnuSys()->isVisible());
    form->Label1_Click(5);
    EXPECT_TRUE(form->mnuSys()->isVisible());
    EXPECT_EQ(form->mnuSys()->title(), QStringLiteral("Sys"));
    EXPECT_EQ(form->mnuCopy()->text(), QStringLiteral("Copy"));
    form->mnuSys()->hide();
    form->mnuCopy()->trigger();
    EXPECT_EQ(platform.shell.clipboard, QStringLiteral("LABEL_D"));
}

TEST_F(frmMainTest, WithoutAnOpticalDriveNothingIsChosenAndStartRefuses) {
    platform.drives.remove(QLatin1Char('D'));
    addDrive(QLatin1Char('C'), disc.path(), 5000, 1, 3);  // a hard disk with files on it
    write(QStringLiteral("system.dat"));
    openWindow();
    EXPECT_EQ(form->Combo1()->count(), 0);
    EXPECT_EQ(form->Label1(4)->text(), QStringLiteral("0"));
    start();
    EXPECT_EQ(platform.messages.texts(), QStringList{ScanTexts::noDisc()});
    EXPECT_EQ(context.rsDisks.State(), 0);
    EXPECT_TRUE(platform.fileSystem.listed.empty()) << "no drive may be walked in place of a missing one";
    EXPECT_TRUE(files().empty());
}

}  // namespace
}  // namespace vt::test
