#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>
#include <functional>
#include <random>

#include "DiscImageSamples.h"
#include "platform/DiscImage.h"
#include "support/IsoImage.h"

namespace vt {
namespace {

// Walks whatever an opened image lists, as the catalogue's walk would, and counts the entries.
int walkAll(const DiscImage& image) {
    int entries = 0;
    const std::function<void(const QString&)> walk = [&](const QString& folder) {
        FindData entry;
        FindStatus status;
        auto handle = image.findFirst(folder, QStringLiteral("*.*"), entry, status);
        if (!handle) return;
        do {
            if (entry.name == QLatin1String(".") || entry.name == QLatin1String("..")) continue;
            ++entries;
            const QString path = folder.isEmpty() ? entry.name : folder + QLatin1Char('/') + entry.name;
            if (entry.isDirectory()) walk(path);
        } while (handle->next(entry));
    };
    walk(QString());
    return entries;
}

// Where the structures that describe an image lie: bytes [from, to) of its file.
struct Region {
    int from;
    int to;
};

// Copies of a sound image cut short at a random length or with random bits flipped in `region`.
class Mutator {
  public:
    Mutator(QByteArray source, Region region, unsigned seed)
        : source_(std::move(source)),
          region_{region.from, std::min<int>(region.to, int(source_.size()))},
          random_(seed) {}

    QByteArray next() {
        QByteArray copy = source_;
        if (random_() % 4 == 0) {
            copy.truncate(int(random_() % std::uint32_t(copy.size())));
            return copy;
        }
        const int flips = 1 + int(random_() % 16);
        for (int i = 0; i < flips; ++i) {
            const int at = region_.from + int(random_() % std::uint32_t(region_.to - region_.from));
            copy[at] = char(copy[at] ^ (1 << (random_() % 8)));
        }
        return copy;
    }

  private:
    QByteArray source_;
    Region region_;
    std::mt19937 random_;
};

// Every mutated copy is either refused with a reason, or opened and listed in full without a crash, a
// hang or a read outside the file (the ASan build checks the last).
void fuzz(const QString& sound, const QString& mutatedPath, Region region, unsigned seed, int runs) {
    QFile file(sound);
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    Mutator mutator(file.readAll(), region, seed);
    int refused = 0, damaged = 0;
    for (int run = 0; run < runs; ++run) {
        QFile mutated(mutatedPath);
        ASSERT_TRUE(mutated.open(QIODevice::WriteOnly | QIODevice::Truncate));
        mutated.write(mutator.next());
        mutated.close();
        const DiscImage::Opened opened = DiscImage::open(mutatedPath);
        if (!opened.image) {
            EXPECT_FALSE(opened.error.isEmpty()) << "run " << run;
            ++refused;
            continue;
        }
        if (!opened.image->damage().isEmpty()) ++damaged;
        walkAll(*opened.image);
    }
    std::printf("%s: %d runs, %d refused, %d listed in part\n", qPrintable(QFileInfo(sound).fileName()), runs,
                refused, damaged);
}

constexpr int kRuns = 150;

TEST(DiscImageFuzz, DamagedImagesAreRefusedOrListedWithoutCrashing) {
    if (const QString reason = test::missingTools({QStringLiteral("xorriso"), QStringLiteral("genisoimage")});
        !reason.isEmpty()) {
        GTEST_SKIP() << reason.toStdString();
    }
    QTemporaryDir work;
    const QString tree = work.filePath(QStringLiteral("tree"));
    test::writeSampleTree(tree);
    for (int i = 0; i < 40; ++i) {
        QDir(tree).mkpath(QStringLiteral("پوشه %1/زیر %2").arg(i % 7).arg(i));
        QFile f(tree + QStringLiteral("/پوشه %1/زیر %2/فایل %3.txt").arg(i % 7).arg(i).arg(i));
        ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    }
    const QString iso = work.filePath(QStringLiteral("joliet.iso"));
    const QString bridge = work.filePath(QStringLiteral("bridge.iso"));
    const QString raw = work.filePath(QStringLiteral("raw.bin"));
    ASSERT_EQ(test::makeIsoImage(iso, {QStringLiteral("-R"), QStringLiteral("-J")}, tree), QString());
    ASSERT_EQ(test::makeBridgeImage(tree, bridge), QString());
    ASSERT_TRUE(test::writeRawImage(iso, raw));
    const QString udfOnly = work.filePath(QStringLiteral("udf only.img"));
    ASSERT_TRUE(QFile::copy(bridge, udfOnly));
    ASSERT_TRUE(test::hideIsoDescriptors(udfOnly));
    const QString nero = work.filePath(QStringLiteral("disc.nrg"));
    ASSERT_TRUE(test::writeNeroImage(raw, nero, 2352, true));
    const QString mutated = work.filePath(QStringLiteral("mutated"));
    // Volume descriptors start at sector 16; file contents follow the directory records, which the first
    // 80 sectors (300 with UDF) hold here. A Nero image describes its tracks at its end.
    fuzz(iso, mutated + QStringLiteral(".iso"), {16 * 2048, 80 * 2048}, 1, kRuns);
    fuzz(bridge, mutated + QStringLiteral(".iso"), {16 * 2048, 300 * 2048}, 2, kRuns);
    fuzz(udfOnly, mutated + QStringLiteral(".img"), {16 * 2048, 300 * 2048}, 4, kRuns);
    fuzz(raw, mutated + QStringLiteral(".bin"), {16 * 2352, 80 * 2352}, 3, kRuns / 3);
    const int neroBytes = int(QFileInfo(nero).size());
    fuzz(nero, mutated + QStringLiteral(".nrg"), {neroBytes - 120, neroBytes}, 5, kRuns / 3);
}

}  // namespace
}  // namespace vt
