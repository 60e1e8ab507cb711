// MyButton driven by real Qt input under the offscreen platform: the events a form sees for each
// gesture, the looks on the way, hover by the pointer's position, keys, access keys and repaint control.
#include <gtest/gtest.h>

#include <QScreen>
#include <QTest>

#include "button/MyButton.h"
#include "support/FakeButtonHost.h"

namespace vt::test {
namespace {

using namespace vt::button;

class ControlEvents : public ::testing::Test {
  protected:
    void SetUp() override {
        window.setGeometry(100, 100, 330, 120);
        window.setAutoFillBackground(true);
        QPalette palette = window.palette();
        palette.setColor(QPalette::Window, QColor(10, 200, 30));
        window.setPalette(palette);
        A = addButton("A", QRect(10, 10, 90, 30));
        B = addButton("B", QRect(120, 10, 90, 30));
        C = addButton("C", QRect(230, 10, 90, 30));
        window.show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(&window));
        window.activateWindow();
        ASSERT_TRUE(QTest::qWaitForWindowActive(&window));
        park();
        log.clear();
    }

    MyButton* addButton(const char* name, const QRect& geometry) {
        auto* button = new MyButton(&window, host);
        button->setObjectName(QLatin1String(name));
        button->setCaption(QLatin1String(name));
        button->setGeometry(geometry);
        const QString who = QLatin1String(name) + QLatin1Char(' ');
        auto mouse = [this, who](const char* event) {
            return [this, who, event](qint16& b, qint16& s, float& x, float& y) {
                log << who + QStringLiteral("%1 %2 %3 %4 %5")
                                 .arg(QLatin1String(event))
                                 .arg(b)
                                 .arg(s)
                                 .arg(x)
                                 .arg(y);
            };
        };
        QObject::connect(button, &MyButton::MouseDown, &window, mouse("MouseDown"));
        QObject::connect(button, &MyButton::MouseMove, &window, mouse("MouseMove"));
        QObject::connect(button, &MyButton::MouseUp, &window, mouse("MouseUp"));
        QObject::connect(button, &MyButton::Click, &window, [this, who] { log << who + "Click"; });
        QObject::connect(button, &MyButton::MouseOver, &window, [this, who] { log << who + "MouseOver"; });
        QObject::connect(button, &MyButton::MouseOut, &window, [this, who] { log << who + "MouseOut"; });
        QObject::connect(button, &MyButton::KeyPress, &window,
                         [this, who](qint16& k) { log << who + QStringLiteral("KeyPress %1").arg(k); });
        QObject::connect(button, &MyButton::KeyDown, &window, [this, who](qint16& k, qint16& s) {
            log << who + QStringLiteral("KeyDown %1 %2").arg(k).arg(s);
        });
        QObject::connect(button, &MyButton::KeyUp, &window, [this, who](qint16& k, qint16& s) {
            log << who + QStringLiteral("KeyUp %1 %2").arg(k).arg(s);
        });
        return button;
    }

    // The pointer, moved as the desktop moves it: Qt delivers the move to whatever is under it.
    void moveTo(QWidget* widget, QPoint local) {
        QCursor::setPos(widget->mapToGlobal(local));
        QCoreApplication::processEvents();
    }
    void park() { moveTo(&window, QPoint(5, 110)); }
    void press(Qt::MouseButton button, QWidget* widget, QPoint local) {
        moveTo(widget, local);
        QTest::mousePress(window.windowHandle(), button, {}, widget->mapTo(&window, local));
    }
    void release(Qt::MouseButton button) {
        QTest::mouseRelease(window.windowHandle(), button, {}, window.mapFromGlobal(QCursor::pos()));
    }
    void waitForMouseOut(const QString& who) {
        QTRY_VERIFY_WITH_TIMEOUT(log.contains(who + " MouseOut"), 2000);
    }
    QImage onScreen(QWidget* widget) {
        const QPoint at = widget->mapTo(&window, QPoint(0, 0));
        return window.screen()
            ->grabWindow(window.winId(), at.x(), at.y(), widget->width(), widget->height())
            .toImage()
            .convertToFormat(QImage::Format_RGB32);
    }

    std::shared_ptr<FakeButtonHost> host = std::make_shared<FakeButtonHost>();
    QWidget window;
    MyButton* A = nullptr;
    MyButton* B = nullptr;
    MyButton* C = nullptr;
    QStringList log;
};

TEST_F(ControlEvents, PointerEntersRestsAndLeaves) {
    moveTo(A, QPoint(20, 15));
    EXPECT_TRUE(A->state().MouseIsOver);
    moveTo(A, QPoint(30, 16));
    park();
    waitForMouseOut("A");
    EXPECT_EQ(log,
              (QStringList{"A MouseMove 0 0 20 15", "A MouseOver", "A MouseMove 0 0 30 16", "A MouseOut"}));
    EXPECT_FALSE(A->state().MouseIsOver);
}

TEST_F(ControlEvents, LeftClickPressesAndReleases) {
    moveTo(A, QPoint(20, 15));
    log.clear();
    press(Qt::LeftButton, A, QPoint(20, 15));
    EXPECT_EQ(A->state().LastState, StateDown);
    moveTo(A, QPoint(22, 15));
    release(Qt::LeftButton);
    EXPECT_EQ(A->state().LastState, StateUp);
    EXPECT_EQ(log, (QStringList{"A MouseDown 1 0 20 15", "A MouseMove 1 0 22 15", "A MouseUp 1 0 22 15",
                                "A Click"}));
}

TEST_F(ControlEvents, DoubleClickGivesOneClickAndASecondPressAtTheOrigin) {
    moveTo(A, QPoint(20, 15));
    log.clear();
    QTest::mouseDClick(window.windowHandle(), Qt::LeftButton, {}, A->mapTo(&window, QPoint(20, 15)));
    EXPECT_EQ(log, (QStringList{"A MouseDown 1 0 20 15", "A MouseUp 1 0 20 15", "A Click",
                                "A MouseDown 1 0 0 0", "A MouseUp 1 0 20 15"}));
    EXPECT_EQ(A->state().LastState, StateUp);
    EXPECT_EQ(QWidget::mouseGrabber(), nullptr)
        << "the double-click's hold on the mouse ends with its release";
}

TEST_F(ControlEvents, DragOffPopsUpAndDragBackPressesAgain) {
    press(Qt::LeftButton, A, QPoint(20, 15));
    log.clear();
    moveTo(&window, QPoint(200, 100));
    EXPECT_EQ(A->state().LastState, StateUp) << "dragged off, the button pops up";
    moveTo(A, QPoint(25, 15));
    EXPECT_EQ(A->state().LastState, StateDown);
    EXPECT_FALSE(A->state().MouseIsOver) << "the hover flag is clear again after drawing the pressed look";
    release(Qt::LeftButton);
    EXPECT_EQ(log, (QStringList{"A MouseMove 1 0 190 90", "A MouseMove 1 0 25 15", "A MouseUp 1 0 25 15",
                                "A Click"}));

    // Released away from the button: no click.
    press(Qt::LeftButton, A, QPoint(20, 15));
    moveTo(&window, QPoint(200, 100));
    log.clear();
    release(Qt::LeftButton);
    EXPECT_EQ(log, (QStringList{"A MouseUp 1 0 190 90"}));
    EXPECT_EQ(A->state().LastState, StateUp);
}

TEST_F(ControlEvents, RightAndMiddleButtonsNeverClick) {
    moveTo(A, QPoint(20, 15));
    const auto drawn = A->drawCount();
    log.clear();
    press(Qt::RightButton, A, QPoint(20, 15));
    EXPECT_EQ(A->drawCount(), drawn) << "no pressed look for the right button";
    release(Qt::RightButton);
    press(Qt::MiddleButton, A, QPoint(20, 15));
    EXPECT_EQ(A->state().LastState, StateDown) << "the middle button does show the pressed look";
    release(Qt::MiddleButton);
    press(Qt::LeftButton, A, QPoint(20, 15));
    release(Qt::LeftButton);
    EXPECT_EQ(
        log, (QStringList{"A MouseDown 2 0 20 15", "A MouseUp 2 0 20 15", "A MouseDown 4 0 20 15",
                          "A MouseUp 4 0 20 15", "A MouseDown 1 0 20 15", "A MouseUp 1 0 20 15", "A Click"}));
}

TEST_F(ControlEvents, PressDragInsideThenReleaseHoversAgainWithoutMouseOut) {
    moveTo(A, QPoint(20, 15));
    press(Qt::LeftButton, A, QPoint(20, 15));
    moveTo(A, QPoint(40, 15));
    release(Qt::LeftButton);
    log.clear();
    moveTo(A, QPoint(41, 15));
    EXPECT_EQ(log, (QStringList{"A MouseMove 0 0 41 15", "A MouseOver"}));
}

TEST_F(ControlEvents, SpaceBarPressesAndClicks) {
    A->setFocus();
    QTest::keyPress(A, Qt::Key_Space);
    EXPECT_EQ(A->state().LastState, StateDown);
    QTest::keyRelease(A, Qt::Key_Space);
    EXPECT_EQ(A->state().LastState, StateUp);
    EXPECT_EQ(log, (QStringList{"A KeyDown 32 0", "A KeyPress 32", "A KeyUp 32 0", "A Click"}));
}

TEST_F(ControlEvents, SpaceReleasedOnAnotherButtonClicksItOnlyAfterItsOwnSpace) {
    A->setFocus();
    QTest::keyPress(A, Qt::Key_Space);
    B->setFocus();
    QTest::keyRelease(B, Qt::Key_Space);
    EXPECT_FALSE(log.contains("B Click")) << "B's last key down was no space";
    EXPECT_FALSE(log.contains("A Click"));

    QTest::keyClick(B, Qt::Key_Space);  // B's last key down is now a space
    A->setFocus();
    QTest::keyPress(A, Qt::Key_Space);
    B->setFocus();
    log.clear();
    QTest::keyRelease(B, Qt::Key_Space);
    EXPECT_EQ(log, (QStringList{"B KeyUp 32 0", "B Click"}));
}

TEST_F(ControlEvents, KeyDownHandlerThatClearsKeyCodeStopsTheKeysAction) {
    QObject::connect(A, &MyButton::KeyDown, &window, [](qint16& KeyCode, qint16&) { KeyCode = 0; });
    A->setFocus();
    QTest::keyPress(A, Qt::Key_Space);
    EXPECT_EQ(A->state().LastState, StateUp) << "no pressed look";
    QTest::keyRelease(A, Qt::Key_Space);
    EXPECT_FALSE(log.contains("A Click"));
    QTest::keyClick(A, Qt::Key_Right);
    EXPECT_EQ(QApplication::focusWidget(), A) << "no focus move";
}

TEST_F(ControlEvents, ArrowKeysMoveTheFocusThroughTheTabOrder) {
    B->setFocus();
    QTest::keyClick(B, Qt::Key_Left);
    EXPECT_EQ(QApplication::focusWidget(), A);
    QTest::keyClick(A, Qt::Key_Right);
    EXPECT_EQ(QApplication::focusWidget(), B);
    QTest::keyClick(B, Qt::Key_Down);
    EXPECT_EQ(QApplication::focusWidget(), C);
    QTest::keyClick(C, Qt::Key_Up);
    EXPECT_EQ(QApplication::focusWidget(), B);
    EXPECT_EQ(log.first(), QStringLiteral("B KeyDown 37 0")) << "KeyDown comes first";
    EXPECT_FALSE(log.filter("Click").size());
}

TEST_F(ControlEvents, AccessKeyClicksWithoutThePressedLook) {
    A->setCaption(QStringLiteral("&Go"));
    B->setFocus();
    const auto drawn = A->drawCount();
    log.clear();
    QTest::keyClick(B, Qt::Key_G, Qt::AltModifier);
    EXPECT_EQ(log.filter("A "), (QStringList{"A Click"}));
    EXPECT_FALSE(log.contains("B KeyDown 71 4")) << "the access key is not also a key of the focused button";
    EXPECT_EQ(A->drawCount(), drawn + 1) << "only the released look, forced once before Click";
    log.clear();
    QTest::keyClick(B, Qt::Key_G);
    EXPECT_EQ(log, (QStringList{"B KeyDown 71 0", "B KeyPress 103", "B KeyUp 71 0"}))
        << "without Alt the letter is an ordinary key";
}

TEST_F(ControlEvents, CheckBoxTogglesBeforeClickByMouseSpaceAndAccessKey) {
    A->setCaption(QStringLiteral("&Check"));
    A->setCheckBoxBehaviour(true);
    QList<bool> valueAtClick;
    QObject::connect(A, &MyButton::Click, &window, [&] { valueAtClick << A->Value(); });
    press(Qt::LeftButton, A, QPoint(20, 15));
    release(Qt::LeftButton);
    park();
    waitForMouseOut("A");
    EXPECT_EQ(A->state().LastState, StateDown) << "a checked box shows the pressed look when released";
    A->setFocus();
    QTest::keyClick(A, Qt::Key_Space);
    EXPECT_EQ(A->state().LastState, StateUp);
    QTest::keyClick(B, Qt::Key_C, Qt::AltModifier);
    EXPECT_EQ(valueAtClick, (QList<bool>{true, false, true}));
    EXPECT_TRUE(A->Value());
}

TEST_F(ControlEvents, DisabledButtonTakesNoInputAndItsHoverEnds) {
    A->setCaption(QStringLiteral("&Go"));
    moveTo(A, QPoint(20, 15));
    ASSERT_TRUE(A->state().MouseIsOver);
    A->setEnabled(false);
    waitForMouseOut("A");
    log.clear();
    press(Qt::LeftButton, A, QPoint(20, 15));
    release(Qt::LeftButton);
    B->setFocus();
    QTest::keyClick(B, Qt::Key_G, Qt::AltModifier);
    A->setFocus();
    EXPECT_NE(QApplication::focusWidget(), A);
    EXPECT_EQ(log.filter("A "), QStringList());
}

TEST_F(ControlEvents, DisableRefreshHoldsRepaintsUntilOneRefresh) {
    const auto drawn = A->drawCount();
    A->DisableRefresh();
    A->setBackColor(0x0000FF);
    A->setCaption(QStringLiteral("changed"));
    A->setFontBold(true);
    A->setButtonType(ThinRaised);
    EXPECT_EQ(A->drawCount(), drawn);
    A->Refresh();
    EXPECT_EQ(A->drawCount(), drawn + 1);
    A->setCaption(QStringLiteral("again"));
    EXPECT_EQ(A->drawCount(), drawn + 2) << "drawing is on again after Refresh";
}

TEST_F(ControlEvents, HiddenButtonDoesNotRepaintUntilShown) {
    A->hide();
    const auto drawn = A->drawCount();
    A->setCaption(QStringLiteral("while hidden"));
    A->setBackColor(0x00FF00);
    EXPECT_EQ(A->drawCount(), drawn);
    A->show();
    EXPECT_EQ(A->drawCount(), drawn + 1);
    EXPECT_EQ(A->state().LastCaption, QStringLiteral("while hidden"));
}

TEST_F(ControlEvents, AmbientChangeRepaintsAllButCustomColours) {
    A->setColorScheme(vt::button::SystemColors);
    B->setColorScheme(ContainerColors);
    C->setColorScheme(CustomColors);
    const auto a = A->drawCount(), b = B->drawCount(), c = C->drawCount();
    host->colors.set(15, 0x2468AC);
    host->parentBackground = 0x13579B;
    QPalette palette = window.palette();
    palette.setColor(QPalette::Window, QColor(1, 2, 3));
    window.setPalette(palette);
    EXPECT_GT(A->drawCount(), a);
    EXPECT_EQ(A->state().colors.FaceColor, 0x2468AC);
    EXPECT_GT(B->drawCount(), b);
    EXPECT_EQ(B->state().colors.FaceColor, 0x13579B);
    EXPECT_EQ(C->drawCount(), c);
}

TEST_F(ControlEvents, ReleasedLookIsOnScreenBeforeTheFormsClickHandlerRuns) {
    QImage seenAtClick, faceAtClick;
    QObject::connect(A, &MyButton::Click, &window, [&] {
        seenAtClick = onScreen(A);
        faceAtClick = A->surface();
    });
    press(Qt::LeftButton, A, QPoint(20, 15));
    QCoreApplication::processEvents();
    const QImage pressed = onScreen(A);
    release(Qt::LeftButton);
    ASSERT_FALSE(seenAtClick.isNull());
    EXPECT_NE(seenAtClick, pressed);
    EXPECT_EQ(seenAtClick, faceAtClick) << "the screen shows the face drawn for the released state";
}

TEST_F(ControlEvents, OvalShapeAndCoveringWidgetsDecideWhatIsOver) {
    B->setButtonType(Oval);
    log.clear();
    moveTo(B, QPoint(1, 1));
    EXPECT_TRUE(log.filter("B ").isEmpty()) << "the cut-away corner is not the button";
    press(Qt::LeftButton, B, QPoint(1, 1));
    release(Qt::LeftButton);
    EXPECT_TRUE(log.filter("B ").isEmpty());
    moveTo(B, QPoint(45, 15));
    EXPECT_EQ(log.filter("B "), (QStringList{"B MouseMove 0 0 45 15", "B MouseOver"}));

    auto* cover = new QWidget(&window);
    cover->setGeometry(C->geometry().adjusted(45, 0, 0, 0));
    cover->show();
    moveTo(C, QPoint(20, 15));
    ASSERT_TRUE(C->state().MouseIsOver);
    moveTo(C, QPoint(60, 15));
    waitForMouseOut("C");
}

TEST_F(ControlEvents, FailingHandlerIsReportedToTheHostAndTheButtonGoesOn) {
    QObject::connect(A, &MyButton::Click, &window, [] { throw std::runtime_error("form handler failed"); });
    press(Qt::LeftButton, A, QPoint(20, 15));
    release(Qt::LeftButton);
    EXPECT_EQ(host->failures, QStringList{"form handler failed"});
    log.clear();
    press(Qt::LeftButton, A, QPoint(20, 15));
    EXPECT_EQ(log, (QStringList{"A MouseDown 1 0 20 15"}));
    release(Qt::LeftButton);
}

TEST_F(ControlEvents, TransparentButtonCapturesWhatItCovers) {
    const auto drawn = C->drawCount();
    C->setButtonType(Transparent);
    EXPECT_EQ(C->drawCount(), drawn + 1) << "the capture's own size changes are ignored";
    EXPECT_EQ(C->size(), QSize(90, 30));
    const QImage& background = C->state().Background;
    ASSERT_EQ(background.size(), QSize(90, 30));
    EXPECT_EQ(QColor(background.pixel(5, 5)), QColor(10, 200, 30));
    EXPECT_EQ(QColor(background.pixel(85, 25)), QColor(10, 200, 30));
}

}  // namespace
}  // namespace vt::test
