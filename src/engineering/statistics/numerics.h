#pragma once
// The special functions behind the distributions, to double precision: the normal distribution, the
// regularised incomplete gamma and beta functions, Student's t, and their inverses. Iterative methods
// are capped; reaching the cap fails with "Domain error" rather than returning a half-converged value.
#include "core/err_stat.h"

namespace qx::stats {

// Φ(z), the standard normal lower tail, accurate in both tails.
double normalLower(double z);
// The z with Φ(z) = p, for 0 < p < 1.
double normalQuantile(double p);

// The regularised incomplete gamma functions P(a, x) and Q(a, x) = 1 − P(a, x), a > 0, x ≥ 0.
struct GammaTails {
    double lower = 0.0;
    double upper = 1.0;
};
GammaTails gammaTails(double a, double x, ErrStat& err);
// The x ≥ 0 with P(a, x) = p and Q(a, x) = q, where p + q = 1, 0 < q < 1. Both are given so that the
// smaller tail is matched with all its digits.
double gammaInverse(double a, double p, double q, ErrStat& err);

// The regularised incomplete beta function I_x(a, b), 0 ≤ x ≤ 1.
double betaRegularized(double a, double b, double x, ErrStat& err);
// The x with I_x(a, b) = p, 0 ≤ p ≤ 1.
double betaInverse(double a, double b, double p, ErrStat& err);

// Student's t with df degrees of freedom: P(T ≤ t) and P(T > t), each computed directly so that a small
// tail keeps its relative precision.
struct StudentTails {
    double lower = 0.5;
    double upper = 0.5;
};
StudentTails studentTails(double df, double t, ErrStat& err);
// The t ≥ 0 with P(T > t) = q, 0 < q ≤ 0.5.
double studentUpperQuantile(double df, double q, ErrStat& err);

}  // namespace qx::stats
