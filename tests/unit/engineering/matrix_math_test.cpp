#include "engineering/matrix/matrix_math.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <functional>
#include <numbers>
#include <random>
#include <vector>

#include "core/messages.h"
#include "engineering/matrix/origins.h"

// Reference values computed independently with numpy (linalg.det, linalg.inv, linalg.solve, matrix_power)
// from the same inputs.

namespace qx {
namespace {

Matrix squareOf(int n, std::vector<double> values) {
    return Matrix(n, n, std::move(values));
}

double largestDifference(const std::vector<double>& a, const std::vector<double>& b) {
    EXPECT_EQ(a.size(), b.size());
    double d = 0.0;
    for (std::size_t i = 0; i < std::min(a.size(), b.size()); ++i) d = std::max(d, std::fabs(a[i] - b[i]));
    return d;
}

// Sizes 2..6 take cofactors, 7 and above LU decomposition; both must agree with the reference.
TEST(MatrixMath, DeterminantsMatchReferenceValues) {
    const struct {
        int n;
        std::vector<double> a;
        double det;
    } cases[] = {
        {2, {1, 2, 3, 4}, -2},
        {3, {1, 2, 3, 4, 5, 6, 7, 8, 9}, 0},  // exactly 0 by cofactors, where numpy gives 6.7e-16
        {4, {8, 7, 6, 7, -8, 6, 8, -5, -6, -8, 6, 8, 2, 2, 5, -9}, -19698},
        {6,
         {6, 8,  -7, 9, 7, -4, 0,  6,  8,  -8, 3,  -1, -3, 6, 4,  -2, 7,  0,
          7, -7, 8,  6, 1, 0,  -4, -5, -4, 5,  -2, 9,  -2, 1, -2, 5,  -3, 9},
         -358463},
        {7,
         {3,  -9, 9, 2,  4, 9, -4, -7, 4, -5, -9, 1, 1,  4, 8, 1, -5, 1,  -8, -9, -7, 5,  8, -3, -8,
          -8, -7, 9, -7, 3, 2, -1, 0,  4, 6,  0,  3, -7, 8, 2, 4, 5,  -5, 5,  9,  1,  -4, 8, 5},
         -4243182},
        // Rows 3 and 6 are equal: the elimination meets an exactly zero pivot.
        {8,
         {-2, -5, 5, -1, -2, 8,  -6, 0, 5,  1,  -2, -1, 2,  6,  9, 5,  3,  -7, 0, -9, -4, -2,
          4,  2,  9, 0,  4,  0,  5,  5, -3, -3, -4, 2,  -3, 8,  0, 5,  7,  1,  3, -7, 0,  -9,
          -4, -2, 4, 2,  3,  -9, -3, 9, 9,  2,  -1, 1,  2,  -9, 2, -6, -2, -1, 9, 8},
         0},
        {10,
         {8,  4,  7,  5, -2, 5, -4, 8, 1,  0,  3,  -4, -6, 4,  1,  4,  -1, -1, -9, 3,  -2, -8, -2, -9, 9,
          -5, -8, 4,  8, -4, 8, -5, 2, 3,  -6, -6, 6,  0,  -6, 6,  -3, -4, 3,  -5, -1, 4,  -1, 1,  -4, 7,
          -9, -8, -3, 4, 6,  1, 6,  4, -8, 2,  1,  4,  -3, -3, -2, -3, 9,  -8, 6,  0,  0,  -9, 0,  7,  8,
          -1, -2, 7,  5, 9,  4, 9,  5, -7, -1, -2, 4,  -1, 6,  -8, -4, 6,  5,  5,  0,  -9, 1,  -9, -1, -3},
         -8975556240},
    };
    for (const auto& c : cases) {
        ErrStat err;
        const double det = matrixDeterminant(squareOf(c.n, c.a), err);
        EXPECT_FALSE(err.failed()) << c.n;
        if (c.det == 0 || c.n <= 3) {
            EXPECT_EQ(det, c.det) << c.n;
        } else {
            EXPECT_NEAR(det, c.det, std::fabs(c.det) * 1e-12) << c.n;
        }
    }
}

TEST(MatrixMath, InversesAndSolutionsMatchReferenceValues) {
    const struct {
        int n;
        std::vector<double> a;
        std::vector<double> inverse;
    } inverses[] = {
        {2, {4, 7, 2, 6}, {0.6, -0.7, -0.2, 0.4}},
        {3,
         {-9, -1, 5, 7, -4, -2, -8, -8, -6},
         {-0.014035087719298234, 0.080701754385964913, -0.038596491228070171, -0.10175438596491232, -0.1649122807017544,
          -0.029824561403508781, 0.15438596491228071, 0.11228070175438597, -0.075438596491228069}},
        {7,
         {-4, -9, -7, 8,  8, 6, -8, 2, -9, -6, -7, 8,  5, 5,  8, 2, -8, -7, 3, -3, 3,  -3, 1,  7, -9,
          1,  4,  -4, -1, 5, 8, 1,  9, -4, 3,  -2, -7, 4, -3, 1, 2, 2,  7,  8, -1, -7, -3, -1, 2},
         {0.15181398965967824,   -0.11726943647763134,   0.01507222777801762,     -0.1101393664422823,
          0.039771516341158109,  0.3060695532224551,     0.29181564754700801,     -0.040156663425550833,
          0.068526163563284767,  -0.068708346446729546,  0.030339338133509794,    0.0143005481880654,
          -0.18720757511349492,  -0.0024441138419045308, 0.057630749699883153,    -0.071377360324724248,
          -0.025382070294884599, -0.030914287917765088,  0.046390135062400528,    0.18659983702829011,
          0.12902588959624905,   0.05257811870427101,    -0.015886393617087602,   -0.069769579060559778,
          -0.085322086176429224, 0.026528968117533594,   0.048767979591822608,    0.095477223329661243,
          0.031715754062805301,  0.018967108485173568,   0.019506730029673413,    0.011113386793657452,
          0.059822255082359846,  -0.016365287533772529,  -0.00095617150867515432, 0.046215571995373621,
          0.10567715576728896,   -0.18900446636693854,   -0.028252662952660396,   -0.0016345660733908367,
          -0.038699200357992854, 0.18882182167643816,    -0.087202102699885695,   0.12633655620780671,
          -0.10004611143450434,  -0.047410266848279994,  0.0085600555830972255,   -0.10232282021874418,
          -0.019918431019764656}},
    };
    for (const auto& c : inverses) {
        ErrStat err;
        const Matrix inverse = matrixInverse(squareOf(c.n, c.a), err);
        EXPECT_FALSE(err.failed()) << c.n;
        EXPECT_LE(largestDifference(inverse.values, c.inverse), 1e-12) << c.n;
    }
    const struct {
        int n;
        std::vector<double> augmented;
        std::vector<double> x;
    } systems[] = {
        {2, {2, 1, 5, 1, -1, 1}, {2, 1}},
        {3, {1, 2, -2, 9, -9, -7, 0, 6, 3, -9, 8, 3}, {4.6034482758620694, -6.7758620689655178, -8.9741379310344822}},
        {6,
         {2,  1,  1, -5, -6, -5, 8, -2, 3,  0,  7,  -7, -2, -1, 7, -8, 2, 0,  -3, 1, -4,
          -2, -9, 0, -6, 1,  -1, 0, 4,  -6, -4, -5, -7, -4, -6, 9, -4, 0, -8, 4,  3, -6},
         {0.39950098089632963, 0.13201150410452778, 1.665238176866084, 0.59360417499952323, 1.7610803192198536,
          -3.7876502295106946}},
        {8,
         {-4, 0,  -1, -1, 9, -6, -5, -5, 0, -5, 3,  5,  3,  5,  -6, 7, -9, -3, 3, 0,  4,  4, -7, 1,
          4,  7,  8,  -9, 8, 4,  -6, -7, 0, 0,  6,  -2, -8, -1, -4, 5, -2, -8, 2, -9, -7, 8, -9, 0,
          8,  -2, -1, -7, 8, 0,  -3, 3,  1, 7,  -8, -2, 0,  -7, 7,  5, 6,  -4, 4, 4,  1,  6, -3, 9},
         {10.457955363120298, 2.8880114762734297, 0.76166205432562373, -7.6481898964239186, -5.2053066522656204,
          -10.880856670972838, -0.57567807368560542, -2.7259046173016834}},
    };
    for (const auto& c : systems) {
        ErrStat err;
        const Matrix x = matrixSolve(Matrix(c.n, c.n + 1, c.augmented), err);
        EXPECT_FALSE(err.failed()) << c.n;
        EXPECT_EQ(x.rows, c.n);
        EXPECT_EQ(x.cols, 1);
        EXPECT_LE(largestDifference(x.values, c.x), 1e-12) << c.n;
    }
}

TEST(MatrixMath, ElementwiseProductsAndPowers) {
    ErrStat err;
    const Matrix a(2, 3, {8, -6, -2, -5, -1, -2});
    const Matrix b(3, 2, {7, 6, 1, -1, -9, -1});
    const Matrix tall(3, 2, {1, 2, 3, 4, 5, 6});
    const struct {
        const char* what;
        Matrix result;
        Matrix expected;
    } cases[] = {
        {"product", matrixProduct(a, b, err), Matrix(2, 2, {68, 56, -18, -27})},
        {"sum", matrixSum(b, tall, false, err), Matrix(3, 2, {8, 8, 4, 3, -4, 5})},
        {"difference", matrixSum(b, tall, true, err), Matrix(3, 2, {6, 4, -2, -5, -14, -7})},
        {"scalar", matrixScalar(tall, -0.5, err), Matrix(3, 2, {-0.5, -1, -1.5, -2, -2.5, -3})},
        {"transpose", matrixTranspose(a, err), Matrix(3, 2, {8, -5, -6, -1, -2, -2})},
        {"power 5", matrixPower(Matrix(3, 3, {8, 6, -4, -7, -4, -7, 0, -8, 1}), 5.9, err),
         Matrix(3, 3, {-50896, -9528, 11110, 6748, -45880, -2261, -6552, 1160, -51519})},
        {"power 1 is a copy", matrixPower(Matrix(2, 2, {1, 2, 3, 4}), 1, err), Matrix(2, 2, {1, 2, 3, 4})},
        // A billion products would never finish; by squaring it is immediate.
        {"power 1e9", matrixPower(Matrix(2, 2, {1, 1, 0, 1}), 1e9, err), Matrix(2, 2, {1, 1e9, 0, 1})},
        {"identity power", matrixPower(Matrix::identity(90), 1e300, err), Matrix::identity(90)},
        {"cross", crossProduct(Matrix(1, 3, {1, 2, 3}), Matrix(1, 3, {4, 5, 6}), err), Matrix(1, 3, {-3, 6, -3})},
        {"cross of axes", crossProduct(Matrix(1, 3, {1, 0, 0}), Matrix(1, 3, {0, 1, 0}), err), Matrix(1, 3, {0, 0, 1})},
        {"homogeneous cross", crossProduct(Matrix(1, 4, {1, 2, 3, 1}), Matrix(1, 4, {4, 5, 6, 1}), err),
         Matrix(1, 4, {-3, 6, -3, 1})},
    };
    EXPECT_FALSE(err.failed());
    for (const auto& c : cases) EXPECT_EQ(c.result, c.expected) << c.what;
    EXPECT_EQ(dotProduct(Matrix(1, 3, {1, 2, 3}), Matrix(1, 3, {4, 5, 6}), err), 32);
    EXPECT_EQ(dotProduct(Matrix(3, 1, {1, 2, 3}), Matrix(3, 1, {-1, 0, 2}), err), 5);
}

TEST(MatrixMath, FailuresCarryTheirMatrixMessageAndRoutine) {
    using M = L07;
    namespace R = origins::matrix;
    const Matrix square2(2, 2, {1, 2, 2, 4});
    const Matrix row3(1, 3, {1, 2, 3});
    const Matrix long1(8189, 1, std::vector<double>(8189, 1.0));
    Matrix twinRows = Matrix::identity(9);
    for (int j = 0; j < 9; ++j) twinRows(4, j) = twinRows(0, j);
    const struct {
        const char* what;
        std::function<void(ErrStat&)> run;
        Origin routine;
        M message;
    } cases[] = {
        {"sum of unequal sizes", [&](ErrStat& e) { matrixSum(square2, row3, false, e); }, R::kSum, M::SizesDiffer},
        {"product of unfit sizes", [&](ErrStat& e) { matrixProduct(row3, row3, e); }, R::kProduct,
         M::ColumnsMustEqualRows},
        {"product beyond an Array Area", [&](ErrStat& e) { matrixProduct(long1, matrixTranspose(long1, e), e); },
         R::kProduct, M::InsufficientMemory},
        {"overflowing scalar", [&](ErrStat& e) { matrixScalar(row3, 1e308, e); }, R::kScalar, M::CannotCompute},
        {"power of a row", [&](ErrStat& e) { matrixPower(row3, 2, e); }, R::kPower, M::NotSquare},
        {"power 0", [&](ErrStat& e) { matrixPower(square2, 0.99, e); }, R::kPower, M::CannotCompute},
        {"power NaN", [&](ErrStat& e) { matrixPower(square2, std::nan(""), e); }, R::kPower, M::CannotCompute},
        {"overflowing power", [&](ErrStat& e) { matrixPower(square2, 1e6, e); }, R::kPower, M::CannotCompute},
        {"transpose of nothing", [&](ErrStat& e) { matrixTranspose(Matrix(0, 3), e); }, R::kTranspose, M::IllegalSize},
        {"determinant of a row", [&](ErrStat& e) { matrixDeterminant(row3, e); }, R::kDeterminant, M::NotSquare},
        {"determinant of 1 x 1", [&](ErrStat& e) { matrixDeterminant(Matrix(1, 1, {5}), e); }, R::kDeterminant,
         M::NotSquare},
        {"inverse of 1 x 1", [&](ErrStat& e) { matrixInverse(Matrix(1, 1, {5}), e); }, R::kInverse, M::CannotCompute},
        {"inverse of a row", [&](ErrStat& e) { matrixInverse(row3, e); }, R::kDeterminant, M::NotSquare},
        {"inverse of a singular 2 x 2", [&](ErrStat& e) { matrixInverse(square2, e); }, R::kInverse, M::NoInverse},
        {"inverse of a singular 9 x 9", [&](ErrStat& e) { matrixInverse(twinRows, e); }, R::kInverse, M::NoInverse},
        {"solve of a square", [&](ErrStat& e) { matrixSolve(square2, e); }, R::kSolve, M::NotAugmented},
        {"solve of one equation",
         [&](ErrStat& e) {
             matrixSolve(Matrix(1, 2, {2, 4}), e);
         },
         R::kDeterminant, M::NotSquare},
        {"solve of a singular 2 x 3",
         [&](ErrStat& e) {
             matrixSolve(Matrix(2, 3, {1, 2, 3, 2, 4, 6}), e);
         },
         R::kSolve, M::NoSolution},
        {"solve of a singular 9 x 10",
         [&](ErrStat& e) {
             Matrix aug(9, 10);
             for (int i = 0; i < 9; ++i) {
                 for (int j = 0; j < 9; ++j) aug(i, j) = twinRows(i, j);
             }
             matrixSolve(aug, e);
         },
         R::kSolve, M::NoSolution},
        {"cross of unequal shapes", [&](ErrStat& e) { crossProduct(row3, Matrix(1, 4), e); }, R::kCrossProduct,
         M::CannotCompute},
        {"cross without rows", [&](ErrStat& e) { crossProduct(Matrix(0, 3), Matrix(0, 3), e); }, R::kCrossProduct,
         M::IllegalSize},
        {"cross of 2 x 2", [&](ErrStat& e) { crossProduct(square2, square2, e); }, R::kCrossProduct, M::NotOneByThree},
        {"dot of unequal shapes", [&](ErrStat& e) { dotProduct(row3, Matrix(3, 1), e); }, R::kDotProduct,
         M::SizesDiffer},
        {"dot without columns", [&](ErrStat& e) { dotProduct(Matrix(1, 0), Matrix(1, 0), e); }, R::kDotProduct,
         M::IllegalSize},
        {"dot of 2 x 2", [&](ErrStat& e) { dotProduct(square2, square2, e); }, R::kDotProduct, M::NotVector},
    };
    for (const auto& c : cases) {
        ErrStat err;
        c.run(err);
        EXPECT_TRUE(err.failed()) << c.what;
        EXPECT_EQ(err.savedLetter, kLetterLib) << c.what;
        EXPECT_EQ(err.savedModule, kMatrixLibrary) << c.what;
        EXPECT_EQ(err.savedRoutine, c.routine.routine) << c.what;
        EXPECT_EQ(err.savedCode, static_cast<int32_t>(c.message)) << c.what;
    }
}

// Random non-singular matrices up to the largest an Array Area holds: the inverse undoes the matrix and
// the determinants are reciprocal, on both sides of the cofactor limit.
TEST(MatrixMath, InverseUndoesRandomMatrices) {
    std::mt19937 random(2024);
    std::uniform_real_distribution<double> value(-1.0, 1.0);
    const int sizes[] = {2, 3, 4, 5, 6, 7, 8, 12, 20, 33, 47, 64, 77, 90};
    for (int n : sizes) {
        for (int round = 0; round < 3; ++round) {
            Matrix a(n, n);
            for (double& v : a.values) v = value(random);
            ErrStat err;
            const Matrix inverse = matrixInverse(a, err);
            ASSERT_FALSE(err.failed()) << n;
            const Matrix unit = matrixProduct(a, inverse, err);
            EXPECT_LE(largestDifference(unit.values, Matrix::identity(n).values), 1e-9) << n;
            const double product = matrixDeterminant(a, err) * matrixDeterminant(inverse, err);
            EXPECT_NEAR(product, 1.0, 1e-9) << n;
        }
    }
}

// The reversal matrix has zeros wherever elimination without row exchanges would pivot.
TEST(MatrixMath, ZeroLeadingElementsNeedRowExchanges) {
    for (int n : {3, 7, 90}) {
        Matrix reversal(n, n);
        for (int i = 0; i < n; ++i) reversal(i, n - 1 - i) = 1.0;
        ErrStat err;
        EXPECT_EQ(matrixInverse(reversal, err), reversal) << n;
        EXPECT_EQ(std::fabs(matrixDeterminant(reversal, err)), 1.0) << n;
        EXPECT_FALSE(err.failed()) << n;
    }
}

TEST(MatrixMath, HomogeneousTransformsMovePointsAsRows) {
    constexpr double kQuarter = std::numbers::pi / 2;
    ErrStat err;
    const Matrix moveAndTurn = matrixProduct(translation4(10, 20, 30), rotationZ4(kQuarter), err);
    const Matrix back = matrixInverse(moveAndTurn, err);
    Matrix perspective = Matrix::identity(4);
    perspective(3, 3) = 2.0;
    const struct {
        const char* what;
        Point3 moved;
        Point3 expected;
    } cases[] = {
        {"about z", transformPoint(rotationZ4(kQuarter), {1, 0, 0}), {0, 1, 0}},
        {"about x", transformPoint(rotationX4(kQuarter), {0, 1, 0}), {0, 0, 1}},
        {"about y", transformPoint(rotationY4(kQuarter), {0, 0, 1}), {1, 0, 0}},
        {"translated", transformPoint(translation4(1, -2, 3), {1, 1, 1}), {2, -1, 4}},
        {"translated, then turned", transformPoint(moveAndTurn, {1, 0, 0}), {-20, 11, 30}},
        {"and back", transformPoint(back, transformPoint(moveAndTurn, {4, 5, 6})), {4, 5, 6}},
        {"divided by w", transformPoint(perspective, {2, 4, 6}), {1, 2, 3}},
    };
    EXPECT_FALSE(err.failed());
    for (const auto& c : cases) {
        for (std::size_t i = 0; i < 3; ++i) EXPECT_NEAR(c.moved[i], c.expected[i], 1e-12) << c.what << " " << i;
    }
}

}  // namespace
}  // namespace qx
