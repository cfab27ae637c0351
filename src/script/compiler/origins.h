#pragma once
// Where the script compiler reports from: module C10, one routine per checking step, so an error
// code names the step and the site within it.
#include "core/origin_table.h"

// clang-format off
#define QX_SCRIPT_COMPILER_ORIGINS(X)            \
    X(kPreprocessorStep,     kLetterC, 10, 5)    \
    X(kDefinitionStep,       kLetterC, 10, 6)    \
    X(kStatementStep,        kLetterC, 10, 8)    \
    X(kConditionStep,        kLetterC, 10, 10)   \
    X(kIfStep,               kLetterC, 10, 11)   \
    X(kWhileStep,            kLetterC, 10, 12)   \
    X(kForStep,              kLetterC, 10, 13)   \
    X(kExpressionStep,       kLetterC, 10, 14)   \
    X(kNumberStep,           kLetterC, 10, 15)   \
    X(kCellAddressStep,      kLetterC, 10, 17)   \
    X(kRangeOperationStep,   kLetterC, 10, 18)   \
    X(kDeclarationWordStep,  kLetterC, 10, 25)   \
    X(kLineReaderStep,       kLetterC, 10, 33)
// clang-format on

namespace qx::origins::script_compiler {
QX_DECLARE_ORIGINS(QX_SCRIPT_COMPILER_ORIGINS)
}  // namespace qx::origins::script_compiler
