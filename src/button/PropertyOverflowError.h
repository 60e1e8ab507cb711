#pragma once

#include <QString>
#include <stdexcept>

namespace vt::button {

// A value does not fit the field it is assigned to (a pointer code outside 16 bits, a key or button code
// outside 8 bits). Nothing was changed.
class PropertyOverflowError : public std::overflow_error {
public:
    explicit PropertyOverflowError(const QString& what) : std::overflow_error(what.toStdString()) {}
};

}  // namespace vt::button
