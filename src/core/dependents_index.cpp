#include "core/dependents_index.h"

#include <algorithm>
#include <cstring>

#include "core/cell_heap.h"
#include "core/origins.h"
#include "core/qx_assert.h"

namespace qx {
namespace {

std::size_t blockBytes(uint32_t capacity) {
    return sizeof(DependentList) + capacity * sizeof(CellRec*);
}

void sortList(DependentList& list) {
    if (list.sorted) return;
    std::sort(list.items(), list.items() + list.size, dependentBefore);
    list.sorted = 1;
}

DependentList* grow(LevelRec& level, CellRec& target, uint32_t needed, ErrStat& err) {
    DependentList* old = target.dependentsIndex;
    const uint32_t oldCapacity = old ? old->capacity : 0;
    if (needed <= oldCapacity) return old;
    const uint32_t capacity = std::max<uint32_t>(needed, oldCapacity < 4 ? oldCapacity + 1 : oldCapacity * 2);
    auto* fresh = static_cast<DependentList*>(
        heapAllocate(level, static_cast<long>(blockBytes(capacity)), 1, heapkind::kListNode, err));
    if (err.failed()) return nullptr;
    QX_ASSERT(capacity <= 0x7FFFFFFFu);  // the field has 31 bits
    fresh->capacity = capacity & 0x7FFFFFFFu;
    fresh->sorted = 1;
    if (old != nullptr) {
        fresh->size = old->size;
        fresh->sorted = old->sorted;
        std::memcpy(fresh->items(), old->items(), old->size * sizeof(CellRec*));
        ErrStat ignored;
        heapFree(level, old, blockBytes(oldCapacity), heapkind::kListNode, ignored);
    }
    target.dependentsIndex = fresh;
    return fresh;
}

}  // namespace

bool dependentBefore(const CellRec* a, const CellRec* b) {
    if (a->row != b->row) return a->row < b->row;
    if (a->col != b->col) return a->col < b->col;
    return a < b;
}

void indexAdd(LevelRec& level, CellRec& target, CellRec* formula, ErrStat& err) {
    err.enter();
    const uint32_t size = indexSize(target);
    DependentList* list = grow(level, target, size + 1, err);
    if (err.failed()) return void(err.fail(origins::core::kIndexAdd, 1, Msg::OutOfMemory));
    CellRec** items = list->items();
    if (size > 0 && dependentBefore(formula, items[size - 1])) list->sorted = 0;
    items[size] = formula;
    list->size = size + 1;
}

bool indexRemove(LevelRec& level, CellRec& target, const CellRec* formula) {
    DependentList* list = target.dependentsIndex;
    if (list == nullptr) return false;
    sortList(*list);
    CellRec** first = list->items();
    CellRec** last = first + list->size;
    CellRec** hit = std::lower_bound(first, last, formula, dependentBefore);
    if (hit == last || *hit != formula) hit = std::find(first, last, formula);
    if (hit == last) return false;
    std::memmove(hit, hit + 1, static_cast<std::size_t>(last - hit - 1) * sizeof(CellRec*));
    if (--list->size == 0) indexFree(level, target);
    return true;
}

std::span<CellRec* const> indexEntries(CellRec& target) {
    DependentList* list = target.dependentsIndex;
    if (list == nullptr) return {};
    sortList(*list);
    return {list->items(), list->size};
}

uint32_t indexSize(const CellRec& target) {
    return target.dependentsIndex ? target.dependentsIndex->size : 0;
}

void indexTransfer(LevelRec& level, CellRec& from, CellRec& to, ErrStat& err) {
    err.enter();
    if (from.dependentsIndex == nullptr) return;
    if (to.dependentsIndex == nullptr) {
        to.dependentsIndex = from.dependentsIndex;
        from.dependentsIndex = nullptr;
        return;
    }
    DependentList* src = from.dependentsIndex;
    DependentList* dst = grow(level, to, to.dependentsIndex->size + src->size, err);
    if (err.failed()) return void(err.fail(origins::core::kIndexTransfer, 2, Msg::OutOfMemory));
    std::memcpy(dst->items() + dst->size, src->items(), src->size * sizeof(CellRec*));
    dst->size += src->size;
    dst->sorted = 0;
    indexFree(level, from);
}

void indexFree(LevelRec& level, CellRec& target) {
    DependentList* list = target.dependentsIndex;
    if (list == nullptr) return;
    ErrStat ignored;
    heapFree(level, list, blockBytes(list->capacity), heapkind::kListNode, ignored);
    target.dependentsIndex = nullptr;
}

}  // namespace qx
