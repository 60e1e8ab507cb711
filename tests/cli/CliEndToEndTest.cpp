#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <set>

#include "RealProgram.h"
#include "support/ChildProcess.h"
#include "support/MountedImage.h"

namespace vt::test {
namespace {

TEST(CliEndToEnd, ADiscImageIsCataloguedFoundExportedAndRemoved) {
    const QString reason = MountedImage::unavailableReason();
    if (!reason.isEmpty()) GTEST_SKIP() << reason.toStdString();

    QTemporaryDir tree, work;
    writeFileOfSize(tree.filePath(QStringLiteral("نامه ها/نامه یک.txt")), 120);
    writeFileOfSize(tree.filePath(QStringLiteral("Photos 2009/beach, day 1.jpg")), 4000);
    writeFileOfSize(tree.filePath(QStringLiteral("readme.txt")), 9);
    MountedImage image(tree.path(), QStringLiteral("CLI_TEST"));
    ASSERT_TRUE(image.error().isEmpty()) << image.error().toStdString();
    const QString catalog = work.filePath(QStringLiteral("catalog.db"));

    // The image shows up as an optical drive; find its letter by its mount point.
    const CliResult drives = runCli({QStringLiteral("drives"), QStringLiteral("--format=csv")});
    ASSERT_EQ(drives.code, 0) << drives.err.toStdString();
    QString root;
    for (const QString& line : drives.out.split(QStringLiteral("\r\n"))) {
        if (line.section(QLatin1Char(','), 1, 1) == image.mountPoint())
            root = line.section(QLatin1Char(','), 0, 0);
    }
    ASSERT_FALSE(root.isEmpty()) << drives.out.toStdString();

    const CliResult scan = runCli(
        {QStringLiteral("scan"), root, QStringLiteral("آرشيو ۱"), QStringLiteral("--catalog"), catalog});
    ASSERT_EQ(scan.code, 0) << scan.err.toStdString();
    EXPECT_TRUE(scan.out.contains(QStringLiteral("Catalogued 3 files")));
    EXPECT_EQ(runCli({QStringLiteral("scan"), root, QStringLiteral("آرشيو ۱"), QStringLiteral("--catalog"),
                      catalog})
                  .code,
              1);

    const CliResult found =
        runCli({QStringLiteral("search"), QStringLiteral("نامه"), QStringLiteral("--catalog"), catalog});
    ASSERT_EQ(found.code, 0);
    EXPECT_TRUE(
        found.out.contains(root.chopped(1) + QStringLiteral("\\\\نامه ها\\\\نامه یک.txt\tآرشيو ۱\t120")));

    // The export lists exactly what find lists on the mount.
    const CliResult exported = runCli(
        {QStringLiteral("export"), QStringLiteral("--format=json"), QStringLiteral("--catalog"), catalog});
    ASSERT_EQ(exported.code, 0);
    std::set<QString> catalogued;
    for (const QString& line : exported.out.split(QLatin1Char('\n'), Qt::SkipEmptyParts)) {
        const int pathAt = line.indexOf(QStringLiteral("\"path\":\"")) + 8;
        const QString path = line.mid(pathAt, line.indexOf(QLatin1Char('"'), pathAt) - pathAt);
        const QString size = line.section(QStringLiteral("\"size\":"), 1).section(QLatin1Char(','), 0, 0);
        catalogued.insert(QString(path).replace(QStringLiteral("\\\\"), QStringLiteral("/")).mid(3) +
                          QLatin1Char(' ') + size);
    }
    QByteArray files;
    ASSERT_EQ(runTool(QStringLiteral("find"),
                      {image.mountPoint(), QStringLiteral("-type"), QStringLiteral("f"),
                       QStringLiteral("-printf"), QStringLiteral("%P %s\\n")},
                      &files),
              QString());
    std::set<QString> listed;
    for (const QString& line : QString::fromUtf8(files).split(QLatin1Char('\n'), Qt::SkipEmptyParts)) {
        listed.insert(line);
    }
    EXPECT_EQ(catalogued, listed);

    EXPECT_EQ(
        runCli({QStringLiteral("remove"), QStringLiteral("آرشيو ۱"), QStringLiteral("--catalog"), catalog})
            .code,
        1);
    EXPECT_EQ(runCli({QStringLiteral("remove"), QStringLiteral("آرشيو ۱"), QStringLiteral("--yes"),
                      QStringLiteral("--catalog"), catalog})
                  .code,
              0);
    EXPECT_EQ(runCli({QStringLiteral("export"), QStringLiteral("--catalog"), catalog}).code, 1);
    EXPECT_EQ(runCli({QStringLiteral("disks"), QStringLiteral("--catalog"), catalog}).code, 1);
}

}  // namespace
}  // namespace vt::test
