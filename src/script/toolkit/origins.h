#pragma once
// Where the toolkit reports from: its malformed calls are the only failures that stop a script.
#include "core/origin_table.h"

// clang-format off
#define QX_TOOLKIT_ORIGINS(X)                 \
    X(kToolkitCall,      kLetterA, 20, 1)     \
    X(kToolkitFormat,    kLetterA, 20, 2)     \
    X(kToolkitMessage,   kLetterA, 20, 3)     \
    X(kToolkitCells,     kLetterA, 20, 4)     \
    X(kToolkitFiles,     kLetterA, 20, 5)     \
    X(kToolkitWork,      kLetterA, 20, 6)
// clang-format on

namespace qx::origins::toolkit {
QX_DECLARE_ORIGINS(QX_TOOLKIT_ORIGINS)
}  // namespace qx::origins::toolkit
