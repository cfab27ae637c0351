#pragma once
// The surveying constructions in the x-y plane: a point along a direction, the inverse of two points,
// the three intersections and the resection. Directions are rays in decimal degrees, counterclockwise
// from east; z rides along from the first point.
#include "core/err_stat.h"
#include "engineering/cogo/vec3.h"

namespace qx {

// The point at horizontal distance `d` from `from` along `ray`; z is kept.
Vec3 pointAlong(Vec3 from, double ray, double d);

struct Inverse {
    double ray = 0.0;  // 0 when the points share x and y
    double distance = 0.0;
};
Inverse inverseOf(Vec3 from, Vec3 to);

// Where the line through p1 along ray1 meets the line through p2 along ray2; "parallel lines" when
// the rays differ by 0 or 180 degrees.
Vec3 angleAngleIntersection(Vec3 p1, double ray1, Vec3 p2, double ray2, ErrStat& err);

// The farther crossing, along ray1 from p1, of that line with the circle of radius d2 about p2.
Vec3 angleDistanceIntersection(Vec3 p1, double ray1, Vec3 p2, double d2, ErrStat& err);

// The crossing of the circles of radius d1 about p1 and d2 about p2 that lies left of the line p1 to p2.
Vec3 distanceDistanceIntersection(Vec3 p1, double d1, Vec3 p2, double d2, ErrStat& err);

// The unknown point from the clockwise angles measured at it from p1 to p2 (ang1) and from p2 to p3
// (ang2), in decimal degrees; their sines must not be 0. z is 0.
Vec3 resection(Vec3 p1, Vec3 p2, Vec3 p3, double ang1, double ang2, ErrStat& err);

}  // namespace qx
