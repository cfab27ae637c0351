#pragma once
// Horizontal circular curves: built from a PC and a PI, from an arc length along a tangent, or about a
// radius point through a central angle; and the 26 values a curve cell holds.
#include <array>

#include "core/err_stat.h"
#include "engineering/cogo/plane_frame.h"
#include "engineering/cogo/vec3.h"

namespace qx {

struct Curve {
    Vec3 pc;  // where the curve begins
    Vec3 pt;  // where it ends
    Vec3 rp;  // the radius point
    Vec3 pi;  // where the two tangents meet; only when `tangent` > 0
    double radius = 0.0;
    double tangent = 0.0;  // PC to PI; 0 when the curve turns 180 degrees or more
    double delta = 0.0;    // the central angle in decimal degrees, 0 < delta < 360
    bool left = false;     // turns counterclockwise

    // The direction of travel at the PT, as a ray.
    double outgoingRay() const;
};

// Radius positive turns right, negative left.
Curve curveToPi(Vec3 pc, Vec3 pi, double radius, ErrStat& err);
Curve curveAlongTangent(Vec3 pc, double tangentRay, double arc, double radius, ErrStat& err);
// Delta in decimal degrees: positive turns right, negative left.
Curve curveAboutRadiusPoint(Vec3 pc, Vec3 rp, double delta, ErrStat& err);

constexpr int kCurveValueCount = 26;

// The values of a curve cell; angles shown in `mode`. Points computed in `frame` are mapped back.
std::array<double, kCurveValueCount> curveValues(const Curve& c, int mode, Vec3 normal, const PlaneFrame& frame,
                                                 ErrStat& err);

// Quadrant x 100 + DDD.MMSS of a ray.
double bearingOfRay(double ray);

}  // namespace qx
