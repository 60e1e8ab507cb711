#pragma once

#include <vector>

#include "platform/MountInfo.h"

namespace vt {

// The filesystems mounted as this process sees them.
class MountList {
  public:
    virtual ~MountList() = default;

    // True when mounts may have come or gone since the last `read`, and always before the first one.
    virtual bool changed() = 0;
    virtual std::vector<MountEntry> read() = 0;
};

}  // namespace vt
