#pragma once
// The reverse index: for each referenced cell, the formula cells whose reference lists
// hold it, one entry per reference. A list is one block in the target's level heap
// (8 bytes of header, 8 per entry) kept sorted by (row, column) when it is read.
#include <cstdint>
#include <span>

#include "core/cell_records.h"
#include "core/err_stat.h"

namespace qx {

struct DependentList {
    uint32_t size = 0;
    uint32_t capacity : 31 = 0;
    uint32_t sorted : 1 = 1;

    CellRec** items() { return reinterpret_cast<CellRec**>(this + 1); }
};

// (row, column) order; the record address separates entries of one formula.
bool dependentBefore(const CellRec* a, const CellRec* b);

// Adds `formula` to the list of `target` (both on `level`). Code 1 when the heap is exhausted.
void indexAdd(LevelRec& level, CellRec& target, CellRec* formula, ErrStat& err);
// Removes one entry of `formula` from the list of `target`; false when there was none.
bool indexRemove(LevelRec& level, CellRec& target, const CellRec* formula);
// The entries of `target` in (row, column) order.
std::span<CellRec* const> indexEntries(CellRec& target);
uint32_t indexSize(const CellRec& target);
// Moves every entry of `from` onto `to` (merging with what `to` has).
void indexTransfer(LevelRec& level, CellRec& from, CellRec& to, ErrStat& err);
// Frees the list of `target`.
void indexFree(LevelRec& level, CellRec& target);

}  // namespace qx
