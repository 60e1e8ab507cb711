#include <gtest/gtest.h>
#include <sys/stat.h>

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <cerrno>

#include "platform/ReplacingFile.h"

namespace vt {
namespace {

// Makes the system calls fail as a full disk does: writes past `room` bytes, or the sync at the end.
class FailingFile final : public ReplacingFile {
  public:
    using ReplacingFile::ReplacingFile;
    qint64 room = 1 << 30;
    bool syncFails = false;

  protected:
    int writeBytes(int fd, const char* data, qint64 size) override {
        if (size > room) return ENOSPC;
        room -= size;
        return ReplacingFile::writeBytes(fd, data, size);
    }
    int syncFile(int fd) override { return syncFails ? EIO : ReplacingFile::syncFile(fd); }
};

class ReplacingFileTest : public ::testing::Test {
  protected:
    void SetUp() override {
        QFile existing(target);
        ASSERT_TRUE(existing.open(QIODevice::WriteOnly));
        existing.write("old\n");
        existing.close();
        ASSERT_EQ(::chmod(QFile::encodeName(target).constData(), 0640), 0);
    }
    QByteArray content() const {
        QFile file(target);
        return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray("<missing>");
    }
    QStringList entries() const { return QDir(folder.path()).entryList(QDir::Files | QDir::Hidden); }

    QTemporaryDir folder;
    QString target = folder.filePath(QStringLiteral("list.tsv"));
};

TEST_F(ReplacingFileTest, TheTargetChangesOnlyAtTheCommitAndKeepsItsPermissions) {
    ReplacingFile file(target);
    ASSERT_TRUE(file.open()) << file.errorString().toStdString();
    EXPECT_EQ(file.write("new\n"), 4);
    EXPECT_EQ(content(), QByteArray("old\n"));
    EXPECT_EQ(entries().size(), 2);
    ASSERT_TRUE(file.commit()) << file.errorString().toStdString();
    EXPECT_EQ(content(), QByteArray("new\n"));
    EXPECT_EQ(entries(), QStringList{QStringLiteral("list.tsv")});
    struct stat info {};
    ASSERT_EQ(::stat(QFile::encodeName(target).constData(), &info), 0);
    EXPECT_EQ(info.st_mode & 07777, 0640u);
}

TEST_F(ReplacingFileTest, AFailedWriteOrSyncOrAnAbandonedFileLeavesTheTargetAndNoTemporary) {
    {
        FailingFile file(target);
        file.room = 10;
        ASSERT_TRUE(file.open());
        EXPECT_EQ(file.write("0123456789"), 10);
        EXPECT_EQ(file.write("x"), -1);
        EXPECT_FALSE(file.commit()) << "a failed write spoils the whole file";
        EXPECT_TRUE(file.errorString().contains(QStringLiteral("No space left on device")));
    }
    {
        FailingFile file(target);
        file.syncFails = true;
        ASSERT_TRUE(file.open());
        file.write("new\n");
        EXPECT_FALSE(file.commit());
        EXPECT_TRUE(file.errorString().contains(QStringLiteral("to the disk")));
    }
    {
        ReplacingFile abandoned(target);
        ASSERT_TRUE(abandoned.open());
        abandoned.write("new\n");
    }
    EXPECT_EQ(content(), QByteArray("old\n"));
    EXPECT_EQ(entries(), QStringList{QStringLiteral("list.tsv")});

    ReplacingFile nowhere(folder.filePath(QStringLiteral("missing/list.tsv")));
    EXPECT_FALSE(nowhere.open());
    EXPECT_FALSE(nowhere.commit());
}

}  // namespace
}  // namespace vt
