#include <gtest/gtest.h>

#include <QComboBox>
#include <QCoreApplication>
#include <QDir>
#include <QDragEnterEvent>
#include <QDropEvent>
#include <QFile>
#include <QLabel>
#include <QMenu>
#include <QMimeData>
#include <QTemporaryDir>
#include <QUrl>
#include <map>
#include <tuple>

#include "app/MDIForm1.h"
#include "app/Startup.h"
#include "app/WindowRegistry.h"
#include "catalog/ConnectionString.h"
#include "catalog/SqliteStatement.h"
#include "platform/AttachedImageFileSystem.h"
#include "platform/AttachedImages.h"
#include "platform/LinuxDriveTable.h"
#include "platform/LinuxFileSystem.h"
#include "scan/DriveDetails.h"
#include "scan/ImageTexts.h"
#include "scan/ScanCommand.h"
#include "scan/ScanProgress.h"
#include "scan/frmMain.h"
#include "search/LeftToRight.h"
#include "support/FakeDrives.h"
#include "support/FakeMessageService.h"
#include "support/FakeShell.h"
#include "support/FakeSystemColors.h"
#include "support/IsoImage.h"
#include "support/MountedImage.h"
#include "window/AppContext.h"

namespace vt::test {
namespace {

class QuietProgress final : public ScanProgress {
  public:
    void started() override {}
    void pause(long) override {}
};

void writeFile(const QString& path, qint64 size) {
    QDir().mkpath(QFileInfo(path).absolutePath());
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write(QByteArray(int(size), 'v'));
}

void writeTree(const QString& root) {
    writeFile(root + QStringLiteral("/راهنما.txt"), 1234);
    writeFile(root + QStringLiteral("/read me now.txt"), 0);
    writeFile(root + QStringLiteral("/\"quoted\" and 'single'.doc"), 17);
    writeFile(root + QStringLiteral("/.hidden"), 5);
    writeFile(root + QStringLiteral("/موسیقی ایرانی/آهنگ یک.mp3"), 300000);
    writeFile(root + QStringLiteral("/موسیقی ایرانی/آلبوم دوم/قطعه 2.mp3"), 70001);
    writeFile(root + QStringLiteral("/Setup Files/data 1.cab"), 4096);
    QDir().mkpath(root + QStringLiteral("/empty folder"));
}

// The root of the drive whose mount point is `mountPoint`; empty when none is.
QString rootMountedAt(const DriveTable& drives, const QString& mountPoint) {
    for (int i = 0; i < 16; ++i) {
        const QString root = QString(QChar('A' + i)) + QStringLiteral(":\\");
        if ((drives.logicalDrives() & (1u << i)) && drives.mountPoint(root) == mountPoint) return root;
    }
    return {};
}

// Path within the disc to name, size and attribute text, as catalogued under `disk`.
using Rows = std::map<QString, std::tuple<QString, double, QString>>;

struct Catalogued {
    Rows rows;
    QString serial, usedSize, files;
};

// Catalogues the disc under `root` as `disk` and reads back what was stored.
Catalogued scan(Connection& cn, const DriveTable& drives, FileSystem& files, const QString& root,
                const QString& disk) {
    Recordset rsDisks, rsBankList;
    ScanCommand command(cn, rsDisks, rsBankList, drives, files);
    QuietProgress progress;
    const DriveDetails details = readDriveDetails(drives, root);
    const ScanSummary summary = command.run({root, disk, details.serial, details.usedSize}, progress);
    EXPECT_EQ(summary.outcome, ScanOutcome::Finished) << summary.detail.toStdString();
    EXPECT_EQ(summary.skipped, 0);
    Catalogued result;
    SqliteStatement rows(cn.handle(),
                         QStringLiteral("SELECT FilePath, FileName, FileSize, FileAttr FROM BankList "
                                        "WHERE DiskName = '%1'")
                             .arg(disk));
    while (rows.step()) {
        const QString path = rows.column(0).toString();
        EXPECT_TRUE(path.startsWith(root)) << path.toStdString();
        result.rows[path.mid(3)] = {rows.column(1).toString(), rows.column(2).toDouble(),
                                    rows.column(3).toString()};
    }
    SqliteStatement disc(cn.handle(), QStringLiteral("SELECT * FROM Disks WHERE DiskName = '%1'").arg(disk));
    EXPECT_TRUE(disc.step());
    result.serial = disc.column(1).toString();
    result.usedSize = disc.column(2).toString();
    result.files = disc.column(3).toString();
    return result;
}

TEST(AttachedImage, IsCataloguedExactlyAsItsFuseIsoMountIs) {
    const QString reason = MountedImage::unavailableReason();
    if (!reason.isEmpty()) GTEST_SKIP() << reason.toStdString();
    QTemporaryDir tree, program;
    writeTree(tree.path());
    MountedImage image(tree.path(), QStringLiteral("بایگانی 7"));
    ASSERT_TRUE(image.error().isEmpty()) << image.error().toStdString();

    Connection cn;
    cn.setConnectionString(buildConnectionString(program.path()));
    cn.Open();

    LinuxDriveTable mountedDrives;
    LinuxFileSystem mountedFiles(mountedDrives);
    const QString mountedRoot = rootMountedAt(mountedDrives, image.mountPoint());
    ASSERT_FALSE(mountedRoot.isEmpty()) << "the mounted image is not listed as an optical drive";
    const Catalogued mounted = scan(cn, mountedDrives, mountedFiles, mountedRoot, QStringLiteral("Mounted"));

    AttachedImages drives(mountedDrives);
    AttachedImageFileSystem files(mountedFiles, drives);
    const AttachedImages::Attached attached = drives.attach(image.imagePath());
    ASSERT_FALSE(attached.root.isEmpty()) << attached.error.toStdString();
    EXPECT_NE(attached.root, mountedRoot);
    EXPECT_EQ(drives.driveType(attached.root), kDriveTypeCdRom);
    const Catalogued direct = scan(cn, drives, files, attached.root, QStringLiteral("Attached"));

    EXPECT_EQ(mounted.rows.size(), 7u);
    EXPECT_EQ(direct.rows, mounted.rows);
    EXPECT_EQ(direct.serial, mounted.serial);
    EXPECT_NE(direct.serial, QStringLiteral("0"));
    EXPECT_EQ(direct.usedSize, mounted.usedSize);
    EXPECT_EQ(direct.files, mounted.files);
    EXPECT_EQ(drives.volumeInformation(attached.root).label,
              mountedDrives.volumeInformation(mountedRoot).label);
    // The mount itself is still its own drive beside the image.
    EXPECT_EQ(drives.mountPoint(mountedRoot), image.mountPoint());
    EXPECT_EQ(drives.mountPoint(attached.root), image.imagePath());
}

// The new-disk window over a machine with one disc in D: and images attached beside it.
class AttachedImageWindow : public ::testing::Test {
  protected:
    void SetUp() override {
        FakeDriveTable::Drive disc;
        disc.folder = discFolder.path();
        disc.space = DiskSpace{1000, 0};
        disc.volume = VolumeInformation{QStringLiteral("DISC"), QStringLiteral("CDFS"), 1};
        mounted.add(QLatin1Char('D'), disc);
    }
    void openCatalogue() {
        context.cnCatalog.setConnectionString(buildConnectionString(program.path()));
        context.cnCatalog.Open();
    }

    QString makeImage(const QString& name, const QString& label) {
        const QString path = program.filePath(name);
        writeTree(discFolder.filePath(name + QStringLiteral(".tree")));
        EXPECT_EQ(test::makeIsoImage(
                      path, {QStringLiteral("-R"), QStringLiteral("-J"), QStringLiteral("-V"), label},
                      discFolder.filePath(name + QStringLiteral(".tree"))),
                  QString());
        return path;
    }

    QTemporaryDir program, discFolder;
    FakeMessageService messages;
    FakeDriveTable mounted;
    FakeFileSystem mountedFiles{mounted};
    AttachedImages drives{mounted};
    AttachedImageFileSystem files{mountedFiles, drives};
    FakeShell shell;
    FakeSystemColors colors;
    AppContext context{Platform{messages, drives, files, shell, colors, program.path(), &drives}};
};

TEST_F(AttachedImageWindow, AttachedImagesAreListedWithTheirDetailsAndDetachedFromTheMenu) {
    if (std::system("command -v xorriso >/dev/null") != 0) GTEST_SKIP() << "xorriso is not installed";
    const QString first = makeImage(QStringLiteral("first.iso"), QStringLiteral("FIRST"));
    const QString second = makeImage(QStringLiteral("second.iso"), QStringLiteral("SECOND"));
    openCatalogue();
    frmMain form(context);
    form.Form_Load();
    ASSERT_EQ(form.Combo1()->count(), 1);

    form.attachImages({first, program.filePath(QStringLiteral("missing.iso")), second});
    ASSERT_EQ(form.Combo1()->count(), 3);
    EXPECT_EQ(form.Combo1()->itemText(1), QStringLiteral("E:\\"));
    EXPECT_EQ(form.Combo1()->itemText(2), QStringLiteral("F:\\"));
    // The last one attached is shown, its file as the list's tip.
    EXPECT_EQ(form.Combo1()->currentText(), QStringLiteral("F:\\"));
    EXPECT_EQ(form.Combo1()->toolTip(), leftToRight(second));
    EXPECT_EQ(form.Label1(5)->text(), QStringLiteral("SECOND"));
    EXPECT_EQ(form.Label1(6)->text(), QStringLiteral("iso9660"));
    EXPECT_EQ(form.Label1(4)->text(), formatUsedSize(QFileInfo(second).size()));
    ASSERT_EQ(messages.texts().size(), 1);
    EXPECT_TRUE(messages.texts().front().startsWith(
        ImageTexts::unreadable(program.filePath(QStringLiteral("missing.iso")), QString())));

    // A disc is no image: there is nothing to detach.
    form.Combo1()->setCurrentIndex(0);
    emit form.Combo1()->activated(0);
    emit form.Combo1()->customContextMenuRequested(QPoint(1, 1));
    EXPECT_FALSE(form.mnuDetachImage()->isEnabled());
    form.mnuImage()->hide();

    form.Combo1()->setCurrentIndex(1);
    emit form.Combo1()->activated(1);
    emit form.Combo1()->customContextMenuRequested(QPoint(1, 1));
    ASSERT_TRUE(form.mnuDetachImage()->isEnabled());
    form.mnuDetachImage()->trigger();
    form.mnuImage()->hide();
    ASSERT_EQ(form.Combo1()->count(), 2);
    EXPECT_EQ(form.Combo1()->itemText(1), QStringLiteral("F:\\"));
    EXPECT_EQ(form.Combo1()->currentText(), QStringLiteral("D:\\"));
    EXPECT_EQ(form.Label1(5)->text(), QStringLiteral("DISC"));
    // The letter that came free is the next one given.
    EXPECT_EQ(drives.attach(first).root, QStringLiteral("E:\\"));
}

// Drops `files` on `target` as the window system delivers a drop: entering first, then the drop itself.
void drop(QWidget& target, const QStringList& files) {
    QMimeData data;
    QList<QUrl> urls;
    for (const QString& file : files) urls << QUrl::fromLocalFile(file);
    data.setUrls(urls);
    EXPECT_TRUE(target.acceptDrops());
    QDragEnterEvent enter(QPoint(5, 5), Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
    QCoreApplication::sendEvent(&target, &enter);
    EXPECT_TRUE(enter.isAccepted());
    QDropEvent dropped(QPointF(5, 5), Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
    QCoreApplication::sendEvent(&target, &dropped);
    QCoreApplication::processEvents();
}

TEST_F(AttachedImageWindow, ImagesDroppedOnTheMainFrameOrTheNewDiskWindowAreAttachedAndShown) {
    if (std::system("command -v xorriso >/dev/null") != 0) GTEST_SKIP() << "xorriso is not installed";
    const QString first = makeImage(QStringLiteral("first.iso"), QStringLiteral("FIRST"));
    const QString second = makeImage(QStringLiteral("second.iso"), QStringLiteral("SECOND"));
    std::unique_ptr<MDIForm1> frame = startUp(context);
    ASSERT_TRUE(frame);
    frmMain* form = frame->windows().mainWindow();
    ASSERT_TRUE(form);

    drop(*frame, {first});
    ASSERT_EQ(form->Combo1()->count(), 2);
    EXPECT_EQ(form->Combo1()->currentText(), QStringLiteral("E:\\"));
    EXPECT_EQ(form->Label1(5)->text(), QStringLiteral("FIRST"));

    drop(*form, {second});
    ASSERT_EQ(form->Combo1()->count(), 3);
    EXPECT_EQ(form->Combo1()->currentText(), QStringLiteral("F:\\"));
    EXPECT_EQ(form->Label1(5)->text(), QStringLiteral("SECOND"));
    EXPECT_TRUE(messages.texts().isEmpty()) << messages.texts().join('\n').toStdString();
}

}  // namespace
}  // namespace vt::test
