#pragma once

#include <stdexcept>
#include <string>

namespace vt::button {

// Raised when button geometry arithmetic leaves the 32-bit range. Painting stops at that point and the
// error reaches whoever asked for the repaint, instead of drawing at a wrapped-around coordinate.
class OverflowError : public std::overflow_error {
  public:
    explicit OverflowError(const std::string& what) : std::overflow_error(what) {}
};

}  // namespace vt::button
