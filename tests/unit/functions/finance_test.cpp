#include <gtest/gtest.h>

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
