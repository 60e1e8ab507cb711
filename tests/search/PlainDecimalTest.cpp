#include <gtest/gtest.h>

#include "search/PlainDecimal.h"

namespace vt {
namespace {

TEST(PlainDecimal, SizesAreWrittenOutWithoutExponents) {
    EXPECT_EQ(plainDecimal(5368709120.0), QStringLiteral("5368709120"));
    EXPECT_EQ(plainDecimal(0.0), QStringLiteral("0"));
    EXPECT_EQ(plainDecimal(1e20), QStringLiteral("100000000000000000000"));
    EXPECT_EQ(plainDecimal(QVariant(qlonglong(9007199254740993))), QStringLiteral("9007199254740993"));
    EXPECT_EQ(plainDecimal(QVariant(QStringLiteral("12 KB"))), QStringLiteral("12 KB"));
    EXPECT_EQ(plainDecimal(QVariant()), QString());
}

}  // namespace
}  // namespace vt
