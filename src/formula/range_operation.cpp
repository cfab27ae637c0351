// Range Operations: [first corner ^ second corner {segment}; segment ...], evaluated over the cells (or the
// Array Area elements) of a block with the seven registers.
#include <algorithm>

#include "core/cell_store.h"
#include "formula/bracket_match.h"
#include "formula/evaluator.h"
#include "formula/lexer.h"
#include "formula/origins.h"
#include "formula/text_cut.h"

namespace qx {

using namespace origins::formula;

namespace {

bool fail(ErrStat& err, int point, int position, Msg code) {
    err.position = position;
    return err.fail(kRangeOperation, point, code);
}

// End of an unbraced segment: the next ';' outside brackets, strings and characters, or `close`.
int segmentEnd(const char* text, int pos, int close) {
    int code = 0;
    while (pos < close) {
        const char c = text[pos];
        if (c == ';') return pos;
        if (c == '(' || c == '[' || c == '{') {
            const int partner = matchBracket(text, pos);
            pos = (partner > pos && partner < close) ? partner + 1 : pos + 1;
        } else if (c == '"') {
            const int end = stringEnd(text, pos);
            pos = (end > pos && end <= close) ? end : pos + 1;
        } else if (scanCharacter(text, pos, code)) {
            pos += 3;
        } else {
            ++pos;
        }
    }
    return close;
}

}  // namespace

struct Evaluator::Segment {
    int start = 0;
    int end = 0;  // the character cut off while the segment runs
};

double Evaluator::rangeOperation(CellRec* cell, char* text, int& pos, int open, const CellAddress& first,
                                 ErrStat& err) {
    err.enter();
    const int close = matchBracket(text, open);
    if (close == open) return fail(err, 1, open, Msg::MissingBracket), 0.0;
    RegisterBlock regs;
    regs.r[reg::kRow] = cell ? cell->row : 0;
    regs.r[reg::kColumn] = cell ? cell->col : 0;
    regs.r[reg::kLevel] = levelFor(cell);
    int p = pos;
    const CellAddress second = parseAddress(cell, text, p, true, regs, err);
    if (err.failed()) return err.trace(kRangeOperation), 0.0;
    err.enter();
    int segments = 0;
    for (;;) {
        while (p < close && text[p] != ';' && text[p] != '{') ++p;
        if (p < close && text[p] == ';') ++p;
        while (p < close && (isBlank(text[p]) || text[p] == ';')) ++p;
        if (p >= close) break;
        const bool braced = text[p] == '{';
        Segment seg;
        int next = 0;
        if (braced) {
            const int brace = matchBracket(text, p);
            if (brace == p || brace > close) return fail(err, 2, p, Msg::MissingCurlyBrace), 0.0;
            seg = {p + 1, brace};
            next = brace + 1;
        } else {
            seg = {p, segmentEnd(text, p, close)};
            next = seg.end;
        }
        bool ok = true;
        const TextCut cut(text, seg.end);  // each segment is evaluated as its own text
        if (segments == 0 || braced) {
            regs.r[reg::kResult] = 0.0;
            if (braced) regs.r[reg::kCount] = 0.0;
            ok = pass(cell, text, seg, first, second, regs, err);
        } else {
            ok = runSegment(cell, text, seg, regs, err);
        }
        if (!ok) return err.trace(kRangeOperation), 0.0;
        ++segments;
        p = next;
    }
    if (segments == 0 && !pass(cell, text, Segment{close, close}, first, second, regs, err)) {
        return err.trace(kRangeOperation), 0.0;
    }
    pos = close + 1;
    return regs.r[reg::kResult];
}

bool Evaluator::runSegment(CellRec* cell, char* text, const Segment& seg, RegisterBlock& regs, ErrStat& err) {
    int p = skipBlanks(text, seg.start);
    if (p >= seg.end || text[p] == '\0') {
        regs.r[reg::kResult] = regs.r[reg::kCount];  // an empty segment only counts
        return true;
    }
    const double value = evaluate(cell, text, p, kOutermost, regs, err);
    if (err.failed()) return false;
    regs.r[reg::kResult] = value;
    return true;
}

bool Evaluator::visit(CellRec* cell, char* text, const Segment& seg, const CellRec& at, double value,
                      RegisterBlock& regs, ErrStat& err) {
    regs.r[reg::kRow] = at.row;
    regs.r[reg::kColumn] = at.col;
    regs.r[reg::kLevel] = at.level;
    regs.r[reg::kCount] += 1.0;
    regs.r[reg::kValue] = value;
    return runSegment(cell, text, seg, regs, err);
}

bool Evaluator::pass(CellRec* cell, char* text, const Segment& seg, const CellAddress& a, const CellAddress& b,
                     RegisterBlock& regs, ErrStat& err) {
    if (a.elem >= 1) return passOverElements(cell, text, seg, a, b, regs, err);
    if (b.elem != 0) return fail(err, 3, seg.start, Msg::OutOfRange);
    const int l1 = a.hasLevel ? a.level : levelFor(cell);
    const int l2 = b.hasLevel ? b.level : levelFor(cell);
    for (int l = std::max(l1, 1); l <= std::min(l2, m_store.highestLevel()); ++l) {
        const LevelRec* level = m_store.levelPtr(l);
        if (level == nullptr || level->bottom == nullptr) continue;
        const int lastRow = std::min<int>(b.row, level->bottom->row);
        for (int r = std::max(a.row, 1); r <= lastRow; ++r) {
            for (CellRec* c : m_store.rowCells(r, l)) {
                if (c->col > b.col) break;
                if (c->col < a.col || !c->isFormula() || c->formula == nullptr) continue;
                const double value = c->formula->errorMark() ? 0.0 : c->formula->value;
                if (!visit(cell, text, seg, *c, value, regs, err)) return false;
            }
        }
    }
    return true;
}

bool Evaluator::passOverElements(CellRec* cell, char* text, const Segment& seg, const CellAddress& a,
                                 const CellAddress& b, RegisterBlock& regs, ErrStat& err) {
    const int level = a.hasLevel ? a.level : levelFor(cell);
    const int level2 = b.hasLevel ? b.level : levelFor(cell);
    if (a.row != b.row || a.col != b.col || level != level2) return fail(err, 4, seg.start, Msg::OutOfRange);
    const CellRec* target = m_store.findCell(a.row, a.col, level, err);
    if (err.failed()) return false;
    if (target == nullptr || !target->isFormula() || target->formula == nullptr) return true;
    const int last = std::min<int>(b.elem, static_cast<int>(target->formula->arrayCount()));
    for (int e = a.elem; e <= last; ++e) {
        const double value = target->formula->array != nullptr ? target->formula->array[e] : 0.0;
        if (!visit(cell, text, seg, *target, value, regs, err)) return false;
    }
    return true;
}

}  // namespace qx
