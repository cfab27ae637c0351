#include "formula/variable_label.h"

#include "core/cell_store.h"
#include "core/number_text.h"
#include "display/cell_display.h"
#include "display/display_format.h"
#include "formula/bracket_match.h"
#include "formula/compiled_text.h"
#include "formula/evaluator.h"
#include "formula/formula_codes.h"
#include "formula/lexer.h"
#include "formula/origins.h"

namespace qx {

using namespace origins::formula;

namespace {

// Appends what `target` shows; false (after a '^') when the text has to end here.
bool appendTarget(const CellRec* target, int elem, bool hasElem, std::string& out) {
    const bool failed =
        target == nullptr || target->isPlaceholder() || (target->formula != nullptr && target->formula->errorMark());
    if (failed) {
        out.push_back('^');
        return false;
    }
    if (hasElem) {
        out += formatGeneral(Evaluator::readCell(target, elem), 6);
        return true;
    }
    // Another Variable Label contributes the text it already shows, so a cycle of labels cannot recurse.
    if (target->isLabelLike()) {
        out += target->textView();
        return true;
    }
    const std::string text(trimBlanks(cellDisplayText(target, kMaxTextLength + 1, CellDisplayContext{})));
    if (target->isFormula() && (text == "?" || text == "!")) {
        out.push_back('^');
        return false;
    }
    out += text;
    return true;
}

bool textualAddress(const char* s, int i) {
    if (s[i] != '[' || registerAt(s, i) >= 0) return false;
    const int close = matchBracket(s, i);
    if (close <= i) return false;
    for (int k = i + 1; k < close; ++k) {
        if (s[k] == '^') return false;
    }
    return true;
}

}  // namespace

std::string buildVariableLabelText(Evaluator& evaluator, CellRec& cell, ErrStat& err) {
    err.enter();
    std::string tmpl = (cell.formula && cell.formula->tag) ? cell.formula->tag : "";
    char* s = tmpl.data();
    std::string out;
    int i = 0;
    while (s[i] != '\0' && static_cast<int>(out.size()) < kMaxTextLength) {
        if (s[i] == '~') {
            DirectAddress da;
            const FormulaRec& f = *cell.formula;
            if (!readDirectAddress(s, i + 1, da) || static_cast<uint32_t>(da.index) > f.refCount) {
                err.position = i;
                return err.fail(kBuildText, 1, Msg::CorruptedDirectAddress), std::string();
            }
            if (!appendTarget(f.refs[da.index - 1], 0, false, out)) break;
            i = da.end;
        } else if (textualAddress(s, i)) {
            RegisterBlock regs;
            int p = i;
            CellAddress a = evaluator.parseAddress(&cell, s, p, false, regs, err);
            if (err.failed()) return err.trace(kBuildText), std::string();
            if (!a.hasLevel) a.level = cell.level;
            const CellRec* target = evaluator.store().findCell(a.row, a.col, a.level, err);
            if (err.failed()) return err.trace(kBuildText), std::string();
            if (!appendTarget(target, a.elem, a.hasElem, out)) break;
            i = p + 1;
        } else {
            out.push_back(s[i++]);
        }
    }
    if (static_cast<int>(out.size()) > kMaxTextLength) out.resize(kMaxTextLength);
    for (char& c : out) {
        const auto u = static_cast<unsigned char>(c);
        if (u < 32 || u >= 126) c = '^';
    }
    return out;
}

}  // namespace qx
