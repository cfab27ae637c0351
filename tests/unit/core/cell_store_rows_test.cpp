#include <tuple>
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
    CellStore store(33, LevelDefaults{.precision = 4}, "/docs", scratch);
    const LevelRec* level = store.levelPtr(7);
    ASSERT_NE(level, nullptr);
    EXPECT_EQ(level->number, 7);
    EXPECT_EQ(level->defaultFileName, "wksht7.qx2");
    EXPECT_EQ(level->directory, "/docs");
    EXPECT_EQ(level->defaults.precision, 4);
    EXPECT_EQ(level->rows.size(), 65535u);
    EXPECT_FALSE(level->heap);  // a level's heap is made with its first cell
    EXPECT_EQ(store.levelPtr(33), nullptr);
    EXPECT_EQ(store.levelPtr(-1), nullptr);
}

TEST_F(RowsTest, OutOfRangePlacesGiveTheirCodesAndNoCell) {
    struct Case {
        int row, col, level, point, code;
    };
    const Case cases[] = {{0, 1, 1, 1, 6},   {65535, 1, 1, 1, 6}, {-3, 1, 1, 1, 6}, {1, 0, 1, 2, 7},
                          {1, 256, 1, 2, 7}, {1, 1, -1, 3, 8},    {1, 1, 33, 3, 8}, {70000, 300, 40, 1, 6}};
    for (const Case& c : cases) {
        EXPECT_EQ(store.findCell(c.row, c.col, c.level, err), nullptr);
        EXPECT_EQ(std::tuple(err.point, err.code, err.letter, err.module, err.routine),
                  std::tuple(c.point, c.code, 'A', 1, 3))
            << c.row << "," << c.col << "," << c.level;
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
        store.deleteBlock(c.level, c.row, c.col, 5, 5, NotifyMode::None, false, err);
        EXPECT_EQ(std::tuple(err.point, err.code), std::tuple(c.point, c.code));
    }
    store.deleteBlock(1, 1, 1, 65535, 5, NotifyMode::None, false, err);
    EXPECT_EQ(err.point, 4);
    store.deleteBlock(1, 1, 1, 5, 256, NotifyMode::None, false, err);
    EXPECT_EQ(err.point, 5);
}

TEST_F(RowsTest, NullCellsAndLevelZeroAreRefused) {
    store.insertCell(nullptr, false, false, err);
    EXPECT_EQ(std::tuple(err.point, err.code), std::tuple(1, 75));
    store.unlinkCell(nullptr, err);
    EXPECT_EQ(err.code, 75);
    CellRec scratchCell{.row = 3, .col = 3, .level = 0};
    store.insertCell(&scratchCell, false, false, err);
    EXPECT_EQ(std::tuple(err.point, err.code), std::tuple(2, 8));
    store.unlinkCell(&scratchCell, err);
    EXPECT_EQ(err.code, 8);
    EXPECT_EQ(store.makeCell(1, 1, 0, CellType::Label, err), nullptr);
    EXPECT_EQ(err.code, 8);
    EXPECT_TRUE(store.levelEmpty(0));
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
    CellRec* gone = label(8, 8);
    store.unlinkCell(gone, err);
    store.unlinkCell(gone, err);  // its row is empty now
    EXPECT_EQ(err.point, 3);
}

TEST_F(RowsTest, InsertChecksRefuseOverlapAndExistingCells) {
    CellRec* wide = label(2, 2, "a long label");
    wide->setOverlapped(3);
    CellRec loose{.row = 2, .col = 4, .level = 1};
    store.insertCell(&loose, true, false, err);  // inside the label's overlap
    EXPECT_EQ(err.point, 3);
    loose.col = 2;  // where a cell already is
    store.insertCell(&loose, false, true, err);
    EXPECT_EQ(err.point, 4);
    EXPECT_EQ(columnsOf(2), std::vector<int>{2});
}

TEST_F(RowsTest, FindAndOccupancySeeOverlappingLabels) {
    CellRec* wide = label(3, 2, "wide");
    wide->setOverlapped(2);  // covers columns 3 and 4
    CellRec* number = formula(3, 9);
    CellRec* holder = store.makeCell(3, 12, 1, CellType::Undefined, err);
    level().colWidths[2] = 0x8000 | 30;  // the top bit is not part of the width
    level().colWidths[3] = 50;

    struct Case {
        int col;
        Occupancy occupancy;
        int width;
        CellRec* found;
    };
    const Case cases[] = {{2, Occupancy::Cell, 0, wide},           {3, Occupancy::Overlapped, 30, nullptr},
                          {4, Occupancy::Overlapped, 80, nullptr}, {5, Occupancy::Free, 0, nullptr},
                          {9, Occupancy::Cell, 0, number},         {12, Occupancy::Placeholder, 0, holder},
                          {200, Occupancy::Free, 0, nullptr}};
    for (const Case& c : cases) {
        int width = -1;
        EXPECT_EQ(std::tuple(store.occupancy(3, c.col, 1, width, err), width), std::tuple(c.occupancy, c.width))
            << c.col;
        EXPECT_EQ(store.findCell(3, c.col, 1, err), c.found) << c.col;
        EXPECT_FALSE(err.failed());
    }
    int width = 0, remaining = 0;
    auto overlapping = [&](int col) {
        return std::tuple(store.findOverlappingCell(3, col, 1, width, remaining, err), remaining);
    };
    EXPECT_EQ(overlapping(3), std::tuple(wide, 2));
    EXPECT_EQ(overlapping(4), std::tuple(wide, 1));
    wide->style |= 1u << 17;  // a wrapped label spills nowhere
    EXPECT_EQ(overlapping(3), std::tuple(nullptr, 0));
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
    auto& widths = level(2).colWidths;
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
    store.deleteBlock(3, 1, 1, 1, 1, NotifyMode::None, false, err);
    ASSERT_NE(level(3).undoNewer, nullptr);
    store.clearLevel(3);
    const LevelRec& cleared = level(3);
    EXPECT_TRUE(cleared.bottom == nullptr && cleared.undoNewer == nullptr && !cleared.heap);
    EXPECT_FALSE(cleared.pendingDelete.active());
    EXPECT_EQ(std::tuple(at(1, 1, 3), at(2, 2, 3)), std::tuple(nullptr, nullptr));
    ASSERT_NE(at(1, 1, 4), nullptr);
    EXPECT_EQ(at(1, 1, 4)->textView(), "kept");
    EXPECT_NE(label(9, 9, "again", 3), nullptr);
    expectSound(3);
}

}  // namespace
}  // namespace qx::testing
