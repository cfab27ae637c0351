#include "formula/lexer.h"

#include <gtest/gtest.h>

#include <cmath>
#include <string>

namespace qx {
namespace {

struct NumberCase {
    const char* text;
    double value;
    int end;
};

TEST(Lexer, NumbersReadByTheirOwnGrammar) {
    const NumberCase cases[] = {
        {"12", 12, 2},
        {"1.5", 1.5, 3},
        {".25", 0.25, 3},
        {"1e+3", 1000, 4},
        {"2.5E-1", 0.25, 6},
        {"1e5", 1, 1},           // the exponent needs its sign: e5 is a name
        {"1e+", 1, 1},           // a sign without digits is no exponent
        {"1.#INF", 1.7e308, 6},  // how printed infinities read back
        {"1.##INF", 1.7e308, 7},
        {"0", 0, 1},
        {"0.5", 0.5, 3},
        {"010", 8, 3},
        {"017", 15, 3},
        {"03777777777", 536870911, 11},  // ten octal digits when the first is 0..3
        {"037777777777", 0, 12},         // eleven are too many
        {"04777777777", 0, 11},          // and so are ten starting with 4
        {"0477777777", 83886079, 10},
        {"0178", 0, 4},  // an octal run followed by 8 or 9 gives 0
        {"017.5", 0, 5},
        {"0x1F", 31, 4},
        {"0XdD", 221, 4},
        {"0xFFFFFFFF", 4294967295.0, 10},
        {"0x123456789", 0, 11},  // nine hexadecimal digits
        {"0x1.5", 0, 5},
        {"1e+400", HUGE_VAL, 6},
        {"1e-400", 0, 6},
        {"999999999999999", 999999999999999.0, 15},  // the longest run summed digit by digit
        {"9007199254740993", 9007199254740992.0, 16},  // one digit more rounds to even
        {"12345678901234567890", 12345678901234567890.0, 20},
        {"7#INF", 1.7e308, 5},
    };
    for (const auto& c : cases) {
        const NumberScan s = scanNumber(c.text, 0);
        ASSERT_EQ(s.result, NumberScanResult::Ok) << c.text;
        EXPECT_EQ(s.value, c.value) << c.text;
        EXPECT_EQ(s.end, c.end) << c.text;
    }
}

TEST(Lexer, ZeroBeforeEightOrNineAndLettersAreNoNumber) {
    for (const char* text : {"08", "09", "a1", "", ".", ".e+1"}) {
        EXPECT_EQ(scanNumber(text, 0).result, NumberScanResult::NotNumber) << text;
    }
}

TEST(Lexer, NumberTextEndCoversWhatTheCompilerCopies) {
    EXPECT_EQ(numberTextEnd("1e+5*2", 0), 4);
    EXPECT_EQ(numberTextEnd("0xAbC+1", 0), 5);
    EXPECT_EQ(numberTextEnd("1.#INF)", 0), 6);
    EXPECT_EQ(numberTextEnd("3e4", 0), 1);
}

TEST(Lexer, CharacterConstantsAreSignedBytes) {
    int v = 0;
    ASSERT_TRUE(scanCharacter("'A'", 0, v));
    EXPECT_EQ(v, 65);
    const std::string high = std::string("'") + static_cast<char>(0xE9) + "'";
    ASSERT_TRUE(scanCharacter(high.c_str(), 0, v));
    EXPECT_EQ(v, -23);
    EXPECT_FALSE(scanCharacter("'AB'", 0, v));
    EXPECT_FALSE(scanCharacter("'", 0, v));
}

TEST(Lexer, StringsRegistersNamesAndAssignments) {
    EXPECT_EQ(stringEnd("\"a b\"+1", 0), 5);
    EXPECT_EQ(stringEnd("\"open", 0), -1);
    const char* regs = "#@*$-|%";
    for (int i = 0; i < 7; ++i) {
        const std::string text = std::string("[") + regs[i] + "]";
        EXPECT_EQ(registerAt(text.c_str(), 0), i) << text;
    }
    EXPECT_EQ(registerAt("[1]", 0), -1);
    EXPECT_EQ(registerAt("[#", 0), -1);
    EXPECT_EQ(nameEnd("@Matrix_2(", 0), 9);
    struct {
        const char* text;
        bool assignment;
    } assigns[] = {{"=1", true},   {"==1", false}, {"+=1", true}, {"<<=2", true}, {">>=2", true},
                   {"<=2", false}, {"<<2", false}, {"&=1", true}, {"|=1", true},  {"&&1", false}};
    for (const auto& a : assigns) EXPECT_EQ(isAssignment(a.text, 0), a.assignment) << a.text;
}

}  // namespace
}  // namespace qx
