#include "formula/shortcut.h"

#include <gtest/gtest.h>

#include "formula/tilde_pattern.h"
#include "formula_fixture.h"
#include "platform/headless_platform.h"

namespace qx {
namespace {

using test::FormulaFixture;

TEST(TildePattern, SegmentsInOrderWithAnchoredEnds) {
    struct {
        const char* pattern;
        const char* text;
        bool match;
    } cases[] = {
        {"~abc~", "xxabcxx", true}, {"~A~C~", "ABC", true}, {"~A~C~", "AxxC", true}, {"~A~C~", "CA", false},
        {"abc", "abc", true},       {"ab~", "abz", true},   {"ab~", "zab", false},   {"~bc", "abc", true},
        {"~bc", "bcz", false},      {"~", "x", true},       {"~x~", "", false},      {"", "x", false},
    };
    for (const auto& c : cases) EXPECT_EQ(tildeMatch(c.pattern, c.text), c.match) << c.pattern << " / " << c.text;
    EXPECT_TRUE(tildeMatch("~abc~", "xABCx", true));
    EXPECT_FALSE(tildeMatch("~a~", std::string(260, 'a')));
}

struct ShortCutFixture : FormulaFixture {
    HeadlessPlatform platform;
    ShortCutResult run(int row, int col, const char* text) {
        return engine.shortCuts().run(platform, cell(row, col), 1, row, col, text);
    }
};

TEST(ShortCut, EqualsFormsFillTheArrayArea) {
    ShortCutFixture fx;
    fx.enter(1, 1, "+1");
    ErrStat err;
    fx.store.setArraySize(fx.cell(1, 1), 4, err);
    ASSERT_FALSE(err.failed());
    EXPECT_TRUE(fx.run(1, 1, "=2<7.5").done);
    EXPECT_TRUE(fx.run(1, 1, "= ( 3 , 9 ) < -1").done);  // the range stops at the Array Area's count
    const double* a = fx.cell(1, 1)->formula->array;
    EXPECT_EQ(a[1], 0);
    EXPECT_EQ(a[2], 7.5);
    EXPECT_EQ(a[3], -1);
    EXPECT_EQ(a[4], -1);
    EXPECT_TRUE(fx.run(1, 1, "=*<2").done);
    EXPECT_EQ(a[1], 2);
    EXPECT_EQ(fx.platform.boxes().size(), 0u);
    for (const char* bad : {"=5<1", "=0<1", "=8191<1", "=2", "=2<", "=2<x", "=(2<1", "=x"}) {
        EXPECT_FALSE(fx.run(1, 1, bad).done) << bad;
    }
    EXPECT_FALSE(fx.run(2, 2, "=1<1").done);    // no cell
    EXPECT_EQ(fx.platform.boxes().size(), 9u);  // each refusal warns; the box texts are in the shortcut transcript
}

// Recomputing with "." runs through the shortcut transcript.
TEST(ShortCut, SearchAndNoActions) {
    ShortCutFixture fx;
    fx.fill({{1, 1, "+1"}, {3, 5, "'find me here"}, {5, 1, "'another find"}});
    auto r = fx.run(1, 1, "\\find");
    EXPECT_TRUE(r.moved);
    EXPECT_EQ(r.row, 3);
    EXPECT_EQ(r.col, 5);
    r = fx.run(3, 5, "\\");  // the last text is remembered
    EXPECT_EQ(r.row, 5);
    EXPECT_FALSE(fx.run(5, 1, "\\").moved);
    EXPECT_FALSE(fx.run(1, 1, "/").done);
    EXPECT_FALSE(fx.run(1, 1, "~anything").done);
}

TEST(Stepping, ShowsEachStepUntilCancelled) {
    FormulaFixture fx;
    fx.fill({{1, 1, "+2"}, {1, 2, "+[1,1]*3+1"}});
    HeadlessPlatform platform;
    ErrStat err;
    EXPECT_DOUBLE_EQ(fx.engine.evaluator().stepFormula(*fx.cell(1, 2), platform, err), 7);
    ASSERT_GE(platform.boxes().size(), 4u);
    const RecordedBox& first = platform.boxes().front();
    EXPECT_EQ(first.caption, "Debugging:  [1,2,0,1]");
    EXPECT_EQ(first.text, "[1,1]*3+1\n\n [1,1]  =  2.000000");
    EXPECT_EQ(platform.boxes().back().text, "[1,1]*3+1\n\n[1,1]*3+1  =  7.000000");
    platform.clearBoxes();
    platform.queueAnswer(PolicyAnswer::Cancel);
    EXPECT_DOUBLE_EQ(fx.engine.evaluator().stepFormula(*fx.cell(1, 2), platform, err), 7);
    EXPECT_EQ(platform.boxes().size(), 1u);
    platform.clearBoxes();
    fx.engine.evaluator().evaluateFormula(fx.cell(1, 2), fx.cell(1, 2)->text, err);
    EXPECT_TRUE(platform.boxes().empty());  // an ordinary evaluation shows nothing
}

}  // namespace
}  // namespace qx
