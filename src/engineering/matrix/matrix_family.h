#pragma once
// The matrix functions: making matrix objects and computing with them.
#include <span>

#include "functions/function_registry.h"

namespace qx {

// Sorted by name as the registry's lookup compares them.
std::span<const FunctionEntry> matrixFamily();

}  // namespace qx
