// Determinant, inverse and linear solution. Small matrices keep their long-standing computation (cofactor
// expansion, adjugate over determinant, Cramer's rule), so their results stay exactly as they were; larger
// ones use LU decomposition with partial pivoting, whose work grows with the cube of the size instead of
// its factorial.
#include <array>
#include <cmath>
#include <span>
#include <utility>

#include "engineering/matrix/matrix_checks.h"
#include "engineering/matrix/matrix_math.h"
#include "engineering/matrix/origins.h"

namespace qx {

using namespace origins::matrix;

namespace {

// --- cofactors ---

// The determinant of the rows and columns of `a` still in play, expanded down the first of the columns
// with the rows in increasing order and the signs alternating +, -, + by position.
double expand(const Matrix& a, std::span<const int> rows, std::span<const int> cols) {
    if (cols.size() == 2) {
        const int r1 = rows[0];
        const int r2 = rows[1];
        const int c1 = cols[0];
        const int c2 = cols[1];
        return a(r1, c1) * a(r2, c2) - a(r1, c2) * a(r2, c1);
    }
    const int current = cols[0];
    const std::span<const int> rest = cols.subspan(1);
    std::array<int, kLargestCofactorSize> kept{};
    double sum = 0.0;
    for (std::size_t k = 0; k < rows.size(); ++k) {
        std::size_t n = 0;
        for (std::size_t i = 0; i < rows.size(); ++i) {
            if (i != k) kept[n++] = rows[i];
        }
        const double term = expand(a, std::span<const int>(kept.data(), n), rest) * a(rows[k], current);
        sum = k % 2 == 0 ? sum + term : sum - term;
    }
    return sum;
}

// Every index 0..n-1 but `skip` (none when skip is negative).
std::span<const int> indicesWithout(int n, int skip, std::array<int, kLargestCofactorSize>& out) {
    std::size_t m = 0;
    for (int i = 0; i < n; ++i) {
        if (i != skip) out[m++] = i;
    }
    return {out.data(), m};
}

double cofactorDeterminant(const Matrix& a) {
    std::array<int, kLargestCofactorSize> rows{};
    std::array<int, kLargestCofactorSize> cols{};
    return expand(a, indicesWithout(a.rows, -1, rows), indicesWithout(a.cols, -1, cols));
}

// The minor of `a` without row i and column j.
double minor(const Matrix& a, int i, int j) {
    std::array<int, kLargestCofactorSize> rows{};
    std::array<int, kLargestCofactorSize> cols{};
    return expand(a, indicesWithout(a.rows, i, rows), indicesWithout(a.cols, j, cols));
}

Matrix adjugateInverse(const Matrix& a, double d) {
    const int n = a.rows;
    Matrix out(n, n);
    if (n == 2) {
        const double f = 1.0 / d;
        out(0, 0) = f * a(1, 1);
        out(0, 1) = f * -a(0, 1);
        out(1, 0) = f * -a(1, 0);
        out(1, 1) = f * a(0, 0);
        return out;
    }
    for (int i = 0; i < n; ++i) {
        for (int j = 0; j < n; ++j) {
            const double m = minor(a, i, j);
            out(j, i) = ((i + j) % 2 != 0 ? -m : m) / d;
        }
    }
    return out;
}

// The first r columns of an r x (r + 1) system, with column `replaced` taken from the last one.
Matrix coefficients(const Matrix& augmented, int replaced) {
    const int r = augmented.rows;
    Matrix w(r, r);
    for (int i = 0; i < r; ++i) {
        for (int j = 0; j < r; ++j) w(i, j) = augmented(i, j == replaced ? r : j);
    }
    return w;
}

// --- LU decomposition ---

struct Decomposition {
    Matrix lu;               // L below the diagonal (unit diagonal implied), U on and above it
    std::vector<int> order;  // row i of lu came from row order[i] of the matrix
    int sign = 1;            // of the row permutation
};

// False when a pivot is exactly zero: the matrix is singular.
bool decompose(const Matrix& a, Decomposition& d) {
    const int n = a.rows;
    d.lu = a;
    d.order.resize(static_cast<std::size_t>(n));
    for (int i = 0; i < n; ++i) d.order[static_cast<std::size_t>(i)] = i;
    d.sign = 1;
    Matrix& m = d.lu;
    for (int k = 0; k < n; ++k) {
        int p = k;
        for (int i = k + 1; i < n; ++i) {
            if (std::fabs(m(i, k)) > std::fabs(m(p, k))) p = i;
        }
        if (m(p, k) == 0.0) return false;
        if (p != k) {
            for (int j = 0; j < n; ++j) std::swap(m(p, j), m(k, j));
            std::swap(d.order[static_cast<std::size_t>(p)], d.order[static_cast<std::size_t>(k)]);
            d.sign = -d.sign;
        }
        const double pivot = m(k, k);
        for (int i = k + 1; i < n; ++i) {
            const double f = m(i, k) / pivot;
            m(i, k) = f;
            if (f == 0.0) continue;
            for (int j = k + 1; j < n; ++j) m(i, j) -= f * m(k, j);
        }
    }
    return true;
}

// x with A x = b, where b is given in the matrix's original row order.
std::vector<double> substitute(const Decomposition& d, const std::vector<double>& b) {
    const Matrix& m = d.lu;
    const int n = m.rows;
    std::vector<double> x(static_cast<std::size_t>(n));
    for (int i = 0; i < n; ++i) {
        double s = b[static_cast<std::size_t>(d.order[static_cast<std::size_t>(i)])];
        for (int j = 0; j < i; ++j) s -= m(i, j) * x[static_cast<std::size_t>(j)];
        x[static_cast<std::size_t>(i)] = s;
    }
    for (int i = n - 1; i >= 0; --i) {
        double s = x[static_cast<std::size_t>(i)];
        for (int j = i + 1; j < n; ++j) s -= m(i, j) * x[static_cast<std::size_t>(j)];
        x[static_cast<std::size_t>(i)] = s / m(i, i);
    }
    return x;
}

double luDeterminant(const Matrix& a) {
    Decomposition d;
    if (!decompose(a, d)) return 0.0;
    double det = d.sign;
    for (int i = 0; i < a.rows; ++i) det *= d.lu(i, i);
    return det;
}

Matrix luInverse(const Decomposition& d) {
    const int n = d.lu.rows;
    Matrix out(n, n);
    std::vector<double> unit(static_cast<std::size_t>(n), 0.0);
    for (int j = 0; j < n; ++j) {
        unit[static_cast<std::size_t>(j)] = 1.0;
        const std::vector<double> column = substitute(d, unit);
        unit[static_cast<std::size_t>(j)] = 0.0;
        for (int i = 0; i < n; ++i) out(i, j) = column[static_cast<std::size_t>(i)];
    }
    return out;
}

// A determinant needs a square matrix of at least 2 x 2.
bool determinantShape(const Matrix& a, ErrStat& err) {
    if (a.square() && a.rows >= 2) return true;
    return failMatrix(err, kDeterminant, 1, L07::NotSquare);
}

}  // namespace

double matrixDeterminant(const Matrix& a, ErrStat& err) {
    err.enter();
    if (!determinantShape(a, err)) return 0.0;
    return a.rows <= kLargestCofactorSize ? cofactorDeterminant(a) : luDeterminant(a);
}

Matrix matrixInverse(const Matrix& a, ErrStat& err) {
    err.enter();
    constexpr Origin kRoutine = kInverse;
    if (a.rows == 1 && a.cols == 1) return failMatrix(err, kRoutine, 1, L07::CannotCompute), Matrix{};
    if (!determinantShape(a, err)) return err.trace(kRoutine), Matrix{};
    Matrix out;
    if (a.rows <= kLargestCofactorSize) {
        const double d = cofactorDeterminant(a);
        if (d == 0.0) return failMatrix(err, kRoutine, 2, L07::NoInverse), Matrix{};
        out = adjugateInverse(a, d);
    } else {
        Decomposition d;
        if (!decompose(a, d)) return failMatrix(err, kRoutine, 3, L07::NoInverse), Matrix{};
        out = luInverse(d);
    }
    if (!finiteResult(out, kRoutine, 4, err)) return {};
    return out;
}

Matrix matrixSolve(const Matrix& augmented, ErrStat& err) {
    err.enter();
    constexpr Origin kRoutine = kSolve;
    const int r = augmented.rows;
    if (augmented.cols != r + 1) return failMatrix(err, kRoutine, 1, L07::NotAugmented), Matrix{};
    const Matrix w = coefficients(augmented, -1);
    if (!determinantShape(w, err)) return err.trace(kRoutine), Matrix{};
    Matrix x(r, 1);
    if (r <= kLargestCofactorSize) {
        const double d = cofactorDeterminant(w);
        if (d == 0.0) return failMatrix(err, kRoutine, 2, L07::NoSolution), Matrix{};
        for (int j = 0; j < r; ++j) x(j, 0) = cofactorDeterminant(coefficients(augmented, j)) / d;
    } else {
        Decomposition d;
        if (!decompose(w, d)) return failMatrix(err, kRoutine, 3, L07::NoSolution), Matrix{};
        std::vector<double> b(static_cast<std::size_t>(r));
        for (int i = 0; i < r; ++i) b[static_cast<std::size_t>(i)] = augmented(i, r);
        x.values = substitute(d, b);
    }
    if (!finiteResult(x, kRoutine, 4, err)) return {};
    return x;
}

}  // namespace qx
