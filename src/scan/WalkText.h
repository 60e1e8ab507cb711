#pragma once

#include <QString>
#include <cstdint>

namespace vt {

// The text before the first NUL character; an empty text when there is no NUL (a buffer the system did
// not terminate holds nothing usable).
QString TrimNull(const QString& text);

// "\" for an empty path, the path itself when it ends with "\", otherwise the path and a "\".
QString AddBackslash(const QString& path);

// The catalogue's attribute words for attribute bits, run together in a fixed order:
// Directory, Hidden, System, Archive, then always Normal, then ReadOnly.
QString AttributeText(std::uint32_t attributes);

// The text with leading and trailing blanks (spaces only) removed, as names and paths are stored.
QString TrimBlanks(const QString& text);

}  // namespace vt
