#pragma once

#include <QString>

namespace vt {

// A file size for people: bytes below a kilobyte, else KB, MB, GB or TB (powers of 1024) with one decimal.
QString readableSize(double bytes);

}  // namespace vt
