#pragma once
// Named fields of a cell's 32-bit style word and of the raw 16-bit cell flags word.
// Every reader and writer of these words goes through here, so the layouts live in one place.
#include <cstdint>
#include <string_view>

#include "core/bit_field.h"
#include "core/cell_records.h"

namespace qx {

namespace style {

constexpr int kColourShift = 0;
constexpr uint32_t kColourMask = 0xF;
constexpr int kFontShift = 8;
constexpr uint32_t kFontMask = 0x3F;
constexpr int kBoldShift = 14;
constexpr int kItalicShift = 15;
constexpr int kUnderlineShift = 16;
constexpr int kLineWrapShift = 17;
constexpr int kAlignmentShift = 18;
constexpr uint32_t kAlignmentMask = 0x3;
constexpr int kJustificationShift = 20;
constexpr uint32_t kJustificationMask = 0x3;
constexpr int kFamilyShift = 22;
constexpr uint32_t kFamilyMask = 0x7;
constexpr int kPitchShift = 25;
constexpr uint32_t kPitchMask = 0x3;
constexpr int kSizeShift = 27;
constexpr uint32_t kSizeMask = 0x1F;

// Size code 0 stands for the application default size; codes 1..31 are points minus 7.
constexpr int kSizeCodeOffset = 7;
constexpr int kMinPoints = 8;
constexpr int kMaxPoints = 38;

enum Justification : int { kJustifyDefault = 0, kJustifyLeft = 1, kJustifyCenter = 2, kJustifyRight = 3 };
enum Alignment : int { kAlignBottom = 0, kAlignTop = 1, kAlignCenter = 2 };

constexpr int colour(uint32_t w) {
    return static_cast<int>(bits::field(w, kColourShift, kColourMask));
}
constexpr uint32_t withColour(uint32_t w, int v) {
    return bits::withField(w, kColourShift, kColourMask, static_cast<uint32_t>(v));
}
constexpr int font(uint32_t w) {
    return static_cast<int>(bits::field(w, kFontShift, kFontMask));
}
constexpr uint32_t withFont(uint32_t w, int v) {
    return bits::withField(w, kFontShift, kFontMask, static_cast<uint32_t>(v));
}
constexpr bool bold(uint32_t w) {
    return bits::bit(w, kBoldShift);
}
constexpr uint32_t withBold(uint32_t w, bool on) {
    return bits::withBit(w, kBoldShift, on);
}
constexpr bool italic(uint32_t w) {
    return bits::bit(w, kItalicShift);
}
constexpr uint32_t withItalic(uint32_t w, bool on) {
    return bits::withBit(w, kItalicShift, on);
}
constexpr bool underline(uint32_t w) {
    return bits::bit(w, kUnderlineShift);
}
constexpr uint32_t withUnderline(uint32_t w, bool on) {
    return bits::withBit(w, kUnderlineShift, on);
}
// A wrapped label does not spill into the next columns.
constexpr bool lineWrap(uint32_t w) {
    return bits::bit(w, kLineWrapShift);
}
constexpr uint32_t withLineWrap(uint32_t w, bool on) {
    return bits::withBit(w, kLineWrapShift, on);
}
constexpr int alignment(uint32_t w) {
    return static_cast<int>(bits::field(w, kAlignmentShift, kAlignmentMask));
}
constexpr uint32_t withAlignment(uint32_t w, int v) {
    return bits::withField(w, kAlignmentShift, kAlignmentMask, static_cast<uint32_t>(v));
}
constexpr int justification(uint32_t w) {
    return static_cast<int>(bits::field(w, kJustificationShift, kJustificationMask));
}
constexpr uint32_t withJustification(uint32_t w, int v) {
    return bits::withField(w, kJustificationShift, kJustificationMask, static_cast<uint32_t>(v));
}
// The standard font family code divided by 16.
constexpr int family(uint32_t w) {
    return static_cast<int>(bits::field(w, kFamilyShift, kFamilyMask));
}
constexpr uint32_t withFamily(uint32_t w, int v) {
    return bits::withField(w, kFamilyShift, kFamilyMask, static_cast<uint32_t>(v));
}
constexpr int pitch(uint32_t w) {
    return static_cast<int>(bits::field(w, kPitchShift, kPitchMask));
}
constexpr uint32_t withPitch(uint32_t w, int v) {
    return bits::withField(w, kPitchShift, kPitchMask, static_cast<uint32_t>(v));
}
constexpr int sizeCode(uint32_t w) {
    return static_cast<int>(bits::field(w, kSizeShift, kSizeMask));
}
constexpr uint32_t withSizeCode(uint32_t w, int v) {
    return bits::withField(w, kSizeShift, kSizeMask, static_cast<uint32_t>(v));
}
constexpr int sizePoints(uint32_t w, int defaultPoints) {
    return sizeCode(w) == 0 ? defaultPoints : sizeCode(w) + kSizeCodeOffset;
}

// The parts of the word that describe the text itself (everything but layout and bits 4..7).
constexpr uint32_t kTextStyleMask = (kColourMask << kColourShift) | (kFontMask << kFontShift) | (1u << kBoldShift) |
                                    (1u << kItalicShift) | (1u << kUnderlineShift) | (kFamilyMask << kFamilyShift) |
                                    (kPitchMask << kPitchShift) | (kSizeMask << kSizeShift);
constexpr uint32_t withTextStyle(uint32_t w, uint32_t from) {
    return (w & ~kTextStyleMask) | (from & kTextStyleMask);
}

// Display names; an index outside a table gives its first entry.
std::string_view colourName(int index);
std::string_view justificationName(int code);
std::string_view alignmentName(int code);

}  // namespace style

namespace cellflag {
constexpr CellType type(uint16_t f) {
    return static_cast<CellType>(f & kTypeMask);
}
constexpr uint16_t withType(uint16_t f, CellType t) {
    return static_cast<uint16_t>((f & ~kTypeMask) | static_cast<uint16_t>(t));
}
constexpr int overlapped(uint16_t f) {
    return (f & kOverlapMask) >> 2;
}
constexpr bool has(uint16_t f, uint16_t flag) {
    return (f & flag) != 0;
}
constexpr uint16_t with(uint16_t f, uint16_t flag, bool on) {
    return static_cast<uint16_t>(on ? (f | flag) : (f & ~flag));
}
std::string_view typeName(CellType t);
}  // namespace cellflag

}  // namespace qx
