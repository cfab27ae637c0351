// Mathematics: one-argument library functions, rounding and the reseeded random number.
#include <charconv>
#include <cmath>
#include <cstdint>
#include <string>
#include <string_view>

#include "functions/argument_readers.h"
#include "functions/families.h"
#include "functions/origins.h"
#include "platform/platform.h"

namespace qx {

using namespace origins::functions;

namespace {

constexpr int kMaxRoundingPlaces = 15;

// Reads the one argument of a plain function; the library result is checked by the caller.
bool oneArgument(FunctionCall& call, double& x, ErrStat& err) {
    err.enter();
    return exactArguments(call, &x, 1, err);
}

using Library = double (*)(double);

// A library function whose domain is all finite x; a non-finite result is the library's failure.
double libraryCall(FunctionCall& call, Library f, bool (*inDomain)(double), ErrStat& err) {
    double x = 0.0;
    if (!oneArgument(call, x, err)) return 0.0;
    if (inDomain != nullptr && !inDomain(x)) return libraryFailure(err, kMath, 2, L05::LossOfSignificance);
    const double r = f(x);
    if (!std::isfinite(r)) return libraryFailure(err, kMath, 3, L05::LossOfSignificance);
    return r;
}

bool positive(double x) {
    return x > 0.0;
}
bool notNegative(double x) {
    return x >= 0.0;
}
double fraction(double x) {
    return x - std::trunc(x);
}
double absolute(double x) {
    return std::fabs(x);
}
double ceiling(double x) {
    return std::ceil(x);
}
double flooring(double x) {
    return std::floor(x);
}
double truncated(double x) {
    return std::trunc(x);
}
double exponential(double x) {
    return std::exp(x);
}
double naturalLog(double x) {
    return std::log(x);
}
double decimalLog(double x) {
    return std::log10(x);
}
double squareRoot(double x) {
    return std::sqrt(x);
}

// Rounds the number as it was typed, not its binary neighbour: the shortest decimal digits that give
// the double back are rounded, halves away from zero (9580.175 to 9580.18, 1.005 to 1.01).
double roundTo(double x, int places) {
    if (!std::isfinite(x)) return x;
    const double a = std::fabs(x);
    char digits[64];
    const auto [end, ec] = std::to_chars(digits, digits + sizeof digits, a, std::chars_format::scientific);
    if (ec != std::errc()) return x;
    // "d.ddde+XX": the significant digits and the power of ten of the first one.
    const std::string_view text(digits, static_cast<std::size_t>(end - digits));
    const std::size_t ePos = text.find('e');
    std::string significant(text.substr(0, ePos));
    std::erase(significant, '.');
    int exponent = 0;
    std::from_chars(text.data() + ePos + 1 + (text[ePos + 1] == '+' ? 1 : 0), text.data() + text.size(), exponent);
    const long keep = static_cast<long>(exponent) + 1 + places;
    if (keep >= static_cast<long>(significant.size())) return x;
    std::string kept = keep > 0 ? significant.substr(0, static_cast<std::size_t>(keep)) : std::string("0");
    if (keep >= 0 && significant[static_cast<std::size_t>(keep)] >= '5') {
        std::size_t i = kept.size();
        while (i > 0 && kept[i - 1] == '9') kept[--i] = '0';
        if (i == 0) {
            kept.insert(0, 1, '1');
        } else {
            ++kept[i - 1];
        }
    }
    // kept x 10^-places, converted once so the result is the double nearest the decimal value.
    const std::string rounded = kept + "e" + std::to_string(-places);
    double r = 0.0;
    std::from_chars(rounded.data(), rounded.data() + rounded.size(), r);
    return x < 0 ? -r : r;
}

// One draw of the linear congruential generator from a seed.
int drawFrom(uint32_t seed) {
    const uint32_t state = seed * 214013u + 2531011u;
    return static_cast<int>((state >> 16) & 0x7FFFu);
}

}  // namespace

double fnAbs(FunctionCall& call, ErrStat& err) {
    return libraryCall(call, absolute, nullptr, err);
}
double fnCeil(FunctionCall& call, ErrStat& err) {
    return libraryCall(call, ceiling, nullptr, err);
}
double fnExp(FunctionCall& call, ErrStat& err) {
    return libraryCall(call, exponential, nullptr, err);
}
double fnFloor(FunctionCall& call, ErrStat& err) {
    return libraryCall(call, flooring, nullptr, err);
}
double fnFrac(FunctionCall& call, ErrStat& err) {
    return libraryCall(call, fraction, nullptr, err);
}
double fnInt(FunctionCall& call, ErrStat& err) {
    return libraryCall(call, truncated, nullptr, err);
}
double fnLn(FunctionCall& call, ErrStat& err) {
    return libraryCall(call, naturalLog, positive, err);
}
double fnLog10(FunctionCall& call, ErrStat& err) {
    return libraryCall(call, decimalLog, positive, err);
}
double fnSqrt(FunctionCall& call, ErrStat& err) {
    return libraryCall(call, squareRoot, notNegative, err);
}

// Reseeded from the elapsed clock on every call: values lie in 0..0.32767.
double fnRan(FunctionCall& call, ErrStat& err) {
    err.enter();
    double unused[kMaxListArguments];
    if (boundedArguments(call, unused, 0, 0, false, err), err.failed()) return 0.0;
    Platform* platform = call.services().platform;
    const double ms = platform != nullptr ? platform->elapsedMs() : 0.0;
    const double low = std::isfinite(ms) && ms >= 0.0 ? std::fmod(std::floor(ms), 256.0) : 0.0;
    return fraction(drawFrom(static_cast<uint32_t>(low)) * 0.00001);
}

double fnRnd(FunctionCall& call, ErrStat& err) {
    err.enter();
    double a[2] = {};
    if (!exactArguments(call, a, 2, err)) return 0.0;
    if (!(a[1] >= -kMaxRoundingPlaces && a[1] <= kMaxRoundingPlaces)) {
        err.position = call.record().namePos;
        err.fail(kMathLibrary, 4, L05::InputOutOfRange);
        return 0.0;
    }
    return roundTo(a[0], static_cast<int>(a[1]));
}

namespace {

constexpr FunctionEntry kMathTable[] = {
    {"abs", 233, "abs (x)", fnAbs},       {"ceil", 234, "ceil (x)", fnCeil},    {"exp", 235, "exp (x)", fnExp},
    {"floor", 236, "floor (x)", fnFloor}, {"frac", 237, "frac (x)", fnFrac},    {"int", 238, "int (x)", fnInt},
    {"ln", 239, "ln (x)", fnLn},          {"log10", 240, "log10 (x)", fnLog10}, {"ran", 242, "ran ()", fnRan},
    {"rnd", 243, "rnd (x, n)", fnRnd},    {"sqrt", 245, "sqrt (x)", fnSqrt},
};

}  // namespace

std::span<const FunctionEntry> mathFamily() {
    return kMathTable;
}

}  // namespace qx
