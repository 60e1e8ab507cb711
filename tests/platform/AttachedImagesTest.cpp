#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>
#include <random>

#include "DiscImageSamples.h"
#include "platform/AttachedImageFileSystem.h"
#include "platform/AttachedImages.h"
#include "platform/FileNames.h"
#include "platform/LeftoverCopies.h"
#include "support/FakeDrives.h"
#include "support/IsoImage.h"

namespace vt {
namespace {

QByteArray noise(int bytes, unsigned seed) {
    std::mt19937 random(seed);
    QByteArray data(bytes, 0);
    for (char& c : data) c = char(random() & 0xFF);
    return data;
}

void write(const QString& path, const QByteArray& data) {
    QDir().mkpath(QFileInfo(path).path());
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write(data);
}

QByteArray contents(const QString& nativeText) {
    QFile file(QFile::decodeName(nativePathBytes(nativeText)));
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray("<unreadable>");
}

TEST(AttachedImages, AFileOfAnImageOpensFromAPrivateCopyThatGoesWithTheProgram) {
    if (const QString reason = test::missingTools({QStringLiteral("xorriso"), QStringLiteral("genisoimage")});
        !reason.isEmpty()) {
        GTEST_SKIP() << reason.toStdString();
    }
    QTemporaryDir work;
    const QString tree = work.filePath(QStringLiteral("tree"));
    const QByteArray big = noise(300001, 7), small = noise(5, 8);
    write(tree + QStringLiteral("/پوشه یک/داده بزرگ.bin"), big);
    write(tree + QStringLiteral("/small.txt"), small);
    write(tree + QStringLiteral("/empty.dat"), QByteArray());
    const QString iso = work.filePath(QStringLiteral("joliet.iso")),
                  bridge = work.filePath(QStringLiteral("bridge.iso"));
    ASSERT_EQ(test::makeIsoImage(iso, {QStringLiteral("-R"), QStringLiteral("-J")}, tree), QString());
    ASSERT_EQ(test::makeBridgeImage(tree, bridge), QString());

    test::FakeDriveTable mounted;
    test::FakeFileSystem mountedFiles(mounted);
    QString copyFolder;
    {
        AttachedImages drives(mounted);
        AttachedImageFileSystem files(mountedFiles, drives);
        for (const QString& image : {iso, bridge}) {
            SCOPED_TRACE(image.toStdString());
            const QString root = drives.attach(image).root;
            ASSERT_FALSE(root.isEmpty());
            ASSERT_TRUE(files.pathExists(root + QStringLiteral("پوشه یک\\داده بزرگ.bin")));
            EXPECT_EQ(drives.nativePath(root + QStringLiteral("small.txt")), QString());

            const OpenableFile copy = drives.openableFile(root + QStringLiteral("پوشه یک\\داده بزرگ.bin"));
            ASSERT_FALSE(copy.file.isEmpty()) << copy.error.toStdString();
            EXPECT_EQ(QFileInfo(copy.file).fileName(), QStringLiteral("داده بزرگ.bin"));
            EXPECT_EQ(QFileInfo(copy.file).path(), copy.folder);
            EXPECT_TRUE(contents(copy.file) == big);
            EXPECT_TRUE(contents(drives.openableFile(root + QStringLiteral("small.txt")).file) == small);
            EXPECT_TRUE(contents(drives.openableFile(root + QStringLiteral("empty.dat")).file).isEmpty());
            // A second copy of the same file does not take the place of one that may still be open.
            EXPECT_NE(drives.openableFile(root + QStringLiteral("small.txt")).folder, copy.folder);
            EXPECT_FALSE(drives.openableFile(root + QStringLiteral("nowhere.txt")).error.isEmpty());

            copyFolder = QFileInfo(copy.folder).path();
            struct stat info {};
            ASSERT_EQ(::stat(QFile::encodeName(copyFolder).constData(), &info), 0);
            EXPECT_EQ(info.st_mode & 0777, 0700u);
        }
    }
    EXPECT_FALSE(QFileInfo::exists(copyFolder)) << "the copies outlive the program";
}

// A killed program cannot remove its copies; the next one does, and touches nothing else.
TEST(AttachedImages, CopiesLeftByAnEndedProgramAreRemovedAndNothingElse) {
    QTemporaryDir temp;
    QFile pidMax(QStringLiteral("/proc/sys/kernel/pid_max"));
    ASSERT_TRUE(pidMax.open(QIODevice::ReadOnly));
    const QString endedPid = QString::fromLatin1(pidMax.readAll().trimmed());  // no process has this id
    const auto make = [&](const QString& name) {
        const QString folder = temp.filePath(name);
        QDir().mkpath(folder + QStringLiteral("/1"));
        QFile file(folder + QStringLiteral("/1/copy.txt"));
        EXPECT_TRUE(file.open(QIODevice::WriteOnly));
        return folder;
    };
    const QString left = make(QStringLiteral("vellumtrove-copies-%1-a1b2c3").arg(endedPid));
    const QString running = make(QStringLiteral("vellumtrove-copies-%1-d4e5f6").arg(::getppid()));
    const QString ours = make(QFileInfo(copiesFolderTemplate(temp.path())).fileName());
    const QString unnamed = make(QStringLiteral("vellumtrove-copies-x-a1b2c3"));
    const QString link = temp.filePath(QStringLiteral("vellumtrove-copies-%1-linked").arg(endedPid));
    ASSERT_TRUE(QFile::link(running, link));

    removeCopiesOfEndedPrograms(temp.path());

    EXPECT_FALSE(QFileInfo::exists(left));
    for (const QString& kept : {running, ours, unnamed, link + QStringLiteral("/1/copy.txt")})
        EXPECT_TRUE(QFileInfo::exists(kept)) << kept.toStdString();
}

}  // namespace
}  // namespace vt
