#pragma once
// Where recalculation reports from.
#include "core/origin_table.h"

// clang-format off
#define QX_RECALC_ORIGINS(X)           \
    X(kRemoveRange, kLetterA, 7, 2)
// clang-format on

namespace qx::origins::recalc {
QX_DECLARE_ORIGINS(QX_RECALC_ORIGINS)
}  // namespace qx::origins::recalc
