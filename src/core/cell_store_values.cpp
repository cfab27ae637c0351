// Array Areas and tags.
#include <algorithm>
#include <cstring>

#include "core/cell_heap.h"
#include "core/cell_store.h"
#include "core/origins.h"
#include "core/table_descriptor.h"

namespace qx {

using namespace origins::core;

double* CellStore::copyArray(LevelRec& level, const double* array, ErrStat& err) {
    err.enter();
    if (array == nullptr) return nullptr;
    const int count = heapArrayCount(array);
    double* copy = heapArray(level, count, err);
    if (err.failed()) return nullptr;
    std::copy(array, array + count + 1, copy);
    return copy;
}

int CellStore::setArraySize(CellRec* cell, int n, ErrStat& err) {
    err.enter();
    if (cell == nullptr || levelPtr(cell->level) == nullptr) return err.fail(kSetArraySize, 1, Msg::NullCellAddress), 0;
    if (n < 0 || n > kMaxArrayElements) return err.fail(kSetArraySize, 2, Msg::ElementOutOfRange), 0;
    if (!cell->isFormula() || cell->formula == nullptr) return err.fail(kSetArraySize, 3, Msg::IncompatibleCellType), 0;
    FormulaRec& formula = *cell->formula;
    if (n == static_cast<int>(formula.arrayCount())) return n;
    LevelRec& level = *levelOf(*cell);
    double* resized = nullptr;
    if (n > 0) {
        resized = heapArray(level, n, err);
        if (err.failed()) return err.fail(kSetArraySize, 4, Msg::OutOfMemory), 0;
        const int keep = std::min<int>(n, static_cast<int>(formula.arrayCount()));
        if (keep > 0) std::copy(formula.array + 1, formula.array + 1 + keep, resized + 1);
    }
    freeArray(cell, err);
    formula.array = resized;
    notePlace(*cell);
    return n;
}

int CellStore::setArrayElements(CellRec* cell, const double* values, int first, int last, ErrStat& err) {
    err.enter();
    if (cell == nullptr || cell->formula == nullptr || cell->formula->array == nullptr || values == nullptr ||
        first < 0 || last < first ||
        static_cast<long>(cell->formula->arrayCount()) < static_cast<long>(last) - first + 1) {
        return err.fail(kSetArrayElements, 1, Msg::NullCellAddress), 0;
    }
    const auto bytes = static_cast<std::size_t>(last - first + 1) * sizeof(double);
    if (std::memcmp(values + first, cell->formula->array + 1, bytes) != 0) notePlace(*cell);
    std::copy(values + first, values + last + 1, cell->formula->array + 1);
    return last;
}

void CellStore::freeArray(CellRec* cell, ErrStat& err) {
    err.enter();
    if (cell == nullptr || levelPtr(cell->level) == nullptr) return void(err.fail(kFreeArray, 1, Msg::NullCellAddress));
    if (cell->formula == nullptr) return;
    heapFreeArray(*levelOf(*cell), cell->formula->array, err);
    err.trace(kFreeArray);
}

int CellStore::setTag(CellRec* cell, std::string_view text, ErrStat& err) {
    err.enter();
    if (cell == nullptr || levelPtr(cell->level) == nullptr) return err.fail(kSetTag, 1, Msg::NullCellAddress), 0;
    if (!cell->isFormula() || cell->formula == nullptr) return err.fail(kSetTag, 2, Msg::IncompatibleCellType), 0;
    freeTag(cell, err);
    if (err.failed() || text.empty()) return err.trace(kSetTag), 0;
    std::string tag(text.substr(0, kMaxTextLength));
    std::replace(tag.begin(), tag.end(), '"', '\'');
    cell->formula->tag = heapText(*levelOf(*cell), tag, err);
    if (err.failed()) return err.fail(kSetTag, 3, Msg::OutOfMemory), 0;
    return static_cast<int>(tag.size());
}

int CellStore::freeTag(CellRec* cell, ErrStat& err) {
    err.enter();
    if (cell == nullptr || levelPtr(cell->level) == nullptr) return err.fail(kFreeTag, 1, Msg::NullCellAddress), 0;
    if (!cell->isFormula() || cell->formula == nullptr || cell->formula->tag == nullptr) return 0;
    heapFreeText(*levelOf(*cell), cell->formula->tag, err);
    if (err.failed()) return err.trace(kFreeTag), 0;
    return 1;
}

int CellStore::freeVariableLabelText(CellRec* cell, ErrStat& err) {
    err.enter();
    if (cell == nullptr || levelPtr(cell->level) == nullptr)
        return err.fail(kFreeVariableLabelText, 1, Msg::NullCellAddress), 0;
    if (!cell->isVariableLabel() || cell->formula == nullptr || cell->formula->tag == nullptr) return 0;
    heapFreeText(*levelOf(*cell), cell->formula->tag, err);
    if (err.failed()) return err.trace(kFreeVariableLabelText), 0;
    return 1;
}

std::string CellStore::getTag(const CellRec* cell) const {
    if (cell == nullptr || !cell->isFormula() || cell->formula == nullptr || cell->formula->tag == nullptr) return {};
    return cell->formula->tag;
}

bool CellStore::attachTable(CellRec* cell, TableDescriptor* table, ErrStat& err) {
    err.enter();
    if (cell == nullptr || !cell->isFormula() || cell->formula == nullptr || levelOf(*cell) == nullptr) {
        return err.fail(kAttachTable, 1, Msg::NullCellAddress), false;
    }
    LevelRec& level = *levelOf(*cell);
    ObjectRec*& object = cell->formula->object;
    if (object == nullptr) {
        object = static_cast<ObjectRec*>(heapAllocate(level, 1, sizeof(ObjectRec), heapkind::kObject, err));
        if (err.failed()) return err.trace(kAttachTable), false;
    }
    if (object->table != table) freeTableDescriptor(level, object->table, err);
    object->table = table;
    return !err.failed();
}

TableDescriptor* CellStore::tableOf(const CellRec* cell) {
    if (cell == nullptr || !cell->isFormula() || cell->formula == nullptr || cell->formula->object == nullptr) {
        return nullptr;
    }
    return cell->formula->object->table;
}

ObjectRec* CellStore::copyObject(LevelRec& level, const ObjectRec* object, ErrStat& err) {
    err.enter();
    if (object == nullptr) return nullptr;
    auto* copy = static_cast<ObjectRec*>(heapAllocate(level, 1, sizeof(ObjectRec), heapkind::kObject, err));
    if (err.failed()) return nullptr;
    if (object->size > 0 && object->data != nullptr) {
        copy->data = static_cast<unsigned char*>(
            heapAllocate(level, static_cast<long>(object->size), 1, heapkind::kObject, err));
        if (err.failed()) {
            heapFree(level, copy, sizeof(ObjectRec), heapkind::kObject, err);
            return err.fail(kCopyObject, 4, WMsg::AllocationError), nullptr;
        }
        std::memcpy(copy->data, object->data, object->size);
        copy->size = object->size;
    }
    if (object->table != nullptr) {
        copy->table = copyTableDescriptor(*object->table, level, err);
        if (err.failed()) {
            ErrStat ignored;
            freeObject(level, copy, ignored);
            return err.trace(kCopyObject), nullptr;
        }
    }
    return copy;
}

void CellStore::freeObject(LevelRec& level, ObjectRec*& object, ErrStat& err) {
    err.enter();
    if (object == nullptr) return;
    freeTableDescriptor(level, object->table, err);
    if (object->data != nullptr) heapFree(level, object->data, object->size, heapkind::kObject, err);
    heapFree(level, object, sizeof(ObjectRec), heapkind::kObject, err);
    object = nullptr;
}

}  // namespace qx
