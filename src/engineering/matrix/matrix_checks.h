#pragma once
// The checks that every operation of the matrix library makes the same way.
#include <cstdint>

#include "core/err_stat.h"
#include "core/messages.h"
#include "engineering/matrix/matrix_math.h"

namespace qx {

// Fails with a matrix-table message stamped with the routine; false for `return failMatrix(...)`.
bool failMatrix(ErrStat& err, Origin routine, int32_t point, L07 message);

// A result of rows x cols must fit an Array Area: "insufficient memory allocated to compute matrix".
bool matrixFits(long long rows, long long cols, Origin routine, int32_t point, ErrStat& err);

// An overflow leaves no number to store: "unable to compute matrix".
bool finiteResult(const Matrix& m, Origin routine, int32_t point, ErrStat& err);

}  // namespace qx
