#pragma once

#include <map>

#include "platform/SystemColors.h"

namespace vt::test {

// The classic desktop palette, changeable per test.
class FakeSystemColors final : public SystemColors {
  public:
    FakeSystemColors()
        : colors_{{13, 0x6A240A}, {15, 0xC8D0D4}, {16, 0x808080}, {18, 0x000000},
                  {20, 0xFFFFFF}, {21, 0x404040}, {22, 0xC8D0D4}} {}

    bool color(int index, std::uint32_t& rgb) const override {
        const auto it = colors_.find(index);
        if (it == colors_.end()) return false;
        rgb = it->second;
        return true;
    }
    void set(int index, std::uint32_t rgb) { colors_[index] = rgb; }

  private:
    std::map<int, std::uint32_t> colors_;
};

}  // namespace vt::test
