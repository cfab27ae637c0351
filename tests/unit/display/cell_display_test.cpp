#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <string>
#include <vector>

#include "core/formula_flags.h"
#include "display/cell_display.h"

namespace qx {
namespace {

// A formula cell built by hand: kind, format, precision code, angle fields and Array Area.
struct FormulaCell {
    std::vector<double> array{0.0};
    std::string objectText;
    ObjectRec object;
    FormulaRec formula;
    CellRec cell;

    FormulaCell(int kind, int format, double value, std::vector<double> elements = {}, int precisionCode = 3) {
        array.assign(1, static_cast<double>(elements.size()));
        array.insert(array.end(), elements.begin(), elements.end());
        uint32_t f = formulaflag::withObjectKind(0, static_cast<ObjectKind>(kind));
        f = formulaflag::withDisplayFormat(f, format);
        formula.flags = formulaflag::withPrecisionCode(f, precisionCode);
        formula.array = array.data();
        formula.value = value;
        cell.setType(CellType::Formula);
        cell.formula = &formula;
    }
    FormulaCell& angle(int storedType, int mode) {
        formula.flags = formulaflag::withAngleMode(formulaflag::withAngleType(formula.flags, storedType), mode);
        return *this;
    }
    FormulaCell& text(const char* t) {
        objectText = t;
        object.data = reinterpret_cast<unsigned char*>(objectText.data());
        object.size = objectText.size() + 1;
        formula.object = &object;
        return *this;
    }
};

std::string rightIn(int width, const std::string& s) {
    return std::string(static_cast<std::size_t>(width) - s.size(), ' ') + s;
}

TEST(ObjectDescription, EveryKindDescribesItself) {
    struct Case {
        int kind;
        int format;
        double value;
        std::vector<double> elements;
        const char* shown;
    };
    const std::vector<Case> cases = {
        {2, 0, 0, {3, 4}, "3x4 MATRIX"},
        {2, 0, 0, {}, "0x0 MATRIX"},  // an empty matrix holds no element 1 or 2
        {2, 0, 0, {5}, "5x0 MATRIX"},
        {19, 0, 0, {3, 4}, "TABLE {3x4}"},
        {5, 0, 7, {}, "SEGMENT(7)"},
        {6, 0, 12, {}, "POLYGON(12)"},
        {8, 0, 0, {}, "TRIANGLE"},
        {9, 0, 1.5, {}, "{1.50}"},
        {10, 0, 1.5, {}, "{1.50}"},
        {12, 0, 150, {}, "1+50.00"},
        {20, 0, 0, {}, "VIEWPORT"},
        {23, 0, 0, {}, "XSECTION"},
        {28, 0, 3, {}, "XYGRAPH(3)"},
        {30, 0, 3, {}, "BARGRAPH(3)"},
        {11, 0, 0, {}, "UNSUPPORTED OBJECT {11}"},
        {127, 0, 0, {}, "UNSUPPORTED OBJECT {127}"},
        {4, 34, 0, {1.5, 2.25}, "(1.50, 2.25)"},
        {4, 33, 0, {1.5, 2.25}, "[2.25, 1.50]"},
        {4, 35, 0, {1.5, 2.25}, "(1.50, 2.25, 0.00)"},
        {4, 37, 0, {1.5, 2.25, 3}, "[2.25, 1.50, 3.00]"},
        {7, 34, 0, {-1, 2, 0}, "(-1.00, 2.00)"},
        {1, 0, 0, {}, "TEXT(0)"},
    };
    const CellDisplayContext ctx;
    for (const Case& c : cases) {
        FormulaCell fc(c.kind, c.format, c.value, c.elements);
        EXPECT_EQ(objectDescription(fc.cell, 30, ctx), rightIn(30, c.shown)) << "kind " << c.kind;
    }
}

TEST(ObjectDescription, ObjectsThatNeedTheirFlagsOrRecords) {
    const CellDisplayContext ctx;
    FormulaCell text(1, 0, 0);
    EXPECT_EQ(objectDescription(text.text("abcd").cell, 10, ctx), "   TEXT(4)");
    FormulaCell ray(3, 0, 0, {10.5, 45.25});
    EXPECT_EQ(objectDescription(ray.angle(1, 1).cell, 30, ctx), rightIn(30, "RAY(d)  45.25000,10.50"));
    FormulaCell bearing(3, 0, 0, {10.5, 145.3015});
    EXPECT_EQ(objectDescription(bearing.angle(2, 3).cell, 30, ctx), rightIn(30, "N45 30'15.0\"E  10.50"));
    FormulaCell degrees(3, 0, 0, {10.5, 145.5});
    EXPECT_EQ(objectDescription(degrees.angle(2, 1).cell, 30, ctx), rightIn(30, "N45 30'00.0\"E  10.50"));
    EXPECT_EQ(objectDescription(degrees.angle(2, 0).cell, 30, ctx), rightIn(30, "BRG(r) 145.50000,10.50"));
    FormulaCell untyped(3, 0, 0, {1, 2});
    EXPECT_EQ(objectDescription(untyped.angle(0, 0).cell, 30, ctx), rightIn(30, "?\?\?(r)   2.00000,1.00"));
    FormulaCell polar(4, 36, 0, {3, 4});
    EXPECT_EQ(objectDescription(polar.angle(0, 1).cell, 30, ctx), rightIn(30, "{5.00, 53.13010}"));
    EXPECT_EQ(objectDescription(polar.angle(0, 3).cell, 30, ctx), rightIn(30, "{5.00, 53.07484}"));
    FormulaCell badPoint(4, 0, 0, {1, 2});
    EXPECT_EQ(objectDescription(badPoint.cell, 8, ctx), "!!!!!!!!");
    FormulaCell wide(8, 0, 0);
    EXPECT_EQ(objectDescription(wide.cell, 5, ctx), "*****");
}

TEST(ObjectDescription, StationAtTheAlignmentColumn) {
    CellDisplayContext ctx;
    ctx.alignColumn = 6;
    FormulaCell section(12, 0, 150, {}, 1);
    EXPECT_EQ(objectDescription(section.cell, 10, ctx), "    1+50  ");
}

// Any kind, format and value gives a description exactly as wide as asked.
TEST(ObjectDescription, AnyObjectFitsEveryWidth) {
    const double inf = std::numeric_limits<double>::infinity();
    const CellDisplayContext ctx;
    for (double v : {std::nan(""), inf, -1.7e308, -0.0, 4.9e-324, 123.456}) {
        for (int kind = 0; kind <= 127; kind += (kind < 40 ? 1 : 29)) {
            for (int format : {0, 8, 20, 25, 26, 33, 36, 127}) {
                FormulaCell fc(kind, format, v, {v, v, v}, 15);
                fc.angle(2, 3);
                for (int width = 1; width <= kMaxDisplayWidth; width += 7) {
                    ASSERT_EQ(objectDescription(fc.cell, width, ctx).size(), static_cast<std::size_t>(width));
                }
            }
        }
    }
}

TEST(CellDisplay, LabelsPlaceholdersAndFailedValues) {
    const CellDisplayContext ctx;
    CellRec label;
    label.setType(CellType::Label);
    char hello[] = "Hello";
    EXPECT_EQ(cellDisplayText(&label, 40, ctx), "?");
    label.text = hello;
    EXPECT_EQ(cellDisplayText(&label, 40, ctx), "Hello");
    EXPECT_EQ(cellDisplayText(&label, 4, ctx), "Hel");
    CellDisplayContext hidden;
    hidden.columnVisible = false;
    EXPECT_EQ(cellDisplayText(&label, 40, hidden), "");
    CellRec placeholder;
    placeholder.setType(CellType::Undefined);
    EXPECT_EQ(cellDisplayText(&placeholder, 40, ctx), "?");
    EXPECT_EQ(cellDisplayText(nullptr, 40, ctx), "");

    const double inf = std::numeric_limits<double>::infinity();
    const std::vector<std::pair<double, const char*>> failed = {
        {5.0, "?"}, {inf, "+1.#INF"}, {-1.7e308, "-1.#INF"}, {std::nan(""), "?"}};
    for (auto [value, shown] : failed) {
        FormulaCell fc(0, 0, value);
        fc.formula.setErrorMark(true);
        EXPECT_EQ(cellDisplayText(&fc.cell, 40, ctx), shown) << value;
    }
}

TEST(CellDisplay, PlainValuesUseTheCellsFormatPrecisionAndJustification) {
    CellDisplayContext ctx;
    ctx.inheritedPrecision = 1;
    FormulaCell own(0, 0, 1234.567);
    EXPECT_EQ(cellDisplayText(&own.cell, 40, ctx), rightIn(22, "1234.57"));  // plain values at most 22 wide
    EXPECT_EQ(cellDisplayText(&own.cell, 10, ctx), " 1234.57");
    FormulaCell inherited(0, 0, 1234.567, {}, 0);
    EXPECT_EQ(cellDisplayText(&inherited.cell, 12, ctx), "    1234.6");
    inherited.cell.style = 1u << 20;  // justified left
    EXPECT_EQ(cellDisplayText(&inherited.cell, 12, ctx), "1234.6    ");
    inherited.cell.style = 2u << 20;  // centred
    EXPECT_EQ(cellDisplayText(&inherited.cell, 12, ctx), "  1234.6  ");
    FormulaCell badFormat(0, 20, 1.0);
    EXPECT_EQ(cellDisplayText(&badFormat.cell, 8, ctx), "!!!!!!");
    FormulaCell object(2, 0, 0, {2, 2});
    EXPECT_EQ(cellDisplayText(&object.cell, 42, ctx), rightIn(40, "2x2 MATRIX"));
}

}  // namespace
}  // namespace qx
