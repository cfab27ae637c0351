#include "engineering/cogo/plane_geometry.h"

#include <cmath>

#include "core/messages.h"
#include "engineering/cogo/direction.h"
#include "engineering/cogo/origins.h"
#include "functions/function_registry.h"

namespace qx {

using namespace origins::cogo;

namespace {

constexpr double kParallelTolerance = 1e-9;
// A cosine this close beyond 1 is rounding of circles that touch.
constexpr double kTouchTolerance = 1e-12;

Vec3 failed(ErrStat& err, Origin o, int32_t point, L06 m) {
    err.fail(o, point, m);
    return {};
}

double sinDeg(double a) {
    return std::sin(radiansOf(a));
}
double cosDeg(double a) {
    return std::cos(radiansOf(a));
}

// Azimuth from north, clockwise, of a ray.
double azimuthOf(double ray) {
    const double a = 90.0 - ray;
    return a < 0.0 ? a + 360.0 : a;
}

}  // namespace

Vec3 pointAlong(Vec3 from, double ray, double d) {
    const double r = radiansOf(ray);
    return {from.x + d * std::cos(r), from.y + d * std::sin(r), from.z};
}

Inverse inverseOf(Vec3 from, Vec3 to) {
    const double dx = to.x - from.x;
    const double dy = to.y - from.y;
    if (dx == 0.0 && dy == 0.0) return {};
    return {rayOf(dx, dy), std::hypot(dx, dy)};
}

Vec3 angleAngleIntersection(Vec3 p1, double ray1, Vec3 p2, double ray2, ErrStat& err) {
    err.enter();
    const double apart = std::fmod(std::fabs(ray1 - ray2), 180.0);
    if (apart < kParallelTolerance || 180.0 - apart < kParallelTolerance) {
        return failed(err, kAngleAngle, 1, L06::ParallelLines);
    }
    const double ux = cosDeg(ray1);
    const double uy = sinDeg(ray1);
    const double vx = cosDeg(ray2);
    const double vy = sinDeg(ray2);
    const double s = ((p2.x - p1.x) * vy - (p2.y - p1.y) * vx) / (ux * vy - uy * vx);
    return {p1.x + s * ux, p1.y + s * uy, p1.z};
}

Vec3 angleDistanceIntersection(Vec3 p1, double ray1, Vec3 p2, double d2, ErrStat& err) {
    err.enter();
    const Inverse to2 = inverseOf(p1, p2);
    const double delta = to2.ray - ray1;
    const double h = to2.distance * sinDeg(delta);
    if (d2 * d2 < h * h) return failed(err, kAngleDistance, 1, L06::DistanceTooShort);
    const double s = to2.distance * cosDeg(delta) + std::sqrt(d2 * d2 - h * h);
    return pointAlong(p1, ray1, s);
}

Vec3 distanceDistanceIntersection(Vec3 p1, double d1, Vec3 p2, double d2, ErrStat& err) {
    err.enter();
    const Inverse to2 = inverseOf(p1, p2);
    const double big = to2.distance;
    if (big == 0.0 || d1 == 0.0 || d1 + d2 < big) {
        return failed(err, kDistanceDistance, 1, L06::DistanceTooShort);
    }
    double c = (big * big + d1 * d1 - d2 * d2) / (2.0 * big * d1);
    if (std::fabs(c) > 1.0 + kTouchTolerance || std::isnan(c)) {
        err.fail(kArcCosine, 1, L05::InputOutOfRange);
        return {};
    }
    c = std::fmax(-1.0, std::fmin(1.0, c));
    const double a = degreesOfRadians(std::acos(c));
    return pointAlong(p1, to2.ray + a, d1);
}

Vec3 resection(Vec3 p1, Vec3 p2, Vec3 p3, double ang1, double ang2, ErrStat& err) {
    err.enter();
    const Inverse i12 = inverseOf(p1, p2);
    const Inverse i23 = inverseOf(p2, p3);
    if (i12.distance == 0.0 || i23.distance == 0.0) {
        return failed(err, kResectionSolve, 1, L06::DistanceTooShort);
    }
    const double az12 = azimuthOf(i12.ray);
    const double az23 = azimuthOf(i23.ray);
    const double s = 360.0 - (180.0 - (az23 - az12)) - ang1 - ang2;
    const double k = (i23.distance / sinDeg(ang2)) / (i12.distance / sinDeg(ang1));
    const double theta = degreesOfRadians(std::atan(sinDeg(s) / (k + cosDeg(s))));
    const double atFirst = s - theta;
    const double d = i12.distance * sinDeg(180.0 - atFirst - ang1) / sinDeg(ang1);
    Vec3 p = pointAlong(p1, 90.0 - (az12 + atFirst), d);
    p.z = 0.0;
    return p;
}

}  // namespace qx
