#pragma once
// Codes of the general message table raised by the formula language, and the origins it stamps.
#include <cstdint>

#include "core/err_stat.h"

namespace qx::fcode {

constexpr int32_t kOutOfMemory = 1;
constexpr int32_t kCircularReference = 2;
constexpr int32_t kDividingByZero = 3;
constexpr int32_t kUnableToCompute = 4;
constexpr int32_t kRowOutOfRange = 6;
constexpr int32_t kColumnOutOfRange = 7;
constexpr int32_t kLevelOutOfRange = 8;
constexpr int32_t kElementOutOfRange = 9;
constexpr int32_t kTooLong = 10;
constexpr int32_t kUndefinedFunction = 14;
constexpr int32_t kSyntaxError = 15;
constexpr int32_t kMissingBracket = 17;
constexpr int32_t kIllegalOperator = 18;
constexpr int32_t kIncompatibleCellType = 19;
constexpr int32_t kUndefinedCellOrBadValue = 20;
constexpr int32_t kMissingConditional = 24;
constexpr int32_t kAssignmentError = 25;
constexpr int32_t kMissingCurlyBrace = 27;
constexpr int32_t kMissingCaret = 28;
constexpr int32_t kOutOfRange = 36;
constexpr int32_t kIllegalParameterList = 38;
constexpr int32_t kProtectedCell = 40;
constexpr int32_t kMissingColumn = 41;
constexpr int32_t kAtFunctionInExpression = 46;
constexpr int32_t kIllegalCharacter = 50;
constexpr int32_t kIllegalString = 63;
constexpr int32_t kCorruptedDirectAddress = 71;
constexpr int32_t kIllegalIncrement = 76;
constexpr int32_t kExceedsInfinity = 95;

}  // namespace qx::fcode

namespace qx {

// Module numbers of letter 'A' used by the formula language.
constexpr int32_t kModuleEvaluator = 10;
constexpr int32_t kModuleEntry = 20;
constexpr int32_t kModuleFormulaText = 23;

}  // namespace qx
