// The dependents search and the chain of affected cells.
#include <algorithm>
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

bool formulaLike(const CellRec& c) {
    return (c.isFormula() || c.isVariableLabel()) && c.formula != nullptr;
}

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
    cell.formula->setErrorMark(true);
    noteMarked(cell);
}

// 1 changed (or no longer failing), 0 unchanged, -1 failed now, -2 failed again.
int ChainRecalculator::evaluateReached(CellRec& d) {
    FormulaRec& f = *d.formula;
    const bool wasMarked = f.errorMark();
    d.set(cellflag::kForceDisplay);
    ErrStat err;
    ++m_chain.evaluated;
    if (d.isVariableLabel()) {
        const std::string before(d.textView());
        m_compiler.refreshVariableLabel(d, err);
        if (err.failed()) {
            ++m_chain.errors;
            setErrorMark(d);
            return wasMarked ? -2 : -1;
        }
        f.setErrorMark(false);
        return (before != d.textView() || wasMarked) ? 1 : 0;
    }
    f.setErrorMark(false);
    // An object's value is its Array Area as much as its number: a point moved by a traverse keeps the
    // same function value, and the cells reading it must still follow.
    const bool object = formulaflag::objectKind(f.flags) != 0;
    if (object) {
        const std::span<const double> before = countedArea(f);
        m_arrayBefore.assign(before.begin(), before.end());
    }
    const double value = m_evaluator.evaluateFormula(&d, d.text, err);
    if (err.failed()) {
        ++m_chain.errors;
        setErrorMark(d);
        return wasMarked ? -2 : -1;
    }
    // Only an object cell reads its Array Area again: every cell of a long chain passes here.
    if (value != f.value || (object && !sameArea(m_arrayBefore, countedArea(f)))) {
        f.value = value;
        return 1;
    }
    return wasMarked ? 1 : 0;
}

// A cell all of whose dependents have been handled is brought up to date once more.
void ChainRecalculator::finishEntry(CellRec& cell) {
    if (!formulaLike(cell)) return;
    cell.set(cellflag::kForceDisplay);
    ErrStat err;
    if (m_chain.labelStart && cell.isFormula()) {
        ++m_chain.errors;
        setErrorMark(cell);
        return;
    }
    ++m_chain.evaluated;
    if (cell.isVariableLabel()) {
        cell.set(cellflag::kRecalcPending, false);
        cell.formula->setErrorMark(false);
        if (!m_compiler.refreshVariableLabel(cell, err)) ++m_chain.errors, setErrorMark(cell);
        return;
    }
    cell.formula->setErrorMark(false);
    const double value = m_evaluator.evaluateFormula(&cell, cell.text, err);
    if (err.failed()) {
        ++m_chain.errors;
        setErrorMark(cell);
        return;
    }
    cell.formula->value = value;
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
        if (!formulaLike(*d)) continue;
        if (d->isFormula() && (d->has(cellflag::kRangeDef) || insidePendingDelete(m_store, *d))) continue;
        const int result = evaluateReached(*d);
        if (d->dependents == 0 || result == 0 || result == -2) continue;
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
    if (m_chain.overflow && m_platform != nullptr) {
        m_platform->messageBox(kChainOverflowCaption, chainOverflowText(changed->row, changed->col),
                               BoxIcon::Exclamation, BoxButtons::Ok);
    }
    return m_chain.overflow;
}

}  // namespace qx
