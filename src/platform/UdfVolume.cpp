#include "platform/UdfVolume.h"

#include <algorithm>
#include <map>

namespace vt::udf {

QString UdfVolume::readDescriptorSequence(std::uint32_t start, std::uint32_t bytes) {
    std::map<std::uint16_t, Partition> partitions;  // by partition number
    std::vector<std::uint16_t> mapped;              // partition numbers, by reference number
    bool haveVolume = false;
    Block b{};
    for (std::uint32_t i = 0; i < std::min<std::uint32_t>(bytes / kBlock, 64); ++i) {
        if (!sectors_.read(std::uint64_t(start) + i, 1, b.data())) break;
        if (isTag(b.data(), Terminator)) break;
        if (isTag(b.data(), PartitionDescriptor)) {
            partitions.emplace(le16(b.data() + 22), Partition{le32(b.data() + 188), le32(b.data() + 192)});
        } else if (isTag(b.data(), LogicalVolumeDescriptor) && !haveVolume) {
            haveVolume = true;
            if (le32(b.data() + 212) != kBlock) return QStringLiteral("the UDF block size is not 2048 bytes");
            fileSet_ = longAd(b.data() + 248);
            const std::uint32_t tableBytes = le32(b.data() + 264), maps = le32(b.data() + 268);
            if (tableBytes > kBlock - 440) return QStringLiteral("the UDF partition maps are damaged");
            const unsigned char* map = b.data() + 440;
            const unsigned char* end = map + tableBytes;
            for (std::uint32_t m = 0; m < maps; ++m) {
                if (end - map < 2 || map[1] < 2 || end - map < map[1]) {
                    return QStringLiteral("the UDF partition maps are damaged");
                }
                if (map[0] != 1 || map[1] != 6) {
                    return QStringLiteral("UDF virtual, sparable and metadata partitions are not supported");
                }
                mapped.push_back(le16(map + 4));
                map += map[1];
            }
        }
    }
    if (!haveVolume || partitions.empty()) return QStringLiteral("the UDF volume descriptors are incomplete");
    if (mapped.empty()) mapped.push_back(partitions.begin()->first);
    byReference_.clear();
    for (std::uint16_t number : mapped) {
        const auto found = partitions.find(number);
        if (found == partitions.end()) return QStringLiteral("a UDF partition map names a missing partition");
        byReference_.push_back(found->second);
    }
    return {};
}

QString UdfVolume::open() {
    Block b{};
    if (!sectors_.read(256, 1, b.data()) || !isTag(b.data(), AnchorPointer)) {
        return QStringLiteral("no UDF anchor at sector 256");
    }
    // The main descriptor sequence, else its reserve copy.
    QString error = readDescriptorSequence(le32(b.data() + 20), le32(b.data() + 16));
    if (!error.isEmpty() && readDescriptorSequence(le32(b.data() + 28), le32(b.data() + 24)).isEmpty()) {
        error.clear();
    }
    if (!error.isEmpty()) return error;
    if (!read(fileSet_, 1, b.data()) || !isTag(b.data(), FileSetDescriptor)) {
        return QStringLiteral("the UDF file set descriptor cannot be read");
    }
    root_ = longAd(b.data() + 400);
    return {};
}

bool UdfVolume::read(const LongAd& where, int count, unsigned char* out) const {
    if (where.partition >= byReference_.size() || count < 0) return false;
    const Partition& p = byReference_[where.partition];
    if (std::uint64_t(where.block) + std::uint64_t(count) > p.length) return false;
    return sectors_.read(std::uint64_t(p.start) + where.block, count, out);
}

}  // namespace vt::udf
