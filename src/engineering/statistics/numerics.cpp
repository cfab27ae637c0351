#include "engineering/statistics/numerics.h"

#include <algorithm>
#include <cmath>
#include <limits>
#include <numbers>

#include "core/messages.h"
#include "engineering/statistics/origins.h"

namespace qx::stats {

using namespace origins::statistics;

namespace {

constexpr double kEps = std::numeric_limits<double>::epsilon();
constexpr double kTiny = 1e-300;  // keeps the continued fractions' denominators off zero
// The series and fractions need about √a terms near the mean; a million degrees of freedom stays far below.
constexpr int kMaxTerms = 100000;
// Halley and Newton steps from a close start; more than this means the start or the function is bad.
constexpr int kMaxSteps = 200;
constexpr double kStepTolerance = 1e-13;

// Newton-type iterations stop on a step below the tolerance, or once steps no longer shrink while already
// small: the function's own rounding (large degrees of freedom) then dominates and more steps only wander.
class StepControl {
  public:
    bool done(double step, double x) {
        const double size = std::fabs(step);
        const double scale = std::fabs(x);
        if (size <= kStepTolerance * scale) return true;
        const bool stalled = m_steps > 3 && size >= 0.5 * m_previous && size <= 1e-8 * scale;
        m_previous = size;
        ++m_steps;
        return stalled;
    }

  private:
    double m_previous = std::numeric_limits<double>::infinity();
    int m_steps = 0;
};

double domainError(ErrStat& err, Origin origin, int32_t point) {
    err.fail(origin, point, SMsg::DomainError);
    return 0.0;
}

// ln Γ(a) − ((a − ½) ln a − a + ½ ln 2π), the Stirling series; accurate to double precision from a = 10.
double stirlingCorrection(double a) {
    const double r = 1.0 / a;
    const double r2 = r * r;
    return r * (1.0 / 12 -
                r2 * (1.0 / 360 -
                      r2 * (1.0 / 1260 - r2 * (1.0 / 1680 - r2 * (1.0 / 1188 - r2 * (691.0 / 360360 - r2 / 156.0))))));
}

// log(x^a e^-x / Γ(a)): the common factor of both incomplete gamma expansions. For large a the plain
// form subtracts numbers near a·ln a and loses digits; the Stirling form keeps only x − a.
double gammaLogFactor(double a, double x) {
    if (a < 10.0) return a * std::log(x) - x - std::lgamma(a);
    const double e = (x - a) / a;
    return a * (std::log1p(e) - e) + 0.5 * std::log(a / (2.0 * std::numbers::pi)) - stirlingCorrection(a);
}

double gammaSeries(double a, double x, ErrStat& err) {
    double ap = a;
    double term = 1.0 / a;
    double sum = term;
    for (int n = 0; n < kMaxTerms; ++n) {
        ap += 1.0;
        term *= x / ap;
        sum += term;
        if (std::fabs(term) < std::fabs(sum) * kEps) return sum * std::exp(gammaLogFactor(a, x));
    }
    return domainError(err, kGammaSeries, 1);
}

// Q(a, x) by the Legendre continued fraction (modified Lentz).
double gammaFraction(double a, double x, ErrStat& err) {
    double b = x + 1.0 - a;
    double c = 1.0 / kTiny;
    double d = 1.0 / b;
    double h = d;
    for (int i = 1; i <= kMaxTerms; ++i) {
        const double an = -i * (i - a);
        b += 2.0;
        d = an * d + b;
        if (std::fabs(d) < kTiny) d = kTiny;
        c = b + an / c;
        if (std::fabs(c) < kTiny) c = kTiny;
        d = 1.0 / d;
        const double del = d * c;
        h *= del;
        if (std::fabs(del - 1.0) <= kEps) return std::exp(gammaLogFactor(a, x)) * h;
    }
    return domainError(err, kGammaFraction, 1);
}

// The continued fraction of I_x(a, b) (modified Lentz).
double betaFraction(double a, double b, double x, ErrStat& err) {
    const double qab = a + b;
    const double qap = a + 1.0;
    const double qam = a - 1.0;
    double c = 1.0;
    double d = 1.0 - qab * x / qap;
    if (std::fabs(d) < kTiny) d = kTiny;
    d = 1.0 / d;
    double h = d;
    for (int m = 1; m <= kMaxTerms; ++m) {
        const int m2 = 2 * m;
        double aa = m * (b - m) * x / ((qam + m2) * (a + m2));
        d = 1.0 + aa * d;
        if (std::fabs(d) < kTiny) d = kTiny;
        c = 1.0 + aa / c;
        if (std::fabs(c) < kTiny) c = kTiny;
        d = 1.0 / d;
        h *= d * c;
        aa = -(a + m) * (qab + m) * x / ((a + m2) * (qap + m2));
        d = 1.0 + aa * d;
        if (std::fabs(d) < kTiny) d = kTiny;
        c = 1.0 + aa / c;
        if (std::fabs(c) < kTiny) c = kTiny;
        d = 1.0 / d;
        const double del = d * c;
        h *= del;
        if (std::fabs(del - 1.0) <= kEps) return h;
    }
    return domainError(err, kBetaFraction, 1);
}

// I_x(a, b) with y = 1 − x given by the caller, who can often compute it without cancellation.
double betaPair(double a, double b, double x, double y, ErrStat& err) {
    if (x <= 0.0) return 0.0;
    if (y <= 0.0) return 1.0;
    const double logFactor = std::lgamma(a + b) - std::lgamma(a) - std::lgamma(b) + a * std::log(x) + b * std::log(y);
    if (x < (a + 1.0) / (a + b + 2.0)) {
        const double f = betaFraction(a, b, x, err);
        return err.failed() ? 0.0 : std::exp(logFactor) * f / a;
    }
    const double f = betaFraction(b, a, y, err);
    return err.failed() ? 0.0 : 1.0 - std::exp(logFactor) * f / b;
}

double studentDensity(double df, double t) {
    const double logNorm =
        std::lgamma((df + 1.0) / 2.0) - std::lgamma(df / 2.0) - 0.5 * std::log(df * std::numbers::pi);
    return std::exp(logNorm - (df + 1.0) / 2.0 * std::log1p(t * t / df));
}

// Acklam's rational approximation (relative error 1.15e-9) for p ≤ 0.5.
double normalQuantileStart(double p) {
    static constexpr double a[] = {-3.969683028665376e+01, 2.209460984245205e+02,  -2.759285104469687e+02,
                                   1.383577518672690e+02,  -3.066479806614716e+01, 2.506628277459239e+00};
    static constexpr double b[] = {-5.447609879822406e+01, 1.615858368580409e+02, -1.556989798598866e+02,
                                   6.680131188771972e+01, -1.328068155288572e+01};
    static constexpr double c[] = {-7.784894002430293e-03, -3.223964580411365e-01, -2.400758277161838e+00,
                                   -2.549732539343734e+00, 4.374664141464968e+00,  2.938163982698783e+00};
    static constexpr double d[] = {7.784695709041462e-03, 3.224671290700398e-01, 2.445134137142996e+00,
                                   3.754408661907416e+00};
    if (p < 0.02425) {
        const double q = std::sqrt(-2.0 * std::log(p));
        return (((((c[0] * q + c[1]) * q + c[2]) * q + c[3]) * q + c[4]) * q + c[5]) /
               ((((d[0] * q + d[1]) * q + d[2]) * q + d[3]) * q + 1.0);
    }
    const double q = p - 0.5;
    const double r = q * q;
    return (((((a[0] * r + a[1]) * r + a[2]) * r + a[3]) * r + a[4]) * r + a[5]) * q /
           (((((b[0] * r + b[1]) * r + b[2]) * r + b[3]) * r + b[4]) * r + 1.0);
}

}  // namespace

double normalLower(double z) {
    return 0.5 * std::erfc(-z / std::numbers::sqrt2);
}

double normalQuantile(double p) {
    // 1 − p is exact for p ≥ 0.5, so the upper half mirrors the lower without losing digits.
    if (p > 0.5) return -normalQuantile(1.0 - p);
    double x = normalQuantileStart(p);
    // Two Halley steps take the start to full precision.
    for (int i = 0; i < 2; ++i) {
        const double e = normalLower(x) - p;
        const double u = e * std::sqrt(2.0 * std::numbers::pi) * std::exp(x * x / 2.0);
        if (!std::isfinite(u)) break;
        x -= u / (1.0 + x * u / 2.0);
    }
    return x;
}

GammaTails gammaTails(double a, double x, ErrStat& err) {
    err.enter();
    GammaTails g;
    if (x <= 0.0) return g;
    if (x < a + 1.0) {
        g.lower = gammaSeries(a, x, err);
        g.upper = 1.0 - g.lower;
    } else {
        g.upper = gammaFraction(a, x, err);
        g.lower = 1.0 - g.upper;
    }
    if (err.failed()) return GammaTails{};
    return g;
}

double gammaInverse(double a, double p, double q, ErrStat& err) {
    err.enter();
    const bool matchUpper = q < p;
    double x = 0.0;
    if (a > 1.0) {
        // Wilson–Hilferty: the cube root of a gamma variate is nearly normal.
        const double z = matchUpper ? -normalQuantile(q) : normalQuantile(p);
        const double d = 1.0 / (9.0 * a);
        x = std::max(1e-3, a * std::pow(1.0 - d + z * std::sqrt(d), 3.0));
    } else {
        const double t = 1.0 - a * (0.253 + a * 0.12);
        x = p < t ? std::pow(p / t, 1.0 / a) : 1.0 - std::log(q / (1.0 - t));
    }
    const double logGamma = std::lgamma(a);
    StepControl control;
    for (int i = 0; i < kMaxSteps; ++i) {
        if (x <= 0.0) return 0.0;
        const GammaTails g = gammaTails(a, x, err);
        if (err.failed()) return err.trace(kGammaInverse), 0.0;
        const double e = matchUpper ? q - g.upper : g.lower - p;
        const double density = std::exp((a - 1.0) * std::log(x) - x - logGamma);
        const double u = e / density;
        if (!std::isfinite(u)) return domainError(err, kGammaInverse, 1);
        const double step = u / (1.0 - 0.5 * std::min(1.0, u * ((a - 1.0) / x - 1.0)));
        x -= step;
        if (x <= 0.0) x = 0.5 * (x + step);
        if (control.done(step, x)) return x;
    }
    return domainError(err, kGammaInverse, 2);
}

double betaRegularized(double a, double b, double x, ErrStat& err) {
    err.enter();
    return betaPair(a, b, x, 1.0 - x, err);
}

double betaInverse(double a, double b, double p, ErrStat& err) {
    err.enter();
    if (p <= 0.0) return 0.0;
    if (p >= 1.0) return 1.0;
    double x = 0.0;
    if (a >= 1.0 && b >= 1.0) {
        const double pp = p < 0.5 ? p : 1.0 - p;
        const double t = std::sqrt(-2.0 * std::log(pp));
        double z = (2.30753 + t * 0.27061) / (1.0 + t * (0.99229 + t * 0.04481)) - t;
        if (p < 0.5) z = -z;
        const double al = (z * z - 3.0) / 6.0;
        const double h = 2.0 / (1.0 / (2.0 * a - 1.0) + 1.0 / (2.0 * b - 1.0));
        const double w = (z * std::sqrt(al + h) / h) -
                         (1.0 / (2.0 * b - 1.0) - 1.0 / (2.0 * a - 1.0)) * (al + 5.0 / 6.0 - 2.0 / (3.0 * h));
        x = a / (a + b * std::exp(2.0 * w));
    } else {
        const double lna = std::log(a / (a + b));
        const double lnb = std::log(b / (a + b));
        const double t = std::exp(a * lna) / a;
        const double u = std::exp(b * lnb) / b;
        const double w = t + u;
        x = p < t / w ? std::pow(a * w * p, 1.0 / a) : 1.0 - std::pow(b * w * (1.0 - p), 1.0 / b);
    }
    const double logNorm = std::lgamma(a + b) - std::lgamma(a) - std::lgamma(b);
    StepControl control;
    for (int i = 0; i < kMaxSteps; ++i) {
        if (x <= 0.0 || x >= 1.0) return std::clamp(x, 0.0, 1.0);
        const double e = betaPair(a, b, x, 1.0 - x, err) - p;
        if (err.failed()) return err.trace(kBetaInverse), 0.0;
        const double density = std::exp((a - 1.0) * std::log(x) + (b - 1.0) * std::log1p(-x) + logNorm);
        const double u = e / density;
        if (!std::isfinite(u)) return domainError(err, kBetaInverse, 1);
        const double step = u / (1.0 - 0.5 * std::min(1.0, u * ((a - 1.0) / x - (b - 1.0) / (1.0 - x))));
        x -= step;
        if (x <= 0.0) x = 0.5 * (x + step);
        if (x >= 1.0) x = 0.5 * (x + step + 1.0);
        if (i > 0 && control.done(step, x)) return x;
    }
    return domainError(err, kBetaInverse, 2);
}

StudentTails studentTails(double df, double t, ErrStat& err) {
    err.enter();
    StudentTails s;
    if (t == 0.0) return s;
    const double t2 = t * t;
    double beyond = 0.0;  // P(T > |t|)
    if (std::isfinite(t2)) {
        // x = df/(df + t²) and 1 − x = t²/(df + t²), each formed without subtracting.
        beyond = 0.5 * betaPair(df / 2.0, 0.5, df / (df + t2), t2 / (df + t2), err);
        if (err.failed()) return StudentTails{};
    }
    s.upper = t > 0.0 ? beyond : 1.0 - beyond;
    s.lower = t > 0.0 ? 1.0 - beyond : beyond;
    return s;
}

double studentUpperQuantile(double df, double q, ErrStat& err) {
    err.enter();
    if (q >= 0.5) return 0.0;
    const double x = betaInverse(df / 2.0, 0.5, 2.0 * q, err);
    if (err.failed()) return err.trace(kStudentInverse), 0.0;
    if (x <= 0.0) return std::numeric_limits<double>::infinity();
    double t = std::sqrt(df * (1.0 - x) / x);
    // t from x loses digits where x is near 1; Newton on the tail itself restores them.
    StepControl control;
    for (int i = 0; i < kMaxSteps; ++i) {
        const StudentTails s = studentTails(df, t, err);
        if (err.failed()) return err.trace(kStudentInverse), 0.0;
        const double density = studentDensity(df, t);
        if (!(density > 0.0)) return t;
        const double step = (s.upper - q) / density;
        t += step;
        if (t < 0.0) t = 0.0;
        if (control.done(step, t)) return t;
    }
    return domainError(err, kStudentInverse, 1);
}

}  // namespace qx::stats
