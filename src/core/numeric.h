#pragma once
// Double to 32-bit integer conversions. C++ leaves an out-of-range conversion undefined,
// so every such conversion in the engine goes through these.
#include <cmath>
#include <cstdint>

namespace qx {

// Saturates to [INT32_MIN, INT32_MAX]; NaN gives 0. Fractions are truncated toward zero.
constexpr int32_t toInt32(double v) {
    if (v != v) return 0;
    if (v >= 2147483647.0) return INT32_MAX;
    if (v <= -2147483648.0) return INT32_MIN;
    return static_cast<int32_t>(v);
}

// The 32-bit two's-complement pattern of the saturated value: -1 gives 0xFFFFFFFF.
constexpr uint32_t toUInt32Bits(double v) {
    return static_cast<uint32_t>(toInt32(v));
}

}  // namespace qx
