// Properties of MyButton: new-instance values, what each assignment marks, design-time couplings,
// font parts, pointers and access keys.
#include <gtest/gtest.h>

#include <QSignalSpy>

#include "button/MyButton.h"
#include "button/paint/OverflowError.h"
#include "support/FakeButtonHost.h"

namespace vt::test {
namespace {

using namespace vt::button;

class ControlProperties : public ::testing::Test {
  protected:
    ControlProperties() {
        host->displayName = QStringLiteral("Command1");
        host->ambientFont = QFont(QStringLiteral("DejaVu Sans"), 11);
        form.resize(200, 100);
        button = new MyButton(&form, host);
        button->setGeometry(10, 10, 80, 24);
        form.show();
    }
    QStringList marksOf(const std::function<void()>& assign) {
        QSignalSpy spy(button, &MyButton::propertyChanged);
        assign();
        QStringList marks;
        for (const auto& args : spy) marks << args.at(0).toString();
        return marks;
    }
    static PictureRef bitmap(int w, int h) {
        auto p = std::make_shared<Picture>();
        p->image = QImage(w, h, QImage::Format_RGB32);
        p->image.fill(Qt::red);
        return p;
    }

    std::shared_ptr<FakeButtonHost> host = std::make_shared<FakeButtonHost>();
    QWidget form;
    MyButton* button;
};

TEST_F(ControlProperties, NewInstanceTakesAmbientValuesAndSystemColoursAsRgb) {
    EXPECT_EQ(button->Caption(), QStringLiteral("Command1"));
    EXPECT_EQ(button->Font().pointSize(), 11);
    EXPECT_EQ(button->ButtonType(), Standard3D);
    EXPECT_EQ(button->ColorScheme(), vt::button::SystemColors);
    // The RGB of system colours 15 and 18, never the system colour numbers themselves.
    EXPECT_EQ(button->BackColor(), 0xC8D0D4);
    EXPECT_EQ(button->BackOver(), 0xC8D0D4);
    EXPECT_EQ(button->ForeColor(), 0x000000);
    EXPECT_EQ(button->ForeOver(), 0x000000);
    EXPECT_EQ(button->MaskColor(), 0xC0C0C0);
    EXPECT_TRUE(button->Enabled() && button->ShowFocusRect() && button->UseMaskColor());
    EXPECT_EQ(button->MousePointer(), 0);
    EXPECT_EQ(button->Version(), QStringLiteral("2.0.6"));
}

TEST_F(ControlProperties, NewInstanceCaptionGivesNoAccessKeyUntilAssigned) {
    host->displayName = QStringLiteral("&Go");
    MyButton fresh(nullptr, host);
    EXPECT_EQ(fresh.Caption(), QStringLiteral("&Go"));
    EXPECT_TRUE(fresh.AccessKeys().isEmpty());
    fresh.setCaption(QStringLiteral("&Go"));
    EXPECT_EQ(fresh.AccessKeys(), QStringLiteral("g"));
}

TEST_F(ControlProperties, EachAssignmentMarksItsKey) {
    const auto pic = bitmap(16, 16);
    EXPECT_EQ(marksOf([&] { button->setButtonType(7); }), QStringList{"BTYPE"});
    EXPECT_EQ(marksOf([&] { button->setCaption("x"); }), QStringList{"TX"});
    EXPECT_EQ(marksOf([&] { button->setEnabled(false); }), QStringList{"ENAB"});
    EXPECT_EQ(marksOf([&] { button->setFont(QFont("DejaVu Serif", 8)); }), QStringList{"FONT"});
    EXPECT_EQ(marksOf([&] { button->setColorScheme(3); }), QStringList{"COLTYPE"});
    EXPECT_EQ(marksOf([&] { button->setShowFocusRect(false); }), QStringList{"FOCUSR"});
    EXPECT_EQ(marksOf([&] { button->setBackColor(1); }), QStringList{"BCOL"});
    EXPECT_EQ(marksOf([&] { button->setBackOver(2); }), QStringList{"BCOLO"});
    EXPECT_EQ(marksOf([&] { button->setForeColor(3); }), QStringList{"FCOL"});
    EXPECT_EQ(marksOf([&] { button->setForeOver(4); }), QStringList{"FCOLO"});
    EXPECT_EQ(marksOf([&] { button->setMaskColor(5); }), QStringList{"MCOL"});
    EXPECT_EQ(marksOf([&] { button->setMousePointer(2); }), QStringList{"MPTR"});
    EXPECT_EQ(marksOf([&] { button->setMouseIcon(pic); }), QStringList{"MICON"});
    EXPECT_EQ(marksOf([&] { button->setPictureNormal(pic); }), QStringList{"PICN"});
    EXPECT_EQ(marksOf([&] { button->setPictureOver(pic); }), QStringList{"PICO"});
    EXPECT_EQ(marksOf([&] { button->setUseMaskColor(false); }), QStringList{"UMCOL"});
    EXPECT_EQ(marksOf([&] { button->setSoftBevel(true); }), QStringList{"SOFT"});
    EXPECT_EQ(marksOf([&] { button->setPicturePosition(2); }), QStringList{"PICPOS"});
    EXPECT_EQ(marksOf([&] { button->setUseGreyscale(true); }), QStringList{"NGREY"});
    EXPECT_EQ(marksOf([&] { button->setSpecialEffect(1); }), QStringList{"FX"});
    EXPECT_EQ(marksOf([&] { button->setHandPointer(true); }), QStringList{"HAND"});
    EXPECT_EQ(marksOf([&] { button->setCheckBoxBehaviour(true); }), QStringList{"CHECK"});
    EXPECT_EQ(marksOf([&] { button->setValue(true); }), QStringList{"VALUE"});
}

TEST_F(ControlProperties, FontPartsRepaintWithoutMark) {
    const auto drawn = button->drawCount();
    EXPECT_TRUE(marksOf([&] {
                    button->setFontBold(true);
                    button->setFontItalic(true);
                    button->setFontUnderline(true);
                    button->setFontSize(12);
                    button->setFontName("DejaVu Serif");
                }).isEmpty());
    EXPECT_EQ(button->drawCount(), drawn + 5);
    EXPECT_TRUE(button->FontBold());
    EXPECT_TRUE(button->FontItalic());
    EXPECT_TRUE(button->FontUnderline());
    EXPECT_EQ(button->FontSize(), 12);
    EXPECT_EQ(button->FontName(), QStringLiteral("DejaVu Serif"));
    EXPECT_EQ(button->font(), button->Font()) << "the window's font follows the property";
}

TEST_F(ControlProperties, FontSizeRoundsHalvesToEvenAndWritesWholePoints) {
    const std::pair<double, int> cases[] = {{8.25, 8}, {10.5, 10}, {9.5, 10}, {11.5, 12}, {8.75, 9}};
    for (const auto& [points, expected] : cases) {
        QFont font(QStringLiteral("DejaVu Sans"));
        font.setPointSizeF(points);
        button->setFont(font);
        EXPECT_EQ(button->FontSize(), expected) << points;
    }
    button->setFontSize(9);
    EXPECT_DOUBLE_EQ(button->Font().pointSizeF(), 9.0);
}

TEST_F(ControlProperties, CouplingsHoldInDesignModeOnly) {
    button->setBackOver(0x0000FF);
    button->setForeOver(0x00FF00);
    button->setBackColor(0x112233);
    button->setForeColor(0x445566);
    button->setButtonType(FlatFramed);
    EXPECT_EQ(button->BackOver(), 0x0000FF);
    EXPECT_EQ(button->ForeOver(), 0x00FF00);
    EXPECT_FALSE(button->FontBold());

    host->userMode = false;
    button->setBackColor(0x112233);
    button->setForeColor(0x445566);
    button->setButtonType(FlatFramed);
    EXPECT_EQ(button->BackOver(), 0x112233);
    EXPECT_EQ(button->ForeOver(), 0x445566);
    EXPECT_TRUE(button->FontBold());
}

TEST_F(ControlProperties, PointerCodesGiveQtShapesAndOverflowChangesNothing) {
    button->setMousePointer(2);
    EXPECT_EQ(button->cursor().shape(), Qt::CrossCursor);
    button->setMousePointer(11);
    EXPECT_EQ(button->cursor().shape(), Qt::WaitCursor);
    button->setMousePointer(0);
    EXPECT_FALSE(button->testAttribute(Qt::WA_SetCursor)) << "0 is the container's own pointer";
    button->setMousePointer(12);

    QSignalSpy marks(button, &MyButton::propertyChanged);
    EXPECT_THROW(button->setMousePointer(40000), OverflowError);
    EXPECT_THROW(button->setMousePointer(-32769), OverflowError);
    EXPECT_EQ(button->MousePointer(), 12);
    EXPECT_EQ(button->cursor().shape(), Qt::ForbiddenCursor);
    EXPECT_EQ(marks.count(), 0);
    button->setMousePointer(-32768);
    EXPECT_EQ(button->MousePointer(), -32768);
}

TEST_F(ControlProperties, CustomPointerUsesMouseIcon) {
    button->setMouseIcon(bitmap(32, 32));
    button->setMousePointer(99);
    EXPECT_EQ(button->cursor().shape(), Qt::BitmapCursor);
    EXPECT_EQ(button->cursor().pixmap().size(), QSize(32, 32));
}

TEST_F(ControlProperties, HandPointerUsesTheDesktopHandAndFalseGivesTheArrow) {
    button->setMouseIcon(bitmap(16, 16));
    button->setHandPointer(true);
    EXPECT_TRUE(button->HandPointer());
    EXPECT_EQ(button->MousePointer(), 99);
    EXPECT_EQ(button->cursor().shape(), Qt::PointingHandCursor);
    button->setHandPointer(false);
    EXPECT_EQ(button->MousePointer(), 1);
    EXPECT_FALSE(button->MouseIcon());
    EXPECT_EQ(button->cursor().shape(), Qt::ArrowCursor);
}

TEST_F(ControlProperties, ValueShowsOnlyOnceTheButtonIsACheckBox) {
    const auto drawn = button->drawCount();
    button->setValue(true);
    EXPECT_EQ(button->drawCount(), drawn) << "Value alone changes nothing on screen";
    EXPECT_EQ(button->state().LastState, StateUp);
    button->setCheckBoxBehaviour(true);
    EXPECT_EQ(button->state().LastState, StateDown) << "the pressed look of a checked check box";
}

TEST_F(ControlProperties, AccessKeysFollowTheFirstAmpersands) {
    const std::pair<const char*, const char*> cases[] = {
        {"&Save", "s"}, {"Save && &Exit", "e"}, {"A&&B", ""},   {"Tom & Jerry", " "}, {"X&", ""},
        {"&", ""},      {"A&&B&&C&D", ""},      {"&&", ""},     {"a&&b&", ""},        {"", ""},
        {"No key", ""}, {"&&&x", "x"},          {"x&&y&Z", "z"}};
    for (const auto& [caption, key] : cases) {
        button->setCaption(QString::fromUtf8(caption));
        EXPECT_EQ(button->AccessKeys(), QString::fromUtf8(key)) << caption;
    }
    button->setCaption(QStringLiteral("&شروع"));
    EXPECT_EQ(button->AccessKeys(), QStringLiteral("ش")) << "characters without case stay as they are";
}

}  // namespace
}  // namespace vt::test
