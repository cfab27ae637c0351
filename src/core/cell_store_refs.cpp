// Reference lists, dependents counts and the reverse index.
#include <algorithm>
#include <cstring>

#include "core/cell_heap.h"
#include "core/cell_store.h"
#include "core/dependents_index.h"
#include "core/origins.h"

namespace qx {

using namespace origins::core;

namespace {

std::size_t refBytes(uint32_t n) {
    return n * sizeof(CellRec*);
}

}  // namespace

bool CellStore::isReferenced(const CellRec& cell) {
    return cell.dependents > 0 || indexSize(cell) > 0;
}

void CellStore::addDependent(CellRec* target, CellRec* formulaCell) {
    (void)formulaCell;
    if (target == nullptr) return;
    ++target->dependents;
    target->dependentsMark = false;
}

std::span<CellRec* const> CellStore::dependentsOf(CellRec& target) {
    return indexEntries(target);
}

// One reference of `formula` to `target` goes away; an orphaned placeholder goes with it.
void CellStore::dropReference(LevelRec& level, CellRec* target, CellRec* formula) {
    if (target == nullptr) return;
    if (target->dependents > 0) --target->dependents;
    indexRemove(level, *target, formula);
    if (!target->isPlaceholder() || isReferenced(*target)) return;
    ErrStat ignored;
    unlinkCell(target, ignored);
    if (!ignored.failed()) freeCellRecord(level, target, ignored);
    m_scratch.repaintPending = true;
}

void CellStore::setReferences(CellRec* cell, std::span<CellRec* const> list, ErrStat& err) {
    err.enter();
    if (cell == nullptr || levelPtr(cell->level) == nullptr)
        return void(err.fail(kSetReferences, 1, Msg::NullCellAddress));
    if (list.size() > static_cast<std::size_t>(kMaxReferences))
        return void(err.fail(kSetReferences, 2, Msg::ExpressionTooLong));
    if (list.empty()) return void(err.fail(kSetReferences, 2, Msg::OutOfRange));
    if (!(cell->isFormula() || cell->isVariableLabel()) || cell->formula == nullptr) {
        return void(err.fail(kSetReferences, 3, Msg::IncompatibleCellType));
    }
    for (const CellRec* target : list) {
        if (target == nullptr) return void(err.fail(kSetReferences, 4, Msg::NullCellAddress));
        // Counted references never cross levels: a cleared level must leave no pointer behind.
        if (target->level != cell->level) return void(err.fail(kSetReferences, 5, Msg::LevelOutOfRange));
    }
    LevelRec& level = *levelOf(*cell);
    const auto n = static_cast<uint32_t>(list.size());
    auto* refs = static_cast<CellRec**>(heapAllocate(level, n, sizeof(CellRec*), heapkind::kText, err));
    if (err.failed()) return void(err.fail(kSetReferences, 6, Msg::OutOfMemory));
    std::copy(list.begin(), list.end(), refs);
    // Index the new list before the old one is released, so a target in both is never orphaned.
    for (uint32_t i = 0; i < n; ++i) {
        indexAdd(level, *refs[i], cell, err);
        if (!err.failed()) continue;
        while (i-- > 0) indexRemove(level, *refs[i], cell);
        heapFree(level, refs, refBytes(n), heapkind::kText, err);
        return void(err.fail(kSetReferences, 6, Msg::OutOfMemory));
    }
    releaseReferences(cell, err);
    cell->formula->refs = refs;
    cell->formula->refCount = n;
}

void CellStore::linkReferences(CellRec* cell, std::span<CellRec* const> list, ErrStat& err) {
    err.enter();
    for (CellRec* target : list) addDependent(target, cell);
    setReferences(cell, list, err);
    if (!err.failed()) return;
    for (CellRec* target : list) {
        if (target != nullptr && target->dependents > 0) --target->dependents;
    }
}

CellRec* CellStore::getReference(const CellRec* cell, int k, ErrStat& err) const {
    err.enter();
    if (cell == nullptr) return err.fail(kGetReference, 1, Msg::NullCellAddress), nullptr;
    if (!(cell->isFormula() || cell->isVariableLabel()) || cell->formula == nullptr) {
        return err.fail(kGetReference, 2, Msg::IncompatibleCellType), nullptr;
    }
    if (k < 1 || static_cast<uint32_t>(k) > cell->formula->refCount) {
        return err.fail(kGetReference, 3, Msg::OutOfRange), nullptr;
    }
    return cell->formula->refs[k - 1];
}

void CellStore::releaseReferences(CellRec* cell, ErrStat& err) {
    err.enter();
    if (cell == nullptr || levelPtr(cell->level) == nullptr)
        return void(err.fail(kReleaseReferences, 1, Msg::NullCellAddress));
    if (cell->formula == nullptr || cell->formula->refs == nullptr) return;
    LevelRec& level = *levelOf(*cell);
    CellRec** refs = cell->formula->refs;
    const uint32_t n = cell->formula->refCount;
    cell->formula->refs = nullptr;
    cell->formula->refCount = 0;
    for (uint32_t i = 0; i < n; ++i) dropReference(level, refs[i], cell);
    heapFree(level, refs, refBytes(n), heapkind::kText, err);
    err.trace(kReleaseReferences);
}

void CellStore::repointDependents(CellRec& from, CellRec& to) {
    for (CellRec* formula : indexEntries(to)) {
        FormulaRec* rec = formula->formula;
        if (rec == nullptr) continue;
        std::replace(rec->refs, rec->refs + rec->refCount, &from, &to);
    }
}

void CellStore::reindexFormula(LevelRec& level, CellRec& formula, bool add, ErrStat& err) {
    err.enter();
    if (formula.formula == nullptr) return;
    for (uint32_t i = 0; i < formula.formula->refCount; ++i) {
        CellRec* target = formula.formula->refs[i];
        if (add) {
            indexAdd(level, *target, &formula, err);
            if (err.failed()) return;
        } else {
            indexRemove(level, *target, &formula);
        }
    }
}

void CellStore::rebuildDependents(int level, ErrStat& err) {
    err.enter();
    LevelRec* rec = levelPtr(level);
    if (rec == nullptr) return void(err.fail(kRebuildDependents, 1, Msg::LevelOutOfRange));
    for (LevelCursor at(*rec); !at.done(); at.advance()) {
        at.get()->dependents = 0;
        indexFree(*rec, *at.get());
    }
    for (LevelCursor at(*rec); !at.done(); at.advance()) {
        CellRec* cell = at.get();
        if (cell->formula == nullptr) continue;
        for (uint32_t i = 0; i < cell->formula->refCount; ++i) {
            CellRec* target = cell->formula->refs[i];
            if (target == nullptr || target->level != level) continue;
            addDependent(target, cell);
            indexAdd(*rec, *target, cell, err);
            if (err.failed()) return err.trace(kRebuildDependents);
        }
    }
}

}  // namespace qx
