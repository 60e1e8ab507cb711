#include "platform/desktop/QtSystemColors.h"

#include <QGuiApplication>
#include <QPalette>

namespace vt {

namespace {

std::uint32_t toBgr(const QColor& c) {
    return std::uint32_t(c.red()) | (std::uint32_t(c.green()) << 8) | (std::uint32_t(c.blue()) << 16);
}

}  // namespace

bool QtSystemColors::color(int index, std::uint32_t& rgb) const {
    const QPalette palette = QGuiApplication::palette();
    switch (index) {
        case SysColor::Highlight:
            rgb = toBgr(palette.color(QPalette::Highlight));
            return true;
        case SysColor::ButtonFace:
            rgb = toBgr(palette.color(QPalette::Button));
            return true;
        case SysColor::ButtonShadow:
            rgb = toBgr(palette.color(QPalette::Mid));
            return true;
        case SysColor::ButtonText:
            rgb = toBgr(palette.color(QPalette::ButtonText));
            return true;
        case SysColor::ButtonHighlight:
            rgb = toBgr(palette.color(QPalette::Light));
            return true;
        case SysColor::DarkShadow3D:
            rgb = toBgr(palette.color(QPalette::Shadow));
            return true;
        case SysColor::Light3D:
            rgb = toBgr(palette.color(QPalette::Midlight));
            return true;
        default:
            return false;
    }
}

}  // namespace vt
