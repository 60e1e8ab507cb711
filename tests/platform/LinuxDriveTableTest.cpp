#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <optional>

#include "platform/LinuxDriveTable.h"
#include "platform/VolumeDescriptor.h"
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

}  // namespace
}  // namespace vt
