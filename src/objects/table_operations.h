#pragma once
// The "Table manipulation" operations on a NULL-form table object: invert, swap and remove columns,
// remove rows, sort rows, set one value. Each leaves the table unchanged when it fails.
#include <span>

#include "core/cell_records.h"
#include "core/err_stat.h"

namespace qx {

class CellStore;

struct SortKey {
    int column = 1;
    bool descending = false;
};

// The cell operated on: a Formula holding a table with an array of its own, in NULL form.
bool isNullTable(const CellRec* cell);

bool invertTable(CellStore& store, CellRec* cell, ErrStat& err);
bool swapColumnsOfTable(CellStore& store, CellRec* cell, int a, int b, ErrStat& err);
bool removeColumnOfTable(CellStore& store, CellRec* cell, int column, ErrStat& err);
bool removeRowOfTable(CellStore& store, CellRec* cell, int row, ErrStat& err);
// Rows ordered by the keys in turn (stable: equal rows keep their order); row names move with them.
bool sortTableRows(CellStore& store, CellRec* cell, std::span<const SortKey> keys, ErrStat& err);
// The value at `row`, `column` (1-based) becomes `value`; the shape and the names stay as they are.
bool setTableValue(CellStore& store, CellRec* cell, int row, int column, double value, ErrStat& err);

}  // namespace qx
