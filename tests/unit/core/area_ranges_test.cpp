#include "core/area_ranges.h"

#include <gtest/gtest.h>

#include <tuple>
#include <vector>

namespace qx {
namespace {

// first row, first column, last row, last column, colour
using ColourPiece = std::tuple<int, int, int, int, uint32_t>;

std::vector<ColourPiece> colourPieces(const LevelRec& level) {
    std::vector<ColourPiece> out;
    for (const ColourRange& r : level.colourRanges) {
        out.emplace_back(r.area.firstRow, r.area.firstCol, r.area.lastRow, r.area.lastCol, r.colour);
    }
    return out;
}

// Taking an area out of a range of rows 2..6, columns 2..6 leaves exactly the places outside it.
TEST(AreaRanges, RemovingKeepsThePartsOutsideTheArea) {
    struct Case {
        const char* name;
        CellArea cut;
        std::vector<ColourPiece> left;
    };
    const Case cases[] = {
        {"the middle", {3, 3, 4, 4}, {{2, 2, 2, 6, 7}, {5, 2, 6, 6, 7}, {3, 2, 4, 2, 7}, {3, 5, 4, 6, 7}}},
        {"the whole and more", {1, 1, 9, 9}, {}},
        {"the top rows", {1, 1, 3, 9}, {{4, 2, 6, 6, 7}}},
        {"the right columns", {1, 5, 9, 9}, {{2, 2, 6, 4, 7}}},
        {"one corner", {6, 6, 6, 6}, {{2, 2, 5, 6, 7}, {6, 2, 6, 5, 7}}},
        {"a place beside it", {7, 2, 7, 6}, {{2, 2, 6, 6, 7}}},
    };
    for (const Case& c : cases) {
        LevelRec level;
        level.colourRanges.push_back(ColourRange{{2, 2, 6, 6}, 0, 7});
        const bool met = removeColourRanges(level, c.cut);
        const std::vector<ColourPiece> whole{{2, 2, 6, 6, 7}};
        EXPECT_EQ(met, colourPieces(level) != whole) << c.name;
        EXPECT_EQ(level.changed, met) << c.name;
        EXPECT_EQ(colourPieces(level), c.left) << c.name;
    }
}

// Colouring over a coloured block replaces the colour there instead of piling up ranges; the newest
// range is last, so it is the one painted over the others.
TEST(AreaRanges, AddingLaysTheNewRangeOverTheOldOnes) {
    LevelRec level;
    for (int round = 0; round < 3; ++round) ASSERT_TRUE(addColourRange(level, {1, 1, 4, 4}, 0x00FFFF));
    EXPECT_EQ(colourPieces(level), (std::vector<ColourPiece>{{1, 1, 4, 4, 0x00FFFF}}));
    ASSERT_TRUE(addColourRange(level, {3, 3, 5, 5}, 0xFF0000));
    EXPECT_EQ(colourPieces(level),
              (std::vector<ColourPiece>{{1, 1, 2, 4, 0x00FFFF}, {3, 1, 4, 2, 0x00FFFF}, {3, 3, 5, 5, 0xFF0000}}));
    EXPECT_FALSE(addColourRange(level, {0, 1, 4, 4}, 1));
    EXPECT_FALSE(addColourRange(level, {5, 1, 4, 4}, 1));
    EXPECT_EQ(level.colourRanges.size(), 3u);
}

TEST(AreaRanges, BordersAreCutAndReplacedAsColoursAre) {
    LevelRec level;
    ASSERT_TRUE(addBorderRange(level, {1, 1, 3, 3}, kBorderBold, kBorderNormal, 4));
    ASSERT_TRUE(addBorderRange(level, {1, 1, 3, 3}, kBorderNormal, kBorderNoLines, 9));
    ASSERT_EQ(level.borderRanges.size(), 1u);
    EXPECT_EQ(level.borderRanges[0].outside, kBorderNormal);
    EXPECT_EQ(level.borderRanges[0].colour, 9);
    EXPECT_TRUE(removeBorderRanges(level, {1, 1, 1, 255}));
    ASSERT_EQ(level.borderRanges.size(), 1u);
    EXPECT_EQ(level.borderRanges[0].area.firstRow, 2);
    EXPECT_EQ(level.borderRanges[0].colour, 9);
    EXPECT_FALSE(removeBorderRanges(level, {10, 1, 10, 1}));
}

}  // namespace
}  // namespace qx
