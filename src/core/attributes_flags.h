#pragma once
// The formula-flags fields the attribute code reads and writes, gathered in one place.
#include <cstdint>

#include "core/cell_records.h"

namespace qx::attrflag {

namespace detail {
constexpr uint32_t field(uint32_t word, int shift, uint32_t mask) {
    return (word >> shift) & mask;
}
constexpr uint32_t withField(uint32_t word, int shift, uint32_t mask, int value) {
    return (word & ~(mask << shift)) | ((static_cast<uint32_t>(value) & mask) << shift);
}
}  // namespace detail

constexpr bool option(uint32_t f) {
    return detail::field(f, 0, 0x1) != 0;
}
constexpr uint32_t withOption(uint32_t f, bool on) {
    return detail::withField(f, 0, 0x1, on ? 1 : 0);
}
constexpr int angleMode(uint32_t f) {
    return static_cast<int>(detail::field(f, 1, 0x3));
}
constexpr uint32_t withAngleMode(uint32_t f, int v) {
    return detail::withField(f, 1, 0x3, v);
}
constexpr int angleType(uint32_t f) {
    return static_cast<int>(detail::field(f, 3, 0x1F));
}
constexpr uint32_t withAngleType(uint32_t f, int v) {
    return detail::withField(f, 3, 0x1F, v);
}
constexpr int precisionCode(uint32_t f) {
    return static_cast<int>(detail::field(f, 8, 0xF));
}
constexpr uint32_t withPrecisionCode(uint32_t f, int v) {
    return detail::withField(f, 8, 0xF, v);
}
constexpr int objectKind(uint32_t f) {
    return static_cast<int>(detail::field(f, 12, 0x7F));
}
constexpr uint32_t withObjectKind(uint32_t f, int v) {
    return detail::withField(f, 12, 0x7F, v);
}
constexpr int displayFormat(uint32_t f) {
    return static_cast<int>(detail::field(f, 19, 0x7F));
}
constexpr uint32_t withDisplayFormat(uint32_t f, int v) {
    return detail::withField(f, 19, 0x7F, v);
}
constexpr bool errorMark(uint32_t f) {
    return (f & formulaflag::kErrorMark) != 0;
}
constexpr uint32_t withErrorMark(uint32_t f, bool on) {
    return on ? (f | formulaflag::kErrorMark) : (f & ~formulaflag::kErrorMark);
}

}  // namespace qx::attrflag
