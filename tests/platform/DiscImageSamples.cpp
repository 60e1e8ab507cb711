#include "DiscImageSamples.h"

#include <gtest/gtest.h>

#include <QDir>
#include <QDirIterator>
#include <QFile>
#include <QFileInfo>
#include <QStandardPaths>
#include <functional>

#include "platform/DiscImage.h"

namespace vt::test {

QString missingTools(const QStringList& programs) {
    for (const QString& program : programs) {
        if (QStandardPaths::findExecutable(program).isEmpty()) {
            return program + QStringLiteral(" is not installed (scripts/setup.sh installs it)");
        }
    }
    return {};
}

void writeSampleTree(const QString& root) {
    const auto write = [&root](const QString& path, int bytes) {
        QDir(root).mkpath(QFileInfo(path).path());
        QFile file(root + QLatin1Char('/') + path);
        ASSERT_TRUE(file.open(QIODevice::WriteOnly)) << path.toStdString();
        file.write(QByteArray(bytes, 'v'));
    };
    write(QStringLiteral("پوشه اصلی/گزارش سال ۱۴۰۲.txt"), 3000);
    write(QStringLiteral("پوشه اصلی/زیر پوشه/«نقل قول» و 'تک'.doc"), 70001);
    write(QStringLiteral("it's \"quoted\" here.txt"), 1);
    write(QStringLiteral("a b/c d/e f g.bin"), 2048);
    write(QStringLiteral("a b/c d/empty.dat"), 0);
    write(QStringLiteral(".hidden note"), 12);
    QDir(root).mkpath(QStringLiteral("خالی"));
}

QMap<QString, qint64> sourceTree(const QString& root) {
    QMap<QString, qint64> tree;
    QDirIterator it(root, QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot,
                    QDirIterator::Subdirectories);
    while (it.hasNext()) {
        const QFileInfo info(it.next());
        tree.insert(QDir(root).relativeFilePath(info.filePath()), info.isDir() ? -1 : info.size());
    }
    return tree;
}

QMap<QString, qint64> listedTree(const DiscImage& image) {
    QMap<QString, qint64> tree;
    const std::function<void(const QString&)> walk = [&](const QString& folder) {
        FindData entry;
        FindStatus status;
        auto handle = image.findFirst(folder, QStringLiteral("*.*"), entry, status);
        EXPECT_EQ(status, FindStatus::Found) << folder.toStdString();
        if (!handle) return;
        do {
            if (entry.name == QLatin1String(".") || entry.name == QLatin1String("..")) continue;
            const QString path = folder.isEmpty() ? entry.name : folder + QLatin1Char('/') + entry.name;
            const std::uint32_t expected =
                FileAttribute::ReadOnly | (entry.isDirectory() ? FileAttribute::Directory : 0) |
                (entry.name.startsWith(QLatin1Char('.')) ? FileAttribute::Hidden : 0);
            EXPECT_EQ(entry.attributes, expected) << path.toStdString();
            tree.insert(path, entry.isDirectory() ? -1 : entry.length);
            if (entry.isDirectory()) walk(path);
        } while (handle->next(entry));
        EXPECT_FALSE(handle->failed()) << folder.toStdString();
    };
    walk(QString());
    return tree;
}

QString makeBridgeImage(const QString& tree, const QString& image) {
    return runTool(QStringLiteral("genisoimage"),
                   {QStringLiteral("-quiet"), QStringLiteral("-udf"), QStringLiteral("-R"),
                    QStringLiteral("-J"), QStringLiteral("-joliet-long"), QStringLiteral("-V"),
                    QStringLiteral("UDF_DISC"), QStringLiteral("-o"), image, tree});
}

bool hideIsoDescriptors(const QString& image) {
    QFile file(image);
    if (!file.open(QIODevice::ReadWrite)) return false;
    for (qint64 sector = 16; sector < 32; ++sector) {
        file.seek(sector * 2048 + 1);
        if (file.read(5) != "CD001") continue;
        file.seek(sector * 2048 + 1);
        file.write("BOOT2", 5);
    }
    return true;
}

namespace {

unsigned char bcd(int value) {
    return static_cast<unsigned char>((value / 10) << 4 | value % 10);
}

}  // namespace

bool writeRawImage(const QString& iso, const QString& raw) {
    QFile in(iso), out(raw);
    if (!in.open(QIODevice::ReadOnly) || !out.open(QIODevice::WriteOnly)) return false;
    QByteArray sector(2352, '\0');
    for (int lba = 0;; ++lba) {
        const QByteArray data = in.read(2048);
        if (data.isEmpty()) break;
        sector.fill('\0');
        sector.replace(1, 10, QByteArray(10, '\xFF'));
        const int frames = lba + 150;  // addresses count from the two-second pregap
        sector[12] = char(bcd(frames / (75 * 60)));
        sector[13] = char(bcd(frames / 75 % 60));
        sector[14] = char(bcd(frames % 75));
        sector[15] = 1;
        sector.replace(16, data.size(), data);
        if (out.write(sector) != sector.size()) return false;
    }
    return true;
}

namespace {

QByteArray bigEndian(quint64 value, int bytes) {
    QByteArray out(bytes, '\0');
    for (int i = bytes - 1; i >= 0; --i, value >>= 8) out[i] = char(value & 0xff);
    return out;
}

}  // namespace

bool writeNeroImage(const QString& data, const QString& nrg, int sectorBytes, bool discAtOnce) {
    if (!QFile::copy(data, nrg)) return false;
    QFile file(nrg);
    if (!file.open(QIODevice::Append)) return false;
    const quint64 length = quint64(file.size());
    QByteArray chunks;
    if (discAtOnce) {
        QByteArray body = bigEndian(0, 4) + QByteArray(13, '\0') + QByteArray(3, '\0') + "\x01\x01";
        body +=
            QByteArray(10, '\0') + bigEndian(quint64(sectorBytes), 4) + QByteArray(4, '\0');  // mode 0: data
        body += bigEndian(0, 8) + bigEndian(0, 8) + bigEndian(length, 8);  // index 0, 1, end
        chunks = "DAOX" + bigEndian(quint64(body.size()), 4) + body;
    } else {
        const QByteArray entry =
            bigEndian(0, 8) + bigEndian(length, 8) + bigEndian(0, 4) + bigEndian(0, 4) + bigEndian(0, 8);
        chunks = "ETN2" + bigEndian(quint64(entry.size()), 4) + entry;
    }
    chunks += "END!" + bigEndian(0, 4);
    const QByteArray footer = discAtOnce ? "NERO" + bigEndian(length, 4) : "NER5" + bigEndian(length, 8);
    return file.write(chunks + footer) == chunks.size() + footer.size();
}

QString writeCueSheet(const QString& image, const QString& mode) {
    const QString cue = image + QStringLiteral(".cue");
    QFile file(cue);
    EXPECT_TRUE(file.open(QIODevice::WriteOnly));
    file.write(QStringLiteral("FILE \"%1\" BINARY\n  TRACK 01 %2\n    INDEX 01 00:00:00\n")
                   .arg(QFileInfo(image).fileName(), mode)
                   .toUtf8());
    return cue;
}

}  // namespace vt::test
