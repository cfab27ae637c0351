#include "edit/layout_map.h"

#include <algorithm>
#include <span>

#include "core/range_attributes.h"
#include "core/slot.h"

namespace qx {

namespace {

template <typename Entry>
void moveEntries(std::span<Entry> entries, const LineChange& change) {
    const int limit = change.limit();
    if (static_cast<int>(entries.size()) <= limit || change.at < 1 || change.at > limit) return;
    if (change.insert) {
        for (int line = limit; line > change.at; --line)
            slot(entries, line) = slot(entries, std::max(line - change.count, change.at));
        return;
    }
    for (int line = change.at; line < limit; ++line) slot(entries, line) = slot(entries, std::min(line + change.count, limit));
}

bool movedBounds(const LineChange& change, uint16_t& first, uint16_t& last) {
    int f = first;
    int l = last;
    if (!movedArea(change, f, l)) return false;
    first = static_cast<uint16_t>(f);
    last = static_cast<uint16_t>(l);
    return true;
}

bool movedCellArea(const LineChange& change, CellArea& area) {
    if (change.axis == Axis::Rows) return movedArea(change, area.firstRow, area.lastRow);
    return movedArea(change, area.firstCol, area.lastCol);
}

template <typename Record>
void moveAreaRecords(std::vector<Record>& records, const LineChange& change) {
    std::erase_if(records, [&](Record& r) { return !movedCellArea(change, r.area); });
}

void moveChain(CellRec* chain, const LineChange& change) {
    for (CellRec* cell = chain; cell != nullptr; cell = cell->next) {
        if (change.axis == Axis::Rows) {
            cell->row = static_cast<uint16_t>(std::min(change.moved(cell->row), kMaxRow));
        } else {
            cell->col = static_cast<uint8_t>(std::min(change.moved(cell->col), kMaxCol));
        }
    }
}

bool inGrid(int firstRow, int firstCol, int lastRow, int lastCol) {
    return firstRow >= 1 && lastRow <= kMaxRow && firstCol >= 1 && lastCol <= kMaxCol;
}

bool inside(const CellArea& outer, int firstRow, int firstCol, int lastRow, int lastCol) {
    return firstRow >= outer.firstRow && lastRow <= outer.lastRow && firstCol >= outer.firstCol &&
           lastCol <= outer.lastCol;
}

// Moves a record's rectangle by the offsets when it lies inside `area` and stays in the grid.
template <typename Bound>
void offsetBounds(const CellArea& area, int rowOffset, int colOffset, Bound& firstRow, Bound& firstCol, Bound& lastRow,
                  Bound& lastCol) {
    if (!inside(area, firstRow, firstCol, lastRow, lastCol)) return;
    if (!inGrid(firstRow + rowOffset, firstCol + colOffset, lastRow + rowOffset, lastCol + colOffset)) return;
    firstRow = static_cast<Bound>(firstRow + rowOffset);
    lastRow = static_cast<Bound>(lastRow + rowOffset);
    firstCol = static_cast<Bound>(firstCol + colOffset);
    lastCol = static_cast<Bound>(lastCol + colOffset);
}

}  // namespace

int LineChange::moved(int line) const {
    if (line < at) return line;
    if (insert) return line + count;
    return line < at + count ? at : line - count;
}

bool movedArea(const LineChange& change, int& first, int& last) {
    if (change.insert) {
        first = change.moved(first);
        last = std::min(change.moved(last), change.limit());
        return first <= change.limit();
    }
    const bool lastRemoved = last >= change.at && last < change.at + change.count;
    first = change.moved(first);
    last = lastRemoved ? change.at - 1 : change.moved(last);
    return first <= last;
}

void moveLineSizes(LevelRec& level, const LineChange& change) {
    if (change.axis == Axis::Columns) return moveEntries(std::span<uint16_t>(level.colWidths), change);
    moveEntries(std::span<uint16_t>(level.rowHeights), change);
    moveEntries(std::span<uint16_t>(level.rowExtra), change);
}

void moveRangeRecords(LevelRec& level, const LineChange& change) {
    std::erase_if(level.rangeRecords, [&](RangeAttrRec& r) {
        if (change.axis == Axis::Rows) return !movedBounds(change, r.firstRow, r.lastRow);
        return !movedBounds(change, r.firstCol, r.lastCol);
    });
    moveAreaRecords(level.colourRanges, change);
    moveAreaRecords(level.borderRanges, change);
    // Records that were apart may touch now, and the other way round.
    recomputeRangeOverlaps(level);
}

void movePendingAreas(LevelRec& level, const LineChange& change) {
    for (CellArea* area : {&level.pendingDelete, &level.pendingPaste}) {
        if (area->active() && !movedCellArea(change, *area)) area->clear();
    }
    moveChain(level.undoNewer, change);
    moveChain(level.undoOlder, change);
}

void offsetRangeRecords(LevelRec& level, const CellArea& area, int rowOffset, int colOffset) {
    for (RangeAttrRec& r : level.rangeRecords) {
        offsetBounds(area, rowOffset, colOffset, r.firstRow, r.firstCol, r.lastRow, r.lastCol);
    }
    for (ColourRange& r : level.colourRanges) {
        offsetBounds(area, rowOffset, colOffset, r.area.firstRow, r.area.firstCol, r.area.lastRow, r.area.lastCol);
    }
    for (BorderRange& r : level.borderRanges) {
        offsetBounds(area, rowOffset, colOffset, r.area.firstRow, r.area.firstCol, r.area.lastRow, r.area.lastCol);
    }
    if (!level.rangeRecords.empty()) recomputeRangeOverlaps(level);
}

}  // namespace qx
