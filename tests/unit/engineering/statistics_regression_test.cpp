#include <gtest/gtest.h>

#include <cmath>
#include <string>

#include "core/messages.h"
#include "unit/engineering/engineering_fixture.h"

namespace qx::test {
namespace {

class Regression : public EngineeringFixture, public ::testing::Test {
  public:
    // y in column 1, x in column 2.
    Regression() { fill({{1, 1, "@Table(6,2,2.1,1,3.9,2,6.2,3,7.8,4,10.1,5,12.2,6)"}}); }
};

TEST_F(Regression, MatchesReferenceFit) {
    // Computed independently at 50 digits from the same doubles.
    const ValueCase cases[] = {
        {"Correl([1,1],1,2)", 0.999104932480818},
        {"correl([1,1],1,2)", 0.999104932480818},
        {"Covar([1,1],1,2)", 5.891666666666667},
        {"covar([1,1],1,2)", 7.069999999999999},
        {"Rsq([1,1],1,2)", 0.9982106661074999},
        {"rsq([1,1],1,2)", 0.9982106661074999},
        {"Slope([1,1],1,2)", 2.02},
        {"Intercept([1,1],1,2)", -0.019999999999999664},
        {"SSY([1,1],1)", 71.535},
        {"SSE([1,1],1,2)", 0.12800000000000003},
        {"SSR([1,1],1,2)", 71.407},
        {"MSY([1,1],1)", 14.306999999999999},
        {"MSE([1,1],1,2)", 0.03200000000000001},
        {"MSR([1,1],1,2)", 71.407},
        {"StdDevErr([1,1],1,2)", 0.1788854381999832},
        {"FTS([1,1],1,2)", 2231.468749999999},
        {"seSlope([1,1],1,2)", 0.042761798705987904},
        {"seIntercept([1,1],1,2)", 0.16653327995729064},
        {"tSlope([1,1],1,2)", 47.238424508021},
        {"tIntercept([1,1],1,2)", -0.12009611535381332},
        // Both p-values with the residuals' n − 2 = 4 degrees of freedom.
        {"pSlope([1,1],1,2)", 1.2013602560215744e-06},
        {"pIntercept([1,1],1,2)", 0.9101975420327227},
    };
    for (const ValueCase& c : cases) {
        const Outcome o = eval(c.text);
        EXPECT_EQ(o.code, 0) << c.text;
        EXPECT_NEAR(o.value, c.value, 1e-11 * std::fabs(c.value)) << c.text;
    }
}

TEST_F(Regression, LineFarFromTheOrigin) {
    // y = 3x + 5 exactly, x near a million: the fit must not lose the slope to cancellation.
    enter(2, 1, "@Table(4,2,3000008,1000001,3000011,1000002,3000014,1000003,3000017,1000004)");
    EXPECT_DOUBLE_EQ(eval("Slope([2,1],1,2)").value, 3.0);
    EXPECT_NEAR(eval("Intercept([2,1],1,2)").value, 5.0, 1e-8);
    EXPECT_DOUBLE_EQ(eval("Correl([2,1],1,2)").value, 1.0);
    EXPECT_EQ(eval("SSE([2,1],1,2)").value, 0.0);
}

TEST_F(Regression, FailuresReportTheirMessage) {
    fill({{2, 1, "@Table(2,2,1,1,2,2)"},
          {3, 1, "@Table(3,2,1,5,2,5,3,5)"},
          {4, 1, "@Table(3,2,1,1,2,2,3,3)"},
          {5, 1, "@Table(1,1,7)"}});
    const FailCase cases[] = {
        {"Covar([2,1],1,2)", codeOf(SMsg::SampleSizeOutOfRange)},
        {"Correl([2,1],1,2)", codeOf(SMsg::SampleSizeOutOfRange)},
        {"MSE([2,1],1,2)", codeOf(SMsg::SampleSizeOutOfRange)},
        {"pSlope([2,1],1,2)", codeOf(SMsg::SampleSizeOutOfRange)},
        {"MSY([5,1],1)", codeOf(SMsg::SampleSizeOutOfRange)},
        {"Slope([3,1],1,2)", codeOf(SMsg::DivideByZero)},  // x constant
        {"seIntercept([3,1],1,2)", codeOf(SMsg::DivideByZero)},
        {"Correl([3,1],1,2)", codeOf(SMsg::DivideByZero)},
        {"tSlope([4,1],1,2)", codeOf(SMsg::DivideByZero)},  // a perfect fit has no error
        {"FTS([4,1],1,2)", codeOf(SMsg::DivideByZero)},
        {"pIntercept([4,1],1,2)", codeOf(SMsg::DivideByZero)},
        {"SSY([1,1],1,2)", codeOf(Msg::WrongParameters)},
        {"Slope([1,1],1)", codeOf(Msg::WrongParameters)},
        {"Slope([1,1],1,0)", codeOf(Msg::IncompleteObject)},
        {"Slope([1,1],3,1)", codeOf(Msg::IncompleteObject)},
        {"Rsq([9,9],1,2)", codeOf(Msg::IllegalReference)},
    };
    expectFailures(cases);
}

}  // namespace
}  // namespace qx::test
