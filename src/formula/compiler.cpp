#include "formula/compiler.h"

#include <algorithm>
#include <string>
#include <vector>

#include "core/cell_heap.h"
#include "core/cell_store.h"
#include "core/circular.h"
#include "core/slot.h"
#include "formula/bracket_match.h"
#include "formula/compiled_text.h"
#include "formula/evaluator.h"
#include "formula/formula_codes.h"
#include "formula/lexer.h"
#include "formula/origins.h"
#include "formula/variable_label.h"

namespace qx {

using namespace origins::formula;

namespace {

constexpr int kCircularPoint = 44;

bool fail(ErrStat& err, int point, int position, Msg code) {
    err.position = position;
    return err.fail(kCompile, point, code);
}

// A letter that is not the 'e' of a signed exponent.
bool letterAt(const char* s, int i) {
    if (!isLetter(s[i])) return false;
    const bool exponent = (s[i] == 'e' || s[i] == 'E') && (s[i + 1] == '+' || s[i + 1] == '-') && isDigit(s[i + 2]) &&
                          i > 0 && (isDigit(s[i - 1]) || s[i - 1] == '.');
    return !exponent;
}

// Address contents whose value can change after entry (names, registers, nested addresses) keep the
// address textual, so it is evaluated every time.
bool variableContents(const char* s, int from, int to) {
    for (int i = from; i < to; ++i) {
        if (letterAt(s, i) || s[i] == '[' || s[i] == '"' || s[i] == '\'') return true;
    }
    return false;
}

// The first of `stops` between from and to outside nested brackets, or -1.
int findTopLevel(const char* s, int from, int to, const char* stops) {
    for (int i = from; i < to; ++i) {
        if (s[i] == '(' || s[i] == '[' || s[i] == '{') {
            const int partner = matchBracket(s, i);
            if (partner > i && partner < to) i = partner;
            continue;
        }
        for (const char* c = stops; *c; ++c) {
            if (s[i] == *c) return i;
        }
    }
    return -1;
}

class Compilation {
  public:
    Compilation(CellStore& store, Evaluator& evaluator, CellRec& cell, std::string source, bool formula,
                bool limitLength)
        : m_store(store),
          m_evaluator(evaluator),
          m_cell(cell),
          m_src(std::move(source)),
          m_formula(formula),
          m_limitLength(limitLength) {}

    bool run(ErrStat& err) {
        int i = 0;
        if (m_formula) {
            while (m_src[static_cast<std::size_t>(i)] == '+') ++i;
        }
        const char* s = m_src.c_str();
        while (s[i] != '\0') {
            const int element = i;
            if (!(m_formula ? formulaStep(i, err) : templateStep(i, err))) return false;
            m_sourceOf.resize(m_out.size(), element);
            if (m_limitLength && static_cast<int>(m_out.size()) > kMaxCompiledLength) {
                return fail(err, 1, i, Msg::ExpressionTooLong);
            }
        }
        if (m_parens != 0 || !m_closes.empty()) return fail(err, 2, i, Msg::MissingBracket);
        return true;
    }

    // Deletes the placeholders this compilation made that nothing references.
    void dropCreated() {
        for (CellRec* c : m_created) {
            if (c->dependents != 0 || CellStore::isReferenced(*c)) continue;
            ErrStat scratch;
            m_store.deleteCellNow(c, scratch);
        }
        m_created.clear();
    }

    // Where a position of the compiled text came from in the typed text, so that a failure found while
    // evaluating puts the caret where the user typed it.
    int sourcePosition(int compiled) const {
        if (compiled >= 0 && static_cast<std::size_t>(compiled) < m_sourceOf.size()) return slot(m_sourceOf, compiled);
        return static_cast<int>(m_src.size());
    }

    std::string m_out;
    std::vector<CellRec*> m_refs;
    bool m_hasRange = false;

  private:
    char* src() { return m_src.data(); }

    bool formulaStep(int& i, ErrStat& err) {
        const char* s = src();
        const char c = s[i];
        int code = 0;
        if (isBlank(c)) {
            ++i;
        } else if (c == '"') {
            const int end = stringEnd(s, i);
            if (end < 0) return fail(err, 3, i, Msg::IllegalStringConstant);
            append(i, end);
            i = end;
        } else if (scanCharacter(s, i, code) || registerAt(s, i) >= 0) {
            append(i, i + 3);
            i += 3;
        } else if (isDigit(c) || (c == '.' && isDigit(s[i + 1]))) {
            const int end = numberTextEnd(s, i);
            append(i, end);
            i = end;
        } else if (isNameStart(c)) {
            return name(i, err);
        } else if (c == '[') {
            return address(i, err);
        } else {
            return plain(i, err);
        }
        return true;
    }

    // A Variable Label's template: plain text in which constant addresses are compiled.
    bool templateStep(int& i, ErrStat& err) {
        const char* s = src();
        if (s[i] == '[' && registerAt(s, i) < 0) {
            const int close = matchBracket(s, i);
            if (close > i && findTopLevel(s, i + 1, close, "^") < 0 && !variableContents(s, i + 1, close)) {
                return address(i, err);
            }
        }
        m_out.push_back(s[i++]);
        return true;
    }

    bool plain(int& i, ErrStat& err) {
        const char c = src()[i];
        if (c == '(') ++m_parens;
        if (c == ')') {
            if (m_parens == 0) return fail(err, 4, i, Msg::MissingBracket);
            --m_parens;
        }
        if (c == ']') {
            if (m_closes.empty() || m_closes.back() != i) return fail(err, 5, i, Msg::MissingBracket);
            m_closes.pop_back();
        }
        m_out.push_back(c);
        ++i;
        return true;
    }

    bool name(int& i, ErrStat& err) {
        const char* s = src();
        const int start = i;
        std::string text;
        int j = i;
        for (;;) {
            if (isNameChar(s[j])) {
                text.push_back(s[j++]);
            } else if (isBlank(s[j]) && isNameChar(s[skipBlanks(s, j)])) {
                j = skipBlanks(s, j);  // blanks inside a function name are dropped
            } else {
                break;
            }
        }
        if (text[0] == '@' && !m_out.empty()) return fail(err, 6, start, Msg::AtFunctionInExpression);
        const int open = skipBlanks(s, j);
        if (s[open] != '(') return fail(err, 7, start, Msg::IllegalParameterList);
        if (matchBracket(s, open) == open) return fail(err, 8, open, Msg::MissingBracket);
        m_out += text;
        i = j;
        return true;
    }

    bool address(int& i, ErrStat& err) {
        char* s = src();
        const int close = matchBracket(s, i);
        if (close == i) return fail(err, 9, i, Msg::MissingBracket);
        const int caret = findTopLevel(s, i + 1, close, "^");
        if (caret >= 0) return rangeOperation(i, caret, close, err);
        if (variableContents(s, i + 1, close)) {
            // Stays textual; its parts are compiled like the rest of the text.
            m_closes.push_back(close);
            m_out.push_back('[');
            ++i;
            return true;
        }
        RegisterBlock regs;
        int p = i;
        const CellAddress a = m_evaluator.parseAddress(&m_cell, s, p, false, regs, err);
        if (err.failed()) return err.trace(kCompile), false;
        if (s[p] != ']') return fail(err, 10, p, Msg::IllegalCharacter);
        bool ok = true;
        if (a.hasElem) {
            ok = elementAddress(a, i, close, err);
        } else if (!a.hasLevel || ((a.flags & absflag::kLevel) == 0 && a.level == m_cell.level)) {
            ok = direct(a, i, err);
        } else {
            append(i, close + 1);
        }
        i = close + 1;
        return ok;
    }

    bool elementAddress(const CellAddress& a, int i, int close, ErrStat& err) {
        const int level = a.hasLevel ? a.level : m_cell.level;
        const CellRec* target = m_store.findCell(a.row, a.col, level, err);
        if (err.failed()) return err.position = i, err.trace(kCompile), false;
        if (target != nullptr && target->isFormula() && target->formula != nullptr &&
            target->formula->arrayCount() < static_cast<uint32_t>(a.elem)) {
            return fail(err, 11, i, Msg::ElementOutOfRange);
        }
        if (target != nullptr) {
            append(i, close + 1);
            return true;
        }
        m_out += "[" + std::to_string(a.row) + "," + std::to_string(a.col) + "," + std::to_string(a.elem);
        if (a.hasLevel) m_out += "," + std::to_string(a.level);
        m_out += "]";
        return true;
    }

    bool direct(const CellAddress& a, int i, ErrStat& err) {
        CellRec* target = m_store.findCell(a.row, a.col, m_cell.level, err);
        if (err.failed()) return err.position = i, err.trace(kCompile), false;
        if (target == &m_cell) return fail(err, 12, i, Msg::CircularReference);
        if (target == nullptr) {
            // A placeholder is never shown, so an overlapping label does not matter.
            target = m_store.makeCell(a.row, a.col, m_cell.level, CellType::Undefined, OverlapCheck::Skip, err);
            if (err.failed()) return err.position = i, err.trace(kCompile), false;
            m_created.push_back(target);
        }
        auto it = std::find(m_refs.begin(), m_refs.end(), target);
        if (it == m_refs.end()) {
            if (static_cast<int>(m_refs.size()) >= kMaxReferences) return fail(err, 13, i, Msg::ExpressionTooLong);
            m_refs.push_back(target);
            it = m_refs.end() - 1;
        }
        appendDirectAddress(m_out, static_cast<int>(it - m_refs.begin()) + 1,
                            a.flags & (absflag::kRow | absflag::kColumn));
        return true;
    }

    bool rangeOperation(int& i, int caret, int close, ErrStat& err) {
        char* s = src();
        int secondEnd = findTopLevel(s, caret + 1, close, ";{");
        if (secondEnd < 0) secondEnd = close;
        if (!variableContents(s, i + 1, secondEnd)) {
            RegisterBlock regs;
            int p = i;
            m_evaluator.parseAddress(&m_cell, s, p, false, regs, err);
            if (!err.failed()) {
                p = caret;
                m_evaluator.parseAddress(&m_cell, s, p, true, regs, err);
            }
            if (err.failed()) return err.trace(kCompile), false;
        }
        if (m_formula) {
            append(i, secondEnd);
        } else {
            m_out.append(s + i, s + secondEnd);
        }
        m_hasRange = true;
        m_closes.push_back(close);
        i = secondEnd;
        return true;
    }

    // Copies s[from, to), dropping blanks outside strings in a Formula.
    void append(int from, int to) {
        const char* s = src();
        bool inString = false;
        for (int k = from; k < to; ++k) {
            if (s[k] == '"') inString = !inString;
            if (m_formula && !inString && isBlank(s[k])) continue;
            m_out.push_back(s[k]);
            m_sourceOf.push_back(k);
        }
    }

    CellStore& m_store;
    Evaluator& m_evaluator;
    CellRec& m_cell;
    std::string m_src;
    bool m_formula;
    bool m_limitLength;
    int m_parens = 0;
    std::vector<int> m_closes;  // positions of ']' still expected
    std::vector<CellRec*> m_created;
    std::vector<int> m_sourceOf;
};

// "$[" outside a script leaves only the bracket; a typed '~' is never part of a formula.
std::string prepareSource(std::string_view source, bool formula) {
    std::string s(source);
    for (std::size_t k = 0; k < s.size(); ++k) {
        if (s[k] == '~') s[k] = ' ';
        if (formula && s[k] == '$' && k + 1 < s.size() && s[k + 1] == '[') s[k] = ' ';
    }
    return s;
}

void setText(LevelRec& level, char*& slot, std::string_view text, ErrStat& err) {
    heapFreeText(level, slot, err);
    if (!err.failed()) slot = heapText(level, text, err);
}

}  // namespace

bool FormulaCompiler::compile(CellRec& cell, std::string_view source, std::string_view typed, CompileOptions options,
                              ErrStat& err) {
    err.enter();
    LevelRec* level = m_store.levelOf(cell);
    if (level == nullptr || !cell.formulaLike()) {
        return fail(err, 20, 0, Msg::IncompatibleCellType);
    }
    const bool formula = cell.isFormula();
    ErrStat scratch;
    if (cell.formula->refCount > 0) m_store.releaseReferences(&cell, scratch);
    if (cell.has(cellflag::kRangeDef)) m_store.hooks().leaveRangeList(m_store, cell);
    cell.formula->setErrorMark(false);
    m_store.noteValue(cell);  // a pass reading the cell while it compiles reads it unmarked

    Compilation c(m_store, m_evaluator, cell, prepareSource(source, formula), formula, options.limitLength);
    bool ok = c.run(err);
    bool linked = false;
    if (ok && !c.m_refs.empty()) {
        m_store.linkReferences(&cell, c.m_refs, err);
        ok = linked = !err.failed();
    }
    if (ok) {
        setText(*level, formula ? cell.text : cell.formula->tag, c.m_out, err);
        ok = !err.failed();
    }
    if (ok && c.m_hasRange) m_store.hooks().joinRangeList(m_store, cell);
    if (ok && options.checkCircular && isCircular(cell)) ok = fail(err, kCircularPoint, 0, Msg::CircularReference);
    double value = 0.0;
    if (ok && formula) {
        value = m_evaluator.evaluateFormula(&cell, cell.text, err);
        ok = !err.failed();
        if (!ok) {
            err.position = c.sourcePosition(err.position);
            err.savedPosition = c.sourcePosition(err.savedPosition);
        }
    }
    if (ok && !formula) ok = refreshVariableLabel(cell, err);
    if (ok) {
        cell.formula->value = value;
        m_store.noteValue(cell);
        return true;
    }

    // The cell keeps what was typed so that it can be edited; nothing it took survives.
    if (linked) {
        m_store.releaseReferences(&cell, scratch);  // also removes the placeholders made here
    } else {
        c.dropCreated();
    }
    if (cell.has(cellflag::kRangeDef)) m_store.hooks().leaveRangeList(m_store, cell);
    if (formula) {
        setText(*level, cell.text, typed, scratch);
    } else {
        setText(*level, cell.formula->tag, source, scratch);
        setText(*level, cell.text, "", scratch);
    }
    cell.formula->value = value;
    cell.formula->setErrorMark(true);
    m_store.noteValue(cell);
    err.trace(kCompile);
    return false;
}

bool FormulaCompiler::refreshVariableLabel(CellRec& cell, ErrStat& err) {
    err.enter();
    LevelRec* level = m_store.levelOf(cell);
    if (level == nullptr || cell.formula == nullptr) return fail(err, 21, 0, Msg::IncompatibleCellType);
    const std::string text = buildVariableLabelText(m_evaluator, cell, err);
    if (err.failed()) {
        cell.formula->setErrorMark(true);
        return err.trace(kCompile), false;
    }
    setText(*level, cell.text, text, err);
    return !err.failed();
}

}  // namespace qx
