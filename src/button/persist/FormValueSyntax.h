#pragma once

#include <QString>

#include "button/persist/BagValue.h"

namespace vt::button {

// How one value is written on a line of a form file:
//   integers   -12, 0x00D8D7CB (hexadecimal: 32-bit patterns, so 0x8000000F reads as a negative Int32)
//   texts      "caption" with the escapes \\ \" \n \r \t and \uXXXX
//   fonts      font("Tahoma", 9, 400, 0, 0, 0): family, points, weight (1-1000), italic, underline,
//              strikeout (-1 true, 0 false)
//   pictures   picture() for an empty picture object, picture("file.bmp", 1) for a bitmap and
//              picture("file.png", 3) for an icon; the file lies in the form file's folder.
namespace FormValueSyntax {

// The text for `value`; `pictureFile` is the file name a picture value is saved under.
QString encode(const BagValue& value, const QString& pictureFile);

struct Decoded {
    BagValue value;
    QString error;  // empty on success
};
// Parses `text`; pictures are loaded from `folder` (a directory or resource path).
Decoded decode(const QString& text, const QString& folder);

}  // namespace FormValueSyntax
}  // namespace vt::button
