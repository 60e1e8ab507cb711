#pragma once

#include <gtest/gtest.h>

#include "ImageCheck.h"
#include "button/paint/ButtonPainter.h"
#include "support/FakeSystemColors.h"

namespace vt::test {

// A button of a given size in FixedColors (so the expected colours are constants), its surface and the
// colour sources; repaint() runs the whole sequence. Failed tests leave the surface under
// $VT_TEST_OUTPUT.
class ButtonFixture : public ::testing::Test {
  protected:
    void setUpButton(std::int32_t type, int w, int h, std::int32_t scheme = vt::button::FixedColors) {
        state.ButtonType = type;
        state.ColorScheme = scheme;
        state.ClientWidth = w;
        state.ClientHeight = h;
        state.FocusRect = vt::button::focusRectFor(type, w, h);
        state.Caption.clear();
        vt::button::DeriveColors(state, sources);
        vt::button::CalcCaptionRect(state);
        surface = blankSurface(w, h, 0x00FF00);
    }
    bool repaint(std::uint8_t paintState, bool force = true) {
        return vt::button::DrawButton(state, surface, paintState, force, sources);
    }
    std::uint32_t at(int x, int y) const { return pixelAt(surface, x, y); }
    void TearDown() override {
        const auto* info = ::testing::UnitTest::GetInstance()->current_test_info();
        saveOnFailure(surface, QString("%1-%2").arg(info->test_suite_name(), info->name()).replace('/', '_'));
    }

    FakeSystemColors system;
    vt::button::ColorSources sources{&system, 0xB3BCC1, 0x000000};
    vt::button::ButtonState state;
    QImage surface;
};

}  // namespace vt::test
