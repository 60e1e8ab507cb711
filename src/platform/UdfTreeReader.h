#pragma once

#include <QString>

namespace vt {

class ImageSectors;
class ImageTree;

// Reads the UDF directory tree of an image (block size 2048, type 1 partition maps: what DVD and CD
// authoring tools write up to UDF 2.01) into `tree`. Names are the recorded Unicode names, lengths the
// 64-bit information lengths; links and special files are left out. Every record is checked against the
// image's bounds and its descriptor tag, so a damaged image gives an error, never a wild read. Returns
// empty when the whole tree was read; else why not: the tree then holds what could be read, and folders
// whose records are damaged are marked unreadable (the root too when the volume itself cannot be used).
QString readUdfTree(ImageSectors& sectors, ImageTree& tree);

}  // namespace vt
