#include <QDir>
#include <QFile>
#include <QStandardPaths>

#include "cli/CliFixture.h"
#include "support/IsoImage.h"

namespace vt {
namespace {

class ImageCommands : public test::CliFixture {
  protected:
    void SetUp() override {
        if (QStandardPaths::findExecutable(QStringLiteral("xorriso")).isEmpty())
            GTEST_SKIP() << "needs xorriso";
        withImages = true;
        write(QStringLiteral("a.txt"), 3);
        write(QStringLiteral("پوشه/b c.txt"), 5);
        image = work.filePath(QStringLiteral("my disc.iso"));
        const QString made = test::makeIsoImage(
            image,
            {QStringLiteral("-R"), QStringLiteral("-J"), QStringLiteral("-V"), QStringLiteral("LABEL")},
            work.filePath(QStringLiteral("tree")));
        ASSERT_TRUE(made.isEmpty()) << made.toStdString();
    }
    void write(const QString& relative, int bytes) {
        const QString path = work.filePath(QStringLiteral("tree/") + relative);
        QDir().mkpath(QFileInfo(path).absolutePath());
        QFile file(path);
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
        file.write(QByteArray(bytes, 'x'));
    }

    QTemporaryDir work;
    QString image;
};

TEST_F(ImageCommands, ScanCataloguesAnImageFileAndDrivesListsTheImagesGiven) {
    ASSERT_EQ(run({QStringLiteral("scan"), image, QStringLiteral("Image 1")}), 0) << errText.toStdString();
    EXPECT_EQ(outText, QStringLiteral("Catalogued 2 files of D:\\ as 'Image 1'.\n"));
    ASSERT_EQ(run({QStringLiteral("export")}), 0);
    // A file row's first five fields, then the date the image records for each file.
    QStringList rows;
    for (const QString& line : outLines().mid(1)) {
        const QStringList fields = line.split(QLatin1Char('\t'));
        ASSERT_EQ(fields.size(), 6) << line.toStdString();
        EXPECT_TRUE(fields[5].endsWith(QLatin1Char('Z'))) << line.toStdString();
        rows << fields.mid(0, 5).join(QLatin1Char('\t'));
    }
    EXPECT_EQ(rows,
              (QStringList{QStringLiteral("Image 1\ta.txt\tD:\\\\a.txt\t3\tNormalReadOnly"),
                           QStringLiteral("Image 1\tb c.txt\tD:\\\\پوشه\\\\b c.txt\t5\tNormalReadOnly")}));

    const QString missing = work.filePath(QStringLiteral("missing.iso"));
    EXPECT_EQ(
        run({QStringLiteral("drives"), QStringLiteral("--image"), image, QStringLiteral("--image"), missing}),
        1);
    EXPECT_TRUE(errText.contains(missing)) << errText.toStdString();
    ASSERT_EQ(outLines().size(), 2);
    EXPECT_TRUE(outLines()[1].startsWith(QStringLiteral("D:\\\\\t") + image + QStringLiteral("\tLABEL\t")))
        << outLines()[1].toStdString();

    // An image that is no disc is refused with the reason, and nothing is catalogued.
    QFile notADisc(work.filePath(QStringLiteral("notes.iso")));
    ASSERT_TRUE(notADisc.open(QIODevice::WriteOnly));
    notADisc.write(QByteArray(100000, 'n'));
    notADisc.close();
    EXPECT_EQ(run({QStringLiteral("scan"), notADisc.fileName(), QStringLiteral("Image 2")}), 1);
    EXPECT_TRUE(errText.contains(QLatin1String("not a disc image"))) << errText.toStdString();
    EXPECT_EQ(run({QStringLiteral("disks")}), 0);
    EXPECT_EQ(outLines().size(), 2);
}

}  // namespace
}  // namespace vt
