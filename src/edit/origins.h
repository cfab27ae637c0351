#pragma once
// Where the editing commands report from.
#include "core/origin_table.h"

// clang-format off
#define QX_EDIT_ORIGINS(X)                 \
    X(kDeleteCells,    kLetterA, 9, 9)     \
    X(kUndoDelete,     kLetterA, 9, 6)     \
    X(kCut,            kLetterA, 9, 7)     \
    X(kCopy,           kLetterA, 9, 8)     \
    X(kPaste,          kLetterA, 9, 10)    \
    X(kPasteBlock,     kLetterA, 9, 11)    \
    X(kInsertLines,    kLetterA, 30, 7)    \
    X(kRemoveLines,    kLetterA, 30, 8)    \
    X(kChangeLayout,   kLetterA, 30, 9)    \
    X(kSortRows,       kLetterA, 31, 7)    \
    X(kMoveRows,       kLetterA, 31, 8)    \
    X(kReplacedEntry,  kLetterA, 32, 2)    \
    X(kSetSizes,       kLetterA, 33, 3)    \
    X(kSetElements,    kLetterA, 33, 2)    \
    X(kJoin,           kLetterA, 34, 2)    \
    X(kConvert,        kLetterA, 34, 3)
// clang-format on

namespace qx::origins::edit {
QX_DECLARE_ORIGINS(QX_EDIT_ORIGINS)
}  // namespace qx::origins::edit
