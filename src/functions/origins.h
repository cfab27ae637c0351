#pragma once
// Where the function registry, its argument readers and the general families report from.
#include <cstdint>

#include "core/origin_table.h"

namespace qx {

// Module numbers of letter 'A' used by the registry and the families.
constexpr int32_t kModuleFunctions = 30;
constexpr int32_t kModuleArguments = 31;
constexpr int32_t kModuleStringFamily = 32;
constexpr int32_t kModuleMathFamily = 33;
constexpr int32_t kModuleTrigFamily = 34;
constexpr int32_t kModuleCellFamily = 35;
constexpr int32_t kModuleFinanceFamily = 36;
constexpr int32_t kModuleDateFamily = 37;
constexpr int32_t kModuleTableFamily = 38;
constexpr int32_t kModuleGraphicsFamily = 40;
constexpr int32_t kModuleGeometryFamily = 41;
constexpr int32_t kModuleRoadFamily = 43;
// Letter 'A' modules from here to kLastFamilyModule are the argument readers and the families, the
// engineering ones included; the toolkit reports under the entry operation's module from routine 41.
constexpr int32_t kLastFamilyModule = 49;
constexpr int32_t kFirstToolkitRoutine = 41;
constexpr int32_t kModuleMathLibrary = 5;      // letter 'L': the math message table
constexpr int32_t kModuleGeometryLibrary = 6;  // letter 'L': the coordinate geometry message table

}  // namespace qx

// clang-format off
#define QX_FUNCTIONS_ORIGINS(X)                                \
    X(kDispatch,      kLetterA,   kModuleFunctions, 1)         \
    X(kNumeric,       kLetterA,   kModuleArguments, 1)         \
    X(kList,          kLetterA,   kModuleArguments, 2)         \
    X(kStringArg,     kLetterA,   kModuleArguments, 3)         \
    X(kCellArg,       kLetterA,   kModuleArguments, 4)         \
    X(kEnd,           kLetterA,   kModuleArguments, 5)         \
    X(kElements,      kLetterA,   kModuleArguments, 6)         \
    X(kStringFamily,  kLetterA,   kModuleStringFamily, 6)      \
    X(kStringCopy,    kLetterA,   kModuleStringFamily, 7)      \
    X(kMath,          kLetterA,   kModuleMathFamily, 1)        \
    X(kMathLibrary,   kLetterLib, kModuleMathLibrary, 1)       \
    X(kTrig,          kLetterA,   kModuleTrigFamily, 1)        \
    X(kCellInfo,      kLetterA,   kModuleCellFamily, 1)        \
    X(kTags,          kLetterA,   kModuleCellFamily, 2)        \
    X(kFinance,       kLetterA,   kModuleFinanceFamily, 1)     \
    X(kDates,         kLetterA,   kModuleDateFamily, 1)        \
    X(kMakeTable,     kLetterA,   kModuleTableFamily, 1)       \
    X(kReadTable,     kLetterA,   kModuleTableFamily, 2)       \
    X(kCollectSources, kLetterA,  kModuleGraphicsFamily, 1)    \
    X(kGraphics,      kLetterA,   kModuleGraphicsFamily, 2)    \
    X(kReadView,      kLetterA,   kModuleGraphicsFamily, 3)
// clang-format on

namespace qx::origins::functions {
QX_DECLARE_ORIGINS(QX_FUNCTIONS_ORIGINS)
}  // namespace qx::origins::functions
