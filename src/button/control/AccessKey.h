#pragma once

#include <QString>

namespace vt::button {

// The access key a caption gives its control: the character after the first "&", lower-cased; after a
// leading "&&" (a literal ampersand) the character after the next "&". Empty when there is none.
// Only those two ampersands are looked at, so "A&&B&&C&D" has no access key.
QString accessKeyOf(const QString& caption);

}  // namespace vt::button
