#pragma once

#include <cstdint>

namespace vt {

// System colour indexes the program asks for (the classic GetSysColor numbering).
namespace SysColor {
constexpr int Highlight = 13;
constexpr int ButtonFace = 15;
constexpr int ButtonShadow = 16;
constexpr int ButtonText = 18;
constexpr int ButtonHighlight = 20;
constexpr int DarkShadow3D = 21;
constexpr int Light3D = 22;
}  // namespace SysColor

// The desktop's current colours, as 0x00BBGGRR values (red in the low byte).
class SystemColors {
  public:
    virtual ~SystemColors() = default;
    // The colour for a GetSysColor index; returns false for an index that is not known.
    virtual bool color(int index, std::uint32_t& rgb) const = 0;
};

}  // namespace vt
