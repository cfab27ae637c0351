#include "engineering/cogo/cogo_arguments.h"

#include <cmath>

#include "core/cell_store.h"
#include "core/formula_flags.h"
#include "engineering/cogo/origins.h"
#include "formula/lexer.h"
#include "functions/argument_readers.h"

namespace qx {

using namespace origins::cogo;

namespace {

constexpr int kFirstPointFormat = 33;
// fmt 0..4 selects XY, NE, POLAR, XYZ, NEE.
constexpr int kFormatCodes[] = {34, 33, 36, 35, 37};

bool isKind(const FormulaRec& f, ObjectKind kind) {
    return formulaflag::objectKind(f.flags) == kind;
}

double element(const FormulaRec& f, uint32_t index) {
    return f.array != nullptr && index <= f.arrayCount() ? f.array[index] : 0.0;
}

Vec3 elementsAt(const FormulaRec& f, uint32_t first) {
    return {element(f, first), element(f, first + 1), element(f, first + 2)};
}

bool nextIsAddress(FunctionCall& call) {
    const char c = call.at(skipBlanks(call.record().text, call.cursor() + 1));
    return c == '[' || c == '~';
}

bool incompatible(FunctionCall& call, int32_t point, Origin origin, ErrStat& err) {
    callFailure(call, err, kObjectCell, point, Msg::IncompatibleCellType);
    err.trace(origin);
    return false;
}

bool outOfRange(FunctionCall& call, int32_t point, Origin origin, ErrStat& err) {
    callFailure(call, err, kChoices, point, Msg::ParameterOutOfRange);
    err.trace(origin);
    return false;
}

bool wholeIn(double v, int low, int high, int& out) {
    if (!(v >= low && v <= high) || v != std::floor(v)) return false;
    out = static_cast<int>(v);
    return true;
}

}  // namespace

const CellRec* objectCellArgument(FunctionCall& call, Msg emptyCode, Origin origin, ErrStat& err) {
    err.enter();
    if (call.ended() || !nextIsAddress(call)) {
        return callFailure(call, err, kObjectCell, 1, Msg::WrongParameters), err.trace(origin), nullptr;
    }
    const CellArgument a = cellArgument(call, err);
    if (err.failed()) return err.trace(kObjectCell), err.trace(origin), nullptr;
    const CellRec* cell = a.cell;
    if (cell == nullptr || cell->isPlaceholder()) {
        return callFailure(call, err, kObjectCell, 2, emptyCode), err.trace(origin), nullptr;
    }
    if (!cell->isFormula() || cell->formula == nullptr) {
        return callFailure(call, err, kObjectCell, 3, Msg::IncompatibleCellType), err.trace(origin), nullptr;
    }
    if (cell->formula->errorMark()) {
        return callFailure(call, err, kObjectCell, 4, Msg::UndefinedCellOrBadValue), err.trace(origin), nullptr;
    }
    return cell;
}

double geometryFailure(FunctionCall& call, ErrStat& err, Origin origin, int32_t point, L06 message) {
    err.position = call.record().namePos;
    err.fail(geometryLibraryTwin(origin), point, message);
    err.trace(origin);
    return 0.0;
}

bool noArguments(FunctionCall& call) {
    const char* text = call.record().text;
    if (call.at(call.cursor()) != '(') return false;
    const int close = skipBlanks(text, call.cursor() + 1);
    if (text[close] != ')') return false;
    call.setCursor(close + 1);
    return true;
}

std::vector<Vec3> cellPoints(const FormulaRec& formula) {
    std::vector<Vec3> points;
    const uint32_t stride = formulaflag::option(formula.flags) ? 3 : 2;
    const uint32_t count = formula.array != nullptr ? formula.arrayCount() : 0;
    for (uint32_t i = 1; i + stride - 1 <= count; i += stride) {
        Vec3 p{formula.array[i], formula.array[i + 1], stride == 3 ? formula.array[i + 2] : 0.0};
        points.push_back(p);
    }
    return points;
}

bool pointArgument(FunctionCall& call, Vec3& out, Origin origin, ErrStat& err, Msg emptyCode) {
    const CellRec* cell = objectCellArgument(call, emptyCode, origin, err);
    if (cell == nullptr) return false;
    const FormulaRec* f = cell->formula;
    if (isKind(*f, ObjectKind::Curve)) {
        out = elementsAt(*f, 1);
        return true;
    }
    if (!isKind(*f, ObjectKind::Coordinate)) return incompatible(call, 5, origin, err);
    const std::vector<Vec3> points = cellPoints(*f);
    out = points.empty() ? Vec3{} : points.front();
    return true;
}

bool incompatibleArgument(FunctionCall& call, Origin origin, ErrStat& err) {
    return incompatible(call, 8, origin, err);
}

bool pointListArgument(FunctionCall& call, std::vector<Vec3>& out, ObjectKind& kind, Origin origin, ErrStat& err) {
    const CellRec* cell = objectCellArgument(call, Msg::EmptyCell, origin, err);
    if (cell == nullptr) return false;
    const FormulaRec* f = cell->formula;
    kind = formulaflag::objectKind(f->flags);
    const bool accepted = kind == ObjectKind::Coordinate || kind == ObjectKind::Segment || kind == ObjectKind::Polygon;
    if (!accepted) return incompatible(call, 6, origin, err);
    const std::vector<Vec3> points = cellPoints(*f);
    if (out.size() + points.size() > static_cast<std::size_t>(kMaxArrayElements / 3)) {
        return outOfRange(call, 1, origin, err);
    }
    out.insert(out.end(), points.begin(), points.end());
    return true;
}

bool numbersAndPlane(FunctionCall& call, double* values, int count, bool planeAllowed, std::optional<Vec3>& normal,
                     Origin origin, ErrStat& err) {
    err.enter();
    normal.reset();
    const int n = call.ended() ? 0 : argumentList(call, values, count, err);
    if (err.failed()) return err.trace(kNumbers), err.trace(origin), false;
    if (n < count) return callFailure(call, err, kNumbers, 1, Msg::WrongParameters), err.trace(origin), false;
    if (call.ended()) return true;
    if (!planeAllowed || call.at(call.cursor()) != ',' || !nextIsAddress(call)) {
        return callFailure(call, err, kNumbers, 2, Msg::WrongParameters), err.trace(origin), false;
    }
    const CellRec* plane = objectCellArgument(call, Msg::IncompatibleCellType, origin, err);
    if (plane == nullptr) return false;
    const FormulaRec* f = plane->formula;
    if (isKind(*f, ObjectKind::Coordinate)) {
        const std::vector<Vec3> points = cellPoints(*f);
        normal = points.empty() ? Vec3{} : points.front();
    } else if (isKind(*f, ObjectKind::Curve)) {
        normal = elementsAt(*f, 13);
    } else if (isKind(*f, ObjectKind::Text)) {
        normal = elementsAt(*f, 7);
    } else {
        return incompatible(call, 7, origin, err);
    }
    if (!call.ended()) return callFailure(call, err, kPlane, 1, Msg::MissingBracket), err.trace(origin), false;
    return true;
}

bool frameFor(FunctionCall& call, const std::optional<Vec3>& normal, Vec3 through, PlaneFrame& frame, Origin origin,
              ErrStat& err) {
    if (!normal) {
        frame = PlaneFrame();
        return true;
    }
    const std::optional<PlaneFrame> made = PlaneFrame::through(through, *normal);
    if (!made) return outOfRange(call, 2, origin, err);
    frame = *made;
    return true;
}

bool modeArgument(FunctionCall& call, double v, int& mode, Origin origin, ErrStat& err) {
    return wholeIn(v, 0, 3, mode) || outOfRange(call, 3, origin, err);
}

bool typeArgument(FunctionCall& call, double v, AngleType& type, Origin origin, ErrStat& err) {
    int t = 0;
    if (!wholeIn(v, 0, kAngleTypeCount - 1, t)) return outOfRange(call, 4, origin, err);
    type = static_cast<AngleType>(t);
    return true;
}

bool formatArgument(FunctionCall& call, double v, int& displayCode, Origin origin, ErrStat& err) {
    int fmt = 0;
    if (!wholeIn(v, 0, 4, fmt)) return outOfRange(call, 5, origin, err);
    displayCode = kFormatCodes[fmt];
    return true;
}

void markResult(CellRec& cell, const CellResult& r) {
    uint32_t flags = formulaflag::withObjectKind(cell.formula->flags, r.kind);
    if (r.threeD || r.displayCode >= kFirstPointFormat) flags = formulaflag::withOption(flags, true);
    if (r.displayCode != 0) flags = formulaflag::withDisplayFormat(flags, r.displayCode);
    if (r.mode) flags = formulaflag::withAngleMode(flags, *r.mode);
    if (r.type) flags = formulaflag::withAngleType(flags, static_cast<int>(*r.type) + 1);
    if (r.clearType) flags = formulaflag::withAngleType(flags, 0);
    cell.formula->flags = flags;
}

bool storeResult(FunctionCall& call, CellRec& cell, const CellResult& result, std::span<const double> values,
                 Origin origin, ErrStat& err) {
    err.enter();
    if (!elementsComputable(call, values, err)) return err.trace(kStore), err.trace(origin), false;
    CellStore& store = call.services().store;
    const int n = static_cast<int>(values.size());
    store.setArraySize(&cell, n, err);
    if (!err.failed() && n > 0) store.setArrayElements(&cell, values.data(), 0, n - 1, err);
    if (err.failed()) return err.trace(kStore), err.trace(origin), false;
    markResult(cell, result);
    return true;
}

FailedResultRelease::~FailedResultRelease() {
    CellRec* cell = m_call.cell();
    if (!m_err.failed() || cell == nullptr || !cell->isFormula() || cell->formula == nullptr) return;
    ErrStat ignored;
    m_call.services().store.freeArray(cell, ignored);
}

}  // namespace qx
