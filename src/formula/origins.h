#pragma once
// Where the formula language reports from.
#include "core/origin_table.h"
#include "formula/formula_codes.h"

// clang-format off
#define QX_FORMULA_ORIGINS(X)                                \
    X(kEvaluate,           kLetterA, kModuleEvaluator, 1)    \
    X(kRangeOperation,     kLetterA, kModuleEvaluator, 2)    \
    X(kParseAddress,       kLetterA, kModuleEvaluator, 3)    \
    X(kCall,               kLetterA, kModuleEvaluator, 4)    \
    X(kWriteCell,          kLetterA, kModuleEvaluator, 5)    \
    X(kStoreEntry,         kLetterA, kModuleEntry, 1)        \
    X(kCompile,            kLetterA, kModuleEntry, 2)        \
    X(kBuildText,          kLetterA, kModuleEntry, 3)        \
    X(kWriteAddressOrigin, kLetterA, kModuleFormulaText, 3)  \
    X(kExpandOrigin,       kLetterA, kModuleFormulaText, 4)  \
    X(kRunBody,            kLetterA, kModuleStatements, 1)   \
    X(kRunBlock,           kLetterA, kModuleStatements, 2)   \
    X(kIfChain,            kLetterA, kModuleStatements, 3)   \
    X(kWhileLoop,          kLetterA, kModuleStatements, 4)   \
    X(kForLoop,            kLetterA, kModuleStatements, 5)   \
    X(kStatement,          kLetterA, kModuleStatements, 6)   \
    X(kCondition,          kLetterA, kModuleStatements, 7)   \
    X(kScriptEnter,        kLetterA, kModuleStatements, 9)
// clang-format on

namespace qx::origins::formula {
QX_DECLARE_ORIGINS(QX_FORMULA_ORIGINS)
}  // namespace qx::origins::formula
