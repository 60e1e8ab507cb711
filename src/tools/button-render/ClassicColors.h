#pragma once

#include <map>

#include "platform/SystemColors.h"

namespace vt::render {

// The classic desktop palette, fixed so that a rendering does not depend on the machine it runs on.
class ClassicColors final : public SystemColors {
  public:
    bool color(int index, std::uint32_t& rgb) const override {
        static const std::map<int, std::uint32_t> palette{
            {SysColor::Highlight, 0x6A240A},       {SysColor::ButtonFace, 0xC8D0D4},
            {SysColor::ButtonShadow, 0x808080},    {SysColor::ButtonText, 0x000000},
            {SysColor::ButtonHighlight, 0xFFFFFF}, {SysColor::DarkShadow3D, 0x404040},
            {SysColor::Light3D, 0xC8D0D4}};
        const auto it = palette.find(index);
        if (it == palette.end()) return false;
        rgb = it->second;
        return true;
    }
};

}  // namespace vt::render
