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

}  // namespace
}  // namespace qx
