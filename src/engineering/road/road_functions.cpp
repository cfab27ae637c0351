// Profiles: a start cell, change-of-grade elements each linked to the one before, stations read off
// the chain, and cross-sections through several profiles.
#include "engineering/road/road_functions.h"

#include <array>
#include <cmath>
#include <vector>

#include "core/cell_store.h"
#include "core/formula_flags.h"
#include "engineering/cogo/cogo_arguments.h"
#include "engineering/cogo/plane_geometry.h"
#include "engineering/road/alignment.h"
#include "engineering/road/origins.h"
#include "engineering/road/vertical_curve.h"
#include "formula/bracket_match.h"
#include "functions/argument_readers.h"
#include "functions/object_values.h"

namespace qx {

using namespace origins::road;

namespace {

enum class ElementCode : int { None = 0, Station = 1, Elevation = 2, Slope = 3, VerticalCurve = 4 };

constexpr int kElementValueCount = 8;
constexpr int kProfileDisplayCodes[] = {0, 27};

// What an element of the chain hands on to the next one.
struct Link {
    const CellRec* cell = nullptr;
    double elevation = 0.0;
    double station = 0.0;
    double offset = 0.0;
    double grade = 0.0;
    double parameter = 0.0;  // the horizontal curve's radius on the way to this element, 0 straight
    ElementCode code = ElementCode::None;
    AlignmentStart start;
    uint32_t flags = 0;  // display format, angle mode and type are copied from here

    double value(uint32_t index) const {
        const FormulaRec& f = *cell->formula;
        return index <= f.arrayCount() ? f.array[index] : 0.0;
    }
};

enum class LinkUse { ChangeOfGrade, Station };

bool isProfileStart(const CellRec& c) {
    return formulaflag::objectKind(c.formula->flags) == ObjectKind::Profile;
}
bool isElement(const CellRec& c) {
    return formulaflag::objectKind(c.formula->flags) == ObjectKind::StationElement;
}

Link linkOf(const CellRec& cell) {
    Link l;
    l.cell = &cell;
    l.flags = cell.formula->flags;
    l.elevation = cell.formula->value;
    l.station = l.value(1);
    l.offset = l.value(2);
    l.grade = l.value(3);
    l.parameter = l.value(7);
    l.code = static_cast<ElementCode>(static_cast<int>(l.value(8)));
    const int storedType = formulaflag::angleType(l.flags);
    l.start.point = Vec3{l.value(5), l.value(6), 0.0};
    l.start.direction = l.value(4);
    l.start.mode = formulaflag::angleMode(l.flags);
    l.start.type =
        storedType >= 1 && storedType <= kAngleTypeCount ? static_cast<AngleType>(storedType - 1) : AngleType::Ray;
    l.start.station = l.station;
    l.start.offset = l.offset;
    return l;
}

// A missing link is reported with the chain's own message for it.
bool linkFromCell(FunctionCall& call, const CellRec* cell, LinkUse use, Link& out, Origin origin, ErrStat& err) {
    const bool usable = isProfileStart(*cell) || isElement(*cell);
    const ElementCode code = usable ? linkOf(*cell).code : ElementCode::None;
    const bool accepted = use == LinkUse::Station
                              ? isElement(*cell) && code != ElementCode::Station
                              : isProfileStart(*cell) || (isElement(*cell) && code != ElementCode::Station);
    if (!accepted) return callFailure(call, err, origin, 11, Msg::IncompatibleCellType), false;
    out = linkOf(*cell);
    return true;
}

bool linkArgument(FunctionCall& call, LinkUse use, Link& out, Origin origin, ErrStat& err) {
    const CellRec* cell = objectCellArgument(call, Msg::DuplicateStation, origin, err);
    return cell != nullptr && linkFromCell(call, cell, use, out, origin, err);
}

// The element that `element` names as its own link, read from its formula.
bool linkedBack(FunctionCall& call, const CellRec& element, Link& out, ErrStat& err) {
    err.enter();
    char* text = element.text;
    const int open = text == nullptr ? -1 : static_cast<int>(std::string_view(text).find('('));
    const int close = open < 0 ? open : matchBracket(text, open);
    if (open < 0 || close <= open) return callFailure(call, err, kLinkBack, 1, Msg::DuplicateStation), false;
    // The link is read as the element's own formula would read it, so the call needs the element as a
    // writable cell: the store hands it out as one.
    ErrStat ignored;
    CellRec* self = call.services().store.findCell(element.row, element.col, element.level, ignored);
    CallRecord record{self, text, 0, open, open, close, call.record().regs, call.record().evaluator};
    FunctionCall inner(record, call.services(), 0);
    const CellRec* cell = objectCellArgument(inner, Msg::DuplicateStation, kLinkBack, err);
    if (cell == nullptr) return err.position = call.record().namePos, false;
    return linkFromCell(call, cell, LinkUse::ChangeOfGrade, out, kLinkBack, err);
}

bool storeElement(FunctionCall& call, CellRec& cell, ObjectKind kind, uint32_t copiedFlags,
                  std::span<const double> values, Origin origin, ErrStat& err) {
    CellResult r;
    r.kind = kind;
    r.threeD = true;
    if (!storeResult(call, cell, r, values, origin, err)) return false;
    uint32_t& flags = cell.formula->flags;
    flags = formulaflag::withDisplayFormat(flags, formulaflag::displayFormat(copiedFlags));
    flags = formulaflag::withAngleMode(flags, formulaflag::angleMode(copiedFlags));
    flags = formulaflag::withAngleType(flags, formulaflag::angleType(copiedFlags));
    return true;
}

enum class GradeKind { Elevation, Slope, VerticalCurve };

double changeOfGrade(FunctionCall& call, GradeKind kind, Origin origin, ErrStat& err) {
    err.enter();
    CellRec* cell = callingFormula(call, origin, err);
    if (cell == nullptr) return 0.0;
    FailedResultRelease release(call, err);
    Link link;
    double a[3] = {};
    if (!linkArgument(call, LinkUse::ChangeOfGrade, link, origin, err)) return 0.0;
    boundedArguments(call, a, 2, 3, false, err);
    if (err.failed()) return err.trace(origin), 0.0;
    const double station = a[0];
    const double parameter = a[2];
    if (!(station > link.station)) return callFailure(call, err, origin, 2, Msg::IllegalStation);
    const AlignmentStep step = alignmentStep(link.start, station, parameter, err);
    if (err.failed()) return err.trace(origin), 0.0;
    double elevation = 0.0;
    double grade = a[1];
    ElementCode code = ElementCode::Slope;
    std::array<double, 7> curve{};
    switch (kind) {
        case GradeKind::Elevation:
            code = ElementCode::Elevation;
            elevation = a[1];
            grade = (elevation - link.elevation) / step.horizontal * 100.0;
            break;
        case GradeKind::Slope:
            elevation = link.elevation + step.horizontal * a[1] * 0.01;
            break;
        case GradeKind::VerticalCurve: {
            code = ElementCode::VerticalCurve;
            const double scale = step.horizontal / (station - link.station);
            const VerticalCurve vc = verticalCurve(link.station, link.elevation, link.grade, a[1], station, scale, err);
            if (!err.failed()) elevation = elevationOnCurve(vc, station, err);
            if (err.failed()) return err.trace(origin), 0.0;
            curve = verticalCurveValues(vc);
            break;
        }
    }
    std::vector<double> values = {station,      link.offset,  grade,     step.direction,
                                  step.point.x, step.point.y, parameter, static_cast<double>(code)};
    if (kind == GradeKind::VerticalCurve) values.insert(values.end(), curve.begin(), curve.end());
    if (!storeElement(call, *cell, ObjectKind::StationElement, link.flags, values, origin, err)) return 0.0;
    return elevation;
}

}  // namespace

double fnElevation(FunctionCall& call, ErrStat& err) {
    return changeOfGrade(call, GradeKind::Elevation, kElevationFn, err);
}

double fnSlope(FunctionCall& call, ErrStat& err) {
    return changeOfGrade(call, GradeKind::Slope, kSlopeFn, err);
}

double fnVertCurve(FunctionCall& call, ErrStat& err) {
    return changeOfGrade(call, GradeKind::VerticalCurve, kVertCurveFn, err);
}

// A profile starts at the station point placed from a point of beginning along the given direction.
double fnProfile(FunctionCall& call, ErrStat& err) {
    err.enter();
    CellRec* cell = callingFormula(call, kProfileFn, err);
    if (cell == nullptr) return 0.0;
    FailedResultRelease release(call, err);
    CellResult r;
    r.kind = ObjectKind::Profile;
    r.threeD = true;
    if (noArguments(call)) {
        const std::array<double, kElementValueCount> empty{};
        return storeResult(call, *cell, r, empty, kProfileFn, err), 0.0;
    }
    Vec3 beginning;
    double a[7] = {};
    int mode = 0;
    AngleType type = AngleType::Ray;
    if (!pointArgument(call, beginning, kProfileFn, err, Msg::IncompatibleCellType)) return 0.0;
    if (!exactArguments(call, a, 7, err)) return err.trace(kProfileFn), 0.0;
    const double dsp = a[3];
    if (dsp != 0.0 && dsp != 1.0) return callFailure(call, err, kProfileFn, 1, Msg::ParameterOutOfRange);
    if (!modeArgument(call, a[4], mode, kProfileFn, err) || !typeArgument(call, a[5], type, kProfileFn, err))
        return 0.0;
    if (!isDirectionType(type)) return geometryFailure(call, err, kProfileFn, 2, L06::IllegalAngleType);
    DirectionRecord d;
    if (!directionFromAngle(mode, type, a[6], d, err)) return err.trace(kProfileFn), 0.0;
    const double direction = angleInMode(d, type, mode, err);
    if (err.failed()) return err.trace(kProfileFn), 0.0;
    const double station = a[0];
    const Vec3 at = pointAlong(beginning, d.ray(), station);
    const std::array<double, kElementValueCount> values = {station, a[2], 0.0, direction, at.x, at.y, 0.0, 0.0};
    r.displayCode = kProfileDisplayCodes[static_cast<int>(dsp)];
    r.mode = mode;
    r.type = type;
    if (!storeResult(call, *cell, r, values, kProfileFn, err)) return 0.0;
    // Decimal is code 0, which a result leaves alone.
    cell->formula->flags = formulaflag::withDisplayFormat(cell->formula->flags, r.displayCode);
    return a[1];
}

// The elevation at a station before the element [link], on the piece of the chain that ends there.
double fnStation(FunctionCall& call, ErrStat& err) {
    err.enter();
    CellRec* cell = callingFormula(call, kStationFn, err);
    if (cell == nullptr) return 0.0;
    FailedResultRelease release(call, err);
    Link element;
    Link before;
    double station = 0.0;
    if (!linkArgument(call, LinkUse::Station, element, kStationFn, err)) return 0.0;
    if (!exactArguments(call, &station, 1, err)) return err.trace(kStationFn), 0.0;
    if (!(station < element.station)) return callFailure(call, err, kStationFn, 1, Msg::IllegalStation);
    if (!linkedBack(call, *element.cell, before, err)) return err.trace(kStationFn), 0.0;
    if (!(before.station < station)) return callFailure(call, err, kStationFn, 2, Msg::IllegalStation);
    const AlignmentStep step = alignmentStep(before.start, station, element.parameter, err);
    if (err.failed()) return err.trace(kStationFn), 0.0;
    double elevation = before.elevation + element.grade * 0.01 * step.horizontal;
    double grade = element.grade;
    if (element.code == ElementCode::VerticalCurve) {
        const AlignmentStep whole = alignmentStep(before.start, element.station, element.parameter, err);
        const double scale = whole.horizontal / (element.station - before.station);
        const VerticalCurve vc = err.failed() ? VerticalCurve{}
                                              : verticalCurve(before.station, before.elevation, element.value(9),
                                                              element.value(15), element.station, scale, err);
        if (!err.failed()) elevation = elevationOnCurve(vc, station, err);
        if (err.failed()) return err.trace(kStationFn), 0.0;
        grade = gradeOnCurve(vc, station);
    }
    const std::array<double, kElementValueCount> values = {station,
                                                           before.offset,
                                                           grade,
                                                           step.direction,
                                                           step.point.x,
                                                           step.point.y,
                                                           element.parameter,
                                                           static_cast<double>(ElementCode::Station)};
    if (!storeElement(call, *cell, ObjectKind::StationElement, element.flags, values, kStationFn, err)) return 0.0;
    return elevation;
}

double fnXsection(FunctionCall& call, ErrStat& err) {
    err.enter();
    CellRec* cell = callingFormula(call, kXsectionFn, err);
    if (cell == nullptr) return 0.0;
    FailedResultRelease release(call, err);
    if (noArguments(call)) return callFailure(call, err, kXsectionFn, 1, Msg::WrongParameters);
    const double station = numericArgument(call, err);
    if (err.failed()) return err.trace(kXsectionFn), 0.0;
    int profiles = 0;
    while (!call.ended()) {
        const CellRec* p = objectCellArgument(call, Msg::EmptyCell, kXsectionFn, err);
        if (p == nullptr) return 0.0;
        if (!isProfileStart(*p)) return callFailure(call, err, kXsectionFn, 2, Msg::IncompatibleCellType);
        ++profiles;
    }
    if (profiles < 2) return callFailure(call, err, kXsectionFn, 3, Msg::WrongParameters);
    CellResult r;
    r.kind = ObjectKind::CrossSection;
    r.threeD = true;
    const double values[1] = {static_cast<double>(profiles)};
    if (!storeResult(call, *cell, r, values, kXsectionFn, err)) return 0.0;
    return station;
}

namespace {

constexpr FunctionEntry kRoadTable[] = {
    {"@Elevation", 0, "@Elevation ( [link], station, elevation, <alignment> )", fnElevation},
    {"@Profile", 0, "@Profile ( [pob], station, elevation, offset, dsp, mode, type, angle )", fnProfile},
    {"@Slope", 0, "@Slope ( [link], station, %slope, <alignment> )", fnSlope},
    {"@Station", 0, "@Station ( [link], station )", fnStation},
    {"@VertCurve", 0, "@VertCurve ( [link], station, %slope, <alignment> )", fnVertCurve},
    {"@Xsection", 0, "@Xsection ( station, [profile], [profile], ... )", fnXsection},
};

}  // namespace

std::span<const FunctionEntry> roadFamily() {
    return kRoadTable;
}

}  // namespace qx
