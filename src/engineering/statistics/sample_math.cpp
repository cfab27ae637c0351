#include "engineering/statistics/sample_math.h"

#include <algorithm>
#include <cstddef>

namespace qx::stats {

double sum(std::span<const double> x) {
    double s = 0.0;
    for (double v : x) s += v;
    return s;
}

double mean(std::span<const double> x) {
    return x.empty() ? 0.0 : sum(x) / static_cast<double>(x.size());
}

double sumSqDev(std::span<const double> x) {
    return sumPrdDev(x, x);
}

double sumPrdDev(std::span<const double> y, std::span<const double> x) {
    const double my = mean(y);
    const double mx = mean(x);
    double s = 0.0;
    for (std::size_t i = 0; i < x.size(); ++i) s += (y[i] - my) * (x[i] - mx);
    return s;
}

std::vector<double> sorted(std::span<const double> x) {
    std::vector<double> v(x.begin(), x.end());
    std::sort(v.begin(), v.end());
    return v;
}

}  // namespace qx::stats
