// Triangle cells, and the text and rotation functions.
#include <array>
#include <cmath>

#include "core/formula_flags.h"
#include "engineering/cogo/cogo_arguments.h"
#include "engineering/cogo/cogo_functions.h"
#include "engineering/cogo/origins.h"
#include "engineering/cogo/triangle_solution.h"
#include "functions/argument_readers.h"
#include "functions/object_values.h"

namespace qx {

using namespace origins::cogo;

namespace {

constexpr int kTriangleValues = 6;
constexpr int kTextValues = 12;

bool solve(FunctionCall& call, std::array<double, kTriangleValues>& out, double& area, int& mode, ErrStat& err) {
    double a[7] = {};
    if (!exactArguments(call, a, 7, err)) return err.trace(kTriangle), false;
    if (!modeArgument(call, a[0], mode, kTriangle, err)) return false;
    TriangleParts known;
    double* angles[3] = {&known.angleA, &known.angleB, &known.angleC};
    for (int i = 0; i < 3; ++i) {
        // Known or not is decided on the number given: a DDD.MMSS zero must not convert to a hair above 0.
        if (!(a[1 + i] > 0.0)) continue;
        *angles[i] = degreesOf(mode, a[1 + i], err);
        if (err.failed()) return err.trace(kTriangle), false;
    }
    known.a = a[4];
    known.b = a[5];
    known.c = a[6];
    const TriangleParts t = solveTriangle(known, err);
    if (err.failed()) return err.trace(kTriangle), false;
    const double shown[3] = {t.angleA, t.angleB, t.angleC};
    for (int i = 0; i < 3; ++i) {
        out[static_cast<std::size_t>(i)] = degreesIn(mode, shown[i], err);
        if (err.failed()) return err.trace(kTriangle), false;
    }
    out[3] = t.a;
    out[4] = t.b;
    out[5] = t.c;
    area = triangleArea(t);
    return true;
}

}  // namespace

// A failed solution still makes the cell a triangle, of zeros.
double fnTriangle(FunctionCall& call, ErrStat& err) {
    err.enter();
    CellRec* cell = callingFormula(call, kTriangle, err);
    if (cell == nullptr) return 0.0;
    std::array<double, kTriangleValues> values{};
    double area = 0.0;
    int mode = 0;
    const bool solved = solve(call, values, area, mode, err);
    if (!solved) {
        values.fill(0.0);
        area = 0.0;
    }
    CellResult r;
    r.kind = ObjectKind::Triangle;
    if (solved) r.mode = mode;
    ErrStat storing;
    const bool stored = storeResult(call, *cell, r, values, kTriangle, solved ? err : storing);
    return solved && stored ? area : 0.0;
}

// The cell's tag is the text; it stands between the two points, `height` units tall.
double fnText(FunctionCall& call, ErrStat& err) {
    err.enter();
    CellRec* cell = callingFormula(call, kText, err);
    if (cell == nullptr) return 0.0;
    FailedResultRelease release(call, err);
    Vec3 begin;
    Vec3 end;
    double a[2] = {};
    std::optional<Vec3> normal;
    if (!pointArgument(call, begin, kText, err) || !pointArgument(call, end, kText, err) ||
        !numbersAndPlane(call, a, 2, true, normal, kText, err)) {
        return 0.0;
    }
    if (normal && !(length(*normal) > 0.0)) return callFailure(call, err, kText, 1, Msg::ParameterOutOfRange);
    const Vec3 n = normal.value_or(Vec3{0, 0, 1});
    const std::array<double, kTextValues> values = {begin.x, begin.y, begin.z, end.x, end.y, end.z,
                                                    n.x,     n.y,     n.z,     a[0],  a[1],  0.0};
    CellResult r;
    r.kind = ObjectKind::Text;
    r.threeD = true;
    return storeResult(call, *cell, r, values, kText, err) ? 1.0 : 0.0;
}

// The direction turned counterclockwise by `rotate_by`, in the mode and type it was given in.
double fnRotate(FunctionCall& call, ErrStat& err) {
    err.enter();
    double a[4] = {};
    if (!exactArguments(call, a, 4, err)) return err.trace(kRotate), 0.0;
    const double type = a[1];
    const double mode = a[0];
    if (!(type >= 0.0 && type <= 4.0) || type != std::floor(type)) {
        return geometryFailure(call, err, kRotate, 1, L06::IllegalAngleType);
    }
    if (!(mode >= 0.0 && mode <= 3.0) || mode != std::floor(mode)) {
        return geometryFailure(call, err, kRotate, 2, L06::IllegalMode);
    }
    const int m = static_cast<int>(mode);
    const auto t = static_cast<AngleType>(static_cast<int>(type));
    DirectionRecord d;
    if (!directionFromAngle(m, t, a[2], d, err)) return err.trace(kRotate), 0.0;
    const double by = degreesOf(m, a[3], err);
    if (err.failed()) return err.trace(kRotate), 0.0;
    double sum = d.ray() + by;
    sum -= std::floor(sum / 360.0) * 360.0;
    if (!setDirection(d, AngleType::Ray, sum, err)) return err.trace(kRotate), 0.0;
    const double turned = angleInMode(d, t, m, err);
    if (err.failed()) return err.trace(kRotate), 0.0;
    return turned;
}

}  // namespace qx
