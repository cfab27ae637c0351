// The formula grammar as this evaluator reads it, a map for the reader (the code below decides):
//
//   call(min) := operand { infix operand }   ends at a terminator or at an infix operator whose
//                                            precedence is min or lower (equal ends it: left grouping)
//   operand   := prefix primary [ "**" call(15) ]
//   prefix    := { "+" } [ "-" | "!" ]       '+' is skipped; "--" is an illegal operator; '!' gives 1
//                                            when the operand truncates to 0. The prefix applies before
//                                            "**" (-2**2 is 4); "**" groups from the right (2**3**2 is 512)
//   primary   := "(" call(2) | number | 'c' | register [#] .. [%] | direct address ~n~flags
//              | [row,col,elem,level] | Range Operation [corner^corner;segments] | name "(" ... ")"
//   infix, tightest first: * / % 14, + - 13, << >> 12, > >= <= < 11, == != 10, & 9, | 7, && 6, || 5,
//              = += -= *= /= %= <<= >>= &= |= 3 (assignments group from the left too: a=b=c stores b,
//              then c, into a; && and || evaluate both operands)
//   "?"       := operand "?" call(2) ":" call(2) [";"]. '?' is taken before any precedence test, so the
//              condition is the one operand in hand: 3>5?1:0 is 3>(5?1:0). The false branch is run
//              once in skip mode (a division by zero there is dropped) to find where the whole ends.
//
// A formula, an address part or a Range Operation segment is read with min 1 (outermost); a
// parenthesis, an argument or a branch with min 2 (parenthesised). Terminators: ) , ] } { : ; ^ and the
// end of the text. With min 2 a ')' is consumed and ends the parenthesis, so a missing ')' is forgiven
// ("(1+2" is 3); with min 1 a surplus ')' is skipped ("1+2)" is 3). Where an operand is due, ';' counts
// as 0 and any other terminator is a syntax error; a number straight after an operand is one too.
#include "formula/evaluator.h"

#include <algorithm>
#include <cmath>
#include <cstring>
#include <string>

#include "core/cell_store.h"
#include "core/number_text.h"
#include "core/numeric.h"
#include "core/qx_assert.h"
#include "core/scope_exit.h"
#include "core/slot.h"
#include "formula/bracket_match.h"
#include "formula/compiled_text.h"
#include "formula/evaluator_call_state.h"
#include "formula/lexer.h"
#include "formula/operators.h"
#include "formula/origins.h"
#include "formula/text_cut.h"
#include "platform/platform.h"

namespace qx {

using namespace origins::formula;
using namespace oper;

namespace {

bool fail(ErrStat& err, Origin o, int point, int position, Msg code) {
    err.position = position;
    return err.fail(o, point, code);
}

// Raises a counter of the evaluator (nesting depth, skip mode, stepping suspension) for one scope, so an
// early return or an exception cannot leave it raised.
class Raised {
  public:
    explicit Raised(int& counter) : m_counter(counter) { ++m_counter; }
    ~Raised() { --m_counter; }
    Raised(const Raised&) = delete;
    Raised& operator=(const Raised&) = delete;

  private:
    int& m_counter;
};

bool endsAddress(char c, bool secondCorner) {
    return c == ']' || c == ';' || c == '{' || (!secondCorner && c == '^');
}

// An integer literal (optionally signed) running up to the end of its address part.
bool literalPart(const char* text, int pos) {
    if (text[pos] == '+' || text[pos] == '-') ++pos;
    if (!isDigit(text[pos])) return false;
    while (isDigit(text[pos])) ++pos;
    return text[pos] == ',' || text[pos] == ']' || text[pos] == '^';
}

}  // namespace

double NoFunctions::call(CallRecord& call, ErrStat& err) {
    err.enter();
    fail(err, kCall, 1, call.namePos, Msg::UndefinedFunction);
    return 0.0;
}

Evaluator::Evaluator(CellStore& store) : m_store(store) {}

double Evaluator::evaluate(CellRec* cell, char* text, int& pos, int minPrec, RegisterBlock& regs, ErrStat& err) {
    err.enter();
    if (m_depth >= depthLimit()) {
        fail(err, kEvaluate, 1, pos, m_scripts.running() ? Msg::ScriptNestingTooDeep : Msg::UnableToCompute);
        return 0.0;
    }
    const Raised depth(m_depth);
    CallState st;
    const int start = pos;
    for (;;) {
        pos = skipBlanks(text, pos);
        if (!st.have && !readPrefix(text, pos, st, err)) break;
        const char c = text[pos];
        if (isTerminator(c)) {
            if (st.have) {
                if (c == ')' && minPrec == kOutermost) {
                    ++pos;  // a surplus ')' at the outermost level is ignored
                    continue;
                }
                if (c == ')' && minPrec == kParenthesised) ++pos;
                break;
            }
            if (c != ';') {
                fail(err, kEvaluate, 2, pos, Msg::SyntaxError);
                break;
            }
            st.have = true;  // an empty expression counts as 0
            continue;
        }
        if (!st.have) {
            if (!readOperand(cell, text, pos, st, regs, err) || !readPower(cell, text, pos, st, regs, err)) break;
            continue;
        }
        bool done = false;
        if (!applyInfix(cell, text, pos, minPrec, st, regs, err, done, start) || done) break;
    }
    if (!err.failed() && stepping(cell)) showStep(cell, text, start, pos, st.value, false);
    return finishCall(st.value, pos, err);
}

double Evaluator::finishCall(double value, int pos, ErrStat& err) {
    if (!err.failed()) {
        if (std::isnan(value)) {
            fail(err, kEvaluate, 3, pos, Msg::UnableToCompute);
        } else if (value <= -kFormulaInfinity || value >= kFormulaInfinity) {
            fail(err, kEvaluate, 4, pos, Msg::ExceedsInfinity);
        }
    }
    if (!err.failed()) return value;
    err.trace(kEvaluate);
    if (std::isnan(value) || (value > -kFormulaInfinity && value < kFormulaInfinity)) return 0.0;
    return value > 0 ? kFormulaInfinity : -kFormulaInfinity;
}

double Evaluator::evaluateFormula(CellRec* cell, char* text, ErrStat& err) {
    err.enter();
    char empty[1] = {'\0'};
    if (text == nullptr) text = empty;  // an empty compiled text is stored as no text at all
    RegisterBlock regs;
    int pos = 0;
    const double value = evaluate(cell, text, pos, kOutermost, regs, err);
    if (err.failed()) return value;
    while (text[pos] == ';') ++pos;  // a closing ';' ends an expression
    if (text[pos] != '\0') return fail(err, kEvaluate, 5, pos, Msg::SyntaxError), 0.0;
    return value;
}

bool Evaluator::readPrefix(const char* text, int& pos, CallState& st, ErrStat& err) {
    if (m_scripts.running()) return readScriptPrefix(text, pos, st, err);
    while (text[pos] == '+' || isBlank(text[pos])) ++pos;
    if (text[pos] == '-') {
        if (text[pos + 1] == '-') return fail(err, kEvaluate, 6, pos, Msg::IllegalOperator);
        st.prefix = kNegate;
        ++pos;
    } else if (text[pos] == '!') {
        st.prefix = kNot;
        ++pos;
    }
    pos = skipBlanks(text, pos);
    return true;
}

bool Evaluator::readOperand(CellRec* cell, char* text, int& pos, CallState& st, RegisterBlock& regs, ErrStat& err) {
    const char c = text[pos];
    st.lvalue = Lvalue::None;
    bool ok = false;
    int code = 0;
    if (c == '(') {
        ++pos;
        st.value = evaluate(cell, text, pos, kParenthesised, regs, err);
        ok = !err.failed();
    } else if (isDigit(c) || c == '.') {
        ok = readNumber(text, pos, st, err);
    } else if (scanCharacter(text, pos, code)) {
        st.value = code;
        pos += 3;
        ok = true;
    } else if (c == '[') {
        ok = readBracket(cell, text, pos, st, regs, err);
    } else if (c == '#' || c == '$' || (c == '~' && text[pos + 1] == '#')) {
        ok = readScriptOperand(cell, text, pos, st, regs, err);
    } else if (c == '~') {
        ok = readDirect(cell, text, pos, st, err);
    } else if (isNameStart(c)) {
        ok = readCall(cell, text, pos, st, regs, err);
    } else {
        return fail(err, kEvaluate, 8, pos, Msg::UnableToCompute);
    }
    if (!ok) return false;
    st.have = true;
    st.assignFollows = st.lvalue != Lvalue::None && isAssignment(text, skipBlanks(text, pos));
    if (st.assignFollows || st.prefix == kNoOp) return true;
    if (st.prefix == kIncrement || st.prefix == kDecrement) return applyStepPrefix(st, pos, err);
    st.value = st.prefix == kNegate ? -st.value : logicalNot(st.value);
    st.lvalue = Lvalue::None;
    return true;
}

bool Evaluator::readPower(CellRec* cell, char* text, int& pos, CallState& st, RegisterBlock& regs, ErrStat& err) {
    const int p = skipBlanks(text, pos);
    if (text[p] != '*' || text[p + 1] != '*') return true;
    pos = p + 2;
    const double right = evaluate(cell, text, pos, kPowerPrecedence, regs, err);
    if (err.failed()) return false;
    st.value = std::pow(st.value, right);
    st.lvalue = Lvalue::None;
    st.assignFollows = false;
    return true;
}

bool Evaluator::readNumber(const char* text, int& pos, CallState& st, ErrStat& err) {
    const NumberScan scan = scanNumber(text, pos);
    if (scan.result != NumberScanResult::Ok) {
        const Msg code = text[pos] == '.' ? Msg::UnableToCompute : Msg::SyntaxError;
        return fail(err, kEvaluate, 9, pos, code);
    }
    st.value = scan.value;
    pos = scan.end;
    return true;
}

bool Evaluator::readDirect(CellRec* cell, const char* text, int& pos, CallState& st, ErrStat& err) {
    if (cell == nullptr || !cell->formulaLike()) return fail(err, kEvaluate, 10, pos, Msg::IncompatibleCellType);
    DirectAddress da;
    const CellRec* found = directTarget(cell->formula, text, pos, da);
    if (found == nullptr) return fail(err, kEvaluate, 11, pos, Msg::CorruptedDirectAddress);
    const CellRec& target = *found;
    if (target.isPlaceholder()) {
        st.value = 0.0;
    } else if (target.isFormula() && target.formula != nullptr) {
        if (target.formula->errorMark()) return fail(err, kEvaluate, 12, pos, Msg::UndefinedCellOrBadValue);
        st.value = target.formula->value;
    } else {
        return fail(err, kEvaluate, 13, pos, Msg::IncompatibleCellType);
    }
    pos = da.end;
    return true;
}

bool Evaluator::readBracket(CellRec* cell, char* text, int& pos, CallState& st, RegisterBlock& regs, ErrStat& err) {
    const int reg = registerAt(text, pos);
    if (reg >= 0) {
        st.value = slot(regs.r, reg);
        st.lvalue = Lvalue::Register;
        st.regIndex = reg;
        pos += 3;
        return true;
    }
    const int open = pos;
    CellAddress a = parseAddress(cell, text, pos, false, regs, err);
    if (err.failed()) return false;
    if (text[pos] == '^') {
        st.value = rangeOperation(cell, text, pos, open, a, err);
        return !err.failed();
    }
    if (text[pos] != ']') return fail(err, kEvaluate, 14, pos, Msg::MissingBracket);
    ++pos;
    if (!a.hasLevel) a.level = levelFor(cell);
    const CellRec* target = m_store.findCell(a.row, a.col, a.level, err);
    if (err.failed()) return err.position = open, err.trace(kEvaluate), false;
    st.value = readCell(target, a.elem);
    st.lvalue = Lvalue::CellAddress;
    st.target = a;
    return true;
}

bool Evaluator::readCall(CellRec* cell, char* text, int& pos, CallState& st, RegisterBlock& regs, ErrStat& err) {
    const int namePos = pos;
    const int nameStop = nameEnd(text, pos);
    const int open = skipBlanks(text, nameStop);
    if (text[open] != '(') return fail(err, kCall, 2, namePos, Msg::MissingBracket);
    const int close = matchBracket(text, open);
    if (close == open) return fail(err, kCall, 3, namePos, Msg::UndefinedFunction);
    if (text[namePos] == '@' && text[skipBlanks(text, close + 1)] != '\0') {
        return fail(err, kCall, 4, namePos, Msg::AtFunctionInExpression);
    }
    CallRecord call{cell, text, namePos, nameStop, open, close, regs, this};
    double value = 0.0;
    {
        const TextCut cut(text, close + 1);
        const Raised pause(m_stepSuspended);  // function calls run without stepping
        value = m_dispatcher->call(call, err);
    }
    if (err.failed()) {
        err.position = namePos;
        err.trace(kCall);
        return false;
    }
    st.value = value;
    pos = close + 1;
    return true;
}

bool Evaluator::applyInfix(CellRec* cell, char* text, int& pos, int minPrec, CallState& st, RegisterBlock& regs,
                           ErrStat& err, bool& done, int start) {
    const char c = text[pos];
    if (isDigit(c) || (c == '.' && isDigit(text[pos + 1]))) return fail(err, kEvaluate, 15, pos, Msg::SyntaxError);
    const OpToken found = matchOperator(text, pos);
    if (found.op == kNoOp) return fail(err, kEvaluate, 16, pos, Msg::IllegalOperator);
    const OpToken* token = &found;
    if (token->op == kCond) {
        ++pos;
        return conditional(cell, text, pos, st, regs, err);
    }
    if (kPrecedence[token->op] <= minPrec) {
        done = true;
        return true;
    }
    const int opPos = pos;
    if (stepping(cell)) showStep(cell, text, start, opPos, st.value, true);
    pos += token->length;
    if (!isAssignmentOp(token->op)) {
        const double right = evaluate(cell, text, pos, kPrecedence[token->op], regs, err);
        if (err.failed()) return false;
        st.lvalue = Lvalue::None;
        return binary(token->op, st.value, right, st.value, opPos, err);
    }
    if (st.lvalue == Lvalue::None || (st.lvalue == Lvalue::Register && st.regIndex >= reg::kAssignableEnd)) {
        return fail(err, kEvaluate, 17, opPos, Msg::AssignmentError);
    }
    const double right = evaluate(cell, text, pos, kAssignPrecedence, regs, err);
    if (err.failed()) return false;
    double result = right;
    if (token->op != kAssign && !binary(compoundBase(token->op), st.value, right, result, opPos, err)) return false;
    if (!assign(cell, st, result, regs, opPos, err)) return false;
    st.value = result;
    return true;
}

bool Evaluator::binary(int op, double a, double b, double& result, int pos, ErrStat& err) {
    if (zeroDivisor(op, b)) {
        if (m_skip > 0) return result = a, true;  // measuring a false branch: the operation is dropped
        return fail(err, kEvaluate, 18, pos, Msg::DividingByZero);
    }
    if (infixValue(op, a, b, result)) return true;
    // applyInfix hands over only infix operators; the failure is the optimised build's fallback.
    QX_ASSERT(!"binary() has a rule for every infix operator");
    return fail(err, kEvaluate, 19, pos, Msg::IllegalOperator);
}

bool Evaluator::assign(CellRec* cell, CallState& st, double value, RegisterBlock& regs, int pos, ErrStat& err) {
    if (st.lvalue == Lvalue::Register) {
        slot(regs.r, st.regIndex) = value;
        return true;
    }
    if (st.lvalue != Lvalue::CellAddress) return storeScript(cell, st, value, pos, err);
    CellRec* target = m_store.findCell(st.target.row, st.target.col, st.target.level, err);
    if (err.failed()) return err.position = pos, err.trace(kEvaluate), false;
    if (!writeCell(cell, target, st.target.elem, value, err)) return err.position = pos, err.trace(kEvaluate), false;
    return true;
}

bool Evaluator::conditional(CellRec* cell, char* text, int& pos, CallState& st, RegisterBlock& regs, ErrStat& err) {
    const int question = pos - 1;
    const int colon = matchBracket(text, question);
    if (colon == question) return fail(err, kEvaluate, 20, question, Msg::MissingConditional);
    // The false branch is run once just to find its end; its side effects happen as designed.
    int end = colon + 1;
    {
        const Raised skipping(m_skip);
        evaluate(cell, text, end, kParenthesised, regs, err);
    }
    if (err.failed()) return false;
    int branch = st.value != 0.0 ? question + 1 : colon + 1;
    const double value = evaluate(cell, text, branch, kParenthesised, regs, err);
    if (err.failed()) return false;
    pos = text[end] == ';' ? end + 1 : end;
    st.value = value;
    st.lvalue = Lvalue::None;
    return true;
}

double Evaluator::readCell(const CellRec* target, int elem) {
    if (target == nullptr || target->isPlaceholder()) return 0.0;
    if (target->isFormula()) {
        if (target->formula == nullptr) return 0.0;
        if (elem == 0) return target->formula->value;
        const double* array = target->formula->array;
        if (array != nullptr && elem >= 1 && static_cast<uint32_t>(elem) <= target->formula->arrayCount()) {
            return array[elem];
        }
        return 0.0;
    }
    const std::string_view text = target->textView();
    if (elem >= 1 && static_cast<std::size_t>(elem) <= text.size()) {
        return static_cast<int8_t>(static_cast<unsigned char>(text[static_cast<std::size_t>(elem) - 1]));
    }
    return 127.0;
}

bool Evaluator::writeCell(CellRec* caller, CellRec* target, int elem, double value, ErrStat& err) {
    err.enter();
    if (target == nullptr || target->isPlaceholder() || elem < 1) return true;
    double* slot = nullptr;
    char* character = nullptr;
    if (target->isFormula()) {
        FormulaRec* f = target->formula;
        if (f == nullptr || f->array == nullptr || static_cast<uint32_t>(elem) > f->arrayCount()) return true;
        slot = &f->array[elem];
    } else {
        if (target->text == nullptr || static_cast<std::size_t>(elem) > std::strlen(target->text)) return true;
        character = &target->text[elem - 1];
    }
    if (target->has(cellflag::kProtectCell)) return err.fail(kWriteCell, 1, Msg::ProtectedCell);
    if (!m_scripts.mayStore(target->level)) {
        m_store.scratch().toolkitError = codeOf(Msg::ScriptProtectedOperation);
        return true;
    }
    if (slot != nullptr) {
        // A formula writing its own Array Area leaves its level unmarked; the place is still noted, so the
        // Range Operations reading that element are evaluated again.
        if (target == caller && *slot != value) m_store.notePlace(*target);
        *slot = value;
    } else {
        const int32_t code = toInt32(value);
        *character = (code < 32 || code > 255) ? '^' : static_cast<char>(static_cast<unsigned char>(code));
    }
    if (target == caller) return true;
    if (target->isLabel()) {
        target->dependentsMark = true;
    } else {
        target->set(cellflag::kRecalcPending);
        m_store.hooks().recalcMarked(m_store, *target);
    }
    if (LevelRec* level = m_store.levelOf(*target)) level->changed = true;
    return true;
}

bool Evaluator::parsePart(CellRec* cell, char* text, int& pos, RegisterBlock& regs, int flagBit, CellAddress& a,
                          double& value, ErrStat& err) {
    pos = skipBlanks(text, pos);
    // In a script "$$n" and "$#n" are string operands, not an absolute part.
    const bool scriptString = m_scripts.running() && (text[pos + 1] == '$' || text[pos + 1] == '#');
    if (text[pos] == '$' && !scriptString) {
        if (literalPart(text, pos + 1)) a.flags |= flagBit;
        ++pos;  // a '$' before anything but an integer literal is dropped
    }
    value = evaluate(cell, text, pos, kOutermost, regs, err);
    if (err.failed()) return err.trace(kParseAddress), false;
    pos = skipBlanks(text, pos);
    return true;
}

CellAddress Evaluator::parseAddress(CellRec* cell, char* text, int& pos, bool secondCorner, RegisterBlock& regs,
                                    ErrStat& err) {
    err.enter();
    CellAddress a;
    std::optional<Msg> rangeCode;
    int rangePos = 0;
    int partStart = 0;
    auto remember = [&](Msg code) {
        if (!rangeCode) rangeCode = code, rangePos = partStart;
    };
    pos = skipBlanks(text, pos) + 1;
    double v = 0.0;
    partStart = skipBlanks(text, pos);
    if (!parsePart(cell, text, pos, regs, absflag::kRow, a, v, err)) return a;
    a.row = toInt32(v);
    if (a.row < 1 || a.row > kMaxRow) remember(Msg::RowOutOfRange);
    if (text[pos] != ',') return fail(err, kParseAddress, 1, pos, Msg::MissingColumn), a;
    partStart = skipBlanks(text, ++pos);
    if (!parsePart(cell, text, pos, regs, absflag::kColumn, a, v, err)) return a;
    a.col = toInt32(v);
    if (a.col < 1 || a.col > kMaxCol) remember(Msg::ColumnOutOfRange);
    if (text[pos] == ',') {
        pos = skipBlanks(text, pos + 1);
        if (text[pos] != ',' && !endsAddress(text[pos], secondCorner)) {
            partStart = pos;
            if (!parsePart(cell, text, pos, regs, absflag::kElement, a, v, err)) return a;
            a.elem = toInt32(v);
            a.hasElem = true;
            if (a.elem < 0 || a.elem > kMaxArrayElements) {
                return fail(err, kParseAddress, 2, partStart, Msg::ElementOutOfRange), a;
            }
        }
        if (text[pos] == ',') {
            pos = skipBlanks(text, pos + 1);
            if (!endsAddress(text[pos], secondCorner)) {
                const int literalStart = text[pos] == '$' ? skipBlanks(text, pos + 1) : pos;
                const bool literal = literalPart(text, literalStart) && isDigit(text[literalStart]);
                partStart = pos;
                if (!parsePart(cell, text, pos, regs, absflag::kLevel, a, v, err)) return a;
                a.level = toInt32(v);
                a.hasLevel = true;
                if (!m_store.validLevel(a.level)) remember(Msg::LevelOutOfRange);
                if (literal && a.level >= 1 && a.level <= m_store.highestLevel()) a.explicitLevel = a.level;
            }
        }
    }
    if (!endsAddress(text[pos], secondCorner)) return fail(err, kParseAddress, 3, pos, Msg::MissingBracket), a;
    if (rangeCode) fail(err, kParseAddress, 4, rangePos, *rangeCode);
    return a;
}

void Evaluator::showStep(CellRec* cell, const char* text, int start, int end, double value, bool beforeOperator) {
    constexpr std::size_t kLongStep = 40;
    constexpr std::size_t kStepTail = 37;
    ErrStat scratch;
    const std::string piece(text + start, text + std::max(start, end));
    std::string line = expandCompiled(*cell, piece.c_str(), TextOffsets{}, m_store.highestLevel(), scratch);
    line = (beforeOperator ? " " : "") + line + "  =  " + formatFixed(value, 6);
    if (line.size() >= kLongStep) line = "..." + line.substr(line.size() - kStepTail);
    const std::string formula = expandCompiled(*cell, cell->text, TextOffsets{}, m_store.highestLevel(), scratch);
    const std::string caption = "Debugging:  [" + std::to_string(cell->row) + "," + std::to_string(cell->col) + ",0," +
                                std::to_string(cell->level) + "]";
    if (m_platform->messageBox(caption, formula + "\n\n" + line, BoxIcon::None, BoxButtons::OkCancel) ==
        BoxAnswer::Cancel) {
        m_platform = nullptr;  // Cancel stops stepping for the rest of the computation
    }
}

double Evaluator::stepFormula(CellRec& cell, Platform& platform, ErrStat& err) {
    m_platform = &platform;
    const ScopeExit stopStepping([this] { m_platform = nullptr; });
    return evaluateFormula(&cell, cell.text, err);
}

}  // namespace qx
