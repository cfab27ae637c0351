#pragma once
// The tables of the general function families, each sorted by name as the lookup compares them.
#include <span>
#include <string_view>

#include "functions/function_registry.h"

namespace qx {

std::span<const FunctionEntry> stringFamily();
std::span<const FunctionEntry> stringCopyFamily();
std::span<const FunctionEntry> mathFamily();
std::span<const FunctionEntry> trigFamily();
std::span<const FunctionEntry> cellInfoFamily();
std::span<const FunctionEntry> financeFamily();
std::span<const FunctionEntry> dateFamily();
std::span<const FunctionEntry> graphicsFamily();
std::span<const FunctionEntry> tableFamily();

}  // namespace qx

namespace qx {

// The number at the start of a text by the atof rule (blanks, sign, digits, point, exponent); 0 when
// the text starts with no number.
double leadingNumber(std::string_view text);

}  // namespace qx
