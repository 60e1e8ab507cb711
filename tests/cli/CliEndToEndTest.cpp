#include <gtest/gtest.h>

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QProcess>
#include <QTemporaryDir>
#include <set>

#include "support/MountedImage.h"

namespace vt::test {
namespace {

struct Result {
    int code = -1;
    QString out;
    QString err;
};

// Runs the real program, as a script would.
Result cli(const QStringList& arguments) {
    QProcess process;
    process.start(QCoreApplication::applicationDirPath() + QStringLiteral("/../vellumtrove-cli"), arguments);
    process.closeWriteChannel();
    EXPECT_TRUE(process.waitForFinished(120000));
    return {process.exitCode(), QString::fromUtf8(process.readAllStandardOutput()),
            QString::fromUtf8(process.readAllStandardError())};
}

void writeFile(const QString& path, int size) {
    QDir().mkpath(QFileInfo(path).absolutePath());
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write(QByteArray(size, 'c'));
}

TEST(CliEndToEnd, ADiscImageIsCataloguedFoundExportedAndRemoved) {
    const QString reason = MountedImage::unavailableReason();
    if (!reason.isEmpty()) GTEST_SKIP() << reason.toStdString();

    QTemporaryDir tree, work;
    writeFile(tree.filePath(QStringLiteral("نامه ها/نامه یک.txt")), 120);
    writeFile(tree.filePath(QStringLiteral("Photos 2009/beach, day 1.jpg")), 4000);
    writeFile(tree.filePath(QStringLiteral("readme.txt")), 9);
    MountedImage image(tree.path(), QStringLiteral("CLI_TEST"));
    ASSERT_TRUE(image.error().isEmpty()) << image.error().toStdString();
    const QString catalog = work.filePath(QStringLiteral("catalog.db"));

    // The image shows up as an optical drive; find its letter by its mount point.
    const Result drives = cli({QStringLiteral("drives"), QStringLiteral("--format=csv")});
    ASSERT_EQ(drives.code, 0) << drives.err.toStdString();
    QString root;
    for (const QString& line : drives.out.split(QStringLiteral("\r\n"))) {
        if (line.section(QLatin1Char(','), 1, 1) == image.mountPoint())
            root = line.section(QLatin1Char(','), 0, 0);
    }
    ASSERT_FALSE(root.isEmpty()) << drives.out.toStdString();

    const Result scan =
        cli({QStringLiteral("scan"), root, QStringLiteral("آرشيو ۱"), QStringLiteral("--catalog"), catalog});
    ASSERT_EQ(scan.code, 0) << scan.err.toStdString();
    EXPECT_TRUE(scan.out.contains(QStringLiteral("Catalogued 3 files")));
    EXPECT_EQ(
        cli({QStringLiteral("scan"), root, QStringLiteral("آرشيو ۱"), QStringLiteral("--catalog"), catalog})
            .code,
        1);

    const Result found =
        cli({QStringLiteral("search"), QStringLiteral("نامه"), QStringLiteral("--catalog"), catalog});
    ASSERT_EQ(found.code, 0);
    EXPECT_TRUE(
        found.out.contains(root.chopped(1) + QStringLiteral("\\\\نامه ها\\\\نامه یک.txt\tآرشيو ۱\t120")));

    // The export lists exactly what find lists on the mount.
    const Result exported = cli(
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
    QProcess find;
    find.start(QStringLiteral("find"), {image.mountPoint(), QStringLiteral("-type"), QStringLiteral("f"),
                                        QStringLiteral("-printf"), QStringLiteral("%P %s\\n")});
    ASSERT_TRUE(find.waitForFinished(60000));
    std::set<QString> listed;
    for (const QString& line :
         QString::fromUtf8(find.readAllStandardOutput()).split(QLatin1Char('\n'), Qt::SkipEmptyParts)) {
        listed.insert(line);
    }
    EXPECT_EQ(catalogued, listed);

    EXPECT_EQ(
        cli({QStringLiteral("remove"), QStringLiteral("آرشيو ۱"), QStringLiteral("--catalog"), catalog}).code,
        1);
    EXPECT_EQ(cli({QStringLiteral("remove"), QStringLiteral("آرشيو ۱"), QStringLiteral("--yes"),
                   QStringLiteral("--catalog"), catalog})
                  .code,
              0);
    EXPECT_EQ(cli({QStringLiteral("export"), QStringLiteral("--catalog"), catalog}).code, 1);
    EXPECT_EQ(cli({QStringLiteral("disks"), QStringLiteral("--catalog"), catalog}).code, 1);
}

}  // namespace
}  // namespace vt::test
