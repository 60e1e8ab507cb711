#include <gtest/gtest.h>

#include "platform/DiscSource.h"
#include "platform/DrivePath.h"
#include "platform/MountInfo.h"
#include "platform/OpticalMounts.h"

namespace vt {
namespace {

MountEntry mount(const char* source, const char* point, const char* type, const char* device,
                 const char* root = "/") {
    MountEntry m;
    m.source = QString::fromUtf8(source);
    m.mountPoint = QString::fromUtf8(point);
    m.fsType = QString::fromUtf8(type);
    m.deviceNumber = QString::fromUtf8(device);
    m.root = QString::fromUtf8(root);
    m.mountId = m.deviceNumber + m.mountPoint;
    return m;
}

bool noCdRom(const QString&) {
    return false;
}

TEST(MountInfo, ParsesFieldsAndDecodesTheKernelsEscapes) {
    const QByteArray text =
        "22 27 0:21 / /proc rw,relatime - proc proc rw\n"
        "45 27 0:40 / /media/My\\040Disc\\134x rw,nosuid shared:7 master:1 - fuse.fuseiso fuseiso "
        "rw,user_id=0\n"
        "46 27 11:0 / /media/\xd8\xaf\xdb\x8c\xd8\xb3\xda\xa9 ro,relatime - iso9660 /dev/sr0 ro,norock\n"
        "garbage line without a separator\n"
        "\n";
    const std::vector<MountEntry> entries = parseMountInfo(text);
    ASSERT_EQ(entries.size(), 3u);
    EXPECT_EQ(entries[1].mountId, QStringLiteral("45"));
    EXPECT_EQ(entries[1].mountPoint, QStringLiteral("/media/My Disc\\x"));
    EXPECT_EQ(entries[1].fsType, QStringLiteral("fuse.fuseiso"));
    EXPECT_EQ(entries[1].source, QStringLiteral("fuseiso"));
    EXPECT_EQ(entries[1].deviceNumber, QStringLiteral("0:40"));
    EXPECT_FALSE(entries[1].readOnly());
    EXPECT_EQ(entries[2].mountPoint, QString::fromUtf8("/media/\xd8\xaf\xdb\x8c\xd8\xb3\xda\xa9"));
    EXPECT_EQ(entries[2].source, QStringLiteral("/dev/sr0"));
    EXPECT_TRUE(entries[2].readOnly());
    EXPECT_EQ(decodeMountField("a\\011b\\012c\\04"), QStringLiteral("a\tb\nc\\04"));
}

TEST(OpticalMounts, OnlyWholeOpticalMediaAreListed) {
    auto scsiType5 = [](const QString& device) { return device == QLatin1String("8:32"); };
    EXPECT_TRUE(isOpticalMount(mount("/dev/sr1", "/media/a", "hfsplus", "11:1"), noCdRom));
    EXPECT_TRUE(isOpticalMount(mount("/dev/loop3", "/mnt/img", "iso9660", "7:3"), noCdRom));
    EXPECT_TRUE(isOpticalMount(mount("/dev/loop4", "/mnt/dvd", "udf", "7:4"), noCdRom));
    EXPECT_TRUE(isOpticalMount(mount("fuseiso", "/mnt/f", "fuse.fuseiso", "0:40"), noCdRom));
    EXPECT_TRUE(isOpticalMount(mount("/dev/sdc", "/media/usbcd", "vfat", "8:32"), scsiType5));
    EXPECT_FALSE(isOpticalMount(mount("/dev/sda1", "/", "ext4", "8:1"), scsiType5));
    EXPECT_FALSE(isOpticalMount(mount("server:/x", "/net", "nfs", "0:50"), scsiType5));
    EXPECT_FALSE(isOpticalMount(mount("/dev/sr0", "/srv/sub", "iso9660", "11:0", "/sub"), noCdRom));
}

TEST(OpticalMounts, LettersRunFromDBySourceThenMountPointAndStopAtP) {
    std::vector<MountEntry> mounts = {
        mount("/dev/sda1", "/", "ext4", "8:1"),
        mount("fuseiso", "/mnt/b", "fuse.fuseiso", "0:41"),
        mount("/dev/sr1", "/media/cd2", "iso9660", "11:1"),
        mount("fuseiso", "/mnt/a", "fuse.fuseiso", "0:40"),
        mount("/dev/sr0", "/media/cd1", "iso9660", "11:0"),
        mount("/dev/sr0", "/media/again", "iso9660", "11:0"),  // the same disc mounted twice
    };
    std::vector<OpticalDrive> drives = assignOpticalLetters(mounts, noCdRom);
    ASSERT_EQ(drives.size(), 4u);
    EXPECT_EQ(drives[0].letter, QLatin1Char('D'));
    EXPECT_EQ(drives[0].mount.mountPoint, QStringLiteral("/media/again"));
    EXPECT_EQ(drives[1].mount.source, QStringLiteral("/dev/sr1"));
    EXPECT_EQ(drives[2].mount.mountPoint, QStringLiteral("/mnt/a"));
    EXPECT_EQ(drives[3].letter, QLatin1Char('G'));
    EXPECT_EQ(drives[3].mount.mountPoint, QStringLiteral("/mnt/b"));

    mounts.clear();
    for (int i = 0; i < 20; ++i) {
        mounts.push_back(mount("fuseiso", QStringLiteral("/mnt/%1").arg(i, 2, 10, QLatin1Char('0')).toUtf8(),
                               "fuse.fuseiso", QStringLiteral("0:%1").arg(60 + i).toUtf8()));
    }
    drives = assignOpticalLetters(mounts, noCdRom);
    ASSERT_EQ(drives.size(), 13u);
    EXPECT_EQ(drives.back().letter, QLatin1Char('P'));
    EXPECT_EQ(drives.back().mount.mountPoint, QStringLiteral("/mnt/12"));
}

TEST(OpticalMounts, ADiscKeepsItsLetterWhileOthersComeAndGo) {
    const MountEntry a = mount("fuseiso", "/mnt/a", "fuse.fuseiso", "0:40");
    const MountEntry b = mount("fuseiso", "/mnt/b", "fuse.fuseiso", "0:41");
    const MountEntry c = mount("fuseiso", "/mnt/c", "fuse.fuseiso", "0:42");
    std::vector<OpticalDrive> drives = assignOpticalLetters({a, b, c}, noCdRom);
    ASSERT_EQ(drives.size(), 3u);
    drives = assignOpticalLetters({b, c}, noCdRom, drives);  // D goes away
    ASSERT_EQ(drives.size(), 2u);
    EXPECT_EQ(drives[0].letter, QLatin1Char('E'));
    EXPECT_EQ(drives[0].mount.mountPoint, QStringLiteral("/mnt/b"));
    EXPECT_EQ(drives[1].letter, QLatin1Char('F'));
    const MountEntry late = mount("/dev/sr0", "/media/cd", "iso9660", "11:0");  // sorts first, comes last
    const MountEntry later = mount("fuseiso", "/mnt/z", "fuse.fuseiso", "0:43");
    drives = assignOpticalLetters({b, c, later, late}, noCdRom, drives);
    ASSERT_EQ(drives.size(), 4u);
    EXPECT_EQ(drives[0].letter, QLatin1Char('D'));
    EXPECT_EQ(drives[0].mount.source, QStringLiteral("/dev/sr0"));
    EXPECT_EQ(drives[1].mount.mountPoint, QStringLiteral("/mnt/b"));
    EXPECT_EQ(drives[3].letter, QLatin1Char('G'));
    EXPECT_EQ(drives[3].mount.mountPoint, QStringLiteral("/mnt/z"));
}

TEST(DrivePath, RootsAndPathsThatCouldLeaveTheDriveAreRefused) {
    EXPECT_EQ(driveLetter(QStringLiteral("d:\\x")), QChar(QLatin1Char('D')));
    EXPECT_EQ(driveLetter(QStringLiteral("E:")), QChar(QLatin1Char('E')));
    EXPECT_FALSE(driveLetter(QStringLiteral("D:x")));
    EXPECT_FALSE(driveLetter(QStringLiteral("/tmp")));
    EXPECT_FALSE(driveLetter(QStringLiteral("1:\\")));
    EXPECT_EQ(pathWithinDrive(QStringLiteral("D:\\")), QString());
    EXPECT_EQ(pathWithinDrive(QStringLiteral("D:\\setup\\data.cab")), QStringLiteral("setup/data.cab"));
    EXPECT_FALSE(pathWithinDrive(QStringLiteral("D:\\a\\..\\..\\etc\\passwd")));
    EXPECT_FALSE(pathWithinDrive(QStringLiteral("D:\\a/../../etc")));
    EXPECT_FALSE(pathWithinDrive(QStringLiteral("D:\\.")));
}

TEST(DiscSource, FuseIsoListGivesTheLatestImageForTheMountPoint) {
    const QByteArray mtab =
        "/old/one.iso /mnt/My\\040Disc fuseiso defaults 0 0\n"
        "/isos/\xd8\xa7\\040x.iso /elsewhere fuseiso defaults 0 0\n"
        "/isos/new\\040one.iso /mnt/My\\040Disc/ fuseiso defaults 0 0\n";
    EXPECT_EQ(fuseIsoImage(mtab, QStringLiteral("/mnt/My Disc")), QStringLiteral("/isos/new one.iso"));
    EXPECT_EQ(fuseIsoImage(mtab, QStringLiteral("/mnt/none")), QString());
}

TEST(DiscSource, FuseIsoCommandLineNamesTheImageOfItsMountPoint) {
    const QStringList args = {
        QStringLiteral("fuseiso"),     QStringLiteral("-n"),   QStringLiteral("-c"), QStringLiteral("UTF-8"),
        QStringLiteral("discs/a.iso"), QStringLiteral("mnt/"), QStringLiteral("-o"), QStringLiteral("ro")};
    EXPECT_EQ(fuseIsoImageFromCommandLine(args, QStringLiteral("/home/u"), QStringLiteral("/home/u/mnt")),
              QStringLiteral("/home/u/discs/a.iso"));
    EXPECT_EQ(fuseIsoImageFromCommandLine(args, QStringLiteral("/home/u"), QStringLiteral("/mnt")),
              QString());
}

}  // namespace
}  // namespace vt
