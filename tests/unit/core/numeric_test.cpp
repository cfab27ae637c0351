#include "core/numeric.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>

namespace qx {
namespace {

struct ConvCase {
    double in;
    int32_t asInt;
    uint32_t bits;
};

TEST(Numeric, ConversionsSaturateTruncateAndMapNaNToZero) {
    const double inf = std::numeric_limits<double>::infinity();
    const ConvCase cases[] = {
        {-0.0, 0, 0u},
        {-1.9, -1, 0xFFFFFFFFu},
        {2147483647.9, INT32_MAX, 0x7FFFFFFFu},
        {2147483648.0, INT32_MAX, 0x7FFFFFFFu},
        {-2147483648.0, INT32_MIN, 0x80000000u},
        {-2147483649.0, INT32_MIN, 0x80000000u},
        {inf, INT32_MAX, 0x7FFFFFFFu},
        {-inf, INT32_MIN, 0x80000000u},
        {std::nan(""), 0, 0u},
        {-std::nan(""), 0, 0u},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(toInt32(c.in), c.asInt) << c.in;
        EXPECT_EQ(toUInt32Bits(c.in), c.bits) << c.in;
    }
}

}  // namespace
}  // namespace qx
