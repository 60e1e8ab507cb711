#pragma once

#include <memory>
#include <vector>

#include "platform/MountList.h"

namespace vt::test {

// The machine's mounts as a test sets them. Each `view` is one program's look at them and learns of a
// change once, as the kernel tells each process's mount table apart.
class FakeMounts {
  public:
    void set(std::vector<MountEntry> mounts) {
        mounts_ = std::move(mounts);
        ++generation_;
    }

    std::unique_ptr<MountList> view() const { return std::make_unique<View>(*this); }

  private:
    class View final : public MountList {
      public:
        explicit View(const FakeMounts& mounts) : mounts_(mounts) {}
        bool changed() override { return seen_ != mounts_.generation_; }
        std::vector<MountEntry> read() override {
            seen_ = mounts_.generation_;
            return mounts_.mounts_;
        }

      private:
        const FakeMounts& mounts_;
        long seen_ = -1;
    };

    std::vector<MountEntry> mounts_;
    long generation_ = 0;
};

}  // namespace vt::test
