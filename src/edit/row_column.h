#pragma once
// Inserting and removing whole rows and columns of a level. Cells move as records, so every formula
// that refers to a moved cell keeps pointing at it and shows its new address.
#include "core/cell_store.h"
#include "core/err_stat.h"
#include "edit/layout_map.h"

namespace qx {

// Inserts `count` rows or columns at `at` on a worksheet level; returns how many went in. Stops with
// code 6 (rows) or 7 (columns) before the insertion that would push a cell off the grid; the ones
// inserted before it stay.
int insertLines(CellStore& store, int level, Axis axis, int at, int count, ErrStat& err);

// Removes the row or column at `at`, `count` times; returns how many went. Each one is first checked:
// a cell other cells use gives code 13, a protected cell code 40, and that line stays. The removed
// cells go to the undo chain as Delete puts them there.
int removeLines(CellStore& store, int level, Axis axis, int at, int count, ErrStat& err);

// True when the row or column holds any cell, placeholders included.
bool lineHoldsCells(const CellStore& store, int level, Axis axis, int line);

}  // namespace qx
