#pragma once
// Reading and replacing one field of a packed 32-bit attribute word.
#include <cstdint>

namespace qx::bits {

constexpr uint32_t field(uint32_t word, int shift, uint32_t mask) {
    return (word >> shift) & mask;
}
constexpr uint32_t withField(uint32_t word, int shift, uint32_t mask, uint32_t value) {
    return (word & ~(mask << shift)) | ((value & mask) << shift);
}
constexpr bool bit(uint32_t word, int shift) {
    return ((word >> shift) & 1u) != 0;
}
constexpr uint32_t withBit(uint32_t word, int shift, bool on) {
    return withField(word, shift, 1u, on ? 1u : 0u);
}

}  // namespace qx::bits
