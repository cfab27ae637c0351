#pragma once
// The Array Area commands: creating, resizing or removing the Array Areas of a selection's formulas,
// and writing the elements of one cell.
#include <span>

#include "core/cell_store.h"
#include "core/err_stat.h"
#include "platform/platform.h"

namespace qx {

// Gives every Formula of the area an Array Area of n elements (0 removes it), keeping the elements
// that fit. A protected cell is reported and passed over; with warnings on, cells that are not
// Formulas are reported and a change of an existing size is asked first. Returns how many changed.
int setArrayAreas(CellStore& store, Platform& platform, int level, const CellArea& area, int n, bool warn,
                  ErrStat& err);

// The one selected cell whose elements may be set, or null once a box has said why not.
CellRec* arrayCellOf(CellStore& store, Platform& platform, int level, const CellArea& selection);

// Writes values into elements 1.. of the cell; fewer values leave the rest. More values than
// elements fail with code 9.
void writeArrayElements(CellStore& store, CellRec& cell, std::span<const double> values, ErrStat& err);

}  // namespace qx
