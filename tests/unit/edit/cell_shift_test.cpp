#include "edit/cell_shift.h"

#include <gtest/gtest.h>

#include "unit/edit/layout_fixture.h"

namespace qx {
namespace {

using test::LayoutFixture;
using test::RecalcFixture;
using Places = std::vector<std::string>;

// Shifting right past an occupied place and into a placeholder is in the golden shift transcript.
TEST(Shift, CellsMoveOnePlaceUnlessARealCellIsInTheWay) {
    const struct {
        const char* name;
        std::vector<RecalcFixture::Entry> cells;
        CellArea area, selection;
        int direction;
        Places after;  // empty: as before
    } cases[] = {
        {"left ends at the edge in a later row", {{1, 2, "1"}, {2, 1, "2"}, {2, 3, "3"}}, {1, 1, 2, 3}, {1, 1, 2, 2},
         shift::kLeft, {"[1,1]=1", "[2,1]=2", "[2,3]=3"}},
        {"down with a formula that uses the cell", {{1, 1, "5"}, {1, 2, "+[1,1]+1"}}, {1, 1, 1, 1}, {2, 1, 2, 1},
         shift::kDown, {"[1,2]=[2,1]+1", "[2,1]=5"}},
        {"a block down into empty places", {{1, 1, "1"}, {2, 1, "2"}, {2, 2, "+[1,1]+[2,1]"}}, {1, 1, 2, 2},
         {2, 1, 3, 2}, shift::kDown, {"[2,1]=1", "[3,1]=2", "[3,2]=[2,1]+[3,1]"}},
        {"a placeholder moves with its dependents", {{5, 5, "+[1,1]"}}, {1, 1, 1, 1}, {2, 1, 2, 1}, shift::kDown,
         {"[2,1]=?", "[5,5]=[2,1]"}},
        {"right at column 255", {{4, 255, "1"}, {4, 254, "2"}}, {4, 250, 4, 255}, {4, 250, 4, 255}, shift::kRight, {}},
    };
    for (const auto& c : cases) {
        LayoutFixture f;
        f.fillAll(c.cells);
        const Places before = f.places();
        EXPECT_EQ(f.shiftArea(c.area, c.direction), 0) << c.name;
        EXPECT_EQ(f.places(), c.after.empty() ? before : c.after) << c.name;
        const CellArea& s = f.selection.area;
        EXPECT_EQ((std::array{s.firstRow, s.firstCol, s.lastRow, s.lastCol}),
                  (std::array{c.selection.firstRow, c.selection.firstCol, c.selection.lastRow, c.selection.lastCol}))
            << c.name;
        EXPECT_EQ((std::array{f.window.row, f.window.col}), (std::array{s.firstRow, s.firstCol})) << c.name;
        EXPECT_EQ(f.changed, !c.after.empty()) << c.name;
        EXPECT_EQ(f.store.scratch().repaintPending, !c.after.empty()) << c.name;
        f.expectSound();
    }
}

TEST(Shift, RangeRecordsInsideTheSelectionMoveAlong) {
    LayoutFixture f;
    f.fill({{2, 2, "1"}});
    LevelRec& level = *f.store.levelPtr(1);
    level.colourRanges.push_back(ColourRange{CellArea{2, 2, 3, 3}, 0, 0xFF});
    level.borderRanges.push_back(BorderRange{CellArea{1, 1, 9, 9}, 0, 1, 1, 0});
    level.rangeRecords.push_back(RangeAttrRec{.kind = 1, .firstRow = 2, .firstCol = 2, .lastRow = 2, .lastCol = 2});
    ASSERT_EQ(f.shiftArea({1, 1, 5, 5}, shift::kDown), 0);
    EXPECT_EQ(level.colourRanges[0].area.firstRow, 3);
    EXPECT_EQ(level.rangeRecords[0].firstRow, 3);
    EXPECT_EQ(level.borderRanges[0].area.firstRow, 1) << "wider than the selection";
}

}  // namespace
}  // namespace qx
