#include "engineering/cogo/traverse_adjustment.h"

#include <cmath>

#include "core/messages.h"
#include "engineering/cogo/origins.h"
#include "functions/function_registry.h"

namespace qx {

using namespace origins::cogo;

double pathLength(std::span<const Vec3> points) {
    double total = 0.0;
    for (std::size_t i = 1; i < points.size(); ++i) total += planDistance(points[i - 1], points[i]);
    return total;
}

double enclosedArea(std::span<const Vec3> points) {
    if (points.empty()) return 0.0;
    double sum = 0.0;
    for (std::size_t i = 1; i < points.size(); ++i) {
        sum += points[i].x * points[i - 1].y - points[i - 1].x * points[i].y;
    }
    sum += points.front().x * points.back().y - points.front().y * points.back().x;
    return std::fabs(sum) / 2.0;
}

std::vector<Vec3> compassAdjusted(std::span<const Vec3> points, Vec3 closing, ErrStat& err) {
    err.enter();
    const double total = pathLength(points);
    if (!(total > 0.0)) {
        err.fail(kCompassAdjustment, 1, L06::DistanceTooShort);
        return {};
    }
    const double ex = points.back().x - closing.x;
    const double ey = points.back().y - closing.y;
    std::vector<Vec3> out(points.begin(), points.end());
    for (std::size_t i = 1; i < points.size(); ++i) {
        const double share = planDistance(points[i - 1], points[i]) / total;
        out[i].x = out[i - 1].x + (points[i].x - points[i - 1].x) - share * ex;
        out[i].y = out[i - 1].y + (points[i].y - points[i - 1].y) - share * ey;
    }
    return out;
}

}  // namespace qx
