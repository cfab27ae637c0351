#include "engineering/matrix/matrix_math.h"

#include <cmath>

#include "core/messages.h"
#include "engineering/matrix/matrix_checks.h"
#include "engineering/matrix/origins.h"

namespace qx {

using namespace origins::matrix;

namespace {

bool finiteValues(const Matrix& m) {
    for (double v : m.values) {
        if (!std::isfinite(v)) return false;
    }
    return true;
}

// Adds a x b into `out`, which starts at zero: row by row so that the inner loop runs along memory, while
// each element still accumulates its products from k = 1 upward.
void multiplyInto(const Matrix& a, const Matrix& b, Matrix& out) {
    for (int i = 0; i < a.rows; ++i) {
        for (int k = 0; k < a.cols; ++k) {
            const double aik = a(i, k);
            for (int j = 0; j < b.cols; ++j) out(i, j) += aik * b(k, j);
        }
    }
}

Matrix multiplied(const Matrix& a, const Matrix& b) {
    Matrix out(a.rows, b.cols);
    multiplyInto(a, b, out);
    return out;
}

}  // namespace

bool failMatrix(ErrStat& err, Origin routine, int32_t point, L07 message) {
    return err.fail(routine, point, message);
}

bool matrixFits(long long rows, long long cols, Origin routine, int32_t point, ErrStat& err) {
    if (rows * cols <= kMaxMatrixElements) return true;
    return failMatrix(err, routine, point, L07::InsufficientMemory);
}

bool finiteResult(const Matrix& m, Origin routine, int32_t point, ErrStat& err) {
    if (finiteValues(m)) return true;
    return failMatrix(err, routine, point, L07::CannotCompute);
}

Matrix Matrix::identity(int n) {
    Matrix m(n, n);
    for (int i = 0; i < n; ++i) m(i, i) = 1.0;
    return m;
}

Matrix matrixSum(const Matrix& a, const Matrix& b, bool subtract, ErrStat& err) {
    err.enter();
    constexpr Origin kRoutine = kSum;
    if (a.rows != b.rows || a.cols != b.cols) return failMatrix(err, kRoutine, 1, L07::SizesDiffer), Matrix{};
    if (!matrixFits(a.rows, a.cols, kRoutine, 2, err)) return {};
    Matrix out(a.rows, a.cols);
    for (std::size_t i = 0; i < out.values.size(); ++i) {
        out.values[i] = subtract ? a.values[i] - b.values[i] : a.values[i] + b.values[i];
    }
    if (!finiteResult(out, kRoutine, 3, err)) return {};
    return out;
}

Matrix matrixProduct(const Matrix& a, const Matrix& b, ErrStat& err) {
    err.enter();
    constexpr Origin kRoutine = kProduct;
    if (a.cols != b.rows) return failMatrix(err, kRoutine, 1, L07::ColumnsMustEqualRows), Matrix{};
    // Checked before computing: two long thin factors make a product far beyond any Array Area.
    if (!matrixFits(a.rows, b.cols, kRoutine, 2, err)) return {};
    Matrix out = multiplied(a, b);
    if (!finiteResult(out, kRoutine, 3, err)) return {};
    return out;
}

Matrix matrixScalar(const Matrix& a, double s, ErrStat& err) {
    err.enter();
    constexpr Origin kRoutine = kScalar;
    if (!matrixFits(a.rows, a.cols, kRoutine, 1, err)) return {};
    Matrix out = a;
    for (double& v : out.values) v *= s;
    if (!finiteResult(out, kRoutine, 2, err)) return {};
    return out;
}

Matrix matrixPower(const Matrix& a, double n, ErrStat& err) {
    err.enter();
    constexpr Origin kRoutine = kPower;
    if (!a.square()) return failMatrix(err, kRoutine, 1, L07::NotSquare), Matrix{};
    if (!(n >= 1.0) || !std::isfinite(n)) return failMatrix(err, kRoutine, 2, L07::CannotCompute), Matrix{};
    if (!matrixFits(a.rows, a.cols, kRoutine, 3, err)) return {};
    // By squaring: a power of 1e9 takes 60 products instead of a billion.
    double e = std::trunc(n);
    Matrix base = a;
    Matrix result;
    bool started = false;
    for (;;) {
        if (std::fmod(e, 2.0) == 1.0) {
            result = started ? multiplied(result, base) : base;
            started = true;
        }
        e = std::floor(e / 2.0);
        if (e == 0.0) break;
        Matrix squared = multiplied(base, base);
        // An overflow here reaches the result through every later product.
        if (!finiteResult(squared, kRoutine, 4, err)) return {};
        if (squared == base) {
            // Every higher power equals this one (the identity, a projection): one more factor is all.
            result = started ? multiplied(result, base) : base;
            break;
        }
        base = std::move(squared);
    }
    if (!finiteResult(result, kRoutine, 5, err)) return {};
    return result;
}

Matrix matrixTranspose(const Matrix& a, ErrStat& err) {
    err.enter();
    constexpr Origin kRoutine = kTranspose;
    if (a.rows < 1 || a.cols < 1) return failMatrix(err, kRoutine, 1, L07::IllegalSize), Matrix{};
    if (!matrixFits(a.cols, a.rows, kRoutine, 2, err)) return {};
    Matrix out(a.cols, a.rows);
    for (int i = 0; i < a.rows; ++i) {
        for (int j = 0; j < a.cols; ++j) out(j, i) = a(i, j);
    }
    return out;
}

Matrix crossProduct(const Matrix& a, const Matrix& b, ErrStat& err) {
    err.enter();
    constexpr Origin kRoutine = kCrossProduct;
    if (a.rows != b.rows || a.cols != b.cols) {
        return failMatrix(err, kRoutine, 1, L07::CannotCompute), Matrix{};
    }
    if (a.rows < 1) return failMatrix(err, kRoutine, 2, L07::IllegalSize), Matrix{};
    if (!matrixFits(a.rows, a.cols, kRoutine, 3, err)) return {};
    if (a.rows != 1 || (a.cols != 3 && a.cols != 4)) {
        return failMatrix(err, kRoutine, 4, L07::NotOneByThree), Matrix{};
    }
    const std::vector<double>& u = a.values;
    const std::vector<double>& v = b.values;
    Matrix out(1, a.cols);
    out.values[0] = u[1] * v[2] - u[2] * v[1];
    out.values[1] = u[2] * v[0] - u[0] * v[2];
    out.values[2] = u[0] * v[1] - u[1] * v[0];
    if (a.cols == 4) out.values[3] = 1.0;
    if (!finiteResult(out, kRoutine, 5, err)) return {};
    return out;
}

double dotProduct(const Matrix& a, const Matrix& b, ErrStat& err) {
    err.enter();
    constexpr Origin kRoutine = kDotProduct;
    if (a.rows != b.rows || a.cols != b.cols) return failMatrix(err, kRoutine, 1, L07::SizesDiffer), 0.0;
    if (a.rows < 1 || a.cols < 1) return failMatrix(err, kRoutine, 2, L07::IllegalSize), 0.0;
    if (a.rows != 1 && a.cols != 1) return failMatrix(err, kRoutine, 3, L07::NotVector), 0.0;
    double sum = 0.0;
    for (std::size_t i = 0; i < a.values.size(); ++i) sum += a.values[i] * b.values[i];
    return sum;
}

Matrix translation4(double x, double y, double z) {
    Matrix m = Matrix::identity(4);
    m(3, 0) = x;
    m(3, 1) = y;
    m(3, 2) = z;
    return m;
}

namespace {

// The rotation in the plane of axes p and q that turns p toward q.
Matrix planeRotation4(int p, int q, double radians) {
    Matrix m = Matrix::identity(4);
    const double c = std::cos(radians);
    const double s = std::sin(radians);
    m(p, p) = c;
    m(p, q) = s;
    m(q, p) = -s;
    m(q, q) = c;
    return m;
}

}  // namespace

Matrix rotationX4(double radians) {
    return planeRotation4(1, 2, radians);
}

Matrix rotationY4(double radians) {
    return planeRotation4(2, 0, radians);
}

Matrix rotationZ4(double radians) {
    return planeRotation4(0, 1, radians);
}

Point3 transformPoint(const Matrix& m, const Point3& p) {
    double out[4];
    for (int j = 0; j < 4; ++j) out[j] = p[0] * m(0, j) + p[1] * m(1, j) + p[2] * m(2, j) + m(3, j);
    const double w = out[3];
    if (w == 1.0 || w == 0.0) return {out[0], out[1], out[2]};
    return {out[0] / w, out[1] / w, out[2] / w};
}

}  // namespace qx
