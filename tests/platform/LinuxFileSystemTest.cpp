#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <map>

#include "platform/LinuxFileSystem.h"
#include "support/FakeDrives.h"

namespace vt {
namespace {

class LinuxFileSystemTest : public ::testing::Test {
  protected:
    void SetUp() override {
        ASSERT_TRUE(dir_.isValid());
        drives_.add(QLatin1Char('D'), {kDriveTypeCdRom, dir_.path(), {}, {}, false});
    }
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

}  // namespace
}  // namespace vt
