#include "cli/address_argument.h"

#include <gtest/gtest.h>

#include <array>
#include <random>
#include <string>

namespace qx {
namespace {

constexpr int kHighest = 32;

std::array<int, 4> fields(const AddressArgument& a) {
    return {a.row, a.col, a.element, a.level};
}

struct AddressCase {
    std::string text;
    int32_t code;  // 0: accepted
    AddressArgument want;
};

// The common refusals run through the CLI address transcript; these are the finer points.
TEST(AddressArgument, ReadsSingleAddresses) {
    const AddressCase cases[] = {
        {"[1,1]", 0, {1, 1, 0, 0}},
        {"  [ 12 , 7 ]  ", 0, {12, 7, 0, 0}},
        {"[$3,$4]", 0, {3, 4, 0, 0}},
        {"[+5,6]", 0, {5, 6, 0, 0}},
        {"[65534,255]", 0, {65534, 255, 0, 0}},
        {"[2,3,4]", 0, {2, 3, 4, 0}},
        {"[2,3,,9]", 0, {2, 3, 0, 9}},
        {"[2,3,8191,32]", 0, {2, 3, 8191, 32}},
        {"[2,3,,0]", 0, {2, 3, 0, 0}},
        {"[-1,1]", 6, {}},
        {"[1,1,,-1]", 8, {}},
        {"[1,1,8192]", 9, {}},
        // The first range error wins, but only once the whole address has been read.
        {"[0,0,,99]", 6, {}},
        {"[1,0,,99]", 7, {}},
        {"[0,1", 17, {}},
        {"[99999999999999999999,1]", 6, {}},
        {"[0,1,-1]", 9, {}},  // a bad element fails at once, before the remembered row
        {"[1,]", 41, {}},
        {"[1,1,,2,3]", 17, {}},
        {"[1,1;", 17, {}},
        {"", 30, {}},
        {"[1,1]^[2,2]", 31, {}},
    };
    for (const AddressCase& c : cases) {
        ErrStat err;
        AddressArgument got;
        EXPECT_EQ(parseAddressOnly(c.text, kHighest, got, err), c.code == 0) << c.text;
        EXPECT_EQ(err.code, c.code) << c.text;
        if (c.code == 0) {
            EXPECT_EQ(fields(got), fields(c.want)) << c.text;
        }
    }
}

TEST(AddressArgument, ReadsRanges) {
    const struct {
        std::string text;
        int32_t code;
        int r1, c1, r2, c2, level;
    } cases[] = {
        {"[1,2]^[3,4]", 0, 1, 2, 3, 4, 0},        {"[1,2^3,4]", 0, 1, 2, 3, 4, 0}, {"[1,2,,5]^[3,4]", 0, 1, 2, 3, 4, 5},
        {"[1,2]^[3,4,,5]", 0, 1, 2, 3, 4, 5},     {"[1,2]^", 30, 0, 0, 0, 0, 0},   {"[1,2]^[3,4", 17, 0, 0, 0, 0, 0},
        {"[1,2]^[3,4]^[5,6]", 31, 0, 0, 0, 0, 0},
    };
    for (const auto& c : cases) {
        ErrStat err;
        AddressArgument a;
        AddressArgument b;
        EXPECT_EQ(parseRangeOnly(c.text, kHighest, a, b, err), c.code == 0) << c.text;
        EXPECT_EQ(err.code, c.code) << c.text;
        if (c.code != 0) continue;
        EXPECT_EQ((std::array{a.row, a.col, b.row, b.col, a.level, b.level}),
                  (std::array{c.r1, c.c1, c.r2, c.c2, c.level, c.level}))
            << c.text;
    }
}

// Typed input: any mix of address characters either gives an in-range address or a failure.
TEST(AddressArgument, RandomTextNeverGivesAnOutOfRangeAddress) {
    std::mt19937 rng(20261206);
    const std::string alphabet = "[],^$+- 0123456789x;";
    for (int i = 0; i < 20000; ++i) {
        std::string text;
        int len = std::uniform_int_distribution<int>(0, 24)(rng);
        for (int k = 0; k < len; ++k) text += alphabet[rng() % alphabet.size()];
        if (rng() % 2) text = "[" + text;
        ErrStat err;
        AddressArgument a;
        AddressArgument b;
        if (parseAddressOnly(text, kHighest, a, err)) {
            EXPECT_TRUE(a.row >= 1 && a.row <= 65534 && a.col >= 1 && a.col <= 255) << text;
            EXPECT_TRUE(a.level >= 0 && a.level <= kHighest && a.element >= 0 && a.element <= 8191) << text;
        } else {
            EXPECT_NE(err.code, 0) << text;
        }
        ErrStat rangeErr;
        if (!parseRangeOnly(text, kHighest, a, b, rangeErr)) {
            EXPECT_NE(rangeErr.code, 0) << text;
        }
    }
}

}  // namespace
}  // namespace qx
