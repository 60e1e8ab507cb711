#pragma once

#include <QString>
#include <QStringList>

#include "button/ButtonState.h"

namespace vt::render {

// What one run of button-render is asked to do, read from its command line.
struct RenderRequest {
    QString out;      // --out: the PNG of one button
    QString gallery;  // --gallery: the PNG of the sheet of every style
    std::int32_t width = 0;
    std::int32_t height = 0;
    std::uint8_t paintState = button::StateUp;
    button::ButtonState button;  // properties and the hover, focus and default flags
};

// The usage text printed for --help and after a command-line error.
QString usageText();

// Reads the arguments (without the program name). Returns false with a message for anything it cannot
// use: unknown options, missing or non-numeric sizes, unknown keys, bad property values.
bool parseRequest(const QStringList& args, RenderRequest& request, QString& error);

}  // namespace vt::render
