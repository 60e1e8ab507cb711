#include <gtest/gtest.h>

#include <QAbstractItemView>
#include <QComboBox>
#include <QTest>
#include <optional>

#include "app/RightToLeftPopups.h"

namespace vt {
namespace {

// A right-to-left window with a combo box whose items are wider than the box; the box takes the window's
// direction, as in our windows, unless it is given its own.
struct WideListWindow {
    explicit WideListWindow(std::optional<Qt::LayoutDirection> direction = std::nullopt) {
        window.setLayoutDirection(Qt::RightToLeft);
        window.resize(600, 300);
        combo = new QComboBox(&window);
        if (direction) combo->setLayoutDirection(*direction);
        combo->setGeometry(300, 20, 120, 25);
        combo->addItem(QStringLiteral("CD1"));
        combo->addItem(QString(60, QChar(0x0628)));
        combo->view()->setMinimumWidth(400);
        window.show();
        EXPECT_TRUE(QTest::qWaitForWindowExposed(&window));
        combo->showPopup();
    }
    ~WideListWindow() { combo->hidePopup(); }

    QWidget* list() const { return combo->view()->window(); }
    int right(QWidget* widget, int width) const { return widget->mapToGlobal(QPoint(width, 0)).x(); }

    QWidget window;
    QComboBox* combo = nullptr;
};

TEST(RightToLeftPopups, ARightToLeftBoxsListOpensOnItsRightEdgeAndALeftToRightOneOnItsLeft) {
    const RightToLeftPopups popups;
    {
        WideListWindow shown;
        EXPECT_EQ(shown.list()->geometry().right() + 1, shown.right(shown.combo, shown.combo->width()));
    }
    {
        // Drive roots read left to right: their box keeps Qt's placement.
        WideListWindow shown(Qt::LeftToRight);
        EXPECT_EQ(shown.list()->geometry().left(), shown.combo->mapToGlobal(QPoint(0, 0)).x());
    }
}

}  // namespace
}  // namespace vt
