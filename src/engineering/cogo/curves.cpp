#include "engineering/cogo/curves.h"

#include <cmath>

#include "core/messages.h"
#include "engineering/cogo/direction.h"
#include "engineering/cogo/origins.h"
#include "engineering/cogo/plane_geometry.h"
#include "functions/angle_modes.h"
#include "functions/function_registry.h"

namespace qx {

using namespace origins::cogo;

namespace {

constexpr double kPi = 3.14159265359;
constexpr double kTwoPi = 6.28318530718;

Curve failed(ErrStat& err, Origin o, int32_t point, L06 m) {
    err.fail(o, point, m);
    return {};
}

double reduced(double ray) {
    return ray - std::floor(ray / 360.0) * 360.0;
}

// A quarter turn the way the curve turns: from the direction of travel to the radius point, and from
// the radius point's ray to a point to the direction of travel there.
double quarterTurn(double ray, bool left) {
    return reduced(ray + (left ? 90.0 : -90.0));
}

}  // namespace

double Curve::outgoingRay() const {
    return quarterTurn(inverseOf(rp, pt).ray, left);
}

double bearingOfRay(double ray) {
    DirectionRecord d;
    ErrStat ignored;
    setDirection(d, AngleType::Ray, reduced(ray), ignored);
    return std::floor(d.entry[2] / 100.0) * 100.0 + degreesAsDms(d.entry[0]);
}

Curve curveToPi(Vec3 pc, Vec3 pi, double radius, ErrStat& err) {
    err.enter();
    Curve c;
    c.pc = pc;
    c.pi = pi;
    c.left = radius < 0.0;
    c.radius = std::fabs(radius);
    const Inverse toPi = inverseOf(pc, pi);
    c.tangent = toPi.distance;
    if (c.radius == 0.0 || c.tangent == 0.0) return failed(err, kToPi, 1, L06::DistanceTooShort);
    c.rp = pointAlong(pc, quarterTurn(toPi.ray, c.left), c.radius);
    c.pt = c.left ? distanceDistanceIntersection(c.rp, c.radius, pi, c.tangent, err)
                  : distanceDistanceIntersection(pi, c.tangent, c.rp, c.radius, err);
    if (err.failed()) return err.trace(kToPi), Curve{};
    c.pt.z = pc.z;
    const double half = std::fmin(1.0, planDistance(pc, c.pt) / 2.0 / c.radius);
    c.delta = 2.0 * degreesOfRadians(std::asin(half));
    return c;
}

Curve curveAlongTangent(Vec3 pc, double tangentRay, double arc, double radius, ErrStat& err) {
    err.enter();
    const double r = std::fabs(radius);
    if (r == 0.0 || !(arc > 0.0)) return failed(err, kAlongTangent, 1, L06::DistanceTooShort);
    if (arc >= kTwoPi * r) return failed(err, kAlongTangent, 2, L06::ArcExceedsCircumference);
    const double delta = arc * 360.0 / (kTwoPi * r);
    Curve c;
    if (delta < 180.0) {
        const double t = r * std::tan(radiansOf(delta / 2.0));
        c = curveToPi(pc, pointAlong(pc, tangentRay, t), radius, err);
    } else {
        // Half a turn or more has no PI in front of the PC: turn about the radius point instead.
        const Vec3 rp = pointAlong(pc, quarterTurn(tangentRay, radius < 0.0), r);
        c = curveAboutRadiusPoint(pc, rp, radius < 0.0 ? -delta : delta, err);
    }
    if (err.failed()) return err.trace(kAlongTangent), Curve{};
    return c;
}

Curve curveAboutRadiusPoint(Vec3 pc, Vec3 rp, double delta, ErrStat& err) {
    err.enter();
    const double size = std::fabs(delta);
    if (!(size > 0.0 && size < 360.0)) return failed(err, kAboutRadiusPoint, 1, L06::AngleOutOfRange);
    Curve c;
    c.pc = pc;
    c.rp = rp;
    c.left = delta < 0.0;
    c.delta = size;
    const Inverse back = inverseOf(rp, pc);
    c.radius = back.distance;
    if (c.radius == 0.0) return failed(err, kAboutRadiusPoint, 2, L06::DistanceTooShort);
    DirectionRecord turn;
    setFieldAngle(turn, c.left ? AngleType::AngleLeft : AngleType::AngleRight, size, err);
    if (err.failed()) return err.trace(kAboutRadiusPoint), Curve{};
    c.pt = pointAlong(rp, turnedRay(back.ray, turn), c.radius);
    c.pt.z = pc.z;
    if (size < 180.0) {
        c.pi = angleAngleIntersection(pc, quarterTurn(back.ray, c.left), c.pt, c.outgoingRay(), err);
        if (err.failed()) return err.trace(kAboutRadiusPoint), Curve{};
        c.tangent = planDistance(pc, c.pi);
    }
    return c;
}

std::array<double, kCurveValueCount> curveValues(const Curve& c, int mode, Vec3 normal, const PlaneFrame& frame,
                                                 ErrStat& err) {
    err.enter();
    std::array<double, kCurveValueCount> v{};
    auto put = [&v](std::size_t first, Vec3 p) {
        v[first - 1] = p.x;
        v[first] = p.y;
        v[first + 1] = p.z;
    };
    put(1, frame.fromPlane(c.pt));
    put(4, frame.fromPlane(c.rp));
    if (c.tangent > 0.0) put(7, frame.fromPlane(c.pi));
    put(10, frame.fromPlane(c.pc));
    put(13, normal);
    v[25] = mode;
    if (!(c.radius > 0.0 && c.delta > 0.0)) return v;
    const double r = c.radius;
    const bool reflex = c.delta >= 180.0;
    const double inner = reflex ? 360.0 - c.delta : c.delta;
    const Inverse chord = inverseOf(c.pc, c.pt);
    double arc = inner * r * kPi / 180.0;
    double sector = arc * r / 2.0;
    double segment = sector - chord.distance * r * 0.5 * std::cos(radiansOf(inner / 2.0));
    if (reflex) {
        segment = kPi * r * r - segment;
        sector = kPi * r * r - sector;
        arc = r * kTwoPi - arc;
    }
    const double shown = degreesIn(mode, c.delta, err);
    if (err.failed()) return err.trace(kValues), v;
    v[15] = r;
    v[16] = c.tangent;
    v[17] = chord.distance;
    v[18] = bearingOfRay(chord.ray);
    v[19] = arc;
    v[20] = c.left ? -shown : shown;
    v[21] = r >= 50.0 ? 2.0 * degreesOfRadians(std::asin(50.0 / r)) : 0.0;
    v[22] = sector;
    v[23] = segment;
    v[24] = bearingOfRay(c.tangent > 0.0 ? inverseOf(c.pi, c.pt).ray : c.outgoingRay());
    return v;
}

}  // namespace qx
