#include "formula/minimal_recalc.h"

#include <algorithm>
#include <string>

#include "core/cell_store.h"
#include "formula/compiler.h"
#include "formula/evaluator.h"

namespace qx {

namespace {

bool skippedByChain(const CellRec& c) {
    return !(c.isFormula() || c.isVariableLabel()) || c.formula == nullptr || c.has(cellflag::kRangeDef) ||
           c.has(cellflag::kPreventRecalc);
}

}  // namespace

bool MinimalRecalculator::recompute(CellRec& cell) {
    if (cell.formula == nullptr) return false;
    cell.set(cellflag::kForceDisplay);
    cell.set(cellflag::kRecalcPending, false);
    const bool wasFailed = cell.formula->errorMark();
    ErrStat err;
    if (cell.isVariableLabel()) {
        const std::string before(cell.textView());
        if (!m_compiler.refreshVariableLabel(cell, err)) return !wasFailed;
        cell.formula->setErrorMark(false);
        return wasFailed || before != cell.textView();
    }
    if (!cell.isFormula() || cell.text == nullptr) return false;
    const double value = m_evaluator.evaluateFormula(&cell, cell.text, err);
    if (err.failed()) {
        cell.formula->setErrorMark(true);  // the old value stays
        return !wasFailed;
    }
    cell.formula->setErrorMark(false);
    const bool changed = wasFailed || value != cell.formula->value;
    cell.formula->value = value;
    return changed;
}

void MinimalRecalculator::chain(CellRec& changed) {
    std::vector<CellRec*> pending{&changed};
    int evaluations = 0;
    while (!pending.empty() && evaluations < kMaxChainEvaluations) {
        CellRec* c = pending.back();
        pending.pop_back();
        const auto deps = m_store.dependentsOf(*c);
        std::vector<CellRec*> list(deps.begin(), deps.end());
        list.erase(std::unique(list.begin(), list.end()), list.end());
        for (CellRec* d : list) {
            if (skippedByChain(*d)) continue;
            ++evaluations;
            if (recompute(*d) && d->dependents > 0) pending.push_back(d);
        }
    }
}

void MinimalRecalculator::rangeOperations(int level) {
    const LevelRec* rec = m_store.levelPtr(level);
    if (rec == nullptr || level >= kMaxLevelCount || m_rangeCount[static_cast<std::size_t>(level)] <= 0) return;
    for (LevelCursor it(*rec); !it.done(); it.advance()) {
        CellRec* c = it.get();
        if (!c->has(cellflag::kRangeDef) || c->has(cellflag::kPreventRecalc) || c->formula == nullptr) continue;
        if (recompute(*c) && c->dependents > 0) chain(*c);
    }
}

void MinimalRecalculator::wholeLevel(int level) {
    const LevelRec* rec = m_store.levelPtr(level);
    if (rec == nullptr) return;
    for (LevelCursor it(*rec); !it.done(); it.advance()) {
        CellRec* c = it.get();
        if (!skippedByChain(*c) && !c->formula->errorMark()) recompute(*c);
    }
}

void MinimalRecalculator::notify(CellRec& cell, int mode) {
    switch (mode) {
        case notifymode::kChain:
            chain(cell);
            break;
        case notifymode::kChainAndRanges:
        case notifymode::kEdit:
            chain(cell);
            rangeOperations(cell.level);
            break;
        case notifymode::kCellChainAndRanges:
            recompute(cell);
            chain(cell);
            rangeOperations(cell.level);
            break;
        case notifymode::kCellOnly:
            recompute(cell);
            break;
        case notifymode::kCellAndChain:
            recompute(cell);
            chain(cell);
            break;
        case notifymode::kSweepAndRanges:
        case notifymode::kWholeLevel:
        case notifymode::kSweep:
            wholeLevel(cell.level);
            rangeOperations(cell.level);
            break;
        default:
            break;
    }
    m_store.scratch().repaintPending = true;
}

void MinimalRecalculator::joinRangeList(CellRec& cell) {
    if (cell.has(cellflag::kRangeDef)) return;
    cell.set(cellflag::kRangeDef);
    if (cell.level < kMaxLevelCount) ++m_rangeCount[cell.level];
    if (LevelRec* level = m_store.levelOf(cell)) level->changed = true;
}

void MinimalRecalculator::leaveRangeList(CellRec& cell) {
    if (!cell.has(cellflag::kRangeDef)) return;
    cell.set(cellflag::kRangeDef, false);
    if (cell.level < kMaxLevelCount && m_rangeCount[cell.level] > 0) --m_rangeCount[cell.level];
    if (LevelRec* level = m_store.levelOf(cell)) level->changed = true;
}

}  // namespace qx
