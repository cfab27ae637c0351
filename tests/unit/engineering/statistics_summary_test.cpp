#include <gtest/gtest.h>

#include <cmath>
#include <string>

#include "core/messages.h"
#include "unit/engineering/engineering_fixture.h"

namespace qx::test {
namespace {

class TableStatistics : public EngineeringFixture, public ::testing::Test {
  public:
    TableStatistics() {
        // Column 1 is a textbook sample (mean 5, population variance 4); column 2 counts the rows.
        fill({{1, 1, "@Table(8,2,2,1,4,2,4,3,4,4,5,5,5,6,7,7,9,8)"}});
    }
    // A one-column table of `values` in [row, 1].
    void column(int row, const std::string& values, int count) {
        enter(row, 1, "@Table(" + std::to_string(count) + ",1," + values + ")");
    }
};

TEST_F(TableStatistics, SummariesOfAKnownSample) {
    const ValueCase cases[] = {
        {"Items([1,1])", 8},
        {"Sum([1,1],1)", 40},
        {"SumSq([1,1],1)", 232},
        {"SumSqDev([1,1],1)", 32},
        {"SumPrd([1,1],1,2)", 214},
        {"SumPrdDev([1,1],1,2)", 34},
        {"Mean([1,1],1)", 5},
        {"Mean([1,1],-2)", 4.5},  // the column's sign is dropped
        {"Min([1,1],1)", 2},
        {"Max([1,1],1)", 9},
        {"Var([1,1],1)", 4},
        {"var([1,1],1)", 32.0 / 7},
        {"StdDev([1,1],1)", 2},
        {"stddev([1,1],1)", 2.138089935299395},
        {"SE([1,1],1)", 0.7559289460184545},
        {"Median([1,1],1)", 4.5},
        {"Q1([1,1],1)", 4},
        {"Q3([1,1],1)", 6},
        {"Kurtosis([1,1],1)", 2.78125},
        {"Skew([1,1],1)", 0.8184875533567997},
        {"MeanHarm([1,1],1)", 4.2017507294706125},
        {"MeanTrim([1,1],1)", 5},
        // Student's t and chi-square with the sample's n − 1 = 7 degrees of freedom.
        {"ME([1,1],1,0.95)", 1.787487918236211},
        {"ME([1,1],1,0.9)", 1.432166808094803},
        {"CIMeanL([1,1],1,0.95)", 3.212512081763789},
        {"CIMeanU([1,1],1,0.95)", 6.787487918236211},
        {"CIStdDevL([1,1],1,0.95)", 1.4136497930964342},
        {"CIStdDevU([1,1],1,0.95)", 4.351594772892835},
        {"CIMedianL([1,1],1,0.95)", 2},
        {"CIMedianU([1,1],1,0.95)", 9},
    };
    for (const ValueCase& c : cases) {
        const Outcome o = eval(c.text);
        EXPECT_EQ(o.code, 0) << c.text;
        EXPECT_NEAR(o.value, c.value, 1e-13 * std::fabs(c.value)) << c.text;
    }
}

TEST_F(TableStatistics, OrderStatisticsByCount) {
    struct Case {
        const char* values;
        int count;
        const char* function;
        double expected;
    };
    const Case cases[] = {
        {"1,3,2,4", 4, "Median", 2.5},
        {"5", 1, "Median", 5},
        {"3,1,2", 3, "Q1", 1.5},
        {"3,1,2", 3, "Q3", 3},    // odd n, odd (n − 1)/2: median of the upper half
        {"1,2,3,4", 4, "Q1", 1},  // even n with ⌈n/2⌉ = 2 takes the first value
        {"1,2,3,4", 4, "Q3", 3.5},
        {"1,2,3,4,5", 5, "Q1", 2},
        {"1,2,3,4,5", 5, "Q3", 4.5},
        {"7,6,5,4,3,2,1", 7, "Q1", 2.5},
        {"7,6,5,4,3,2,1", 7, "Q3", 6},
        {"1,2,3,4,5,6,7,8,9", 9, "Q3", 7.5},
        {"1,2,3,4,5,6,7,8,9,10,11", 11, "Q3", 9},
        {"1,2,3,4,5,6,7,8,100", 9, "MeanTrim", 136.0 / 9},  // k = 0 drops nothing
        {"100,2,3,4,5,6,7,8,9,10,11,12,13,14,15,16,17,18,19,-100", 20, "MeanTrim", 10.5},
    };
    int row = 10;
    for (const Case& c : cases) {
        column(row, c.values, c.count);
        const std::string text = std::string(c.function) + "([" + std::to_string(row) + ",1],1)";
        const Outcome o = eval(text);
        EXPECT_EQ(o.code, 0) << text << " of " << c.values;
        EXPECT_DOUBLE_EQ(o.value, c.expected) << text << " of " << c.values;
        ++row;
    }
}

TEST_F(TableStatistics, VarianceIsExactFarFromZero) {
    column(10, "1,2,3,4", 4);
    EXPECT_DOUBLE_EQ(eval("Var([10,1],1)").value, 1.25);
    EXPECT_DOUBLE_EQ(eval("var([10,1],1)").value, 5.0 / 3);
    // A sum of squares less the squared sum would cancel to nothing (or below zero) here.
    column(11, "1000000001,1000000002,1000000003", 3);
    EXPECT_DOUBLE_EQ(eval("Var([11,1],1)").value, 2.0 / 3);
    EXPECT_DOUBLE_EQ(eval("var([11,1],1)").value, 1.0);
    EXPECT_DOUBLE_EQ(eval("stddev([11,1],1)").value, 1.0);
    EXPECT_DOUBLE_EQ(eval("Skew([11,1],1)").value, 0.0);
    column(12, "1e15,1e15,1e15", 3);
    EXPECT_EQ(eval("Var([12,1],1)").value, 0.0);
}

TEST_F(TableStatistics, FailuresReportTheirMessage) {
    column(10, "4", 1);
    column(11, "1,0,2", 3);
    column(12, "1,-1", 2);
    column(13, "3,3,3", 3);
    column(14, "1" + std::string(190, '0') + ",1", 2);  // squares beyond the largest double
    fill({{15, 1, "'a label"}, {16, 1, "+2"}, {17, 1, "@Matrix(2,2,1,2,3,4)"}});
    const FailCase cases[] = {
        {"StdDev([10,1],1)", codeOf(SMsg::SampleSizeOutOfRange)},
        {"var([10,1],1)", codeOf(SMsg::SampleSizeOutOfRange)},
        {"SE([10,1],1)", codeOf(SMsg::SampleSizeOutOfRange)},
        {"ME([10,1],1,0.9)", codeOf(SMsg::SampleSizeOutOfRange)},
        {"CIMedianL([10,1],1,0.9)", codeOf(SMsg::SampleSizeOutOfRange)},
        {"Q1([12,1],1)", codeOf(SMsg::SampleSizeOutOfRange)},
        {"Q3([12,1],1)", codeOf(SMsg::SampleSizeOutOfRange)},
        {"Skew([12,1],1)", codeOf(SMsg::SampleTooSmall)},
        {"Skew([13,1],1)", codeOf(SMsg::DivideByZero)},
        {"Kurtosis([13,1],1)", codeOf(SMsg::DivideByZero)},
        {"MeanHarm([11,1],1)", codeOf(SMsg::DivideByZero)},
        {"MeanHarm([12,1],1)", codeOf(SMsg::DivideByZero)},
        {"SumSq([14,1],1)", codeOf(SMsg::OverflowError)},
        {"CIMeanL([1,1],1,1.5)", codeOf(SMsg::CoefficientOutOfRange)},
        {"CIStdDevU([1,1],1,0)", codeOf(SMsg::CoefficientOutOfRange)},
        {"CIMedianU([1,1],1,1)", codeOf(SMsg::CoefficientOutOfRange)},
        {"Mean([1,1],0)", codeOf(Msg::IncompleteObject)},
        {"Mean([1,1],3)", codeOf(Msg::IncompleteObject)},
        {"SumPrd([1,1],1,5)", codeOf(Msg::IncompleteObject)},
        {"Mean([1,1])", codeOf(Msg::WrongParameters)},
        {"Mean([1,1],1,1)", codeOf(Msg::WrongParameters)},
        {"Items([1,1],1)", codeOf(Msg::WrongParameters)},
        {"Mean([30,1],1)", codeOf(Msg::IllegalReference)},
        {"Mean([15,1],1)", codeOf(Msg::IllegalReference)},
        {"Mean([16,1],1)", codeOf(Msg::IllegalReference)},
        {"Mean([17,1],1)", codeOf(Msg::IllegalReference)},
    };
    expectFailures(cases);
}

TEST_F(TableStatistics, FailingCellIsMarked) {
    enter(3, 1, "+Mean([1,1],0)");
    EXPECT_TRUE(failed(3, 1));
    enter(3, 1, "+Mean([1,1],1)");
    EXPECT_FALSE(failed(3, 1));
    EXPECT_EQ(value(3, 1), 5.0);
}

}  // namespace
}  // namespace qx::test
