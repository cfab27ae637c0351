#pragma once
// Where capturing, placing and the table operations report from.
#include "core/origin_table.h"

// clang-format off
#define QX_OBJECTS_ORIGINS(X)                \
    X(kCellObject,       kLetterC, 20, 4)    \
    X(kPlaceInCell,      kLetterC, 20, 5)    \
    X(kPlaceOnSheet,     kLetterC, 20, 6)    \
    X(kTableSelection,   kLetterC, 20, 7)    \
    X(kPlaceTable,       kLetterC, 20, 8)    \
    X(kMatrixSelection,  kLetterC, 20, 12)   \
    X(kPlaceMatrix,      kLetterC, 20, 13)   \
    X(kPointSelection,   kLetterC, 20, 14)   \
    X(kPlacePoints,      kLetterC, 20, 19)   \
    X(kSort,             kLetterW, 50, 1)    \
    X(kInvert,           kLetterW, 50, 2)    \
    X(kSwapColumns,      kLetterW, 50, 3)    \
    X(kRemoveColumn,     kLetterW, 50, 4)    \
    X(kRemoveRow,        kLetterW, 50, 5)    \
    X(kSetValue,         kLetterW, 50, 6)
// clang-format on

namespace qx::origins::objects {
QX_DECLARE_ORIGINS(QX_OBJECTS_ORIGINS)
}  // namespace qx::origins::objects
