#pragma once
// The matrix library: dense matrices of doubles and the operations of the matrix functions, also used by
// the coordinate geometry for its 4 x 4 homogeneous transformations. Points are row vectors, so a point p
// is transformed as p x M and a translation sits in the last row.
//
// Each operation reports its failures with a code of the matrix message table, stamped as library 7 with
// the operation's routine number.
#include <array>
#include <cstddef>
#include <cstdint>
#include <vector>

#include "core/cell_records.h"
#include "core/err_stat.h"

namespace qx {

// A matrix result lives in an Array Area after its two dimensions.
constexpr int kMaxMatrixElements = kMaxArrayElements - 2;

// Up to this size the determinant, inverse and solution are computed by cofactors, adjugate and Cramer's
// rule exactly as they always were; above it those take factorial time, so LU decomposition takes over.
constexpr int kLargestCofactorSize = 6;

struct Matrix {
    int rows = 0;
    int cols = 0;
    std::vector<double> values;  // row by row

    Matrix() = default;
    Matrix(int r, int c) : rows(r), cols(c), values(static_cast<std::size_t>(r) * static_cast<std::size_t>(c)) {}
    Matrix(int r, int c, std::vector<double> v) : rows(r), cols(c), values(std::move(v)) {}

    static Matrix identity(int n);

    // Element (i, j), both from 0.
    double& operator()(int i, int j) { return values[index(i, j)]; }
    double operator()(int i, int j) const { return values[index(i, j)]; }
    bool square() const { return rows == cols; }

    friend bool operator==(const Matrix&, const Matrix&) = default;

  private:
    std::size_t index(int i, int j) const {
        return static_cast<std::size_t>(i) * static_cast<std::size_t>(cols) + static_cast<std::size_t>(j);
    }
};

// a + b, or a - b.
Matrix matrixSum(const Matrix& a, const Matrix& b, bool subtract, ErrStat& err);
// a x b, each element accumulated from k = 1 upward.
Matrix matrixProduct(const Matrix& a, const Matrix& b, ErrStat& err);
Matrix matrixScalar(const Matrix& a, double s, ErrStat& err);
// a to the whole power n (its fraction dropped), n >= 1, by repeated squaring.
Matrix matrixPower(const Matrix& a, double n, ErrStat& err);
Matrix matrixTranspose(const Matrix& a, ErrStat& err);
// Square matrices of 2 x 2 and more.
double matrixDeterminant(const Matrix& a, ErrStat& err);
Matrix matrixInverse(const Matrix& a, ErrStat& err);
// The r x 1 solution of the r x (r + 1) augmented system [W | b].
Matrix matrixSolve(const Matrix& augmented, ErrStat& err);
// Two 1 x 3 (or 1 x 4, homogeneous) rows.
Matrix crossProduct(const Matrix& a, const Matrix& b, ErrStat& err);
// Two rows or two columns of the same length.
double dotProduct(const Matrix& a, const Matrix& b, ErrStat& err);

// --- 4 x 4 homogeneous transformations of points (x, y, z, 1) ---
using Point3 = std::array<double, 3>;

Matrix translation4(double x, double y, double z);
// Counterclockwise rotations by `radians` about the x, y and z axes, seen from the positive axis.
Matrix rotationX4(double radians);
Matrix rotationY4(double radians);
Matrix rotationZ4(double radians);
// (x, y, z, 1) x m, divided by the fourth component when that is not 1 (and not 0).
Point3 transformPoint(const Matrix& m, const Point3& p);

}  // namespace qx
