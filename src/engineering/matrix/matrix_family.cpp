// The matrix functions. Each reads its matrix arguments by cell address; those that produce a matrix
// write it into the calling cell, "determinant" and "dotproduct" return a number.
#include "engineering/matrix/matrix_family.h"

#include "engineering/matrix/matrix_math.h"
#include "engineering/matrix/matrix_objects.h"
#include "engineering/matrix/origins.h"
#include "functions/argument_readers.h"
#include "functions/object_values.h"

namespace qx {

using namespace origins::matrix;

namespace {

// A matrix needs its two dimensions and at least two more numbers.
constexpr std::size_t kFewestMatrixNumbers = 4;

using Compute = Matrix (*)(const Matrix& a, const MatrixOperands& operands, ErrStat& err);

double produceMatrix(FunctionCall& call, Origin origin, SecondArgument second, Compute compute, ErrStat& err) {
    err.enter();
    MatrixOperands operands;
    if (!readMatrixOperands(call, second, true, origin, operands, err)) return matrixFailure(call, origin, err);
    const MatrixOperation op = [&operands, compute](const Matrix& a, ErrStat& e) { return compute(a, operands, e); };
    return storeMatrixResult(call, operands, op, origin, err);
}

// Reads [A] and, for dotproduct, [B]; point lists are refused, a number has no points to write back.
bool readNumberOperands(FunctionCall& call, Origin origin, SecondArgument second, MatrixOperands& operands,
                        ErrStat& err) {
    err.enter();
    return readMatrixOperands(call, second, false, origin, operands, err);
}

}  // namespace

// "@Matrix()" only marks the cell a matrix and keeps its array; with numbers the cell gets that matrix.
double fnMatrix(FunctionCall& call, ErrStat& err) {
    const Origin origin = kMatrixFn;
    bool rebuilt = false;
    makeGridObject(call, ObjectKind::Matrix, kFewestMatrixNumbers, origin, rebuilt, err);
    if (err.failed()) return matrixFailure(call, origin, err);
    return 0.0;
}

double fnMatrixAdd(FunctionCall& call, ErrStat& err) {
    return produceMatrix(
        call, kAddFn, SecondArgument::Matrix,
        [](const Matrix& a, const MatrixOperands& o, ErrStat& e) { return matrixSum(a, o.second, false, e); }, err);
}

double fnMatrixSubtract(FunctionCall& call, ErrStat& err) {
    return produceMatrix(
        call, kSubtractFn, SecondArgument::Matrix,
        [](const Matrix& a, const MatrixOperands& o, ErrStat& e) { return matrixSum(a, o.second, true, e); }, err);
}

double fnMatrixProduct(FunctionCall& call, ErrStat& err) {
    return produceMatrix(
        call, kProductFn, SecondArgument::Matrix,
        [](const Matrix& a, const MatrixOperands& o, ErrStat& e) { return matrixProduct(a, o.second, e); }, err);
}

double fnMatrixScalar(FunctionCall& call, ErrStat& err) {
    return produceMatrix(
        call, kScalarFn, SecondArgument::Number,
        [](const Matrix& a, const MatrixOperands& o, ErrStat& e) { return matrixScalar(a, o.number, e); }, err);
}

double fnMatrixExponent(FunctionCall& call, ErrStat& err) {
    return produceMatrix(
        call, kExponentFn, SecondArgument::Number,
        [](const Matrix& a, const MatrixOperands& o, ErrStat& e) { return matrixPower(a, o.number, e); }, err);
}

double fnMatrixTranspose(FunctionCall& call, ErrStat& err) {
    return produceMatrix(
        call, kTransposeFn, SecondArgument::None,
        [](const Matrix& a, const MatrixOperands&, ErrStat& e) { return matrixTranspose(a, e); }, err);
}

double fnMatrixInverse(FunctionCall& call, ErrStat& err) {
    return produceMatrix(
        call, kInverseFn, SecondArgument::None,
        [](const Matrix& a, const MatrixOperands&, ErrStat& e) { return matrixInverse(a, e); }, err);
}

double fnMatrixSolve(FunctionCall& call, ErrStat& err) {
    return produceMatrix(
        call, kSolveFn, SecondArgument::None,
        [](const Matrix& a, const MatrixOperands&, ErrStat& e) {
            // Only an augmented system has a solution to look for.
            if (a.cols != a.rows + 1) {
                e.fail(kSolveFn, 10, Msg::IncompatibleMatrixSizes);
                return Matrix{};
            }
            return matrixSolve(a, e);
        },
        err);
}

double fnMatrixCrossProduct(FunctionCall& call, ErrStat& err) {
    return produceMatrix(
        call, kCrossProductFn, SecondArgument::Matrix,
        [](const Matrix& a, const MatrixOperands& o, ErrStat& e) { return crossProduct(a, o.second, e); }, err);
}

double fnDeterminant(FunctionCall& call, ErrStat& err) {
    const Origin origin = kDeterminantFn;
    MatrixOperands operands;
    if (!readNumberOperands(call, kDeterminantFn, SecondArgument::None, operands, err)) {
        return matrixFailure(call, origin, err);
    }
    const double d = matrixDeterminant(operands.first, err);
    if (err.failed()) return matrixFailure(call, origin, err);
    return d;
}

double fnDotProduct(FunctionCall& call, ErrStat& err) {
    const Origin origin = kDotProductFn;
    MatrixOperands operands;
    if (!readNumberOperands(call, kDotProductFn, SecondArgument::Matrix, operands, err)) {
        return matrixFailure(call, origin, err);
    }
    const double d = dotProduct(operands.first, operands.second, err);
    if (err.failed()) return matrixFailure(call, origin, err);
    return d;
}

namespace {

constexpr FunctionEntry kMatrixTable[] = {
    {"@Matrix", 0, "@Matrix ( rows, columns, element1, ... )", fnMatrix},
    {"@MatrixAdd", 0, "@MatrixAdd ( [A], [B] )", fnMatrixAdd},
    {"@MatrixCrossProduct", 0, "@MatrixCrossProduct ( [A], [B] )", fnMatrixCrossProduct},
    {"@MatrixExponent", 0, "@MatrixExponent ( [A], n )", fnMatrixExponent},
    {"@MatrixInverse", 0, "@MatrixInverse ( [A] )", fnMatrixInverse},
    {"@MatrixProduct", 0, "@MatrixProduct ( [A], [B] )", fnMatrixProduct},
    {"@MatrixScalar", 0, "@MatrixScalar ( [A], s )", fnMatrixScalar},
    {"@MatrixSolve", 0, "@MatrixSolve ( [A] )", fnMatrixSolve},
    {"@MatrixSubtract", 0, "@MatrixSubtract ( [A], [B] )", fnMatrixSubtract},
    {"@MatrixTranspose", 0, "@MatrixTranspose ( [A] )", fnMatrixTranspose},
    {"determinant", 0, "determinant ( [A] )", fnDeterminant},
    {"dotproduct", 0, "dotproduct ( [A], [B] )", fnDotProduct},
};

}  // namespace

std::span<const FunctionEntry> matrixFamily() {
    return kMatrixTable;
}

}  // namespace qx
