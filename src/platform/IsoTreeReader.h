#pragma once

#include <QString>

namespace vt {

class ImageSectors;
class ImageTree;

// Reads the ISO 9660 directory tree of an image into `tree` with libarchive: the Joliet tree when `joliet`
// (the names Windows shows where the disc has one), else the primary tree with its Rock Ridge names, or its
// plain ISO names without their ";1" version. Files recorded in several extents (4 GiB and more) get
// their whole length; links and special files are left out. Returns empty when the whole tree was
// read, else why the reading stopped (the tree then holds what was read before; its root is marked
// unreadable when nothing could be read).
QString readIsoTree(ImageSectors& sectors, bool joliet, ImageTree& tree);

}  // namespace vt
