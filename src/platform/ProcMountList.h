#pragma once

#include "platform/Descriptor.h"
#include "platform/MountList.h"

namespace vt {

// This process's mount table, /proc/self/mountinfo, kept open so that the kernel can say when it changes.
// With the table unreadable no filesystem is listed.
class ProcMountList final : public MountList {
  public:
    ProcMountList();

    bool changed() override;
    std::vector<MountEntry> read() override;

  private:
    Descriptor table_;
    bool read_ = false;
};

}  // namespace vt
