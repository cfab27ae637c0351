#include "engineering/statistics/statistics_arguments.h"

#include <algorithm>
#include <cmath>

#include "functions/argument_readers.h"

namespace qx {

double statisticsFailure(FunctionCall& call, ErrStat& err, Origin origin, int32_t point, SMsg code, double result) {
    err.position = call.record().namePos;
    err.fail(origin, point, code);
    return result;
}

double numericsFailure(FunctionCall& call, ErrStat& err, Origin origin) {
    err.position = call.record().namePos;
    err.trace(origin);
    return 0.0;
}

bool degreesOfFreedom(double value, double& df) {
    if (!(value >= 1.0)) return false;
    df = std::min(std::trunc(value), kMaxDegreesOfFreedom);
    return true;
}

bool tailsArgument(double value, int& tails) {
    if (!(value > -1.0 && value < 3.0)) return false;
    tails = static_cast<int>(value);
    return true;
}

}  // namespace qx
