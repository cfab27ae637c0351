#include <gtest/gtest.h>

#include <map>
#include <set>
#include <string>
#include <vector>

#include "core/cell_store.h"
#include "core/formula_flags.h"
#include "function_fixture.h"
#include "functions/view_objects.h"
#include "unit/core/array_area_reader.h"
#include "unit/sanitizer_rounds.h"

namespace qx {
namespace {

using test::arrayOf;
using test::FunctionFixture;
using test::kindOf;

constexpr int kNoArray = -1;

// A formula cell marked as an object of `kind`, standing in for what the geometry and road functions make.
void makeSource(FunctionFixture& fx, int row, int col, int kind, int elements = 3, int level = 1) {
    fx.enter(row, col, "1", level);
    CellRec* cell = fx.cell(row, col, level);
    ASSERT_NE(cell, nullptr);
    cell->formula->flags = formulaflag::withObjectKind(cell->formula->flags, static_cast<ObjectKind>(kind));
    ErrStat err;
    if (elements != kNoArray) fx.store.setArraySize(cell, elements, err);
    ASSERT_FALSE(err.failed());
}

std::vector<double> defaults(double viewType) {
    std::vector<double> a(24, 0.0);
    a[0] = 23;
    a[6] = a[7] = 1.0;
    a[19] = 0.1;
    a[20] = viewType;
    return a;
}

TEST(GraphicsFamily, EachGraphTakesTheSourcesItShows) {
    const char* graphs[] = {"@Viewport", "@ViewOverhead", "@ViewProfile", "@ViewSection",
                            "@XYGraph",  "@LineGraph",    "@BarGraph"};
    const struct {
        int kind;
        int elements;
        bool shownBy[7];  // in the order of `graphs`
    } cases[] = {
        {0, kNoArray, {false, false, false, false, false, false, false}},
        {0, 1, {false, false, false, false, true, true, true}},
        {1, 3, {true, true, false, false, false, false, false}},
        {2, 3, {false, false, false, false, false, false, false}},
        {4, 3, {true, true, false, false, true, false, false}},
        {5, 6, {true, true, false, false, true, false, false}},
        {6, 12, {true, true, false, false, true, false, false}},
        {7, 3, {true, true, false, false, true, false, false}},
        {9, 3, {true, true, true, false, false, false, false}},
        {12, 3, {true, true, false, true, false, false, false}},
        {13, 3, {false, false, false, true, false, false, false}},
        {19, 3, {false, false, false, false, false, false, false}},
        {22, 23, {false, false, false, false, false, false, false}},
    };
    for (const auto& c : cases) {
        // One workbook a case: each graph reads its own copy of the source in its own column.
        FunctionFixture fx;
        for (int g = 0; g < 7; ++g) {
            makeSource(fx, 1, g + 1, c.kind, c.elements);
            const std::string source = "[1," + std::to_string(g + 1) + "]";
            const std::string text = std::string(graphs[g]) + "(" + source + ")";
            const test::Outcome o = fx.enter(2, g + 1, text);
            const std::string what = text + " over kind " + std::to_string(c.kind);
            EXPECT_EQ(o.code, c.shownBy[g] ? 0 : 19) << what;
            EXPECT_EQ(fx.value(2, g + 1), c.shownBy[g] ? 1.0 : 0.0) << what;
        }
    }
}

TEST(GraphicsFamily, NewGraphsGetTheDefaultSettings) {
    const struct {
        const char* text;
        int kind;
        double viewType;
        double count;
    } cases[] = {
        {"@BarGraph([1,1],[1,2])", 30, 0, 2}, {"@LineGraph([1,1])", 29, 0, 1},    {"@XYGraph([1,2],[1,3])", 28, 0, 2},
        {"@Viewport([1,3])", 20, 0, 1},       {"@ViewOverhead([1,3])", 21, 1, 1}, {"@ViewProfile([1,4])", 22, 2, 1},
        {"@ViewSection([1,5])", 23, 3, 1},
    };
    for (const auto& c : cases) {
        FunctionFixture fx;
        makeSource(fx, 1, 1, 0, 4);
        makeSource(fx, 1, 2, 0, 2);
        makeSource(fx, 1, 3, 4);
        makeSource(fx, 1, 4, 9);
        makeSource(fx, 1, 5, 12);
        EXPECT_EQ(fx.enter(3, 3, c.text).code, 0) << c.text;
        EXPECT_EQ(kindOf(fx.cell(3, 3)), c.kind) << c.text;
        EXPECT_EQ(arrayOf(fx.cell(3, 3)), defaults(c.viewType)) << c.text;
        EXPECT_EQ(fx.value(3, 3), c.count) << c.text;
    }
}

TEST(GraphicsFamily, ChangedSettingsSurviveEvaluation) {
    FunctionFixture fx;
    makeSource(fx, 1, 1, 4);
    fx.enter(2, 1, "@Viewport([1,1])");
    // What the view window does.
    fx.cell(2, 1)->formula->array[5] = 2.5;
    fx.cell(2, 1)->formula->array[6] = -7;
    ErrStat err;
    std::vector<double> expected = defaults(0);
    expected[5] = 2.5;
    expected[6] = -7;
    std::string text(fx.cell(2, 1)->textView());
    EXPECT_EQ(fx.engine.evaluator().evaluateFormula(fx.cell(2, 1), text.data(), err), 1.0);
    EXPECT_EQ(arrayOf(fx.cell(2, 1)), expected);
    // Another graph kind in the same cell starts afresh.
    fx.enter(2, 1, "@ViewOverhead([1,1])");
    EXPECT_EQ(arrayOf(fx.cell(2, 1)), defaults(1));
}

TEST(GraphicsFamily, GraphSourcesStandForTheirOwnSources) {
    FunctionFixture fx;
    makeSource(fx, 1, 1, 4);
    makeSource(fx, 1, 2, 5, 6);
    makeSource(fx, 1, 3, 0, 3);
    fx.enter(2, 1, "@ViewOverhead([1,1],[1,2])");
    fx.enter(2, 2, "@XYGraph([1,3],[2,1])");
    const struct {
        const char* text;
        int code;
        double count;
    } cases[] = {
        // The XY graph's series is no drawing object.
        {"@Viewport([2,1],[1,1])", 0, 3},
        {"@Viewport([2,2])", 19, 0},
        // The plan view is expanded once, inside the XY graph.
        {"@XYGraph([2,2],[2,1])", 0, 3},
        {"@BarGraph([2,2])", 19, 0},
        {"@ViewProfile([2,1])", 19, 0},
        // The view itself: refused as circular before it is evaluated.
        {"@Viewport([3,9])", 2, 0},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(fx.enter(3, 9, c.text).code, c.code) << c.text;
        EXPECT_EQ(fx.value(3, 9), c.count) << c.text;
    }
}

TEST(GraphicsFamily, SourcesInErrorAreLeftOut) {
    FunctionFixture fx;
    makeSource(fx, 1, 1, 4);
    fx.enter(1, 2, "+sqrt(-1)");
    fx.enter(2, 1, "@Viewport([1,2],[1,1],[1,2])");
    EXPECT_EQ(fx.value(2, 1), 1);
    EXPECT_FALSE(fx.failed(2, 1));
    // Nothing to show: the cell stays what it was.
    fx.enter(3, 1, "@BarGraph([1,2])");
    EXPECT_FALSE(fx.failed(3, 1));
    EXPECT_EQ(kindOf(fx.cell(3, 1)), 0);
    EXPECT_EQ(arrayOf(fx.cell(3, 1)), std::vector<double>{0});
}

TEST(GraphicsFamily, Refusals) {
    FunctionFixture fx;
    makeSource(fx, 1, 1, 4);
    fx.enter(1, 2, "'a label");
    makeSource(fx, 2, 2, 4, 3, 2);
    const struct {
        const char* text;
        int code;
        double count;
    } cases[] = {
        {"@Viewport([1,1],[9,9])", 19, 0},  // an empty place
        {"@Viewport([1,2])", 19, 0},        // a label
        {"@Viewport(5)", 19, 0},
        {"@Viewport([1,1]", 17, 0},
        {"@Viewport([2,2,,2],[1,1])", 0, 2},  // an explicit level is looked up there
        {"@Viewport()", 0, 0},
        {"@Viewport([1,1],[1,1])", 0, 2},  // a plain source listed twice is shown twice
    };
    for (const auto& c : cases) {
        EXPECT_EQ(fx.enter(5, 1, c.text).code, c.code) << c.text;
        EXPECT_EQ(fx.value(5, 1), c.count) << c.text;
    }
    EXPECT_EQ(fx.eval("@Viewport([1,1])").code, 11);  // no calling cell
}

// Random graphs of views listing numbers, each other and themselves: every collection ends, and each view
// reachable from the one collected contributes its plain sources exactly once.
TEST(CollectSources, RandomSourceGraphsWithCycles) {
    unsigned x = 2026;
    auto next = [&x](unsigned n) {
        x = x * 1103515245u + 12345u;
        return (x >> 16) % n;
    };
    constexpr int kSeries = 4;
    for (int round = 0; round < test::rounds(40); ++round) {
        FunctionFixture fx;
        for (int s = 1; s <= kSeries; ++s) makeSource(fx, 1, s, 0, 2);
        const int views = 2 + static_cast<int>(next(7));
        std::map<int, std::vector<int>> lists;  // view row -> arguments: > 0 a view row, <= 0 minus a series
        for (int v = 0; v < views; ++v) {
            std::string text = "@BarGraph(";
            const int n = 1 + static_cast<int>(next(4));
            for (int a = 0; a < n; ++a) {
                const bool view = next(2) == 0;
                const int target = view ? 10 + static_cast<int>(next(static_cast<unsigned>(views)))
                                        : -(1 + static_cast<int>(next(kSeries)));
                lists[10 + v].push_back(target);
                text += (a ? "," : "") +
                        (view ? "[" + std::to_string(target) + ",1]" : "[1," + std::to_string(-target) + "]");
            }
            fx.enter(10 + v, 1, text + ")");
        }
        // The graphs are built whatever the order of entry and the circularity checks made of them.
        for (const auto& [row, list] : lists) {
            CellRec* cell = fx.cell(row, 1);
            ASSERT_NE(cell, nullptr);
            cell->formula->flags = formulaflag::withObjectKind(cell->formula->flags, ObjectKind::BarGraph);
            cell->formula->setErrorMark(false);
        }
        for (const auto& [root, unused] : lists) {
            std::set<int> reached{root};
            std::vector<int> todo{root};
            std::map<int, int> expected;  // series column -> times shown
            while (!todo.empty()) {
                const int v = todo.back();
                todo.pop_back();
                for (int t : lists[v]) {
                    if (t <= 0) {
                        ++expected[-t];
                    } else if (reached.insert(t).second) {
                        todo.push_back(t);
                    }
                }
            }
            SourceText from;
            ASSERT_TRUE(formulaArguments(*fx.cell(root, 1), from));
            std::vector<CellRec*> out;
            ErrStat err;
            const int count = CollectSources(fx.engine.evaluator(), fx.store, from, ObjectKind::BarGraph, out, err);
            ASSERT_FALSE(err.failed()) << err.savedCode;
            std::map<int, int> shown;
            for (const CellRec* c : out) ++shown[c->col];
            EXPECT_EQ(count, static_cast<int>(out.size()));
            EXPECT_EQ(shown, expected) << "round " << round << " root " << root;
        }
    }
}

TEST(CollectSources, ReadViewGivesKindSettingsAndSources) {
    FunctionFixture fx;
    makeSource(fx, 1, 1, 4);
    makeSource(fx, 1, 2, 6, 12);
    fx.enter(2, 2, "@Viewport([1,2])");
    fx.enter(2, 1, "@ViewOverhead([1,1],[2,2])");
    ViewContent view;
    ErrStat err;
    ASSERT_TRUE(readView(fx.engine.evaluator(), fx.store, *fx.cell(2, 1), view, err));
    EXPECT_EQ(view.kind, ObjectKind::PlanView);
    EXPECT_EQ(view.settings[19], 1.0);
    ASSERT_EQ(view.sources.size(), 2u);
    EXPECT_EQ(view.sources[0], fx.cell(1, 1));
    EXPECT_EQ(view.sources[1], fx.cell(1, 2));
    EXPECT_FALSE(readView(fx.engine.evaluator(), fx.store, *fx.cell(1, 1), view, err));
    EXPECT_EQ(err.code, 19);
}

}  // namespace
}  // namespace qx
