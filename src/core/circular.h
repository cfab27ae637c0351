#pragma once
// The circular-reference test: does following a formula's references lead back to it?
#include "core/cell_records.h"

namespace qx {

// The longest reference path searched; a longer one is taken as not circular.
constexpr int kMaxCircularPath = 65532;

// True when some chain of references starting at `cell` (a Formula or Variable Label) returns to a cell on
// the current path. Marks used during the search are cleared before returning.
bool isCircular(CellRec& cell);

}  // namespace qx
