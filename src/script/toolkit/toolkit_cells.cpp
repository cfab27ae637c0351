// The toolkit's worksheet functions: reading and changing cells, the cell pointer and the selection.
#include <algorithm>
#include <string>

#include "core/attributes.h"
#include "core/cell_store.h"
#include "core/circular.h"
#include "core/property_access.h"
#include "core/row_cursor.h"
#include "display/cell_display.h"
#include "formula/entry.h"
#include "formula/evaluator.h"
#include "script/toolkit/origins.h"
#include "script/toolkit/toolkit_call.h"
#include "script/toolkit/toolkit_functions.h"

namespace qx {

using namespace origins::toolkit;

namespace {

constexpr int kAttributeArraySize = 3;
constexpr int kWidestDisplay = 255;
constexpr int kColumnWidthBits = 0x7FFF;

int highest(FunctionCall& call) {
    return call.services().store.highestLevel();
}

// A place given as (row, column, level) numbers, level 0 being the active one.
struct Place {
    int row = 0;
    int col = 0;
    int level = 0;
};

Place placeOf(Toolkit& tk, const double* v) {
    return Place{toInteger(v[0]), toInteger(v[1]), levelOrActive(tk, toInteger(v[2]))};
}

bool placeInRange(FunctionCall& call, const double* v) {
    return inRanges(
        {{toInteger(v[0]), 1, kMaxRow}, {toInteger(v[1]), 1, kMaxCol}, {toInteger(v[2]), 0, highest(call)}});
}

void changed(FunctionCall& call) {
    call.services().store.scratch().repaintPending = true;
    if (Toolkit* tk = call.services().toolkit; tk != nullptr && tk->host() != nullptr) tk->host()->refresh();
}

// The text a cell shows, as the worksheet shows it, in at most `width` characters.
std::string shownText(FunctionCall& call, CellRec* cell, int width) {
    CellStore& store = call.services().store;
    CellDisplayContext context;
    context.inheritedPrecision = effectivePrecision(store, cell, cell->row, cell->col, cell->level);
    std::string text = cellDisplayText(cell, width + 1, context);
    if (static_cast<int>(text.size()) > width) text.resize(static_cast<std::size_t>(width));
    return text;
}

std::string trimmed(std::string_view s) {
    const std::size_t first = s.find_first_not_of(' ');
    if (first == std::string_view::npos) return {};
    const std::size_t last = s.find_last_not_of(' ');
    return std::string(s.substr(first, last - first + 1));
}

CellArgument toolkitCell(FunctionCall& call, ErrStat& err) {
    CellArgument c = cellArgument(call, err);
    err.trace(kToolkitCells);
    return c;
}

}  // namespace

double fnAttribute(FunctionCall& call, ErrStat& err) {
    const CellArgument cell = toolkitCell(call, err);
    if (err.failed()) return 0.0;
    double v[2] = {};
    const int n = argumentList(call, v, 2, err);
    if (err.failed()) return err.trace(kToolkitCells), 0.0;
    if (n < 1 || !call.ended()) return malformedCall(call, 20, err);
    Toolkit& tk = toolkitOf(call);
    if (cell.cell == nullptr) return -1.0;
    const int code = toInteger(v[0]);
    if (n == 2) {
        if (!mayDo(tk, ScriptAction::Attributes, cell.level)) return tk.refuse(Msg::ScriptProtectedOperation);
        // Resizing an Array Area frees the old one, which a running evaluation may hold.
        if (code == kAttributeArraySize && evaluationHoldsCells(call)) return tk.refuse(Msg::ToolkitInExpression);
        if (code == kAttributeArraySize && tk.arrayBound(cell.cell)) return tk.refuse(Msg::IllegalParameter);
    }
    const int32_t value = n == 2 ? toInteger(v[1]) : kPropertyRead;
    const int64_t result =
        cellProperty(call.services().store, cell.cell, code, value, [](CellRec& c) { return isCircular(c); });
    if (n == 2) changed(call);
    return static_cast<double>(result);
}

double fnCelldisplay(FunctionCall& call, ErrStat& err) {
    ToolkitArguments a;
    if (!toolkitArguments(call, Lead::Target, 4, a, err)) return 0.0;
    Toolkit& tk = toolkitOf(call);
    if (!a.text.writable()) return tk.refuse(Msg::ModifyIllegalString);
    const int width = toInteger(a.v[3]);
    if (!placeInRange(call, a.v.data()) || !inRanges({{width, 1, a.text.size}}))
        return tk.refuse(Msg::ParameterOutOfRange);
    const Place p = placeOf(tk, a.v.data());
    CellRec* cell = call.services().store.findCell(p.row, p.col, p.level, err);
    if (err.failed()) return err.trace(kToolkitCells), 0.0;
    if (cell == nullptr) return a.text.store(""), 0.0;
    if (cell->isVariableLabel() && !startedByCell(call)) {
        call.services().store.hooks().notify(call.services().store, *cell, NotifyMode::CellOnly);
    }
    return a.text.store(shownText(call, cell, std::min(width, kWidestDisplay)));
}

double fnCopycell(FunctionCall& call, ErrStat& err) {
    ToolkitArguments a;
    if (!toolkitArguments(call, Lead::Cell, 3, a, err)) return 0.0;
    Toolkit& tk = toolkitOf(call);
    if (!placeInRange(call, a.v.data())) return tk.refuse(Msg::ParameterOutOfRange);
    const Place p = placeOf(tk, a.v.data());
    if (!mayDo(tk, ScriptAction::CopyOrReport, a.cell.level) || !mayDo(tk, ScriptAction::CopyOrReport, p.level)) {
        return tk.refuse(Msg::ScriptProtectedOperation);
    }
    CellStore& store = call.services().store;
    const CellRec* there = store.findCell(p.row, p.col, p.level, err);
    if (err.failed()) return err.trace(kToolkitCells), 0.0;
    if (a.cell.cell == nullptr || a.cell.cell->isPlaceholder() || (there != nullptr && !there->isPlaceholder())) {
        return 0.0;
    }
    store.copyCell(a.cell.cell, p.level, p.row, p.col, p.row - a.cell.row, p.col - a.cell.col, p.level - a.cell.level,
                   err);
    if (err.failed()) return tk.refuseFailure(err);
    changed(call);
    return 1.0;
}

double fnCpcol(FunctionCall& call, ErrStat& err) {
    if (!toolkitNumbers(call, nullptr, 0, err)) return 0.0;
    ToolkitHost* host = toolkitOf(call).host();
    return host != nullptr ? host->pointer().col : 0.0;
}

double fnCprow(FunctionCall& call, ErrStat& err) {
    if (!toolkitNumbers(call, nullptr, 0, err)) return 0.0;
    ToolkitHost* host = toolkitOf(call).host();
    return host != nullptr ? host->pointer().row : 0.0;
}

double fnCplvl(FunctionCall& call, ErrStat& err) {
    if (!toolkitNumbers(call, nullptr, 0, err)) return 0.0;
    ToolkitHost* host = toolkitOf(call).host();
    return host != nullptr ? host->pointer().level : 0.0;
}

double fnCwidth(FunctionCall& call, ErrStat& err) {
    double v[3] = {};
    const int n = argumentList(call, v, 3, err);
    if (err.failed()) return err.trace(kToolkitCells), 0.0;
    if (!call.ended()) return malformedCall(call, 21, err);
    Toolkit& tk = toolkitOf(call);
    if (n < 2) return tk.refuse(Msg::ParameterOutOfRange);
    const int col = toInteger(v[0]);
    const int width = toInteger(v[2]);
    const bool ranges =
        n == 3 ? inRanges({{col, 1, kMaxCol}, {toInteger(v[1]), 0, highest(call)}, {width, 0, kWidestColumn}})
               : inRanges({{col, 1, kMaxCol}, {toInteger(v[1]), 0, highest(call)}});
    if (!ranges) return tk.refuse(Msg::ParameterOutOfRange);
    const int level = levelOrActive(tk, toInteger(v[1]));
    LevelRec* rec = call.services().store.levelPtr(level);
    if (rec == nullptr || level < 1) return tk.refuse(Msg::ParameterOutOfRange);
    uint16_t& slot = rec->colWidths[static_cast<std::size_t>(col)];
    if (n == 3) {
        if (!mayDo(tk, ScriptAction::Layout, level)) return tk.refuse(Msg::ScriptProtectedOperation);
        slot = static_cast<uint16_t>((slot & ~kColumnWidthBits) | width);
        rec->changed = true;
        changed(call);
    }
    return slot & kColumnWidthBits;
}

double fnGetentry(FunctionCall& call, ErrStat& err) {
    ToolkitArguments a;
    if (!toolkitArguments(call, Lead::Target, 3, a, err)) return 0.0;
    Toolkit& tk = toolkitOf(call);
    if (!a.text.writable()) return tk.refuse(Msg::ModifyIllegalString);
    if (!placeInRange(call, a.v.data())) return tk.refuse(Msg::ParameterOutOfRange);
    const Place p = placeOf(tk, a.v.data());
    if (!mayDo(tk, ScriptAction::CopyOrReport, p.level)) return tk.refuse(Msg::ScriptProtectedOperation);
    CellStore& store = call.services().store;
    CellRec* cell = store.findCell(p.row, p.col, p.level, err);
    if (err.failed()) return err.trace(kToolkitCells), 0.0;
    if (cell == nullptr || cell->isPlaceholder()) return a.text.store(""), 0.0;
    const std::string entry =
        cell->isLabel() ? std::string(cell->textView()) : store.hooks().formulaText(store, *cell, 0, 0, 0);
    return a.text.store(trimmed(entry));
}

double fnGotocell(FunctionCall& call, ErrStat& err) {
    double v[3] = {};
    if (!toolkitNumbers(call, v, 3, err)) return 0.0;
    Toolkit& tk = toolkitOf(call);
    if (!placeInRange(call, v)) return tk.refuse(Msg::ParameterOutOfRange);
    const Place p = placeOf(tk, v);
    if (!mayDo(tk, ScriptAction::MovePointer, p.level)) return tk.refuse(Msg::ScriptProtectedOperation);
    if (tk.host() != nullptr) tk.host()->moveTo(p.level, p.row, p.col);
    return 0.0;
}

double fnLastrow(FunctionCall& call, ErrStat& err) {
    double v = 0.0;
    if (!toolkitNumbers(call, &v, 1, err)) return 0.0;
    Toolkit& tk = toolkitOf(call);
    if (!inRanges({{toInteger(v), 0, highest(call)}})) return tk.refuse(Msg::ParameterOutOfRange);
    const LevelRec* rec = call.services().store.levelPtr(levelOrActive(tk, toInteger(v)));
    return rec != nullptr && rec->bottom != nullptr ? rec->bottom->row : 0.0;
}

double fnMakentry(FunctionCall& call, ErrStat& err) {
    ToolkitArguments a;
    if (!toolkitArguments(call, Lead::Text, 4, a, err)) return 0.0;
    Toolkit& tk = toolkitOf(call);
    if (!placeInRange(call, a.v.data()) || !inRanges({{toInteger(a.v[3]), 0, 2}}))
        return tk.refuse(Msg::ParameterOutOfRange);
    if (a.text.text.find_first_not_of(' ') == std::string::npos) return 0.0;
    if (evaluationHoldsCells(call)) return tk.refuse(Msg::ToolkitInExpression);
    const Place p = placeOf(tk, a.v.data());
    CellStore& store = call.services().store;
    const CellRec* there = store.findCell(p.row, p.col, p.level, err);
    if (err.failed()) return err.trace(kToolkitCells), 0.0;
    const bool adds = there == nullptr || there->isPlaceholder();
    if (!mayDo(tk, adds ? ScriptAction::AddCells : ScriptAction::Edit, p.level))
        return tk.refuse(Msg::ScriptProtectedOperation);
    if (tk.arrayBound(there)) return tk.refuse(Msg::IllegalParameter);
    const int mode = toInteger(a.v[3]);
    const std::string typed = mode == 1 ? "'" + a.text.text : mode == 0 ? trimmed(a.text.text) : a.text.text;
    ErrStat entryErr;
    call.services().entry.storeEntry(typed, p.row, p.col, p.level, EntryOptions{}, entryErr);
    changed(call);
    if (entryErr.failed()) return tk.refuse(static_cast<Msg>(entryErr.code));
    return 1.0;
}

double fnMovecell(FunctionCall& call, ErrStat& err) {
    ToolkitArguments a;
    if (!toolkitArguments(call, Lead::Cell, 3, a, err)) return 0.0;
    Toolkit& tk = toolkitOf(call);
    if (!placeInRange(call, a.v.data())) return tk.refuse(Msg::ParameterOutOfRange);
    const Place p = placeOf(tk, a.v.data());
    if (!mayDo(tk, ScriptAction::Layout, a.cell.level) || !mayDo(tk, ScriptAction::Layout, p.level)) {
        return tk.refuse(Msg::ScriptProtectedOperation);
    }
    if (evaluationHoldsCells(call)) return tk.refuse(Msg::ToolkitInExpression);
    if (tk.arrayBound(a.cell.cell)) return tk.refuse(Msg::IllegalParameter);
    CellStore& store = call.services().store;
    const int moved = store.moveCell(a.cell.row, a.cell.col, a.cell.level, p.row, p.col, p.level, err);
    if (err.failed()) return tk.refuseFailure(err);
    if (moved == 0) return 0.0;
    if (CellRec* at = store.findCell(p.row, p.col, p.level, err); at != nullptr && !err.failed()) {
        store.hooks().notify(store, *at, NotifyMode::ChainAndRanges);
    }
    recovered(err);
    changed(call);
    return 1.0;
}

double fnNextcol(FunctionCall& call, ErrStat& err) {
    double v[3] = {};
    if (!toolkitNumbers(call, v, 3, err)) return 0.0;
    Toolkit& tk = toolkitOf(call);
    const int row = toInteger(v[0]);
    const int col = toInteger(v[1]);
    if (!inRanges({{row, 1, kMaxRow}, {col, 0, kMaxCol}, {toInteger(v[2]), 0, highest(call)}})) {
        return tk.refuse(Msg::ParameterOutOfRange);
    }
    for (const CellRec* c : call.services().store.rowCells(row, levelOrActive(tk, toInteger(v[2])))) {
        if (c->col > col) return c->col;
    }
    return 0.0;
}

double fnNextrow(FunctionCall& call, ErrStat& err) {
    double v[2] = {};
    if (!toolkitNumbers(call, v, 2, err)) return 0.0;
    Toolkit& tk = toolkitOf(call);
    const int row = toInteger(v[0]);
    if (!inRanges({{row, 0, kMaxRow}, {toInteger(v[1]), 0, highest(call)}})) return tk.refuse(Msg::ParameterOutOfRange);
    const LevelRec* rec = call.services().store.levelPtr(levelOrActive(tk, toInteger(v[1])));
    if (rec == nullptr || rec->bottom == nullptr) return 0.0;
    for (int r = row + 1; r <= rec->bottom->row; ++r) {
        if (rec->rows[static_cast<std::size_t>(r)] != nullptr) return r;
    }
    return 0.0;
}

double fnPurgecell(FunctionCall& call, ErrStat& err) {
    ToolkitArguments a;
    if (!toolkitArguments(call, Lead::Cell, 0, a, err)) return 0.0;
    Toolkit& tk = toolkitOf(call);
    if (!mayDo(tk, ScriptAction::Edit, a.cell.level)) return tk.refuse(Msg::ScriptProtectedOperation);
    if (evaluationHoldsCells(call)) return tk.refuse(Msg::ToolkitInExpression);
    if (a.cell.cell == nullptr || a.cell.cell->isPlaceholder()) return 0.0;
    if (tk.arrayBound(a.cell.cell)) return tk.refuse(Msg::IllegalParameter);
    CellStore& store = call.services().store;
    store.deleteCellNow(a.cell.cell, err);
    if (err.failed()) return tk.refuseFailure(err);
    // A referenced cell stays as a placeholder; its dependents compute again without it.
    if (CellRec* left = store.findCell(a.cell.row, a.cell.col, a.cell.level, err); left != nullptr && !err.failed()) {
        store.hooks().notify(store, *left, NotifyMode::ChainAndRanges);
    }
    recovered(err);
    changed(call);
    return 1.0;
}

double fnRecalculate(FunctionCall& call, ErrStat& err) {
    ToolkitArguments a;
    if (!toolkitArguments(call, Lead::Cell, 1, a, err)) return 0.0;
    Toolkit& tk = toolkitOf(call);
    if (!inRanges({{toInteger(a.v[0]), 0, static_cast<int>(NotifyMode::Sweep)}}))
        return tk.refuse(Msg::ParameterOutOfRange);
    if (a.cell.cell == nullptr) return 0.0;
    // Computing the cell again may give it a new Array Area in place of the one a frame holds.
    if (tk.arrayBound(a.cell.cell)) return tk.refuse(Msg::IllegalParameter);
    CellStore& store = call.services().store;
    store.hooks().notify(store, *a.cell.cell, static_cast<NotifyMode>(toInteger(a.v[0])));
    changed(call);
    return 1.0;
}

double fnRefresh(FunctionCall& call, ErrStat& err) {
    if (!toolkitNumbers(call, nullptr, 0, err)) return 0.0;
    changed(call);
    return 0.0;
}

double fnSelectedcells(FunctionCall& call, ErrStat& err) {
    Toolkit& tk = toolkitOf(call);
    FrameArray array;
    if (!scriptArrayArgument(call, array)) {
        // Anything but a script array is refused, after the call's shape is checked.
        double skipped[kMaxListArguments] = {};
        argumentList(call, skipped, kMaxListArguments, err);
        if (err.failed()) recovered(err);
        return tk.refuse(Msg::IllegalParameter);
    }
    if (!call.ended()) return malformedCall(call, 22, err);
    if (array.size < 4 || array.data == nullptr) return tk.refuse(Msg::IllegalParameter);
    const ToolkitSelection s = tk.host() != nullptr ? tk.host()->selection() : ToolkitSelection{};
    array.data[0] = s.firstRow;
    array.data[1] = s.firstCol;
    array.data[2] = s.lastRow;
    array.data[3] = s.lastCol;
    return s.level;
}

}  // namespace qx
