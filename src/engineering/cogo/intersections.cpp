// New points where directions and distances from two known points meet, and the resection.
#include <cmath>

#include "engineering/cogo/cogo_arguments.h"
#include "engineering/cogo/cogo_functions.h"
#include "engineering/cogo/origins.h"
#include "engineering/cogo/plane_geometry.h"
#include "functions/argument_readers.h"
#include "functions/object_values.h"

namespace qx {

using namespace origins::cogo;

namespace {

// A sine this small makes the resection's triangles flat.
constexpr double kFlatSine = 1e-12;

CellResult pointResult(int displayCode, std::optional<int> mode) {
    CellResult r;
    r.kind = ObjectKind::Coordinate;
    r.displayCode = displayCode;
    r.mode = mode;
    r.clearType = true;
    r.threeD = true;
    return r;
}

// The two known points, `count` numbers and the plane; every call here starts so.
struct TwoPoints {
    Vec3 p1;
    Vec3 p2;
    double a[5] = {};
    PlaneFrame frame;
};

bool readTwoPoints(FunctionCall& call, int count, TwoPoints& in, Origin origin, ErrStat& err) {
    std::optional<Vec3> normal;
    return pointArgument(call, in.p1, origin, err) && pointArgument(call, in.p2, origin, err) &&
           numbersAndPlane(call, in.a, count, true, normal, origin, err) &&
           frameFor(call, normal, in.p1, in.frame, origin, err);
}

// A direction from mode, type and angle; the type must name a direction.
bool rayArgument(FunctionCall& call, int mode, AngleType type, double angle, double& ray, Origin origin, ErrStat& err) {
    if (!isDirectionType(type)) return geometryFailure(call, err, origin, 1, L06::IllegalAngleType), false;
    DirectionRecord d;
    if (!directionFromAngle(mode, type, angle, d, err)) return err.trace(origin), false;
    ray = d.ray();
    return true;
}

double finish(FunctionCall& call, CellRec& cell, Vec3 p, const CellResult& r, Origin origin, ErrStat& err) {
    if (err.failed()) return err.trace(origin), 0.0;
    const double values[3] = {p.x, p.y, p.z};
    return storeResult(call, cell, r, values, origin, err) ? 1.0 : 0.0;
}

}  // namespace

double fnAngAngInt(FunctionCall& call, ErrStat& err) {
    err.enter();
    CellRec* cell = callingFormula(call, kAngAng, err);
    if (cell == nullptr) return 0.0;
    FailedResultRelease release(call, err);
    TwoPoints in;
    int mode = 0;
    AngleType type = AngleType::Ray;
    int display = 0;
    double ray1 = 0.0;
    double ray2 = 0.0;
    if (!readTwoPoints(call, 5, in, kAngAng, err) || !modeArgument(call, in.a[0], mode, kAngAng, err) ||
        !typeArgument(call, in.a[1], type, kAngAng, err) || !formatArgument(call, in.a[4], display, kAngAng, err) ||
        !rayArgument(call, mode, type, in.a[2], ray1, kAngAng, err) ||
        !rayArgument(call, mode, type, in.a[3], ray2, kAngAng, err)) {
        return 0.0;
    }
    const Vec3 p = angleAngleIntersection(in.frame.toPlane(in.p1), ray1, in.frame.toPlane(in.p2), ray2, err);
    return finish(call, *cell, in.frame.fromPlane(p), pointResult(display, mode), kAngAng, err);
}

double fnAngDstInt(FunctionCall& call, ErrStat& err) {
    err.enter();
    CellRec* cell = callingFormula(call, kAngDst, err);
    if (cell == nullptr) return 0.0;
    FailedResultRelease release(call, err);
    TwoPoints in;
    int mode = 0;
    AngleType type = AngleType::Ray;
    int display = 0;
    double ray = 0.0;
    if (!readTwoPoints(call, 5, in, kAngDst, err) || !modeArgument(call, in.a[0], mode, kAngDst, err) ||
        !typeArgument(call, in.a[1], type, kAngDst, err) || !formatArgument(call, in.a[4], display, kAngDst, err) ||
        !rayArgument(call, mode, type, in.a[2], ray, kAngDst, err)) {
        return 0.0;
    }
    const Vec3 p = angleDistanceIntersection(in.frame.toPlane(in.p1), ray, in.frame.toPlane(in.p2), in.a[3], err);
    return finish(call, *cell, in.frame.fromPlane(p), pointResult(display, mode), kAngDst, err);
}

double fnDstDstInt(FunctionCall& call, ErrStat& err) {
    err.enter();
    CellRec* cell = callingFormula(call, kDstDst, err);
    if (cell == nullptr) return 0.0;
    FailedResultRelease release(call, err);
    TwoPoints in;
    int display = 0;
    if (!readTwoPoints(call, 3, in, kDstDst, err) || !formatArgument(call, in.a[2], display, kDstDst, err)) return 0.0;
    const Vec3 p =
        distanceDistanceIntersection(in.frame.toPlane(in.p1), in.a[0], in.frame.toPlane(in.p2), in.a[1], err);
    return finish(call, *cell, in.frame.fromPlane(p), pointResult(display, std::nullopt), kDstDst, err);
}

double fnResection(FunctionCall& call, ErrStat& err) {
    err.enter();
    CellRec* cell = callingFormula(call, kResectionFn, err);
    if (cell == nullptr) return 0.0;
    FailedResultRelease release(call, err);
    Vec3 p[3];
    double a[5] = {};
    std::optional<Vec3> noPlane;
    int mode = 0;
    AngleType type = AngleType::Ray;
    int display = 0;
    for (Vec3& q : p) {
        if (!pointArgument(call, q, kResectionFn, err)) return 0.0;
    }
    if (!numbersAndPlane(call, a, 5, false, noPlane, kResectionFn, err) ||
        !modeArgument(call, a[0], mode, kResectionFn, err) || !typeArgument(call, a[1], type, kResectionFn, err) ||
        !formatArgument(call, a[4], display, kResectionFn, err)) {
        return 0.0;
    }
    double angles[2] = {};
    for (int i = 0; i < 2; ++i) {
        angles[i] = angleToDegrees(mode, AngleType::AngleRight, a[2 + i], err);
        if (err.failed()) return err.trace(kResectionFn), 0.0;
        if (std::fabs(std::sin(radiansOf(angles[i]))) < kFlatSine) {
            return callFailure(call, err, kResectionFn, 1, Msg::ParameterOutOfRange);
        }
    }
    const Vec3 r = resection(p[0], p[1], p[2], angles[0], angles[1], err);
    return finish(call, *cell, r, pointResult(display, mode), kResectionFn, err);
}

}  // namespace qx
