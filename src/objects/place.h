#pragma once
// Putting a captured object back: into one empty cell as a NULL-form object, or onto the worksheet as
// label and number cells.
#include "core/err_stat.h"
#include "objects/capture_buffer.h"

namespace qx {

class CellStore;
class EntryOperation;
class Recalculator;

struct PlaceTarget {
    CellStore& store;
    EntryOperation& entry;
    Recalculator& recalculator;
};

// The NULL-form call that stands in a cell for an object of `kind`; empty for kinds that cannot be placed.
std::string_view nullFormCall(ObjectKind kind);

// A new Formula at the place holding the buffer's object ("@Table()" and the like, entered as if typed).
// 86 when a cell is there; any failure deletes the new cell. The buffer is left as it is.
bool placeInEmptyCell(PlaceTarget& target, const CaptureBuffer& buffer, int row, int col, int level, ErrStat& err);

// The object written out as cells from (row, col): 87 when any cell is in the rectangle, 6/7 when it
// leaves the sheet. Writing stops at the first cell that fails.
bool placeOnWorksheet(PlaceTarget& target, const CaptureBuffer& buffer, int row, int col, int level, ErrStat& err);

}  // namespace qx
