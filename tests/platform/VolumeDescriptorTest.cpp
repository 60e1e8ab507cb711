#include <gtest/gtest.h>

#include <QFile>
#include <QTemporaryDir>
#include <cstring>

#include "platform/VolumeDescriptor.h"

namespace vt {
namespace {

constexpr int kSector = 2048;

class Image {
  public:
    explicit Image(int sectors) : bytes_(sectors * kSector, '\0') {}
    unsigned char* sector(int n) { return reinterpret_cast<unsigned char*>(bytes_.data()) + n * kSector; }
    QString save(const QTemporaryDir& dir, const char* name) {
        const QString path = dir.filePath(QString::fromLatin1(name));
        QFile file(path);
        EXPECT_TRUE(file.open(QIODevice::WriteOnly));
        file.write(bytes_);
        return path;
    }

  private:
    QByteArray bytes_;
};

void put16(unsigned char* p, unsigned v) {
    p[0] = v & 0xff, p[1] = (v >> 8) & 0xff;
}
void put32(unsigned char* p, unsigned v) {
    for (int i = 0; i < 4; ++i) p[i] = (v >> (8 * i)) & 0xff;
}

void isoDescriptor(unsigned char* s, int type, const char* label) {
    s[0] = type;
    std::memcpy(s + 1, "CD001", 5);
    s[6] = 1;
    std::memset(s + 40, ' ', 32);
    std::memcpy(s + 40, label, std::strlen(label));
    put32(s + 80, 333000);  // volume space size in blocks
    put16(s + 128, 2048);   // logical block size
}

void jolietDescriptor(unsigned char* s, const QString& label) {
    isoDescriptor(s, 2, "");
    std::memcpy(s + 88, "%/E", 3);
    for (int i = 0; i < 16; ++i) {
        const char16_t c = i < label.size() ? label[i].unicode() : u' ';
        s[40 + 2 * i] = c >> 8, s[41 + 2 * i] = c & 0xff;
    }
}

TEST(VolumeSerial, BytesAreSummedIntoFourWrappingLanes) {
    unsigned char d[kSector] = {};
    d[0] = 0x12, d[1] = 0x34, d[2] = 0x56, d[3] = 0x78;
    d[4] = 0xF0, d[8] = 0x20;  // lane 0: 0x12 + 0xF0 + 0x20 wraps to 0x22
    d[2047] = 0x01;            // lane 3
    EXPECT_EQ(isoSerial(d, kSector), 0x22345679u);
    EXPECT_EQ(udfSerial(d, kSector), 0x79563422u);
    unsigned char top[kSector] = {};
    top[0] = 0x80;
    EXPECT_EQ(isoSerial(top, kSector), 0x80000000u);
}

TEST(VolumeDescriptor, JolietDescriptorGivesLabelAndSerialElsePrimary) {
    QTemporaryDir dir;
    Image joliet(20);
    isoDescriptor(joliet.sector(16), 1, "PRIMARY_LABEL");
    jolietDescriptor(joliet.sector(17), QStringLiteral("آرشیو 1"));
    joliet.sector(18)[0] = 255;
    std::memcpy(joliet.sector(18) + 1, "CD001", 5);
    const auto withJoliet = readDiscVolume(joliet.save(dir, "j.iso"), false);
    ASSERT_TRUE(withJoliet);
    EXPECT_EQ(withJoliet->label, QStringLiteral("آرشیو 1"));
    EXPECT_EQ(withJoliet->serial, isoSerial(joliet.sector(17), kSector));
    EXPECT_NE(withJoliet->serial, isoSerial(joliet.sector(16), kSector));
    EXPECT_EQ(withJoliet->volumeBytes, 333000ull * 2048);

    Image plain(20);
    isoDescriptor(plain.sector(16), 1, "PRIMARY_LABEL");
    plain.sector(17)[0] = 255;
    std::memcpy(plain.sector(17) + 1, "CD001", 5);
    const auto primaryOnly = readDiscVolume(plain.save(dir, "p.iso"), false);
    ASSERT_TRUE(primaryOnly);
    EXPECT_EQ(primaryOnly->label, QStringLiteral("PRIMARY_LABEL"));
    EXPECT_EQ(primaryOnly->serial, isoSerial(plain.sector(16), kSector));

    EXPECT_FALSE(readDiscVolume(Image(20).save(dir, "blank.img"), false));
    EXPECT_FALSE(readDiscVolume(Image(3).save(dir, "short.img"), false));
    EXPECT_FALSE(readDiscVolume(dir.filePath(QStringLiteral("missing.iso")), false));
}

TEST(VolumeDescriptor, UdfSerialComesFromTheFileSetDescriptor) {
    QTemporaryDir dir;
    Image udf(300);
    unsigned char* anchor = udf.sector(256);
    put16(anchor, 2);
    put32(anchor + 16, 4 * kSector);  // main descriptor sequence: 4 sectors at 32
    put32(anchor + 20, 32);
    unsigned char* partition = udf.sector(32);
    put16(partition, 5);
    put32(partition + 188, 270);  // partition starts at sector 270
    put32(partition + 192, 30);   // and is 30 blocks long
    unsigned char* volume = udf.sector(33);
    put16(volume, 6);
    volume[84] = 8;
    std::memcpy(volume + 85, "DVD_VIDEO", 9);
    volume[84 + 127] = 10;
    put32(volume + 212, 2048);
    put32(volume + 248 + 4, 2);  // file set descriptor in block 2 of the partition
    put16(udf.sector(34), 8);
    unsigned char* fileSet = udf.sector(272);
    put16(fileSet, 256);
    fileSet[5] = 0x77, fileSet[100] = 0x01;
    const auto read = readDiscVolume(udf.save(dir, "u.img"), true);
    ASSERT_TRUE(read);
    EXPECT_EQ(read->label, QStringLiteral("DVD_VIDEO"));
    EXPECT_EQ(read->serial, udfSerial(fileSet, kSector));
    EXPECT_EQ(read->serial & 0xff, 0x01u);  // lane 0 holds byte 0 (0x00) and byte 100 (0x01)
    EXPECT_EQ(read->volumeBytes, 30u * 2048);
}

}  // namespace
}  // namespace vt
