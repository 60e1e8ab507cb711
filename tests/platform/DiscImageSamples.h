#pragma once

#include <QMap>
#include <QString>
#include <QStringList>

#include "support/ChildProcess.h"

namespace vt {
class DiscImage;
}

namespace vt::test {

// Why the named tools cannot be used here, or empty when all are installed.
QString missingTools(const QStringList& programs);

// Writes a small folder tree with Persian, spaced and quoted names, a hidden file and an empty folder.
void writeSampleTree(const QString& root);

// Path ("dir/file") to length of every file and folder under `root` (folders as -1).
QMap<QString, qint64> sourceTree(const QString& root);
// The same, as the image lists it; also checks that every entry carries the attributes of a disc's file.
QMap<QString, qint64> listedTree(const DiscImage& image);

// Makes genisoimage's bridge image of `tree` (UDF and ISO 9660 over the same files) labelled UDF_DISC.
QString makeBridgeImage(const QString& tree, const QString& image);
// Overwrites the identifier "CD001" of every ISO 9660 descriptor with "BOOT2", leaving the rest of the
// recognition sequence (BEA01, NSR02, TEA01) and the UDF structures as they are: a UDF-only image.
bool hideIsoDescriptors(const QString& image);

// Copies a 2048-byte-sector image into raw 2352-byte mode 1 sectors (sync, header, data; EDC/ECC zero).
bool writeRawImage(const QString& iso, const QString& raw);
// Copies `data` (one data track of 2048- or 2352-byte sectors) into a Nero image: track-at-once (an ETN2
// chunk, NER5 footer) or disc-at-once (a DAOX chunk, NERO footer).
bool writeNeroImage(const QString& data, const QString& nrg, int sectorBytes, bool discAtOnce);
// A cue sheet beside `image` that describes it as one data track of the given mode ("MODE1/2048").
QString writeCueSheet(const QString& image, const QString& mode);

}  // namespace vt::test
