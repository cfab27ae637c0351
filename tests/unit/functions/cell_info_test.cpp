#include <gtest/gtest.h>

#include <string>

#include "core/cell_store.h"
#include "function_fixture.h"

namespace qx {
namespace {

using test::FunctionFixture;

struct PlaceCase {
    int row;
    int col;
    int level;
    const char* text;
    double value;  // 0: fails with `code`
    int code;
};

// The fixture's store has levels 1..32. A failing argument is reported by its own first error.
TEST(CellInfoFamily, OffsetsWrapOnceIntoRange) {
    FunctionFixture fx;
    fx.enter(4, 6, "42");
    const PlaceCase cases[] = {
        {5, 4, 1, "+[row(-1),col(2)]", 42, 0},  // an address built from positions
        {1, 1, 1, "+row(-1)", 65534, 0},       {65534, 1, 1, "+row(1)", 1, 0}, {10, 1, 1, "+row(0)", 10, 0},
        {1, 255, 1, "+col(1)", 1, 0},          {1, 1, 1, "+col(-1)", 255, 0},  {1, 1, 1, "+col(300)", 46, 0},
        {1, 1, 32, "+lvl(1)", 1, 0},           {1, 1, 1, "+lvl(-1)", 32, 0},   {1, 1, 2, "+lvl(0.9)", 2, 0},
        {1, 1, 1, "+row(-70000)", 0, 6},       {1, 1, 1, "+col(600)", 0, 7},   {1, 1, 1, "+lvl(70)", 0, 8},
        {1, 1, 1, "+row(1,2)", 0, 29},         {1, 1, 1, "+row()", 0, 15},     {1, 1, 1, "+col(\"a\")", 0, 4},
    };
    for (const auto& c : cases) {
        const auto o = fx.enter(c.row, c.col, c.text, c.level);
        EXPECT_EQ(o.code, c.code) << c.text;
        if (c.code == 0) {
            EXPECT_EQ(o.value, c.value) << c.text;
        }
    }
    EXPECT_EQ(fx.eval("row(0)").code, 11);  // no calling cell
}

TEST(CellInfoFamily, TagsOfFormulaCells) {
    FunctionFixture fx;
    fx.fill({{1, 1, "5"}, {6, 1, "9"}, {5, 1, "'say \"hi\""}});
    EXPECT_EQ(fx.enter(2, 1, "+tag([1,1],\"note\",7)").value, 7);
    EXPECT_EQ(fx.store.getTag(fx.cell(1, 1)), "note");
    EXPECT_EQ(fx.enter(3, 1, "+taglen([1,1])").value, 4);
    EXPECT_EQ(fx.enter(4, 1, "+tagcpy([1,1],[6,1])").value, 4);
    EXPECT_EQ(fx.store.getTag(fx.cell(6, 1)), "note");
    EXPECT_EQ(fx.enter(7, 1, "+tag([6,1],[5,1])").value, 0);
    EXPECT_EQ(fx.store.getTag(fx.cell(6, 1)), "say 'hi'");
    EXPECT_EQ(fx.enter(8, 1, "+tagrmv([1,1])").value, 1);
    EXPECT_EQ(fx.enter(9, 1, "+tagrmv([1,1])").value, 0);
    EXPECT_EQ(fx.enter(10, 1, "+taglen([1,1])").value, 0);
}

TEST(CellInfoFamily, TagArgumentsThatFail) {
    FunctionFixture fx;
    fx.fill({{1, 1, "5"}, {2, 1, "'label"}});
    const std::pair<const char*, int> cases[] = {
        {"+tag([1,1],5)", 64},    {"+tag([2,1],\"x\")", 19}, {"+tag([3,1],\"x\")", 11},     {"+taglen(5)", 30},
        {"+tagrmv([1,1],1)", 29}, {"+tagcpy([1,1])", 31},    {"+tag([1,1],\"x\",1,2)", 29},
    };
    for (const auto& [text, code] : cases) EXPECT_EQ(fx.enter(10, 1, text).code, code) << text;
    EXPECT_EQ(fx.eval("taglen([1,1])").code, 11);  // no calling cell
}

}  // namespace
}  // namespace qx
