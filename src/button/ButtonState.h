#pragma once

#include <QFont>
#include <QImage>
#include <QString>
#include <cstdint>
#include <memory>

namespace vt::button {

// A colour as the control's properties hold it: 0x00BBGGRR is plain RGB (red in the low byte),
// 0x800000nn names system colour nn.
using ColorValue = std::int32_t;
// A plain RGB colour 0x00BBGGRR, as every working colour is.
using Rgb = std::uint32_t;

// The control's 16-bit booleans as they are persisted.
constexpr std::int16_t kTrue = -1;
constexpr std::int16_t kFalse = 0;

enum ButtonTypeValue : std::int32_t {
    FramedBevel = 1,
    Standard3D = 2,
    GradientRounded = 3,
    RoundedFramed = 4,
    FlatFramed = 5,
    SoftRaised = 6,
    ThinRaised = 7,
    HoverThin = 8,
    HoverHighlight = 9,
    Borderless = 10,
    Transparent = 11,
    Hover3D = 12,
    Oval = 13,
    GradientFramed = 14,
};

enum ColorSchemeValue : std::int32_t {
    SystemColors = 1,
    CustomColors = 2,
    FixedColors = 3,
    ContainerColors = 4,
};

enum PicturePositionValue : std::int32_t {
    PictureLeft = 0,
    PictureRight = 1,
    PictureTop = 2,
    PictureBottom = 3,
    PictureCenter = 4,
};

enum SpecialEffectValue : std::int32_t {
    EffectNone = 0,
    EffectRaised = 1,
    EffectSunken = 2,
    EffectShadow = 3,
};

// Paint states: released and pressed (2, not 1).
constexpr std::uint8_t StateUp = 0;
constexpr std::uint8_t StateDown = 2;

// Left, top, right, bottom; right and bottom exclusive.
struct IntRect {
    std::int32_t left = 0;
    std::int32_t top = 0;
    std::int32_t right = 0;
    std::int32_t bottom = 0;
    bool operator==(const IntRect& o) const {
        return left == o.left && top == o.top && right == o.right && bottom == o.bottom;
    }
};

// A picture property: a bitmap (type 1) or an icon (type 3, transparent where its alpha is 0).
struct Picture {
    enum Type : int { Bitmap = 1, Icon = 3 };
    QImage image;
    int type = Bitmap;
    QString sourcePath;  // where it was loaded from, for saving it back
};
using PictureRef = std::shared_ptr<const Picture>;

// The working colour set, derived from the colour scheme and colour properties.
struct WorkingColors {
    Rgb FaceColor = 0;
    Rgb LightColor = 0;
    Rgb HighlightColor = 0;
    Rgb ShadowColor = 0;
    Rgb DarkShadowColor = 0;
    Rgb TextColor = 0;
    Rgb HoverTextColor = 0;
    Rgb TransparentColor = 0;
    Rgb BrightFaceColor = 0;
    Rgb SelectionColor = 0;
    Rgb SelectionLightColor = 0;
};

// Everything a button is: its properties, its derived colours and geometry, its caption layout and its
// visible state. The control (MyButton) owns one; the painter and layout functions read it and write
// only the fields their procedures write (LastState, LastCaption, LastCaptionStyle, layout fields, the
// temporary colour swaps of a repaint, which they always restore).
struct ButtonState {
    // Properties.
    std::int32_t ButtonType = Standard3D;
    QString Caption;
    bool Enabled = true;
    QFont Font;
    std::int32_t ColorScheme = SystemColors;
    bool ShowFocusRect = true;
    ColorValue BackColor = 0;
    ColorValue BackOver = 0;
    ColorValue ForeColor = 0;
    ColorValue ForeOver = 0;
    ColorValue MaskColor = 0xC0C0C0;
    PictureRef PictureNormal;
    PictureRef PictureOver;
    bool UseMaskColor = true;
    bool SoftBevel = false;
    std::int32_t PicturePosition = PictureLeft;
    bool UseGreyscale = false;
    std::int32_t SpecialEffect = EffectNone;
    bool CheckBoxBehaviour = false;
    bool Value = false;

    // Geometry, from the resize procedure.
    std::int32_t ClientWidth = 0;
    std::int32_t ClientHeight = 0;
    IntRect FocusRect;

    // Working colours.
    WorkingColors colors;

    // Visible state.
    std::uint8_t LastState = StateUp;
    QString LastCaption;
    bool RedrawEnabled = true;
    bool MouseIsOver = false;
    bool HasFocus = false;
    bool DisplayAsDefault = false;  // the container shows this button as its default button

    // Caption layout.
    IntRect CaptionRect;
    IntRect ShiftedCaptionRect;
    std::int32_t CaptionWidth = 0;
    std::int32_t CaptionHeight = 0;
    std::int32_t PictureX = 0;
    std::int32_t PictureY = 0;
    std::int32_t PictureWidth = 0;
    std::int32_t PictureHeight = 0;
    std::uint8_t LastCaptionStyle = 0;

    // The parent's pixels under a Transparent button (null until first captured).
    QImage Background;
};

}  // namespace vt::button
