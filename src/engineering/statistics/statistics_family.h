#pragma once
// The statistics families: distributions, summaries of a table column, and the regression of one column
// on another.
#include <span>

#include "functions/function_registry.h"

namespace qx {

std::span<const FunctionEntry> distributionFamily();
std::span<const FunctionEntry> summaryFamily();
std::span<const FunctionEntry> regressionFamily();

}  // namespace qx
