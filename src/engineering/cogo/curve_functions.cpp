// Horizontal curve cells: from an arc length, a central angle or a PI.
#include <cmath>

#include "engineering/cogo/cogo_arguments.h"
#include "engineering/cogo/cogo_functions.h"
#include "engineering/cogo/curves.h"
#include "engineering/cogo/origins.h"
#include "functions/argument_readers.h"
#include "functions/object_values.h"

namespace qx {

using namespace origins::cogo;

namespace {

constexpr double kCurveValue = 5.0;

CellResult curveResult(int displayCode, int mode, std::optional<AngleType> type) {
    CellResult r;
    r.kind = ObjectKind::Curve;
    r.displayCode = displayCode;
    r.mode = mode;
    r.type = type;
    r.threeD = true;
    return r;
}

// The curve built in the plane frame, stored with its values mapped back.
double storeCurve(FunctionCall& call, CellRec& cell, const Curve& c, const CellResult& r,
                  const std::optional<Vec3>& normal, const PlaneFrame& frame, Origin origin, ErrStat& err) {
    if (err.failed()) return err.trace(origin), 0.0;
    const auto values = curveValues(c, *r.mode, normal.value_or(Vec3{0, 0, 1}), frame, err);
    if (err.failed()) return err.trace(origin), 0.0;
    return storeResult(call, cell, r, values, origin, err) ? kCurveValue : 0.0;
}

}  // namespace

double fnCurveArc(FunctionCall& call, ErrStat& err) {
    err.enter();
    CellRec* cell = callingFormula(call, kCurveArc, err);
    if (cell == nullptr) return 0.0;
    FailedResultRelease release(call, err);
    Vec3 pc;
    double a[6] = {};
    std::optional<Vec3> normal;
    AngleType type = AngleType::Ray;
    int display = 0;
    PlaneFrame frame;
    if (!pointArgument(call, pc, kCurveArc, err) || !numbersAndPlane(call, a, 6, true, normal, kCurveArc, err) ||
        !typeArgument(call, a[3], type, kCurveArc, err) || !formatArgument(call, a[5], display, kCurveArc, err) ||
        !frameFor(call, normal, pc, frame, kCurveArc, err)) {
        return 0.0;
    }
    const double mode = a[2];
    if (mode != 0.0 && mode != 1.0 && mode != 2.0 && mode != 3.0) {
        return geometryFailure(call, err, kCurveArc, 1, L06::IllegalMode);
    }
    if (!isDirectionType(type)) return geometryFailure(call, err, kCurveArc, 2, L06::IllegalAngleType);
    DirectionRecord tangent;
    if (!directionFromAngle(static_cast<int>(mode), type, a[4], tangent, err)) return err.trace(kCurveArc), 0.0;
    const Curve c = curveAlongTangent(frame.toPlane(pc), tangent.ray(), a[0], a[1], err);
    return storeCurve(call, *cell, c, curveResult(display, static_cast<int>(mode), type), normal, frame, kCurveArc,
                      err);
}

double fnCurveDelta(FunctionCall& call, ErrStat& err) {
    err.enter();
    CellRec* cell = callingFormula(call, kCurveDelta, err);
    if (cell == nullptr) return 0.0;
    FailedResultRelease release(call, err);
    Vec3 pc;
    Vec3 rp;
    double a[3] = {};
    std::optional<Vec3> normal;
    int mode = 0;
    int display = 0;
    PlaneFrame frame;
    if (!pointArgument(call, pc, kCurveDelta, err) || !pointArgument(call, rp, kCurveDelta, err) ||
        !numbersAndPlane(call, a, 3, true, normal, kCurveDelta, err) ||
        !modeArgument(call, a[0], mode, kCurveDelta, err) || !formatArgument(call, a[2], display, kCurveDelta, err) ||
        !frameFor(call, normal, rp, frame, kCurveDelta, err)) {
        return 0.0;
    }
    const double delta = degreesOf(mode, a[1], err);
    if (err.failed()) return err.trace(kCurveDelta), 0.0;
    const Curve c = curveAboutRadiusPoint(frame.toPlane(pc), frame.toPlane(rp), delta, err);
    return storeCurve(call, *cell, c, curveResult(display, mode, std::nullopt), normal, frame, kCurveDelta, err);
}

double fnCurveRadius(FunctionCall& call, ErrStat& err) {
    err.enter();
    CellRec* cell = callingFormula(call, kCurveRadius, err);
    if (cell == nullptr) return 0.0;
    FailedResultRelease release(call, err);
    Vec3 pc;
    Vec3 pi;
    double a[3] = {};
    std::optional<Vec3> normal;
    int mode = 0;
    int display = 0;
    PlaneFrame frame;
    if (!pointArgument(call, pc, kCurveRadius, err) || !pointArgument(call, pi, kCurveRadius, err) ||
        !numbersAndPlane(call, a, 3, true, normal, kCurveRadius, err) ||
        !modeArgument(call, a[0], mode, kCurveRadius, err) || !formatArgument(call, a[2], display, kCurveRadius, err) ||
        !frameFor(call, normal, pc, frame, kCurveRadius, err)) {
        return 0.0;
    }
    const Curve c = curveToPi(frame.toPlane(pc), frame.toPlane(pi), a[1], err);
    return storeCurve(call, *cell, c, curveResult(display, mode, std::nullopt), normal, frame, kCurveRadius, err);
}

}  // namespace qx
