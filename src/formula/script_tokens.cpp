// The operands only a running script has: its passed-in values, arrays, strings and cells and its local
// arrays and strings, all read from the current frame, and the "++"/"--" prefixes that store back.
#include <cstdint>

#include "core/cell_store.h"
#include "core/numeric.h"
#include "formula/evaluator.h"
#include "formula/evaluator_call_state.h"
#include "formula/lexer.h"
#include "formula/origins.h"

namespace qx {

using namespace origins::formula;
using namespace oper;

namespace {

bool fail(ErrStat& err, int point, int position, Msg code) {
    err.position = position;
    return err.fail(kEvaluate, point, code);
}

// Element `index` (from 1; below 1 names the first) of `size` elements, or none beyond the last: reads
// there give 0 and stores do nothing.
template <typename T>
T* element(T* data, uint16_t size, int index) {
    if (index < 1) index = 1;
    if (data == nullptr || index > size) return nullptr;
    return data + (index - 1);
}

struct Token {
    Lvalue kind = Lvalue::None;
    int length = 0;
};

Token scriptToken(const char* text, int pos) {
    const char c = text[pos];
    const char n = text[pos + 1];
    if (c == '~') return {Lvalue::PassedCell, 2};
    if (c == '#') {
        if (n == '*') return {Lvalue::PassedArray, 2};
        if (n == '$') return {Lvalue::LocalArray, 2};
        return {Lvalue::PassedValue, 1};
    }
    if (n == '$') return {Lvalue::LocalString, 2};
    if (n == '#') return {Lvalue::PassedString, 2};
    return {};
}

std::size_t countOf(const ScriptFrame& f, Lvalue kind) {
    switch (kind) {
        case Lvalue::PassedValue:
            return f.values.size();
        case Lvalue::PassedArray:
            return f.arrays.size();
        case Lvalue::LocalArray:
            return f.localArrays.size();
        case Lvalue::PassedString:
            return f.strings.size();
        case Lvalue::LocalString:
            return f.localStrings.size();
        case Lvalue::PassedCell:
            return f.cells.size();
        default:
            return 0;
    }
}

}  // namespace

bool Evaluator::readScriptPrefix(const char* text, int& pos, CallState& st, ErrStat& err) {
    const char c = text[pos];
    if ((c == '+' || c == '-') && text[pos + 1] == c && text[pos + 2] == c) {
        return fail(err, 21, pos, Msg::IllegalOperator);
    }
    if ((c == '+' || c == '-') && text[pos + 1] == c) {
        st.prefix = c == '+' ? kIncrement : kDecrement;
        pos += 2;
    } else {
        if (c == '+') ++pos;
        if (text[pos] == '-') {
            st.prefix = kNegate;
            ++pos;
        } else if (text[pos] == '!') {
            st.prefix = kNot;
            ++pos;
        }
    }
    pos = skipBlanks(text, pos);
    return true;
}

bool Evaluator::readScriptOperand(CellRec* cell, char* text, int& pos, CallState& st, RegisterBlock& regs,
                                  ErrStat& err) {
    const ScriptFrame* frame = m_scripts.current();
    const Token token = scriptToken(text, pos);
    if (frame == nullptr || token.kind == Lvalue::None) return fail(err, 7, pos, Msg::IllegalCharacter);
    const int start = pos;
    pos += token.length;
    if (!isDigit(text[pos])) return fail(err, 22, start, Msg::IllegalCharacter);
    int number = 0;
    for (; isDigit(text[pos]); ++pos) {
        if (number <= kMaxScriptParameters) number = number * 10 + (text[pos] - '0');
    }
    if (number < 1 || static_cast<std::size_t>(number) > countOf(*frame, token.kind)) {
        return fail(err, 23, start, Msg::OutOfRange);
    }
    st.lvalue = token.kind;
    st.variable = number;
    st.index = token.kind == Lvalue::PassedCell ? 0 : 1;  // without [i]: the cell's value, the first element
    if (token.kind != Lvalue::PassedValue && text[pos] == '[' && !readScriptIndex(cell, text, pos, st, regs, err)) {
        return false;
    }
    if (token.kind == Lvalue::PassedCell) {
        const FrameCell& place = m_scripts.current()->cells[static_cast<std::size_t>(number - 1)];
        st.target = CellAddress{place.row, place.col, st.index, place.level, true, true, 0, 0};
        const CellRec* target = m_store.findCell(place.row, place.col, place.level, err);
        if (err.failed()) return err.position = start, err.trace(kEvaluate), false;
        st.value = readCell(target, st.index);
        return true;
    }
    if (const double* v = scriptValueSlot(st)) {
        st.value = *v;
    } else if (const char* ch = scriptCharSlot(st)) {
        st.value = static_cast<int8_t>(static_cast<unsigned char>(*ch));
    } else {
        st.value = 0.0;
    }
    return true;
}

bool Evaluator::readScriptIndex(CellRec* cell, char* text, int& pos, CallState& st, RegisterBlock& regs, ErrStat& err) {
    ++pos;
    const double index = evaluate(cell, text, pos, kOutermost, regs, err);
    if (err.failed()) return false;
    pos = skipBlanks(text, pos);
    if (text[pos] != ']') return fail(err, 24, pos, Msg::MissingBracket);
    ++pos;
    st.index = toInt32(index);
    return true;
}

double* Evaluator::scriptValueSlot(const CallState& st) {
    ScriptFrame* f = m_scripts.current();
    if (f == nullptr) return nullptr;
    const auto n = static_cast<std::size_t>(st.variable - 1);
    switch (st.lvalue) {
        case Lvalue::PassedValue:
            return n < f->values.size() ? &f->values[n] : nullptr;
        case Lvalue::PassedArray: {
            if (n >= f->arrays.size()) return nullptr;
            const FrameArray a = liveArray(m_store, f->arrays[n]);
            return element(a.data, a.size, st.index);
        }
        case Lvalue::LocalArray: {
            if (n >= f->localArrays.size()) return nullptr;
            const FrameArray a = f->localArrays[n].view();
            return element(a.data, a.size, st.index);
        }
        default:
            return nullptr;
    }
}

char* Evaluator::scriptCharSlot(const CallState& st) {
    ScriptFrame* f = m_scripts.current();
    if (f == nullptr) return nullptr;
    const auto n = static_cast<std::size_t>(st.variable - 1);
    FrameString s;
    if (st.lvalue == Lvalue::PassedString && n < f->strings.size()) {
        s = f->strings[n];
    } else if (st.lvalue == Lvalue::LocalString && n < f->localStrings.size()) {
        s = f->localStrings[n].view();
    }
    return element(s.data, s.size, st.index);  // never the terminator at data[size]
}

bool Evaluator::applyStepPrefix(CallState& st, int pos, ErrStat& err) {
    const bool steppable =
        st.lvalue == Lvalue::PassedValue || st.lvalue == Lvalue::PassedArray || st.lvalue == Lvalue::LocalArray;
    if (!steppable) return fail(err, 25, pos, Msg::IllegalIncrement);
    st.value += st.prefix == kIncrement ? 1.0 : -1.0;
    if (double* v = scriptValueSlot(st)) *v = st.value;
    st.lvalue = Lvalue::None;
    return true;
}

bool Evaluator::storeScript(CellRec* cell, const CallState& st, double value, int pos, ErrStat& err) {
    if (st.lvalue == Lvalue::PassedCell) {
        CellRec* target = m_store.findCell(st.target.row, st.target.col, st.target.level, err);
        if (!err.failed()) writeCell(cell, target, st.target.elem, value, err);
        if (err.failed()) return err.position = pos, err.trace(kEvaluate), false;
        return true;
    }
    if (double* v = scriptValueSlot(st)) {
        *v = value;
    } else if (char* ch = scriptCharSlot(st)) {
        *ch = static_cast<char>(static_cast<unsigned char>(toInt32(value)));
    }
    return true;
}

}  // namespace qx
