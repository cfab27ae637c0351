#include "edit/cell_shift.h"

#include <algorithm>
#include <vector>

#include "core/slot.h"
#include "edit/layout_map.h"
#include "edit/origins.h"
#include "edit/row_column.h"

namespace qx {

namespace {

bool inGrid(int row, int col) {
    return row >= 1 && row <= kMaxRow && col >= 1 && col <= kMaxCol;
}

// The columns of the row's cells inside the area, in visiting order. Taken before the row is worked
// on: every cell moves into a place that has been visited already, so the list stays true.
std::vector<int> columnsToVisit(const LevelRec& level, int row, const CellArea& area, bool backwards) {
    std::vector<int> cols;
    for (const CellRec* cell : RowCells{slot(level.rows, row)}) {
        if (cell->col > area.lastCol) break;
        if (cell->col >= area.firstCol) cols.push_back(cell->col);
    }
    if (backwards) std::reverse(cols.begin(), cols.end());
    return cols;
}

// Moves the row's cells of the area; false when the shift has to end here.
bool shiftRow(CellStore& store, int level, int row, const CellArea& area, PlaceOffset step, bool backwards, int& moved,
              ErrStat& err) {
    for (int col : columnsToVisit(*store.levelPtr(level), row, area, backwards)) {
        if (!inGrid(row + step.rows, col + step.cols)) return false;
        moved += store.moveCell(row, col, level, row + step.rows, col + step.cols, level, err);
        if (err.failed()) return err.trace(origins::edit::kChangeLayout), false;
    }
    return true;
}

}  // namespace

PlaceOffset shiftOffset(int direction) {
    switch (direction) {
        case shift::kLeft:
            return {0, -1};
        case shift::kRight:
            return {0, 1};
        case shift::kUp:
            return {-1, 0};
        case shift::kDown:
            return {1, 0};
        default:
            return {};
    }
}

int shiftCells(CellStore& store, int level, const CellArea& area, int direction, ErrStat& err) {
    err.enter();
    const PlaceOffset step = shiftOffset(direction);
    if (!store.worksheetLevel(level)) return err.fail(origins::edit::kChangeLayout, 2, Msg::LevelOutOfRange), 0;
    if (step.rows == 0 && step.cols == 0) return err.fail(origins::edit::kChangeLayout, 3, Msg::ParameterOutOfRange), 0;
    if (!inGrid(area.firstRow, area.firstCol) || !inGrid(area.lastRow, area.lastCol)) {
        return err.fail(origins::edit::kChangeLayout, 4,
                        inGrid(area.firstRow, 1) ? Msg::ColumnOutOfRange : Msg::RowOutOfRange),
               0;
    }
    LevelRec& rec = *store.levelPtr(level);
    const bool backwards = direction == shift::kRight || direction == shift::kDown;
    const int lastRow = std::min<int>(area.lastRow, rec.bottom ? rec.bottom->row : 0);
    int moved = 0;
    for (int i = area.firstRow; i <= lastRow; ++i) {
        const int row = backwards ? lastRow - (i - area.firstRow) : i;
        if (!shiftRow(store, level, row, area, step, backwards, moved, err)) break;
    }
    if (moved > 0) offsetRangeRecords(rec, area, step.rows, step.cols);
    return moved;
}

}  // namespace qx
