#include "script/toolkit/toolkit.h"

#include <cerrno>
#include <climits>
#include <cmath>
#include <cstring>

#include "core/cell_store.h"
#include "core/messages.h"
#include "core/qx_assert.h"
#include "core/row_cursor.h"
#include "formula/evaluator.h"
#include "formula/lexer.h"
#include "script/toolkit/origins.h"
#include "script/toolkit/toolkit_call.h"

namespace qx {

using namespace origins::toolkit;

int ToolkitFiles::put(std::FILE* file) {
    for (std::size_t i = 0; i < m_slots.size(); ++i) {
        if (m_slots[i] == nullptr) {
            m_slots[i] = file;
            return static_cast<int>(i) + 1;
        }
    }
    return 0;
}

std::FILE* ToolkitFiles::file(int slot) const {
    if (slot < 1 || slot > kToolkitFileSlots) return nullptr;
    return m_slots[static_cast<std::size_t>(slot - 1)];
}

bool ToolkitFiles::close(int slot) {
    if (slot < 1 || slot > kToolkitFileSlots) return false;
    std::FILE*& f = m_slots[static_cast<std::size_t>(slot - 1)];
    if (f == nullptr) return false;
    const int rc = std::fclose(f);
    f = nullptr;
    return rc == 0;
}

void ToolkitFiles::closeAll() {
    for (int slot = 1; slot <= kToolkitFileSlots; ++slot) close(slot);
}

int32_t Toolkit::errorNumber() const {
    if (m_scratch.toolkitError != 0 || m_state.libraryError == 0) return m_scratch.toolkitError;
    return m_state.libraryError + kLibraryErrorBase;
}

double Toolkit::refuseFailure(ErrStat& err) {
    const int32_t code = err.code;
    recovered(err);
    return refuse(static_cast<Msg>(code));
}

void Toolkit::clearErrors() {
    m_scratch.toolkitError = 0;
    m_state.libraryError = 0;
}

bool Toolkit::arrayBound(const CellRec* cell) const {
    if (cell == nullptr || !cell->formulaLike() || cell->formula->array == nullptr) return false;
    for (const ScriptFrame* f = m_evaluator.scripts().current(); f != nullptr; f = f->previous) {
        for (const FrameArray& a : f->arrays) {
            if (a.area.level == cell->level && a.area.row == cell->row && a.area.col == cell->col) return true;
        }
    }
    return false;
}

bool Toolkit::levelBound(CellStore& store, int level) const {
    if (!m_evaluator.scripts().running()) return false;
    const int first = level == 0 ? 1 : level;
    const int last = level == 0 ? store.highestLevel() : level;
    for (int n = first; n <= last; ++n) {
        const LevelRec* rec = store.levelPtr(n);
        if (rec == nullptr || rec->bottom == nullptr) continue;
        for (int row = 1; row <= rec->bottom->row; ++row) {
            for (CellRec* c : store.rowCells(row, n)) {
                if (arrayBound(c)) return true;
            }
        }
    }
    return false;
}

std::string errorListText(int32_t number, int targetSize) {
    if (number > kLibraryErrorBase) {
        // The run-time library's own texts run long; a short target gets the number instead.
        if (targetSize < 95) return "System Level Error: " + std::to_string(number - kLibraryErrorBase);
        return std::strerror(number - kLibraryErrorBase);
    }
    if (number >= 1) return std::string(tableMessage(MessageTable::General, number));
    return "no error";
}

Toolkit& toolkitOf(FunctionCall& call) {
    Toolkit* tk = call.services().toolkit;
    QX_ASSERT(tk != nullptr);  // the family is installed only together with its toolkit
    return *tk;
}

void recovered(ErrStat& err) {
    err.enter();
    err.savedPoint = 0;
}

double malformedCall(FunctionCall& call, int32_t point, ErrStat& err) {
    return callFailure(call, err, kToolkitCall, point, Msg::WrongParameters);
}

bool toolkitNumbers(FunctionCall& call, double* values, int count, ErrStat& err) {
    const int n = argumentList(call, values, count, err);
    if (err.failed()) return err.trace(kToolkitCall), false;
    if (n != count || !call.ended()) return malformedCall(call, 1, err), false;
    return true;
}

int toInteger(double value) {
    if (std::isnan(value) || value <= static_cast<double>(INT_MIN)) return INT_MIN;
    if (value >= static_cast<double>(INT_MAX)) return INT_MAX;
    return static_cast<int>(value);
}

bool inRanges(std::initializer_list<Range> ranges) {
    for (auto it = ranges.end(); it != ranges.begin();) {
        --it;
        if (it->value < it->low || it->value > it->high) return false;
    }
    return true;
}

bool outputString(FunctionCall& call, StringArgument& out, ErrStat& err) {
    const int start = call.cursor();
    out = stringArgument(call, true, err);
    if (!err.failed()) return true;
    if (!err.is(Msg::IllegalString)) return err.trace(kToolkitCall), false;
    recovered(err);
    out = StringArgument{};
    call.setCursor(start);
    numericArgument(call, err);
    if (err.failed()) {
        recovered(err);
        call.setCursor(call.record().closeParen + 1);
    }
    return true;
}

bool mayDo(Toolkit& tk, ScriptAction action, int level) {
    return tk.host() == nullptr || tk.host()->scriptMay(action, level);
}

int levelOrActive(Toolkit& tk, int level) {
    if (level != 0 || tk.host() == nullptr) return level;
    return tk.host()->activeLevel();
}

bool scriptArrayArgument(FunctionCall& call, FrameArray& out) {
    ScriptFrame* frame = call.record().evaluator->scripts().current();
    if (frame == nullptr || (call.at(call.cursor()) != '(' && call.at(call.cursor()) != ',')) return false;
    const char* text = call.record().text;
    int at = skipBlanks(text, call.cursor() + 1);
    if (text[at] != '#' || (text[at + 1] != '$' && text[at + 1] != '*')) return false;
    const bool local = text[at + 1] == '$';
    at += 2;
    const int digits = at;
    int number = 0;
    while (text[at] >= '0' && text[at] <= '9' && number < 100000) number = number * 10 + (text[at++] - '0');
    const int end = skipBlanks(text, at);
    if (at == digits || number < 1 || (text[end] != ',' && text[end] != ')')) return false;
    const auto n = static_cast<std::size_t>(number - 1);
    if (local && n < frame->localArrays.size()) {
        out = frame->localArrays[n].view();
    } else if (!local && n < frame->arrays.size()) {
        out = liveArray(call.services().store, frame->arrays[n]);
    } else {
        return false;
    }
    call.setCursor(text[end] == ')' ? end + 1 : end);
    return true;
}

bool startedByCell(FunctionCall& call) {
    return call.cell() != nullptr;
}

bool evaluationHoldsCells(FunctionCall& call) {
    return startedByCell(call) || toolkitOf(call).evaluator().walkingRange();
}

StringArgument toolkitString(FunctionCall& call, ErrStat& err) {
    StringArgument s = stringArgument(call, true, err);
    err.trace(kToolkitCall);
    return s;
}

bool toolkitArguments(FunctionCall& call, Lead lead, int count, ToolkitArguments& out, ErrStat& err) {
    QX_ASSERT(count >= 0 && count <= kMaxListArguments);
    switch (lead) {
        case Lead::Text:
            out.text = toolkitString(call, err);
            break;
        case Lead::Target:
            if (!outputString(call, out.text, err)) return false;
            break;
        case Lead::Cell:
            out.cell = cellArgument(call, err);
            err.trace(kToolkitCall);
            break;
    }
    if (err.failed()) return false;
    return toolkitNumbers(call, out.v.data(), count, err);
}

}  // namespace qx
