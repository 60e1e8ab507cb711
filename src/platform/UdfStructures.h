#pragma once

#include <array>
#include <cstdint>

#include "platform/ImageSectors.h"

// The on-disc structures of UDF (ECMA-167 with the OSTA UDF rules) that a reader of its directories needs.
namespace vt::udf {

constexpr int kBlock = kImageSectorBytes;
using Block = std::array<unsigned char, kBlock>;

// Descriptor tag identifiers (ECMA-167 3/7.2.1 and 4/7.2.1).
enum Tag : std::uint16_t {
    AnchorPointer = 2,
    PartitionDescriptor = 5,
    LogicalVolumeDescriptor = 6,
    Terminator = 8,
    FileSetDescriptor = 256,
    FileIdentifier = 257,
    AllocationExtent = 258,
    FileEntry = 261,
    ExtendedFileEntry = 266,
};

inline std::uint16_t le16(const unsigned char* p) {
    return std::uint16_t(p[0] | p[1] << 8);
}
inline std::uint32_t le32(const unsigned char* p) {
    return std::uint32_t(p[0]) | std::uint32_t(p[1]) << 8 | std::uint32_t(p[2]) << 16 |
           std::uint32_t(p[3]) << 24;
}
inline std::uint64_t le64(const unsigned char* p) {
    return std::uint64_t(le32(p)) | std::uint64_t(le32(p + 4)) << 32;
}

// A descriptor with identifier `id` whose tag checksum holds.
inline bool isTag(const unsigned char* p, std::uint16_t id) {
    if (le16(p) != id) return false;
    unsigned sum = 0;
    for (int i = 0; i < 16; ++i) sum += i == 4 ? 0 : p[i];
    return std::uint8_t(sum) == p[4];
}

// Where a file's entry or data lies: a block within a partition, by partition reference number.
struct LongAd {
    std::uint32_t length = 0;
    std::uint32_t block = 0;
    std::uint16_t partition = 0;
    bool operator<(const LongAd& o) const {
        return partition != o.partition ? partition < o.partition : block < o.block;
    }
};

inline LongAd longAd(const unsigned char* p) {
    return LongAd{le32(p) & 0x3FFFFFFF, le32(p + 4), le16(p + 8)};
}

}  // namespace vt::udf
