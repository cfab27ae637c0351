// Matrix algebra: making a matrix object from its numbers.
#include <vector>

#include "core/cell_store.h"
#include "functions/argument_readers.h"
#include "functions/families.h"
#include "functions/object_values.h"

namespace qx {

namespace {

constexpr int32_t kModuleMatrixFamily = 39;
constexpr Origin kMakeMatrix{kLetterA, kModuleMatrixFamily, 1};
constexpr int kMatrixKind = 2;

}  // namespace

// "@Matrix()" only marks the cell a matrix and keeps its array; with numbers the cell gets that matrix.
double fnMatrix(FunctionCall& call, ErrStat& err) {
    bool rebuilt = false;
    makeGridObject(call, kMatrixKind, kMakeMatrix, rebuilt, err);
    return 0.0;
}

namespace {

constexpr FunctionEntry kMatrixTable[] = {
    {"@Matrix", 0, "@Matrix ( rows, columns, element1, ... )", fnMatrix},
};

}  // namespace

std::span<const FunctionEntry> matrixFamily() {
    return kMatrixTable;
}

}  // namespace qx
