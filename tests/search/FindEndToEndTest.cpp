// A real disc image, catalogued through the new-disk window, found through the search window and opened
// from the mount it is on, with the machine's own drive table and file system.
#include <gtest/gtest.h>

#include <QComboBox>
#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QLineEdit>
#include <QTemporaryDir>
#include <QTreeWidget>

#include "catalog/ConnectionString.h"
#include "platform/LinuxDriveTable.h"
#include "platform/LinuxFileSystem.h"
#include "scan/frmMain.h"
#include "search/frmFind.h"
#include "support/FakeMessageService.h"
#include "support/FakeShell.h"
#include "support/FakeSystemColors.h"
#include "support/MountedImage.h"
#include "window/AppContext.h"

namespace vt::test {
namespace {

QString rootOf(const DriveTable& drives, const QString& mountPoint) {
    for (int i = 0; i < 16; ++i) {
        const QString root = QString(QChar('A' + i)) + QStringLiteral(":\\");
        if ((drives.logicalDrives() & (1u << i)) && drives.mountPoint(root) == mountPoint) return root;
    }
    return {};
}

void writeFile(const QString& path, int bytes) {
    QDir().mkpath(QFileInfo(path).absolutePath());
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write(QByteArray(bytes, 'x'));
}

TEST(FindEndToEnd, AFileOnAMountedDiscImageIsScannedFoundAndOpenedFromTheMount) {
    const QString reason = MountedImage::unavailableReason();
    if (!reason.isEmpty()) GTEST_SKIP() << reason.toStdString();

    // A folder name of this run only, so that no other mounted disc can hold the same paths.
    const QString top = QStringLiteral("آرشيو %1").arg(QCoreApplication::applicationPid());
    QTemporaryDir tree;
    writeFile(tree.filePath(top + QStringLiteral("/Music/01 - Bidad.mp3")), 4321);
    writeFile(tree.filePath(top + QStringLiteral("/اسناد/سفر نوروز.txt")), 12);
    writeFile(tree.filePath(QStringLiteral("readme.txt")), 5);
    MountedImage image(tree.path(), QStringLiteral("SEARCH_E2E"));
    ASSERT_TRUE(image.error().isEmpty()) << image.error().toStdString();

    QTemporaryDir programFolder;
    LinuxDriveTable drives;
    LinuxFileSystem fileSystem(drives);
    FakeMessageService messages;
    FakeShell shell;
    FakeSystemColors colors;
    AppContext context(Platform{messages, drives, fileSystem, shell, colors, programFolder.path()});
    openCatalogue(context.cnCatalog, buildConnectionString(programFolder.path()));

    const QString root = rootOf(drives, image.mountPoint());
    ASSERT_FALSE(root.isEmpty()) << "the mounted image is not shown as a drive";
    {
        frmMain scan(context);
        scan.Form_Load();
        const int entry = scan.Combo1()->findText(root);
        ASSERT_GE(entry, 0);
        scan.Combo1()->setCurrentIndex(entry);
        scan.Combo1_Click();
        scan.Text3()->setText(QStringLiteral("ديسك آزمايشي"));
        scan.cmdStart_Click();
    }
    ASSERT_EQ(messages.shown.size(), 1u) << messages.texts().join(QLatin1Char('|')).toStdString();
    messages.clear();

    Recordset windowRecordset;
    frmFind find(context, windowRecordset);
    find.Form_Load();
    auto* text1 = find.findChild<QLineEdit*>(QStringLiteral("Text1"));
    auto* combo1 = find.findChild<QComboBox*>(QStringLiteral("Combo1"));
    auto* list = find.findChild<QTreeWidget*>(QStringLiteral("ListView1"));
    ASSERT_EQ(combo1->count(), 2);

    const struct {
        QString text;
        QString within;  // the path within the disc, as stored after the drive root
        QString size;
    } cases[] = {
        {QStringLiteral("bidad"), top + QStringLiteral("\\Music\\01 - Bidad.mp3"), QStringLiteral("4321")},
        {QStringLiteral("نوروز"), top + QStringLiteral("\\اسناد\\سفر نوروز.txt"), QStringLiteral("12")}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.text.toStdString());
        shell.opened.clear();
        text1->setText(c.text);
        combo1->setCurrentIndex(1);
        find.cmdDelete_Click();
        ASSERT_EQ(list->topLevelItemCount(), 1);
        QTreeWidgetItem* row = list->topLevelItem(0);
        EXPECT_EQ(row->text(0), root + c.within);
        EXPECT_EQ(row->text(1), QStringLiteral("ديسك آزمايشي"));
        EXPECT_EQ(row->text(2), c.size);

        row->setSelected(true);
        find.ListView1_DblClick();
        ASSERT_EQ(shell.opened.size(), 1u);
        QString native = c.within;
        native.replace(QLatin1Char('\\'), QLatin1Char('/'));
        EXPECT_EQ(shell.opened[0].file, image.mountPoint() + QLatin1Char('/') + native);
        EXPECT_EQ(shell.opened[0].workingFolder, image.mountPoint());
        EXPECT_TRUE(QFileInfo::exists(shell.opened[0].file));
    }
    EXPECT_EQ(messages.shown.size(), 2u);  // the offer to open, once per file
}

}  // namespace
}  // namespace vt::test
