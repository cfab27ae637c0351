#pragma once
// Where the session and its commands report from.
#include "core/origin_table.h"

// clang-format off
#define QX_APP_ORIGINS(X)                        \
    X(kOriginLevel,          kLetterA, 95, 1)    \
    X(kOriginMove,           kLetterA, 95, 2)    \
    X(kOriginSelect,         kLetterA, 95, 3)    \
    X(kOriginStart,          kLetterA, 95, 4)    \
    X(kOriginDispatch,       kLetterA, 95, 5)    \
    X(kOriginFinish,         kLetterA, 95, 10)   \
    X(kOriginCommit,         kLetterA, 95, 11)   \
    X(kOriginDelete,         kLetterA, 95, 20)   \
    X(kOriginUndoDelete,     kLetterA, 95, 32)   \
    X(kOriginCut,            kLetterA, 95, 22)   \
    X(kOriginCopy,           kLetterA, 95, 23)   \
    X(kOriginPaste,          kLetterA, 95, 24)   \
    X(kOriginSortRows,       kLetterA, 95, 25)   \
    X(kOriginReplace,        kLetterA, 95, 26)   \
    X(kOriginArraySize,      kLetterA, 95, 27)   \
    X(kOriginArraySet,       kLetterA, 95, 28)   \
    X(kOriginJoin,           kLetterA, 95, 29)   \
    X(kOriginConvert,        kLetterA, 95, 33)   \
    X(kOriginLayout,         kLetterA, 95, 31)   \
    X(kOriginObjectCommand,  kLetterA, 95, 40)   \
    X(kOriginDetach,         kLetterA, 95, 42)   \
    X(kOriginDxfExport,      kLetterA, 95, 43)
// clang-format on

namespace qx::origins::app {
QX_DECLARE_ORIGINS(QX_APP_ORIGINS)
}  // namespace qx::origins::app
