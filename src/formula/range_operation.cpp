// Range Operations: [first corner ^ second corner {segment}; segment ...], evaluated over the cells (or the
// Array Area elements) of a block with the seven registers.
#include <algorithm>
#include <bit>
#include <cmath>
#include <optional>
#include <type_traits>

#include "core/cell_store.h"
#include "core/qx_assert.h"
#include "core/scope_exit.h"
#include "formula/bracket_match.h"
#include "formula/evaluator.h"
#include "formula/lexer.h"
#include "formula/operators.h"
#include "formula/origins.h"
#include "formula/range_body.h"
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
    ++m_rangeWalks;
    const ScopeExit walked([this] { --m_rangeWalks; });
    return runSegment(cell, text, seg, regs, err);
}

// What a pass visits, in its order: the Formula cells of a block level by level and row by row, each row
// walked in storage order; or elements of one cell's Array Area.
struct Evaluator::PassCursor {
    // Formula cells of levels l1..l2 inside the block a..b.
    PassCursor(const CellStore& store, int l1, int l2, const CellAddress& a, const CellAddress& b)
        : m_store(&store),
          m_level(std::max(l1, 1) - 1),
          m_lastLevel(std::min(l2, store.highestLevel())),
          m_firstRow(std::max(a.row, 1)),
          m_lastRowWanted(b.row),
          m_firstCol(a.col),
          m_lastCol(b.col) {}
    // Elements a.elem..b.elem of `target`, up to its Array Area's count.
    PassCursor(const CellRec* target, const CellAddress& a, const CellAddress& b) : m_target(target), m_elem(a.elem) {
        if (target != nullptr && target->isFormula() && target->formula != nullptr) {
            m_lastElem = std::min<int>(b.elem, static_cast<int>(target->formula->arrayCount()));
        }
    }

    // The next cell and the value the pass reads from it; null at the end. Inlined into every pass loop
    // over a local copy, so the cursor and the loop's sums stay in registers.
    [[gnu::always_inline]] const CellRec* next(double& value) {
        if (m_store == nullptr) return nextElement(value);
        for (;;) {
            while (m_cell != nullptr) {
                const CellRec* c = m_cell;
                const CellRec* after = c->next;
                m_cell = (c == m_last || after == nullptr || after->col <= c->col) ? nullptr : after;
                if (c->col > m_lastCol) {
                    m_cell = nullptr;
                    break;
                }
                if (c->col < m_firstCol || !c->isFormula() || c->formula == nullptr) continue;
                value = c->formula->errorMark() ? 0.0 : c->formula->value;
                return c;
            }
            if (!nextRow()) return nullptr;
        }
    }

    // Sets [-] [|] [%] to the place of a cell `next` gave.
    static void place(double* r, const CellRec* c) {
        r[reg::kRow] = c->row;
        r[reg::kColumn] = c->col;
        r[reg::kLevel] = c->level;
    }

  private:
    const CellRec* nextElement(double& value) {
        if (m_elem > m_lastElem) return nullptr;
        const FormulaRec* f = m_target->formula;
        // A segment may have computed the cell again with a smaller Array Area.
        if (m_elem > static_cast<int>(f->arrayCount())) return nullptr;
        value = f->array != nullptr ? f->array[m_elem] : 0.0;
        ++m_elem;
        return m_target;
    }

    [[gnu::always_inline]] bool nextRow() {
        for (;;) {
            while (m_row < m_lastRow) {
                m_last = m_rows[++m_row];
                if (m_last != nullptr) {
                    m_cell = m_last->next;
                    return true;
                }
            }
            if (!nextLevel()) return false;
        }
    }

    [[gnu::always_inline]] bool nextLevel() {
        while (m_level < m_lastLevel) {
            const LevelRec* level = m_store->levelPtr(++m_level);
            if (level == nullptr || level->bottom == nullptr) continue;
            m_rows = level->rows.data();
            m_lastRow = std::min<int>({m_lastRowWanted, level->bottom->row, static_cast<int>(level->rows.size()) - 1});
            m_row = m_firstRow - 1;
            return true;
        }
        return false;
    }

    const CellStore* m_store = nullptr;
    int m_level = 0;
    int m_lastLevel = 0;
    int m_firstRow = 0;
    int m_lastRowWanted = 0;
    int m_firstCol = 0;
    int m_lastCol = 0;
    CellRec* const* m_rows = nullptr;
    int m_row = 0;
    int m_lastRow = 0;  // no row before the first level is entered
    const CellRec* m_last = nullptr;
    const CellRec* m_cell = nullptr;
    const CellRec* m_target = nullptr;
    int m_elem = 1;
    int m_lastElem = 0;
};

bool Evaluator::pass(CellRec* cell, char* text, const Segment& seg, const CellAddress& a, const CellAddress& b,
                     RegisterBlock& regs, ErrStat& err) {
    if (const RangeBody* body = compiledBody(text, seg.start, seg.end); body != nullptr && fastAllowed(cell, *body)) {
        const RegisterBlock before = regs;
        if (fastPass(cell, *body, a, b, regs)) return true;
        regs = before;  // the evaluator runs the pass again and decides
    }
    if (a.elem >= 1) return passOverElements(cell, text, seg, a, b, regs, err);
    if (b.elem != 0) return fail(err, 3, seg.start, Msg::OutOfRange);
    PassCursor at(m_store, a.hasLevel ? a.level : levelFor(cell), b.hasLevel ? b.level : levelFor(cell), a, b);
    double value = 0.0;
    while (const CellRec* c = at.next(value)) {
        if (!visit(cell, text, seg, *c, value, regs, err)) return false;
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
    PassCursor at(target, a, b);
    double value = 0.0;
    while (const CellRec* c = at.next(value)) {
        if (!visit(cell, text, seg, *c, value, regs, err)) return false;
    }
    return true;
}

// The cursor of a pass, without reporting anything: false where the evaluator would fail before visiting.
bool Evaluator::quietCursor(const CellRec* cell, const CellAddress& a, const CellAddress& b,
                            std::optional<PassCursor>& out) {
    const int level = a.hasLevel ? a.level : levelFor(cell);
    const int level2 = b.hasLevel ? b.level : levelFor(cell);
    if (a.elem < 1) {
        if (b.elem != 0) return false;
        out.emplace(m_store, level, level2, a, b);
        return true;
    }
    if (a.row != b.row || a.col != b.col || level != level2) return false;
    ErrStat err;
    const CellRec* target = m_store.findCell(a.row, a.col, level, err);
    if (err.failed()) return false;
    out.emplace(target, a, b);
    return true;
}

const RangeBody* Evaluator::compiledBody(const char* text, int start, int end) {
    constexpr std::size_t kMaxCompiledBodies = 4096;
    const std::string_view key(text + start, static_cast<std::size_t>(end - start));
    auto it = m_bodies.find(key);
    if (it == m_bodies.end()) {
        if (m_bodies.size() >= kMaxCompiledBodies) m_bodies.clear();
        it = m_bodies.emplace(std::string(key), compileRangeBody(key)).first;
    }
    return &it->second;
}

bool Evaluator::fastAllowed(const CellRec* cell, const RangeBody& body) const {
    // Inside a script a run of '+' or '-' means increments, which the compiled segments do not know.
    return m_compiledBodies && body.shape != BodyShape::Evaluator && !stepping(cell) && !m_scripts.running() &&
           m_depth + body.depth + 1 < depthLimit();
}

namespace {

// The cells of a column's run, as a PassCursor gives the cells of a block: the row stands for the cell.
class RunCursor {
  public:
    explicit RunCursor(const ColumnRun& run) : m_run(&run) {}
    [[gnu::always_inline]] const uint16_t* next(double& value) {
        if (m_at == m_run->count) return nullptr;
        value = m_run->values[m_at];
        return m_run->rows + m_at++;
    }
    void place(double* r, const uint16_t* row) const {
        r[reg::kRow] = *row;
        r[reg::kColumn] = m_run->col;
        r[reg::kLevel] = m_run->level;
    }

    // A running sum [$]+[@] from a fresh pass over exact running sums. From [$] = +0 an exact sum of zero is
    // +0 whichever way it is added, as is the difference of two equal sums.
    bool exactSum(double* r) const {
        constexpr double kCountLimit = 4503599627370496.0;  // 2^52: adding ones to the count stays exact
        const double count = r[reg::kCount];
        if (m_run->exactSums == nullptr || std::bit_cast<uint64_t>(r[reg::kResult]) != 0 ||
            !(std::fabs(count) <= kCountLimit) || count != std::trunc(count)) {
            return false;
        }
        const std::size_t n = m_run->count;
        if (n == 0) return true;
        place(r, m_run->rows + n - 1);
        r[reg::kCount] = count + static_cast<double>(n);
        r[reg::kValue] = m_run->values[n - 1];
        r[reg::kResult] = m_run->exactSums[n] - m_run->exactSums[0];
        return true;
    }

  private:
    const ColumnRun* m_run;
    std::size_t m_at = 0;
};

template <SumTerm T>
double sumTerm(double v, double k) {
    if constexpr (T == SumTerm::Value) return v;
    if constexpr (T == SumTerm::Times) return v * k;
    if constexpr (T == SumTerm::Plus) return v + k;
    if constexpr (T == SumTerm::Minus) return v - k;
    if constexpr (T == SumTerm::Divided) return v / k;
    if constexpr (T == SumTerm::Square) return v * v;
}

// The running sum keeps its registers in locals, so the loop is one load and one add per cell.
template <SumTerm T, class Cursor>
bool sumPass(Cursor at, double k, double* r) {
    double count = r[reg::kCount];
    double sum = r[reg::kResult];
    double last = r[reg::kValue];
    decltype(at.next(last)) lastCell = nullptr;
    double v = 0.0;
    while (const auto c = at.next(v)) {
        const double t = sumTerm<T>(v, k);
        sum += t;
        count += 1.0;
        last = v;
        lastCell = c;
        if (!ordinaryValue(v) || !ordinaryValue(t) || !ordinaryValue(sum)) return false;
    }
    if (lastCell != nullptr) at.place(r, lastCell);
    r[reg::kCount] = count;
    r[reg::kValue] = last;
    r[reg::kResult] = sum;
    return true;
}

// The folded value is computed for every cell, the first one included, as the evaluator measures the
// conditional's false branch even when it takes the true one.
template <class Cursor, class Folder>
bool foldWith(Cursor at, Folder fold, double* r) {
    double count = r[reg::kCount];
    double result = r[reg::kResult];
    double last = r[reg::kValue];
    decltype(at.next(last)) lastCell = nullptr;
    double v = 0.0;
    while (const auto c = at.next(v)) {
        count += 1.0;
        const double folded = fold(v, result);
        if (!ordinaryValue(v) || !ordinaryValue(count) || !ordinaryValue(folded)) return false;
        result = count == 1.0 ? v : folded;
        last = v;
        lastCell = c;
    }
    if (lastCell != nullptr) at.place(r, lastCell);
    r[reg::kCount] = count;
    r[reg::kValue] = last;
    r[reg::kResult] = result;
    return true;
}

// A Select fold with its comparison fixed, so a minimum or a maximum is one compare per cell.
template <int Op, class Cursor>
bool selectPass(Cursor at, const Fold& fold, double* r) {
    const auto compare = [](double a, double b) {
        if constexpr (Op == oper::kGt) return a > b;
        if constexpr (Op == oper::kGe) return a >= b;
        if constexpr (Op == oper::kLe) return a <= b;
        if constexpr (Op == oper::kLt) return a < b;
        if constexpr (Op == oper::kEq) return a == b;
        if constexpr (Op == oper::kNe) return a != b;
    };
    const bool x = fold.xIsValue;
    const bool p = fold.pIsValue;
    return foldWith(
        at, [&](double v, double s) { return (x ? compare(v, s) : compare(s, v)) == p ? v : s; }, r);
}

template <class Cursor>
bool foldPass(Cursor at, const Fold& fold, double* r) {
    if (fold.kind == FoldKind::Product) {
        if (fold.xIsValue)
            return foldWith(
                at, [](double v, double s) { return v * s; }, r);
        return foldWith(
            at, [](double v, double s) { return s * v; }, r);
    }
    switch (fold.compare) {
        case oper::kGt:
            return selectPass<oper::kGt>(at, fold, r);
        case oper::kGe:
            return selectPass<oper::kGe>(at, fold, r);
        case oper::kLe:
            return selectPass<oper::kLe>(at, fold, r);
        case oper::kLt:
            return selectPass<oper::kLt>(at, fold, r);
        case oper::kEq:
            return selectPass<oper::kEq>(at, fold, r);
        case oper::kNe:
            return selectPass<oper::kNe>(at, fold, r);
        default:
            break;
    }
    return foldWith(
        at,
        [&](double v, double s) {
            double test = 0.0;
            oper::infixValue(fold.compare, fold.xIsValue ? v : s, fold.xIsValue ? s : v, test);
            return (test != 0.0) == fold.pIsValue ? v : s;
        },
        r);
}

template <class Cursor>
bool bodyPass(const RangeBody& body, Cursor at, double* r) {
    double v = 0.0;
    switch (body.shape) {
        case BodyShape::Count:
            while (const auto c = at.next(v)) {
                at.place(r, c);
                r[reg::kCount] += 1.0;
                r[reg::kValue] = v;
                r[reg::kResult] = r[reg::kCount];
            }
            return true;
        case BodyShape::Program:
            while (const auto c = at.next(v)) {
                at.place(r, c);
                r[reg::kCount] += 1.0;
                r[reg::kValue] = v;
                if (!runRangeBody(body, r)) return false;
            }
            return true;
        case BodyShape::Fold:
            return foldPass(at, body.fold, r);
        case BodyShape::Sum:
            switch (body.term) {
                case SumTerm::Value:
                    if constexpr (std::is_same_v<Cursor, RunCursor>) {
                        if (at.exactSum(r)) return true;
                    }
                    return sumPass<SumTerm::Value>(at, body.constant, r);
                case SumTerm::Times:
                    return sumPass<SumTerm::Times>(at, body.constant, r);
                case SumTerm::Plus:
                    return sumPass<SumTerm::Plus>(at, body.constant, r);
                case SumTerm::Minus:
                    return sumPass<SumTerm::Minus>(at, body.constant, r);
                case SumTerm::Divided:
                    return sumPass<SumTerm::Divided>(at, body.constant, r);
                case SumTerm::Square:
                    return sumPass<SumTerm::Square>(at, body.constant, r);
            }
            return false;
        case BodyShape::Evaluator:
            return false;
    }
    return false;
}

}  // namespace

bool Evaluator::columnRun(const CellRec* cell, const CellAddress& a, const CellAddress& b, ColumnRun& out) {
    if (a.elem >= 1 || b.elem != 0 || a.col != b.col) return false;
    const int level = a.hasLevel ? a.level : levelFor(cell);
    const int level2 = b.hasLevel ? b.level : levelFor(cell);
    if (level != level2 || !m_columns.run(level, a.col, a.row, b.row, out)) return false;
    QX_ASSERT(sameAsWalk(out, level, a, b));
    return true;
}

bool Evaluator::sameAsWalk(const ColumnRun& run, int level, const CellAddress& a, const CellAddress& b) const {
    PassCursor walk(m_store, level, level, a, b);
    std::size_t i = 0;
    double v = 0.0;
    while (const CellRec* c = walk.next(v)) {
        if (i == run.count || run.rows[i] != c->row ||
            std::bit_cast<uint64_t>(run.values[i]) != std::bit_cast<uint64_t>(v)) {
            return false;
        }
        ++i;
    }
    return i == run.count;
}

bool Evaluator::fastPass(const CellRec* cell, const RangeBody& body, const CellAddress& a, const CellAddress& b,
                         RegisterBlock& regs) {
    if (ColumnRun run; columnRun(cell, a, b, run)) return bodyPass(body, RunCursor(run), regs.r.data());
    std::optional<PassCursor> at;
    if (!quietCursor(cell, a, b, at)) return false;
    return bodyPass(body, *at, regs.r.data());
}

}  // namespace qx
