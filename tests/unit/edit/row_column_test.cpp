#include "edit/row_column.h"

#include <gtest/gtest.h>

#include "edit/layout_change.h"
#include "recalc/recalc.h"
#include "unit/edit/layout_fixture.h"

namespace qx {
namespace {

using test::LayoutFixture;
using test::RecalcFixture;
using Places = std::vector<std::string>;

// What runs: operation, scope, first line, how many, the failure code expected.
struct Lines {
    int operation, scope, at, count, code;
};

struct LineCase {
    const char* name;
    std::vector<RecalcFixture::Entry> cells;
    Lines run;
    Places after;  // empty: as before
};

constexpr int kIns = layout::kInsert, kRem = layout::kRemove;
constexpr int kRows = layout::kScopeRows, kCols = layout::kScopeColumns;

// Rows above used cells and a column insert that cannot fit are in the golden rows_columns transcript.
// Every case also runs as single commands, which must end exactly where the one command ends.
TEST(RowsAndColumns, CellsMoveAsRecordsAndManyLinesEqualOneAtATime) {
    const LineCase cases[] = {
        {"row of the used cell",
         {{10, 1, "5"}, {20, 1, "+[10,1]*2"}},
         {kIns, kRows, 10, 1, 0},
         {"[11,1]=5", "[21,1]=[11,1]*2"}},
        {"two of three rows",
         {{65532, 1, "1"}, {1, 1, "+[65532,1]"}},
         {kIns, kRows, 2, 3, 6},
         {"[1,1]=[65534,1]", "[65534,1]=1"}},
        {"three of five rows",
         {{65531, 1, "1"}, {3, 1, "+[65531,1]"}, {4, 4, "2"}},
         {kIns, kRows, 4, 5, 6},
         {"[3,1]=[65534,1]", "[7,4]=2", "[65534,1]=1"}},
        {"rows above all", {{7, 1, "1"}, {9, 2, "+[7,1]"}}, {kIns, kRows, 1, 3, 0}, {"[10,1]=1", "[12,2]=[10,1]"}},
        {"up to a used row",
         {{3, 1, "7"}, {1, 1, "+[3,1]"}, {5, 1, "'x"}},
         {kRem, kRows, 2, 3, 13},
         {"[1,1]=[2,1]", "[2,1]=7", "[4,1]=x"}},
        {"labels, then up to a used row",
         {{2, 1, "'a"}, {3, 1, "'b"}, {5, 1, "9"}, {1, 1, "+[5,1]"}, {8, 2, "3"}},
         {kRem, kRows, 2, 4, 13},
         {"[1,1]=[2,1]", "[2,1]=9", "[5,2]=3"}},
        {"past the last row", {{65533, 1, "'a"}, {2, 1, "'b"}}, {kRem, kRows, 65533, 9, 0}, {"[2,1]=b"}},
        {"column before used ones",
         {{1, 1, "1"}, {1, 3, "+[1,1]+[1,4]"}, {1, 4, "2"}},
         {kIns, kCols, 2, 1, 0},
         {"[1,1]=1", "[1,4]=[1,1]+[1,5]", "[1,5]=2"}},
        {"at the last used column", {{2, 254, "1"}}, {kIns, kCols, 254, 2, 7}, {"[2,255]=1"}},
        {"three of four columns",
         {{1, 252, "1"}, {5, 1, "+[1,252]"}, {2, 2, "'x"}},
         {kIns, kCols, 2, 4, 7},
         {"[1,255]=1", "[2,5]=x", "[5,1]=[1,255]"}},
        {"column of a label",
         {{1, 1, "1"}, {1, 2, "'x"}, {2, 3, "+[1,1]"}},
         {kRem, kCols, 2, 1, 0},
         {"[1,1]=1", "[2,2]=[1,1]"}},
        {"three columns",
         {{1, 3, "'a"}, {1, 4, "1"}, {2, 6, "+[1,7]"}, {1, 7, "4"}},
         {kRem, kCols, 3, 3, 0},
         {"[1,4]=4", "[2,3]=[1,4]"}},
        {"a used column", {{4, 2, "3"}, {1, 1, "+[4,2]"}}, {kRem, kCols, 2, 1, 13}, {}},
    };
    for (const LineCase& c : cases) {
        const Lines& r = c.run;
        LayoutFixture once, single;
        for (LayoutFixture* f : {&once, &single}) {
            f->fillAll(c.cells);
            f->store.levelPtr(1)->rowHeights[static_cast<std::size_t>(r.at)] = 33;
        }
        const Places before = once.places();
        EXPECT_EQ(once.lines(r.operation, r.scope, r.at, r.count), r.code) << c.name;
        EXPECT_EQ(once.places(), c.after.empty() ? before : c.after) << c.name;
        once.expectSound();
        int code = 0;
        for (int n = 0; n < r.count && code == 0; ++n) code = single.lines(r.operation, r.scope, r.at, 1);
        EXPECT_EQ(code, r.code) << c.name;
        EXPECT_EQ(single.places(), once.places()) << c.name;
        const LevelRec &a = *once.store.levelPtr(1), &b = *single.store.levelPtr(1);
        EXPECT_EQ(b.rowHeights, a.rowHeights) << c.name;
        EXPECT_EQ(b.pendingDelete.firstRow, a.pendingDelete.firstRow) << c.name;
    }
}

// A cell that is recalculated at every sweep must still be found there after its row moved.
TEST(RowsAndColumns, ForcedCellsAreSweptAtTheirNewPlace) {
    LayoutFixture f;
    f.fill({{1, 1, "2"}, {5, 1, "+[1,1]*10"}});
    CellRec* forced = f.cell(5, 1);
    forced->set(cellflag::kForceRecalc);
    f.store.hooks().recalcMarked(f.store, *forced);
    ASSERT_EQ(f.lines(kIns, kRows, 3, 2), 0);
    f.cell(1, 1)->formula->value = 4;  // changed behind recalculation's back
    f.recalc.sweep(nullptr, 1, SweepKind::Marked);
    EXPECT_EQ(f.value(7, 1), 40.0);
}

TEST(RowsAndColumns, ProtectedCellStopsTheRemoval) {
    for (int scope : {kRows, kCols}) {
        LayoutFixture f;
        f.fill({{2, 2, "'locked"}, {3, 3, "1"}});
        f.cell(2, 2)->set(cellflag::kProtectCell);
        const Places before = f.places();
        EXPECT_EQ(f.lines(kRem, scope, 2, 1), 40);
        EXPECT_EQ(f.places(), before);
        EXPECT_FALSE(f.changed);
    }
}

TEST(RowsAndColumns, BadRequestsFailBeforeAnythingChanges) {
    const struct {
        int operation, scope, direction;
        LayoutSelection selection;
        int code;
    } cases[] = {
        {2, kRows, 0, {1, {1, 1, 1, 1}}, 37},    {layout::kShift, kRows, 1, {1, {1, 1, 1, 1}}, 37},
        {kIns, kRows, 0, {40, {1, 1, 1, 1}}, 8}, {layout::kShift, layout::kScopeSelection, 5, {1, {1, 1, 1, 1}}, 37},
        {kIns, kRows, 0, {1, {3, 1, 2, 1}}, 6},  {kIns, kCols, 0, {1, {1, 1, 1, 256}}, 7},
    };
    for (const auto& c : cases) {
        LayoutFixture f;
        f.fill({{1, 1, "1"}});
        f.selection = c.selection;
        EXPECT_EQ(f.run(c.operation, c.scope, c.direction), c.code);
        EXPECT_EQ(f.places(), Places{"[1,1]=1"});
    }
}

TEST(RowsAndColumns, SizesRangesAndUndoAreasFollowTheLines) {
    LayoutFixture f;
    f.fill({{5, 2, "'a"}, {6, 2, "'b"}, {9, 1, "1"}});
    LevelRec& level = *f.store.levelPtr(1);
    level.rowHeights[3] = 30;
    level.rowHeights[5] = 40;
    level.colourRanges.push_back(ColourRange{CellArea{5, 1, 6, 3}, 0, 0xFF});
    level.rangeRecords.push_back(RangeAttrRec{.kind = 1, .firstRow = 2, .firstCol = 1, .lastRow = 5, .lastCol = 1});
    ErrStat err;
    f.store.deleteBlock(1, 5, 2, 6, 2, NotifyMode::None, false, err);
    ASSERT_FALSE(err.failed());

    ASSERT_EQ(f.lines(kIns, kRows, 3, 2), 0);
    EXPECT_EQ((std::array{level.rowHeights[3], level.rowHeights[4], level.rowHeights[5], level.rowHeights[7]}),
              (std::array<uint16_t, 4>{30, 30, 30, 40}));
    EXPECT_EQ(level.colourRanges[0].area.firstRow, 7);
    EXPECT_EQ(level.rangeRecords[0].lastRow, 7);
    EXPECT_EQ((std::array{level.pendingDelete.firstRow, level.pendingDelete.lastRow}), (std::array{7, 8}));
    for (CellRec* c = level.undoNewer; c != nullptr; c = c->next) EXPECT_GE(c->row, 7);

    ASSERT_EQ(f.lines(kRem, kRows, 6, 3), 0);  // rows 6..8: the colour range goes, the other shrinks
    EXPECT_TRUE(level.colourRanges.empty());
    ASSERT_EQ(level.rangeRecords.size(), 1u);
    EXPECT_EQ((std::array<int, 2>{level.rangeRecords[0].firstRow, level.rangeRecords[0].lastRow}), (std::array{2, 5}));
    EXPECT_EQ(level.rowHeights[6], 17);
    f.expectSound();
}

}  // namespace
}  // namespace qx
