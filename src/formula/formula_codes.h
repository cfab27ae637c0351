#pragma once
// The module numbers the formula language stamps in its origins.
#include <cstdint>

#include "core/err_stat.h"

namespace qx {

// Module numbers of letter 'A' used by the formula language.
constexpr int32_t kModuleEvaluator = 10;
constexpr int32_t kModuleEntry = 20;
constexpr int32_t kModuleFormulaText = 23;
constexpr int32_t kModuleStatements = 91;

}  // namespace qx
