#include "display/object_description.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <cstring>
#include <optional>

#include "core/formula_flags.h"
#include "core/number_text.h"
#include "core/numeric.h"
#include "display/bearing_format.h"
#include "display/coordinate_text.h"

namespace qx {
namespace {

// Indexed by the stored angle type, which is the type number plus 1 (0: none).
constexpr std::array<const char*, 10> kDirectionTypes = {"???", "RAY", "BRG", "AZN", "AZS",
                                                         "ROT", "RHT", "LFT", "DFR", "DFL"};
constexpr std::array<const char*, 4> kAngleUnits = {"r", "d", "g", "dms"};
constexpr int kStoredBearingType = 2;
constexpr int kDirectionAngleWidth = 9;
constexpr uint32_t kJustifyShift = 20;  // style word bits 20-21
constexpr uint32_t kJustifyMask = 0x3;
constexpr uint32_t kJustifyLeft = 1;
constexpr uint32_t kJustifyCenter = 2;

struct Description {
    std::string text;
    char marker = 0;  // '*' or '!' over the width instead of text
};

NumberFormat cellFormat(const CellRec& cell, int width, const CellDisplayContext& ctx) {
    NumberFormat f;
    f.code = formulaflag::displayFormat(cell.formula->flags);
    f.precision = displayPrecision(*cell.formula, ctx);
    f.width = width;
    f.millennium = ctx.millennium;
    f.alignColumn = ctx.alignColumn;
    const uint32_t justify = (cell.style >> kJustifyShift) & kJustifyMask;
    f.justify = justify == kJustifyLeft ? Justify::Left : justify == kJustifyCenter ? Justify::Center : Justify::Right;
    return f;
}

// A value in the cell's own format, for use inside a longer description. A cell whose format is a
// point format (a direction made with a "fmt" argument) or a drawing display shows it as Decimal.
std::string valueText(double v, const NumberFormat& f) {
    NumberFormat inner = f;
    if (!isValidDisplayCode(inner.code)) inner.code = static_cast<int>(DisplayCode::Decimal);
    ErrStat err;
    const std::string t = formatNumber(v, inner, err);
    if (err.failed()) return markerFill('!', f.width);
    return std::string(trimBlanks(t));
}

std::string counted(const char* name, double v) {
    return name + std::string("(") + std::to_string(toInt32(v)) + ")";
}

std::string dimensions(const FormulaRec& fr) {
    return std::to_string(toInt32(arrayElement(fr, 1))) + "x" + std::to_string(toInt32(arrayElement(fr, 2)));
}

// A text object's own text, or else the tag it places.
std::size_t objectTextLength(const FormulaRec& fr) {
    if (fr.object == nullptr || fr.object->data == nullptr) return fr.tag != nullptr ? std::strlen(fr.tag) : 0;
    const auto* data = reinterpret_cast<const char*>(fr.object->data);
    return static_cast<std::size_t>(std::find(data, data + fr.object->size, '\0') - data);
}

std::string padLeft(std::string s, std::size_t width) {
    if (s.size() < width) s.insert(0, width - s.size(), ' ');
    return s;
}

// The bearing form of a direction held as a bearing in decimal degrees or DDD.MMSS; empty otherwise.
std::string bearingDirection(double angle, int mode, bool withDecimal) {
    if (mode != 1 && mode != 3) return {};
    return bearingText(angle, withDecimal, mode == 3).value_or(std::string());
}

std::string directionText(const CellRec& cell, const NumberFormat& f) {
    const FormulaRec& fr = *cell.formula;
    const int type = formulaflag::angleType(fr.flags);
    const int mode = formulaflag::angleMode(fr.flags);
    const double angle = arrayElement(fr, 2);
    const std::string distance = valueText(arrayElement(fr, 1), f);
    if (type == kStoredBearingType) {
        const std::string b = bearingDirection(angle, mode, f.precision != 0);
        if (!b.empty()) return b + "  " + distance;
    }
    const char* name = type < static_cast<int>(kDirectionTypes.size()) ? kDirectionTypes[static_cast<std::size_t>(type)]
                                                                       : kDirectionTypes[0];
    return std::string(name) + "(" + kAngleUnits[static_cast<std::size_t>(mode)] + ") " +
           padLeft(formatFixed(angle, 5), kDirectionAngleWidth) + "," + distance;
}

Description coordinate(const CellRec& cell, const NumberFormat& f) {
    const FormulaRec& fr = *cell.formula;
    CoordinateRequest r;
    r.format = f.code;
    r.angleMode = formulaflag::angleMode(fr.flags);
    r.x = arrayElement(fr, 1);
    r.y = arrayElement(fr, 2);
    r.z = arrayElement(fr, 3);
    r.precision = f.precision;
    r.width = f.width;
    CoordinateText t = coordinateText(r);
    if (t.code == kCoordinateBadFormat) return {{}, '!'};
    if (t.code != 0) return {{}, '*'};
    return {std::move(t.text)};
}

Description describe(const CellRec& cell, ObjectKind kind, const NumberFormat& f) {
    const FormulaRec& fr = *cell.formula;
    const double v = fr.value;
    switch (kind) {
        case ObjectKind::Text:
            return {"TEXT(" + std::to_string(objectTextLength(fr)) + ")"};
        case ObjectKind::Matrix:
            return {dimensions(fr) + " MATRIX"};
        case ObjectKind::Direction:
            return {directionText(cell, f)};
        case ObjectKind::Coordinate:
        case ObjectKind::Curve:
            return coordinate(cell, f);
        case ObjectKind::Segment:
            return {counted("SEGMENT", v)};
        case ObjectKind::Polygon:
            return {counted("POLYGON", v)};
        case ObjectKind::Triangle:
            return {"TRIANGLE"};
        case ObjectKind::Profile:
        case ObjectKind::StationElement: {
            NumberFormat inner = f;
            inner.width = f.width > 2 ? f.width - 2 : 1;
            return {"{" + valueText(v, inner) + "}"};
        }
        case ObjectKind::CrossSection: {
            NumberFormat station = f;
            station.code = static_cast<int>(DisplayCode::Station);
            ErrStat err;
            std::string t = formatNumber(v, station, err);
            if (err.failed()) return {{}, '!'};
            return {std::move(t)};
        }
        case ObjectKind::Table:
            return {"TABLE {" + dimensions(fr) + "}"};
        case ObjectKind::Viewport:
            return {"VIEWPORT"};
        case ObjectKind::PlanView:
            return {"PLANVIEW"};
        case ObjectKind::ProfileView:
            return {"PROFILE"};
        case ObjectKind::SectionView:
            return {"XSECTION"};
        case ObjectKind::XYGraph:
            return {counted("XYGRAPH", v)};
        case ObjectKind::LineGraph:
            return {counted("LINEGRAPH", v)};
        case ObjectKind::BarGraph:
            return {counted("BARGRAPH", v)};
        case ObjectKind::Number:
        case ObjectKind::CrossSectionPart:
            break;
    }
    return {"UNSUPPORTED OBJECT {" + std::to_string(static_cast<int>(kind)) + "}"};
}

}  // namespace

int arrayElementCount(const FormulaRec& formula) {
    if (formula.array == nullptr) return 0;
    const int32_t n = toInt32(formula.array[0]);
    if (n < 0) return 0;
    return n > kMaxArrayElements ? kMaxArrayElements : n;
}

double arrayElement(const FormulaRec& formula, int index) {
    if (index < 0 || index > arrayElementCount(formula)) return 0.0;
    return formula.array[index];
}

int displayPrecision(const FormulaRec& formula, const CellDisplayContext& context) {
    return formulaflag::hasPrecision(formula.flags) ? formulaflag::precision(formula.flags)
                                                    : context.inheritedPrecision;
}

std::string objectDescription(const CellRec& cell, int width, const CellDisplayContext& context) {
    if (width < 1 || cell.formula == nullptr) return {};
    if (width > kMaxDisplayWidth) width = kMaxDisplayWidth;
    const NumberFormat f = cellFormat(cell, width, context);
    const ObjectKind kind = formulaflag::objectKind(cell.formula->flags);
    if (kind == ObjectKind::Number) {
        ErrStat err;
        std::string t = formatNumber(cell.formula->value, f, err);
        return err.failed() ? markerFill('!', width) : t;
    }
    const Description d = describe(cell, kind, f);
    if (d.marker != 0) return markerFill(d.marker, width);
    if (static_cast<int>(d.text.size()) > width) return markerFill('*', width);
    if (kind == ObjectKind::CrossSection) return d.text;
    return justifyText(d.text, width, Justify::Right);
}

}  // namespace qx
