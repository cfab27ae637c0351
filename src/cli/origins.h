#pragma once
// Where the command-line verbs report from.
#include "core/origin_table.h"

// clang-format off
#define QX_CLI_ORIGINS(X)                        \
    X(kOriginAddress,        kLetterA, 95, 6)    \
    X(kOriginRange,          kLetterA, 95, 7)    \
    X(kOriginLevelVerb,      kLetterA, 95, 8)    \
    X(kOriginAnswerVerb,     kLetterA, 95, 9)    \
    X(kOriginEnterVerb,      kLetterA, 95, 12)   \
    X(kOriginAttrVerb,       kLetterA, 95, 21)   \
    X(kOriginFileVerb,       kLetterA, 95, 30)   \
    X(kOriginTableVerb,      kLetterA, 95, 41)   \
    X(kOriginSortRowsVerb,   kLetterA, 95, 50)   \
    X(kOriginFindVerb,       kLetterA, 95, 51)   \
    X(kOriginReplaceVerb,    kLetterA, 95, 52)   \
    X(kOriginArrSizeVerb,    kLetterA, 95, 53)   \
    X(kOriginArrSetVerb,     kLetterA, 95, 54)   \
    X(kOriginBkColorVerb,    kLetterA, 95, 60)   \
    X(kOriginCompileVerb,    kLetterA, 95, 70)   \
    X(kOriginAttachVerb,     kLetterA, 95, 61)   \
    X(kOriginDetachVerb,     kLetterA, 95, 62)   \
    X(kOriginScriptsVerb,    kLetterA, 95, 63)   \
    X(kOriginSwapVerb,       kLetterA, 95, 64)
// clang-format on

namespace qx::origins::cli {
QX_DECLARE_ORIGINS(QX_CLI_ORIGINS)
}  // namespace qx::origins::cli
