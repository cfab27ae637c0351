#pragma once
// Sums over a column's values that the summary and regression functions share. Deviations are summed
// about the mean found in a first pass, so data far from zero keep their digits.
#include <span>
#include <vector>

namespace qx::stats {

double sum(std::span<const double> x);
double mean(std::span<const double> x);
// Σ(xᵢ − x̄)².
double sumSqDev(std::span<const double> x);
// Σ(yᵢ − ȳ)(xᵢ − x̄); the spans have the same length.
double sumPrdDev(std::span<const double> y, std::span<const double> x);
std::vector<double> sorted(std::span<const double> x);

}  // namespace qx::stats
