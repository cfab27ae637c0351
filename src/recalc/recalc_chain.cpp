// The dependents search and the chain of affected cells.
#include <algorithm>
#include <bit>
#include <cstdio>
#include <span>
#include <string>
#include <vector>

#include "core/cell_store.h"
#include "core/dependents_index.h"
#include "core/formula_flags.h"
#include "formula/compiler.h"
#include "formula/evaluator.h"
#include "platform/platform.h"
#include "recalc/recalc.h"

namespace qx {

namespace {

bool insidePendingDelete(CellStore& store, const CellRec& c) {
    const LevelRec* level = store.levelPtr(c.level);
    return level != nullptr && level->pendingDelete.contains(c.row, c.col);
}

// An Array Area with its count in front; a cell without one reads as a count of zero.
std::span<const double> countedArea(const FormulaRec& f) {
    static constexpr double kNoArea[1] = {0.0};
    return f.array != nullptr ? std::span<const double>(f.array, f.arrayCount() + 1) : std::span<const double>(kNoArea);
}

bool sameArea(const std::vector<double>& before, std::span<const double> after) {
    return std::equal(before.begin(), before.end(), after.begin(), after.end());
}

}  // namespace

std::string chainOverflowText(int row, int col) {
    char text[400];
    std::snprintf(text, sizeof text,
                  "The chain of affected cells that must be recalculated\nexceeded the maximum number allowed. AS A "
                  "RESULT,\nNOT ALL OF THE CELLS AFFECTED BY A CHANGE TO\nCELL [%d,%d] WERE PROPERLY UPDATED!\n\n(Try "
                  "breaking up the chain of calculations into a\nseries of smaller segments.)\n",
                  row, col);
    return text;
}

bool ChainRecalculator::prevented(const CellRec& c) const {
    return c.has(cellflag::kPreventRecalc) && !m_store.scratch().includePrevent;
}

CellRec* ChainRecalculator::findDependent(CellRec& target, const CellRec* previous, int64_t& count) {
    if (count < 1) return findRangeDependent(target, previous, count);
    const auto entries = m_store.dependentsOf(target);
    auto it = entries.begin();
    if (previous != nullptr) it = std::upper_bound(entries.begin(), entries.end(), previous, dependentBefore);
    for (; it != entries.end(); ++it) {
        --count;
        if (!prevented(**it)) return *it;
    }
    count = 0;
    return nullptr;
}

void ChainRecalculator::setErrorMark(CellRec& cell) {
    const bool wasMarked = cell.formula->errorMark();
    cell.formula->setErrorMark(true);
    noteMarked(cell);
    if (!wasMarked) noteChanged(cell);
}

// Every cell of a long chain passes here twice, so the plain number cell takes the shortest path and
// the rarer Variable Labels and objects go out of line.
ChainRecalculator::Evaluation ChainRecalculator::evaluateAndStore(CellRec& cell, ErrStat& err) {
    FormulaRec& f = *cell.formula;
    const bool wasMarked = f.errorMark();
    f.setErrorMark(false);
    if (wasMarked) m_store.noteValue(cell);  // a pass reading the cell while it computes reads it unmarked
    if (cell.isVariableLabel() || formulaflag::objectKind(f.flags) != ObjectKind::Number) [[unlikely]] {
        const Evaluation outcome = evaluateAndStoreOther(cell, err);
        if (outcome != Evaluation::Unchanged || wasMarked) noteChanged(cell);
        return outcome;
    }
    const double value = m_evaluator.evaluateFormula(&cell, cell.text, err);
    if (err.failed()) [[unlikely]] {
        f.setErrorMark(true);
        noteMarked(cell);
        if (!wasMarked) noteChanged(cell);
        return Evaluation::Failed;
    }
    const bool changed = value != f.value;
    // 0 and -0 compare equal, so the chain stops here, yet they read apart (a product, a lone cell): the
    // operations and column copies reading the cell must see the new sign.
    const bool newSign = !changed && std::bit_cast<uint64_t>(value) != std::bit_cast<uint64_t>(f.value);
    f.value = value;
    if (changed || wasMarked || newSign) noteChanged(cell);
    return changed ? Evaluation::Changed : Evaluation::Unchanged;
}

ChainRecalculator::Evaluation ChainRecalculator::evaluateAndStoreOther(CellRec& cell, ErrStat& err) {
    FormulaRec& f = *cell.formula;
    bool changed = false;
    if (cell.isVariableLabel()) {
        const std::string before(cell.textView());
        m_compiler.refreshVariableLabel(cell, err);
        changed = before != cell.textView();
    } else {
        // An object's value is its Array Area as much as its number: a point moved by a traverse keeps the
        // same function value, and the cells reading it must still follow.
        const std::span<const double> before = countedArea(f);
        m_arrayBefore.assign(before.begin(), before.end());
        const double value = m_evaluator.evaluateFormula(&cell, cell.text, err);
        changed = value != f.value || !sameArea(m_arrayBefore, countedArea(f));
        if (!err.failed()) {
            const bool newSign = !changed && std::bit_cast<uint64_t>(value) != std::bit_cast<uint64_t>(f.value);
            if (newSign) noteChanged(cell);
            f.value = value;
        }
    }
    if (err.failed()) {
        f.setErrorMark(true);
        noteMarked(cell);
        return Evaluation::Failed;
    }
    return changed ? Evaluation::Changed : Evaluation::Unchanged;
}

// A cell that stops failing counts as changed.
ChainRecalculator::Reached ChainRecalculator::evaluateReached(CellRec& d) {
    const bool wasMarked = d.formula->errorMark();
    d.set(cellflag::kForceDisplay);
    ErrStat err;
    ++m_chain.evaluated;
    const Evaluation outcome = evaluateAndStore(d, err);
    if (outcome == Evaluation::Failed) {
        ++m_chain.errors;
        return wasMarked ? Reached::FailedAgain : Reached::FailedNow;
    }
    return (outcome == Evaluation::Changed || wasMarked) ? Reached::Changed : Reached::Unchanged;
}

// A cell all of whose dependents have been handled is brought up to date once more.
void ChainRecalculator::finishEntry(CellRec& cell) {
    if (!cell.formulaLike()) return;
    cell.set(cellflag::kForceDisplay);
    ErrStat err;
    if (m_chain.labelStart && cell.isFormula()) {
        ++m_chain.errors;
        setErrorMark(cell);
        return;
    }
    ++m_chain.evaluated;
    if (cell.isVariableLabel()) cell.set(cellflag::kRecalcPending, false);
    if (evaluateAndStore(cell, err) == Evaluation::Failed) ++m_chain.errors;
}

void ChainRecalculator::push(CellRec* cell) {
    const auto d = static_cast<std::size_t>(++m_chain.depth);
    m_chain.cells[d] = cell;
    m_chain.remaining[d] = static_cast<int32_t>(cell->dependents);
    if (d + 1 < kChainDepth) {
        m_chain.cells[d + 1] = nullptr;
        m_chain.remaining[d + 1] = -1;
    }
    m_highWater = std::max(m_highWater, m_chain.depth + 1);
}

void ChainRecalculator::pop() {
    const auto d = static_cast<std::size_t>(m_chain.depth);
    for (std::size_t i = d; i <= d + 1 && i < kChainDepth; ++i) {
        m_chain.cells[i] = nullptr;
        m_chain.remaining[i] = -1;
    }
    --m_chain.depth;
}

// Finds the next dependents of the top entry, evaluating each, until one whose change must be carried
// further is pushed. True on overflow.
bool ChainRecalculator::advance() {
    const auto top = static_cast<std::size_t>(m_chain.depth);
    CellRec* t = m_chain.cells[top];
    int32_t& remaining = m_chain.remaining[top];
    while (remaining >= 1) {
        // The k-th reference to t in (row, column) order; a prevented cell is passed and counted.
        const auto entries = m_store.dependentsOf(*t);
        CellRec* d = nullptr;
        while (d == nullptr && remaining >= 1) {
            const auto k = static_cast<int64_t>(t->dependents) - remaining;
            if (k < 0 || k >= static_cast<int64_t>(entries.size())) break;
            --remaining;
            CellRec* candidate = entries[static_cast<std::size_t>(k)];
            if (!prevented(*candidate)) d = candidate;
        }
        if (d == nullptr) {
            m_chain.stop = ChainStop::MissingDependent;
            remaining = 0;
            return false;
        }
        if (!d->formulaLike()) continue;
        if (d->isFormula() && d->has(cellflag::kRangeDef)) continue;
        if (d->isFormula() && insidePendingDelete(m_store, *d)) {
            m_index[d->level].stale = true;
            continue;
        }
        const Reached result = evaluateReached(*d);
        if (d->dependents == 0 || result == Reached::Unchanged || result == Reached::FailedAgain) continue;
        if (m_chain.depth + 1 >= kChainDepth - 1) return true;
        push(d);
        return false;
    }
    return false;
}

void ChainRecalculator::resetChain(CellRec* changed) {
    const auto used = static_cast<std::size_t>(std::min(m_highWater + 1, kChainDepth));
    std::fill_n(m_chain.cells.begin(), used, nullptr);
    std::fill_n(m_chain.remaining.begin(), used, -1);
    m_chain.depth = 0;
    m_chain.evaluated = 0;
    m_chain.errors = 0;
    m_chain.overflow = false;
    m_chain.stop = ChainStop::None;
    m_chain.labelStart = changed != nullptr && changed->isLabelLike();
    m_highWater = 1;
}

bool ChainRecalculator::runChain(CellRec* changed) {
    resetChain(changed);
    if (changed == nullptr || changed->dependents == 0) return false;
    m_chain.cells[0] = changed;
    m_chain.remaining[0] = static_cast<int32_t>(changed->dependents);
    while ((m_chain.depth >= 1 || (m_chain.depth == 0 && m_chain.remaining[0] >= 1)) && !m_chain.overflow &&
           m_chain.stop == ChainStop::None && m_chain.errors < kChainErrorLimit) {
        const auto top = static_cast<std::size_t>(m_chain.depth);
        if (m_chain.remaining[top] > 0 && m_chain.cells[top] != nullptr) {
            m_chain.overflow = advance();
        } else if (m_chain.remaining[top] != 0 || m_chain.cells[top] == nullptr) {
            m_chain.stop = ChainStop::EmptyEntry;
        } else {
            finishEntry(*m_chain.cells[top]);
            pop();
        }
    }
    if (m_chain.overflow || m_chain.stop != ChainStop::None || m_chain.errors >= kChainErrorLimit) {
        m_index[changed->level].stale = true;
    }
    if (m_chain.overflow && m_platform != nullptr) {
        m_platform->messageBox(kChainOverflowCaption, chainOverflowText(changed->row, changed->col),
                               BoxIcon::Exclamation, BoxButtons::Ok);
    }
    return m_chain.overflow;
}

}  // namespace qx
