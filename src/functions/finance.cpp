// Finance: compounding terms, future and present values, payments and rates.
#include <cmath>

#include "functions/argument_readers.h"
#include "functions/families.h"
#include "functions/origins.h"

namespace qx {

using namespace origins::functions;

namespace {

// Every finance function takes exactly three numbers; surplus ones are a missing ')'.
bool threeArguments(FunctionCall& call, double (&a)[3], ErrStat& err) {
    err.enter();
    boundedArguments(call, a, 3, 3, true, err);
    return !err.failed();
}

double byZero(FunctionCall& call, ErrStat& err) {
    return callFailure(call, err, kFinance, 1, Msg::DividingByZero);
}

// A logarithm of a non-positive number, or any other result that is no number.
double checked(FunctionCall& call, double r, ErrStat& err) {
    if (!std::isfinite(r)) return callFailure(call, err, kFinance, 2, Msg::ParameterOutOfRange);
    return r;
}

// (1 + i)^n - 1. Forming 1 + i first loses the digits of a small rate (all of them below about
// 1.1e-16), so a rate above -1 goes through log1p and expm1; the rest keep the power.
double compoundGrowth(double i, double n) {
    if (i > -1.0 && n != 0.0) return std::expm1(n * std::log1p(i));
    return std::pow(1.0 + i, n) - 1.0;
}

// ln(1 + i), exact for small rates too; no number for a rate at or below -1.
double rateLog(double i) {
    return i > -1.0 ? std::log1p(i) : NAN;
}

}  // namespace

// cterm(interest, future value, present value): periods for pv to grow to fv.
double fnCterm(FunctionCall& call, ErrStat& err) {
    double a[3] = {};
    if (!threeArguments(call, a, err)) return 0.0;
    const double i = a[0];
    if (a[2] == 0.0 || i == 0.0) return byZero(call, err);
    const double ratio = a[1] / a[2];
    if (ratio <= 0.0) return checked(call, NAN, err);
    return checked(call, std::log(ratio) / rateLog(i), err);
}

// fv(payment, interest, term)
double fnFv(FunctionCall& call, ErrStat& err) {
    double a[3] = {};
    if (!threeArguments(call, a, err)) return 0.0;
    if (a[1] == 0.0) return byZero(call, err);
    return checked(call, a[0] * compoundGrowth(a[1], a[2]) / a[1], err);
}

// pmt(principal, interest, term)
double fnPmt(FunctionCall& call, ErrStat& err) {
    double a[3] = {};
    if (!threeArguments(call, a, err)) return 0.0;
    const double divisor = -compoundGrowth(a[1], -a[2]);
    if (a[1] == 0.0 || divisor == 0.0) return byZero(call, err);
    return checked(call, a[0] * a[1] / divisor, err);
}

// pv(payment, interest, term)
double fnPv(FunctionCall& call, ErrStat& err) {
    double a[3] = {};
    if (!threeArguments(call, a, err)) return 0.0;
    if (a[1] == 0.0) return byZero(call, err);
    return checked(call, a[0] * -compoundGrowth(a[1], -a[2]) / a[1], err);
}

// rate(future value, present value, term)
double fnRate(FunctionCall& call, ErrStat& err) {
    double a[3] = {};
    if (!threeArguments(call, a, err)) return 0.0;
    if (a[1] == 0.0 || a[2] == 0.0) return byZero(call, err);
    return checked(call, std::pow(a[0] / a[1], 1.0 / a[2]) - 1.0, err);
}

// term(payment, interest, future value)
double fnTerm(FunctionCall& call, ErrStat& err) {
    double a[3] = {};
    if (!threeArguments(call, a, err)) return 0.0;
    const double p = a[0];
    const double i = a[1];
    if (p == 0.0 || i == 0.0) return byZero(call, err);
    const double growth = i * a[2] / p;
    if (growth <= -1.0) return checked(call, NAN, err);
    return checked(call, std::log1p(growth) / rateLog(i), err);
}

namespace {

constexpr FunctionEntry kFinanceTable[] = {
    {"cterm", 255, "cterm ( interest, fv, pv )", fnCterm},    {"fv", 256, "fv ( payment, interest, term )", fnFv},
    {"pmt", 257, "pmt ( principal, interest, term )", fnPmt}, {"pv", 258, "pv ( payment, interest, term )", fnPv},
    {"rate", 259, "rate ( fv, pv, term )", fnRate},           {"term", 260, "term ( payment, interest, fv )", fnTerm},
};

}  // namespace

std::span<const FunctionEntry> financeFamily() {
    return kFinanceTable;
}

}  // namespace qx
