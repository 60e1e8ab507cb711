#include <gtest/gtest.h>

#include <QComboBox>
#include <QDateTime>
#include <QDir>
#include <QFile>
#include <QLabel>
#include <QProcess>
#include <QTemporaryDir>
#include <map>

#include "catalog/ConnectionString.h"
#include "catalog/SqliteStatement.h"
#include "platform/LinuxDriveTable.h"
#include "platform/LinuxFileSystem.h"
#include "scan/DriveDetails.h"
#include "scan/ScanTexts.h"
#include "scan/frmMain.h"
#include "search/LeftToRight.h"
#include "support/FakeMessageService.h"
#include "support/FakeShell.h"
#include "support/FakeSystemColors.h"
#include "support/MountedImage.h"
#include "window/AppContext.h"

namespace vt::test {
namespace {

void writeFile(const QString& path, qint64 size) {
    QDir().mkpath(QFileInfo(path).absolutePath());
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write(QByteArray(int(size), 'v'));
}

// What find lists under `folder`: drive path (with `root` in front, backslashes) to size.
std::map<QString, double> findListing(const QString& folder, const QString& root) {
    QProcess find;
    find.start(QStringLiteral("find"), {folder, QStringLiteral("-type"), QStringLiteral("f"),
                                        QStringLiteral("-printf"), QStringLiteral("%s %P\\n")});
    EXPECT_TRUE(find.waitForFinished(60000));
    std::map<QString, double> listing;
    for (const QString& line : QString::fromUtf8(find.readAllStandardOutput()).split(QLatin1Char('\n'))) {
        const int blank = line.indexOf(QLatin1Char(' '));
        if (blank < 0) continue;
        QString path = line.mid(blank + 1);
        listing[root + path.replace(QLatin1Char('/'), QLatin1Char('\\'))] = line.left(blank).toDouble();
    }
    return listing;
}

TEST(RealDisc, AMountedImageIsCataloguedExactlyAsFindListsIt) {
    const QString reason = MountedImage::unavailableReason();
    if (!reason.isEmpty()) GTEST_SKIP() << reason.toStdString();

    QTemporaryDir tree, program;
    writeFile(tree.filePath(QStringLiteral("راهنما.txt")), 1234);
    writeFile(tree.filePath(QStringLiteral("read me now.txt")), 0);
    writeFile(tree.filePath(QStringLiteral(".hidden")), 5);
    writeFile(tree.filePath(QStringLiteral("موسیقی ایرانی/آهنگ یک.mp3")), 300000);
    writeFile(tree.filePath(QStringLiteral("موسیقی ایرانی/آلبوم دوم/قطعه 2.mp3")), 70001);
    writeFile(tree.filePath(QStringLiteral("Setup Files/data 1.cab")), 4096);
    QDir().mkpath(tree.filePath(QStringLiteral("empty folder")));
    // Dates the disc must give back: one file at the top, one two folders down.
    const std::map<QString, QString> touched{
        {QStringLiteral("راهنما.txt"), QStringLiteral("2019-03-04 10:20:30 UTC")},
        {QStringLiteral("موسیقی ایرانی/آلبوم دوم/قطعه 2.mp3"), QStringLiteral("1999-12-31 23:59:58 UTC")}};
    for (const auto& [file, date] : touched) {
        ASSERT_EQ(
            QProcess::execute(QStringLiteral("touch"), {QStringLiteral("-d"), date, tree.filePath(file)}), 0);
    }
    MountedImage image(tree.path(), QStringLiteral("MY_ARCHIVE"));
    ASSERT_TRUE(image.error().isEmpty()) << image.error().toStdString();

    FakeMessageService messages;
    LinuxDriveTable drives;
    LinuxFileSystem fileSystem(drives);
    FakeShell shell;
    FakeSystemColors colors;
    AppContext context(Platform{messages, drives, fileSystem, shell, colors, program.path()});
    openCatalogue(context.cnCatalog, buildConnectionString(program.path()));

    frmMain form(context);
    form.Form_Load();
    int entry = -1;
    for (int i = 0; i < form.Combo1()->count(); ++i) {
        if (form.Combo1()->itemData(i, Qt::ToolTipRole).toString() == leftToRight(image.mountPoint()))
            entry = i;
    }
    ASSERT_GE(entry, 0) << "the mounted image is not listed as an optical drive";
    form.Combo1()->setCurrentIndex(entry);
    emit form.Combo1()->activated(entry);
    const QString root = form.Combo1()->currentText();
    EXPECT_EQ(form.Label1(5)->text(), QStringLiteral("MY_ARCHIVE"));
    EXPECT_EQ(form.Label1(6)->text(), QStringLiteral("fuse.fuseiso"));
    EXPECT_NE(form.Label1(7)->text(), QStringLiteral("0"));
    EXPECT_NE(form.Label1(4)->text(), formatUsedSize(0));

    const qint64 scanBegan = QDateTime::currentSecsSinceEpoch();
    form.cmdStart_Click();
    EXPECT_EQ(messages.texts(), QStringList{ScanTexts::finished()});

    const std::map<QString, double> expected = findListing(image.mountPoint(), root);
    ASSERT_EQ(expected.size(), 6u);
    std::map<QString, double> recorded;
    SqliteStatement rows(context.cnCatalog.handle(),
                         QStringLiteral("SELECT FilePath, FileSize, FileAttr, FileName "
                                        "FROM BankList ORDER BY _rowid_"));
    QStringList order;
    while (rows.step()) {
        const QString path = rows.column(0).toString();
        recorded[path] = rows.column(1).toDouble();
        order << path;
        EXPECT_TRUE(path.endsWith(rows.column(3).toString()));
        const bool hidden = rows.column(3).toString().startsWith(QLatin1Char('.'));
        EXPECT_EQ(rows.column(2).toString(),
                  hidden ? QStringLiteral("HiddenNormalReadOnly") : QStringLiteral("NormalReadOnly"));
    }
    EXPECT_EQ(recorded, expected);
    // The folder's own file comes before its subfolder's.
    EXPECT_LT(order.indexOf(root + QStringLiteral("موسیقی ایرانی\\آهنگ یک.mp3")),
              order.indexOf(root + QStringLiteral("موسیقی ایرانی\\آلبوم دوم\\قطعه 2.mp3")));

    SqliteStatement disk(context.cnCatalog.handle(), QStringLiteral("SELECT * FROM Disks"));
    ASSERT_TRUE(disk.step());
    EXPECT_EQ(disk.column(1).toString(), form.Label1(7)->text());
    EXPECT_EQ(disk.column(2).toString(), form.Label1(4)->text());
    EXPECT_EQ(disk.column(3).toString(), QStringLiteral("6"));
    EXPECT_EQ(disk.column(4).toString(), QStringLiteral("MY_ARCHIVE"));
    EXPECT_EQ(disk.column(5).toString(), QStringLiteral("fuse.fuseiso"));
    EXPECT_GE(disk.column(6).toLongLong(), scanBegan);
    EXPECT_LE(disk.column(6).toLongLong(), QDateTime::currentSecsSinceEpoch());

    // Every file's modification time, in UTC, as the disc records it.
    for (const auto& [file, date] : touched) {
        QString drivePath = root + file;
        SqliteStatement dated(context.cnCatalog.handle(),
                              QStringLiteral("SELECT FileModified FROM BankList WHERE FilePath = ?1"));
        dated.bind(1, drivePath.replace(QLatin1Char('/'), QLatin1Char('\\')));
        ASSERT_TRUE(dated.step()) << file.toStdString();
        const QDateTime touchedAt =
            QDateTime::fromString(date.chopped(4), QStringLiteral("yyyy-MM-dd HH:mm:ss"));
        EXPECT_EQ(dated.column(0).toLongLong(),
                  QDateTime(touchedAt.date(), touchedAt.time(), Qt::UTC).toSecsSinceEpoch())
            << file.toStdString();
    }
    SqliteStatement undated(context.cnCatalog.handle(),
                            QStringLiteral("SELECT count(*) FROM BankList WHERE FileModified IS NULL"));
    ASSERT_TRUE(undated.step());
    EXPECT_EQ(undated.column(0).toLongLong(), 0);
}

}  // namespace
}  // namespace vt::test
