#pragma once

#include <QString>
#include <cstdint>
#include <functional>
#include <optional>

namespace vt {

// What a disc's own volume descriptors say about it, read straight from the device or image file.
struct DiscVolume {
    QString label;
    std::uint32_t serial = 0;  // the serial the Windows disc drivers show for the same disc
    // The volume's size as recorded: volume space size times block size for ISO 9660, the partition's
    // length times block size for UDF (what a mounted UDF volume reports as its total); 0 when not known.
    std::uint64_t volumeBytes = 0;
    bool joliet = false;  // ISO 9660: the disc carries a Joliet descriptor (and Joliet names)
};

// The serial of an ISO 9660 disc from its 2048-byte volume descriptor (the Joliet one when present, else
// the primary): byte i is added into 8-bit lane i mod 4; the lanes make the serial lane0 first.
std::uint32_t isoSerial(const unsigned char* descriptor, int size);
// The serial of a UDF disc from its File Set Descriptor block: the same sums, assembled lane3 first.
std::uint32_t udfSerial(const unsigned char* block, int size);

// Reads the descriptors of `path` (a device or image file). `udf` chooses the UDF structures (for a
// filesystem mounted as UDF), otherwise ISO 9660. Nothing when the file cannot be read or holds no such
// volume.
std::optional<DiscVolume> readDiscVolume(const QString& path, bool udf);

// Reads 2048-byte logical sector `sector` of a disc into `out`; false when it cannot be read.
using DiscSectorReader = std::function<bool(std::uint64_t sector, unsigned char* out)>;
// The same for a disc whose sectors are not laid out as a plain file (raw CD sectors, a cue sheet's track).
std::optional<DiscVolume> readDiscVolume(const DiscSectorReader& readSector, bool udf);

}  // namespace vt
