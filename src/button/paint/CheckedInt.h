#pragma once

#include <cstdint>

#include "button/paint/OverflowError.h"

namespace vt::button {

// A 32-bit signed coordinate whose arithmetic throws OverflowError instead of wrapping, so that face
// geometry can be written as plainly as "W - 2" and still never paint at a wrapped position.
// Division truncates toward zero, as all the layout halvings require.
class CheckedInt {
  public:
    constexpr CheckedInt(std::int32_t value = 0) : value_(value) {}  // NOLINT: implicit by design

    constexpr std::int32_t value() const { return value_; }

    friend CheckedInt operator+(CheckedInt a, CheckedInt b) {
        std::int32_t r;
        if (__builtin_add_overflow(a.value_, b.value_, &r)) fail("addition");
        return r;
    }
    friend CheckedInt operator-(CheckedInt a, CheckedInt b) {
        std::int32_t r;
        if (__builtin_sub_overflow(a.value_, b.value_, &r)) fail("subtraction");
        return r;
    }
    friend CheckedInt operator*(CheckedInt a, CheckedInt b) {
        std::int32_t r;
        if (__builtin_mul_overflow(a.value_, b.value_, &r)) fail("multiplication");
        return r;
    }
    friend CheckedInt operator/(CheckedInt a, CheckedInt b) {
        if (b.value_ == 0) throw OverflowError("button geometry: division by zero");
        if (a.value_ == INT32_MIN && b.value_ == -1) fail("division");
        return a.value_ / b.value_;
    }
    CheckedInt operator-() const { return CheckedInt(0) - *this; }

    friend bool operator==(CheckedInt a, CheckedInt b) { return a.value_ == b.value_; }
    friend bool operator!=(CheckedInt a, CheckedInt b) { return a.value_ != b.value_; }
    friend bool operator<(CheckedInt a, CheckedInt b) { return a.value_ < b.value_; }
    friend bool operator>(CheckedInt a, CheckedInt b) { return a.value_ > b.value_; }
    friend bool operator<=(CheckedInt a, CheckedInt b) { return a.value_ <= b.value_; }
    friend bool operator>=(CheckedInt a, CheckedInt b) { return a.value_ >= b.value_; }

  private:
    [[noreturn]] static void fail(const char* operation) {
        throw OverflowError(std::string("button geometry: 32-bit overflow in ") + operation);
    }

    std::int32_t value_;
};

}  // namespace vt::button
