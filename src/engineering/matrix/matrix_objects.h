#pragma once
// Matrix objects in cells: reading the matrix (or point list) arguments of a call, and writing a result
// into the calling cell's Array Area, once per point when the first argument is a list of points.
#include <cstdint>
#include <functional>
#include <vector>

#include "core/cell_records.h"
#include "core/err_stat.h"
#include "core/object_kind.h"
#include "engineering/matrix/matrix_math.h"

namespace qx {

class FunctionCall;

// What follows the first argument.
enum class SecondArgument { None, Matrix, Number };

// A point list given in place of the first matrix: each point is computed as the row (x, y, 1), or
// (x, y, z, 1) for a 3-D list.
struct PointList {
    ObjectKind kind = ObjectKind::Coordinate;
    bool threeD = false;
    std::vector<double> values;  // as stored: 2 or 3 values a point

    int stride() const { return threeD ? 3 : 2; }
};

struct MatrixOperands {
    CellRec* caller = nullptr;
    bool points = false;  // the first argument is a point list
    Matrix first;
    PointList pointList;
    Matrix second;
    double number = 0.0;
};

// Reads the calling cell and the arguments: [A], then nothing, [B] or a number, and the end of the list.
// `pointsAllowed`: the first argument may be a point list. Failures are stamped with `origin`.
bool readMatrixOperands(FunctionCall& call, SecondArgument second, bool pointsAllowed, Origin origin,
                        MatrixOperands& out, ErrStat& err);

using MatrixOperation = std::function<Matrix(const Matrix& a, ErrStat& err)>;

// Makes the calling cell a matrix holding op(first), or a copy of the point list with every point
// replaced by the leading values of op(point). Returns 0; on failure the caller's Array Area is released.
double storeMatrixResult(FunctionCall& call, const MatrixOperands& operands, const MatrixOperation& op, Origin origin,
                         ErrStat& err);

// The failure rule: the calling cell's Array Area is released and the call's value is 0.
double matrixFailure(FunctionCall& call, Origin origin, ErrStat& err);

}  // namespace qx
