// The program's buttons in their windows: each gets its stored look from the form files, saving them
// back reproduces the stored files, and the toolbar shows its hover box.
#include <gtest/gtest.h>

#include <QFile>
#include <QTemporaryDir>
#include <QTest>

#include "app/MDIForm1.h"
#include "app/Startup.h"
#include "app/WindowRegistry.h"
#include "app/frmAbout.h"
#include "button/MyButton.h"
#include "remove/frmDelete.h"
#include "scan/frmMain.h"
#include "search/frmFind.h"
#include "support/TestPlatform.h"
#include "window/AppContext.h"
#include "window/ButtonForms.h"

namespace vt::test {
namespace {

using namespace vt::button;

struct StoredLook {
    const char* instance;
    QString caption;
    std::int32_t type;
    ColorValue back;
    ColorValue over;
    ColorValue mask;
    bool picture;
    std::int32_t position;
};

class ControlWindows : public ::testing::Test {
  protected:
    void SetUp() override {
        frame = startUp(context);
        ASSERT_NE(frame, nullptr);
    }

    static void expectLook(QWidget& form, const StoredLook& look) {
        auto* button = form.findChild<MyButton*>(QLatin1String(look.instance));
        ASSERT_NE(button, nullptr) << look.instance;
        SCOPED_TRACE(look.instance);
        EXPECT_EQ(button->Caption(), look.caption);
        EXPECT_EQ(button->ButtonType(), look.type);
        EXPECT_EQ(button->ColorScheme(), CustomColors);
        EXPECT_EQ(button->BackColor(), look.back);
        EXPECT_EQ(button->BackOver(), look.over);
        EXPECT_EQ(button->ForeColor(), 0);
        EXPECT_EQ(button->ForeOver(), 0);
        EXPECT_EQ(button->MaskColor(), look.mask);
        EXPECT_EQ(button->PicturePosition(), look.position);
        EXPECT_TRUE(button->Enabled() && button->ShowFocusRect() && button->UseMaskColor());
        EXPECT_FALSE(button->SoftBevel() || button->UseGreyscale() || button->HandPointer() ||
                     button->CheckBoxBehaviour() || button->Value());
        EXPECT_EQ(button->SpecialEffect(), EffectNone);
        EXPECT_EQ(button->MousePointer(), 1);
        EXPECT_EQ(button->cursor().shape(), Qt::ArrowCursor);
        EXPECT_FALSE(button->PictureOver());
        EXPECT_EQ(bool(button->PictureNormal()), look.picture);
        if (button->PictureNormal()) {
            const QImage& image = button->PictureNormal()->image;
            EXPECT_EQ(image.size(), QSize(16, 16));
            EXPECT_EQ(button->PictureNormal()->type, Picture::Bitmap);
            EXPECT_EQ(image.pixel(0, 0), qRgb(255, 0, 255)) << "drawn on magenta";
        }
    }

    // Saves the window's buttons in the stored file's order and compares text and pictures.
    void expectRoundTrip(QWidget& form) {
        const QString name = formNameOf(form);
        SCOPED_TRACE(name.toStdString());
        QFile storedText(storedFormPath(name));
        ASSERT_TRUE(storedText.open(QIODevice::ReadOnly));
        const QByteArray stored = storedText.readAll();
        FormFile storedForm = FormFile::parse(stored, storedFormPath(name));
        QStringList instances;
        for (const FormSection* section : storedForm.sections()) instances << section->instance();

        QTemporaryDir dir;
        saveButtons(form, instances).save(dir.path());
        QFile savedText(dir.filePath(name + ".vtform"));
        ASSERT_TRUE(savedText.open(QIODevice::ReadOnly));
        EXPECT_EQ(savedText.readAll(), stored);
        for (const FormSection* section : storedForm.sections()) {
            const QString picture = name + "." + section->instance() + ".PICN.bmp";
            if (!QFile::exists(":/forms/" + picture)) continue;
            QFile saved(dir.filePath(picture)), original(":/forms/" + picture);
            ASSERT_TRUE(saved.open(QIODevice::ReadOnly) && original.open(QIODevice::ReadOnly));
            EXPECT_EQ(saved.readAll(), original.readAll()) << picture.toStdString();
        }
    }

    TestPlatform fake;
    AppContext context{fake.platform()};
    std::unique_ptr<MDIForm1> frame;
};

const QString kNewDisk = QStringLiteral("ديسك جديد");
const QString kRemoveDisk = QStringLiteral("حذف ديسك");
const QString kSearch = QStringLiteral("جستجو");
const QString kSettings = QStringLiteral("تنظيمات");
const QString kAbout = QStringLiteral("درباره");
const QString kClose = QStringLiteral("بستن");
const QString kDelete = QStringLiteral("حذف");

TEST_F(ControlWindows, ToolbarButtonsCarryTheirStoredLook) {
    for (const StoredLook& look :
         {StoredLook{"cmdAddnew", kNewDisk, 9, 0xD8D7CB, 0xC0E0FF, 0xFF00FF, true, 0},
          StoredLook{"cmdRemDisk", kRemoveDisk, 9, 0xD8D7CB, 0xC0E0FF, 0xFF00FF, true, 0},
          StoredLook{"cmdFind", kSearch, 9, 0xD8D7CB, 0xC0E0FF, 0xFF00FF, true, 0},
          StoredLook{"cmdSetting", kSettings, 9, 0xD8D7CB, 0xC0E0FF, 0xFF00FF, true, 0},
          StoredLook{"cmdAbout", kAbout, 9, 0xD8D7CB, 0xC0E0FF, 0xFF00FF, true, 0}})
        expectLook(*frame, look);
    expectRoundTrip(*frame);
}

TEST_F(ControlWindows, WorkWindowButtonsCarryTheirStoredLook) {
    frmMain* main = frame->windows().mainWindow();
    ASSERT_NE(main, nullptr);
    expectLook(*main, {"cmdStart", QStringLiteral("شروع"), 9, 0xC1BCB3, 0xC0E0FF, 0xFF00FF, true, 1});
    expectRoundTrip(*main);

    frmFind& find = frame->windows().showFind();
    expectLook(find, {"cmdDelete", kSearch, 7, 0xC1BCB3, 0xC1BCB3, 0xFF00FF, true, 0});
    expectLook(find, {"cmdCancel", kClose, 7, 0xC1BCB3, 0xC1BCB3, 0xC0C0C0, false, 0});
    expectRoundTrip(find);

    frmDelete& remove = frame->windows().showDelete();
    expectLook(remove, {"cmdDelete", kDelete, 7, 0xC1BCB3, 0xC1BCB3, 0xC0C0C0, false, 0});
    expectLook(remove, {"cmdCancel", kClose, 7, 0xC1BCB3, 0xC1BCB3, 0xC0C0C0, false, 0});
    expectRoundTrip(remove);

    frmAbout& about = frame->windows().showAbout(frame.get());
    expectLook(about, {"cmdDelete", kClose, 7, 0xC1BCB3, 0xC1BCB3, 0xC0C0C0, false, 0});
    expectRoundTrip(about);
    about.close();
}

TEST_F(ControlWindows, ToolbarButtonTurnsIntoTheLightOrangeBoxUnderThePointer) {
    ASSERT_TRUE(QTest::qWaitForWindowExposed(frame.get()));
    MyButton* find = frame->cmdFind();
    QCursor::setPos(find->mapToGlobal(QPoint(60, 12)));
    QCoreApplication::processEvents();
    ASSERT_TRUE(find->state().MouseIsOver);
    EXPECT_EQ(find->surface().pixel(60, 3), qRgb(255, 224, 192)) << "the hover colour BackOver fills the box";
    EXPECT_EQ(find->surface().pixel(0, 10), qRgb(127, 96, 64)) << "framed in the selection colour";
    QCursor::setPos(frame->mapToGlobal(QPoint(frame->width() - 5, frame->height() - 5)));
    QTRY_VERIFY(!find->state().MouseIsOver);
    EXPECT_EQ(find->surface().pixel(60, 3), qRgb(203, 215, 216)) << "flat in the window colour at rest";
    EXPECT_TRUE(fake.messages.shown.empty());
}

}  // namespace
}  // namespace vt::test
