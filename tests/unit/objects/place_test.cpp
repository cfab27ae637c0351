#include "objects/place.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "core/style_word.h"
#include "core/table_descriptor.h"
#include "display/cell_display.h"
#include "object_fixture.h"

namespace qx {
namespace {

using test::ObjectFixture;

CaptureBuffer tableBuffer(std::vector<double> array, std::optional<CapturedNames> names = std::nullopt) {
    CaptureBuffer b;
    b.kind = ObjectKind::Table;
    b.array = std::move(array);
    b.names = std::move(names);
    return b;
}

CapturedNames names(std::vector<std::string> columns, std::vector<std::string> rows, std::vector<uint16_t> words) {
    CapturedNames n;
    n.columnNames = std::move(columns);
    n.rowNames = std::move(rows);
    n.columnWords = std::move(words);
    return n;
}

TEST(PlaceOnWorksheet, TableWithoutNamesWritesValuesAlone) {
    ObjectFixture fx;
    PlaceTarget t = fx.target();
    ErrStat err;
    ASSERT_TRUE(placeOnWorksheet(t, tableBuffer({6, 2, 2, 1.5, -2, 3.25, 4}), 5, 5, 1, err));
    EXPECT_EQ(fx.cellCount(), 4);
    EXPECT_EQ(fx.text(5, 5), "1.5");
    EXPECT_EQ(fx.value(6, 5), 3.25);
    EXPECT_EQ(fx.text(5, 6), "-2");
    EXPECT_EQ(formulaflag::precision(fx.cell(6, 6)->formula->flags), 2);
}

// A placed value is shown with its column's precision but keeps every digit it was captured with.
TEST(PlaceOnWorksheet, ValuesAreShownRoundedButKeptExactly) {
    const double values[] = {3.14159, -2.5e-300, 1.0 / 3.0, 1e300, 123456789.123456789, 0.1, -0.0, 4.9e-324, 1e22};
    for (const int precision : {0, 2, 7}) {
        ObjectFixture fx;
        PlaceTarget t = fx.target();
        std::vector<double> array{0, 1, static_cast<double>(std::size(values))};
        array.insert(array.end(), std::begin(values), std::end(values));
        array[0] = static_cast<double>(array.size() - 1);
        std::vector<uint16_t> words(std::size(values) + 1, static_cast<uint16_t>(precision));
        std::vector<std::string> columnNames(std::size(values) + 1, "c");
        CaptureBuffer b = tableBuffer(array, names(columnNames, {"", ""}, words));
        ErrStat err;
        ASSERT_TRUE(placeOnWorksheet(t, b, 1, 1, 1, err)) << precision;
        for (std::size_t i = 0; i < std::size(values); ++i) {
            const CellRec* cell = fx.cell(2, static_cast<int>(i) + 1);
            ASSERT_NE(cell, nullptr);
            EXPECT_EQ(cell->formula->value, values[i]) << fx.text(2, static_cast<int>(i) + 1);
            EXPECT_EQ(formulaflag::precision(cell->formula->flags), precision);
        }
        const std::string shown = cellDisplayText(fx.cell(2, 1), 40, CellDisplayContext{});
        const char* expected[] = {"3", "", "3.14", "", "", "", "", "3.1415900"};
        EXPECT_EQ(shown.substr(shown.find_first_not_of(' ')), expected[precision]);
    }
}

TEST(PlaceOnWorksheet, HeadersAreCentredLabels) {
    ObjectFixture fx;
    PlaceTarget t = fx.target();
    ErrStat err;
    const CaptureBuffer b = tableBuffer({6, 2, 2, 1, 2, 3, 4}, names({"", "a", ""}, {"corner", "r", "s"}, {2, 1, 3}));
    ASSERT_TRUE(placeOnWorksheet(t, b, 1, 1, 1, err));
    EXPECT_EQ(fx.text(1, 1), "corner");
    EXPECT_EQ(fx.text(1, 2), "a");
    EXPECT_EQ(fx.cell(1, 3), nullptr);  // an empty name writes nothing
    EXPECT_EQ(fx.text(3, 1), "s");
    for (const CellRec* header : {fx.cell(1, 2), fx.cell(2, 1)})
        EXPECT_EQ(style::justification(header->style), style::kJustifyCenter);
    EXPECT_EQ(fx.text(2, 2), "1");
    EXPECT_EQ(fx.text(3, 3), "4");
    EXPECT_EQ(formulaflag::precision(fx.cell(3, 3)->formula->flags), 3);
}

TEST(PlaceOnWorksheet, RefusalsWriteNothing) {
    const CaptureBuffer table = tableBuffer({6, 2, 2, 1, 2, 3, 4}, names({"", "a", "b"}, {"", "r", "s"}, {2, 2, 2}));
    CaptureBuffer other = table;
    other.kind = ObjectKind::XYGraph;
    // A stored array whose shape claims more rows than a count can hold.
    const CaptureBuffer huge = tableBuffer({3, 3e9, 1, 5}, names({"", "a"}, {"", "r"}, {1, 2}));
    const struct {
        const char* what;
        const CaptureBuffer* buffer;
        int row;
        int col;
        int level;
        int code;
    } cases[] = {
        {"a cell in the rectangle", &table, 8, 8, 1, 87}, {"a cell at its corner", &table, 10, 10, 1, 87},
        {"past the last row", &table, 65533, 1, 1, 6},    {"past the last column", &table, 1, 254, 1, 7},
        {"no such level", &table, 1, 1, 40, 8},           {"a kind that cannot be placed", &other, 1, 1, 1, 86},
        {"an empty buffer", nullptr, 1, 1, 1, 86},        {"rows beyond any count", &huge, 1, 1, 1, 6},
    };
    for (const auto& c : cases) {
        ObjectFixture fx;
        fx.fill({{10, 10, "'x"}, {9, 9, "1"}});
        PlaceTarget t = fx.target();
        ErrStat err;
        const CaptureBuffer empty;
        EXPECT_FALSE(placeOnWorksheet(t, c.buffer ? *c.buffer : empty, c.row, c.col, c.level, err)) << c.what;
        EXPECT_EQ(err.code, c.code) << c.what;
        EXPECT_EQ(fx.cellCount(), 2) << c.what;
    }
}

// The golden capture transcript places a captured table; here each capture is taken again from its placement.
TEST(PlaceOnWorksheet, CaptureThenPlaceThenCaptureGivesTheSameBuffer) {
    ObjectFixture fx;
    fx.fill({{1, 2, "'x"},
             {1, 3, "'y"},
             {2, 1, "'r"},
             {3, 1, "'s"},
             {2, 2, "1.5"},
             {2, 3, "2"},
             {3, 2, "3"},
             {3, 3, "4"},
             {6, 1, "1"},
             {6, 2, "2"},
             {6, 3, "3"},
             {7, 1, "4"},
             {7, 2, "5"},
             {7, 3, "6"}});
    fx.cell(2, 3)->formula->flags = formulaflag::withPrecisionCode(fx.cell(2, 3)->formula->flags, 4);
    auto capture = [&fx](const std::string& what, const CellArea& a, ErrStat& e) {
        if (what == "table") return captureTable(fx.store, 1, a, fx.buffer, e) == 4;
        if (what == "matrix") return captureMatrix(fx.store, 1, a, fx.buffer, e);
        return capturePoints(fx.store, 1, a, ObjectKind::Segment, fx.buffer, e);
    };
    const struct {
        std::string what;
        CellArea source, placed;  // where the placement at (20, 20) leaves the same shape
    } cases[] = {
        {"table", {1, 1, 3, 3}, {20, 20, 22, 22}},
        {"matrix", {6, 1, 7, 3}, {20, 20, 21, 22}},
        {"coordinates", {6, 1, 7, 3}, {21, 21, 22, 23}},
    };
    for (const auto& c : cases) {
        ErrStat err;
        fx.store.deleteBlock(1, 20, 20, 30, 30, NotifyMode::None, false, err);
        ASSERT_TRUE(capture(c.what, c.source, err)) << c.what;
        const CaptureBuffer first = fx.buffer;
        PlaceTarget t = fx.target();
        ASSERT_TRUE(placeOnWorksheet(t, fx.buffer, 20, 20, 1, err)) << c.what << " " << err.code;
        ASSERT_TRUE(capture(c.what, c.placed, err)) << c.what;
        EXPECT_EQ(fx.buffer.array, first.array) << c.what;
        EXPECT_EQ(ObjectFixture::namesText(fx.buffer), ObjectFixture::namesText(first)) << c.what;
    }
    EXPECT_EQ(fx.text(20, 21), "(x)");
    EXPECT_EQ(fx.text(22, 20), "2");
}

TEST(PlaceInEmptyCell, NullFormObjectWithItsNames) {
    ObjectFixture fx;
    const CaptureBuffer b = tableBuffer({6, 2, 2, 1, 2, 3, 4}, names({"", "a", "b"}, {"c", "r", "s"}, {2, 5, 1}));
    PlaceTarget t = fx.target();
    ErrStat err;
    ASSERT_TRUE(placeInEmptyCell(t, b, 4, 4, 2, err));
    const CellRec* cell = fx.cell(4, 4, 2);
    EXPECT_EQ(cell->textView(), "@Table()");
    EXPECT_EQ(formulaflag::objectKind(cell->formula->flags), ObjectKind::Table);
    ASSERT_TRUE(cell->formula->object && cell->formula->object->table);
    EXPECT_EQ(cell->formula->object->table->ownerLevel, 2);
    // The placed object survives a recalculation (reading it through the functions is in the golden transcript).
    fx.recalc.recalculateLevel(2);
    EXPECT_EQ(fx.cell(4, 4), nullptr);  // level 1 untouched
    EXPECT_EQ(formulaflag::objectKind(fx.cell(4, 4, 2)->formula->flags), ObjectKind::Table);
    ErrStat again;
    ASSERT_TRUE(captureCellObject(fx.cell(4, 4, 2), fx.buffer, again));
    EXPECT_EQ(fx.buffer.array, b.array);
    EXPECT_EQ(ObjectFixture::namesText(fx.buffer), ObjectFixture::namesText(b));
}

// Captured points, segments and polygons come back as NULL-form calls that keep what was placed.
TEST(PlaceInEmptyCell, PointsSegmentsAndPolygons) {
    const struct {
        ObjectKind kind;
        std::vector<double> array;
        const char* formula;
        const char* shown;
        double value;
    } cases[] = {
        {ObjectKind::Coordinate, {3, 1, 2, 3}, "@XYZ()", "(1.00, 2.00, 3.00)", 1},
        {ObjectKind::Segment, {6, 0, 0, 0, 10, 0, 1}, "@Segment()", "SEGMENT(2)", 2},
        {ObjectKind::Polygon, {12, 0, 0, 0, 1, 0, 0, 1, 1, 0, 0, 0, 0}, "@Polygon()", "POLYGON(4)", 4},
    };
    for (const auto& c : cases) {
        ObjectFixture fx;
        CaptureBuffer b;
        b.kind = c.kind;
        b.array = c.array;
        PlaceTarget t = fx.target();
        ErrStat err;
        ASSERT_TRUE(placeInEmptyCell(t, b, 3, 2, 1, err)) << c.formula;
        EXPECT_EQ(fx.cell(3, 2)->textView(), c.formula);
        EXPECT_EQ(fx.cell(3, 2)->formula->value, c.value) << c.formula;
        fx.recalc.recalculateLevel(1);
        const std::string shown = cellDisplayText(fx.cell(3, 2), 40, CellDisplayContext{});
        EXPECT_EQ(shown.substr(shown.find_first_not_of(' ')), c.shown) << c.formula;
        EXPECT_EQ(fx.arrayOf(3, 2), c.array) << c.formula;
        ASSERT_TRUE(captureCellObject(fx.cell(3, 2), fx.buffer, err)) << c.formula;
        EXPECT_EQ(fx.buffer.array, c.array) << c.formula;
    }
}

TEST(PlaceInEmptyCell, FailuresLeaveNoCell) {
    CaptureBuffer tooLong = tableBuffer({8192, 1, 8190});
    tooLong.array.resize(8193, 1.0);
    CaptureBuffer matrix = tableBuffer({3, 1, 1, 7});
    matrix.kind = ObjectKind::Matrix;
    const struct {
        const char* what;
        CaptureBuffer buffer;
        int row;
        int code;  // 0: placed
    } cases[] = {
        {"occupied", matrix, 1, 86},
        {"over 8191 values", tooLong, 2, 9},
        {"empty buffer", {}, 2, 86},
        {"matrix", matrix, 2, 0},
    };
    for (const auto& c : cases) {
        ObjectFixture fx;
        fx.enter(1, 1, "5");
        PlaceTarget t = fx.target();
        ErrStat err;
        EXPECT_EQ(placeInEmptyCell(t, c.buffer, c.row, 1, 1, err), c.code == 0) << c.what;
        EXPECT_EQ(err.failed() ? err.savedCode : 0, c.code) << c.what;
        EXPECT_EQ(fx.cellCount(), c.code == 0 ? 2 : 1) << c.what;
    }
}

}  // namespace
}  // namespace qx
