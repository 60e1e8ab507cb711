#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <memory>

#include "RealProgram.h"
#include "support/MountedImage.h"

namespace vt::test {
namespace {

// The drive letter under which the image shows, found by its mount point.
QString rootOf(const MountedImage& image) {
    const CliResult drives = runCli({QStringLiteral("drives"), QStringLiteral("--format=csv")});
    for (const QString& line : drives.out.split(QStringLiteral("\r\n"))) {
        if (line.section(QLatin1Char(','), 1, 1) == image.mountPoint())
            return line.section(QLatin1Char(','), 0, 0);
    }
    return QString();
}

TEST(CliRecogniseEndToEnd, ADiscIsIdentifiedByDriveAndImageAndARewrittenOneIsUpdatedAfterADryRun) {
    const QString reason = MountedImage::unavailableReason();
    if (!reason.isEmpty()) GTEST_SKIP() << reason.toStdString();
    QTemporaryDir tree, work;
    writeFileOfSize(tree.filePath(QStringLiteral("a.txt")), 10);
    writeFileOfSize(tree.filePath(QStringLiteral("b.txt")), 20);
    writeFileOfSize(tree.filePath(QStringLiteral("sub/c.txt")), 30);
    const QString catalog = work.filePath(QStringLiteral("catalog.db"));
    const auto withCatalog = [&](QStringList words) {
        return runCli(words << QStringLiteral("--catalog") << catalog);
    };

    {
        MountedImage image(tree.path(), QStringLiteral("FIRST"));
        ASSERT_TRUE(image.error().isEmpty()) << image.error().toStdString();
        const QString root = rootOf(image);
        ASSERT_FALSE(root.isEmpty());
        ASSERT_EQ(withCatalog({QStringLiteral("scan"), root, QStringLiteral("Box")}).code, 0);
        const CliResult byDrive = withCatalog({QStringLiteral("identify"), root});
        EXPECT_EQ(byDrive.code, 0) << byDrive.err.toStdString();
        EXPECT_EQ(byDrive.out, QStringLiteral("Box\n"));
        const CliResult byImage = withCatalog({QStringLiteral("identify"), image.imagePath()});
        EXPECT_EQ(byImage.code, 0) << byImage.err.toStdString();
        EXPECT_EQ(byImage.out, QStringLiteral("Box\n"));
    }

    // The disc rewritten: one file grown, one gone, one new. Its image is another disc to the eye.
    writeFileOfSize(tree.filePath(QStringLiteral("a.txt")), 15);
    QFile::remove(tree.filePath(QStringLiteral("b.txt")));
    writeFileOfSize(tree.filePath(QStringLiteral("sub/d.txt")), 5);
    MountedImage rewritten(tree.path(), QStringLiteral("REWRITTEN"));
    ASSERT_TRUE(rewritten.error().isEmpty()) << rewritten.error().toStdString();
    const QString root = rootOf(rewritten);
    ASSERT_FALSE(root.isEmpty());
    EXPECT_EQ(withCatalog({QStringLiteral("identify"), root}).code, 1);

    const QString exportBefore = withCatalog({QStringLiteral("export")}).out;
    const CliResult dryRun =
        withCatalog({QStringLiteral("update"), root, QStringLiteral("box"), QStringLiteral("--dry-run")});
    EXPECT_EQ(dryRun.code, 0) << dryRun.err.toStdString();
    const QString d = root.chopped(1);
    EXPECT_EQ(
        dryRun.out,
        QStringLiteral("added\t%1\\sub\\d.txt\t5\nremoved\t%1\\b.txt\t20\nresized\t%1\\a.txt\t10 -> 15\n"
                       "1 added, 1 removed, 1 resized, 0 redated\n")
            .arg(d))
        << dryRun.out.toStdString();
    EXPECT_EQ(withCatalog({QStringLiteral("export")}).out, exportBefore) << "a dry run changes nothing";
    EXPECT_EQ(withCatalog({QStringLiteral("update"), root, QStringLiteral("Box")}).code, 1)
        << "no --yes, no terminal";

    const CliResult updated =
        withCatalog({QStringLiteral("update"), root, QStringLiteral("box"), QStringLiteral("--yes")});
    EXPECT_EQ(updated.code, 0) << updated.err.toStdString();
    EXPECT_EQ(withCatalog({QStringLiteral("export"), QStringLiteral("--format=csv")})
                  .out.count(QStringLiteral("\r\n")),
              4)
        << "a header and three files";
    const CliResult disks = withCatalog({QStringLiteral("disks")});
    const QString row = disks.out.section(QLatin1Char('\n'), 1, 1);
    EXPECT_EQ(row.section(QLatin1Char('\t'), 0, 0), QStringLiteral("Box")) << disks.out.toStdString();
    EXPECT_EQ(row.section(QLatin1Char('\t'), 3, 4), QStringLiteral("3\tREWRITTEN"))
        << disks.out.toStdString();
    EXPECT_EQ(withCatalog({QStringLiteral("identify"), root}).out, QStringLiteral("Box\n"));
    EXPECT_EQ(
        withCatalog({QStringLiteral("update"), root, QStringLiteral("Box"), QStringLiteral("--yes")}).out,
        QStringLiteral("The disc 'Box' is up to date.\n"));
}

}  // namespace
}  // namespace vt::test
