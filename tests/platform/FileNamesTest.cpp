#include <fcntl.h>
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <QElapsedTimer>
#include <QFile>
#include <QTemporaryDir>
#include <set>

#include "platform/FileNames.h"
#include "platform/NativePath.h"
#include "support/RawTree.h"

namespace vt {
namespace {

QByteArray bytes(const char* text) {
    return QByteArray(text);
}

// "فايل" as an old Persian disc writes it.
const QByteArray kFileIn1256 = bytes("\xDD\xC7\xED\xE1");
const QString kFile = QStringLiteral("فايل");

TEST(FileNames, ValidUtf8IsReadAsUtf8AndAnythingElseWholeAsWindows1256) {
    EXPECT_EQ(decodeFileName(bytes("plain name.txt")), QStringLiteral("plain name.txt"));
    EXPECT_EQ(decodeFileName(QStringLiteral("موسیقی ایرانی.mp3").toUtf8()),
              QStringLiteral("موسیقی ایرانی.mp3"));
    EXPECT_EQ(decodeFileName(kFileIn1256 + ".txt"), kFile + QStringLiteral(".txt"));
    // One stray byte makes the whole name 1256, its UTF-8-looking part included.
    EXPECT_EQ(decodeFileName(bytes("\xD8\xA7-\xFF")), QString::fromUtf8("ط§-ے"));
    EXPECT_EQ(decodeFileName(bytes("bad\xff\xfe name")), QString::fromUtf8("badے\u200F name"));
    EXPECT_EQ(decodeFileName(bytes("\xEF\xBB\xBF"
                                   "bom")),
              QString::fromUtf8("\xEF\xBB\xBF"
                                "bom"))
        << "a byte-order mark is a character of the name";
}

TEST(FileNames, Utf8ValidityIsStrict) {
    for (const char* good : {"", "abc", "\xC2\x80", "\xDF\xBF", "\xE0\xA0\x80", "\xED\x9F\xBF",
                             "\xEE\x80\x80", "\xF0\x90\x80\x80", "\xF4\x8F\xBF\xBF"}) {
        EXPECT_TRUE(isValidUtf8(good, qsizetype(strlen(good)))) << QByteArray(good).toHex().constData();
    }
    for (const char* bad :
         {"\x80", "\xC0\xAF", "\xC1\xBF", "\xC2", "\xE0\x9F\xBF", "\xED\xA0\x80", "\xF0\x8F\xBF\xBF",
          "\xF4\x90\x80\x80", "\xF5\x80\x80\x80", "\xE2\x82", "a\xFF"}) {
        EXPECT_FALSE(isValidUtf8(bad, qsizetype(strlen(bad)))) << QByteArray(bad).toHex().constData();
    }
}

TEST(FileNames, TheWindows1256TableGivesEveryHighByteACharacterOfItsOwnAndReadsPersian) {
    std::set<char16_t> seen;
    for (int b = 0x80; b <= 0xFF; ++b) {
        const char byte = char(b);
        const QString c = fromWindows1256(&byte, 1);
        ASSERT_EQ(c.size(), 1);
        EXPECT_NE(c[0].unicode(), 0xFFFD) << b;
        EXPECT_GE(c[0].unicode(), 0xA0) << "no C1 controls: " << b;
        seen.insert(c[0].unicode());
        EXPECT_EQ(toWindows1256(c), QByteArray(1, byte)) << b;
    }
    EXPECT_EQ(seen.size(), 128u);
    // Spot checks against the code page's published table.
    const char sample[] = "\x80\x81\x8D\x8E\x90\x98\x9D\xA1\xBA\xBF\xC1\xC7\xD7\xDF\xE1\xED\xF0\xFD\xFF";
    EXPECT_EQ(fromWindows1256(sample, qsizetype(sizeof sample - 1)),
              QString::fromUtf16(u"\u20AC\u067E\u0686\u0698\u06AF\u06A9\u200C\u060C\u061B\u061F\u0621\u0627"
                                 u"\u00D7\u0643\u0644\u064A\u064B\u200E\u06D2"));
    EXPECT_EQ(fromWindows1256(kFileIn1256.constData(), kFileIn1256.size()), kFile);
    EXPECT_EQ(toWindows1256(kFile), kFileIn1256);
    EXPECT_EQ(toWindows1256(QStringLiteral("ascii")), bytes("ascii"));
    EXPECT_FALSE(toWindows1256(QStringLiteral("ی")).has_value()) << "Farsi yeh has no place in 1256";
}

TEST(FileNames, NativePathsOfAnyBytesSurviveTheTripThroughText) {
    EXPECT_EQ(nativePathText(bytes("/mnt/cd/a b.txt")), QStringLiteral("/mnt/cd/a b.txt"));
    EXPECT_EQ(nativePathText(QStringLiteral("/mnt/پوشه").toUtf8()), QStringLiteral("/mnt/پوشه"));
    QByteArray all;
    for (int b = 1; b <= 0xFF; ++b) all.append(char(b));
    all += "\xF0\x9F\x98\x80\xED\xB2\x80";  // an emoji (a surrogate pair in text) and an encoded surrogate
    const QString text = nativePathText(all);
    EXPECT_EQ(nativePathBytes(text), all);
    EXPECT_EQ(nativePathBytes(nativePathText(QByteArray("/x/") + kFileIn1256)),
              QByteArray("/x/") + kFileIn1256);
    EXPECT_EQ(nativePathBytes(QStringLiteral("/mnt/پوشه")), QStringLiteral("/mnt/پوشه").toUtf8());
}

// A real tree for resolving stored paths.
class ResolveDrivePath : public ::testing::Test {
  protected:
    void SetUp() override {
        ASSERT_TRUE(dir_.isValid());
        root_ = ::open(QFile::encodeName(dir_.path()).constData(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
        ASSERT_GE(root_, 0);
    }
    void TearDown() override {
        ::close(root_);
        test::removeTree(dir_.path());
    }
    void folder(const QByteArray& relative) { ASSERT_EQ(::mkdirat(root_, relative.constData(), 0755), 0); }
    void file(const QByteArray& relative) {
        const int fd = ::openat(root_, relative.constData(), O_WRONLY | O_CREAT | O_CLOEXEC, 0644);
        ASSERT_GE(fd, 0) << relative.constData();
        ::close(fd);
    }
    // The native bytes a drive path resolves to.
    QByteArray resolved(const QString& drivePath) {
        return nativePathBytes(resolveDrivePath(dir_.path(), drivePath));
    }
    QByteArray real(const QByteArray& relative) { return QFile::encodeName(dir_.path()) + '/' + relative; }

    QTemporaryDir dir_;
    int root_ = -1;
};

TEST_F(ResolveDrivePath, PlainPathsMapAsTheyAlwaysDid) {
    folder("music");
    file("music/a.mp3");
    EXPECT_EQ(resolved(QStringLiteral("D:\\music\\a.mp3")), real("music/a.mp3"));
    EXPECT_EQ(resolveDrivePath(dir_.path(), QStringLiteral("D:\\")), dir_.path());
    EXPECT_EQ(resolved(QStringLiteral("D:\\missing\\x")), real("missing/x"))
        << "nothing found: plain mapping";
    EXPECT_TRUE(resolveDrivePath(dir_.path(), QStringLiteral("D:\\music\\..\\..\\etc")).isEmpty());
    EXPECT_TRUE(resolveDrivePath(dir_.path(), QStringLiteral("music\\a.mp3")).isEmpty());
}

TEST_F(ResolveDrivePath, NamesInWindows1256AndNamesHoldingBackslashesAreFound) {
    folder(kFileIn1256);
    file(kFileIn1256 + "/" + kFileIn1256 + ".txt");
    folder("music");
    file("music/back\\slash.txt");
    folder("back\\slash");
    folder("back\\slash/" + kFileIn1256 + "\\x");
    file("back\\slash/" + kFileIn1256 + "\\x/in.txt");
    EXPECT_EQ(resolved(QStringLiteral("D:\\") + kFile + QLatin1Char('\\') + kFile + QStringLiteral(".txt")),
              real(kFileIn1256 + "/" + kFileIn1256 + ".txt"));
    EXPECT_EQ(resolved(QStringLiteral("D:\\music\\back\\slash.txt")), real("music/back\\slash.txt"));
    EXPECT_EQ(resolved(QStringLiteral("D:\\back\\slash\\") + kFile + QStringLiteral("\\x\\in.txt")),
              real("back\\slash/" + kFileIn1256 + "\\x/in.txt"));
    EXPECT_EQ(resolved(QStringLiteral("D:\\back\\slash\\")), real("back\\slash")) << "a folder's own path";
}

TEST_F(ResolveDrivePath, AStepThatLeadsNowhereIsTakenBack) {
    // "a" exists, but the file lies in "a\b".
    folder("a");
    folder("a/b");
    folder("a\\b");
    file("a\\b/c.txt");
    EXPECT_EQ(resolved(QStringLiteral("D:\\a\\b\\c.txt")), real("a\\b/c.txt"));
    // Names with backslashes at either end.
    file("\\lead");
    file("trail\\");
    EXPECT_EQ(resolved(QStringLiteral("D:\\\\lead")), real("\\lead"));
    EXPECT_EQ(resolved(QStringLiteral("D:\\trail\\")), real("trail\\"));
}

TEST_F(ResolveDrivePath, ManyPartialMatchesCostABoundedNumberOfProbes) {
    // Every prefix of a long chain of one-letter names exists as a folder, but the file at its end does
    // not: each level is taken back after all its joined names were tried.
    QByteArray path;
    QString stored = QStringLiteral("D:");
    for (int i = 0; i < 40; ++i) {
        path += path.isEmpty() ? "a" : "/a";
        folder(path);
        stored += QStringLiteral("\\a");
    }
    stored += QStringLiteral("\\missing.txt");
    QElapsedTimer clock;
    clock.start();
    EXPECT_EQ(resolved(stored), real(path + "/missing.txt"));
    EXPECT_LT(clock.elapsed(), 2000);
}

}  // namespace
}  // namespace vt
