#include <QComboBox>
#include <QCoreApplication>
#include <QDir>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QThread>
#include <QTimer>

#include "ScanFixture.h"
#include "app/MDIForm1.h"
#include "app/Startup.h"
#include "app/WindowRegistry.h"
#include "scan/ScanTexts.h"

namespace vt::test {
namespace {

// Keeps a picture under $VT_TEST_OUTPUT/scan for a person to look at.
void keep(const QImage& image, const QString& name) {
    const QString out = qEnvironmentVariable("VT_TEST_OUTPUT");
    if (out.isEmpty() || !QDir().mkpath(out + QStringLiteral("/scan"))) return;
    EXPECT_TRUE(image.save(out + QStringLiteral("/scan/") + name));
}

// The colour in the middle of `widget`'s area within `window`'s picture.
QColor colourAt(const QImage& picture, QWidget* window, QWidget* widget, QPoint offset) {
    return picture.pixelColor(widget->mapTo(window, offset));
}

class ScanInFrameTest : public ScanFixture {
  protected:
    void SetUp() override {
        // The frame opens the catalogue itself.
        ASSERT_TRUE(platform.folder.isValid());
        ASSERT_TRUE(disc.isValid());
        addDrive(QLatin1Char('D'), disc.path(), 654311424, 0xA1B2C3D4u);
        addDrive(QLatin1Char('E'), disc.path(), 0, 0);
        for (int i = 0; i < 12; ++i) write(QStringLiteral("folder %1/file.txt").arg(i));
    }
};

TEST_F(ScanInFrameTest, TheNewDiskWindowWithADiscAndItsBusyPanelMidScan) {
    std::unique_ptr<MDIForm1> frame = startUp(context);
    ASSERT_TRUE(frame);
    frmMain* window = frame->windows().mainWindow();
    ASSERT_NE(window, nullptr);
    QCoreApplication::processEvents();
    EXPECT_EQ(window->Combo1()->currentText(), QStringLiteral("D:\\"));

    const QImage listed = frame->grab().toImage();
    keep(listed, QStringLiteral("frmMain-disc-listed.png"));
    EXPECT_EQ(colourAt(listed, frame.get(), window, QPoint(2, window->height() / 2)), QColor(203, 215, 216));

    QImage busy;
    QString countShown;
    platform.fileSystem.whileListing = [&](const QString& folder) {
        QThread::msleep(20);
        if (folder != QLatin1String("D:\\folder 5\\")) return;
        QTimer::singleShot(0, [&] {
            countShown = window->lblCount()->text();
            busy = frame->grab().toImage();
        });
    };
    window->cmdStart_Click();
    keep(busy, QStringLiteral("frmMain-busy-mid-scan.png"));
    ASSERT_FALSE(busy.isNull());
    EXPECT_GT(countShown.toInt(), 0);
    EXPECT_LT(countShown.toInt(), 12);
    // The panel covers the name box and the details; the drive list stays in view above it.
    EXPECT_EQ(colourAt(busy, frame.get(), window->Frame1(), QPoint(20, 20)), QColor(179, 188, 193));
    EXPECT_NE(colourAt(busy, frame.get(), window->Combo1(), QPoint(20, 10)), QColor(179, 188, 193));
    EXPECT_EQ(platform.messages.texts(), QStringList{ScanTexts::finished()});
}

TEST_F(ScanInFrameTest, TheMainFrameStaysOpenWhileADiscIsCataloguedUnlessTheScanIsCancelled) {
    std::unique_ptr<MDIForm1> frame = startUp(context);
    ASSERT_TRUE(frame);
    frmMain* window = frame->windows().mainWindow();
    bool frameClosed = true;
    platform.fileSystem.whileListing = [&](const QString& folder) {
        QThread::msleep(20);
        if (folder == QLatin1String("D:\\folder 3\\"))
            QTimer::singleShot(0, [&] { frameClosed = frame->close(); });
    };
    platform.messages.answer({MessageAnswer::No});
    window->cmdStart_Click();
    EXPECT_FALSE(frameClosed);
    EXPECT_TRUE(frame->isVisible());
    EXPECT_EQ(files().size(), 12u);
    EXPECT_EQ(platform.messages.texts(), (QStringList{ScanTexts::askCancelScan(), ScanTexts::finished()}));

    // Answered yes, the scan is rolled back and the frame closes when it has wound down.
    platform.messages.clear();
    window->Text3()->setText(QStringLiteral("Second"));
    platform.messages.answer({MessageAnswer::Yes});
    window->cmdStart_Click();
    EXPECT_FALSE(frameClosed);
    EXPECT_EQ(platform.messages.texts(), (QStringList{ScanTexts::askCancelScan(), ScanTexts::cancelled()}));
    EXPECT_EQ(files().size(), 12u);
    EXPECT_FALSE(frame->isVisible());
}

}  // namespace
}  // namespace vt::test
