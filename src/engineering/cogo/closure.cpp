// Closed traverses: the error of closure with the area and perimeter, and the compass-rule adjustment.
#include "engineering/cogo/cogo_arguments.h"
#include "engineering/cogo/cogo_functions.h"
#include "engineering/cogo/origins.h"
#include "engineering/cogo/plane_geometry.h"
#include "engineering/cogo/traverse_adjustment.h"
#include "functions/argument_readers.h"
#include "functions/object_values.h"

namespace qx {

using namespace origins::cogo;

double fnClosure(FunctionCall& call, ErrStat& err) {
    err.enter();
    CellRec* cell = callingFormula(call, kClosure, err);
    if (cell == nullptr) return 0.0;
    FailedResultRelease release(call, err);
    std::vector<Vec3> points;
    ObjectKind kind = ObjectKind::Number;
    double a[3] = {};
    std::optional<Vec3> noPlane;
    int mode = 0;
    AngleType type = AngleType::Ray;
    int display = 0;
    if (!pointListArgument(call, points, kind, kClosure, err)) return 0.0;
    if (kind != ObjectKind::Polygon) return incompatibleArgument(call, kClosure, err), 0.0;
    if (points.empty()) return callFailure(call, err, kClosure, 2, Msg::TooFewCoordinates);
    if (!numbersAndPlane(call, a, 3, false, noPlane, kClosure, err) || !modeArgument(call, a[0], mode, kClosure, err) ||
        !typeArgument(call, a[1], type, kClosure, err) || !formatArgument(call, a[2], display, kClosure, err)) {
        return 0.0;
    }
    if (!isDirectionType(type)) return geometryFailure(call, err, kClosure, 1, L06::IllegalAngleType);
    const Inverse misclosure = inverseOf(points.back(), points.front());
    DirectionRecord d;
    setDirection(d, AngleType::Ray, misclosure.ray, err);
    const double angle = err.failed() ? 0.0 : angleInMode(d, type, mode, err);
    if (err.failed()) return err.trace(kClosure), 0.0;
    const double values[3] = {misclosure.distance, angle, pathLength(points)};
    CellResult r;
    r.kind = ObjectKind::Direction;
    r.displayCode = display;
    r.mode = mode;
    r.type = type;
    if (!storeResult(call, *cell, r, values, kClosure, err)) return 0.0;
    return enclosedArea(points);
}

// A polygon closes on its own first point; a segment closes on the point cell after it.
double fnCompass(FunctionCall& call, ErrStat& err) {
    err.enter();
    CellRec* cell = callingFormula(call, kCompassFn, err);
    if (cell == nullptr) return 0.0;
    FailedResultRelease release(call, err);
    std::vector<Vec3> points;
    ObjectKind kind = ObjectKind::Number;
    if (!pointListArgument(call, points, kind, kCompassFn, err)) return 0.0;
    if (points.empty()) return callFailure(call, err, kCompassFn, 3, Msg::TooFewCoordinates);
    Vec3 closing = points.empty() ? Vec3{} : points.front();
    if (kind == ObjectKind::Segment) {
        if (call.ended()) return callFailure(call, err, kCompassFn, 1, Msg::EmptyCell);
        if (!pointArgument(call, closing, kCompassFn, err)) return 0.0;
    } else if (kind != ObjectKind::Polygon) {
        return incompatibleArgument(call, kCompassFn, err), 0.0;
    }
    if (!call.ended()) return callFailure(call, err, kCompassFn, 2, Msg::IllegalDelimiter);
    const std::vector<Vec3> adjusted = compassAdjusted(points, closing, err);
    if (err.failed()) return err.trace(kCompassFn), 0.0;
    std::vector<double> values;
    values.reserve(adjusted.size() * 3);
    for (const Vec3& p : adjusted) values.insert(values.end(), {p.x, p.y, p.z});
    CellResult r;
    r.kind = kind;
    r.threeD = true;
    if (!storeResult(call, *cell, r, values, kCompassFn, err)) return 0.0;
    return static_cast<double>(adjusted.size());
}

}  // namespace qx
