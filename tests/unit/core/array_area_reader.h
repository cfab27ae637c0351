#pragma once
// Reading what a Formula cell holds as an object, for tests of every layer.
#include <vector>

#include "core/cell_records.h"
#include "core/formula_flags.h"

namespace qx::test {

// The Array Area with its count first: {0} for a Formula without one, {} for a cell that has no formula.
inline std::vector<double> arrayOf(const CellRec* cell) {
    if (cell == nullptr || cell->formula == nullptr) return {};
    const double* a = cell->formula->array;
    if (a == nullptr) return {0.0};
    return std::vector<double>(a, a + static_cast<int>(a[0]) + 1);
}

inline int kindOf(const CellRec* cell) {
    return cell != nullptr && cell->formula != nullptr ? static_cast<int>(formulaflag::objectKind(cell->formula->flags))
                                                       : -1;
}

}  // namespace qx::test
