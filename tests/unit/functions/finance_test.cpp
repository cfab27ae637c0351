#include <gtest/gtest.h>

#include <cmath>

#include "function_fixture.h"

namespace qx {
namespace {

using test::FailCase;
using test::FunctionFixture;
using test::ValueCase;

// Reference values computed independently with Python's math module.
TEST(FinanceFamily, TextbookLoanAndSavingsValues) {
    FunctionFixture fx;
    const ValueCase cases[] = {
        {"fv(159,0.09/12,36)", 6543.281863430578},          {"pv(100,0.1,2)", 173.55371900826455},
        {"cterm(0.0075,6543.28,5000)", 36.001087012040436}, {"term(100,0.1,331)", 3},
        {"rate(200,100,2)", 0.41421356237309515},           {"rate(100,100,5)", 0},
    };
    fx.expectValues(cases, 1e-9);
}

// Small rates lose nothing to forming 1 + i, and rates below 1.1e-16 still compute. References are
// 50-digit evaluations of the same formulas.
TEST(FinanceFamily, SmallRatesKeepTheirAccuracy) {
    FunctionFixture fx;
    const ValueCase cases[] = {
        {"fv(100,1e-9,360)", 36000.006462000771},     {"pv(100,1e-9,360)", 35999.993502000784},
        {"pmt(1000,1e-7,360)", 2.7778279169666643},   {"cterm(1e-12,2,1)", 693147180560.29188},
        {"term(100,1e-6,50000)", 499.87529158852708}, {"fv(100,1e-17,360)", 36000.00000000006},
        {"pmt(1000,-1e-17,12)", 83.333333333333328},  {"fv(100,0.05,10)", 1257.7892535548828},
        {"pmt(10000,0.01,12)", 888.48788678341707},
    };
    for (const ValueCase& c : cases) {
        const double v = fx.eval(c.text).value;
        EXPECT_NEAR(v, c.value, std::fabs(c.value) * 2e-15) << c.text;
    }
}

// A zero interest, present value, payment or term fails instead of storing a value that is no number.
TEST(FinanceFamily, ZeroDivisorsFailWithDividingByZero) {
    FunctionFixture fx;
    for (const char* text : {"fv(1,0,3)", "pv(1,0,3)", "pmt(1,0,3)", "pmt(1,0.1,0)", "rate(1,0,3)", "rate(1,2,0)",
                             "cterm(0,1,2)", "cterm(0.1,1,0)", "term(0,0.1,1)", "term(1,0,1)"}) {
        EXPECT_EQ(fx.eval(text).code, 3) << text;
    }
}

TEST(FinanceFamily, BadArgumentsAndCounts) {
    FunctionFixture fx;
    const FailCase cases[] = {
        {"cterm(0.1,-1,1)", 37}, {"term(1,0.1,-20)", 37}, {"cterm(-2,2,1)", 37},
        {"rate(-1,1,3)", 37},    {"fv(1,2)", 29},         {"fv()", 29},
        {"fv(1,2,3,4)", 17},     {"pmt(1,2,\"x\")", 55},
    };
    fx.expectFailures(cases);
}

}  // namespace
}  // namespace qx
