#include "edit/row_column.h"

#include <algorithm>
#include <climits>
#include "core/slot.h"
#include "edit/origins.h"

namespace qx {

using namespace origins::edit;

namespace {

int highestRow(const LevelRec& level) {
    return level.bottom ? level.bottom->row : 0;
}

Msg lineCode(Axis axis) {
    return axis == Axis::Rows ? Msg::RowOutOfRange : Msg::ColumnOutOfRange;
}

// Recalculation keeps its marked cells by place, so a cell that moved is noted again where it stands.
void noteMoved(CellStore& store, CellRec& cell) {
    if (cell.formula != nullptr) store.hooks().recalcMarked(store, cell);
}

void setRow(CellStore& store, CellRec* last, int row) {
    for (CellRec* cell : RowCells{last}) {
        cell->row = static_cast<uint16_t>(row);
        noteMoved(store, *cell);
    }
}

// Adds `delta` to the column of every cell of the row from column `from` on. Each cell is changed only
// after the walk has stepped past it, so the walk's own order test never sees a half-changed row.
void shiftColumns(CellStore& store, CellRec* last, int from, int delta) {
    for (RowCursor at(last); !at.done();) {
        CellRec* cell = at.get();
        at.advance();
        if (cell->col < from) continue;
        cell->col = static_cast<uint8_t>(cell->col + delta);
        noteMoved(store, *cell);
    }
}

// Rows from `from` up to the highest used row move by `delta`; the slots they leave are empty.
void moveRows(CellStore& store, LevelRec& level, int from, int delta) {
    const int highest = highestRow(level);
    const auto relocate = [&](int row) {
        CellRec* last = slot(level.rows, row);
        if (last == nullptr) return;
        slot(level.rows, row) = nullptr;
        slot(level.rows, row + delta) = last;
        setRow(store, last, row + delta);
    };
    if (delta > 0) {
        for (int row = highest; row >= from; --row) relocate(row);
    } else {
        for (int row = from; row <= highest; ++row) relocate(row);
    }
}

void moveCells(CellStore& store, LevelRec& level, const LineChange& change) {
    const int delta = change.insert ? change.count : -change.count;
    const int from = change.insert ? change.at : change.at + change.count;
    if (change.axis == Axis::Rows) return moveRows(store, level, from, delta);
    const int highest = highestRow(level);
    for (int row = 1; row <= highest; ++row) {
        if (slot(level.rows, row) != nullptr) shiftColumns(store, slot(level.rows, row), from, delta);
    }
}

// How many lines can go in at `at` before some cell would be pushed off the grid.
int roomFor(const LevelRec& level, Axis axis, int at) {
    if (axis == Axis::Rows) {
        const int highest = highestRow(level);
        return highest < at ? INT_MAX : kMaxRow - highest;
    }
    int widest = 0;
    for (int row = 1, highest = highestRow(level); row <= highest; ++row) {
        if (slot(level.rows, row) != nullptr) widest = std::max<int>(widest, slot(level.rows, row)->col);
    }
    return widest < at ? INT_MAX : kMaxCol - widest;
}

// Everything outside the row lists that is kept by position follows the cells.
void finishChange(CellStore& store, LevelRec& level, const LineChange& change) {
    moveCells(store, level, change);
    moveLineSizes(level, change);
    moveRangeRecords(level, change);
    movePendingAreas(level, change);
    level.changed = true;
}

bool validStart(const CellStore& store, int level, Axis axis, int at, int count, const Origin& origin, ErrStat& err) {
    if (!store.worksheetLevel(level)) return err.fail(origin, 1, Msg::LevelOutOfRange);
    if (at < 1 || at > (axis == Axis::Rows ? kMaxRow : kMaxCol)) return err.fail(origin, 2, lineCode(axis));
    if (count < 0) return err.fail(origin, 3, Msg::ParameterOutOfRange);
    return true;
}

// Calls `visit` for every cell of the line until it returns false.
template <typename Visit>
void forEachCellOfLine(const CellStore& store, int level, Axis axis, int line, Visit visit) {
    const LevelRec& rec = *store.levelPtr(level);
    if (axis == Axis::Rows) {
        for (CellRec* cell : RowCells{slot(rec.rows, line)}) {
            if (!visit(*cell)) return;
        }
        return;
    }
    for (int row = 1, highest = highestRow(rec); row <= highest; ++row) {
        for (CellRec* cell : RowCells{slot(rec.rows, row)}) {
            if (cell->col > line) break;
            if (cell->col == line && !visit(*cell)) return;
        }
    }
}

bool removable(const CellStore& store, int level, Axis axis, int line, ErrStat& err) {
    forEachCellOfLine(store, level, axis, line, [&](const CellRec& cell) {
        if (CellStore::isReferenced(cell)) return err.fail(kRemoveLines, 4, Msg::CellsReferenced);
        if (cell.has(cellflag::kProtectCell)) return err.fail(kRemoveLines, 5, Msg::ProtectedCell);
        return true;
    });
    return !err.failed();
}

bool deleteLine(CellStore& store, int level, Axis axis, int line, ErrStat& err) {
    if (!lineHoldsCells(store, level, axis, line)) return true;
    if (axis == Axis::Rows) {
        store.deleteBlock(level, line, 1, line, kMaxCol, NotifyMode::None, false, err);
    } else {
        store.deleteBlock(level, 1, line, kMaxRow, line, NotifyMode::None, false, err);
    }
    if (err.failed()) return err.trace(kRemoveLines), false;
    // Nothing may stay behind: the cells beyond would be renumbered onto it.
    if (lineHoldsCells(store, level, axis, line)) return err.fail(kRemoveLines, 6, Msg::CellsReferenced);
    return true;
}

}  // namespace

bool lineHoldsCells(const CellStore& store, int level, Axis axis, int line) {
    if (!store.worksheetLevel(level)) return false;
    bool found = false;
    forEachCellOfLine(store, level, axis, line, [&](const CellRec&) { return !(found = true); });
    return found;
}

int insertLines(CellStore& store, int level, Axis axis, int at, int count, ErrStat& err) {
    err.enter();
    if (!validStart(store, level, axis, at, count, kInsertLines, err)) return 0;
    LevelRec& rec = *store.levelPtr(level);
    const int done = std::min(count, roomFor(rec, axis, at));
    if (done > 0) finishChange(store, rec, LineChange{axis, at, done, true});
    if (done < count) err.fail(kInsertLines, 4, lineCode(axis));
    return done;
}

int removeLines(CellStore& store, int level, Axis axis, int at, int count, ErrStat& err) {
    err.enter();
    if (!validStart(store, level, axis, at, count, kRemoveLines, err)) return 0;
    LevelRec& rec = *store.levelPtr(level);
    const int limit = axis == Axis::Rows ? kMaxRow : kMaxCol;
    // Past the last line every further removal meets only empty lines.
    const int lines = std::min(count, limit - at + 1);
    int done = 0;
    while (done < lines && removable(store, level, axis, at + done, err) &&
           deleteLine(store, level, axis, at + done, err)) {
        ++done;
    }
    if (done > 0) finishChange(store, rec, LineChange{axis, at, done, false});
    if (done == lines && !err.failed()) return count;
    return done;
}

}  // namespace qx
