#pragma once

#include <QString>
#include <cstdint>

namespace vt {

// The name of the first link in `folder` (such as /dev/disk/by-label) that points at `device`, with
// udev's "\x20"-style escapes decoded. Empty when there is none.
QString udevLinkName(const QString& folder, const QString& device);

// Decodes udev's hexadecimal escapes ("\x20" for a blank) in a link name.
QString decodeUdevName(const QString& name);

// A stable 32-bit value for a filesystem UUID text (FNV-1a over its UTF-8 bytes); 0 for an empty text.
std::uint32_t serialFromUuid(const QString& uuid);

}  // namespace vt
