#include "formula/bracket_match.h"

#include <gtest/gtest.h>

#include <string>

namespace qx {
namespace {

struct MatchCase {
    const char* text;
    int pos;
    int partner;
};

TEST(BracketMatch, PairsSkipStringsAndCharacterConstants) {
    const MatchCase cases[] = {
        {"f(\")\",')')+1", 1, 9},  // a string and a character constant holding ')'
        {"f(\")\",')')+1", 9, 1},  // closing brackets search backward
        {"((1)+(2))", 0, 8},
        {"((1)+(2))", 5, 7},
        {"[1,[2,3]]", 0, 8},
        {"[1,1^3,1{[$]+[@]}]", 8, 16},
        {"[1,1^3,1{[$]+[@]}]", 16, 8},
        {"a?b?c:d:e", 1, 7},  // nested conditionals count
        {"a?b:c;d", 3, 5},    // ':' finds its ';'
        {"a?b:c?d:e;f;", 3, 11},
        {"'\"'?(1):2", 3, 7},  // a quote as character constant opens no string
        {"(1", 0, 0},          // no partner: the start position
        {"1)", 1, 1},
        {"\"(\"", 1, 1},  // inside a string there is no partner
        {"x", 0, 0},
    };
    for (const auto& c : cases) EXPECT_EQ(matchBracket(c.text, c.pos), c.partner) << c.text << " @" << c.pos;
}

TEST(BracketMatch, OnlySixteenStringsAreRecognised) {
    std::string text = "(";
    for (int i = 0; i < 16; ++i) text += "\"a\",";
    text += "\")\")";
    // The seventeenth quote pair is not a string, so the ')' inside it closes the bracket.
    EXPECT_EQ(matchBracket(text.c_str(), 0), static_cast<int>(text.find(')')));
}

}  // namespace
}  // namespace qx
