#pragma once

#include "platform/SystemColors.h"

namespace vt {

// System colours read from the desktop's current palette.
class QtSystemColors final : public SystemColors {
  public:
    bool color(int index, std::uint32_t& rgb) const override;
};

}  // namespace vt
