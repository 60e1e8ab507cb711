#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <QFile>

#include "ScanFixture.h"
#include "platform/LinuxFileSystem.h"
#include "scan/ScanCommand.h"
#include "scan/ScanProgress.h"

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

class HostileTreeTest : public ScanFixture {};

TEST_F(HostileTreeTest, BadNamesAndOverlongPathsAreRecordedOrSkippedAndCountedWithoutAWindow) {
    const int root = ::open(QFile::encodeName(disc.path()).constData(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    ASSERT_GE(root, 0);
    ASSERT_TRUE(makeFile(root, "plain.txt", 3));
    ASSERT_TRUE(makeFile(root, "bad\xff\xfe name.txt", 9));  // not UTF-8: recorded, name replaced
    const int badFolder = makeFolder(root, "dir\xff");       // not UTF-8: cannot be listed again by name
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
    EXPECT_TRUE(recorded.contains(QStringLiteral("D:\\bad") + QChar(0xFFFD) + QChar(0xFFFD) +
                                  QStringLiteral(" name.txt")));
    int levels = 0;
    for (const QString& path : recorded) levels += path.endsWith(QLatin1String("\\level.txt")) ? 1 : 0;
    EXPECT_GT(levels, 10);
    EXPECT_LT(levels, 20) << "the deepest folders lie past the path limit";
    EXPECT_EQ(summary.recorded, recorded.size());
    EXPECT_EQ(summary.skipped, 2) << "the undecodable folder and the first folder past the limit";
    EXPECT_EQ(disks().at(0).at(3), QString::number(recorded.size()));
}

}  // namespace
}  // namespace vt::test
