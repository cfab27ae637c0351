// Directions between points and new points from directions: inverse, traverse, field angles, radials.
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

// The mode, type and fmt arguments, checked, and what they set in the cell.
struct AngleChoices {
    int mode = 1;
    AngleType type = AngleType::Ray;
    int displayCode = 34;
};

bool readChoices(FunctionCall& call, double mode, double type, double fmt, AngleChoices& out, Origin origin,
                 ErrStat& err) {
    return modeArgument(call, mode, out.mode, origin, err) && typeArgument(call, type, out.type, origin, err) &&
           formatArgument(call, fmt, out.displayCode, origin, err);
}

CellResult pointResult(const AngleChoices& c) {
    CellResult r;
    r.kind = ObjectKind::Coordinate;
    r.displayCode = c.displayCode;
    r.mode = c.mode;
    r.clearType = true;
    r.threeD = true;
    return r;
}

CellResult directionResult(const AngleChoices& c) {
    CellResult r;
    r.kind = ObjectKind::Direction;
    r.displayCode = c.displayCode;
    r.mode = c.mode;
    r.type = c.type;
    return r;
}

bool storePoint(FunctionCall& call, CellRec& cell, const AngleChoices& c, Vec3 p, Origin origin, ErrStat& err) {
    const double values[3] = {p.x, p.y, p.z};
    return storeResult(call, cell, pointResult(c), values, origin, err);
}

}  // namespace

double fnInverse(FunctionCall& call, ErrStat& err) {
    err.enter();
    CellRec* cell = callingFormula(call, kInverse, err);
    if (cell == nullptr) return 0.0;
    FailedResultRelease release(call, err);
    Vec3 from;
    Vec3 to;
    double a[3] = {};
    std::optional<Vec3> normal;
    AngleChoices c;
    PlaneFrame frame;
    if (!pointArgument(call, from, kInverse, err) || !pointArgument(call, to, kInverse, err) ||
        !numbersAndPlane(call, a, 3, true, normal, kInverse, err) ||
        !readChoices(call, a[0], a[1], a[2], c, kInverse, err) || !frameFor(call, normal, from, frame, kInverse, err)) {
        return 0.0;
    }
    if (!isDirectionType(c.type)) return geometryFailure(call, err, kInverse, 1, L06::IllegalAngleType);
    const Inverse inv = inverseOf(frame.toPlane(from), frame.toPlane(to));
    DirectionRecord d;
    setDirection(d, AngleType::Ray, inv.ray, err);
    const double angle = err.failed() ? 0.0 : angleInMode(d, c.type, c.mode, err);
    if (err.failed()) return err.trace(kInverse), 0.0;
    const double values[2] = {inv.distance, angle};
    if (!storeResult(call, *cell, directionResult(c), values, kInverse, err)) return 0.0;
    return inv.ray;
}

double fnTraverse(FunctionCall& call, ErrStat& err) {
    err.enter();
    CellRec* cell = callingFormula(call, kTraverse, err);
    if (cell == nullptr) return 0.0;
    FailedResultRelease release(call, err);
    Vec3 setup;
    double a[5] = {};
    std::optional<Vec3> normal;
    AngleChoices c;
    PlaneFrame frame;
    if (!pointArgument(call, setup, kTraverse, err) || !numbersAndPlane(call, a, 5, true, normal, kTraverse, err) ||
        !readChoices(call, a[0], a[1], a[4], c, kTraverse, err) ||
        !frameFor(call, normal, setup, frame, kTraverse, err)) {
        return 0.0;
    }
    if (!isDirectionType(c.type)) return geometryFailure(call, err, kTraverse, 1, L06::IllegalAngleType);
    DirectionRecord d;
    if (!directionFromAngle(c.mode, c.type, a[2], d, err)) return err.trace(kTraverse), 0.0;
    const Vec3 next = frame.fromPlane(pointAlong(frame.toPlane(setup), d.ray(), a[3]));
    if (!storePoint(call, *cell, c, next, kTraverse, err)) return 0.0;
    return d.ray();
}

double fnFieldAngle(FunctionCall& call, ErrStat& err) {
    err.enter();
    CellRec* cell = callingFormula(call, kFieldAngle, err);
    if (cell == nullptr) return 0.0;
    FailedResultRelease release(call, err);
    Vec3 backsight;
    Vec3 setup;
    double a[6] = {};
    std::optional<Vec3> normal;
    AngleChoices c;
    PlaneFrame frame;
    if (!pointArgument(call, backsight, kFieldAngle, err) || !pointArgument(call, setup, kFieldAngle, err) ||
        !numbersAndPlane(call, a, 6, true, normal, kFieldAngle, err) ||
        !readChoices(call, a[0], a[1], a[5], c, kFieldAngle, err) ||
        !frameFor(call, normal, setup, frame, kFieldAngle, err)) {
        return 0.0;
    }
    // A slope distance is reduced by the vertical angle; one pointing down past the vertical is refused.
    double vertical = angleToDegrees(c.mode, AngleType::Rotation, a[3], err);
    if (err.failed()) return err.trace(kFieldAngle), 0.0;
    vertical -= std::floor(vertical / 360.0) * 360.0;
    if (vertical >= 90.0 && vertical <= 270.0) {
        return geometryFailure(call, err, kFieldAngle, 1, L06::AngleOutOfRange);
    }
    if (vertical > 270.0) vertical = 360.0 - vertical;
    const double horizontal = a[4] * std::cos(radiansOf(vertical));
    const Vec3 back = frame.toPlane(backsight);
    const Vec3 at = frame.toPlane(setup);
    DirectionRecord d;
    if (!directionFromAngle(c.mode, c.type, a[2], d, err)) return err.trace(kFieldAngle), 0.0;
    const double ray = isDirectionType(c.type) ? d.ray() : turnedRay(inverseOf(at, back).ray, d);
    Vec3 next = pointAlong(at, ray, horizontal);
    next.z = back.z;
    if (!storePoint(call, *cell, c, frame.fromPlane(next), kFieldAngle, err)) return 0.0;
    return ray;
}

double fnRadial(FunctionCall& call, ErrStat& err) {
    err.enter();
    CellRec* cell = callingFormula(call, kRadial, err);
    if (cell == nullptr) return 0.0;
    FailedResultRelease release(call, err);
    Vec3 backsight;
    Vec3 setup;
    Vec3 foresight;
    double a[3] = {};
    std::optional<Vec3> normal;
    AngleChoices c;
    PlaneFrame frame;
    if (!pointArgument(call, backsight, kRadial, err) || !pointArgument(call, setup, kRadial, err) ||
        !pointArgument(call, foresight, kRadial, err) || !numbersAndPlane(call, a, 3, true, normal, kRadial, err) ||
        !readChoices(call, a[0], a[1], a[2], c, kRadial, err) || !frameFor(call, normal, setup, frame, kRadial, err)) {
        return 0.0;
    }
    const Vec3 at = frame.toPlane(setup);
    const double back = inverseOf(at, frame.toPlane(backsight)).ray;
    const Inverse fore = inverseOf(at, frame.toPlane(foresight));
    double right = back - fore.ray;
    if (right < 0.0) right += 360.0;
    DirectionRecord d;
    if (!setFieldAngle(d, AngleType::AngleRight, right, err) || !setDirection(d, AngleType::Ray, fore.ray, err)) {
        return err.trace(kRadial), 0.0;
    }
    const double angle = angleInMode(d, c.type, c.mode, err);
    if (err.failed()) return err.trace(kRadial), 0.0;
    const double values[2] = {fore.distance, angle};
    if (!storeResult(call, *cell, directionResult(c), values, kRadial, err)) return 0.0;
    return fore.ray;
}

}  // namespace qx
