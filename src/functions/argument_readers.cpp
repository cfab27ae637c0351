#include "functions/argument_readers.h"

#include <algorithm>
#include <cmath>
#include <cstring>

#include "core/cell_store.h"
#include "formula/compiled_text.h"
#include "formula/lexer.h"
#include "functions/origins.h"

namespace qx {

using namespace origins::functions;

namespace {

bool failAt(ErrStat& err, Origin o, int point, int position, Msg code) {
    err.position = position;
    return err.fail(o, point, code);
}

// An argument starts after '(' or ','.
bool atDelimiter(FunctionCall& call, Origin o, ErrStat& err) {
    const char c = call.at(call.cursor());
    if (c == '(' || c == ',') return true;
    return failAt(err, o, 1, call.cursor(), Msg::IllegalDelimiter);
}

// Blanks after an argument are skipped, and a closing ')' is taken as the numeric reader takes it.
void finishArgument(FunctionCall& call, int pos) {
    pos = skipBlanks(call.record().text, pos);
    if (call.at(pos) == ')') ++pos;
    call.setCursor(pos);
}

// A '[' address or a compiled "~N~M" one at `pos`; leaves `pos` after it.
bool readAddress(FunctionCall& call, int& pos, CellArgument& out, Origin o, ErrStat& err) {
    CallRecord& rec = call.record();
    if (call.at(pos) == '~') {
        const CellRec* caller = call.cell();
        DirectAddress da;
        const bool usable = caller != nullptr && caller->formula != nullptr &&
                            readDirectAddress(rec.text, pos + 1, da) && da.index >= 1 &&
                            static_cast<uint32_t>(da.index) <= caller->formula->refCount &&
                            caller->formula->refs[da.index - 1] != nullptr;
        if (!usable) return failAt(err, o, 2, pos, Msg::CorruptedDirectAddress);
        CellRec* target = caller->formula->refs[da.index - 1];
        out = CellArgument{target, target->row, target->col, target->level};
        pos = da.end;
        return true;
    }
    CellAddress a = rec.evaluator->parseAddress(call.cell(), rec.text, pos, false, rec.regs, err);
    if (err.failed()) return err.trace(o), false;
    if (call.at(pos) != ']') return failAt(err, o, 3, pos, Msg::MissingBracket);
    ++pos;
    const int level = a.hasLevel ? a.level : rec.evaluator->levelFor(call.cell());
    CellRec* found = call.services().store.findCell(a.row, a.col, level, err);
    if (err.failed()) return err.trace(o), false;
    out = CellArgument{found, a.row, a.col, level};
    return true;
}

// '$$n' or '$#n' standing as the whole argument: blanks, then ',' or ')' follow its number.
bool readScriptString(FunctionCall& call, int& pos, StringArgument& out, ErrStat& err) {
    const char* text = call.record().text;
    ScriptFrame* frame = call.record().evaluator->scripts().current();
    const bool local = text[pos + 1] == '$';
    int at = pos + 2;
    int number = 0;
    while (text[at] >= '0' && text[at] <= '9' && number < 100000) number = number * 10 + (text[at++] - '0');
    const int end = skipBlanks(text, at);
    if (at == pos + 2 || (text[end] != ',' && text[end] != ')')) {
        return failAt(err, kStringArg, 5, pos, Msg::IllegalString);
    }
    const auto n = static_cast<std::size_t>(number - 1);
    FrameString s;
    if (local && number >= 1 && n < frame->localStrings.size()) {
        s = frame->localStrings[n].view();
    } else if (!local && number >= 1 && n < frame->strings.size()) {
        s = frame->strings[n];
    } else {
        return failAt(err, kStringArg, 6, pos, Msg::IllegalString);
    }
    out.kind = StringKind::ScriptVariable;
    out.chars = s.data;
    out.size = s.data != nullptr ? s.size : 0;
    out.local = local;
    if (out.chars != nullptr) out.text.assign(out.chars, strnlen(out.chars, static_cast<std::size_t>(out.size)));
    pos = end;
    return true;
}

// A passed-in cell '~#n' of the running script: the frame holds its place, looked up now.
bool readScriptCell(FunctionCall& call, int& pos, CellArgument& out, ErrStat& err) {
    const char* text = call.record().text;
    const ScriptFrame* frame = call.record().evaluator->scripts().current();
    int at = pos + 2;
    int number = 0;
    while (text[at] >= '0' && text[at] <= '9' && number < 100000) number = number * 10 + (text[at++] - '0');
    if (at == pos + 2 || number < 1 || static_cast<std::size_t>(number) > frame->cells.size()) {
        return failAt(err, kCellArg, 3, pos, Msg::IllegalCellAddress);
    }
    const FrameCell place = frame->cells[static_cast<std::size_t>(number - 1)];
    CellRec* found = call.services().store.findCell(place.row, place.col, place.level, err);
    if (err.failed()) return err.trace(kCellArg), false;
    out = CellArgument{found, place.row, place.col, place.level};
    pos = at;
    return true;
}

std::string cellString(const CellRec* cell) {
    if (cell == nullptr || cell->isPlaceholder()) return {};
    return std::string(cell->textView());
}

}  // namespace

double numericArgument(FunctionCall& call, ErrStat& err) {
    err.enter();
    if (!atDelimiter(call, kNumeric, err)) return 0.0;
    CallRecord& rec = call.record();
    int pos = call.cursor() + 1;
    const double value = rec.evaluator->evaluate(call.cell(), rec.text, pos, kParenthesised, rec.regs, err);
    if (err.failed()) {
        err.fail(kNumeric, 2, Msg::BadParameterValue);
        return 0.0;
    }
    call.setCursor(skipBlanks(rec.text, pos));
    return value;
}

int argumentList(FunctionCall& call, double* values, int max, ErrStat& err) {
    err.enter();
    if (max < 0 || max > kMaxListArguments) max = kMaxListArguments;
    const char* text = call.record().text;
    if (call.at(call.cursor()) == '(') {
        const int p = skipBlanks(text, call.cursor() + 1);
        if (text[p] == ')') {
            call.setCursor(p + 1);
            return 0;
        }
    }
    int n = 0;
    while (n < max && call.at(call.cursor()) != '\0' && !call.ended()) {
        values[n] = numericArgument(call, err);
        if (err.failed()) return err.trace(kList), n;
        ++n;
    }
    return n;
}

bool requireEnd(FunctionCall& call, Msg code, ErrStat& err) {
    if (call.ended()) return true;
    return failAt(err, kEnd, 1, call.cursor(), code);
}

int boundedArguments(FunctionCall& call, double* values, int min, int max, bool strictEnd, ErrStat& err) {
    const int n = argumentList(call, values, max, err);
    if (err.failed()) return n;
    if (!call.ended()) {
        const bool surplus = n == max && call.at(call.cursor()) == ',';
        return failAt(err, kEnd, 2, call.cursor(), strictEnd && surplus ? Msg::MissingBracket : Msg::WrongParameters),
               n;
    }
    if (n < min) return failAt(err, kEnd, 3, call.cursor(), Msg::WrongParameters), n;
    return n;
}

bool exactArguments(FunctionCall& call, double* values, int count, ErrStat& err) {
    boundedArguments(call, values, count, count, false, err);
    return !err.failed();
}

StringArgument stringArgument(FunctionCall& call, bool constantAllowed, ErrStat& err) {
    err.enter();
    StringArgument out;
    if (!atDelimiter(call, kStringArg, err)) return out;
    const char* text = call.record().text;
    int pos = skipBlanks(text, call.cursor() + 1);
    const char c = text[pos];
    if (c == '"') {
        const int end = stringEnd(text, pos);
        if (end < 0 || end - pos - 2 > kMaxStringConstant) {
            return failAt(err, kStringArg, 2, pos, Msg::IllegalStringConstant), out;
        }
        if (!constantAllowed) return failAt(err, kStringArg, 3, pos, Msg::StringConstantBetweenScripts), out;
        out.text.assign(text + pos + 1, static_cast<std::size_t>(end - pos - 2));
        out.kind = StringKind::Constant;
        finishArgument(call, end);
        return out;
    }
    const bool inScript = call.record().evaluator->scripts().running();
    if (c == '$' && inScript && (text[pos + 1] == '$' || text[pos + 1] == '#')) {
        if (readScriptString(call, pos, out, err)) finishArgument(call, pos);
        return out;
    }
    if (c != '[' && c != '~') return failAt(err, kStringArg, 4, pos, Msg::IllegalString), out;
    CellArgument cell;
    if (!readAddress(call, pos, cell, kStringArg, err)) return out;
    out.kind = StringKind::Cell;
    out.cell = cell.cell;
    out.row = cell.row;
    out.col = cell.col;
    out.level = cell.level;
    out.text = cellString(cell.cell);
    finishArgument(call, pos);
    return out;
}

int StringArgument::store(std::string_view value) const {
    if (chars == nullptr || size <= 0) return 0;
    const std::size_t n = std::min(value.size(), static_cast<std::size_t>(size));
    std::copy_n(value.data(), n, chars);
    chars[n] = '\0';
    return static_cast<int>(n);
}

CellArgument cellArgument(FunctionCall& call, ErrStat& err) {
    err.enter();
    CellArgument out;
    if (!atDelimiter(call, kCellArg, err)) return out;
    int pos = skipBlanks(call.record().text, call.cursor() + 1);
    const char c = call.at(pos);
    if (c == '~' && call.at(pos + 1) == '#' && call.record().evaluator->scripts().running()) {
        if (!readScriptCell(call, pos, out, err)) return out;
        finishArgument(call, pos);
        return out;
    }
    if (c != '[' && c != '~') return failAt(err, kCellArg, 2, pos, Msg::IllegalCellAddress), out;
    if (!readAddress(call, pos, out, kCellArg, err)) return out;
    finishArgument(call, pos);
    return out;
}

double libraryFailure(ErrStat& err, Origin family, int32_t point, L05 mathCode) {
    // The library's record goes into the trace and its code into the detail, for tracing; the report
    // names the call's own failure, so the family's origin replaces the library's as the saved one.
    err.fail(Origin{kLetterLib, kModuleMathLibrary, family.routine}, point, mathCode);
    err.detail = codeOf(mathCode);
    err.savedPoint = 0;
    err.fail(family, point, Msg::ParameterOutOfRange);
    return 1.7e308;
}

bool elementsComputable(FunctionCall& call, std::span<const double> values, ErrStat& err) {
    for (double v : values) {
        if (std::isnan(v)) return callFailure(call, err, kElements, 1, Msg::UnableToCompute), false;
    }
    return true;
}

double callFailure(FunctionCall& call, ErrStat& err, Origin origin, int32_t point, Msg code) {
    err.position = call.record().namePos;
    err.fail(origin, point, code);
    return 0.0;
}

}  // namespace qx
