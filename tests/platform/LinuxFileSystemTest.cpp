#include <fcntl.h>
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <algorithm>
#include <map>

#include "platform/LinuxFileSystem.h"
#include "support/FakeDrives.h"
#include "support/RawTree.h"

namespace vt {
namespace {

class LinuxFileSystemTest : public ::testing::Test {
  protected:
    void SetUp() override {
        ASSERT_TRUE(dir_.isValid());
        drives_.add(QLatin1Char('D'), {kDriveTypeCdRom, dir_.path(), {}, {}, false});
    }
    void TearDown() override { test::removeTree(dir_.path()); }
    void write(const QString& relative, const QByteArray& bytes) {
        const QString path = dir_.filePath(relative);
        QDir().mkpath(QFileInfo(path).absolutePath());
        QFile file(path);
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
        file.write(bytes);
    }
    // Every entry of a listing, in order, by name.
    std::vector<FindData> list(const QString& folder, const QString& pattern, FindStatus& status) {
        std::vector<FindData> entries;
        FindData entry;
        std::unique_ptr<FindHandle> handle = fs_.findFirst(folder, pattern, entry, status);
        if (!handle) return entries;
        do entries.push_back(entry);
        while (handle->next(entry));
        EXPECT_FALSE(handle->failed());
        return entries;
    }

    QTemporaryDir dir_;
    test::FakeDriveTable drives_;
    LinuxFileSystem fs_{drives_};
};

TEST_F(LinuxFileSystemTest, ListsDotsOutsideTheRootAndMeasuresEachEntry) {
    write(QStringLiteral("a.txt"), "12345");
    write(QStringLiteral(".hidden"), "x");
    write(QStringLiteral("پوشه یک/فایل 1.txt"), "abc");
    QFile::link(dir_.filePath(QStringLiteral("a.txt")), dir_.filePath(QStringLiteral("link")));
    ASSERT_EQ(::chmod(QFile::encodeName(dir_.filePath(QStringLiteral("a.txt"))).constData(), 0444), 0);

    FindStatus status;
    std::map<QString, FindData> root;
    for (const FindData& e : list(QStringLiteral("D:\\"), QStringLiteral("*.*"), status)) root[e.name] = e;
    EXPECT_EQ(status, FindStatus::Found);
    ASSERT_EQ(root.size(), 3u) << "no dots at the root, no link";
    EXPECT_EQ(root[QStringLiteral("a.txt")].length, 5);
    EXPECT_EQ(root[QStringLiteral("a.txt")].attributes, FileAttribute::ReadOnly);
    EXPECT_EQ(root[QStringLiteral(".hidden")].attributes, FileAttribute::Hidden);
    EXPECT_TRUE(root[QStringLiteral("پوشه یک")].isDirectory());

    const std::vector<FindData> sub = list(QStringLiteral("D:\\پوشه یک\\"), QStringLiteral("*.*"), status);
    ASSERT_EQ(sub.size(), 3u);
    EXPECT_EQ(sub[0].name, QStringLiteral("."));
    EXPECT_EQ(sub[1].name, QStringLiteral(".."));
    EXPECT_TRUE(sub[0].isDirectory() && sub[1].isDirectory());
    EXPECT_EQ(sub[2].name, QStringLiteral("فایل 1.txt"));
    EXPECT_EQ(sub[2].length, 3);

    EXPECT_EQ(list(QStringLiteral("D:\\"), QStringLiteral("*.TXT"), status).size(), 1u);
    EXPECT_EQ(fs_.fileLength(QStringLiteral("D:\\پوشه یک\\فایل 1.txt")), 3);
    EXPECT_EQ(fs_.attributes(QStringLiteral("d:\\.hidden")), FileAttribute::Hidden);
    EXPECT_TRUE(fs_.pathExists(QStringLiteral("D:\\پوشه یک")));
    EXPECT_FALSE(fs_.pathExists(QStringLiteral("D:\\..\\") + QFileInfo(dir_.path()).fileName()));
}

TEST_F(LinuxFileSystemTest, ReadOnlyVolumesMakeEveryEntryReadOnlyAndLengthsAre64Bit) {
    drives_.add(QLatin1Char('D'), {kDriveTypeCdRom, dir_.path(), {}, {}, true});
    write(QStringLiteral("big.iso"), QByteArray());
    const qint64 fiveGiB = 5LL << 30;
    ASSERT_EQ(::truncate(QFile::encodeName(dir_.filePath(QStringLiteral("big.iso"))).constData(), fiveGiB),
              0);
    FindStatus status;
    const std::vector<FindData> entries = list(QStringLiteral("D:\\"), QStringLiteral("*.*"), status);
    ASSERT_EQ(entries.size(), 1u);
    EXPECT_EQ(entries[0].length, fiveGiB);
    EXPECT_EQ(entries[0].attributes, FileAttribute::ReadOnly);
}

TEST_F(LinuxFileSystemTest, EmptyAndUnreadableFoldersAreTold) {
    QDir(dir_.path()).mkdir(QStringLiteral("empty"));
    FindStatus status;
    EXPECT_TRUE(list(QStringLiteral("D:\\"), QStringLiteral("*.txt"), status).empty());
    EXPECT_EQ(status, FindStatus::Empty);
    EXPECT_TRUE(list(QStringLiteral("D:\\missing\\"), QStringLiteral("*.*"), status).empty());
    EXPECT_EQ(status, FindStatus::Unreadable);
    EXPECT_TRUE(list(QStringLiteral("E:\\"), QStringLiteral("*.*"), status).empty());
    EXPECT_EQ(status, FindStatus::Unreadable);
    const QString tooLong = QStringLiteral("D:\\") + QString(5000, QLatin1Char('x')) + QLatin1Char('\\');
    EXPECT_TRUE(list(tooLong, QStringLiteral("*.*"), status).empty());
    EXPECT_EQ(status, FindStatus::Unreadable);
}

// Every entry of a walk folder's listing, in order.
std::vector<FindData> listWalk(DriveWalk& walk, WalkFolder& folder, FindStatus& status) {
    std::vector<FindData> entries;
    FindData entry;
    std::unique_ptr<FindHandle> handle = walk.findFirst(folder, QStringLiteral("*.*"), entry, status);
    if (!handle) return entries;
    do entries.push_back(entry);
    while (handle->next(entry));
    EXPECT_FALSE(handle->failed());
    return entries;
}

int openDescriptors() {
    return int(QDir(QStringLiteral("/proc/self/fd")).entryList(QDir::Files | QDir::System).size());
}

TEST_F(LinuxFileSystemTest, AWalkStaysOnTheTreeItBeganWithWhenThePathTurnsElsewhere) {
    // As a lazy unmount leaves the mount point's path to the empty folder beneath, while the disc stays
    // readable through what is held open: the walk must go on in the tree it began with.
    for (int i = 0; i < 5; ++i) write(QStringLiteral("dir%1/file%1.txt").arg(i), "abc");
    std::unique_ptr<DriveWalk> walk = fs_.walk(QStringLiteral("D:\\"));
    FindStatus status;
    const std::vector<FindData> top = listWalk(*walk, walk->top(), status);
    ASSERT_EQ(top.size(), 5u);

    const QString moved = dir_.path() + QStringLiteral("-moved");
    ASSERT_TRUE(QDir().rename(dir_.path(), moved));
    ASSERT_TRUE(QDir().mkdir(dir_.path()));
    int files = 0;
    for (const FindData& folder : top) {
        ASSERT_TRUE(folder.isDirectory());
        std::unique_ptr<WalkFolder> sub =
            walk->subfolder(walk->top(), folder, QStringLiteral("D:\\") + folder.name + QLatin1Char('\\'));
        for (const FindData& e : listWalk(*walk, *sub, status)) files += e.isDirectory() ? 0 : 1;
        EXPECT_EQ(status, FindStatus::Found);
    }
    EXPECT_EQ(files, 5);
    FindData first;
    EXPECT_FALSE(fs_.findFirst(QStringLiteral("D:\\dir0\\"), QStringLiteral("*.*"), first, status))
        << "by path, the folder is not there any more";
    walk.reset();
    QDir(moved).removeRecursively();
}

TEST_F(LinuxFileSystemTest, AWalkEntersFoldersByTheirOwnBytesAndHoldsFewDescriptorsHoweverDeep) {
    int dir = ::open(QFile::encodeName(dir_.path()).constData(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    for (int depth = 0; depth < 300; ++depth) {
        const char* name = depth % 2 ? "d" : "\xE4\xFF";  // not UTF-8 every other level
        ASSERT_EQ(::mkdirat(dir, name, 0755), 0);
        const int next = ::openat(dir, name, O_RDONLY | O_DIRECTORY | O_CLOEXEC);
        ::close(dir);
        dir = next;
        ASSERT_GE(dir, 0);
    }
    const int fd = ::openat(dir, "deep.txt", O_WRONLY | O_CREAT | O_CLOEXEC, 0644);
    ASSERT_GE(fd, 0);
    ::close(fd);
    ::close(dir);

    const int before = openDescriptors();
    std::unique_ptr<DriveWalk> walk = fs_.walk(QStringLiteral("D:\\"));
    std::vector<std::unique_ptr<WalkFolder>> stack;  // as the scanner keeps the folders it is inside
    WalkFolder* at = &walk->top();
    QString path = QStringLiteral("D:\\");
    int most = 0;
    for (int depth = 0; depth < 300; ++depth) {
        FindStatus status;
        const std::vector<FindData> entries = listWalk(*walk, *at, status);
        ASSERT_EQ(status, FindStatus::Found) << depth;
        const auto folder = std::find_if(entries.begin(), entries.end(), [](const FindData& e) {
            return e.isDirectory() && e.name != QLatin1String(".") && e.name != QLatin1String("..");
        });
        ASSERT_NE(folder, entries.end()) << depth;
        EXPECT_EQ(folder->name, depth % 2 ? QStringLiteral("d") : QStringLiteral("ن") + QChar(0x06D2));
        path += folder->name + QLatin1Char('\\');
        stack.push_back(walk->subfolder(*at, *folder, path));
        at = stack.back().get();
        most = std::max(most, openDescriptors() - before);
    }
    FindStatus status;
    const std::vector<FindData> deepest = listWalk(*walk, *at, status);
    ASSERT_EQ(deepest.size(), 3u);
    EXPECT_EQ(deepest[2].name, QStringLiteral("deep.txt"));
    EXPECT_LE(most, 64) << "descriptors held at once";
    stack.clear();
    walk.reset();
    EXPECT_EQ(openDescriptors(), before);
}

}  // namespace
}  // namespace vt
