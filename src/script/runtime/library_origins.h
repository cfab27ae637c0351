#pragma once
// Where the attached-library table, the Script Index, the Swap Area and script calls report from.
#include "core/origin_table.h"

// clang-format off
#define QX_SCRIPT_LIBRARY_ORIGINS(X)            \
    X(kAttachOrigin,      kLetterA, 92, 1)      \
    X(kAttachHeader,      kLetterA, 92, 2)      \
    X(kAttachRecord,      kLetterA, 92, 3)      \
    X(kDetachOrigin,      kLetterA, 92, 4)      \
    X(kFindOrigin,        kLetterA, 92, 5)      \
    X(kLoadBodyOrigin,    kLetterA, 93, 1)      \
    X(kResizeSwapOrigin,  kLetterW, 93, 2)      \
    X(kDetachRunning,     kLetterW, 93, 3)      \
    X(kBeginCallOrigin,   kLetterA, 94, 1)      \
    X(kBindOrigin,        kLetterA, 94, 2)      \
    X(kCallScriptOrigin,  kLetterA, 94, 3)
// clang-format on

namespace qx::origins::script_library {
QX_DECLARE_ORIGINS(QX_SCRIPT_LIBRARY_ORIGINS)
}  // namespace qx::origins::script_library
