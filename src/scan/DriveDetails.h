#pragma once

#include <QString>
#include <cstdint>

namespace vt {

class DriveTable;

// What the new-disk window shows for a drive, as texts; the used size and serial texts are what a new
// Disks row stores, so every program that catalogues a disc builds them here.
struct DriveDetails {
    QString usedSize;        // formatUsedSize(total - free)
    QString label;           // up to the first NUL
    QString fileSystemName;  // up to the first NUL
    QString serial;          // serialText(serial)
};

// Bytes with the pattern "###,###,###,##0" (digits grouped in threes with the locale's thousands
// separator, at least "0") followed by " bytes".
QString formatUsedSize(std::uint64_t bytes);
// The serial read as a signed 32-bit integer, in decimal (0x80000000 shows as -2147483648).
QString serialText(std::uint32_t serial);
// Reads the details of the drive under `root` (such as "D:\"); zero/empty values when it has no disc.
DriveDetails readDriveDetails(const DriveTable& drives, const QString& root);

}  // namespace vt
