// The button-render program, run as a person would run it.
#include <gtest/gtest.h>

#include <QCoreApplication>
#include <QFileInfo>
#include <QImage>
#include <QProcess>
#include <QTemporaryDir>

namespace {

class RenderTool : public ::testing::Test {
  protected:
    void SetUp() override {
        program = QCoreApplication::applicationDirPath() + "/../button-render";
        if (!QFileInfo::exists(program)) GTEST_SKIP() << "button-render is not built beside the tests";
        ASSERT_TRUE(dir.isValid());
    }
    // Runs the program; returns its exit code and keeps what it wrote on standard error.
    int run(const QStringList& args) {
        QProcess process;
        process.start(program, args);
        if (!process.waitForFinished(60000)) return -1;
        errors = QString::fromLocal8Bit(process.readAllStandardError());
        return process.exitCode();
    }
    QImage render(const QStringList& args) {
        const QString out = dir.filePath("button.png");
        QFile::remove(out);
        EXPECT_EQ(run(QStringList{"--out", out} + args), 0) << errors.toStdString();
        return QImage(out);
    }

    QString program;
    QTemporaryDir dir;
    QString errors;
};

int transparentCount(const QImage& image) {
    int n = 0;
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x) {
            const int alpha = qAlpha(image.pixel(x, y));
            EXPECT_TRUE(alpha == 0 || alpha == 255);
            n += alpha == 0;
        }
    return n;
}

}  // namespace

TEST_F(RenderTool, PixelsOutsideTheRegionAreTransparent) {
    const QImage image = render({"--width", "10", "--height", "6", "BTYPE=3", "TX="});
    ASSERT_EQ(image.size(), QSize(10, 6));
    EXPECT_EQ(transparentCount(image), 12);
    EXPECT_EQ(qAlpha(image.pixel(1, 0)), 0);
    EXPECT_EQ(image.pixel(0, 2), qRgb(0, 60, 115));
    EXPECT_GT(transparentCount(render({"--width", "40", "--height", "20", "BTYPE=13"})), 0);
    EXPECT_EQ(transparentCount(render({"--width", "10", "--height", "6", "BTYPE=2"})), 0);
}

TEST_F(RenderTool, StatesFlagsAndProperties) {
    EXPECT_EQ(render({"--width", "20", "--height", "10", "--state", "down", "BTYPE=7", "COLTYPE=3", "TX="})
                  .pixel(0, 0),
              qRgb(128, 128, 128));
    EXPECT_EQ(render({"--width", "20", "--height", "10", "--hover", "BTYPE=9", "COLTYPE=3"}).pixel(0, 0),
              qRgb(0, 0, 128));
    EXPECT_EQ(
        render({"--width", "20", "--height", "10", "--hover", "BTYPE=9", "COLTYPE=3", "ENAB=0"}).pixel(0, 0),
        qRgb(192, 192, 192));
    // A system colour given as hex, through the fixed classic palette.
    EXPECT_EQ(
        render({"--width", "20", "--height", "10", "BTYPE=10", "COLTYPE=2", "BCOL=0x8000000F"}).pixel(5, 5),
        qRgb(212, 208, 200));
    const QImage focused = render({"--width", "20", "--height", "10", "--focus", "--default", "BTYPE=2",
                                   "COLTYPE=3", "TX=", "FONT=DejaVu Sans,9,bold"});
    EXPECT_EQ(focused.pixel(0, 0), qRgb(0, 0, 0));  // the default button's dark frame
}

TEST_F(RenderTool, PicturesAreReadFromFiles) {
    QImage bitmap(4, 4, QImage::Format_RGB32);
    bitmap.fill(qRgb(255, 0, 255));
    bitmap.setPixel(1, 1, qRgb(10, 20, 30));
    const QString path = dir.filePath("pic.bmp");
    ASSERT_TRUE(bitmap.save(path));
    const QImage image = render({"--width", "20", "--height", "12", "BTYPE=10", "COLTYPE=3", "MCOL=0xFF00FF",
                                 "PICN=" + path, "PICPOS=4", "TX="});
    EXPECT_EQ(image.pixel(9, 5), qRgb(10, 20, 30));
    EXPECT_EQ(image.pixel(8, 4), qRgb(192, 192, 192));
}

TEST_F(RenderTool, RefusesWhatItCannotUse) {
    const QString out = dir.filePath("x.png");
    EXPECT_EQ(run({"--out", out, "--width", "20", "--height", "10", "NOPE=1"}), 2);
    EXPECT_TRUE(errors.contains("NOPE"));
    EXPECT_EQ(run({"--out", out, "--width", "20", "--height", "10", "BCOL=green"}), 2);
    EXPECT_TRUE(errors.contains("BCOL"));
    EXPECT_EQ(run({"--out", out, "--width", "0", "--height", "10"}), 2);
    EXPECT_EQ(run({"--out", out, "--width", "20"}), 2);
    EXPECT_EQ(run({"--out", out, "--width", "20", "--height", "10", "PICN=/nonexistent.png"}), 2);
    EXPECT_EQ(run({"--out", out, "--width", "20", "--height", "10", "FONT=Tahoma"}), 2);
    EXPECT_FALSE(QFileInfo::exists(out));
}

TEST_F(RenderTool, GallerySheet) {
    const QString out = dir.filePath("gallery.png");
    ASSERT_EQ(run({"--gallery", out}), 0) << errors.toStdString();
    const QImage sheet(out);
    EXPECT_GT(sheet.width(), 16 * 96);
    EXPECT_GT(sheet.height(), 14 * 28);
}
