#include "recalc/recalc.h"

#include <algorithm>
#include <string>

#include "core/cell_store.h"
#include "core/circular.h"
#include "core/scope_exit.h"
#include "formula/compiler.h"
#include "formula/entry.h"
#include "formula/evaluator.h"
#include "formula/formula_engine.h"
#include "recalc/origins.h"

namespace qx {

namespace {

constexpr uint16_t kMarkFlags = cellflag::kForceRecalc | cellflag::kRecalcPending;

bool carriesMark(const CellRec& c) {
    return c.formulaLike() && (c.has(kMarkFlags) || c.formula->errorMark());
}

bool failed(const CellRec* c) {
    return c != nullptr && c->formulaLike() && c->formula->errorMark();
}

uint64_t placeKey(int level, int row, int col) {
    return (static_cast<uint64_t>(level) << 32) | (static_cast<uint64_t>(row) << 8) | static_cast<uint64_t>(col);
}

uint64_t placeKey(const CellRec& c) {
    return placeKey(c.level, c.row, c.col);
}

}  // namespace

ChainRecalculator::ChainRecalculator(FormulaEngine& formulas)
    : m_formulas(formulas),
      m_store(formulas.store()),
      m_evaluator(formulas.evaluator()),
      m_compiler(formulas.compiler()),
      m_entry(formulas.entry()) {
    formulas.setRecalculator(this);
}

ChainRecalculator::~ChainRecalculator() {
    if (&m_formulas.recalculator() == this) m_formulas.setRecalculator(nullptr);
}

// --- the Range Operation lists ---

void ChainRecalculator::joinRangeList(CellRec& cell) {
    if (cell.has(cellflag::kRangeDef) || cell.level >= kMaxLevelCount) return;
    cell.set(cellflag::kRangeDef);
    m_ranges[cell.level].push_back(&cell);
    const char* text = cell.isVariableLabel() && cell.formula != nullptr ? cell.formula->tag : cell.text;
    RangeOp& op = m_ops[&cell];
    op.boxes = coverBoxes(text, cell.level);
    op.classified = cell.isFormula() && readsOnlyLevelCells(text, cell.level, op.boxes);
    op.dirty = true;
    RangeIndex& index = m_index[cell.level];
    if (!index.byColumn.empty()) indexOp(index, op);
    m_store.touch(cell);
}

void ChainRecalculator::removeFromRangeList(CellRec& cell, ErrStat& err) {
    err.enter();
    if (cell.level >= kMaxLevelCount) return void(err.fail(origins::recalc::kRemoveRange, 1, Msg::Unlisted));
    std::vector<CellRec*>& list = m_ranges[cell.level];
    if (list.empty()) return void(err.fail(origins::recalc::kRemoveRange, 1, Msg::Unlisted));
    auto it = std::find(list.begin(), list.end(), &cell);
    if (it == list.end()) return void(err.fail(origins::recalc::kRemoveRange, 3, Msg::Unlisted));
    list.erase(it);
    m_ops.erase(&cell);
    m_index[cell.level].byColumn.clear();
    cell.set(cellflag::kRangeDef, false);
    m_store.touch(cell);
}

void ChainRecalculator::leaveRangeList(CellRec& cell) {
    ErrStat err;
    removeFromRangeList(cell, err);
    cell.set(cellflag::kRangeDef, false);
}

std::span<CellRec* const> ChainRecalculator::rangeList(int level) const {
    if (level < 0 || level >= kMaxLevelCount) return {};
    return m_ranges[static_cast<std::size_t>(level)];
}

void ChainRecalculator::levelCleared(int level) {
    if (level < 0 || level >= kMaxLevelCount) return;
    for (const CellRec* c : m_ranges[static_cast<std::size_t>(level)]) m_ops.erase(c);
    m_ranges[static_cast<std::size_t>(level)].clear();
    m_index[static_cast<std::size_t>(level)] = RangeIndex{};
    m_marked.erase(m_marked.lower_bound(placeKey(level, 0, 0)), m_marked.lower_bound(placeKey(level + 1, 0, 0)));
}

void ChainRecalculator::noteMarked(CellRec& cell) {
    if (carriesMark(cell)) m_marked.insert(placeKey(cell));
}

CellRec* ChainRecalculator::markedCell(uint64_t key) const {
    ErrStat err;
    const auto level = static_cast<int>(key >> 32);
    const auto row = static_cast<int>((key >> 8) & 0xFFFFFF);
    const auto col = static_cast<int>(key & 0xFF);
    CellRec* c = m_store.findCell(row, col, level, err);
    return (c != nullptr && carriesMark(*c)) ? c : nullptr;
}

// --- Range Operations found as dependents ---

bool ChainRecalculator::rangeCovers(const CellRec& rangeCell, const CellRec& target) const {
    const auto it = m_ops.find(&rangeCell);
    if (it == m_ops.end()) return false;
    return std::any_of(it->second.boxes.begin(), it->second.boxes.end(),
                       [&](const CoverBox& box) { return box.holds(target.row, target.col, target.level); });
}

CellRec* ChainRecalculator::findRangeDependent(CellRec& target, const CellRec* previous, int64_t& count) {
    bool searching = count == 0 || previous == nullptr;
    for (std::size_t level = 0; level < m_ranges.size(); ++level) {
        for (CellRec* c : m_ranges[level]) {
            if (!searching) {
                searching = c == previous;
                continue;
            }
            if (c == &target || !rangeCovers(*c, target)) continue;
            --count;
            if (!prevented(*c)) return c;
        }
    }
    return nullptr;
}

// --- sweeps ---

void ChainRecalculator::sweepEvaluate(CellRec& cell) {
    ErrStat& err = m_store.scratch().spare;
    err.clear();
    cell.set(cellflag::kRecalcPending, false);
    cell.set(cellflag::kForceDisplay);
    evaluateAndStore(cell, err);
    if (cell.isVariableLabel()) noteMarked(cell);
}

bool ChainRecalculator::sweepQualifies(const CellRec& c, const CellRec* given, SweepKind kind) const {
    if (!c.formulaLike() || c.has(cellflag::kRangeDef)) return false;
    if (kind != SweepKind::Marked) return &c == given;
    if (&c == given) return false;
    const bool forcedHere = c.has(cellflag::kForceRecalc) && (given == nullptr || c.level == given->level);
    return forcedHere || c.has(cellflag::kRecalcPending);
}

// A marked sweep visits only the level's cells that carry a mark, in (row, column) order.
void ChainRecalculator::sweepMarked(CellRec* cell, int level) {
    const uint64_t end = placeKey(level + 1, 0, 0);
    for (auto it = m_marked.lower_bound(placeKey(level, 0, 0)); it != m_marked.end() && *it < end;) {
        const uint64_t key = *it;
        CellRec* c = markedCell(key);
        if (c == nullptr) {
            it = m_marked.erase(it);
            continue;
        }
        if (sweepQualifies(*c, cell, SweepKind::Marked)) {
            sweepEvaluate(*c);
            if (runChain(c)) return;
        }
        it = m_marked.upper_bound(key);
    }
}

void ChainRecalculator::sweep(CellRec* cell, int level, SweepKind kind) {
    if (m_store.levelEmpty(level)) return;
    if (kind == SweepKind::Marked) return sweepMarked(cell, level);
    if (cell == nullptr || !sweepQualifies(*cell, cell, kind)) return;
    sweepEvaluate(*cell);
    if (kind == SweepKind::CellAndChain) runChain(cell);
}

void ChainRecalculator::sweepAllLevels(CellRec* cell, SweepKind kind) {
    for (int level = m_store.highestLevel(); level >= 1; --level) sweep(cell, level, kind);
}

void ChainRecalculator::recomputeRangeOperations(int level) {
    runPasses(level, Passes::All);
}

void ChainRecalculator::runPasses(int level, Passes which) {
    const LevelRec* rec = m_store.levelPtr(level);
    if (rec == nullptr || level >= kMaxLevelCount) return;
    takeTouches(level);
    if (which == Passes::All) markAll(level);
    const std::vector<CellRec*>& list = m_ranges[static_cast<std::size_t>(level)];
    for (int pass = 0; pass < rec->defaults.rangePasses; ++pass) {
        for (std::size_t i = 0; i < list.size(); ++i) {
            CellRec* c = list[i];
            if (c->has(cellflag::kPreventRecalc) || !c->formulaLike()) continue;
            // What an earlier operation of the pass changed behind the chain's back counts for the later ones.
            if (rec->touched.pending(rec->changed) || m_index[static_cast<std::size_t>(level)].stale) {
                takeTouches(level);
            }
            const auto op = m_ops.find(c);
            if (op != m_ops.end()) {
                if (!needsPass(*c, op->second)) {
                    // Its value is what evaluating it would give; it is marked as evaluated all the same, as the
                    // attribute settings, the property reads and the saved flags show it.
                    c->set(cellflag::kForceDisplay);
                    continue;
                }
                op->second.dirty = false;
            }
            ++m_passEvaluations;
            sweepEvaluate(*c);
            if (runChain(c)) break;
        }
    }
}

// --- which Range Operations the passes evaluate ---

// An operation is skipped only when evaluating it would change nothing: it reads nothing but cells of its
// level, none of them changed since it was last evaluated, it is neither pending nor failed, and its chain
// would only evaluate cells that give the same result again.
bool ChainRecalculator::needsPass(CellRec& cell, const RangeOp& op) {
    return !op.classified || op.dirty || cell.has(cellflag::kRecalcPending) || cell.formula->errorMark() ||
           dependentsNeedPass(cell);
}

bool ChainRecalculator::dependentsNeedPass(CellRec& cell) {
    constexpr std::size_t kDependentsRead = 256;  // beyond this, evaluating is as cheap as reading them
    if (cell.dependents == 0) return false;
    const auto entries = m_store.dependentsOf(cell);
    if (entries.size() > kDependentsRead) return true;
    for (const CellRec* d : entries) {
        if (!d->formulaLike() || d->has(cellflag::kRangeDef)) continue;
        const char* text = d->isVariableLabel() ? d->formula->tag : d->text;
        if (!readsOnlyLevelCells(text, d->level, coverBoxes(text, d->level))) return true;
    }
    return false;
}

void ChainRecalculator::markAll(int level) {
    for (const CellRec* c : m_ranges[static_cast<std::size_t>(level)]) {
        const auto op = m_ops.find(c);
        if (op != m_ops.end()) op->second.dirty = true;
    }
}

void ChainRecalculator::indexOp(RangeIndex& index, RangeOp& op) {
    int first = kMaxCol + 1;
    int last = 0;
    for (const CoverBox& box : op.boxes) {
        first = std::min(first, std::max(box.firstCol, 0));
        last = std::max(last, std::min(box.lastCol, kMaxCol));
    }
    for (int col = first; col <= last; ++col) index.byColumn[static_cast<std::size_t>(col)].push_back(&op);
}

ChainRecalculator::RangeIndex& ChainRecalculator::rangeIndex(int level) {
    RangeIndex& index = m_index[static_cast<std::size_t>(level)];
    if (index.byColumn.empty()) {
        index.byColumn.resize(kMaxCol + 1);
        for (const CellRec* c : m_ranges[static_cast<std::size_t>(level)]) {
            const auto op = m_ops.find(c);
            if (op != m_ops.end()) indexOp(index, op->second);
        }
    }
    return index;
}

void ChainRecalculator::markPlace(int level, int row, int col) {
    if (col < 0 || col > kMaxCol) return;
    for (RangeOp* op : rangeIndex(level).byColumn[static_cast<std::size_t>(col)]) {
        if (op->dirty) continue;
        op->dirty = std::any_of(op->boxes.begin(), op->boxes.end(),
                                [&](const CoverBox& box) { return box.holds(row, col, level); });
    }
}

void ChainRecalculator::markOp(const CellRec& cell) {
    if (!cell.has(cellflag::kRangeDef)) return;
    const auto op = m_ops.find(&cell);
    if (op != m_ops.end()) op->second.dirty = true;
}

// The operations that read the cell through a direct address.
void ChainRecalculator::markReaders(CellRec& cell) {
    if (cell.dependents == 0) return;
    for (const CellRec* d : m_store.dependentsOf(cell)) markOp(*d);
}

// A cell whose value, text, Array Area or failure changed. An operation's own new value does not call
// for evaluating it again, unless its blocks cover its own place.
void ChainRecalculator::noteChanged(CellRec& cell) {
    m_store.noteValue(cell);
    if (cell.level >= kMaxLevelCount || m_ranges[cell.level].empty()) return;
    markPlace(cell.level, cell.row, cell.col);
    markReaders(cell);
}

// Turns the places the cell store was told of into marks on the operations reading them. A change the
// store was not told the place of, a cell changed without its chain (its dependents may hold old values,
// which the passes used to refresh through the chains of the operations they read), or a traversal that
// ended early: every operation of the level is evaluated.
void ChainRecalculator::takeTouches(int level) {
    LevelRec* rec = m_store.levelPtr(level);
    RangeIndex& index = m_index[static_cast<std::size_t>(level)];
    TouchLog& log = rec->touched;
    if (!log.pending(rec->changed) && !index.stale) return;
    bool all = log.overflow || log.accounted != rec->changed.settings() || index.stale;
    for (std::size_t i = 0; i < log.places.size() && !all && !m_ranges[static_cast<std::size_t>(level)].empty(); ++i) {
        const int row = static_cast<int>(log.places[i] >> 8);
        const int col = static_cast<int>(log.places[i] & 0xFF);
        markPlace(level, row, col);
        ErrStat err;
        CellRec* c = m_store.findCell(row, col, level, err);
        if (c == nullptr) continue;
        if (c != m_chained && c->dependents > 0) all = true;
        markOp(*c);  // an operation entered or moved here
        markReaders(*c);
    }
    if (all) markAll(level);
    log.places.clear();
    log.overflow = false;
    log.accounted = rec->changed.settings();
    index.stale = false;
}

// --- whole levels, single cells, failed cells ---

void ChainRecalculator::recalculateWholeLevel(int level) {
    m_store.scratch().repaintPending = true;
    LevelRec* rec = m_store.levelPtr(level);
    if (rec == nullptr) return;
    const CircularCells circular(*rec);
    std::vector<CellRec*> cells;
    for (LevelCursor at(*rec); !at.done(); at.advance()) {
        if (at.get()->formulaLike()) cells.push_back(at.get());
    }
    for (CellRec* c : cells) {
        if (c->formula->errorMark()) continue;
        if (circular.circular(*c)) {
            setErrorMark(*c);
            c->set(cellflag::kForceDisplay);
            continue;
        }
        sweepAllLevels(c, SweepKind::CellAndChain);
    }
    std::vector<uint16_t> passes;
    for (int l = 0; l <= m_store.highestLevel(); ++l) {
        passes.push_back(m_store.levelPtr(l)->defaults.rangePasses);
        m_store.levelPtr(l)->defaults.rangePasses = 1;
    }
    recomputeRangeOperations(level);
    for (int l = 0; l <= m_store.highestLevel(); ++l) {
        m_store.levelPtr(l)->defaults.rangePasses = passes[static_cast<std::size_t>(l)];
    }
}

void ChainRecalculator::recalculateLevel(int level) {
    const LevelRec* rec = m_store.levelPtr(level);
    if (rec == nullptr || rec->bottom == nullptr) return;
    notify(*rec->bottom, NotifyMode::WholeLevel);
}

// A failed cell is entered again from its readable text; a Variable Label keeps its template.
void ChainRecalculator::reenter(CellRec& cell) {
    std::string text = m_store.hooks().formulaText(m_store, cell, 0, 0, 0);
    if (cell.isVariableLabel()) {
        text.insert(text.begin(), '"');
    } else if (text.empty() || text.front() != '+') {
        text.insert(text.begin(), '+');
    }
    const int row = cell.row;
    const int col = cell.col;
    const int level = cell.level;
    ErrStat err;
    m_entry.storeEntry(text, row, col, level, EntryOptions{}, err);
}

void ChainRecalculator::recalculateOneCell(CellRec& cell) {
    if (!cell.formulaLike()) return;
    if (cell.formula->errorMark()) return reenter(cell);
    if (isCircular(cell)) {
        setErrorMark(cell);
        cell.set(cellflag::kForceDisplay);
        return;
    }
    notify(cell, NotifyMode::CellChainAndRanges);
}

bool ChainRecalculator::retryFailedCells() {
    std::size_t failedAtStart = 0;
    for (uint64_t key : m_marked) failedAtStart += failed(markedCell(key)) ? 1u : 0u;
    bool anyLost = false;
    // Each walk that helps clears at least one mark, so more walks than failed cells cannot help.
    for (std::size_t walk = 0; walk < failedAtStart; ++walk) {
        bool lost = false;
        for (auto it = m_marked.begin(); it != m_marked.end();) {
            const uint64_t key = *it;
            CellRec* c = markedCell(key);
            if (c == nullptr) {
                it = m_marked.erase(it);
                continue;
            }
            if (c->formula->errorMark()) {
                reenter(*c);
                lost = lost || !failed(markedCell(key));
            }
            it = m_marked.upper_bound(key);
        }
        anyLost = anyLost || lost;
        if (!lost) break;
    }
    if (anyLost) m_store.scratch().repaintPending = true;
    return anyLost;
}

// --- notification ---

void ChainRecalculator::notify(CellRec& cell, NotifyMode mode) {
    if (mode == NotifyMode::None) return;
    noteMarked(cell);
    noteChanged(cell);  // being notified of is being changed, whoever wrote it
    markOp(cell);
    m_store.scratch().repaintPending = true;
    const int level = cell.level;
    const Passes passes = m_selective ? Passes::Changed : Passes::All;
    const CellRec* outer = m_chained;
    const ScopeExit restore([&] { m_chained = outer; });
    switch (mode) {
        case NotifyMode::ChainAndRanges:
            if (!runChain(&cell)) {
                m_chained = &cell;
                runPasses(level, passes);
            }
            break;
        case NotifyMode::CellChainAndRanges:
            sweepAllLevels(&cell, SweepKind::CellAndChain);
            recomputeRangeOperations(level);
            break;
        case NotifyMode::Chain:
            runChain(&cell);
            break;
        case NotifyMode::Edit:
            if (!runChain(&cell)) {
                m_chained = &cell;
                sweepAllLevels(&cell, SweepKind::Marked);
            }
            runPasses(level, passes);
            break;
        case NotifyMode::SweepAndRanges:
            sweepAllLevels(&cell, SweepKind::Marked);
            runPasses(level, passes);
            break;
        case NotifyMode::WholeLevel:
            recalculateWholeLevel(level);
            break;
        case NotifyMode::CellOnly:
            sweepAllLevels(&cell, SweepKind::CellOnly);
            break;
        case NotifyMode::CellAndChain:
            sweepAllLevels(&cell, SweepKind::CellAndChain);
            break;
        case NotifyMode::Sweep:
            sweepAllLevels(&cell, SweepKind::Marked);
            break;
        case NotifyMode::None:
            break;
    }
}

}  // namespace qx
