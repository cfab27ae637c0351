#include "objects/capture_buffer.h"

#include <gtest/gtest.h>

#include <vector>

#include "object_fixture.h"

namespace qx {
namespace {

// The captured kind as the tables write it; 0 when nothing was captured.
int kindNumber(const CaptureBuffer& buffer) {
    return buffer.kind ? static_cast<int>(*buffer.kind) : 0;
}

using test::ObjectFixture;
using Cells = std::vector<ObjectFixture::Entry>;

// A selection from [1,1] row by row; "" is an empty place.
using Grid = std::vector<std::vector<std::string>>;

TEST(CaptureTable, SelectionShapesChooseLayouts) {
    const struct {
        const char* shape;
        Grid cells;
        int layout;  // 0: fails with 88
        std::vector<double> array;
        std::string names;  // corner|columns|rows|precisions
    } cases[] = {
        {"row F F", {{"1", "2", "3"}}, 1, {5, 1, 3, 1, 2, 3}, ""},
        {"row L F", {{"'r", "2", "3"}}, 3, {4, 1, 2, 2, 3}, "r|,|r|22"},
        {"column F F", {{"1"}, {"2"}}, 1, {4, 2, 1, 1, 2}, ""},
        {"column L F", {{"'c"}, {"2"}, {"3"}}, 2, {4, 2, 1, 2, 3}, "|c|,|2"},
        {"F F / F L", {{"1", "2"}, {"3", "'x"}}, 1, {6, 2, 2, 1, 2, 3, 0}, ""},
        {"L L / F F", {{"'a", "'b"}, {"1", "2"}}, 2, {4, 1, 2, 1, 2}, "|a,b||22"},
        {"L F / L F", {{"'p", "1"}, {"'q", "2"}}, 3, {4, 2, 1, 1, 2}, "p||p,q|2"},
        {"- L / L F", {{"", "'x", "'y"}, {"'r", "1", "2"}, {"'s", "3", "4"}}, 4, {6, 2, 2, 1, 2, 3, 4}, "|x,y|r,s|22"},
        {"L L / L F", {{"'k", "'x"}, {"'r", "5"}}, 5, {3, 1, 1, 5}, "k|x|r|2"},
        {"L - / L F", {{"'k", ""}, {"'r", "5"}}, 6, {3, 1, 1, 5}, "k||r|2"},
        {"L - / - F", {{"'k", ""}, {"", "5"}}, 7, {3, 1, 1, 5}, "k|||2"},
        {"L L / - F", {{"'k", "'x"}, {"", "5"}}, 8, {3, 1, 1, 5}, "k|x||2"},
        {"F L / F F", {{"1", "'x"}, {"1", "2"}}, 0, {}, ""},
        {"row F L", {{"1", "'x"}}, 0, {}, ""},
        {"one formula", {{"7"}}, 1, {3, 1, 1, 7}, ""},
        {"one label", {{"'7"}}, 0, {}, ""},
        {"nothing", {{"", "", ""}, {"", "", ""}, {"", "", ""}}, 0, {}, ""},
    };
    for (const auto& c : cases) {
        ObjectFixture fx;
        const int rows = static_cast<int>(c.cells.size()), cols = static_cast<int>(c.cells[0].size());
        for (int at = 0; at < rows * cols; ++at) {
            const std::string& text = c.cells[at / cols][at % cols];
            if (!text.empty()) fx.enter(at / cols + 1, at % cols + 1, text);
        }
        ErrStat err;
        EXPECT_EQ(captureTable(fx.store, 1, {1, 1, rows, cols}, fx.buffer, err), c.layout) << c.shape;
        EXPECT_EQ(err.failed() ? err.code : 0, c.layout == 0 ? 88 : 0) << c.shape;
        EXPECT_EQ(fx.buffer.array, c.array) << c.shape;
        EXPECT_EQ(ObjectFixture::namesText(fx.buffer), c.names) << c.shape;
        EXPECT_EQ(kindNumber(fx.buffer), c.layout == 0 ? 0 : 19) << c.shape;
    }
}

TEST(CaptureTable, ColumnPrecisionComesFromTheFirstDataCell) {
    ObjectFixture fx;
    fx.fill({{1, 1, "'a"}, {1, 2, "'b"}, {2, 1, "1"}, {2, 2, "2"}});
    fx.cell(2, 2)->formula->flags = formulaflag::withPrecisionCode(fx.cell(2, 2)->formula->flags, 5);
    ErrStat err;
    EXPECT_EQ(captureTable(fx.store, 1, {1, 1, 2, 2}, fx.buffer, err), 2);
    EXPECT_EQ(ObjectFixture::namesText(fx.buffer), "|a,b||24");
}

TEST(CaptureTable, FailedValuesReadAsZero) {
    ObjectFixture fx;
    fx.fill({{1, 1, "1"}, {1, 2, "+sqrt(-1)"}, {2, 1, "'label"}, {2, 2, "4"}});
    ASSERT_TRUE(fx.failed(1, 2));
    ErrStat err;
    EXPECT_EQ(captureMatrix(fx.store, 1, {1, 1, 2, 2}, fx.buffer, err), false);
    EXPECT_EQ(err.code, 83);  // a label in a matrix selection
    fx.enter(2, 1, "'");
    EXPECT_TRUE(captureMatrix(fx.store, 1, {1, 1, 2, 2}, fx.buffer, err));
    EXPECT_EQ(fx.buffer.array, (std::vector<double>{6, 2, 2, 1, 0, 0, 4}));
    EXPECT_EQ(fx.buffer.kind, ObjectKind::Matrix);
}

TEST(CaptureTable, AddressChecksComeFirstAndInOrder) {
    const struct {
        int level;
        CellArea area;
        int code;
    } cases[] = {
        {0, {0, 0, 0, 0}, 8},     {33, {1, 1, 1, 1}, 8},  {1, {0, 0, 1, 1}, 6}, {1, {1, 0, 1, 1}, 7},
        {1, {1, 1, 65535, 1}, 6}, {1, {1, 1, 1, 256}, 7}, {1, {2, 2, 2, 1}, 7}, {1, {2, 2, 1, 2}, 7},
    };
    for (const auto& c : cases) {
        ObjectFixture fx;
        fx.enter(1, 1, "1");
        ErrStat err;
        EXPECT_TRUE(captureCellObject(fx.object(9, 9, 2, {3, 1, 1, 5}), fx.buffer, err));
        EXPECT_EQ(captureTable(fx.store, c.level, c.area, fx.buffer, err), 0);
        EXPECT_EQ(err.code, c.code) << c.area.firstRow << "," << c.area.lastCol;
        EXPECT_EQ(err.letter, 'C');
        EXPECT_EQ(err.module, 20);
        EXPECT_TRUE(fx.buffer.empty());
        EXPECT_FALSE(captureMatrix(fx.store, c.level, c.area, fx.buffer, err));
        EXPECT_EQ(err.code, c.code);
    }
    ObjectFixture fx;
    ErrStat err;
    EXPECT_FALSE(captureMatrix(fx.store, 1, {1, 1, 200, 200}, fx.buffer, err));
    EXPECT_EQ(err.code, 9);  // more values than an Array Area holds
}

TEST(CaptureCellObject, OnlyObjectsWithTheirArrays) {
    ObjectFixture fx;
    fx.fill({{1, 1, "5"}, {1, 2, "'label"}, {1, 3, "@Table()"}});
    fx.object(2, 1, 28, {3, 1, 2, 3});
    fx.object(2, 2, 5, {6, 1, 2, 3, 4, 5, 6});
    const struct {
        int row, col, code;
    } cases[] = {{1, 1, 85}, {1, 2, 85}, {1, 3, 85}, {1, 9, 85}, {2, 1, 89}, {2, 2, 0}};
    for (const auto& c : cases) {
        ErrStat err;
        EXPECT_EQ(captureCellObject(fx.cell(c.row, c.col), fx.buffer, err), c.code == 0);
        EXPECT_EQ(err.failed() ? err.code : 0, c.code) << c.row << "," << c.col;
        EXPECT_EQ(fx.buffer.empty(), c.code != 0);
    }
    EXPECT_EQ(fx.buffer.kind, ObjectKind::Segment);
    EXPECT_EQ(fx.buffer.array, (std::vector<double>{6, 1, 2, 3, 4, 5, 6}));
}

TEST(CapturePoints, ColumnsOfNumbersAndColumnsOfObjects) {
    const Cells square = {{1, 1, "0"}, {1, 2, "0"}, {2, 1, "1"}, {2, 2, "0"},
                          {3, 1, "1"}, {3, 2, "1"}, {4, 1, "0"}, {4, 2, "1"}};
    const struct {
        const char* shape;
        Cells cells;
        CellArea area;
        int kind, resultKind;  // 0: fails with 88
        std::vector<double> array;
    } cases[] = {
        {"polygon of 3 rows", square, {1, 1, 3, 2}, 6, 0, {}},
        {"polygon of 4 rows", square, {1, 1, 4, 2}, 6, 6, {12, 0, 0, 0, 1, 0, 0, 1, 1, 0, 0, 1, 0}},
        {"one point, 3 columns", {{1, 1, "1"}, {1, 2, "2"}, {1, 3, "3"}}, {1, 1, 1, 3}, 4, 4, {3, 1, 2, 3}},
        {"points, 2 columns", square, {1, 1, 2, 2}, 4, 5, {6, 0, 0, 0, 1, 0, 0}},
        {"segment of one row", square, {1, 1, 1, 2}, 5, 0, {}},
        {"four columns", square, {1, 1, 1, 4}, 4, 0, {}},
        {"a missing cell", {{1, 1, "1"}, {2, 1, "1"}, {2, 2, "1"}}, {1, 1, 2, 2}, 5, 0, {}},
        {"a label", {{1, 1, "1"}, {1, 2, "'x"}}, {1, 1, 1, 2}, 4, 0, {}},
        {"column of numbers", {{1, 1, "1"}, {2, 1, "2"}}, {1, 1, 2, 1}, 5, 0, {}},
        {"polygon over 2 object rows", {}, {1, 5, 2, 5}, 6, 0, {}},
        {"coordinates joined", {}, {1, 5, 2, 5}, 5, 5, {6, 1, 2, 3, 4, 5, 6}},
        {"one coordinate as segment", {}, {1, 5, 1, 5}, 5, 4, {3, 1, 2, 3}},
        {"polygon from a segment cell", {}, {3, 5, 3, 5}, 6, 6, {12, 1, 1, 0, 2, 1, 0, 2, 2, 0, 1, 2, 0}},
        {"polygon from 3 points", {}, {4, 5, 4, 5}, 6, 0, {}},
        {"polygon drops its closing point", {}, {5, 5, 5, 5}, 5, 5, {6, 1, 1, 0, 2, 1, 0}},
    };
    for (const auto& c : cases) {
        ObjectFixture fx;
        for (const auto& e : c.cells) fx.enter(e.row, e.col, e.text);
        fx.object(1, 5, 4, {3, 1, 2, 3});
        fx.object(2, 5, 4, {3, 4, 5, 6});
        fx.object(3, 5, 5, {12, 1, 1, 0, 2, 1, 0, 2, 2, 0, 1, 2, 0});
        fx.object(4, 5, 5, {9, 1, 1, 0, 2, 1, 0, 2, 2, 0});
        fx.object(5, 5, 6, {9, 1, 1, 0, 2, 1, 0, 1, 1, 0});
        ErrStat err;
        EXPECT_EQ(capturePoints(fx.store, 1, c.area, static_cast<ObjectKind>(c.kind), fx.buffer, err),
                  c.resultKind != 0)
            << c.shape;
        EXPECT_EQ(err.failed() ? err.code : 0, c.resultKind == 0 ? 88 : 0) << c.shape;
        EXPECT_EQ(kindNumber(fx.buffer), c.resultKind) << c.shape;
        EXPECT_EQ(fx.buffer.array, c.array) << c.shape;
    }
}

}  // namespace
}  // namespace qx
