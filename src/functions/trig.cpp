// Trigonometry in the four angle modes, and the hyperbolic functions in radians.
#include <cmath>

#include "functions/angle_modes.h"
#include "functions/argument_readers.h"
#include "functions/families.h"
#include "functions/origins.h"

namespace qx {

using namespace origins::functions;

namespace {

using Library = double (*)(double);

bool checkMode(FunctionCall& call, double mode, ErrStat& err) {
    if (validAngleMode(mode)) return true;
    callFailure(call, err, kTrig, 1, Msg::ParameterOutOfRange);
    return false;
}

// The angle (or value) and an optional mode, 0 when absent.
bool angleArguments(FunctionCall& call, double& value, int& mode, ErrStat& err) {
    err.enter();
    double a[2] = {0.0, 0.0};
    boundedArguments(call, a, 1, 2, false, err);
    if (err.failed() || !checkMode(call, a[1], err)) return false;
    value = a[0];
    mode = static_cast<int>(a[1]);
    return true;
}

double convertOrFail(int from, int to, double a, ErrStat& err) {
    const AngleResult r = convertAngle(from, to, a);
    if (r.failure == AngleFailure::AngleOutOfRange) return libraryFailure(err, kTrig, 2, L05::AngleOutOfRange);
    if (r.failure == AngleFailure::IllegalMode) return libraryFailure(err, kTrig, 3, L05::IllegalAngleMode);
    return r.value;
}

double checked(double r, ErrStat& err) {
    if (!std::isfinite(r)) return libraryFailure(err, kTrig, 4, L05::TrigError);
    return r;
}

double direct(FunctionCall& call, Library f, ErrStat& err) {
    double a = 0.0;
    int mode = 0;
    if (!angleArguments(call, a, mode, err)) return 0.0;
    const double radians = convertOrFail(mode, 0, a, err);
    if (err.failed()) return radians;
    return checked(f(radians), err);
}

double inverse(FunctionCall& call, Library f, ErrStat& err) {
    double x = 0.0;
    int mode = 0;
    if (!angleArguments(call, x, mode, err)) return 0.0;
    const double radians = checked(f(x), err);
    if (err.failed()) return radians;
    return convertOrFail(0, mode, radians, err);
}

double hyperbolic(FunctionCall& call, Library f, ErrStat& err) {
    err.enter();
    double x = 0.0;
    if (!exactArguments(call, &x, 1, err)) return 0.0;
    return checked(f(x), err);
}

double sine(double x) {
    return std::sin(x);
}
double cosine(double x) {
    return std::cos(x);
}
double tangent(double x) {
    return std::tan(x);
}
double cotangent(double x) {
    const double t = std::tan(x);
    return t == 0.0 ? HUGE_VAL : 1.0 / t;
}
double arcSine(double x) {
    return std::asin(x);
}
double arcCosine(double x) {
    return std::acos(x);
}
double arcTangent(double x) {
    return std::atan(x);
}
double hypSine(double x) {
    return std::sinh(x);
}
double hypCosine(double x) {
    return std::cosh(x);
}
double hypTangent(double x) {
    return std::tanh(x);
}

}  // namespace

double fnSin(FunctionCall& call, ErrStat& err) {
    return direct(call, sine, err);
}
double fnCos(FunctionCall& call, ErrStat& err) {
    return direct(call, cosine, err);
}
double fnTan(FunctionCall& call, ErrStat& err) {
    return direct(call, tangent, err);
}
double fnCotan(FunctionCall& call, ErrStat& err) {
    return direct(call, cotangent, err);
}
double fnAsin(FunctionCall& call, ErrStat& err) {
    return inverse(call, arcSine, err);
}
double fnAcos(FunctionCall& call, ErrStat& err) {
    return inverse(call, arcCosine, err);
}
double fnAtan(FunctionCall& call, ErrStat& err) {
    return inverse(call, arcTangent, err);
}
double fnSinh(FunctionCall& call, ErrStat& err) {
    return hyperbolic(call, hypSine, err);
}
double fnCosh(FunctionCall& call, ErrStat& err) {
    return hyperbolic(call, hypCosine, err);
}
double fnTanh(FunctionCall& call, ErrStat& err) {
    return hyperbolic(call, hypTangent, err);
}

// atan2(x, y <, mode>): the direction of the point (x, y) over the full circle.
double fnAtan2(FunctionCall& call, ErrStat& err) {
    err.enter();
    double a[3] = {0.0, 0.0, 0.0};
    boundedArguments(call, a, 2, 3, false, err);
    if (err.failed() || !checkMode(call, a[2], err)) return 0.0;
    const double radians = checked(std::atan2(a[1], a[0]), err);
    if (err.failed()) return radians;
    return convertOrFail(0, static_cast<int>(a[2]), radians, err);
}

double fnMode(FunctionCall& call, ErrStat& err) {
    err.enter();
    double a[3] = {};
    if (!exactArguments(call, a, 3, err)) return 0.0;
    if (!checkMode(call, a[0], err) || !checkMode(call, a[1], err)) return 0.0;
    return convertOrFail(static_cast<int>(a[0]), static_cast<int>(a[1]), a[2], err);
}

namespace {

constexpr FunctionEntry kTrigTable[] = {
    {"acos", 247, "acos ( x, <mode> )", fnAcos},        {"asin", 248, "asin ( x, <mode> )", fnAsin},
    {"atan", 249, "atan ( x, <mode> )", fnAtan},        {"atan2", 250, "atan2 ( x, y, <mode> )", fnAtan2},
    {"cos", 251, "cos ( angle, <mode> )", fnCos},       {"cosh", 330, "cosh (x)", fnCosh},
    {"cotan", 252, "cotan ( angle, <mode> )", fnCotan}, {"mode", 241, "mode ( from_mode, to_mode, angle )", fnMode},
    {"sin", 253, "sin ( angle, <mode> )", fnSin},       {"sinh", 331, "sinh (x)", fnSinh},
    {"tan", 254, "tan ( angle, <mode> )", fnTan},       {"tanh", 332, "tanh (x)", fnTanh},
};

}  // namespace

std::span<const FunctionEntry> trigFamily() {
    return kTrigTable;
}

}  // namespace qx
