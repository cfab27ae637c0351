#include "objects/table_operations.h"

#include <gtest/gtest.h>

#include <array>
#include <cmath>
#include <functional>
#include <vector>

#include "object_fixture.h"

namespace qx {
namespace {

using test::ObjectFixture;
using Operation = std::function<bool(CellStore&, CellRec*, ErrStat&)>;

const std::vector<double> kSample = {8, 2, 3, 1, 2, 3, 4, 5, 6};

// A NULL-form table at [1,1]: corner k, columns a b c, rows r s, values 1..6.
void placeSample(ObjectFixture& fx, std::vector<double> array = kSample) {
    CaptureBuffer b;
    b.kind = ObjectKind::Table;
    b.array = std::move(array);
    const auto rows = static_cast<std::size_t>(b.array[1]), cols = static_cast<std::size_t>(b.array[2]);
    CapturedNames n;
    n.columnNames = {"", "a", "b", "c"};
    n.columnNames.resize(cols + 1);
    n.columnWords = {static_cast<uint16_t>(cols), 1, 2, 3};
    n.columnWords.resize(cols + 1);
    n.rowNames = {"k", "r", "s", "t", "u"};
    n.rowNames.resize(rows + 1);
    b.names = n;
    PlaceTarget t = fx.target();
    ErrStat err;
    ASSERT_TRUE(placeInEmptyCell(t, b, 1, 1, 1, err));
}

Operation invert() {
    return [](auto& s, auto c, auto& e) { return invertTable(s, c, e); };
}
Operation swap(int a, int b) {
    return [=](auto& s, auto c, auto& e) { return swapColumnsOfTable(s, c, a, b, e); };
}
Operation removeColumn(int k) {
    return [=](auto& s, auto c, auto& e) { return removeColumnOfTable(s, c, k, e); };
}
Operation removeRow(int k) {
    return [=](auto& s, auto c, auto& e) { return removeRowOfTable(s, c, k, e); };
}
Operation sort(std::vector<SortKey> k) {
    return [=](auto& s, auto c, auto& e) { return sortTableRows(s, c, k, e); };
}

Operation setValue(int row, int col, double v) {
    return [=](auto& s, auto c, auto& e) { return setTableValue(s, c, row, col, v, e); };
}

TEST(TableOperations, ResultsAndTheirNames) {
    const std::vector<double> tall = {10, 4, 2, 1, 9, 0, 8, 1, 7, 0, 6};  // rows r s t u, for stable sorting
    const struct {
        const char* what;
        std::vector<Operation> ops;
        std::vector<double> array;
        std::string names;
        std::vector<double> start = kSample;
    } cases[] = {
        {"invert", {invert()}, {8, 3, 2, 1, 4, 2, 5, 3, 6}, "k|r,s|a,b,c|22"},
        {"invert twice", {invert(), invert()}, {8, 2, 3, 1, 2, 3, 4, 5, 6}, "k|a,b,c|r,s|222"},
        {"swap", {swap(3, 1)}, {8, 2, 3, 3, 2, 1, 6, 5, 4}, "k|c,b,a|r,s|321"},
        {"remove column", {removeColumn(2)}, {6, 2, 2, 1, 3, 4, 6}, "k|a,c|r,s|13"},
        {"remove row", {removeRow(1)}, {5, 1, 3, 4, 5, 6}, "k|a,b,c|s|123"},
        {"sort descending", {sort({{2, true}})}, {8, 2, 3, 4, 5, 6, 1, 2, 3}, "k|a,b,c|s,r|123"},
        {"stable sort", {sort({{1, false}})}, {10, 4, 2, 0, 8, 0, 6, 1, 9, 1, 7}, "k|a,b|s,u,r,t|12", tall},
        {"set first value", {setValue(1, 1, 9)}, {8, 2, 3, 9, 2, 3, 4, 5, 6}, "k|a,b,c|r,s|123"},
        {"set last value", {setValue(2, 3, -0.5)}, {8, 2, 3, 1, 2, 3, 4, 5, -0.5}, "k|a,b,c|r,s|123"},
        {"set after invert", {invert(), setValue(3, 1, 7)}, {8, 3, 2, 1, 4, 2, 5, 7, 6}, "k|r,s|a,b,c|22"},
        {"keys in turn",
         {sort({{1, false}, {2, false}})},
         {10, 4, 2, 0, 6, 0, 8, 1, 7, 1, 9},
         "k|a,b|u,s,t,r|12",
         tall},
        {"keys descending",
         {sort({{1, true}, {2, true}})},
         {10, 4, 2, 1, 9, 1, 7, 0, 8, 0, 6},
         "k|a,b|r,t,s,u|12",
         tall},
    };
    for (const auto& c : cases) {
        ObjectFixture fx;
        placeSample(fx, c.start);
        for (const Operation& op : c.ops) {
            ErrStat err;
            EXPECT_TRUE(op(fx.store, fx.cell(1, 1), err)) << c.what << " " << err.code;
        }
        EXPECT_EQ(fx.arrayOf(1, 1), c.array) << c.what;
        ErrStat err;
        ASSERT_TRUE(captureCellObject(fx.cell(1, 1), fx.buffer, err));
        EXPECT_EQ(ObjectFixture::namesText(fx.buffer), c.names) << c.what;
    }
}

TEST(TableOperations, RefusalsLeaveTheTableUnchanged) {
    const struct {
        const char* what;
        const char* formula;  // none: the sample table, or `array` when given
        std::vector<double> array;
        Operation op;
        int code, routine;
        int shrinkTo = 0;  // a count the array's sizes disagree with
    } cases[] = {
        {"computed table", "@Table(1,2,3,4)", {}, invert(), 7, 2},
        {"a number", "5", {}, removeRow(1), 7, 5},
        {"an empty table", "@Table()", {}, sort({{1, false}}), 7, 1},
        {"only column", nullptr, {4, 2, 1, 1, 2}, removeColumn(1), 9, 4},
        {"only row", nullptr, {5, 1, 3, 1, 2, 3}, removeRow(1), 9, 5},
        {"column 0", nullptr, {}, removeColumn(0), 9, 4},
        {"row past the end", nullptr, {}, removeRow(3), 9, 5},
        {"same column twice", nullptr, {}, swap(2, 2), 9, 3},
        {"column past the end", nullptr, {}, swap(1, 4), 9, 3},
        {"no sort key", nullptr, {}, sort({}), 10, 1},
        {"key past the end", nullptr, {}, sort({{4, false}}), 10, 1},
        {"inconsistent array", nullptr, {}, invert(), 8, 2, 7},
        {"set in a computed table", "@Table(1,2,3,4)", {}, setValue(1, 1, 0), 7, 6},
        {"set row 0", nullptr, {}, setValue(0, 1, 0), 9, 6},
        {"set row past the end", nullptr, {}, setValue(3, 1, 0), 9, 6},
        {"set column 0", nullptr, {}, setValue(1, 0, 0), 9, 6},
        {"set column past the end", nullptr, {}, setValue(1, 4, 0), 9, 6},
        {"set NaN", nullptr, {}, setValue(1, 1, std::nan("")), 10, 6},
        {"set into an inconsistent array", nullptr, {}, setValue(1, 1, 0), 8, 6, 7},
    };
    for (const auto& c : cases) {
        ObjectFixture fx;
        ErrStat err;
        if (c.formula != nullptr) {
            fx.enter(1, 1, c.formula);
        } else {
            placeSample(fx, c.array.empty() ? kSample : c.array);
        }
        if (c.shrinkTo != 0) fx.store.setArraySize(fx.cell(1, 1), c.shrinkTo, err);
        const std::vector<double> before = fx.arrayOf(1, 1);
        EXPECT_FALSE(c.op(fx.store, fx.cell(1, 1), err)) << c.what;
        EXPECT_TRUE(err.letter == 'W' && err.module == 50) << c.what;
        EXPECT_EQ((std::array<int, 2>{err.code, err.routine}), (std::array<int, 2>{c.code, c.routine})) << c.what;
        EXPECT_EQ(fx.arrayOf(1, 1), before) << c.what;
    }
}

TEST(TableOperations, SetValueMarksTheLevelChanged) {
    ObjectFixture fx;
    placeSample(fx);
    fx.store.levelOf(*fx.cell(1, 1))->changed = false;
    fx.store.scratch().repaintPending = false;
    ErrStat err;
    ASSERT_TRUE(setTableValue(fx.store, fx.cell(1, 1), 2, 2, 8, err));
    EXPECT_TRUE(fx.store.levelOf(*fx.cell(1, 1))->changed);
    EXPECT_TRUE(fx.store.scratch().repaintPending);
}

}  // namespace
}  // namespace qx
