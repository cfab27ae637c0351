#pragma once
// Where positions go when rows or columns are inserted or removed, and the level data outside the
// row lists that is kept by position: heights and widths, range records, the pending delete and
// paste areas and the detached cells of Undo delete.
#include "core/cell_records.h"

namespace qx {

enum class Axis { Rows, Columns };

// `count` lines inserted or removed at `at`. A removal of n lines gives the same result as n
// removals of line `at`, an insertion of n the same as n insertions at `at`.
struct LineChange {
    Axis axis = Axis::Rows;
    int at = 1;
    int count = 0;
    bool insert = true;

    int limit() const { return axis == Axis::Rows ? kMaxRow : kMaxCol; }
    // The new position of a line; a removed line collapses onto `at`, a line pushed past the grid stays
    // past it (callers drop or clamp it).
    int moved(int line) const;
};

// A rectangle's bounds after the change; false when nothing of it is left inside the grid.
bool movedArea(const LineChange& change, int& first, int& last);

// Row heights (with the interface's row array) or column widths. Inserted lines repeat the entry
// that stood at `at`; lines coming in at the far end repeat the last entry.
void moveLineSizes(LevelRec& level, const LineChange& change);

// Range attribute, colour and border records follow their cells; those left with no line are dropped.
void moveRangeRecords(LevelRec& level, const LineChange& change);

// The pending areas and the detached cells of both undo chains, so Undo delete puts cells back
// where their neighbours now stand.
void movePendingAreas(LevelRec& level, const LineChange& change);

// Moves the range records that lie wholly inside `area` by the offsets (shifting cells); a record
// that would leave the grid stays.
void offsetRangeRecords(LevelRec& level, const CellArea& area, int rowOffset, int colOffset);

}  // namespace qx
