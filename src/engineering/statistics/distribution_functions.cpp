// The distribution functions: probabilities and critical values of the normal, chi-square and Student's t
// distributions.
#include <cmath>

#include "engineering/statistics/numerics.h"
#include "engineering/statistics/origins.h"
#include "engineering/statistics/statistics_arguments.h"
#include "engineering/statistics/statistics_family.h"
#include "functions/argument_readers.h"

namespace qx {

using namespace origins::statistics;

namespace {

// Beyond this |z| the normal tail is below what the function reports; it answers 0 or 1.
constexpr double kNormalCutoff = 7.737;
// What a critical value at probability 0 or 1 reads as.
constexpr double kUnbounded = 1.7e308;
constexpr double kLargestT = 5000000.0;

double fnChiSqDist(FunctionCall& call, ErrStat& err) {
    err.enter();
    const Origin origin = kChiSqDistFn;
    double args[2] = {};
    if (!exactArguments(call, args, 2, err)) return err.trace(origin), 0.0;
    double df = 0.0;
    if (!degreesOfFreedom(args[0], df)) return statisticsFailure(call, err, origin, 1, SMsg::DfOutOfRange);
    if (!(args[1] >= 0.0)) return statisticsFailure(call, err, origin, 2, SMsg::CriticalValueOutOfRange);
    const stats::GammaTails g = stats::gammaTails(df / 2.0, args[1] / 2.0, err);
    if (err.failed()) return numericsFailure(call, err, origin);
    return g.lower;
}

double fnChiSqInv(FunctionCall& call, ErrStat& err) {
    err.enter();
    const Origin origin = kChiSqInvFn;
    double args[2] = {};
    if (!exactArguments(call, args, 2, err)) return err.trace(origin), 0.0;
    double df = 0.0;
    if (!degreesOfFreedom(args[0], df)) return statisticsFailure(call, err, origin, 1, SMsg::DfOutOfRange);
    const double p = args[1];
    const double q = 1.0 - p;
    if (!(q >= 0.0 && q <= 1.0)) return statisticsFailure(call, err, origin, 2, SMsg::ProbabilityOutOfRange);
    // The whole distribution lies below an infinite critical value: answered as NormStdInv answers it.
    if (q == 0.0) return statisticsFailure(call, err, origin, 3, SMsg::ProbabilityOutOfRange, kUnbounded);
    if (p <= 0.0) return 0.0;
    const double x = stats::gammaInverse(df / 2.0, p, q, err);
    if (err.failed()) return numericsFailure(call, err, origin);
    return 2.0 * x;
}

double fnNormStdDist(FunctionCall& call, ErrStat& err) {
    err.enter();
    double z = 0.0;
    if (!exactArguments(call, &z, 1, err)) return err.trace(kNormStdDistFn), 0.0;
    if (z < -kNormalCutoff) return 0.0;
    if (z > kNormalCutoff) return 1.0;
    return stats::normalLower(z);
}

double fnNormStdInv(FunctionCall& call, ErrStat& err) {
    err.enter();
    const Origin origin = kNormStdInvFn;
    double p = 0.0;
    if (!exactArguments(call, &p, 1, err)) return err.trace(origin), 0.0;
    if (p <= 0.0) return statisticsFailure(call, err, origin, 1, SMsg::ProbabilityOutOfRange, -kUnbounded);
    if (p >= 1.0) return statisticsFailure(call, err, origin, 2, SMsg::ProbabilityOutOfRange, kUnbounded);
    return stats::normalQuantile(p);
}

// df, a second number and the optional tails, checked.
struct TArguments {
    double df = 0.0;
    double value = 0.0;
    int tails = 0;
};

bool readTArguments(FunctionCall& call, Origin origin, TArguments& out, ErrStat& err) {
    double args[3] = {};
    const int n = boundedArguments(call, args, 2, 3, false, err);
    if (err.failed()) return err.trace(origin), false;
    if (!degreesOfFreedom(args[0], out.df)) return statisticsFailure(call, err, origin, 1, SMsg::DfOutOfRange), false;
    if (n == 3 && !tailsArgument(args[2], out.tails)) {
        return statisticsFailure(call, err, origin, 2, SMsg::TailOutOfRange), false;
    }
    out.value = args[1];
    return true;
}

double fnTDist(FunctionCall& call, ErrStat& err) {
    err.enter();
    const Origin origin = kTDistFn;
    TArguments a;
    if (!readTArguments(call, origin, a, err)) return 0.0;
    if (std::isnan(a.value)) return statisticsFailure(call, err, origin, 3, SMsg::TStatisticOutOfRange);
    const stats::StudentTails s = stats::studentTails(a.df, a.value, err);
    if (err.failed()) return numericsFailure(call, err, origin);
    switch (a.tails) {
        case 1:
            return s.upper;
        case 2:
            return 2.0 * s.upper;
        default:
            return s.lower;
    }
}

double fnTDistInv(FunctionCall& call, ErrStat& err) {
    err.enter();
    const Origin origin = kTDistInvFn;
    TArguments a;
    if (!readTArguments(call, origin, a, err)) return 0.0;
    // The upper tail beyond the result, formed from p directly so that small tails keep their digits;
    // the lower-tail probability 1 − q must lie in 0.5..1.
    const double p = a.value;
    const double q = a.tails == 0 ? 1.0 - p : a.tails == 1 ? p : p / 2.0;
    if (!(q >= 0.0 && q <= 0.5)) return statisticsFailure(call, err, origin, 3, SMsg::CoefficientOutOfRange);
    if (q == 0.0) return kLargestT;
    const double t = stats::studentUpperQuantile(a.df, q, err);
    if (err.failed()) return numericsFailure(call, err, origin);
    return t > kLargestT || std::isnan(t) ? kLargestT : t;
}

constexpr FunctionEntry kDistributionTable[] = {
    {"ChiSqDist", 0, "ChiSqDist ( df, criticalvalue )", fnChiSqDist},
    {"ChiSqInv", 0, "ChiSqInv ( df, pvalue )", fnChiSqInv},
    {"NormStdDist", 0, "NormStdDist ( zvalue )", fnNormStdDist},
    {"NormStdInv", 0, "NormStdInv ( probability )", fnNormStdInv},
    {"TDist", 0, "TDist ( df, tStatistic, <tails> )", fnTDist},
    {"TDistInv", 0, "TDistInv ( df, probability, <tails> )", fnTDistInv},
};

}  // namespace

std::span<const FunctionEntry> distributionFamily() {
    return kDistributionTable;
}

}  // namespace qx
