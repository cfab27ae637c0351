#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <vector>

#include "core/scope_exit.h"
#include "formula/script_frame.h"
#include "formula_fixture.h"

namespace qx {
namespace {

using test::FormulaFixture;

// A frame of every kind, the arrays and strings it is given owned by the test.
struct TokenFrame {
    std::vector<double> passedArray{1, 2, 3};
    char passedString[4] = {'A', 'B', '\0', '#'};  // the byte after the terminator must stay
    ScriptFrame frame;

    TokenFrame() {
        frame.values = {5, 7};
        frame.cells = {{1, 1, 1}, {2, 1, 1}, {3, 3, 1}};
        frame.arrays = {{passedArray.data(), 3}};
        frame.strings = {{passedString, 2}};
        frame.localArrays.push_back(LocalArray{{0, 0}});
        frame.localStrings.emplace_back(3);
    }
};

struct TokenCase {
    const char* text;
    double value;
    Msg code;  // Msg::Unlisted: no failure
};

void expectCases(FormulaFixture& fx, const std::vector<TokenCase>& cases) {
    for (const TokenCase& c : cases) {
        const test::Outcome o = fx.eval(c.text);
        EXPECT_EQ(o.code, codeOf(c.code)) << c.text;
        if (c.code == Msg::Unlisted) {
            EXPECT_EQ(o.value, c.value) << c.text;
        }
    }
}

class ScriptTokens : public ::testing::Test {
  protected:
    void SetUp() override {
        fx.fill({{1, 1, "+40"}, {2, 1, "AB"}});
        ErrStat err;
        ASSERT_TRUE(fx.engine.evaluator().scripts().enter(t.frame, err));
    }
    void TearDown() override { fx.engine.evaluator().scripts().leave(t.frame); }

    FormulaFixture fx;
    TokenFrame t;
};

TEST_F(ScriptTokens, ReadEveryKindWithIndexesClampedBelowAndZeroBeyond) {
    expectCases(fx, {
                        {"#1+#2", 12, Msg::Unlisted},     {"#*1[3]", 3, Msg::Unlisted},
                        {"#*1[4]", 0, Msg::Unlisted},     {"#*1[0]", 1, Msg::Unlisted},
                        {"#*1[-7]", 1, Msg::Unlisted},    {"#*1", 1, Msg::Unlisted},
                        {"#*1[#1-3]", 2, Msg::Unlisted},  {"$#1[2]", 'B', Msg::Unlisted},
                        {"$#1[3]", 0, Msg::Unlisted},  // the terminator is not an element
                        {"$$1[3]", 0, Msg::Unlisted},     {"~#1", 40, Msg::Unlisted},
                        {"~#2[2]", 'B', Msg::Unlisted},   {"~#3", 0, Msg::Unlisted},  // an empty place reads as 0
                        {"[#1-4,1]", 40, Msg::Unlisted},  {"#3", 0, Msg::OutOfRange},
                        {"#0", 0, Msg::OutOfRange},       {"$$2[1]", 0, Msg::OutOfRange},
                        {"$%", 0, Msg::IllegalCharacter}, {"#*1[2", 0, Msg::MissingBracket},
                    });
}

TEST_F(ScriptTokens, StoresReachTheLastElementAndNeverPastIt) {
    expectCases(fx, {
                        {"#$1[2]=9", 9, Msg::Unlisted},
                        {"#$1[3]=4", 4, Msg::Unlisted},
                        {"#*1[3]+=10", 13, Msg::Unlisted},
                        {"#*1[4]=99", 99, Msg::Unlisted},
                        {"$#1[2]='C'", 'C', Msg::Unlisted},
                        {"$#1[3]=1", 1, Msg::Unlisted},
                        {"$$1[3]='z'", 'z', Msg::Unlisted},
                        {"$$1[4]='q'", 'q', Msg::Unlisted},
                        {"#2=#1=3", 3, Msg::Unlisted},  // assignments group from the left: #1 keeps 5
                        {"~#2[1]=67", 67, Msg::Unlisted},
                    });
    EXPECT_EQ(t.frame.localArrays[0].values, (std::vector<double>{0, 9}));
    EXPECT_EQ(t.passedArray, (std::vector<double>{1, 2, 13}));
    EXPECT_EQ(std::memcmp(t.passedString, "AC\0#", 4), 0);
    EXPECT_EQ(std::string(t.frame.localStrings[0].chars.data()), "");  // element 3 set, 1 and 2 still empty
    EXPECT_EQ(t.frame.localStrings[0].chars[2], 'z');
    EXPECT_EQ(t.frame.localStrings[0].chars[3], '\0');
    EXPECT_EQ(t.frame.values, (std::vector<double>{5, 3}));
    EXPECT_STREQ(fx.cell(2, 1)->text, "CB");
}

TEST_F(ScriptTokens, IncrementsStoreBackOnlyIntoValuesAndValueArrays) {
    expectCases(fx, {
                        {"++#1", 6, Msg::Unlisted},
                        {"--#*1[1]", 0, Msg::Unlisted},
                        {"++#$1[9]", 1, Msg::Unlisted},  // beyond the array: computed, not stored
                        {"#2++;", 7, Msg::Unlisted},     // #2 plus an empty operand
                        {"-#2", -7, Msg::Unlisted},
                        {"+-#2", -7, Msg::Unlisted},
                        {"+++#1", 0, Msg::IllegalOperator},
                        {"---#1", 0, Msg::IllegalOperator},
                        {"++$$1[1]", 0, Msg::IllegalIncrement},
                        {"--~#1", 0, Msg::IllegalIncrement},
                        {"++[1,1]", 0, Msg::IllegalIncrement},
                        {"++5", 0, Msg::IllegalIncrement},
                        // The compiled Range Operation segments do not know increments.
                        {"[1,1^1,1{++[*]}]", 0, Msg::IllegalIncrement},
                    });
    EXPECT_EQ(t.frame.values, (std::vector<double>{6, 7}));
    EXPECT_EQ(t.passedArray[0], 0);
    EXPECT_EQ(t.frame.localArrays[0].values, (std::vector<double>{0, 0}));
}

TEST(ScriptTokensOutsideAScript, AreIllegalCharacters) {
    FormulaFixture fx;
    fx.fill({{1, 1, "+40"}});
    for (const char* text : {"#1", "#*1[1]", "#$1[1]", "$#1[1]", "$$1[1]", "~#1", "1+$$1"}) {
        EXPECT_EQ(fx.eval(text).code, codeOf(Msg::IllegalCharacter)) << text;
    }
    EXPECT_EQ(fx.eval("++[1,1]").value, 40);
    EXPECT_EQ(fx.eval("--5").code, codeOf(Msg::IllegalOperator));
}

}  // namespace
}  // namespace qx
