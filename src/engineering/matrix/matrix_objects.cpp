#include "engineering/matrix/matrix_objects.h"

#include <algorithm>
#include <cmath>

#include "core/cell_store.h"
#include "core/formula_flags.h"
#include "formula/lexer.h"
#include "functions/argument_readers.h"
#include "functions/object_values.h"

namespace qx {

namespace {

bool isPointKind(ObjectKind kind) {
    return kind == ObjectKind::Coordinate || kind == ObjectKind::Segment || kind == ObjectKind::Polygon;
}

// Nothing is left to read after the cursor.
bool noMoreArguments(FunctionCall& call) {
    return call.ended() || call.at(call.cursor()) == '\0';
}

bool emptyList(FunctionCall& call) {
    const char* text = call.record().text;
    return call.at(call.cursor()) == '(' && text[skipBlanks(text, call.cursor() + 1)] == ')';
}

Matrix gridMatrix(const FormulaRec& formula, int rows, int cols) {
    const double* first = formula.array + 3;
    return Matrix(rows, cols, std::vector<double>(first, first + static_cast<std::ptrdiff_t>(rows) * cols));
}

// A point list must hold whole points, at least one.
bool readPointList(FunctionCall& call, const FormulaRec& formula, Origin origin, PointList& out, ErrStat& err) {
    out.kind = formulaflag::objectKind(formula.flags);
    out.threeD = formulaflag::option(formula.flags);
    const double* array = formula.array;
    const double count = array == nullptr ? 0.0 : array[0];
    const auto stride = static_cast<double>(out.stride());
    if (!(count >= stride) || count > kMaxArrayElements || count != std::floor(count / stride) * stride) {
        return callFailure(call, err, origin, 8, Msg::TooFewCoordinates), false;
    }
    out.values.assign(array + 1, array + 1 + static_cast<std::ptrdiff_t>(count));
    return true;
}

// [A] (first) or [B]: a matrix, or for the first argument when allowed a point list.
bool readMatrixCell(FunctionCall& call, bool first, bool pointsAllowed, Origin origin, MatrixOperands& out,
                    ErrStat& err) {
    const CellArgument arg = cellArgument(call, err);
    if (err.failed()) return err.trace(origin), false;
    const CellRec* cell = arg.cell;
    const FormulaRec* formula = cell != nullptr && cell->isFormula() ? cell->formula : nullptr;
    if (formula != nullptr && formula->errorMark()) {
        return callFailure(call, err, origin, 3, Msg::UndefinedCellOrBadValue), false;
    }
    const ObjectKind kind = formula != nullptr ? formulaflag::objectKind(formula->flags) : ObjectKind::Number;
    if (kind == ObjectKind::Matrix) {
        int rows = 0;
        int cols = 0;
        if (!gridShape(*formula, rows, cols)) return callFailure(call, err, origin, 4, Msg::ObjectNotSetUp), false;
        (first ? out.first : out.second) = gridMatrix(*formula, rows, cols);
        return true;
    }
    if (isPointKind(kind) && !first) return callFailure(call, err, origin, 5, Msg::CoordinatesMatrixFirst), false;
    if (!isPointKind(kind) || !pointsAllowed) {
        return callFailure(call, err, origin, 6, Msg::IncompatibleCellType), false;
    }
    out.points = true;
    return readPointList(call, *formula, origin, out.pointList, err);
}

bool writeArray(CellStore& store, CellRec& cell, const std::vector<double>& values, ErrStat& err) {
    const int n = static_cast<int>(values.size());
    store.setArraySize(&cell, n, err);
    if (!err.failed() && n > 0) store.setArrayElements(&cell, values.data(), 0, n - 1, err);
    return !err.failed();
}

double storeMatrix(FunctionCall& call, CellRec& cell, const Matrix& a, const MatrixOperation& op, Origin origin,
                   ErrStat& err) {
    setObjectKind(cell, ObjectKind::Matrix);
    const Matrix result = op(a, err);
    if (err.failed()) return matrixFailure(call, origin, err);
    std::vector<double> values;
    values.reserve(result.values.size() + 2);
    values.push_back(result.rows);
    values.push_back(result.cols);
    values.insert(values.end(), result.values.begin(), result.values.end());
    if (!writeArray(call.services().store, cell, values, err)) return matrixFailure(call, origin, err);
    return 0.0;
}

double storePoints(FunctionCall& call, CellRec& cell, const PointList& list, const MatrixOperation& op, Origin origin,
                   ErrStat& err) {
    setObjectKind(cell, list.kind);
    cell.formula->flags = formulaflag::withOption(cell.formula->flags, list.threeD);
    std::vector<double> values = list.values;
    const auto stride = static_cast<std::size_t>(list.stride());
    Matrix point(1, list.stride() + 1);
    for (std::size_t p = 0; p + stride <= values.size(); p += stride) {
        std::copy_n(values.begin() + static_cast<std::ptrdiff_t>(p), stride, point.values.begin());
        point.values[stride] = 1.0;
        const Matrix result = op(point, err);
        if (err.failed()) return matrixFailure(call, origin, err);
        if (result.values.size() < stride) {
            callFailure(call, err, origin, 9, Msg::IncompatibleMatrixSizes);
            return matrixFailure(call, origin, err);
        }
        std::copy_n(result.values.begin(), stride, values.begin() + static_cast<std::ptrdiff_t>(p));
    }
    if (!writeArray(call.services().store, cell, values, err)) return matrixFailure(call, origin, err);
    return 0.0;
}

}  // namespace

bool readMatrixOperands(FunctionCall& call, SecondArgument second, bool pointsAllowed, Origin origin,
                        MatrixOperands& out, ErrStat& err) {
    err.enter();
    out.caller = callingFormula(call, origin, err);
    if (out.caller == nullptr) return false;
    if (emptyList(call)) return callFailure(call, err, origin, 2, Msg::WrongParameters), false;
    if (!readMatrixCell(call, true, pointsAllowed, origin, out, err)) return false;
    if (second != SecondArgument::None && noMoreArguments(call)) {
        return callFailure(call, err, origin, 7, Msg::WrongParameters), false;
    }
    if (second == SecondArgument::Matrix && !readMatrixCell(call, false, false, origin, out, err)) return false;
    if (second == SecondArgument::Number) {
        out.number = numericArgument(call, err);
        if (err.failed()) return err.trace(origin), false;
    }
    if (!requireEnd(call, Msg::WrongParameters, err)) return err.trace(origin), false;
    return true;
}

double storeMatrixResult(FunctionCall& call, const MatrixOperands& operands, const MatrixOperation& op, Origin origin,
                         ErrStat& err) {
    err.enter();
    if (operands.points) return storePoints(call, *operands.caller, operands.pointList, op, origin, err);
    return storeMatrix(call, *operands.caller, operands.first, op, origin, err);
}

double matrixFailure(FunctionCall& call, Origin origin, ErrStat& err) {
    err.trace(origin);
    CellRec* cell = call.cell();
    if (cell != nullptr && cell->isFormula() && cell->formula != nullptr) {
        ErrStat ignored;
        call.services().store.freeArray(cell, ignored);
    }
    return 0.0;
}

}  // namespace qx
