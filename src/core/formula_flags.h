#pragma once
// Named fields of a formula's 32-bit flags word. Every reader and writer of the word goes
// through these, so the bit layout lives in this one place.
#include <cstdint>

#include "core/bit_field.h"
#include "core/cell_records.h"
#include "core/object_kind.h"

namespace qx::formulaflag {

constexpr int kOptionShift = 0;
constexpr uint32_t kOptionMask = 0x1;
constexpr int kAngleModeShift = 1;
constexpr uint32_t kAngleModeMask = 0x3;
constexpr int kAngleTypeShift = 3;
constexpr uint32_t kAngleTypeMask = 0x1F;
constexpr int kPrecisionShift = 8;
constexpr uint32_t kPrecisionMask = 0xF;
constexpr int kObjectKindShift = 12;
constexpr uint32_t kObjectKindMask = 0x7F;
constexpr int kDisplayFormatShift = 19;
constexpr uint32_t kDisplayFormatMask = 0x7F;

// Bit 0: a one-bit option; the coordinate functions use it as the 3-D mark.
constexpr bool option(uint32_t f) {
    return bits::field(f, kOptionShift, kOptionMask) != 0;
}
constexpr uint32_t withOption(uint32_t f, bool on) {
    return bits::withField(f, kOptionShift, kOptionMask, on ? 1 : 0);
}

// Angle mode 0..3: radians, decimal degrees, grads, DDD.MMSS.
constexpr int angleMode(uint32_t f) {
    return static_cast<int>(bits::field(f, kAngleModeShift, kAngleModeMask));
}
constexpr uint32_t withAngleMode(uint32_t f, int mode) {
    return bits::withField(f, kAngleModeShift, kAngleModeMask, static_cast<uint32_t>(mode));
}

// Angle type 0..31 (the coordinate functions store the type number plus 1; 0 means none).
constexpr int angleType(uint32_t f) {
    return static_cast<int>(bits::field(f, kAngleTypeShift, kAngleTypeMask));
}
constexpr uint32_t withAngleType(uint32_t f, int type) {
    return bits::withField(f, kAngleTypeShift, kAngleTypeMask, static_cast<uint32_t>(type));
}

// Precision code: 0 inherits, n means precision n - 1.
constexpr int precisionCode(uint32_t f) {
    return static_cast<int>(bits::field(f, kPrecisionShift, kPrecisionMask));
}
constexpr uint32_t withPrecisionCode(uint32_t f, int code) {
    return bits::withField(f, kPrecisionShift, kPrecisionMask, static_cast<uint32_t>(code));
}
constexpr bool hasPrecision(uint32_t f) {
    return precisionCode(f) != 0;
}
// The precision a set code stands for; meaningful only when hasPrecision().
constexpr int precision(uint32_t f) {
    return precisionCode(f) - 1;
}

// Object kind 0..127; 0 is a plain value.
constexpr ObjectKind objectKind(uint32_t f) {
    return static_cast<ObjectKind>(bits::field(f, kObjectKindShift, kObjectKindMask));
}
constexpr uint32_t withObjectKind(uint32_t f, ObjectKind kind) {
    return bits::withField(f, kObjectKindShift, kObjectKindMask, static_cast<uint32_t>(kind));
}

constexpr int displayFormat(uint32_t f) {
    return static_cast<int>(bits::field(f, kDisplayFormatShift, kDisplayFormatMask));
}
constexpr uint32_t withDisplayFormat(uint32_t f, int code) {
    return bits::withField(f, kDisplayFormatShift, kDisplayFormatMask, static_cast<uint32_t>(code));
}

constexpr bool visited(uint32_t f) {
    return (f & kVisited) != 0;
}
constexpr uint32_t withVisited(uint32_t f, bool on) {
    return on ? (f | kVisited) : (f & ~kVisited);
}
constexpr bool errorMark(uint32_t f) {
    return (f & kErrorMark) != 0;
}
constexpr uint32_t withErrorMark(uint32_t f, bool on) {
    return on ? (f | kErrorMark) : (f & ~kErrorMark);
}

}  // namespace qx::formulaflag
