#include "files/dxf/view_drawing.h"

#include <algorithm>
#include <cmath>
#include <string>
#include <unordered_set>
#include <vector>

#include "core/cell_store.h"
#include "core/formula_flags.h"
#include "engineering/road/vertical_curve.h"
#include "files/origins.h"
#include "formula/bracket_match.h"
#include "formula/compiled_text.h"
#include "formula/lexer.h"
#include "functions/view_objects.h"

namespace qx {

using namespace origins::files;

namespace {

// Curve values (from 1): PT, radius point, PC, and the central angle, negative for a curve to the left.
constexpr uint32_t kCurvePT = 1;
constexpr uint32_t kCurveRadiusPoint = 4;
constexpr uint32_t kCurvePC = 10;
constexpr uint32_t kCurveDelta = 21;
// Text values: begin point, end point, plane normal, height, mode.
constexpr uint32_t kTextBegin = 1;
constexpr uint32_t kTextEnd = 4;
constexpr uint32_t kTextHeight = 10;
constexpr uint32_t kTextMode = 11;
// Profile elements: station, offset, station point, element code (1 is a station read off the chain).
constexpr uint32_t kElementStation = 1;
constexpr uint32_t kElementOffset = 2;
constexpr uint32_t kElementX = 5;
constexpr uint32_t kElementY = 6;
constexpr uint32_t kElementCode = 8;
constexpr double kStationReadOff = 1.0;
constexpr double kVerticalCurveCode = 4.0;
// A vertical curve's values: the grades into and out of it and its rate of change.
constexpr uint32_t kCurveG1 = 9;
constexpr uint32_t kCurveRate = 12;
constexpr uint32_t kCurveG2 = 15;
// A vertical curve is drawn as this many chords.
constexpr int kCurveChords = 16;

double valueAt(const FormulaRec& f, uint32_t index) {
    return index <= f.arrayCount() ? f.array[index] : 0.0;
}

bool threeDOf(const FormulaRec& f) {
    return formulaflag::option(f.flags);
}

Vec3 pointAt(const FormulaRec& f, uint32_t first, bool threeD) {
    return {valueAt(f, first), valueAt(f, first + 1), threeD ? valueAt(f, first + 2) : 0.0};
}

ObjectKind kindOf(const CellRec& cell) {
    return formulaflag::objectKind(cell.formula->flags);
}

bool usable(const CellRec* cell) {
    return cell != nullptr && cell->isFormula() && cell->formula != nullptr && !cell->formula->errorMark();
}

// Where the argument starting at `pos` ends: the next ',' outside brackets and strings, or `close`.
int argumentEnd(const std::string& text, int pos, int close) {
    int depth = 0;
    for (; pos < close; ++pos) {
        const char c = text[static_cast<std::size_t>(pos)];
        if (c == '"') {
            const int end = stringEnd(text.c_str(), pos);
            if (end <= pos) return close;
            pos = end - 1;
        } else if (c == '(' || c == '[' || c == '{') {
            ++depth;
        } else if (c == ')' || c == ']' || c == '}') {
            --depth;
        } else if (c == ',' && depth == 0) {
            return pos;
        }
    }
    return close;
}

// The cells that a formula's arguments name, in argument order; null for an argument that is no address.
std::vector<CellRec*> addressArguments(Evaluator& evaluator, CellStore& store, CellRec& cell) {
    std::vector<CellRec*> cells;
    SourceText from;
    if (!formulaArguments(cell, from)) return cells;
    std::string text(from.text, static_cast<std::size_t>(from.close) + 1);
    for (int pos = from.open; pos < from.close;) {
        const int start = skipBlanks(text.c_str(), pos + 1);
        if (start >= from.close) break;
        CellRec* found = nullptr;
        int p = start;
        if (text[static_cast<std::size_t>(p)] == '~') {
            DirectAddress da;
            found = const_cast<CellRec*>(directTarget(cell.formula, text.c_str(), p, da));
        } else if (text[static_cast<std::size_t>(p)] == '[') {
            ErrStat ignored;
            RegisterBlock regs = from.regs;
            const CellAddress a = evaluator.parseAddress(&cell, text.data(), p, false, regs, ignored);
            if (!ignored.failed()) {
                found = store.findCell(a.row, a.col, a.hasLevel ? a.level : cell.level, ignored);
                if (ignored.failed()) found = nullptr;
            }
        }
        cells.push_back(found);
        pos = argumentEnd(text, start, from.close);
    }
    return cells;
}

// One place along a profile, with the vertical curve that ends there, if any.
struct ProfileNode {
    double station = 0.0;
    double elevation = 0.0;
    double offset = 0.0;
    double x = 0.0;
    double y = 0.0;
    bool onCurve = false;
    VerticalCurve curve;
};

ProfileNode nodeOf(const FormulaRec& f, double offset) {
    return {valueAt(f, kElementStation), f.value, offset, valueAt(f, kElementX), valueAt(f, kElementY), false, {}};
}

// The curve from the node before to `element`, rebuilt from its stored grades; its rate gives the ratio of
// horizontal distance to stations that an offset line on a horizontal curve has.
void addVerticalCurve(const FormulaRec& element, const ProfileNode& before, ProfileNode& node) {
    if (valueAt(element, kElementCode) != kVerticalCurveCode || element.arrayCount() < kCurveG2) return;
    VerticalCurve& c = node.curve;
    c.pcStation = before.station;
    c.pcElevation = before.elevation;
    c.g1 = valueAt(element, kCurveG1);
    c.g2 = valueAt(element, kCurveG2);
    c.length = node.station - before.station;
    const double rate = valueAt(element, kCurveRate);
    if (c.length <= 0.0 || rate == 0.0 || c.g1 == c.g2) return;
    c.scale = (c.g2 - c.g1) / (c.length * rate) * 100.0;
    node.onCurve = std::isfinite(c.scale) && c.scale > 0.0;
}

// The profile between node a and node b at `station` (a.station <= station <= b.station).
ProfileNode between(const ProfileNode& a, const ProfileNode& b, double station) {
    const double t = b.station > a.station ? (station - a.station) / (b.station - a.station) : 0.0;
    ProfileNode out{station,
                    a.elevation + t * (b.elevation - a.elevation),
                    a.offset,
                    a.x + t * (b.x - a.x),
                    a.y + t * (b.y - a.y),
                    false,
                    {}};
    if (b.onCurve) {
        ErrStat ignored;
        const double e = elevationOnCurve(b.curve, station, ignored);
        if (!ignored.failed()) out.elevation = e;
    }
    return out;
}

// The element that continues the chain after `link`: a change-of-grade element whose first argument
// names it. Only cells that refer to `link` can, so its dependents are the candidates.
CellRec* nextElement(Evaluator& evaluator, CellStore& store, CellRec& link) {
    const std::vector<CellRec*> dependents(store.dependentsOf(link).begin(), store.dependentsOf(link).end());
    for (CellRec* cell : dependents) {
        if (!usable(cell) || kindOf(*cell) != ObjectKind::StationElement) continue;
        if (valueAt(*cell->formula, kElementCode) == kStationReadOff) continue;
        const std::vector<CellRec*> args = addressArguments(evaluator, store, *cell);
        if (!args.empty() && args.front() == &link) return cell;
    }
    return nullptr;
}

// The profile from its start cell on, in chain order; a chain never visits a cell twice.
std::vector<ProfileNode> profileNodes(Evaluator& evaluator, CellStore& store, CellRec& start) {
    const double offset = valueAt(*start.formula, kElementOffset);
    std::vector<ProfileNode> nodes{nodeOf(*start.formula, offset)};
    std::unordered_set<const CellRec*> seen{&start};
    for (CellRec* cell = nextElement(evaluator, store, start); cell != nullptr && seen.insert(cell).second;
         cell = nextElement(evaluator, store, *cell)) {
        ProfileNode node = nodeOf(*cell->formula, offset);
        addVerticalCurve(*cell->formula, nodes.back(), node);
        nodes.push_back(node);
    }
    return nodes;
}

// The profile at `station`, between the two nodes around it; false when the profile does not reach it.
bool profileAt(const std::vector<ProfileNode>& nodes, double station, ProfileNode& out) {
    for (std::size_t i = 0; i < nodes.size(); ++i) {
        const ProfileNode& b = nodes[i];
        if (b.station == station) return out = b, true;
        if (i == 0 || nodes[i - 1].station > station || b.station < station) continue;
        out = between(nodes[i - 1], b, station);
        return true;
    }
    return false;
}

void addFigure(Drawing& d, DrawingKind kind, std::vector<Vec3> points, bool threeD) {
    DrawingElement e;
    e.kind = kind;
    e.points = std::move(points);
    e.threeD = threeD;
    d.elements.push_back(std::move(e));
}

std::vector<Vec3> listPoints(const FormulaRec& f, bool threeD) {
    const uint32_t step = threeD ? 3 : 2;
    std::vector<Vec3> points;
    for (uint32_t i = 1; i + step - 1 <= f.arrayCount(); i += step) points.push_back(pointAt(f, i, threeD));
    return points;
}

void addCurve(Drawing& d, const FormulaRec& f) {
    if (f.arrayCount() < kCurveDelta) return;
    DrawingElement e;
    e.kind = DrawingKind::Arc;
    e.points = {pointAt(f, kCurveRadiusPoint, true), pointAt(f, kCurvePC, true), pointAt(f, kCurvePT, true)};
    // A curve to the right turns clockwise.
    e.clockwise = valueAt(f, kCurveDelta) > 0.0;
    d.elements.push_back(std::move(e));
}

void addText(Drawing& d, const CellStore& store, const CellRec& cell) {
    const FormulaRec& f = *cell.formula;
    if (f.arrayCount() < kTextMode) return;
    DrawingElement e;
    e.kind = DrawingKind::Text;
    const Vec3 end = pointAt(f, kTextEnd, true);
    e.points = {pointAt(f, kTextBegin, true), end, end};
    e.threeD = threeDOf(f);
    e.text = store.getTag(&cell);
    e.height = valueAt(f, kTextHeight);
    const double mode = valueAt(f, kTextMode);
    e.mode = mode >= 0.0 && mode <= 4.0 ? static_cast<int>(mode) : 0;
    d.elements.push_back(std::move(e));
}

void addProfile(Drawing& d, Evaluator& evaluator, CellStore& store, CellRec& start, bool alongStations) {
    std::vector<Vec3> points;
    const std::vector<ProfileNode> nodes = profileNodes(evaluator, store, start);
    for (std::size_t i = 0; i < nodes.size(); ++i) {
        const ProfileNode& n = nodes[i];
        if (!alongStations) {
            points.push_back({n.x, n.y, 0.0});
            continue;
        }
        for (int k = 1; n.onCurve && i > 0 && k < kCurveChords; ++k) {
            const ProfileNode& a = nodes[i - 1];
            const ProfileNode on = between(a, n, a.station + (n.station - a.station) * k / kCurveChords);
            points.push_back({on.station, on.elevation, 0.0});
        }
        points.push_back({n.station, n.elevation, 0.0});
    }
    addFigure(d, DrawingKind::OpenFigure, std::move(points), false);
}

void addCrossSection(Drawing& d, Evaluator& evaluator, CellStore& store, CellRec& section, bool across) {
    const std::vector<CellRec*> args = addressArguments(evaluator, store, section);
    const double station = section.formula->value;
    std::vector<Vec3> points;
    for (std::size_t i = 1; i < args.size(); ++i) {
        if (!usable(args[i]) || kindOf(*args[i]) != ObjectKind::Profile) continue;
        ProfileNode at;
        if (!profileAt(profileNodes(evaluator, store, *args[i]), station, at)) continue;
        points.push_back(across ? Vec3{at.offset, at.elevation, 0.0} : Vec3{at.x, at.y, 0.0});
    }
    if (across) {
        std::stable_sort(points.begin(), points.end(), [](const Vec3& a, const Vec3& b) { return a.x < b.x; });
    }
    addFigure(d, DrawingKind::OpenFigure, std::move(points), false);
}

void addSource(Drawing& d, Evaluator& evaluator, CellStore& store, CellRec& cell) {
    const FormulaRec& f = *cell.formula;
    const bool threeD = threeDOf(f);
    switch (kindOf(cell)) {
        case ObjectKind::Coordinate:
            return addFigure(d, DrawingKind::Point, {pointAt(f, 1, threeD)}, threeD);
        case ObjectKind::Segment:
            return addFigure(d, DrawingKind::OpenFigure, listPoints(f, threeD), threeD);
        case ObjectKind::Polygon:
            return addFigure(d, DrawingKind::ClosedFigure, listPoints(f, threeD), threeD);
        case ObjectKind::Curve:
            return addCurve(d, f);
        case ObjectKind::Text:
            return addText(d, store, cell);
        case ObjectKind::Profile:
            return addProfile(d, evaluator, store, cell, d.kind == ObjectKind::ProfileView);
        case ObjectKind::CrossSection:
            return addCrossSection(d, evaluator, store, cell, d.kind == ObjectKind::SectionView);
        default:
            // Number series of graphs; the other kinds a view accepts have no geometry of their own yet.
            if (d.kind == ObjectKind::LineGraph || d.kind == ObjectKind::BarGraph || d.kind == ObjectKind::XYGraph) {
                DrawingElement e;
                e.kind = d.kind == ObjectKind::BarGraph ? DrawingKind::BarSeries : DrawingKind::LineSeries;
                d.elements.push_back(std::move(e));
            }
            return;
    }
}

}  // namespace

bool drawingOfView(Evaluator& evaluator, CellStore& store, CellRec& cell, Drawing& out, ErrStat& err) {
    err.enter();
    out = Drawing{};
    ViewContent view;
    if (!readView(evaluator, store, cell, view, err)) return err.trace(kViewDrawingOrigin), false;
    out.kind = view.kind;
    for (CellRec* source : view.sources) {
        if (usable(source)) addSource(out, evaluator, store, *source);
    }
    return true;
}

}  // namespace qx
