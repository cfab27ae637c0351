#include "core/style_word.h"

#include <gtest/gtest.h>

namespace qx {
namespace {

TEST(StyleWord, EachFieldReadsItsOwnBits) {
    // colour, font, bold, italic, underline, wrap, align, justify, family, pitch, size
    const struct {
        uint32_t word;
        int fields[11];
    } cases[] = {
        {0x000000F0, {0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0}},  {0x00003F0F, {15, 63, 0, 0, 0, 0, 0, 0, 0, 0, 0}},
        {0x00028000, {0, 0, 0, 1, 0, 1, 0, 0, 0, 0, 0}},  {0x00380000, {0, 0, 0, 0, 0, 0, 2, 3, 0, 0, 0}},
        {0x05400000, {0, 0, 0, 0, 0, 0, 0, 0, 5, 2, 0}},  {0xF8000000, {0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 31}},
        {0x18115A09, {9, 26, 1, 0, 1, 0, 0, 1, 0, 0, 3}},
    };
    for (const auto& c : cases) {
        const uint32_t w = c.word;
        const int got[11] = {style::colour(w),    style::font(w),     style::bold(w),      style::italic(w),
                             style::underline(w), style::lineWrap(w), style::alignment(w), style::justification(w),
                             style::family(w),    style::pitch(w),    style::sizeCode(w)};
        for (int i = 0; i < 11; ++i) EXPECT_EQ(got[i], c.fields[i]) << std::hex << w << " field " << i;
    }
}

TEST(StyleWord, WritersTouchOnlyTheirField) {
    const uint32_t all = 0xFFFFFFFF;
    const struct {
        uint32_t got, expected;
    } cases[] = {
        {style::withColour(all, 0), 0xFFFFFFF0},
        {style::withFont(all, 0), 0xFFFFC0FF},
        {style::withBold(all, false), 0xFFFFBFFF},
        {style::withJustification(all, 1), 0xFFDFFFFF},
        {style::withSizeCode(all, 1), 0x0FFFFFFF},
        {style::withColour(0, 17), 0x00000001},
        // The text style as a whole leaves layout, wrap and bits 4..7 alone.
        {style::withTextStyle(0, all), 0xFFC1FF0F},
        {style::withTextStyle(all, 0), 0x003E00F0},
    };
    for (const auto& c : cases) EXPECT_EQ(c.got, c.expected) << std::hex << c.expected;
    EXPECT_EQ(style::sizePoints(0, 10), 10);
    EXPECT_EQ(style::sizePoints(0xF8000000, 10), 38);
}

}  // namespace
}  // namespace qx
