#include "edit/clipboard.h"

#include <gtest/gtest.h>

#include "edit/cell_shift.h"
#include "unit/edit/layout_fixture.h"

namespace qx {
namespace {

using test::LayoutFixture;
using Places = std::vector<std::string>;

int pasteAt(LayoutFixture& f, CellArea target, int level = 1) {
    ErrStat err;
    pasteCells(f.store, level, target, err);
    return err.failed() ? err.savedCode : 0;
}

int cutOrCopy(LayoutFixture& f, bool cut, CellArea source, int level = 1) {
    ErrStat err;
    cut ? cutCells(f.store, level, source, err) : copyCells(f.store, level, source, err);
    return err.failed() ? err.savedCode : 0;
}

// The scenarios of the golden transcripts are not repeated here; these are the moves whose
// bookkeeping only shows in the store's own checks.
TEST(Clipboard, MovesKeepRowsAndDependentsSound) {
    const struct {
        const char* name;
        std::vector<test::RecalcFixture::Entry> cells;
        CellArea source, target;
        int code;
        Places after;
    } cases[] = {
        {"a block cut one row down over itself",
         {{1, 1, "1"}, {2, 1, "2"}, {3, 1, "3"}, {5, 5, "+[1,1]+[3,1]"}},
         {1, 1, 3, 1},
         {2, 1, 2, 1},
         0,
         {"[2,1]=1", "[3,1]=2", "[4,1]=3", "[5,5]=[2,1]+[4,1]"}},
        {"a block cut one column left over itself",
         {{1, 2, "1"}, {1, 3, "+[1,2]"}},
         {1, 2, 1, 3},
         {1, 1, 1, 1},
         0,
         {"[1,1]=1", "[1,2]=[1,1]"}},
        {"onto a placeholder: its dependents and the mover's meet there",
         {{1, 1, "+[1,2]"}, {1, 2, "7"}, {2, 1, "+[5,5]"}},
         {1, 2, 1, 2},
         {5, 5, 5, 5},
         0,
         {"[1,1]=[5,5]", "[2,1]=[5,5]", "[5,5]=7"}},
        {"a cell that would leave the grid refuses the whole move",
         {{1, 1, "1"}, {1, 3, "3"}},
         {1, 1, 1, 3},
         {1, 254, 1, 254},
         7,
         {"[1,1]=1", "[1,3]=3"}},
    };
    for (const auto& c : cases) {
        LayoutFixture f;
        f.fillAll(c.cells);
        ASSERT_EQ(cutOrCopy(f, true, c.source), 0) << c.name;
        EXPECT_EQ(pasteAt(f, c.target), c.code) << c.name;
        EXPECT_EQ(f.places(), c.after) << c.name;
        f.expectSound();
    }
}

TEST(Clipboard, ShiftOntoAPlaceholderHandsOverTheDependents) {
    LayoutFixture f;
    f.fillAll({{1, 1, "+[1,3]"}, {1, 2, "4"}, {2, 1, "+[1,2]*2"}});
    ASSERT_EQ(f.shiftArea({1, 2, 1, 2}, shift::kRight), 0);
    EXPECT_EQ(f.places(), (Places{"[1,1]=[1,3]", "[1,3]=4", "[2,1]=[1,3]*2"}));
    EXPECT_EQ(f.value(1, 1), 4);
    EXPECT_EQ(f.value(2, 1), 8);
    f.expectSound();
}

TEST(Clipboard, UndoAfterPasteBringsBackWhatThePasteCovered) {
    LayoutFixture f;
    f.fillAll({{1, 1, "+[1,2]*2"}, {3, 1, "'old"}, {3, 2, "9"}, {4, 4, "+[3,2]"}});
    ASSERT_EQ(cutOrCopy(f, false, {1, 1, 1, 1}), 0);
    ASSERT_EQ(pasteAt(f, {3, 1, 3, 1}), 80) << "a real cell where a copy lands";
    ASSERT_EQ(pasteAt(f, {5, 1, 5, 1}), 0);
    EXPECT_EQ(f.readable(5, 1), "[5,2]*2");
    ErrStat err;
    deleteCells(f.store, 1, {3, 1, 3, 2}, err);
    ASSERT_FALSE(err.failed());
    EXPECT_EQ(f.value(4, 4), 0) << "reads the placeholder";
    EXPECT_TRUE(undoDelete(f.store, 1, err));
    EXPECT_EQ(f.value(4, 4), 9);
    EXPECT_EQ(f.text(3, 1), "old");
    EXPECT_TRUE(undoDelete(f.store, 1, err));
    EXPECT_EQ(f.value(4, 4), 0) << "a second undo swaps back";
    f.expectSound();
}

}  // namespace
}  // namespace qx
