#pragma once
// What the function-insert dialog shows: the sixteen categories, the functions of each, and the text
// an insertion places in the entry.
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "functions/function_registry.h"

namespace qx {

constexpr int kCategoryCount = 16;

// The category names, numbered 1..16 in this order.
std::span<const std::string_view> functionCategories();

// 1..16 for a category name or number as typed; 0 when it names none.
int categoryNumber(std::string_view nameOrNumber);

// The functions a category lists, family by family, in table order.
std::vector<const FunctionEntry*> categoryFunctions(const FunctionRegistry& registry, int category);

// The call template up to its ')' with the blanks removed: "index ( string, ch, <begin> )" gives
// "index(string,ch,<begin>)".
std::string insertionText(std::string_view callTemplate);

}  // namespace qx
