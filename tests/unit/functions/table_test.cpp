#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "core/cell_store.h"
#include "function_fixture.h"
#include "functions/object_values.h"
#include "unit/core/array_area_reader.h"

namespace qx {
namespace {

using test::arrayOf;
using test::FunctionFixture;
using test::kindOf;

TEST(TableFamily, NullFormTest) {
    const struct {
        const char* text;
        bool null;
    } cases[] = {
        {"@Table()", true},  {"@Matrix(  )", true}, {"@()", true},        {"@Table(1)", false},
        {"Table()", false},  {"@Table(", false},    {"@Table() ", false}, {"@)", false},
        {"@Table(()", true}, {"@f(a)", false},      {"+@Table()", false}, {"", false},
    };
    for (const auto& c : cases) EXPECT_EQ(isNullForm(c.text), c.null) << c.text;
}

TEST(TableFamily, ObjectsBuiltFromNumbers) {
    const struct {
        const char* text;
        int code;
        int kind;
        std::vector<double> array;
    } cases[] = {
        {"@Table(2,2,1,2,3,4)", 0, 19, {6, 2, 2, 1, 2, 3, 4}},
        {"@Table(1,1,7)", 0, 19, {3, 1, 1, 7}},
        {"@Table(2,1,-1,0.5)", 0, 19, {4, 2, 1, -1, 0.5}},
        {"@Table( )", 0, 19, {0}},
        {"@Table(2,2,1,2,3)", 29, 0, {0}},
        {"@Table(1)", 29, 0, {0}},
        {"@Table(1,1)", 29, 0, {0}},
        {"@Table(0,0)", 29, 0, {0}},
        {"@Table(1.5,2,1,2,3)", 29, 0, {0}},
        {"@Table(-1,-1,1)", 29, 0, {0}},
        {"@Table(1,1,2,3)", 29, 0, {0}},
    };
    for (const auto& c : cases) {
        FunctionFixture fx;
        EXPECT_EQ(fx.enter(3, 3, c.text).code, c.code) << c.text;
        EXPECT_EQ(kindOf(fx.cell(3, 3)), c.kind) << c.text;
        EXPECT_EQ(arrayOf(fx.cell(3, 3)), c.array) << c.text;
    }
    FunctionFixture fx;
    EXPECT_EQ(fx.eval("@Table()").code, 11);  // no calling cell
}

TEST(TableFamily, FailedRebuildReleasesTheOldArray) {
    FunctionFixture fx;
    fx.enter(1, 1, "@Table(1,2,5,6)");
    EXPECT_EQ(fx.enter(1, 1, "@Table(1,2,5)").code, 29);
    EXPECT_EQ(arrayOf(fx.cell(1, 1)), std::vector<double>{0});
}

TEST(TableFamily, NullFormKeepsItsArrayThroughReentryAndRecalc) {
    FunctionFixture fx;
    fx.enter(1, 1, "@Table(2,2,1,2,3,4)");
    const std::vector<double> expected{6, 2, 2, 1, 2, 3, 4};
    EXPECT_EQ(fx.enter(1, 1, "@Table()").code, 0);
    EXPECT_EQ(kindOf(fx.cell(1, 1)), 19);
    EXPECT_EQ(arrayOf(fx.cell(1, 1)), expected);
    fx.enter(2, 1, "+TableValue([1,1],2,1)");
    EXPECT_EQ(fx.value(2, 1), 3);
    fx.recalc.recalculateLevel(1);
    EXPECT_EQ(arrayOf(fx.cell(1, 1)), expected);
    EXPECT_EQ(kindOf(fx.cell(1, 1)), 19);
}

TEST(TableFamily, ReadingTables) {
    FunctionFixture fx;
    fx.fill(
        {{1, 1, "@Table(2,3,1,2,3,4,5,6)"}, {1, 2, "@Table(1,1,9)"}, {1, 3, "5"}, {1, 4, "'text"}, {1, 5, "@Table()"}});
    const struct {
        const char* text;
        double value;
        int code;
    } cases[] = {
        {"+TableRows([1,1])", 2, 0},         {"+TableCols([1,1])", 3, 0},      {"+TableValue([1,1],1,1)", 1, 0},
        {"+TableValue([1,1],2,3)", 6, 0},    {"+TableValue([1,1],1,3)", 3, 0}, {"+TableValue([1,1],3,1)", 0, 0},
        {"+TableValue([1,1],1,4)", 0, 0},    {"+TableValue([1,1],0,1)", 0, 0}, {"+TableValue([1,2],1,1)", 9, 0},
        {"+TableRows([1,3])", 0, 82},        {"+TableRows([1,4])", 0, 82},     {"+TableCols([9,9])", 0, 82},
        {"+TableCols([1,5])", 0, 82},        {"+TableRows([1,1],2)", 0, 29},   {"+TableValue([1,1],1)", 0, 31},
        {"+TableValue([1,1],1,1,1)", 0, 29}, {"+TableRows(3)", 0, 30},
    };
    int row = 10;
    for (const auto& c : cases) {
        const auto o = fx.enter(row++, 1, c.text);
        EXPECT_EQ(o.code, c.code) << c.text;
        if (c.code == 0) {
            EXPECT_EQ(o.value, c.value) << c.text;
        }
    }
}

// A stored array may claim any shape; one whose side cannot be a count is not a table.
TEST(TableFamily, OversizedSidesAreNotAShape) {
    const struct {
        std::vector<double> array;
        bool shaped;
    } cases[] = {
        {{2, 0, 1e12}, false},
        {{2, 1e12, 0}, false},
        {{2, 0, 8191}, true},
        {{3, 1, 1, 5}, true},
    };
    for (const auto& c : cases) {
        FormulaRec formula;
        formula.array = const_cast<double*>(c.array.data());
        int rows = -1;
        int columns = -1;
        EXPECT_EQ(gridShape(formula, rows, columns), c.shaped) << c.array[1] << " x " << c.array[2];
    }
}

}  // namespace
}  // namespace qx
