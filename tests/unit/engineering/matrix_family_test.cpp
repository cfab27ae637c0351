#include "engineering/matrix/matrix_family.h"

#include <gtest/gtest.h>

#include <cmath>
#include <string>
#include <vector>

#include "core/cell_store.h"
#include "core/formula_flags.h"
#include "core/object_kind.h"
#include "engineering/matrix/matrix_math.h"
#include "engineering/matrix/origins.h"
#include "engineering_fixture.h"
#include "unit/core/array_area_reader.h"

namespace qx {
namespace {

using test::arrayOf;
using test::EngineeringFixture;
using test::kindOf;

void expectArrayNear(const std::vector<double>& actual, const std::vector<double>& expected, const std::string& what) {
    ASSERT_EQ(actual.size(), expected.size()) << what;
    for (std::size_t i = 0; i < actual.size(); ++i) EXPECT_NEAR(actual[i], expected[i], 1e-12) << what << " " << i;
}

// A point list as the coordinate functions leave it in a cell; they are not part of this family.
void placePoints(EngineeringFixture& fx, int row, int col, ObjectKind kind, bool threeD, std::vector<double> xy) {
    fx.enter(row, col, "@Matrix()");
    CellRec* cell = fx.cell(row, col);
    uint32_t& flags = cell->formula->flags;
    flags = formulaflag::withOption(formulaflag::withObjectKind(flags, kind), threeD);
    ErrStat err;
    const int n = static_cast<int>(xy.size());
    fx.store.setArraySize(cell, n, err);
    fx.store.setArrayElements(cell, xy.data(), 0, n - 1, err);
    ASSERT_FALSE(err.failed());
}

// Matrices the cases read: A and B 2 x 2, two 1 x 3 rows, an augmented 2 x 3 system, a singular 2 x 2,
// a number and a matrix cell whose array is empty.
void fillOperands(EngineeringFixture& fx) {
    fx.fill({{1, 1, "@Matrix(2,2,4,7,2,6)"},
             {1, 2, "@Matrix(2,2,1,2,3,4)"},
             {1, 3, "@Matrix(1,3,1,0,0)"},
             {1, 4, "@Matrix(1,3,0,1,0)"},
             {1, 5, "@Matrix(2,3,2,1,5,1,-1,1)"},
             {1, 6, "@Matrix(2,2,1,2,2,4)"},
             {1, 7, "5"},
             {1, 8, "@Matrix()"},
             {1, 9, "@Matrix(1,3,1,2,3)"},
             {1, 10, "@Matrix(1,3,4,5,6)"}});
}

TEST(MatrixFamily, MatrixFromItsNumbers) {
    const struct {
        const char* text;
        int code;
        int kind;
        std::vector<double> array;
    } cases[] = {
        {"@Matrix(2,2,1,2,3,4)", 0, 2, {6, 2, 2, 1, 2, 3, 4}},
        {"@Matrix(1,3,7,8,9)", 0, 2, {5, 1, 3, 7, 8, 9}},
        {"@Matrix()", 0, 2, {0}},
        {"@Matrix(2,2,1,2,3)", 29, 0, {0}},
        {"@Matrix(1)", 29, 0, {0}},
        {"@Matrix(1,1)", 29, 0, {0}},
        {"@Matrix(1,1,5)", 29, 0, {0}},  // three numbers are too few for any matrix
        {"@Matrix(0,0)", 29, 0, {0}},
        {"@Matrix(1.5,2,1,2,3)", 29, 0, {0}},
    };
    for (const auto& c : cases) {
        EngineeringFixture fx;
        EXPECT_EQ(fx.enter(3, 3, c.text).code, c.code) << c.text;
        EXPECT_EQ(kindOf(fx.cell(3, 3)), c.kind) << c.text;
        EXPECT_EQ(arrayOf(fx.cell(3, 3)), c.array) << c.text;
    }
    EngineeringFixture fx;
    EXPECT_EQ(fx.eval("@Matrix(1,2,1,1)").code, 11);  // no calling cell
    // A NULL form reads whatever numbers the cell holds, as a matrix; the table functions read it too.
    fx.enter(1, 1, "@Table(2,2,1,2,3,4)");
    EXPECT_EQ(fx.enter(1, 1, "@Matrix()").code, 0);
    EXPECT_EQ(kindOf(fx.cell(1, 1)), 2);
    EXPECT_EQ(arrayOf(fx.cell(1, 1)), (std::vector<double>{6, 2, 2, 1, 2, 3, 4}));
    EXPECT_EQ(fx.enter(2, 1, "+TableValue([1,1],2,1)").value, 3);
}

TEST(MatrixFamily, ResultsInTheCallingCell) {
    EngineeringFixture fx;
    fillOperands(fx);
    const struct {
        const char* text;
        std::vector<double> array;
    } cases[] = {
        {"@MatrixAdd([1,1],[1,2])", {6, 2, 2, 5, 9, 5, 10}},
        {"@MatrixSubtract([1,1],[1,2])", {6, 2, 2, 3, 5, -1, 2}},
        {"@MatrixProduct([1,1],[1,2])", {6, 2, 2, 25, 36, 20, 28}},
        {"@MatrixScalar([1,1],0.5)", {6, 2, 2, 2, 3.5, 1, 3}},
        {"@MatrixExponent([1,2],1)", {6, 2, 2, 1, 2, 3, 4}},
        {"@MatrixExponent([1,2],3)", {6, 2, 2, 37, 54, 81, 118}},
        {"@MatrixTranspose([1,5])", {8, 3, 2, 2, 1, 1, -1, 5, 1}},
        {"@MatrixInverse([1,1])", {6, 2, 2, 0.6, -0.7, -0.2, 0.4}},
        {"@MatrixSolve([1,5])", {4, 2, 1, 2, 1}},
        {"@MatrixCrossProduct([1,3],[1,4])", {5, 1, 3, 0, 0, 1}},
    };
    int row = 10;
    for (const auto& c : cases) {
        const auto o = fx.enter(row, 1, c.text);
        EXPECT_EQ(o.code, 0) << c.text;
        EXPECT_EQ(o.value, 0) << c.text;
        EXPECT_EQ(kindOf(fx.cell(row, 1)), 2) << c.text;
        expectArrayNear(arrayOf(fx.cell(row, 1)), c.array, c.text);
        ++row;
    }
    EXPECT_EQ(fx.enter(row++, 1, "+determinant([1,2])").value, -2);
    EXPECT_EQ(fx.enter(row++, 1, "+dotproduct([1,9],[1,10])*2").value, 64);
}

// Which message a failing call reports: the general ones for the arguments, the matrix table's for the
// computation (letter L, library 7, the operation's routine).
TEST(MatrixFamily, FailuresReportTheirMessage) {
    EngineeringFixture fx;
    fillOperands(fx);
    placePoints(fx, 2, 1, ObjectKind::Coordinate, true, {1, 2, 3});
    fx.enter(2, 2, "@MatrixInverse([1,6])");  // fails, so it holds no value to read
    const struct {
        const char* text;
        int code;
        int routine;  // of the matrix library; 0 for a general message
    } cases[] = {
        {"@MatrixSolve([1,2])", 48, 0},  // the argument check comes before the routine's own
        {"@MatrixSolve([1,3])", 48, 0},
        {"@MatrixAdd([1,1])", 29, 0},
        {"@MatrixAdd([1,1],[1,2],[1,1])", 29, 0},
        {"@MatrixInverse()", 29, 0},
        {"@MatrixScalar([1,1])", 29, 0},
        {"@MatrixAdd([1,1],[9,9])", 19, 0},
        {"@MatrixAdd([1,7],[1,1])", 19, 0},
        {"+determinant([2,1])", 19, 0},
        {"@MatrixAdd([1,1],[2,1])", 49, 0},
        {"@MatrixTranspose([1,8])", 82, 0},
        {"@MatrixTranspose([2,2])", 20, 0},
        {"@MatrixScalar([1,1],1/0)", 55, 0},
        {"@MatrixInverse([1,6])", 6, 5},
        {"@MatrixExponent([1,1],0)", 0, 11},
        {"@MatrixAdd([1,1],[1,3])", 8, 8},
        {"@MatrixProduct([1,3],[1,4])", 9, 9},
        {"@MatrixCrossProduct([1,1],[1,2])", 12, 13},
        {"+determinant([1,3])", 5, 1},
        {"+dotproduct([1,1],[1,2])", 11, 12},
    };
    int row = 10;
    for (const auto& c : cases) {
        EXPECT_EQ(fx.enter(row, 1, c.text).value, 0) << c.text;
        EXPECT_TRUE(fx.failed(row, 1)) << c.text;
        EXPECT_EQ(arrayOf(fx.cell(row, 1)), std::vector<double>{0}) << c.text;
        ErrStat err;
        std::string text = c.text;
        fx.engine.evaluator().evaluateFormula(fx.cell(row, 1), text.data(), err);
        EXPECT_EQ(err.code, c.code) << c.text;
        if (c.routine != 0) {
            EXPECT_EQ(err.savedLetter, kLetterLib) << c.text;
            EXPECT_EQ(err.savedModule, kMatrixLibrary) << c.text;
            EXPECT_EQ(err.savedRoutine, c.routine) << c.text;
        } else {
            EXPECT_NE(err.savedLetter, kLetterLib) << c.text;
        }
        ++row;
    }
    EXPECT_EQ(fx.eval("+determinant([1,2])").code, 11);  // every call needs a calling cell
}

// A cell whose matrix can no longer be computed keeps no stale elements: array released, error mark,
// value 0; and it computes again once its argument allows.
TEST(MatrixFamily, FailureReleasesTheResultUntilItComputesAgain) {
    EngineeringFixture fx;
    fx.enter(1, 1, "@Matrix(2,2,4,7,2,6)");
    fx.enter(2, 1, "@MatrixInverse([1,1])");
    EXPECT_EQ(arrayOf(fx.cell(2, 1)).size(), 7u);
    fx.enter(1, 1, "@Matrix(2,2,1,2,2,4)");
    EXPECT_TRUE(fx.failed(2, 1));
    EXPECT_EQ(fx.value(2, 1), 0);
    EXPECT_EQ(arrayOf(fx.cell(2, 1)), std::vector<double>{0});
    EXPECT_EQ(kindOf(fx.cell(2, 1)), 2);
    fx.enter(1, 1, "@Matrix(2,2,2,0,0,4)");
    EXPECT_FALSE(fx.failed(2, 1));
    EXPECT_EQ(arrayOf(fx.cell(2, 1)), (std::vector<double>{6, 2, 2, 0.5, 0, 0, 0.25}));
}

// A point list in place of the first matrix: each point computes as (x, y, 1) or (x, y, z, 1) and its
// leading values come back as the point, in a copy of the list in the calling cell.
TEST(MatrixFamily, PointListsTransformPointByPoint) {
    EngineeringFixture fx;
    placePoints(fx, 1, 1, ObjectKind::Segment, false, {1, 2, 3, 4});
    placePoints(fx, 1, 2, ObjectKind::Coordinate, true, {1, 2, 3});
    placePoints(fx, 1, 3, ObjectKind::Polygon, true, {0, 0, 0, 1, 0, 0, 1});  // not whole points
    fx.fill({{2, 1, "@Matrix(3,3,1,0,0,0,1,0,10,20,1)"},
             {2, 2, "@Matrix(4,4,0,1,0,0,-1,0,0,0,0,0,1,0,0,0,0,1)"},
             {2, 3, "@Matrix(1,3,5,5,0)"},
             {2, 4, "@Matrix(1,3,0,0,1)"}});
    const struct {
        const char* text;
        int kind;
        bool threeD;
        std::vector<double> array;
    } cases[] = {
        {"@MatrixProduct([1,1],[2,1])", 5, false, {4, 11, 22, 13, 24}},
        {"@MatrixProduct([1,2],[2,2])", 4, true, {3, -2, 1, 3}},
        {"@MatrixScalar([1,1],2)", 5, false, {4, 2, 4, 6, 8}},
        {"@MatrixAdd([1,1],[2,3])", 5, false, {4, 6, 7, 8, 9}},
        {"@MatrixTranspose([1,1])", 5, false, {4, 1, 2, 3, 4}},
        {"@MatrixCrossProduct([1,1],[2,4])", 5, false, {4, 2, -1, 4, -3}},
    };
    int row = 10;
    for (const auto& c : cases) {
        EXPECT_EQ(fx.enter(row, 1, c.text).code, 0) << c.text;
        EXPECT_EQ(kindOf(fx.cell(row, 1)), c.kind) << c.text;
        EXPECT_EQ(formulaflag::option(fx.cell(row, 1)->formula->flags), c.threeD) << c.text;
        EXPECT_EQ(arrayOf(fx.cell(row, 1)), c.array) << c.text;
        ++row;
    }
    EXPECT_EQ(arrayOf(fx.cell(1, 1)), (std::vector<double>{4, 1, 2, 3, 4}));  // the source is untouched
    EXPECT_EQ(fx.enter(row++, 1, "@MatrixInverse([1,1])").code, 5);           // a 1 x 3 point has none
    EXPECT_EQ(fx.enter(row++, 1, "@MatrixProduct([1,1],[2,2])").code, 9);
    EXPECT_EQ(fx.enter(row++, 1, "@MatrixAdd([1,3],[2,3])").code, 47);
    EXPECT_EQ(fx.enter(row, 1, "+dotproduct([1,1],[2,3])").code, 19);
}

// Argument texts from outside: whatever is typed, every function ends cleanly and leaves its text whole.
TEST(MatrixFamily, RandomArgumentTextsEndCleanly) {
    EngineeringFixture fx;
    fillOperands(fx);
    placePoints(fx, 2, 1, ObjectKind::Segment, true, {1, 2, 3, 4, 5, 6});
    const std::string alphabet = "\"[](),;'~^0123456789.-+ ,,[1,2][2,1]";
    unsigned x = 11;
    for (const FunctionEntry& e : matrixFamily()) {
        for (int round = 0; round < 40; ++round) {
            std::string args;
            const int length = 1 + round % 20 * 3;
            for (int i = 0; i < length; ++i) {
                x = x * 1103515245u + 12345u;
                args += alphabet[(x >> 16) % alphabet.size()];
            }
            const std::string call = std::string(e.name) + "(" + args + ")";
            std::string text = call;
            ErrStat err;
            fx.engine.evaluator().evaluateFormula(nullptr, text.data(), err);
            EXPECT_EQ(text, call);
            fx.enter(5 + round, 1, (e.name[0] == '@' ? "" : "+") + call);
        }
    }
}

}  // namespace
}  // namespace qx
