// The simple linear regression of one table column (y) on another (x), and its analysis of variance.
#include <algorithm>
#include <cmath>

#include "engineering/statistics/numerics.h"
#include "engineering/statistics/origins.h"
#include "engineering/statistics/sample_math.h"
#include "engineering/statistics/statistics_arguments.h"
#include "engineering/statistics/statistics_family.h"
#include "engineering/statistics/table_sample.h"
#include "functions/argument_readers.h"

namespace qx {

using namespace origins::statistics;

namespace {

double fail(ErrStat& err, Origin origin, int32_t point, SMsg code) {
    err.fail(origin, point, code);
    return 0.0;
}

// The line through a sample: the means, the sums of squares and products about them, and the
// coefficients. Sample::x holds the y column and Sample::y the x column, in argument order.
struct Fit {
    double n = 0.0;
    double meanX = 0.0;
    double meanY = 0.0;
    double sxx = 0.0;
    double sxy = 0.0;
    double syy = 0.0;
    double slope = 0.0;
    double intercept = 0.0;
    double sse = 0.0;
};

bool fitLine(const Sample& s, Origin origin, Fit& f, ErrStat& err) {
    std::span<const double> y = s.x;
    std::span<const double> x = s.y;
    f.n = static_cast<double>(y.size());
    f.meanX = stats::mean(x);
    f.meanY = stats::mean(y);
    f.sxx = stats::sumSqDev(x);
    f.sxy = stats::sumPrdDev(y, x);
    f.syy = stats::sumSqDev(y);
    if (f.sxx == 0.0) return fail(err, origin, 1, SMsg::DivideByZero), false;
    f.slope = f.sxy / f.sxx;
    f.intercept = f.meanY - f.slope * f.meanX;
    for (std::size_t i = 0; i < y.size(); ++i) {
        const double r = y[i] - (f.intercept + f.slope * x[i]);
        f.sse += r * r;
    }
    return true;
}

// MSE = SSE/(n − 2): the line takes two degrees of freedom.
bool meanSquareError(const Sample& s, Origin origin, Fit& f, double& mse, ErrStat& err) {
    if (s.x.size() < 3) return fail(err, origin, 2, SMsg::SampleSizeOutOfRange), false;
    if (!fitLine(s, origin, f, err)) return false;
    mse = f.sse / (f.n - 2);
    return true;
}

enum class Coefficient { Slope, Intercept };

double standardError(const Sample& s, Coefficient which, Origin origin, Fit& f, ErrStat& err) {
    double mse = 0.0;
    if (!meanSquareError(s, origin, f, mse, err)) return 0.0;
    const double sd = std::sqrt(mse);
    if (which == Coefficient::Slope) return sd * std::sqrt(1.0 / f.sxx);
    return sd * std::sqrt(1.0 / f.n + f.meanX * f.meanX / f.sxx);
}

double tStatistic(const Sample& s, Coefficient which, Origin origin, Fit& f, ErrStat& err) {
    const double se = standardError(s, which, origin, f, err);
    if (err.failed()) return 0.0;
    if (se == 0.0) return fail(err, origin, 3, SMsg::DivideByZero);
    return (which == Coefficient::Slope ? f.slope : f.intercept) / se;
}

// Two-sided, with the n − 2 degrees of freedom of the residuals for both coefficients.
double pValue(const Sample& s, Coefficient which, Origin origin, ErrStat& err) {
    Fit f;
    const double t = tStatistic(s, which, origin, f, err);
    if (err.failed()) return 0.0;
    const double df = std::min(f.n - 2, kMaxDegreesOfFreedom);
    const stats::StudentTails tails = stats::studentTails(df, std::fabs(t), err);
    if (err.failed()) return err.trace(origin), 0.0;
    return 2.0 * tails.upper;
}

// Covariance over n or n − 1.
double covariance(const Sample& s, bool sample, Origin origin, ErrStat& err) {
    const double n = static_cast<double>(s.x.size());
    if (n < 3) return fail(err, origin, 4, SMsg::SampleSizeOutOfRange);
    return stats::sumPrdDev(s.x, s.y) / (sample ? n - 1 : n);
}

// The population and sample forms divide by the same power of n in numerator and denominator.
double correlation(const Sample& s, Origin origin, ErrStat& err) {
    if (s.x.size() < 3) return fail(err, origin, 5, SMsg::SampleSizeOutOfRange);
    const double spread = std::sqrt(stats::sumSqDev(s.x)) * std::sqrt(stats::sumSqDev(s.y));
    if (spread == 0.0) return fail(err, origin, 6, SMsg::DivideByZero);
    // Rounding may leave |r| a hair above 1, which no correlation can be.
    return std::clamp(stats::sumPrdDev(s.x, s.y) / spread, -1.0, 1.0);
}

using Compute = double (*)(const Sample& s, Origin origin, ErrStat& err);

double regress(FunctionCall& call, ErrStat& err, SampleShape shape, Origin origin, Compute compute) {
    err.enter();
    Sample s;
    if (!readSample(call, shape, origin, s, err)) return 0.0;
    const double v = compute(s, origin, err);
    if (err.failed()) return numericsFailure(call, err, origin);
    if (!std::isfinite(v)) return statisticsFailure(call, err, origin, 90, SMsg::OverflowError);
    return v;
}

double fitted(FunctionCall& call, ErrStat& err, Origin origin, double (*pick)(const Fit& f)) {
    err.enter();
    Sample s;
    if (!readSample(call, SampleShape::TwoColumns, origin, s, err)) return 0.0;
    Fit f;
    if (!fitLine(s, origin, f, err)) return numericsFailure(call, err, origin);
    const double v = pick(f);
    if (!std::isfinite(v)) return statisticsFailure(call, err, origin, 91, SMsg::OverflowError);
    return v;
}

constexpr SampleShape kTwo = SampleShape::TwoColumns;

// clang-format off
double fnCorrel(FunctionCall& c, ErrStat& e) { return regress(c, e, kTwo, kRegressionFn, correlation); }
double fnCorrelSample(FunctionCall& c, ErrStat& e) { return regress(c, e, kTwo, kRegressionFn, correlation); }
double fnCovar(FunctionCall& c, ErrStat& e) {
    return regress(c, e, kTwo, kRegressionFn, [](const Sample& s, Origin o, ErrStat& err) {
        return covariance(s, false, o, err); });
}
double fnCovarSample(FunctionCall& c, ErrStat& e) {
    return regress(c, e, kTwo, kRegressionFn, [](const Sample& s, Origin o, ErrStat& err) {
        return covariance(s, true, o, err); });
}
double fnRsq(FunctionCall& c, ErrStat& e) {
    return regress(c, e, kTwo, kRegressionFn, [](const Sample& s, Origin o, ErrStat& err) {
        const double r = correlation(s, o, err);
        return r * r; });
}
double fnSlope(FunctionCall& c, ErrStat& e) { return fitted(c, e, kRegressionFn, [](const Fit& f) { return f.slope; }); }
double fnIntercept(FunctionCall& c, ErrStat& e) {
    return fitted(c, e, kRegressionFn, [](const Fit& f) { return f.intercept; });
}
double fnSSE(FunctionCall& c, ErrStat& e) { return fitted(c, e, kAnovaFn, [](const Fit& f) { return f.sse; }); }
// b₁·Sxy equals SSY − SSE and cannot come out below zero by rounding.
double fnSSR(FunctionCall& c, ErrStat& e) { return fitted(c, e, kAnovaFn, [](const Fit& f) { return f.slope * f.sxy; }); }
double fnSSY(FunctionCall& c, ErrStat& e) {
    return regress(c, e, SampleShape::Column, kAnovaFn, [](const Sample& s, Origin, ErrStat&) {
        return stats::sumSqDev(s.x); });
}
double fnMSY(FunctionCall& c, ErrStat& e) {
    return regress(c, e, SampleShape::Column, kAnovaFn, [](const Sample& s, Origin o, ErrStat& err) {
        const double n = static_cast<double>(s.x.size());
        if (n < 2) return fail(err, o, 7, SMsg::SampleSizeOutOfRange);
        return stats::sumSqDev(s.x) / (n - 1); });
}
double fnMSE(FunctionCall& c, ErrStat& e) {
    return regress(c, e, kTwo, kAnovaFn, [](const Sample& s, Origin o, ErrStat& err) {
        Fit f;
        double mse = 0.0;
        return meanSquareError(s, o, f, mse, err) ? mse : 0.0; });
}
double fnMSR(FunctionCall& c, ErrStat& e) { return fnSSR(c, e); }
double fnStdDevErr(FunctionCall& c, ErrStat& e) {
    return regress(c, e, kTwo, kAnovaFn, [](const Sample& s, Origin o, ErrStat& err) {
        Fit f;
        double mse = 0.0;
        return meanSquareError(s, o, f, mse, err) ? std::sqrt(mse) : 0.0; });
}
double fnFTS(FunctionCall& c, ErrStat& e) {
    return regress(c, e, kTwo, kAnovaFn, [](const Sample& s, Origin o, ErrStat& err) {
        Fit f;
        double mse = 0.0;
        if (!meanSquareError(s, o, f, mse, err)) return 0.0;
        if (mse == 0.0) return fail(err, o, 8, SMsg::DivideByZero);
        return f.slope * f.sxy / mse; });
}
double fnSeSlope(FunctionCall& c, ErrStat& e) {
    return regress(c, e, kTwo, kRegressionFn, [](const Sample& s, Origin o, ErrStat& err) {
        Fit f;
        return standardError(s, Coefficient::Slope, o, f, err); });
}
double fnSeIntercept(FunctionCall& c, ErrStat& e) {
    return regress(c, e, kTwo, kRegressionFn, [](const Sample& s, Origin o, ErrStat& err) {
        Fit f;
        return standardError(s, Coefficient::Intercept, o, f, err); });
}
double fnTSlope(FunctionCall& c, ErrStat& e) {
    return regress(c, e, kTwo, kRegressionFn, [](const Sample& s, Origin o, ErrStat& err) {
        Fit f;
        return tStatistic(s, Coefficient::Slope, o, f, err); });
}
double fnTIntercept(FunctionCall& c, ErrStat& e) {
    return regress(c, e, kTwo, kRegressionFn, [](const Sample& s, Origin o, ErrStat& err) {
        Fit f;
        return tStatistic(s, Coefficient::Intercept, o, f, err); });
}
double fnPSlope(FunctionCall& c, ErrStat& e) {
    return regress(c, e, kTwo, kRegressionFn, [](const Sample& s, Origin o, ErrStat& err) {
        return pValue(s, Coefficient::Slope, o, err); });
}
double fnPIntercept(FunctionCall& c, ErrStat& e) {
    return regress(c, e, kTwo, kRegressionFn, [](const Sample& s, Origin o, ErrStat& err) {
        return pValue(s, Coefficient::Intercept, o, err); });
}
// clang-format on

constexpr FunctionEntry kRegressionTable[] = {
    {"Correl", 0, "Correl ( [table], ycol, xcol )", fnCorrel},
    {"Covar", 0, "Covar ( [table], ycol, xcol )", fnCovar},
    {"FTS", 0, "FTS ( [table], ycol, xcol )", fnFTS},
    {"Intercept", 0, "Intercept ( [table], ycol, xcol )", fnIntercept},
    {"MSE", 0, "MSE ( [table], ycol, xcol )", fnMSE},
    {"MSR", 0, "MSR ( [table], ycol, xcol )", fnMSR},
    {"MSY", 0, "MSY ( [table], ycol )", fnMSY},
    {"Rsq", 0, "Rsq ( [table], ycol, xcol )", fnRsq},
    {"SSE", 0, "SSE ( [table], ycol, xcol )", fnSSE},
    {"SSR", 0, "SSR ( [table], ycol, xcol )", fnSSR},
    {"SSY", 0, "SSY ( [table], ycol )", fnSSY},
    {"Slope", 0, "Slope ( [table], ycol, xcol )", fnSlope},
    {"StdDevErr", 0, "StdDevErr ( [table], ycol, xcol )", fnStdDevErr},
    {"correl", 0, "correl ( [table], ycol, xcol )", fnCorrelSample},
    {"covar", 0, "covar ( [table], ycol, xcol )", fnCovarSample},
    {"pIntercept", 0, "pIntercept ( [table], ycol, xcol )", fnPIntercept},
    {"pSlope", 0, "pSlope ( [table], ycol, xcol )", fnPSlope},
    {"rsq", 0, "rsq ( [table], ycol, xcol )", fnRsq},
    {"seIntercept", 0, "seIntercept ( [table], ycol, xcol )", fnSeIntercept},
    {"seSlope", 0, "seSlope ( [table], ycol, xcol )", fnSeSlope},
    {"tIntercept", 0, "tIntercept ( [table], ycol, xcol )", fnTIntercept},
    {"tSlope", 0, "tSlope ( [table], ycol, xcol )", fnTSlope},
};

}  // namespace

std::span<const FunctionEntry> regressionFamily() {
    return kRegressionTable;
}

}  // namespace qx
