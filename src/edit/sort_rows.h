#pragma once
// Sorting the rows of a block by up to three key columns. Only the cells inside the block's columns
// move, as records, so formulas using them follow.
#include <span>
#include <string>

#include "core/cell_store.h"
#include "core/err_stat.h"

namespace qx {

namespace sortrows {
constexpr int kMaxKeys = 3;
inline constexpr const char* kFailureCaption = "ERROR (DB46)";
inline constexpr const char* kFailureText = "Could not sort rows as requested.";
}  // namespace sortrows

struct RowSortKey {
    int column = 0;
    bool ascending = true;
};

// What a row's key cell holds, read once per row.
struct RowKey {
    enum class Kind { Missing, Placeholder, Label, Formula } kind = Kind::Missing;
    std::string text;    // a Label's or Variable Label's written-out source text
    double value = 0.0;  // a Formula's stored value; 0 when it is in error
};

RowKey rowKey(CellStore& store, int level, int row, int column);

// -1, 0 or 1 for the row's key against the pivot's, ascending: empty places first, then numbers,
// then labels in byte order; a placeholder sorts after empty places and before everything else.
int CompareRow(const RowKey& row, const RowKey& pivot, bool ascending);

// Sorts rows firstRow..lastRow of the block by the keys (columns of the grid; a later key orders the
// rows equal on the earlier ones). The order is not stable. A cell-store failure stops the sort.
void SortRows(CellStore& store, int level, const CellArea& block, std::span<const RowSortKey> keys, ErrStat& err);

}  // namespace qx
