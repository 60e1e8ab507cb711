#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <optional>

#include "platform/LinuxDriveTable.h"
#include "platform/ProcMountList.h"
#include "platform/SharedDriveLetters.h"
#include "platform/VolumeDescriptor.h"
#include "support/FakeMounts.h"
#include "support/MountedImage.h"

namespace vt {
namespace {

// The root of the drive whose mount point is `folder`, if the table shows one.
std::optional<QString> rootOf(const LinuxDriveTable& drives, const QString& folder) {
    const std::uint32_t mask = drives.logicalDrives();
    for (int i = 0; i < 26; ++i) {
        const QString root = QString(QChar('A' + i)) + QStringLiteral(":\\");
        if ((mask & (1u << i)) && drives.mountPoint(root) == folder) return root;
    }
    return std::nullopt;
}

// Every letter the table shows with the mount point under it, e.g. "D:/mnt/a E:/mnt/b".
std::string shown(const LinuxDriveTable& drives) {
    QStringList shown;
    const std::uint32_t mask = drives.logicalDrives();
    for (int i = 0; i < 26; ++i) {
        const QString letter = QString(QChar('A' + i)) + QLatin1Char(':');
        if (mask & (1u << i)) shown << letter + drives.mountPoint(letter + QLatin1Char('\\'));
    }
    return shown.join(QLatin1Char(' ')).toStdString();
}

// A disc image mounted with fuseiso, as the kernel lists it.
MountEntry image(const char* mountPoint, const char* deviceNumber, const char* mountId) {
    MountEntry m;
    m.mountId = QString::fromLatin1(mountId);
    m.deviceNumber = QString::fromLatin1(deviceNumber);
    m.root = QStringLiteral("/");
    m.mountPoint = QString::fromUtf8(mountPoint);
    m.fsType = QStringLiteral("fuse.fuseiso");
    m.source = QStringLiteral("fuseiso");
    return m;
}

const MountEntry kM = image("/mnt/m", "0:41", "51");
const MountEntry kZ = image("/mnt/z", "0:42", "52");

TEST(LinuxDriveTable, AMountedDiscImageIsAnOpticalDriveUntilUnmounted) {
    const QString reason = test::MountedImage::unavailableReason();
    if (!reason.isEmpty()) GTEST_SKIP() << reason.toStdString();

    QTemporaryDir tree;
    QDir(tree.path()).mkpath(QStringLiteral("پوشه/sub"));
    QFile file(tree.filePath(QStringLiteral("پوشه/a b.txt")));
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write(QByteArray(3000, 'x'));
    file.close();

    LinuxDriveTable drives;  // made before the mount: it must notice the new one
    drives.logicalDrives();
    QString mountPoint;
    {
        test::MountedImage image(tree.path(), QStringLiteral("ARCHIVE_7"));
        ASSERT_TRUE(image.error().isEmpty()) << image.error().toStdString();
        mountPoint = image.mountPoint();
        const std::optional<QString> root = rootOf(drives, mountPoint);
        ASSERT_TRUE(root) << "the mounted image is not shown as a drive";
        EXPECT_GE(root->at(0), QLatin1Char('D'));
        EXPECT_LE(root->at(0), QLatin1Char('P'));
        EXPECT_EQ(drives.driveType(*root), kDriveTypeCdRom);

        const std::optional<DiscVolume> disc = readDiscVolume(image.imagePath(), false);
        ASSERT_TRUE(disc);
        const VolumeInformation info = drives.volumeInformation(*root);
        EXPECT_EQ(info.label, QStringLiteral("ARCHIVE_7"));
        EXPECT_EQ(info.fileSystemName, QStringLiteral("fuse.fuseiso"));
        EXPECT_EQ(info.serial, disc->serial);
        EXPECT_NE(info.serial, 0u);

        const DiskSpace space = drives.diskSpace(*root);
        EXPECT_EQ(space.totalBytes, disc->volumeBytes);
        EXPECT_EQ(space.totalBytes, std::uint64_t(QFileInfo(image.imagePath()).size()));
        EXPECT_EQ(space.freeBytes, 0u);
        EXPECT_TRUE(drives.readOnlyVolume(*root));
        EXPECT_EQ(drives.nativePath(*root + QStringLiteral("پوشه\\a b.txt")),
                  mountPoint + QStringLiteral("/پوشه/a b.txt"));
        EXPECT_EQ(drives.driveType(QStringLiteral("C:\\")), 0);

        const QString medium = drives.mediumIdentity(*root);
        EXPECT_FALSE(medium.isEmpty());
        EXPECT_TRUE(medium.contains(QString::number(disc->serial)));
        EXPECT_EQ(drives.mediumIdentity(*root), medium) << "the same medium reads the same";
        EXPECT_TRUE(drives.mediumIdentity(QStringLiteral("C:\\")).isEmpty());
        ASSERT_TRUE(image.killServer());
        EXPECT_TRUE(drives.mediumIdentity(*root).isEmpty()) << "a mount whose server died holds no medium";
    }
    EXPECT_FALSE(rootOf(drives, mountPoint)) << "an unmounted image is still shown";
}

TEST(SharedDriveLetters, EveryProgramOfTheSessionShowsAMediumUnderTheSameLetter) {
    QTemporaryDir session;
    test::FakeMounts machine;
    machine.set({kM, kZ});
    LinuxDriveTable window(machine.view(), session.path());
    EXPECT_EQ(shown(window), "D:/mnt/m E:/mnt/z");

    // The new image sorts before the others: a program started after it came must not move them up a
    // letter, whichever program looks first.
    const MountEntry a = image("/mnt/a", "0:43", "53");
    machine.set({kM, kZ, a});
    LinuxDriveTable script(machine.view(), session.path());
    EXPECT_EQ(shown(script), "D:/mnt/m E:/mnt/z F:/mnt/a");
    EXPECT_EQ(shown(window), "D:/mnt/m E:/mnt/z F:/mnt/a");

    // Media come and go: the others keep their letters, and a freed one goes to the next new medium.
    machine.set({kZ, a});
    EXPECT_EQ(shown(script), "E:/mnt/z F:/mnt/a");
    const MountEntry b = image("/mnt/b", "0:44", "54");
    machine.set({kZ, a, b});
    EXPECT_EQ(shown(window), "D:/mnt/b E:/mnt/z F:/mnt/a");
    EXPECT_EQ(shown(script), "D:/mnt/b E:/mnt/z F:/mnt/a");
    EXPECT_EQ(shown(LinuxDriveTable(machine.view(), session.path())), "D:/mnt/b E:/mnt/z F:/mnt/a");
}

TEST(SharedDriveLetters, AMediumUnmountedWhileNoProgramRanFreesItsLetter) {
    QTemporaryDir session;
    test::FakeMounts machine;
    machine.set({kM, kZ});
    EXPECT_EQ(shown(LinuxDriveTable(machine.view(), session.path())), "D:/mnt/m E:/mnt/z");

    machine.set({kZ, image("/mnt/zz", "0:41", "51")});  // the ids of the one gone, at another place
    EXPECT_EQ(shown(LinuxDriveTable(machine.view(), session.path())), "D:/mnt/zz E:/mnt/z");
}

TEST(SharedDriveLetters, ADamagedTableCountsAsEmptyAndWithoutATableEachProgramKeepsItsOwnLetters) {
    test::FakeMounts machine;
    machine.set({kM, kZ});
    const QByteArray sound = R"({"letter": "E", "mountId": "51", "device": "0:41", "mountPoint": "/mnt/m"})";
    const QByteArray damages[] = {
        "[" + sound + ",",                                     // cut short
        "[" + sound + R"(, {"letter": "F", "mountId": 52}])",  // a row not whole
        QByteArray(5000, '\0'),
        // Sound rows whose letters must not be kept: out of range, and one letter given twice.
        R"([{"letter": "~", "mountId": "51", "device": "0:41", "mountPoint": "/mnt/m"}])",
        R"([{"letter": "a", "mountId": "51", "device": "0:41", "mountPoint": "/mnt/m"}])",
        R"([{"letter": "E", "mountId": "51", "device": "0:41", "mountPoint": "/mnt/m"},
            {"letter": "E", "mountId": "52", "device": "0:42", "mountPoint": "/mnt/z"}])",
    };
    const std::string expected[] = {"D:/mnt/m E:/mnt/z", "D:/mnt/m E:/mnt/z", "D:/mnt/m E:/mnt/z",
                                    "D:/mnt/m E:/mnt/z", "D:/mnt/m E:/mnt/z", "D:/mnt/z E:/mnt/m"};
    for (std::size_t i = 0; i < std::size(damages); ++i) {
        QTemporaryDir session;
        QFile table(session.filePath(QStringLiteral("drive-letters")));
        ASSERT_TRUE(table.open(QIODevice::WriteOnly));
        table.write(damages[i]);
        table.close();
        EXPECT_EQ(shown(LinuxDriveTable(machine.view(), session.path())), expected[i])
            << damages[i].constData();
        // The next program finds a sound table again.
        EXPECT_EQ(shown(LinuxDriveTable(machine.view(), session.path())), expected[i])
            << damages[i].constData();
    }

    // Without a folder for the table a program still keeps its letters while others come.
    LinuxDriveTable alone(machine.view(), QStringLiteral("/nonexistent/vellumtrove"));
    EXPECT_EQ(shown(alone), "D:/mnt/m E:/mnt/z");
    machine.set({kM, kZ, image("/mnt/a", "0:43", "53")});
    EXPECT_EQ(shown(alone), "D:/mnt/m E:/mnt/z F:/mnt/a");
}

TEST(SharedDriveLetters, TheTableLivesInAFolderOnlyThisUserCanEnter) {
    const QByteArray saved = qgetenv("XDG_RUNTIME_DIR");
    const bool wasSet = qEnvironmentVariableIsSet("XDG_RUNTIME_DIR");
    QTemporaryDir runtime;
    const QString ours = runtime.filePath(QStringLiteral("vellumtrove"));
    const QString underTmp = QStringLiteral("/tmp/vellumtrove-%1").arg(::geteuid());
    qputenv("XDG_RUNTIME_DIR", QFile::encodeName(runtime.path()));
    EXPECT_EQ(sessionStateFolder(), ours);
    struct stat info {};
    ASSERT_EQ(::stat(QFile::encodeName(ours).constData(), &info), 0);
    EXPECT_EQ(info.st_mode & 0777, 0700u);

    // A folder others may enter is not used; neither is a runtime folder that is gone or none at all.
    ::chmod(QFile::encodeName(ours).constData(), 0755);
    EXPECT_EQ(sessionStateFolder(), underTmp);
    qputenv("XDG_RUNTIME_DIR", QFile::encodeName(runtime.filePath(QStringLiteral("gone"))));
    EXPECT_EQ(sessionStateFolder(), underTmp);
    qunsetenv("XDG_RUNTIME_DIR");
    EXPECT_EQ(sessionStateFolder(), underTmp);
    ASSERT_EQ(::stat(QFile::encodeName(underTmp).constData(), &info), 0);
    EXPECT_EQ(info.st_mode & 0777, 0700u);
    if (wasSet) qputenv("XDG_RUNTIME_DIR", saved);
}

TEST(SharedDriveLetters, AMountedImageKeepsItsLetterInTheNextProgram) {
    const QString reason = test::MountedImage::unavailableReason();
    if (!reason.isEmpty()) GTEST_SKIP() << reason.toStdString();

    QTemporaryDir tree, session;
    std::optional<test::MountedImage> images[2];
    for (auto& image : images) {
        image.emplace(tree.path(), QStringLiteral("IMAGE"));
        ASSERT_TRUE(image->error().isEmpty()) << image->error().toStdString();
    }
    int stays = 0;
    std::optional<QString> kept;
    {
        LinuxDriveTable earlier(std::make_unique<ProcMountList>(), session.path());
        const std::optional<QString> roots[2] = {rootOf(earlier, images[0]->mountPoint()),
                                                 rootOf(earlier, images[1]->mountPoint())};
        ASSERT_TRUE(roots[0] && roots[1]);
        stays = *roots[0] < *roots[1] ? 1 : 0;
        kept = roots[stays];
    }
    // The image under the lower letter goes; the other must not move down into its letter.
    images[1 - stays].reset();
    LinuxDriveTable later(std::make_unique<ProcMountList>(), session.path());
    EXPECT_EQ(rootOf(later, images[stays]->mountPoint()), kept);
}

}  // namespace
}  // namespace vt
