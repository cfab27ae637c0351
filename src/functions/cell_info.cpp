// Where the calling cell sits, and the tags of Formula cells.
#include <string>

#include "core/cell_store.h"
#include "core/numeric.h"
#include "functions/argument_readers.h"
#include "functions/families.h"
#include "functions/origins.h"

namespace qx {

using namespace origins::functions;

namespace {

bool needCaller(FunctionCall& call, ErrStat& err) {
    err.enter();
    if (call.cell() != nullptr) return true;
    callFailure(call, err, kCellInfo, 1, Msg::EmptyCell);
    return false;
}

// The calling cell's coordinate plus the offset, wrapped once into 1..limit.
double position(FunctionCall& call, int base, int limit, Msg code, ErrStat& err) {
    if (!needCaller(call, err)) return 0.0;
    const double offset = numericArgument(call, err);
    if (err.failed()) return 0.0;
    if (!requireEnd(call, Msg::WrongParameters, err)) return 0.0;
    double v = base + std::trunc(offset);
    if (v <= 0) {
        v += limit;
    } else if (v > limit) {
        v -= limit;
    }
    if (v < 1 || v > limit) return callFailure(call, err, kCellInfo, 2, code);
    return v;
}

// A cell argument that must name a Formula cell, whose tag is read or changed.
CellRec* formulaCell(FunctionCall& call, ErrStat& err) {
    const CellArgument a = cellArgument(call, err);
    if (err.failed()) return nullptr;
    if (a.cell == nullptr || a.cell->isPlaceholder()) return callFailure(call, err, kTags, 1, Msg::EmptyCell), nullptr;
    if (!a.cell->isFormula() || a.cell->formula == nullptr) {
        return callFailure(call, err, kTags, 2, Msg::IncompatibleCellType), nullptr;
    }
    return a.cell;
}

int tagLength(const CellRec* cell) {
    return cell->formula->tag != nullptr ? static_cast<int>(std::char_traits<char>::length(cell->formula->tag)) : 0;
}

}  // namespace

double fnCol(FunctionCall& call, ErrStat& err) {
    return position(call, call.cell() ? call.cell()->col : 0, kMaxCol, Msg::ColumnOutOfRange, err);
}
double fnRow(FunctionCall& call, ErrStat& err) {
    return position(call, call.cell() ? call.cell()->row : 0, kMaxRow, Msg::RowOutOfRange, err);
}
double fnLvl(FunctionCall& call, ErrStat& err) {
    const int levels = call.services().store.highestLevel();
    return position(call, call.cell() ? call.cell()->level : 0, levels, Msg::LevelOutOfRange, err);
}

// tag([cell], "tag" <, returnvalue>): sets the tag; returns 0 or the third argument.
double fnTag(FunctionCall& call, ErrStat& err) {
    if (!needCaller(call, err)) return 0.0;
    CellRec* cell = formulaCell(call, err);
    if (cell == nullptr) return 0.0;
    const StringArgument text = stringArgument(call, true, err);
    if (err.failed()) return 0.0;
    double result = 0.0;
    if (!call.ended()) {
        result = numericArgument(call, err);
        if (err.failed()) return 0.0;
    }
    if (!requireEnd(call, Msg::WrongParameters, err)) return 0.0;
    call.services().store.setTag(cell, text.text, err);
    if (err.failed()) return err.trace(kTags), 0.0;
    return result;
}

// tagcpy([cell1], [cell2]): cell1's tag onto cell2; returns the length copied.
double fnTagcpy(FunctionCall& call, ErrStat& err) {
    if (!needCaller(call, err)) return 0.0;
    CellRec* from = formulaCell(call, err);
    if (from == nullptr) return 0.0;
    CellRec* to = formulaCell(call, err);
    if (to == nullptr || !requireEnd(call, Msg::WrongParameters, err)) return 0.0;
    const std::string tag = call.services().store.getTag(from);
    const int length = call.services().store.setTag(to, tag, err);
    if (err.failed()) return err.trace(kTags), 0.0;
    return length;
}

double fnTaglen(FunctionCall& call, ErrStat& err) {
    if (!needCaller(call, err)) return 0.0;
    CellRec* cell = formulaCell(call, err);
    if (cell == nullptr || !requireEnd(call, Msg::WrongParameters, err)) return 0.0;
    return tagLength(cell);
}

// Returns 1 when a tag was removed.
double fnTagrmv(FunctionCall& call, ErrStat& err) {
    if (!needCaller(call, err)) return 0.0;
    CellRec* cell = formulaCell(call, err);
    if (cell == nullptr || !requireEnd(call, Msg::WrongParameters, err)) return 0.0;
    if (tagLength(cell) == 0) return 0.0;
    call.services().store.freeTag(cell, err);
    if (err.failed()) return err.trace(kTags), 0.0;
    return 1.0;
}

namespace {

constexpr FunctionEntry kCellInfoTable[] = {
    {"col", 261, "col ( offset )", fnCol},
    {"lvl", 263, "lvl ( offset )", fnLvl},
    {"row", 262, "row ( offset )", fnRow},
    {"tag", 320, "tag ( [cell], \"tag\", <returnvalue> )", fnTag},
    {"tagcpy", 321, "tagcpy ( [cell1], [cell2] )", fnTagcpy},
    {"taglen", 322, "taglen ( [cell] )", fnTaglen},
    {"tagrmv", 323, "tagrmv ( [cell] )", fnTagrmv},
};

}  // namespace

std::span<const FunctionEntry> cellInfoFamily() {
    return kCellInfoTable;
}

}  // namespace qx
