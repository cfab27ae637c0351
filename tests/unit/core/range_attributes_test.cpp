#include "core/range_attributes.h"

#include <gtest/gtest.h>

#include <tuple>
#include <vector>

namespace qx {
namespace {

constexpr EffectiveAttributes kRed{0x9, 0, 0, 2};
constexpr EffectiveAttributes kBold{0x4000, 0, 0, 2};
constexpr EffectiveAttributes kDefaults{0, 0, 0, 2};

// first row, first column, last row, last column, overlapped-by-later, overlaps-earlier, style
using Row = std::tuple<int, int, int, int, int, int, uint32_t>;

std::vector<Row> rows(const LevelRec& level) {
    std::vector<Row> out;
    for (const RangeAttrRec& r : level.rangeRecords) {
        out.emplace_back(r.firstRow, r.firstCol, r.lastRow, r.lastCol, r.overlappedByLater, r.overlapsEarlier, r.style);
    }
    return out;
}

TEST(RangeAttributes, InvalidRectanglesAreRefusedWithoutChange) {
    const CellArea bad[] = {{0, 1, 5, 5}, {1, 0, 5, 5}, {1, 1, 65535, 5}, {1, 1, 5, 256}, {6, 1, 5, 5}, {1, 6, 5, 5}};
    for (const CellArea& area : bad) {
        LevelRec level;
        EXPECT_FALSE(addRangeAttributes(level, area, kRed, 0));
        EXPECT_TRUE(level.rangeRecords.empty() && !level.changed);
    }
    LevelRec level;
    EXPECT_TRUE(addRangeAttributes(level, {1, 1, 65534, 255}, kRed, 0) && level.changed);
}

TEST(RangeAttributes, AddingKeepsRemovalAndOverlapRules) {
    const struct {
        const char* name;
        std::vector<std::pair<CellArea, EffectiveAttributes>> adds;
        std::vector<Row> expected;
    } cases[] = {
        {"disjoint",
         {{{1, 1, 5, 5}, kRed}, {{20, 20, 30, 30}, kBold}},
         {{1, 1, 5, 5, 0, 0, 0x9}, {20, 20, 30, 30, 0, 0, 0x4000}}},
        {"intersecting",
         {{{1, 1, 5, 5}, kRed}, {{4, 4, 8, 8}, kBold}},
         {{1, 1, 5, 5, 1, 0, 0x9}, {4, 4, 8, 8, 0, 1, 0x4000}}},
        {"touching at an edge",
         {{{1, 1, 5, 5}, kRed}, {{6, 1, 8, 2}, kBold}},
         {{1, 1, 5, 5, 1, 0, 0x9}, {6, 1, 8, 2, 0, 1, 0x4000}}},
        {"touching at a corner",
         {{{1, 1, 5, 5}, kRed}, {{6, 6, 6, 6}, kBold}},
         {{1, 1, 5, 5, 1, 0, 0x9}, {6, 6, 6, 6, 0, 1, 0x4000}}},
        {"a record wholly inside the new one goes",
         {{{2, 2, 3, 3}, kRed}, {{10, 10, 11, 11}, kRed}, {{1, 1, 5, 5}, kBold}},
         {{10, 10, 11, 11, 0, 0, 0x9}, {1, 1, 5, 5, 0, 0, 0x4000}}},
        {"the same rectangle is replaced", {{{1, 1, 5, 5}, kRed}, {{1, 1, 5, 5}, kBold}}, {{1, 1, 5, 5, 0, 0, 0x4000}}},
        {"a lone record of default values is dropped",
         {{{1, 1, 5, 5}, kRed}, {{20, 20, 21, 21}, kDefaults}},
         {{1, 1, 5, 5, 0, 0, 0x9}}},
        {"default values over an older record restore the defaults there",
         {{{1, 1, 5, 5}, kRed}, {{3, 3, 4, 8}, kDefaults}},
         {{1, 1, 5, 5, 1, 0, 0x9}, {3, 3, 4, 8, 0, 1, 0}}},
    };
    for (const auto& c : cases) {
        LevelRec level;
        for (const auto& [area, values] : c.adds) EXPECT_TRUE(addRangeAttributes(level, area, values, 0));
        EXPECT_EQ(rows(level), c.expected) << c.name;
    }
}

}  // namespace
}  // namespace qx
