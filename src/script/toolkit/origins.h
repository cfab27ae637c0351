#pragma once
// Where the toolkit reports from: its malformed calls are the only failures that stop a script. They
// share the module number of the entry operation, whose routines stay below 40.
#include "core/origin_table.h"

// clang-format off
#define QX_TOOLKIT_ORIGINS(X)                 \
    X(kToolkitCall,      kLetterA, 20, 41)     \
    X(kToolkitFormat,    kLetterA, 20, 42)     \
    X(kToolkitMessage,   kLetterA, 20, 43)     \
    X(kToolkitCells,     kLetterA, 20, 44)     \
    X(kToolkitFiles,     kLetterA, 20, 45)     \
    X(kToolkitWork,      kLetterA, 20, 46)
// clang-format on

namespace qx::origins::toolkit {
QX_DECLARE_ORIGINS(QX_TOOLKIT_ORIGINS)
}  // namespace qx::origins::toolkit
