// Point, segment and polygon cells.
#include <cmath>
#include <vector>

#include "engineering/cogo/cogo_arguments.h"
#include "engineering/cogo/cogo_functions.h"
#include "engineering/cogo/origins.h"
#include "functions/argument_readers.h"
#include "functions/object_values.h"

namespace qx {

using namespace origins::cogo;

namespace {

enum class PointForm { XY, XYZ, NE, NEE, Polar };

struct PointShape {
    int count;        // numbers the call takes
    int displayCode;  // how the point is shown
    Origin origin;
};

PointShape shapeOf(PointForm form) {
    switch (form) {
        case PointForm::XYZ:
            return {3, 35, kXYZ};
        case PointForm::NE:
            return {2, 33, kNE};
        case PointForm::NEE:
            return {3, 37, kNEE};
        case PointForm::Polar:
            return {2, 36, kPolar};
        default:
            return {2, 34, kXY};
    }
}

Vec3 pointFrom(PointForm form, const double* a) {
    switch (form) {
        case PointForm::XY:
            return {a[0], a[1], 0.0};
        case PointForm::XYZ:
            return {a[0], a[1], a[2]};
        case PointForm::NE:
            return {a[1], a[0], 0.0};
        case PointForm::NEE:
            return {a[1], a[0], a[2]};
        case PointForm::Polar:
            break;
    }
    return {a[0] * std::cos(a[1]), a[0] * std::sin(a[1]), 0.0};
}

// With "()" the cell keeps what its array holds, as a placed point does.
double pointCell(FunctionCall& call, PointForm form, ErrStat& err) {
    err.enter();
    const PointShape shape = shapeOf(form);
    CellRec* cell = callingFormula(call, shape.origin, err);
    if (cell == nullptr) return 0.0;
    FailedResultRelease release(call, err);
    CellResult result;
    result.kind = ObjectKind::Coordinate;
    result.displayCode = shape.displayCode;
    result.clearType = true;
    result.threeD = true;
    if (noArguments(call)) {
        markResult(*cell, result);
        return 1.0;
    }
    double a[3] = {};
    if (!exactArguments(call, a, shape.count, err)) return err.trace(shape.origin), 0.0;
    const Vec3 p = pointFrom(form, a);
    const double values[3] = {p.x, p.y, p.z};
    if (!storeResult(call, *cell, result, values, shape.origin, err)) return 0.0;
    return 1.0;
}

// The points of every argument in order; "()" keeps the array as a placed segment or polygon does.
double pointListCell(FunctionCall& call, ObjectKind kind, std::size_t fewest, Origin origin, ErrStat& err) {
    err.enter();
    CellRec* cell = callingFormula(call, origin, err);
    if (cell == nullptr) return 0.0;
    FailedResultRelease release(call, err);
    CellResult result;
    result.kind = kind;
    result.threeD = true;
    if (noArguments(call)) {
        markResult(*cell, result);
        return static_cast<double>(cellPoints(*cell->formula).size());
    }
    std::vector<Vec3> points;
    while (!call.ended()) {
        ObjectKind given = ObjectKind::Number;
        if (!pointListArgument(call, points, given, origin, err)) return 0.0;
        if (given == ObjectKind::Polygon) return incompatibleArgument(call, origin, err), 0.0;
    }
    if (points.size() < fewest) return callFailure(call, err, origin, 1, Msg::TooFewCoordinates);
    std::vector<double> values;
    values.reserve(points.size() * 3);
    for (const Vec3& p : points) values.insert(values.end(), {p.x, p.y, p.z});
    if (!storeResult(call, *cell, result, values, origin, err)) return 0.0;
    return static_cast<double>(points.size());
}

}  // namespace

double fnXY(FunctionCall& call, ErrStat& err) {
    return pointCell(call, PointForm::XY, err);
}
double fnXYZ(FunctionCall& call, ErrStat& err) {
    return pointCell(call, PointForm::XYZ, err);
}
double fnNE(FunctionCall& call, ErrStat& err) {
    return pointCell(call, PointForm::NE, err);
}
double fnNEE(FunctionCall& call, ErrStat& err) {
    return pointCell(call, PointForm::NEE, err);
}
double fnPOLAR(FunctionCall& call, ErrStat& err) {
    return pointCell(call, PointForm::Polar, err);
}
double fnSegment(FunctionCall& call, ErrStat& err) {
    return pointListCell(call, ObjectKind::Segment, 2, kSegment, err);
}
double fnPolygon(FunctionCall& call, ErrStat& err) {
    return pointListCell(call, ObjectKind::Polygon, 4, kPolygon, err);
}

}  // namespace qx
