#pragma once
// What the statistics functions share: failing with a message of the statistics table, and the checks
// on degrees of freedom and tails.
#include <cstdint>

#include "core/err_stat.h"

namespace qx {

class FunctionCall;

// Degrees of freedom are whole numbers; larger ones add nothing a double can show.
constexpr double kMaxDegreesOfFreedom = 999999.0;

// Fails the call with a message of the statistics table at the call's name; returns `result`.
double statisticsFailure(FunctionCall& call, ErrStat& err, Origin origin, int32_t point, SMsg code,
                         double result = 0.0);

// A numerical method failed inside the call: its origin stays the saved one, the call's is traced.
double numericsFailure(FunctionCall& call, ErrStat& err, Origin origin);

// df truncated and capped; false (nothing written) below 1 or not a number.
bool degreesOfFreedom(double value, double& df);

// 0, 1 or 2 after truncation; false otherwise.
bool tailsArgument(double value, int& tails);

}  // namespace qx
