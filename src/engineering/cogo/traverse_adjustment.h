#pragma once
// Closed and open traverses: the length and area of a point list, and the compass (Bowditch) rule that
// spreads a misclosure over the legs in proportion to their lengths.
#include <span>
#include <vector>

#include "core/err_stat.h"
#include "engineering/cogo/vec3.h"

namespace qx {

// The sum of the n - 1 legs between consecutive points, in plan.
double pathLength(std::span<const Vec3> points);

// The plan area enclosed by the points, the last joined back to the first.
double enclosedArea(std::span<const Vec3> points);

// The points moved so that the last lands on `closing`: the first stays, each leg is corrected by its share
// (leg length / total length) of the misclosure. z is kept.
std::vector<Vec3> compassAdjusted(std::span<const Vec3> points, Vec3 closing, ErrStat& err);

}  // namespace qx
