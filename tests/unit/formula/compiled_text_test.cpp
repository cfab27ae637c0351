#include "formula/compiled_text.h"

#include <gtest/gtest.h>

#include <string>

#include "formula/formula_codes.h"

namespace qx {
namespace {

// A formula cell whose reference list points at hand-made targets.
struct Fixture {
    CellRec targets[3];
    CellRec* refs[3];
    FormulaRec formula;
    CellRec cell;
    Fixture() {
        const int places[3][2] = {{1, 1}, {10, 2}, {65534, 255}};
        for (int i = 0; i < 3; ++i) {
            targets[i].row = static_cast<uint16_t>(places[i][0]);
            targets[i].col = static_cast<uint8_t>(places[i][1]);
            targets[i].level = 1;
            refs[i] = &targets[i];
        }
        formula.refs = refs;
        formula.refCount = 3;
        cell.formula = &formula;
        cell.row = 5;
        cell.col = 5;
        cell.level = 1;
    }
    std::string expand(const char* text, TextOffsets off = {}) {
        ErrStat err;
        std::string out = expandCompiled(cell, text, off, 32, err);
        lastCode = err.failed() ? err.code : 0;
        return out;
    }
    int lastCode = 0;
};

TEST(DirectAddress, ReaderAcceptsBothFormsAndRejectsBadIndexes) {
    struct {
        const char* text;
        bool ok;
        int index, flags, level, end;
    } cases[] = {
        {"1~0", true, 1, 0, 0, 3},  {"63~15", true, 63, 15, 0, 5}, {"2~8~3+1", true, 2, 8, 3, 5},
        {"0~0", false, 0, 0, 0, 0}, {"64~0", false, 0, 0, 0, 0},   {"1~16", false, 0, 0, 0, 0},
        {"1", false, 0, 0, 0, 0},   {"x~0", false, 0, 0, 0, 0},    {"1~0~", true, 1, 0, 0, 3},
    };
    for (const auto& c : cases) {
        DirectAddress da;
        ASSERT_EQ(readDirectAddress(c.text, 0, da), c.ok) << c.text;
        if (!c.ok) continue;
        EXPECT_EQ(da.index, c.index) << c.text;
        EXPECT_EQ(da.flags, c.flags) << c.text;
        EXPECT_EQ(da.level, c.level) << c.text;
        EXPECT_EQ(da.end, c.end) << c.text;
    }
}

// Direct addresses show their targets moved by the offsets; textual addresses shift only whole literal parts.
TEST(Expansion, AddressesShowTheirTargetsWithOffsets) {
    Fixture fx;
    const TextOffsets down{2, 1, 0};
    struct {
        const char* text;
        TextOffsets off;
        const char* expected;
    } cases[] = {
        {"~1~0+~2~0", {}, "[1,1]+[10,2]"},
        {"~1~8", {}, "[$1,1]"},
        {"~1~8", {1, 1, 0}, "[$1,2]"},  // the absolute row stays
        {"~2~4", {1, 1, 0}, "[11,$2]"},
        {"~3~0", {1, 1, 0}, "[1,1]"},          // past the last row and column wraps to the first
        {"~1~0", {-1, -1, 0}, "[65534,255]"},  // and below the first to the last
        {"~2~0~3", {0, 0, 1}, "[10,2,,4]"},
        {"~2~1~3", {0, 0, 1}, "[10,2,,$3]"},
        {"~2~0~32", {0, 0, 1}, "[10,2,,1]"},
        {"sum(\"~1~0\",'~')", {}, "sum(\"~1~0\",'~')"},  // strings and characters are not addresses
        {"[3,4]", down, "[5,5]"},
        {"[3,4,7]", down, "[5,5,7]"},                          // the element part stays
        {"[3,4,,2]", down, "[5,5,,2]"},                        // no level offset here
        {"[3,4,,2]", {0, 0, 31}, "[3,4,,1]"},                  // the level wraps
        {"[$3,4]", down, "[$3,5]"},                            // '$' parts stay
        {"[3+1,4]", down, "[3+1,5]"},                          // expressions stay
        {"[1,1^10,1{[$]+[@]}]", down, "[3,2^12,2{[$]+[@]}]"},  // both corners of a Range Operation move
        {"[1,1^10,1;[$]/[#]]", down, "[3,2^12,2;[$]/[#]]"},
        {"[1,1^3,1{f(1,2,3)}]", down, "[3,2^5,2{f(1,2,3)}]"},  // call arguments are no address parts
        {"[[1,1],2]", down, "[[3,2],3]"},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(fx.expand(c.text, c.off), c.expected) << c.text;
        EXPECT_EQ(fx.lastCode, 0) << c.text;
    }
}

TEST(Expansion, FailuresAndSanitising) {
    Fixture fx;
    fx.expand("[65534,1]", {1, 0, 0});
    EXPECT_EQ(fx.lastCode, Msg::RowOutOfRange);
    for (const char* bad : {"~4~0", "~0~0", "~1", "~64~0"}) {
        fx.expand(bad);
        EXPECT_EQ(fx.lastCode, Msg::CorruptedDirectAddress) << bad;
    }
    const std::string odd = std::string("1+") + '\x01' + static_cast<char>(0x7F) + static_cast<char>(0xC0);
    EXPECT_EQ(fx.expand(odd.c_str()), "1+^^^");
    EXPECT_EQ(fx.lastCode, 0);
}

TEST(Expansion, ReadableTextIsNotLimitedTo254Characters) {
    Fixture fx;
    std::string text;
    for (int i = 0; i < 40; ++i) text += "+~3~0";
    const std::string out = fx.expand(text.c_str());
    EXPECT_EQ(out.size(), 40u * std::string("+[65534,255]").size());
    EXPECT_EQ(fx.lastCode, 0);
}

TEST(Wrap, KeepsValuesInRange) {
    EXPECT_EQ(wrapInto(0, 255), 255);
    EXPECT_EQ(wrapInto(256, 255), 1);
    EXPECT_EQ(wrapInto(-300, 255), 210);
    EXPECT_EQ(wrapInto(65535, 65534), 1);
}

}  // namespace
}  // namespace qx
