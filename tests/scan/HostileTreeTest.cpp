#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <QDir>
#include <QFile>
#include <algorithm>

#include "ScanFixture.h"
#include "platform/FileNames.h"
#include "platform/LinuxFileSystem.h"
#include "scan/ScanCommand.h"
#include "scan/ScanProgress.h"
#include "search/OpticalDriveSearch.h"
#include "support/RawTree.h"

namespace vt::test {
namespace {

// Progress for a scan without a window: counts the pauses.
class CountingProgress final : public ScanProgress {
  public:
    void started() override { ++starts; }
    void pause(long recorded) override { last = recorded; }
    int starts = 0;
    long last = 0;
};

// Makes `name` (raw bytes) inside the open folder `dir`; returns the new folder's descriptor or -1.
int makeFolder(int dir, const QByteArray& name) {
    if (::mkdirat(dir, name.constData(), 0755) != 0) return -1;
    return ::openat(dir, name.constData(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
}

bool makeFile(int dir, const QByteArray& name, int size) {
    const int fd = ::openat(dir, name.constData(), O_WRONLY | O_CREAT | O_CLOEXEC, 0644);
    if (fd < 0) return false;
    const bool ok = ::ftruncate(fd, size) == 0;
    ::close(fd);
    return ok;
}

class HostileTreeTest : public ScanFixture {
  protected:
    void TearDown() override { removeTree(disc.path()); }
};

TEST_F(HostileTreeTest, BadNamesAndOverlongPathsAreRecordedOrSkippedAndCountedWithoutAWindow) {
    const int root = ::open(QFile::encodeName(disc.path()).constData(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    ASSERT_GE(root, 0);
    ASSERT_TRUE(makeFile(root, "plain.txt", 3));
    ASSERT_TRUE(makeFile(root, "bad\xff\xfe name.txt", 9));  // not UTF-8: recorded, read as Windows-1256
    const int badFolder = makeFolder(root, "dir\xff");       // not UTF-8: entered by its own bytes
    ASSERT_GE(badFolder, 0);
    ASSERT_TRUE(makeFile(badFolder, "inside.txt", 1));
    ::close(badFolder);

    // A chain of folders whose full path outgrows what the system takes in one path (4096 bytes).
    int dir = ::dup(root);
    const QByteArray longName(250, 'n');
    for (int depth = 0; depth < 20; ++depth) {
        ASSERT_TRUE(makeFile(dir, "level.txt", depth));
        const int next = makeFolder(dir, longName);
        ASSERT_GE(next, 0);
        ::close(dir);
        dir = next;
    }
    ::close(dir);
    ::close(root);

    LinuxFileSystem fileSystem(platform.drives);
    CountingProgress progress;
    ScanCommand command(context.cnCatalog, context.rsDisks, context.rsBankList, platform.drives, fileSystem);
    const ScanSummary summary = command.run({QStringLiteral("D:\\"), QStringLiteral("Hostile"),
                                             QStringLiteral("1"), QStringLiteral("654,311,424 bytes")},
                                            progress);
    EXPECT_EQ(summary.outcome, ScanOutcome::Finished);
    EXPECT_EQ(progress.starts, 1);

    const QStringList recorded = paths();
    EXPECT_TRUE(recorded.contains(QStringLiteral("D:\\plain.txt")));
    // 0xFF is YEH BARREE and 0xFE the right-to-left mark in Windows-1256.
    EXPECT_TRUE(recorded.contains(QStringLiteral("D:\\bad") + QChar(0x06D2) + QChar(0x200F) +
                                  QStringLiteral(" name.txt")));
    EXPECT_TRUE(
        recorded.contains(QStringLiteral("D:\\dir") + QChar(0x06D2) + QStringLiteral("\\inside.txt")));
    int levels = 0;
    for (const QString& path : recorded) levels += path.endsWith(QLatin1String("\\level.txt")) ? 1 : 0;
    EXPECT_GT(levels, 10);
    EXPECT_LT(levels, 20) << "the deepest folders lie past the path limit";
    EXPECT_EQ(summary.recorded, recorded.size());
    EXPECT_EQ(summary.skipped, 1) << "the first folder past the limit";
    EXPECT_EQ(disks().at(0).at(3), QString::number(recorded.size()));
}

// The inode of `relative` (raw bytes) under the open folder `dir`, or 0.
ino_t inodeAt(int dir, const QByteArray& relative) {
    struct stat st {};
    return ::fstatat(dir, relative.constData(), &st, AT_SYMLINK_NOFOLLOW) == 0 ? st.st_ino : 0;
}

TEST_F(HostileTreeTest, NamesInWindows1256AndNamesHoldingBackslashesAreStoredReadablyAndOpen) {
    const QByteArray file1256("\xDD\xC7\xED\xE1");  // "فايل" as an old Persian disc writes it
    const QString file = QStringLiteral("فايل");
    const int root = ::open(QFile::encodeName(disc.path()).constData(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    ASSERT_GE(root, 0);
    ASSERT_TRUE(makeFile(root, file1256 + ".txt", 5));
    const int music = makeFolder(root, "music");
    ASSERT_GE(music, 0);
    ASSERT_TRUE(makeFile(music, "back\\slash.txt", 6));
    const int decoy = makeFolder(music, "back");  // a folder "back" without "slash.txt": taken back
    ASSERT_GE(decoy, 0);
    ::close(decoy);
    ::close(music);
    const int persianFolder = makeFolder(root, file1256);
    ASSERT_GE(persianFolder, 0);
    ASSERT_TRUE(makeFile(persianFolder, "inside.txt", 7));
    ::close(persianFolder);
    const int slashFolder = makeFolder(root, "back\\slash");
    ASSERT_GE(slashFolder, 0);
    ASSERT_TRUE(makeFile(slashFolder, file1256 + " 2.txt", 8));
    ::close(slashFolder);
    const int trailingFolder = makeFolder(root, "end\\");  // a name that ends with a backslash
    ASSERT_GE(trailingFolder, 0);
    ASSERT_TRUE(makeFile(trailingFolder, "in.txt", 9));
    ::close(trailingFolder);

    LinuxFileSystem fileSystem(platform.drives);
    CountingProgress progress;
    ScanCommand command(context.cnCatalog, context.rsDisks, context.rsBankList, platform.drives, fileSystem);
    const ScanSummary summary = command.run({QStringLiteral("D:\\"), QStringLiteral("Names"),
                                             QStringLiteral("1"), QStringLiteral("654,311,424 bytes")},
                                            progress);
    ASSERT_EQ(summary.outcome, ScanOutcome::Finished);
    EXPECT_EQ(summary.skipped, 0);

    // Stored path, stored name, and the real entry (relative to the disc, raw bytes) each must reach.
    struct Expected {
        QString path, name;
        QByteArray real;
    };
    const std::vector<Expected> expected = {
        {QStringLiteral("D:\\") + file + QStringLiteral(".txt"), file + QStringLiteral(".txt"),
         file1256 + ".txt"},
        {QStringLiteral("D:\\music\\back\\slash.txt"), QStringLiteral("back\\slash.txt"),
         "music/back\\slash.txt"},
        {QStringLiteral("D:\\") + file + QStringLiteral("\\inside.txt"), QStringLiteral("inside.txt"),
         file1256 + "/inside.txt"},
        {QStringLiteral("D:\\back\\slash\\") + file + QStringLiteral(" 2.txt"),
         file + QStringLiteral(" 2.txt"), "back\\slash/" + file1256 + " 2.txt"},
        {QStringLiteral("D:\\end\\\\in.txt"), QStringLiteral("in.txt"), "end\\/in.txt"},
    };
    const std::vector<FileRow> rows = files();
    ASSERT_EQ(rows.size(), expected.size());
    for (const Expected& e : expected) {
        SCOPED_TRACE(e.path.toStdString());
        const auto row =
            std::find_if(rows.begin(), rows.end(), [&](const FileRow& r) { return r.path == e.path; });
        ASSERT_NE(row, rows.end()) << "not recorded under its readable path";
        EXPECT_EQ(row->name, e.name);

        // The search window's way to a found file: the first optical drive holding the path, then its
        // native path, which must be the very file on the disc.
        const QString within = e.path.mid(3);
        EXPECT_EQ(firstOpticalDriveHolding(platform.drives, fileSystem, within), QStringLiteral("D:\\"));
        const QByteArray native =
            nativePathBytes(platform.drives.nativePath(QStringLiteral("D:\\") + within));
        struct stat st {};
        ASSERT_EQ(::stat(native.constData(), &st), 0) << native.toHex().constData();
        EXPECT_EQ(st.st_ino, inodeAt(root, e.real));
        EXPECT_EQ(fileSystem.fileLength(e.path), std::int64_t(st.st_size));
    }
    // The folders' own paths reach the folders.
    for (const auto& [folder, real] :
         {std::pair{QStringLiteral("D:\\") + file, file1256},
          std::pair{QStringLiteral("D:\\back\\slash"), QByteArray("back\\slash")}}) {
        struct stat st {};
        ASSERT_EQ(::stat(nativePathBytes(platform.drives.nativePath(folder)).constData(), &st), 0);
        EXPECT_EQ(st.st_ino, inodeAt(root, real));
        EXPECT_TRUE(fileSystem.pathExists(folder + QLatin1Char('\\')));
    }
    ::close(root);
}

}  // namespace
}  // namespace vt::test
