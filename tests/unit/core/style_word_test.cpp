#include "core/style_word.h"

#include <gtest/gtest.h>

namespace qx {
namespace {

TEST(StyleWord, EachFieldReadsItsOwnBits) {
    const struct {
        uint32_t word;
        int colour, font;
        bool bold, italic, underline, wrap;
        int align, justify, family, pitch, size;
    } cases[] = {
        {0x00000000, 0, 0, false, false, false, false, 0, 0, 0, 0, 0},
        {0x0000000F, 15, 0, false, false, false, false, 0, 0, 0, 0, 0},
        {0x000000F0, 0, 0, false, false, false, false, 0, 0, 0, 0, 0},
        {0x00003F00, 0, 63, false, false, false, false, 0, 0, 0, 0, 0},
        {0x00004000, 0, 0, true, false, false, false, 0, 0, 0, 0, 0},
        {0x00008000, 0, 0, false, true, false, false, 0, 0, 0, 0, 0},
        {0x00010000, 0, 0, false, false, true, false, 0, 0, 0, 0, 0},
        {0x00020000, 0, 0, false, false, false, true, 0, 0, 0, 0, 0},
        {0x00080000, 0, 0, false, false, false, false, 2, 0, 0, 0, 0},
        {0x00300000, 0, 0, false, false, false, false, 0, 3, 0, 0, 0},
        {0x01400000, 0, 0, false, false, false, false, 0, 0, 5, 0, 0},
        {0x04000000, 0, 0, false, false, false, false, 0, 0, 0, 2, 0},
        {0xF8000000, 0, 0, false, false, false, false, 0, 0, 0, 0, 31},
        {0x18115A09, 9, 26, true, false, true, false, 0, 1, 0, 0, 3},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.word);
        EXPECT_EQ(style::colour(c.word), c.colour);
        EXPECT_EQ(style::font(c.word), c.font);
        EXPECT_EQ(style::bold(c.word), c.bold);
        EXPECT_EQ(style::italic(c.word), c.italic);
        EXPECT_EQ(style::underline(c.word), c.underline);
        EXPECT_EQ(style::lineWrap(c.word), c.wrap);
        EXPECT_EQ(style::alignment(c.word), c.align);
        EXPECT_EQ(style::justification(c.word), c.justify);
        EXPECT_EQ(style::family(c.word), c.family);
        EXPECT_EQ(style::pitch(c.word), c.pitch);
        EXPECT_EQ(style::sizeCode(c.word), c.size);
    }
}

TEST(StyleWord, WritersTouchOnlyTheirField) {
    const uint32_t all = 0xFFFFFFFF;
    const struct {
        uint32_t got, expected;
    } cases[] = {
        {style::withColour(all, 0), 0xFFFFFFF0}, {style::withFont(all, 0), 0xFFFFC0FF},
        {style::withBold(all, false), 0xFFFFBFFF}, {style::withLineWrap(0, true), 0x00020000},
        {style::withJustification(all, 1), 0xFFDFFFFF}, {style::withAlignment(0, 2), 0x00080000},
        {style::withSizeCode(all, 1), 0x0FFFFFFF}, {style::withFamily(0, 5), 0x01400000},
        {style::withPitch(all, 0), 0xF9FFFFFF}, {style::withColour(0, 17), 0x00000001},
        // The text style as a whole leaves layout, wrap and bits 4..7 alone.
        {style::withTextStyle(0, all), 0xFFC1FF0F}, {style::withTextStyle(all, 0), 0x003E00F0},
    };
    for (const auto& c : cases) EXPECT_EQ(c.got, c.expected) << std::hex << c.expected;
}

TEST(StyleWord, SizeInPointsAndNames) {
    EXPECT_EQ(style::sizePoints(0, 10), 10);
    EXPECT_EQ(style::sizePoints(0x08000000, 10), 8);
    EXPECT_EQ(style::sizePoints(0xF8000000, 10), 38);
    EXPECT_EQ(style::colourName(9), "Red");
    EXPECT_EQ(style::colourName(16), "Black");
    EXPECT_EQ(style::justificationName(3), "Right");
    EXPECT_EQ(style::alignmentName(2), "Center");
    EXPECT_EQ(style::alignmentName(3), "Bottom");
    EXPECT_EQ(cellflag::typeName(CellType::VariableLabel), "Variable Label");
    EXPECT_EQ(cellflag::overlapped(0x00FD), 63);
    EXPECT_EQ(cellflag::type(0x00FD), CellType::Label);
}

}  // namespace
}  // namespace qx
