// Graphs and drawing views: the calling cell becomes the object and keeps its view settings; the
// value is the number of sources it shows.
#include "core/cell_store.h"
#include "core/formula_flags.h"
#include "functions/argument_readers.h"
#include "functions/families.h"
#include "functions/object_values.h"
#include "functions/origins.h"
#include "functions/view_objects.h"

namespace qx {

using namespace origins::functions;

namespace {

// Settings already there stay, so evaluating again does not undo what the view window changed.
bool keepsSettings(const FormulaRec& f, ObjectKind kind) {
    return formulaflag::objectKind(f.flags) == kind && !viewSettings(f).empty();
}

double graphObject(FunctionCall& call, ObjectKind kind, ErrStat& err) {
    err.enter();
    CellRec* cell = call.cell();
    if (cell == nullptr) return callFailure(call, err, kGraphics, 1, Msg::EmptyCell);
    if (!cell->isFormula() || cell->formula == nullptr) {
        return callFailure(call, err, kGraphics, 2, Msg::IncompatibleCellType);
    }
    CallRecord& rec = call.record();
    const SourceText from{cell, rec.text, rec.openParen, rec.closeParen, rec.regs};
    std::vector<CellRec*> sources;
    const int count = CollectSources(*rec.evaluator, call.services().store, from, kind, sources, err);
    if (count < 0) {
        // Whatever stopped the collection, the report is the graph's own.
        err.savedPoint = 0;
        return callFailure(call, err, kGraphics, 3, Msg::IncompatibleCellType);
    }
    if (count == 0) return 0.0;
    if (!keepsSettings(*cell->formula, kind)) {
        const ViewSettings defaults = defaultViewSettings(kind);
        CellStore& store = call.services().store;
        store.setArraySize(cell, kViewSettingCount, err);
        if (!err.failed()) store.setArrayElements(cell, defaults.data(), 0, kViewSettingCount - 1, err);
        if (err.failed()) return err.trace(kGraphics), 0.0;
    }
    setObjectKind(*cell, kind);
    return count;
}

}  // namespace

double fnBarGraph(FunctionCall& call, ErrStat& err) {
    return graphObject(call, ObjectKind::BarGraph, err);
}

double fnLineGraph(FunctionCall& call, ErrStat& err) {
    return graphObject(call, ObjectKind::LineGraph, err);
}

double fnViewOverhead(FunctionCall& call, ErrStat& err) {
    return graphObject(call, ObjectKind::PlanView, err);
}

double fnViewProfile(FunctionCall& call, ErrStat& err) {
    return graphObject(call, ObjectKind::ProfileView, err);
}

double fnViewSection(FunctionCall& call, ErrStat& err) {
    return graphObject(call, ObjectKind::SectionView, err);
}

double fnViewport(FunctionCall& call, ErrStat& err) {
    return graphObject(call, ObjectKind::Viewport, err);
}

double fnXYGraph(FunctionCall& call, ErrStat& err) {
    return graphObject(call, ObjectKind::XYGraph, err);
}

namespace {

constexpr FunctionEntry kGraphicsTable[] = {
    {"@BarGraph", 0, "@BarGraph ( [series1], [series2], ... )", fnBarGraph},
    {"@LineGraph", 0, "@LineGraph ( [series1], [series2], ... )", fnLineGraph},
    {"@ViewOverhead", 0, "@ViewOverhead ( [object1], [object2], ... )", fnViewOverhead},
    {"@ViewProfile", 0, "@ViewProfile ( [profile1], [profile2], ... )", fnViewProfile},
    {"@ViewSection", 0, "@ViewSection ( [section1], [section2], ... )", fnViewSection},
    {"@Viewport", 0, "@Viewport ( [object1], [object2], ... )", fnViewport},
    {"@XYGraph", 0, "@XYGraph ( [object1], [object2], ... )", fnXYGraph},
};

}  // namespace

std::span<const FunctionEntry> graphicsFamily() {
    return kGraphicsTable;
}

}  // namespace qx
