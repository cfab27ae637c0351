#include <utility>

#include "cell_store_fixture.h"

namespace qx::testing {
namespace {

using RowsTest = StoreTest;

TEST(CellStoreLevels, LevelCountIsClampedAndLevelsStartAsDesigned) {
    const std::pair<int, int> cases[] = {{-5, 2}, {0, 2}, {2, 2}, {17, 17}, {33, 33}, {34, 33}, {1000, 33}};
    for (auto [asked, expected] : cases) {
        ScratchRecord scratch;
        CellStore store(asked, LevelDefaults{}, "/d", scratch);
        EXPECT_EQ(store.levelCount(), expected) << asked;
        EXPECT_EQ(store.highestLevel(), expected - 1) << asked;
    }
    ScratchRecord scratch;
    LevelDefaults defaults;
    defaults.precision = 4;
    CellStore store(33, defaults, "/docs", scratch);
    const LevelRec* level = store.levelPtr(7);
    ASSERT_NE(level, nullptr);
    EXPECT_EQ(level->number, 7);
    EXPECT_EQ(level->defaultFileName, "wksht7.qx2");
    EXPECT_EQ(level->directory, "/docs");
    EXPECT_EQ(level->defaults.precision, 4);
    EXPECT_EQ(level->rows.size(), 65535u);
    EXPECT_EQ(level->rowHeights[65534], 17);
    EXPECT_EQ(level->colWidths[255], 80);
    EXPECT_FALSE(level->heap);
    EXPECT_EQ(store.levelPtr(33), nullptr);
    EXPECT_EQ(store.levelPtr(-1), nullptr);
}

TEST_F(RowsTest, OutOfRangePlacesGiveTheirCodesAndNoCell) {
    struct Case {
        int row, col, level, point, code;
    };
    const Case cases[] = {
        {0, 1, 1, 1, 6},   {65535, 1, 1, 1, 6}, {-3, 1, 1, 1, 6}, {1, 0, 1, 2, 7},
        {1, 256, 1, 2, 7}, {1, 1, -1, 3, 8},    {1, 1, 33, 3, 8}, {70000, 300, 40, 1, 6},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(store.findCell(c.row, c.col, c.level, err), nullptr);
        EXPECT_EQ(err.point, c.point) << c.row << "," << c.col << "," << c.level;
        EXPECT_EQ(err.code, c.code);
        EXPECT_EQ(err.letter, 'A');
        EXPECT_EQ(err.module, 1);
        EXPECT_EQ(err.routine, 3);
        int width = 0;
        EXPECT_EQ(store.occupancy(c.row, c.col, c.level, width, err), Occupancy::Free);
        EXPECT_EQ(err.code, c.code);
        EXPECT_EQ(store.makeCell(c.row, c.col, c.level, CellType::Label, err), nullptr);
        EXPECT_EQ(err.code, c.code);
        EXPECT_EQ(store.moveCell(c.row, c.col, c.level, 1, 1, 1, err), 0);
        EXPECT_TRUE(err.failed());
        EXPECT_EQ(store.lastCoveredColumn(c.row, c.level), 0);
    }
    const Case blocks[] = {{1, 1, 0, 1, 8}, {0, 1, 1, 2, 6}, {1, 0, 1, 3, 7}, {1, 1, 34, 1, 8}};
    for (const Case& c : blocks) {
        store.deleteBlock(c.level, c.row, c.col, 5, 5, 0, false, err);
        EXPECT_EQ(err.point, c.point);
        EXPECT_EQ(err.code, c.code);
    }
    store.deleteBlock(1, 1, 1, 65535, 5, 0, false, err);
    EXPECT_EQ(err.point, 4);
    store.deleteBlock(1, 1, 1, 5, 256, 0, false, err);
    EXPECT_EQ(err.point, 5);
}

TEST_F(RowsTest, NullCellsAndLevelZeroAreRefused) {
    store.insertCell(nullptr, false, false, err);
    EXPECT_EQ(err.code, 75);
    EXPECT_EQ(err.point, 1);
    store.unlinkCell(nullptr, err);
    EXPECT_EQ(err.code, 75);
    CellRec scratchCell{.row = 3, .col = 3, .level = 0};
    store.insertCell(&scratchCell, false, false, err);
    EXPECT_EQ(err.code, 8);
    EXPECT_EQ(err.point, 2);
    store.unlinkCell(&scratchCell, err);
    EXPECT_EQ(err.code, 8);
    EXPECT_EQ(store.makeCell(1, 1, 0, CellType::Label, err), nullptr);
    EXPECT_EQ(err.code, 8);
    EXPECT_TRUE(store.levelEmpty(0));
}

TEST_F(RowsTest, BottomCellFollowsInsertsAndUnlinks) {
    struct Step {
        bool insert;
        int row, col;
        int bottomRow, bottomCol;  // 0,0: empty level
    };
    const Step steps[] = {
        {true, 10, 5, 10, 5},   // the first cell of a level becomes the bottom cell
        {true, 4, 9, 10, 5},    // a smaller row keeps it
        {true, 20, 3, 20, 3},   // a larger row takes it
        {true, 20, 7, 20, 7},   // appending to the bottom row moves it along
        {true, 20, 1, 20, 7},   // inserting before it does not
        {false, 20, 7, 20, 3},  // unlinking the last cell of the bottom row moves it back
        {false, 20, 1, 20, 3},
        {false, 20, 3, 10, 5},  // the only cell of the highest row: up to the nearest non-empty row
        {false, 10, 5, 4, 9},
        {false, 4, 9, 0, 0},  // the last cell: empty level
    };
    for (const Step& step : steps) {
        if (step.insert) {
            ASSERT_NE(label(step.row, step.col), nullptr);
        } else {
            CellRec* cell = at(step.row, step.col);
            ASSERT_NE(cell, nullptr);
            store.unlinkCell(cell, err);
            ASSERT_FALSE(err.failed());
        }
        const CellRec* bottom = store.levelPtr(1)->bottom;
        if (step.bottomRow == 0) {
            EXPECT_EQ(bottom, nullptr);
        } else {
            ASSERT_NE(bottom, nullptr);
            EXPECT_EQ(bottom->row, step.bottomRow) << step.row << "," << step.col;
            EXPECT_EQ(bottom->col, step.bottomCol) << step.row << "," << step.col;
        }
        EXPECT_EQ(store.checkRows(1), "");
    }
}

TEST_F(RowsTest, RowsStayInColumnOrderWhateverTheInsertOrder) {
    for (int col : {50, 3, 255, 1, 60, 4, 2}) label(7, col);
    EXPECT_EQ(columnsOf(7), (std::vector<int>{1, 2, 3, 4, 50, 60, 255}));
    for (int col : {1, 60, 255, 3}) {
        CellRec* cell = at(7, col);
        store.unlinkCell(cell, err);
        ASSERT_FALSE(err.failed());
        EXPECT_EQ(cell->next, nullptr);
        EXPECT_EQ(store.checkRows(1), "");
    }
    EXPECT_EQ(columnsOf(7), (std::vector<int>{2, 4, 50}));
    store.unlinkCell(at(7, 2), err);
    store.unlinkCell(at(7, 50), err);
    store.unlinkCell(at(7, 4), err);
    EXPECT_TRUE(columnsOf(7).empty());
    CellRec* gone = store.makeCell(8, 8, 1, CellType::Label, err);
    store.unlinkCell(gone, err);
    store.unlinkCell(gone, err);
    EXPECT_EQ(err.point, 3);
}

TEST_F(RowsTest, InsertChecksRefuseOverlapAndExistingCells) {
    CellRec* wide = label(2, 2, "a long label");
    wide->setOverlapped(3);
    CellRec loose{.row = 2, .col = 4, .level = 1};
    store.insertCell(&loose, true, false, err);
    EXPECT_EQ(err.point, 3);
    loose.col = 2;
    store.insertCell(&loose, false, true, err);
    EXPECT_EQ(err.point, 4);
    EXPECT_EQ(columnsOf(2), std::vector<int>{2});
}

TEST_F(RowsTest, FindAndOccupancySeeOverlappingLabels) {
    CellRec* wide = label(3, 2, "wide");
    wide->setOverlapped(2);  // covers columns 3 and 4
    CellRec* number = formula(3, 9);
    CellRec* holder = store.makeCell(3, 12, 1, CellType::Undefined, err);
    store.levelPtr(1)->colWidths[2] = 0x8000 | 30;  // the top bit is not part of the width
    store.levelPtr(1)->colWidths[3] = 50;

    struct Case {
        int col;
        Occupancy occupancy;
        int width;
        CellRec* found;
    };
    const Case cases[] = {
        {2, Occupancy::Cell, 0, wide},           {3, Occupancy::Overlapped, 30, nullptr},
        {4, Occupancy::Overlapped, 80, nullptr}, {5, Occupancy::Free, 0, nullptr},
        {9, Occupancy::Cell, 0, number},         {12, Occupancy::Placeholder, 0, holder},
        {200, Occupancy::Free, 0, nullptr},
    };
    for (const Case& c : cases) {
        int width = -1;
        EXPECT_EQ(store.occupancy(3, c.col, 1, width, err), c.occupancy) << c.col;
        EXPECT_EQ(width, c.width) << c.col;
        EXPECT_EQ(store.findCell(3, c.col, 1, err), c.found) << c.col;
        EXPECT_FALSE(err.failed());
    }
    int width = 0;
    int remaining = 0;
    EXPECT_EQ(store.findOverlappingCell(3, 3, 1, width, remaining, err), wide);
    EXPECT_EQ(remaining, 2);
    EXPECT_EQ(store.findOverlappingCell(3, 4, 1, width, remaining, err), wide);
    EXPECT_EQ(remaining, 1);
    wide->style |= 1u << 17;  // a wrapped label spills nowhere
    EXPECT_EQ(store.findOverlappingCell(3, 3, 1, width, remaining, err), nullptr);
    EXPECT_EQ(remaining, 0);
}

TEST_F(RowsTest, LastCoveredColumnCountsOverlapOfLabelsOnly) {
    CellRec* last = label(5, 10);
    last->setOverlapped(4);
    EXPECT_EQ(store.lastCoveredColumn(5, 1), 14);
    EXPECT_EQ(store.findCell(5, 13, 1, err), nullptr);
    EXPECT_FALSE(err.failed());
    CellRec* number = formula(6, 10);
    number->setOverlapped(4);
    EXPECT_EQ(store.lastCoveredColumn(6, 1), 10);
    EXPECT_EQ(store.lastCoveredColumn(9, 1), 0);
}

TEST_F(RowsTest, SumOfColumnWidths) {
    auto& widths = store.levelPtr(2)->colWidths;
    widths[254] = 10;
    widths[255] = 0x8000 | 20;
    struct Case {
        int first, level, count, total;
    };
    const Case cases[] = {{1, 2, 3, 240}, {254, 2, 5, 30}, {255, 2, 1, 20}, {1, 2, 0, 0},
                          {1, 33, 3, 0},  {1, -1, 3, 0},   {0, 2, 3, 0}};
    for (const Case& c : cases) EXPECT_EQ(store.sumColumnWidths(c.first, c.level, c.count), c.total) << c.first;
}

TEST_F(RowsTest, ClearLevelEmptiesItAndLeavesOthersAlone) {
    CellRec* a = label(1, 1, "a", 3);
    formula(2, 2, {a}, 3);
    label(1, 1, "kept", 4);
    store.deleteBlock(3, 1, 1, 1, 1, 0, false, err);
    ASSERT_NE(store.levelPtr(3)->undoNewer, nullptr);
    store.clearLevel(3);
    const LevelRec* level = store.levelPtr(3);
    EXPECT_EQ(level->bottom, nullptr);
    EXPECT_EQ(level->undoNewer, nullptr);
    EXPECT_FALSE(level->heap);
    EXPECT_FALSE(level->pendingDelete.active());
    EXPECT_EQ(at(1, 1, 3), nullptr);
    EXPECT_EQ(at(2, 2, 3), nullptr);
    ASSERT_NE(at(1, 1, 4), nullptr);
    EXPECT_EQ(at(1, 1, 4)->textView(), "kept");
    EXPECT_NE(label(9, 9, "again", 3), nullptr);
    expectSound(3);
}

}  // namespace
}  // namespace qx::testing
