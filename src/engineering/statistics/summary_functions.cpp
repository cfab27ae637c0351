// The table statistics: summaries of one column of a table (or of two, for the sums of products), and
// confidence intervals of its mean, median and standard deviation.
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

using Compute = double (*)(const Sample& s, Origin origin, ErrStat& err);

struct Summary {
    SampleShape shape;
    Origin origin;
    Compute compute;
};

double fail(ErrStat& err, Origin origin, int32_t point, SMsg code) {
    err.fail(origin, point, code);
    return 0.0;
}

double count(const Sample& s) {
    return static_cast<double>(s.x.size());
}

double summarise(FunctionCall& call, ErrStat& err, const Summary& summary) {
    err.enter();
    Sample s;
    if (!readSample(call, summary.shape, summary.origin, s, err)) return 0.0;
    const double v = summary.compute(s, summary.origin, err);
    if (err.failed()) return numericsFailure(call, err, summary.origin);
    // Finite data can still overflow a sum of squares or a ratio; no infinity is handed back as a value.
    if (!std::isfinite(v)) return statisticsFailure(call, err, summary.origin, 90, SMsg::OverflowError);
    return v;
}

// Σ(xᵢ − x̄)² over n or n − 1; both need two values.
double variance(const Sample& s, bool sample, Origin origin, ErrStat& err) {
    const double n = count(s);
    if (n < 2) return fail(err, origin, 1, SMsg::SampleSizeOutOfRange);
    return stats::sumSqDev(s.x) / (sample ? n - 1 : n);
}

double sampleStdDev(const Sample& s, Origin origin, ErrStat& err) {
    return std::sqrt(variance(s, true, origin, err));
}

bool coefficientInRange(const Sample& s, Origin origin, ErrStat& err) {
    if (s.coefficient > 0.0 && s.coefficient < 1.0) return true;
    return fail(err, origin, 2, SMsg::CoefficientOutOfRange), false;
}

double standardError(const Sample& s, Origin origin, ErrStat& err) {
    const double sd = sampleStdDev(s, origin, err);
    return err.failed() ? 0.0 : sd / std::sqrt(count(s));
}

// The margin of error of the mean: Student's t with n − 1 degrees of freedom, the sample's own.
double marginOfError(const Sample& s, Origin origin, ErrStat& err) {
    if (!coefficientInRange(s, origin, err)) return 0.0;
    const double se = standardError(s, origin, err);
    if (err.failed()) return 0.0;
    const double df = std::min(count(s) - 1, kMaxDegreesOfFreedom);
    const double t = stats::studentUpperQuantile(df, (1.0 - s.coefficient) / 2.0, err);
    if (err.failed()) return err.trace(origin), 0.0;
    return se * t;
}

// s·√((n − 1)/c) with c the chi-square critical value of the lower tail `p` (upper tail `q`).
double stdDevBound(const Sample& s, double p, double q, Origin origin, ErrStat& err) {
    if (!coefficientInRange(s, origin, err)) return 0.0;
    const double sd = sampleStdDev(s, origin, err);
    if (err.failed()) return 0.0;
    const double df = std::min(count(s) - 1, kMaxDegreesOfFreedom);
    const double c = 2.0 * stats::gammaInverse(df / 2.0, p, q, err);
    if (err.failed()) return err.trace(origin), 0.0;
    if (c == 0.0) return fail(err, origin, 3, SMsg::DivideByZero);
    return sd * std::sqrt((count(s) - 1) / c);
}

// The order statistics bounding the median: k from the normal approximation of the binomial.
double medianBound(const Sample& s, bool upper, Origin origin, ErrStat& err) {
    if (!coefficientInRange(s, origin, err)) return 0.0;
    const double n = count(s);
    if (n < 2) return fail(err, origin, 4, SMsg::SampleSizeOutOfRange);
    const double z = stats::normalQuantile((1.0 + s.coefficient) / 2.0);
    const double k = std::trunc(((n + 1) - z * std::sqrt(n)) / 2.0);
    const double upperIndex = n - k + 1;
    if (k < 1 || k > n || upperIndex < n / 2 || upperIndex > n) return fail(err, origin, 5, SMsg::SampleSizeOutOfRange);
    const std::vector<double> v = stats::sorted(s.x);
    return v[static_cast<std::size_t>(upper ? upperIndex : k) - 1];
}

// The 1-based `position`-th sorted value, averaged with the next one when `pair` is set.
double orderValue(const std::vector<double>& v, std::size_t position, bool pair, Origin origin, ErrStat& err) {
    if (position < 1 || position > v.size() || (pair && position == v.size())) {
        return fail(err, origin, 6, SMsg::SampleSizeOutOfRange);
    }
    return pair ? (v[position - 1] + v[position]) / 2.0 : v[position - 1];
}

double firstQuartile(const Sample& s, Origin origin, ErrStat& err) {
    const std::size_t n = s.x.size();
    if (n < 3) return fail(err, origin, 7, SMsg::SampleSizeOutOfRange);
    const std::vector<double> v = stats::sorted(s.x);
    const std::size_t m = (n + 1) / 2;
    if (m % 2 == 1) return orderValue(v, (m + 1) / 2, false, origin, err);
    if (n % 2 == 0 && m == 2) return v[0];
    return orderValue(v, m / 2, true, origin, err);
}

double thirdQuartile(const Sample& s, Origin origin, ErrStat& err) {
    const std::size_t n = s.x.size();
    if (n < 3) return fail(err, origin, 8, SMsg::SampleSizeOutOfRange);
    const std::vector<double> v = stats::sorted(s.x);
    if (n % 2 == 0) {
        const double p = 0.75 * static_cast<double>(n + 1);
        const double whole = std::floor(p);
        return orderValue(v, static_cast<std::size_t>(whole), p != whole, origin, err);
    }
    const std::size_t u = (n - 1) / 2;
    // With u odd the upper half has an odd count: its median is a single value.
    if (u % 2 == 1) return orderValue(v, (n + 1) / 2 + (u + 1) / 2, false, origin, err);
    return orderValue(v, (n + 1) / 2 + u / 2, true, origin, err);
}

double median(const Sample& s, Origin origin, ErrStat& err) {
    const std::vector<double> v = stats::sorted(s.x);
    const std::size_t n = v.size();
    if (n % 2 == 1) return orderValue(v, (n + 1) / 2, false, origin, err);
    return orderValue(v, n / 2, true, origin, err);
}

double harmonicMean(const Sample& s, Origin origin, ErrStat& err) {
    double reciprocals = 0.0;
    for (double v : s.x) {
        if (v == 0.0) return fail(err, origin, 9, SMsg::DivideByZero);
        reciprocals += 1.0 / v;
    }
    if (reciprocals == 0.0) return fail(err, origin, 10, SMsg::DivideByZero);
    return count(s) / reciprocals;
}

// The mean without the k smallest and k largest values, k = 5 % of n rounded.
double trimmedMean(const Sample& s, Origin, ErrStat&) {
    const std::size_t n = s.x.size();
    const auto k = static_cast<std::size_t>(0.05 * static_cast<double>(n) + 0.5);
    if (k >= n - k) return stats::mean(s.x);
    const std::vector<double> v = stats::sorted(s.x);
    return stats::mean(std::span<const double>(v).subspan(k, n - 2 * k));
}

double kurtosis(const Sample& s, Origin origin, ErrStat& err) {
    const double m = stats::mean(s.x);
    double m2 = 0.0;
    double m4 = 0.0;
    for (double v : s.x) {
        const double d2 = (v - m) * (v - m);
        m2 += d2;
        m4 += d2 * d2;
    }
    const double n = count(s);
    m2 /= n;
    m4 /= n;
    if (m2 == 0.0) return fail(err, origin, 11, SMsg::DivideByZero);
    return m4 / (m2 * m2);
}

double skew(const Sample& s, Origin origin, ErrStat& err) {
    const double n = count(s);
    if (n < 3) return fail(err, origin, 12, SMsg::SampleTooSmall);
    const double sd = sampleStdDev(s, origin, err);
    if (err.failed()) return 0.0;
    if (sd == 0.0) return fail(err, origin, 13, SMsg::DivideByZero);
    const double m = stats::mean(s.x);
    double cubes = 0.0;
    for (double v : s.x) {
        const double z = (v - m) / sd;
        cubes += z * z * z;
    }
    return n / ((n - 1) * (n - 2)) * cubes;
}

// clang-format off
double fnCIMeanL(FunctionCall& c, ErrStat& e) {
    return summarise(c, e, {SampleShape::ColumnAndCoefficient, kIntervalFn, [](const Sample& s, Origin o, ErrStat& err) {
        const double me = marginOfError(s, o, err);
        return err.failed() ? 0.0 : stats::mean(s.x) - me; }});
}
double fnCIMeanU(FunctionCall& c, ErrStat& e) {
    return summarise(c, e, {SampleShape::ColumnAndCoefficient, kIntervalFn, [](const Sample& s, Origin o, ErrStat& err) {
        const double me = marginOfError(s, o, err);
        return err.failed() ? 0.0 : stats::mean(s.x) + me; }});
}
double fnCIMedianL(FunctionCall& c, ErrStat& e) {
    return summarise(c, e, {SampleShape::ColumnAndCoefficient, kIntervalFn, [](const Sample& s, Origin o, ErrStat& err) {
        return medianBound(s, false, o, err); }});
}
double fnCIMedianU(FunctionCall& c, ErrStat& e) {
    return summarise(c, e, {SampleShape::ColumnAndCoefficient, kIntervalFn, [](const Sample& s, Origin o, ErrStat& err) {
        return medianBound(s, true, o, err); }});
}
double fnCIStdDevL(FunctionCall& c, ErrStat& e) {
    return summarise(c, e, {SampleShape::ColumnAndCoefficient, kIntervalFn, [](const Sample& s, Origin o, ErrStat& err) {
        return stdDevBound(s, (1.0 + s.coefficient) / 2.0, (1.0 - s.coefficient) / 2.0, o, err); }});
}
double fnCIStdDevU(FunctionCall& c, ErrStat& e) {
    return summarise(c, e, {SampleShape::ColumnAndCoefficient, kIntervalFn, [](const Sample& s, Origin o, ErrStat& err) {
        return stdDevBound(s, (1.0 - s.coefficient) / 2.0, (1.0 + s.coefficient) / 2.0, o, err); }});
}
double fnItems(FunctionCall& c, ErrStat& e) {
    return summarise(c, e, {SampleShape::Table, kSummaryFn, [](const Sample& s, Origin, ErrStat&) {
        return static_cast<double>(s.rows); }});
}
double fnKurtosis(FunctionCall& c, ErrStat& e) {
    return summarise(c, e, {SampleShape::Column, kShapeFn, kurtosis});
}
double fnME(FunctionCall& c, ErrStat& e) {
    return summarise(c, e, {SampleShape::ColumnAndCoefficient, kIntervalFn, marginOfError});
}
double fnMax(FunctionCall& c, ErrStat& e) {
    return summarise(c, e, {SampleShape::Column, kOrderFn, [](const Sample& s, Origin, ErrStat&) {
        return *std::max_element(s.x.begin(), s.x.end()); }});
}
double fnMean(FunctionCall& c, ErrStat& e) {
    return summarise(c, e, {SampleShape::Column, kMeanFn, [](const Sample& s, Origin, ErrStat&) {
        return stats::mean(s.x); }});
}
double fnMeanHarm(FunctionCall& c, ErrStat& e) {
    return summarise(c, e, {SampleShape::Column, kMeanFn, harmonicMean});
}
double fnMeanTrim(FunctionCall& c, ErrStat& e) {
    return summarise(c, e, {SampleShape::Column, kMeanFn, trimmedMean});
}
double fnMedian(FunctionCall& c, ErrStat& e) {
    return summarise(c, e, {SampleShape::Column, kOrderFn, median});
}
double fnMin(FunctionCall& c, ErrStat& e) {
    return summarise(c, e, {SampleShape::Column, kOrderFn, [](const Sample& s, Origin, ErrStat&) {
        return *std::min_element(s.x.begin(), s.x.end()); }});
}
double fnQ1(FunctionCall& c, ErrStat& e) {
    return summarise(c, e, {SampleShape::Column, kOrderFn, firstQuartile});
}
double fnQ3(FunctionCall& c, ErrStat& e) {
    return summarise(c, e, {SampleShape::Column, kOrderFn, thirdQuartile});
}
double fnSE(FunctionCall& c, ErrStat& e) {
    return summarise(c, e, {SampleShape::Column, kSpreadFn, standardError});
}
double fnSkew(FunctionCall& c, ErrStat& e) {
    return summarise(c, e, {SampleShape::Column, kShapeFn, skew});
}
double fnStdDevPopulation(FunctionCall& c, ErrStat& e) {
    return summarise(c, e, {SampleShape::Column, kSpreadFn, [](const Sample& s, Origin o, ErrStat& err) {
        return std::sqrt(variance(s, false, o, err)); }});
}
double fnSum(FunctionCall& c, ErrStat& e) {
    return summarise(c, e, {SampleShape::Column, kSummaryFn, [](const Sample& s, Origin, ErrStat&) {
        return stats::sum(s.x); }});
}
double fnSumPrd(FunctionCall& c, ErrStat& e) {
    return summarise(c, e, {SampleShape::TwoColumns, kSummaryFn, [](const Sample& s, Origin, ErrStat&) {
        double p = 0.0;
        for (std::size_t i = 0; i < s.x.size(); ++i) p += s.x[i] * s.y[i];
        return p; }});
}
double fnSumPrdDev(FunctionCall& c, ErrStat& e) {
    return summarise(c, e, {SampleShape::TwoColumns, kSummaryFn, [](const Sample& s, Origin, ErrStat&) {
        return stats::sumPrdDev(s.x, s.y); }});
}
double fnSumSq(FunctionCall& c, ErrStat& e) {
    return summarise(c, e, {SampleShape::Column, kSummaryFn, [](const Sample& s, Origin, ErrStat&) {
        double q = 0.0;
        for (double v : s.x) q += v * v;
        return q; }});
}
double fnSumSqDev(FunctionCall& c, ErrStat& e) {
    return summarise(c, e, {SampleShape::Column, kSummaryFn, [](const Sample& s, Origin, ErrStat&) {
        return stats::sumSqDev(s.x); }});
}
double fnVarPopulation(FunctionCall& c, ErrStat& e) {
    return summarise(c, e, {SampleShape::Column, kSpreadFn, [](const Sample& s, Origin o, ErrStat& err) {
        return variance(s, false, o, err); }});
}
double fnStdDevSample(FunctionCall& c, ErrStat& e) {
    return summarise(c, e, {SampleShape::Column, kSpreadFn, sampleStdDev});
}
double fnVarSample(FunctionCall& c, ErrStat& e) {
    return summarise(c, e, {SampleShape::Column, kSpreadFn, [](const Sample& s, Origin o, ErrStat& err) {
        return variance(s, true, o, err); }});
}
// clang-format on

constexpr FunctionEntry kSummaryTable[] = {
    {"CIMeanL", 0, "CIMeanL ( [table], col, coef )", fnCIMeanL},
    {"CIMeanU", 0, "CIMeanU ( [table], col, coef )", fnCIMeanU},
    {"CIMedianL", 0, "CIMedianL ( [table], col, coef )", fnCIMedianL},
    {"CIMedianU", 0, "CIMedianU ( [table], col, coef )", fnCIMedianU},
    {"CIStdDevL", 0, "CIStdDevL ( [table], col, coef )", fnCIStdDevL},
    {"CIStdDevU", 0, "CIStdDevU ( [table], col, coef )", fnCIStdDevU},
    {"Items", 0, "Items ( [table] )", fnItems},
    {"Kurtosis", 0, "Kurtosis ( [table], col )", fnKurtosis},
    {"ME", 0, "ME ( [table], col, coef )", fnME},
    {"Max", 0, "Max ( [table], col )", fnMax},
    {"Mean", 0, "Mean ( [table], col )", fnMean},
    {"MeanHarm", 0, "MeanHarm ( [table], col )", fnMeanHarm},
    {"MeanTrim", 0, "MeanTrim ( [table], col )", fnMeanTrim},
    {"Median", 0, "Median ( [table], col )", fnMedian},
    {"Min", 0, "Min ( [table], col )", fnMin},
    {"Q1", 0, "Q1 ( [table], col )", fnQ1},
    {"Q3", 0, "Q3 ( [table], col )", fnQ3},
    {"SE", 0, "SE ( [table], col )", fnSE},
    {"Skew", 0, "Skew ( [table], col )", fnSkew},
    {"StdDev", 0, "StdDev ( [table], col )", fnStdDevPopulation},
    {"Sum", 0, "Sum ( [table], col )", fnSum},
    {"SumPrd", 0, "SumPrd ( [table], ycol, xcol )", fnSumPrd},
    {"SumPrdDev", 0, "SumPrdDev ( [table], ycol, xcol )", fnSumPrdDev},
    {"SumSq", 0, "SumSq ( [table], col )", fnSumSq},
    {"SumSqDev", 0, "SumSqDev ( [table], col )", fnSumSqDev},
    {"Var", 0, "Var ( [table], col )", fnVarPopulation},
    {"stddev", 0, "stddev ( [table], col )", fnStdDevSample},
    {"var", 0, "var ( [table], col )", fnVarSample},
};

}  // namespace

std::span<const FunctionEntry> summaryFamily() {
    return kSummaryTable;
}

}  // namespace qx
