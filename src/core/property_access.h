#pragma once
// The cell property accessor: reads and changes single attributes of a cell by number (0..31).
// Scripts reach it through "attribute", the command line through `attr`.
#include <cstdint>
#include <functional>

#include "core/cell_records.h"
#include "core/cell_store.h"

namespace qx {

constexpr int kPropertyCount = 32;
constexpr int32_t kPropertyRead = -1;

// Whether the cell's references lead back to it; supplied by recalculation.
using CircularTest = std::function<bool(CellRec&)>;

// Value -1 reads; any other value writes where the property allows it. Returns the value after the
// operation, or -1 for a null cell, a placeholder with any property but 0, a property outside 0..31,
// and a property the cell's type does not have. A refused write changes nothing and returns the
// current value; an accepted one marks the level changed.
int64_t cellProperty(CellStore& store, CellRec* cell, int property, int32_t value, const CircularTest& isCircular = {});

}  // namespace qx
