#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QStorageInfo>
#include <QTemporaryDir>
#include <functional>
#include <optional>

#include "DiscImageSamples.h"
#include "platform/DiscImage.h"
#include "platform/LinuxDriveTable.h"
#include "platform/VolumeDescriptor.h"
#include "support/IsoImage.h"
#include "support/MountedImage.h"
#include "support/TextPrinting.h"

namespace vt {
namespace {

using test::listedTree;
using test::makeIsoImage;
using test::missingTools;
using test::runTool;
using test::sourceTree;

// When the image says the file `name` in `folder` was last changed, as a listing gives it.
std::optional<std::int64_t> listedModified(const DiscImage& image, const QString& folder,
                                           const QString& name) {
    FindData entry;
    FindStatus status;
    const auto listing = image.findFirst(folder, QStringLiteral("*.*"), entry, status);
    if (!listing) return std::nullopt;
    do {
        if (entry.name == name) return entry.modified;
    } while (listing->next(entry));
    return std::nullopt;
}

std::unique_ptr<DiscImage> openImage(const QString& path) {
    DiscImage::Opened opened = DiscImage::open(path);
    EXPECT_TRUE(opened.image) << opened.error.toStdString();
    if (opened.image) {
        EXPECT_EQ(opened.image->damage(), QString()) << path.toStdString();
    }
    return std::move(opened.image);
}

class DiscImageTest : public ::testing::Test {
  protected:
    void SetUp() override { test::writeSampleTree(tree()); }
    QString tree() const { return work_.filePath(QStringLiteral("tree")); }
    QString path(const char* name) const { return work_.filePath(QString::fromUtf8(name)); }

  private:
    QTemporaryDir work_;
};

// The root of the drive whose mount point is `folder`, if the table shows one.
std::optional<QString> rootOf(const LinuxDriveTable& drives, const QString& folder) {
    for (int i = 0; i < 26; ++i) {
        const QString root = QString(QChar('A' + i)) + QStringLiteral(":\\");
        if ((drives.logicalDrives() & (1u << i)) && drives.mountPoint(root) == folder) return root;
    }
    return std::nullopt;
}

TEST_F(DiscImageTest, XorrisoImageListsItsTreeAndTheVolumeItsMountShows) {
    const QString reason = test::MountedImage::unavailableReason();
    if (!reason.isEmpty()) GTEST_SKIP() << reason.toStdString();
    test::MountedImage mounted(tree(), QStringLiteral("بایگانی 7"));
    ASSERT_TRUE(mounted.error().isEmpty()) << mounted.error().toStdString();
    const auto image = openImage(mounted.imagePath());
    ASSERT_TRUE(image);
    EXPECT_EQ(listedTree(*image), sourceTree(tree()));

    LinuxDriveTable drives;
    const std::optional<QString> root = rootOf(drives, mounted.mountPoint());
    ASSERT_TRUE(root);
    const VolumeInformation shown = drives.volumeInformation(*root);
    EXPECT_EQ(image->volume().label, QStringLiteral("بایگانی 7"));
    EXPECT_EQ(image->volume().label, shown.label);
    EXPECT_EQ(image->volume().serial, shown.serial);
    EXPECT_NE(image->volume().serial, 0u);
    EXPECT_EQ(image->volume().usedBytes, drives.diskSpace(*root).totalBytes);
    EXPECT_EQ(image->volume().usedBytes, std::uint64_t(QFileInfo(mounted.imagePath()).size()));
    EXPECT_EQ(image->volume().fileSystemName, QStringLiteral("iso9660"));
}

TEST_F(DiscImageTest, NamesAreJolietThenRockRidgeThenPlainIsoWithoutVersion) {
    if (const QString reason = missingTools({QStringLiteral("xorriso")}); !reason.isEmpty()) {
        GTEST_SKIP() << reason.toStdString();
    }
    // Joliet keeps about 64 characters of a name, Rock Ridge all of it, plain ISO 9660 an upper-case 8.3
    // name.
    const QString longName = QStringLiteral("نام بسیار بلند ").repeated(5) + QStringLiteral("پایان.txt");
    ASSERT_GT(longName.size(), 64);
    const QString source = path("names");
    QDir().mkpath(source);
    for (const QString& name : {longName, QStringLiteral("lower.txt")}) {
        QFile file(source + QLatin1Char('/') + name);
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    }
    struct Case {
        QStringList options;
        std::function<bool(const QString&)> isLongName;
        QString lowerName;
    };
    const Case cases[] = {
        {{QStringLiteral("-R"), QStringLiteral("-J")},
         [&](const QString& n) { return n.size() < longName.size() && n.endsWith(QLatin1String(".txt")); },
         QStringLiteral("lower.txt")},
        {{QStringLiteral("-R")},
         [&](const QString& n) { return n == longName; },
         QStringLiteral("lower.txt")},
        {{QStringLiteral("--norock")},
         [](const QString& n) { return !n.contains(QLatin1Char(';')) && n != QLatin1String("LOWER.TXT"); },
         QStringLiteral("LOWER.TXT")},
    };
    for (const Case& c : cases) {
        const QString iso = path("names.iso");
        QFile::remove(iso);
        ASSERT_EQ(makeIsoImage(iso, c.options, source), QString());
        const auto image = openImage(iso);
        ASSERT_TRUE(image);
        const QMap<QString, qint64> listed = listedTree(*image);
        ASSERT_EQ(listed.size(), 2) << c.options.join(' ').toStdString();
        EXPECT_TRUE(listed.contains(c.lowerName)) << listed.firstKey().toStdString();
        const QString other = listed.firstKey() == c.lowerName ? listed.lastKey() : listed.firstKey();
        EXPECT_TRUE(c.isLongName(other)) << c.options.join(' ').toStdString() << ": " << other.toStdString();
    }
}

TEST_F(DiscImageTest, FilesOfFourGibibytesAndMoreHaveTheirWholeLength) {
    if (const QString reason = missingTools({QStringLiteral("xorriso")}); !reason.isEmpty()) {
        GTEST_SKIP() << reason.toStdString();
    }
    constexpr qint64 kLength = 5ll << 30;
    if (QStorageInfo(path("")).bytesAvailable() < 3 * kLength) {
        GTEST_SKIP() << "needs 15 GiB free under " << path("").toStdString() << " for a 5 GiB image";
    }
    const QString source = path("huge");
    QDir().mkpath(source + QStringLiteral("/پوشه"));
    QFile big(source + QStringLiteral("/پوشه/فایل بزرگ.bin"));
    ASSERT_TRUE(big.open(QIODevice::WriteOnly) && big.resize(kLength));  // sparse
    big.close();
    const QString iso = path("huge.iso");
    ASSERT_EQ(makeIsoImage(iso,
                           {QStringLiteral("-iso-level"), QStringLiteral("3"), QStringLiteral("-R"),
                            QStringLiteral("-J")},
                           source),
              QString());
    QFile::remove(big.fileName());  // the image holds the only copy now
    const auto image = openImage(iso);
    ASSERT_TRUE(image);
    EXPECT_EQ(image->fileLength(QStringLiteral("پوشه/فایل بزرگ.bin")), std::optional<std::int64_t>(kLength));
    EXPECT_EQ(listedTree(*image).size(), 2);
}

TEST_F(DiscImageTest, UdfImagesShowTheirUdfSide) {
    if (const QString reason = missingTools({QStringLiteral("genisoimage")}); !reason.isEmpty()) {
        GTEST_SKIP() << reason.toStdString();
    }
    // A date to find again on both sides of the image: 2019-03-04T10:20:30Z.
    const QString dated = tree() + QStringLiteral("/a b/c d/e f g.bin");
    ASSERT_EQ(runTool(QStringLiteral("touch"),
                      {QStringLiteral("-d"), QStringLiteral("2019-03-04 10:20:30 UTC"), dated}),
              QString());
    const QString bridge = path("bridge.iso");
    ASSERT_EQ(test::makeBridgeImage(tree(), bridge), QString());
    const QString iso = path("plain.iso");
    ASSERT_EQ(makeIsoImage(iso, {QStringLiteral("-R")}, tree()), QString());
    const QString udfOnly = path("udf only.img");
    ASSERT_TRUE(QFile::copy(bridge, udfOnly));
    ASSERT_TRUE(test::hideIsoDescriptors(udfOnly));
    EXPECT_FALSE(readDiscVolume(udfOnly, false)) << "ISO 9660 readers must refuse it";
    if (missingTools({QStringLiteral("udfinfo")}).isEmpty()) {
        EXPECT_EQ(runTool(QStringLiteral("udfinfo"), {udfOnly}), QString());
    }
    for (const QString& file : {bridge, udfOnly}) {
        SCOPED_TRACE(file.toStdString());
        const auto image = openImage(file);
        ASSERT_TRUE(image);
        EXPECT_EQ(listedTree(*image), sourceTree(tree()));
        const std::optional<DiscVolume> udf = readDiscVolume(file, true);
        ASSERT_TRUE(udf);
        EXPECT_EQ(image->volume().fileSystemName, QStringLiteral("udf"));
        EXPECT_EQ(image->volume().label, QStringLiteral("UDF_DISC"));
        EXPECT_EQ(image->volume().serial, udf->serial);
        EXPECT_GT(image->volume().usedBytes, 0u);
        EXPECT_LE(image->volume().usedBytes, std::uint64_t(QFileInfo(file).size()));
        EXPECT_EQ(listedModified(*image, QStringLiteral("a b/c d"), QStringLiteral("e f g.bin")),
                  std::optional<std::int64_t>(1551694830));
    }
    const auto plain = openImage(iso);
    ASSERT_TRUE(plain);
    EXPECT_EQ(listedModified(*plain, QStringLiteral("a b/c d"), QStringLiteral("e f g.bin")),
              std::optional<std::int64_t>(1551694830));
}

TEST_F(DiscImageTest, AFolderWhoseEntryCannotBeReadListsAsUnreadableAndTheRestAsRecorded) {
    if (const QString reason = missingTools({QStringLiteral("genisoimage")}); !reason.isEmpty()) {
        GTEST_SKIP() << reason.toStdString();
    }
    const QString udf = path("damaged.img");
    ASSERT_EQ(test::makeBridgeImage(tree(), udf), QString());
    ASSERT_TRUE(test::hideIsoDescriptors(udf));  // no ISO 9660 side to fall back on
    // Point the file identifier of folder "a b" at a block far beyond the partition.
    QFile file(udf);
    ASSERT_TRUE(file.open(QIODevice::ReadWrite));
    QByteArray bytes = file.readAll();
    const int name =
        bytes.indexOf(QByteArray("\x08"
                                 "a b",
                                 4));
    ASSERT_GT(name, 38);
    const int identifier = name - 38;  // genisoimage records no implementation use before the name
    ASSERT_EQ(bytes.mid(identifier, 2), QByteArray("\x01\x01", 2)) << "file identifier tag 257";
    ASSERT_TRUE(file.seek(identifier + 24));
    file.write("\xff\xff\xff\x0f", 4);
    file.close();

    const DiscImage::Opened opened = DiscImage::open(udf);
    ASSERT_TRUE(opened.image) << opened.error.toStdString();
    EXPECT_TRUE(opened.image->damage().contains(QLatin1String("file entry")))
        << opened.image->damage().toStdString();
    FindData entry;
    FindStatus status;
    EXPECT_FALSE(opened.image->findFirst(QStringLiteral("a b"), QStringLiteral("*.*"), entry, status));
    EXPECT_EQ(status, FindStatus::Unreadable);
    EXPECT_TRUE(opened.image->pathExists(QStringLiteral("a b")));
    EXPECT_EQ(opened.image->fileLength(QStringLiteral("پوشه اصلی/زیر پوشه/«نقل قول» و 'تک'.doc")),
              std::optional<std::int64_t>(70001));
    EXPECT_EQ(opened.image->fileLength(QStringLiteral("it's \"quoted\" here.txt")),
              std::optional<std::int64_t>(1));
}

TEST_F(DiscImageTest, CueSheetsNeroImagesAndRawSectorsGiveTheSameDisc) {
    if (const QString reason = missingTools({QStringLiteral("xorriso")}); !reason.isEmpty()) {
        GTEST_SKIP() << reason.toStdString();
    }
    const QString iso = path("my disc.iso");
    ASSERT_EQ(
        makeIsoImage(
            iso, {QStringLiteral("-R"), QStringLiteral("-J"), QStringLiteral("-V"), QStringLiteral("CUE")},
            tree()),
        QString());
    const QString raw = path("my disc.bin");
    ASSERT_TRUE(test::writeRawImage(iso, raw));
    const auto reference = openImage(iso);
    ASSERT_TRUE(reference);
    const QString trackAtOnce = path("track at once.nrg"), discAtOnce = path("disc at once.nrg");
    ASSERT_TRUE(test::writeNeroImage(iso, trackAtOnce, 2048, false));
    ASSERT_TRUE(test::writeNeroImage(raw, discAtOnce, 2352, true));
    const QString images[] = {test::writeCueSheet(iso, QStringLiteral("MODE1/2048")),
                              test::writeCueSheet(raw, QStringLiteral("MODE1/2352")), raw, trackAtOnce,
                              discAtOnce};
    for (const QString& file : images) {
        SCOPED_TRACE(file.toStdString());
        const auto image = openImage(file);
        ASSERT_TRUE(image);
        EXPECT_EQ(listedTree(*image), sourceTree(tree()));
        EXPECT_EQ(image->volume().label, QStringLiteral("CUE"));
        EXPECT_EQ(image->volume().serial, reference->volume().serial);
        EXPECT_EQ(image->volume().usedBytes, reference->volume().usedBytes);
    }
}

TEST_F(DiscImageTest, FindFirstBehavesAsOnAMountedDisc) {
    if (const QString reason = missingTools({QStringLiteral("xorriso")}); !reason.isEmpty()) {
        GTEST_SKIP() << reason.toStdString();
    }
    const QString iso = path("find.iso");
    ASSERT_EQ(makeIsoImage(iso, {QStringLiteral("-R"), QStringLiteral("-J")}, tree()), QString());
    const auto image = openImage(iso);
    ASSERT_TRUE(image);
    FindData entry;
    FindStatus status;
    auto handle = image->findFirst(QStringLiteral("a b"), QStringLiteral("*.*"), entry, status);
    ASSERT_EQ(status, FindStatus::Found);
    EXPECT_EQ(entry.name, QStringLiteral("."));  // dots first below the root
    ASSERT_TRUE(handle->next(entry));
    EXPECT_EQ(entry.name, QStringLiteral(".."));
    handle = image->findFirst(QString(), QStringLiteral("*.TXT"), entry, status);
    ASSERT_EQ(status, FindStatus::Found);
    EXPECT_EQ(entry.name, QStringLiteral("it's \"quoted\" here.txt"));
    EXPECT_FALSE(handle->next(entry));
    EXPECT_FALSE(image->findFirst(QStringLiteral("خالی"), QStringLiteral("*.bin"), entry, status));
    EXPECT_EQ(status, FindStatus::Empty);
    EXPECT_FALSE(image->findFirst(QStringLiteral("nowhere"), QStringLiteral("*.*"), entry, status));
    EXPECT_EQ(status, FindStatus::Unreadable);
    EXPECT_EQ(image->fileLength(QStringLiteral("پوشه اصلی/گزارش سال ۱۴۰۲.txt")),
              std::optional<std::int64_t>(3000));
    EXPECT_FALSE(image->fileLength(QStringLiteral("پوشه اصلی")));
    EXPECT_EQ(image->attributes(QStringLiteral(".hidden note")),
              std::optional<std::uint32_t>(FileAttribute::ReadOnly | FileAttribute::Hidden));
    EXPECT_TRUE(image->pathExists(QStringLiteral("a b/c d/empty.dat")));
    EXPECT_FALSE(image->pathExists(QStringLiteral("a b/empty.dat")));
}

TEST(DiscImageRefused, ImagesThatCannotBeReadAreRefusedWithTheReason) {
    QTemporaryDir dir;
    const auto write = [&dir](const char* name, const QByteArray& bytes) {
        QFile file(dir.filePath(QString::fromLatin1(name)));
        EXPECT_TRUE(file.open(QIODevice::WriteOnly));
        file.write(bytes);
        return file.fileName();
    };
    QByteArray noise(1 << 20, '\0');
    for (int i = 0; i < noise.size(); ++i) noise[i] = char(quint32(i) * 7919u % 251u);
    const QString cases[] = {
        dir.filePath(QStringLiteral("missing.iso")),
        dir.path(),
        write("empty.iso", {}),
        write("noise.img", noise),
        write("lost.cue", "FILE \"gone.bin\" BINARY\n  TRACK 01 MODE1/2352\n    INDEX 01 00:00:00\n"),
        write("not nero.nrg", noise),
    };
    for (const QString& file : cases) {
        const DiscImage::Opened opened = DiscImage::open(file);
        EXPECT_FALSE(opened.image) << file.toStdString();
        EXPECT_FALSE(opened.error.isEmpty()) << file.toStdString();
    }
}

}  // namespace
}  // namespace vt
