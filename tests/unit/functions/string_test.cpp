#include <gtest/gtest.h>

#include <string>

#include "core/cell_store.h"
#include "function_fixture.h"

namespace qx {
namespace {

using test::FailCase;
using test::FunctionFixture;
using test::ValueCase;

TEST(StringFamily, ReadingFindingComparingMeasuring) {
    FunctionFixture fx;
    const ValueCase cases[] = {
        {"atof(\"  -1.5e3x\")", -1500},
        {"atof(\"12abc\")", 12},
        {"atof(\".5\")", 0.5},
        {"atof(\"+3.\")", 3},
        {"atof(\"1e\")", 1},
        {"atof(\"2e+\")", 2},
        {"atof(\"0x1A\")", 0},  // no hexadecimal, infinities or NaN by the atof rule
        {"atof(\"inf\")", 0},
        {"atof(\"nan\")", 0},
        {"atof(\"-\")", 0},
        {"atof(\"\")", 0},
        {"index(\"abc\",'z')", 0},
        {"index(\"abc\",'c',3)", 3},
        {"index(\"abca\",'a',2)", 4},
        {"index(\"abc\",'a',4)", 0},
        {"strcmp(\"b\",\"a\")", 1},
        {"strcmp(\"a\",\"a\")", 0},
        {"strcmp(\"ab\",\"a\")", 1},
        {"strcmp(\"\",\"a\")", -1},
        {"strncmp(\"abc\",\"abd\",2)", 0},
        {"strncmp(\"abc\",\"abd\",3)", -1},
        {"strncmp(\"abc\",\"abd\",-1)", -1},  // outside 0..255 counts as 255
        {"strncmp(\"abc\",\"abd\",0)", 0},
        {"strlen(\"\")", 0},
        {"strlen(\"abc\")", 3},
        {"strlen( \"a b\" )", 3},
    };
    fx.expectValues(cases);
}

TEST(StringFamily, CellsGiveTheirText) {
    FunctionFixture fx;
    fx.enter(1, 1, "'Hello World");
    EXPECT_EQ(fx.enter(3, 1, "+strlen([1,1])").value, 11);
    EXPECT_EQ(fx.enter(4, 1, "+strlen([50,1])").value, 0);  // an empty place is an empty string
    EXPECT_EQ(fx.enter(5, 1, "+strcmp([1,1],\"Hello World\")").value, 0);
    EXPECT_EQ(fx.enter(6, 1, "+strlen([1,1,,2])").value, 0);
}

TEST(StringFamily, BadArgumentsGiveTheirMessages) {
    FunctionFixture fx;
    const FailCase cases[] = {
        {"strlen(\"abc\",1)", 29},    {"strcmp(\"a\")", 31},          {"atof()", 64},
        {"index(\"abc\")", 29},       {"index(\"abc\",31)", 37},      {"index(\"abc\",256)", 37},
        {"index(\"abc\",'a',0)", 37}, {"index(\"abc\",'a',256)", 37}, {"strncmp(\"a\",\"b\")", 31},
        {"index(\"a\",'a',1,2)", 29},
    };
    fx.expectFailures(cases);
}

TEST(StringFamily, ConstantsUpTo254Characters) {
    FunctionFixture fx;
    const std::string longest(254, 'x');
    EXPECT_EQ(fx.eval("strlen(\"" + longest + "\")").value, 254);
    EXPECT_EQ(fx.eval("strlen(\"" + longest + "y\")").code, 63);
}

TEST(StringCopy, CopiesIntoLabelsAndEmptyPlaces) {
    FunctionFixture fx;
    fx.enter(5, 1, "+strncpy([6,1],\"abcdef\",3)");
    EXPECT_EQ(fx.text(6, 1), "abc");
    fx.enter(7, 1, "+strncat([6,1],\"xyz\",-1)");
    EXPECT_EQ(fx.text(6, 1), "abcxyz");
    fx.enter(8, 1, "+strncat([6,1],\"xyz\",2)");
    EXPECT_EQ(fx.text(6, 1), "abcxyzxy");
    // Nothing happens for an empty source or a count of 0.
    fx.enter(9, 1, "+strncpy([10,1],\"abc\",0)+strcpy([11,1],\"\")");
    EXPECT_TRUE(fx.cell(10, 1)->isPlaceholder());
    EXPECT_TRUE(fx.cell(11, 1)->isPlaceholder());
}

TEST(StringCopy, ExistingLabelKeepsItsRecordAndDependents) {
    FunctionFixture fx;
    fx.fill({{1, 1, "'abc"}, {2, 1, "+strlen([1,1])"}});
    CellRec* before = fx.cell(1, 1);
    fx.enter(3, 1, "+strcat([1,1],\"def\")");
    EXPECT_EQ(fx.cell(1, 1), before);
    EXPECT_EQ(before->dependents, 2u);  // the strlen and the strcat formulas
    EXPECT_EQ(fx.text(1, 1), "abcdef");
    EXPECT_EQ(fx.value(2, 1), 3);  // dependents of the target are not recalculated
    // A placeholder target becomes the Label and keeps the formulas that refer to it.
    fx.enter(4, 1, "+strlen([5,1])");
    CellRec* placeholder = fx.cell(5, 1);
    ASSERT_NE(placeholder, nullptr);
    fx.enter(6, 1, "+strcpy([5,1],\"abcd\")");
    EXPECT_EQ(fx.cell(5, 1), placeholder);
    EXPECT_TRUE(placeholder->isLabel());
    EXPECT_EQ(placeholder->dependents, 2u);
    EXPECT_EQ(fx.text(5, 1), "abcd");
}

TEST(StringCopy, TargetsStopAt255Characters) {
    FunctionFixture fx;
    fx.enter(1, 1, "'" + std::string(200, 'a'));
    fx.enter(2, 1, "'" + std::string(200, 'b'));
    fx.enter(3, 1, "+strcpy([4,1],[1,1])+strcat([4,1],[2,1])");
    EXPECT_EQ(fx.text(4, 1), std::string(200, 'a') + std::string(55, 'b'));
    fx.enter(5, 1, "+strcat([4,1],[2,1])");
    EXPECT_EQ(fx.text(4, 1).size(), 255u);
}

TEST(StringCopy, RefusedTargets) {
    FunctionFixture fx;
    fx.fill({{1, 1, "5"}, {2, 1, "\"v[1,1]"}, {3, 1, "'locked"}});
    fx.cell(3, 1)->set(cellflag::kProtectCell);
    const FailCase cases[] = {
        {"+strcpy([2,1],\"x\")", 64},           // a Variable Label
        {"+strcpy(\"a\",\"x\")", 64},           // a constant
        {"+strcat([3,1],\"x\")", 40},           // protected
        {"+strcpy([row(0),col(0)],\"x\")", 2},  // the calling cell itself
        {"+strcpy([4,1],5)", 64},               // a number as source
        {"+strcpy([4,1],\"x\",3)", 29},
        {"+strncpy([4,1],\"x\")", 31},
    };
    for (const auto& c : cases) EXPECT_EQ(fx.enter(10, 1, c.text).code, c.code) << c.text;
    EXPECT_EQ(fx.text(3, 1), "locked");
    EXPECT_EQ(fx.cell(4, 1), nullptr);
}

}  // namespace
}  // namespace qx
