#include "formula/evaluator.h"

#include <gtest/gtest.h>

#include <new>
#include <string>

#include "formula/formula_codes.h"
#include "formula_fixture.h"

namespace qx {
namespace {

using test::FormulaFixture;
using test::ValueCase;

struct FailCase {
    const char* text;
    Msg code;
    int position;
};

TEST(Evaluator, PrecedenceGroupingOperatorsAndConditionals) {
    FormulaFixture fx;
    const ValueCase cases[] = {
        {"(1+2)*3", 9},
        {"10-4-3", 3},
        {"2**-1", 0.5},
        {"2*3**2", 18},
        {"7.9%3.9", 1},
        {"1<<-1", -2147483648.0},
        {"-8>>1", -4},
        {"-1>>40", -1},
        {"6&3", 2},
        {"6|3", 7},
        {"!2", 0},
        {"0.5&&1", 1},
        {"0&&1", 0},
        {"0||0.1", 1},
        {"3>2", 1},
        {"3>=3", 1},
        {"2<=1", 0},
        {"1<2==1", 1},
        {"1!=1", 0},
        {"1+2<<1", 6},
        {"5&3==3", 1},
        {"++5", 5},
        {"+ + 5", 5},
        {"-(2+3)", -5},
        {"1e+3+1", 1001},
        {"'A'+1", 66},
        {"(1+2", 3},
        {"1+2)", 3},
        {"4/2/2", 1},
        {"3000000000&1", 1},
        {"1e+10|0", 2147483647},  // huge operands saturate to the 32-bit range
        {"-1e+10|0", -2147483648.0},
        {"1;", 1},
        {"(0.5)?1:2", 1},
        {"0?1:2", 2},
        {"1?2:3;+4", 6},
        {"0?1:0?2:3", 3},
        {"1?0?7:8:9", 8},
        {"1+(1?2:3)*2", 5},
    };
    fx.expectValues(cases);
    EXPECT_EQ(fx.eval("0?2:5/0").code, Msg::DividingByZero);  // the false branch runs
}

TEST(Evaluator, FailuresCarryCodeAndPosition) {
    FormulaFixture fx;
    const FailCase cases[] = {
        {"", Msg::SyntaxError, 0},
        {"5%0.5", Msg::DividingByZero, 1},
        {"1 2", Msg::SyntaxError, 2},
        {"1e5", Msg::IllegalOperator, 1},
        {"2 $ 3", Msg::IllegalOperator, 2},
        {"1+$2", Msg::IllegalCharacter, 2},
        {"sin(30)", Msg::UndefinedFunction, 0},
        {"1+sin(30", Msg::UndefinedFunction, 2},
        {"1+sin 30", Msg::MissingBracket, 2},
        {"@Sum(1)+1", Msg::AtFunctionInExpression, 0},
        {"[%]+=1", Msg::AssignmentError, 3},
        {"1,2", Msg::SyntaxError, 1},
        {"[0,0]", Msg::RowOutOfRange, 1},  // the first range error wins
        {"[1,1,1,1,1]", Msg::MissingBracket, 8},
        {"[1,1", Msg::MissingBracket, 4},
        {"-1e+308-1e+308", Msg::ExceedsInfinity, 14},
    };
    for (const auto& c : cases) {
        const auto o = fx.eval(c.text);
        EXPECT_EQ(o.code, c.code) << c.text;
        EXPECT_EQ(o.position, c.position) << c.text;
    }
}

TEST(Evaluator, OverflowAndNotANumberResults) {
    FormulaFixture fx;
    auto o = fx.eval("1e+308*10");
    EXPECT_EQ(o.value, 1.7e308);
    o = fx.eval("-1.#INF");
    EXPECT_EQ(o.code, Msg::ExceedsInfinity);
    EXPECT_EQ(o.value, -1.7e308);
    o = fx.eval("1e+308*10-1e+308*10");
    EXPECT_EQ(o.code, Msg::ExceedsInfinity);  // the first operand already overflows
    // NaN must fail instead of slipping past the infinity test.
    o = fx.eval("(-1)**0.5");
    EXPECT_EQ(o.code, Msg::UnableToCompute);
    EXPECT_EQ(o.value, 0.0);
}

TEST(Evaluator, DeepNestingFailsInsteadOfExhaustingTheStack) {
    FormulaFixture fx;
    const std::string ok = std::string(150, '(') + "1" + std::string(150, ')');
    EXPECT_EQ(fx.eval(ok).code, 0);
    const std::string deep = std::string(5000, '(') + "1" + std::string(5000, ')');
    EXPECT_EQ(fx.eval(deep).code, Msg::UnableToCompute);
}

TEST(Evaluator, ReadsCellsByTheReadRule) {
    FormulaFixture fx;
    fx.fill({{1, 1, "+7"}, {1, 2, "AB"}});
    fx.enter(2, 1, "+5/0");  // failed
    const ValueCase cases[] = {
        {"[1,1]", 7},    {"[1,1,0]", 7},   {"[1,2,2]", 66}, {"[1,2,3]", 127}, {"[1,1,,2]", 0},
        {"[1,1,,1]", 7}, {"[1+0,2-1]", 7}, {"[$1,$1]", 7},  {"[ 1 , 1 ]", 7}, {"[1,1,1]", 0},
    };
    fx.expectValues(cases);
}

TEST(Evaluator, AssignmentsStoreThroughRegistersAndTextualAddresses) {
    FormulaFixture fx;
    fx.enter(1, 1, "ABC");
    EXPECT_DOUBLE_EQ(fx.eval("[*]=5").value, 5);
    EXPECT_DOUBLE_EQ(fx.eval("[*]=2=3").value, 3);  // groups from the left: both go into [*]
    EXPECT_DOUBLE_EQ(fx.eval("([*]=6)+[*]*0").value, 6);
    EXPECT_DOUBLE_EQ(fx.eval("[*]+=2").value, 2);
    EXPECT_DOUBLE_EQ(fx.eval("[$]<<=3").value, 0);
    EXPECT_EQ(fx.eval("[#]/=0").code, Msg::DividingByZero);
    EXPECT_DOUBLE_EQ(fx.eval("[1,1,2]='x'").value, 'x');
    EXPECT_EQ(fx.text(1, 1), "AxC");
    fx.eval("[1,1,1]=7");  // control codes become '^'
    EXPECT_EQ(fx.text(1, 1), "^xC");
    fx.eval("[1,1,9]=65");  // beyond the text: nothing happens
    EXPECT_EQ(fx.text(1, 1), "^xC");
    EXPECT_TRUE(fx.cell(1, 1)->dependentsMark);  // the written Label is now recalc-pending
    fx.cell(1, 1)->set(cellflag::kProtectCell);
    EXPECT_EQ(fx.eval("[1,1,2]='q'").code, Msg::ProtectedCell);
    EXPECT_EQ(fx.text(1, 1), "^xC");
}

// Answers every call with 1, or runs out of memory inside the call when armed.
class FailingFunctions final : public FunctionDispatcher {
  public:
    double call(CallRecord&, ErrStat& err) override {
        err.enter();
        if (armed) throw std::bad_alloc();
        return 1.0;
    }
    bool armed = false;
};

TEST(Evaluator, AnAllocationFailureInsideACallLeavesEveryTextWhole) {
    const char* formulas[] = {"+1+f(2)+3", "+f(g(1))*2", "+[1,1^1,2{f([@])}]", "+0?1:f(1)", "+1?f(1):2"};
    for (const char* formula : formulas) {
        FormulaFixture fx;
        FailingFunctions functions;
        fx.engine.evaluator().setDispatcher(&functions);
        fx.enter(1, 1, "+4");
        fx.enter(2, 1, formula);
        const std::string stored = fx.text(2, 1);
        ASSERT_FALSE(stored.empty()) << formula;
        functions.armed = true;
        ErrStat err;
        EXPECT_THROW(fx.engine.evaluator().evaluateFormula(fx.cell(2, 1), fx.cell(2, 1)->text, err), std::bad_alloc)
            << formula;
        EXPECT_EQ(fx.text(2, 1), stored) << formula;
        // Nothing the call raised is left behind: a division by zero fails again, as outside a branch.
        functions.armed = false;
        EXPECT_EQ(fx.eval("1/0").code, codeOf(Msg::DividingByZero)) << formula;
        EXPECT_DOUBLE_EQ(fx.eval("f(1)+1").value, 2.0) << formula;
    }
}

}  // namespace
}  // namespace qx
