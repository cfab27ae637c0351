// Consistency checks the tests run after every step.
#include <algorithm>
#include <string>
#include <unordered_map>
#include <unordered_set>
#include <vector>

#include "core/cell_store.h"
#include "core/dependents_index.h"
#include "core/slot.h"

namespace qx {

namespace {

std::string where(const CellRec& cell) {
    return "[" + std::to_string(cell.row) + "," + std::to_string(cell.col) + ",," + std::to_string(cell.level) + "]";
}

std::string checkRow(const LevelRec& level, int row, int number) {
    const CellRec* last = slot(level.rows, row);
    const CellRec* cell = last->next;
    for (int steps = 0;; ++steps) {
        if (cell == nullptr) return "row " + std::to_string(row) + " is not circular";
        if (cell->row != row || cell->level != number)
            return "cell " + where(*cell) + " sits in row " + std::to_string(row);
        if (cell == last) return {};
        if (steps > kMaxCol || cell->next->col <= cell->col) {
            return "row " + std::to_string(row) + " is not in ascending column order before its last cell";
        }
        cell = cell->next;
    }
}

}  // namespace

std::string CellStore::checkRows(int level) const {
    const LevelRec* rec = levelPtr(level);
    if (rec == nullptr) return "bad level";
    int highest = 0;
    for (int row = 1; row <= kMaxRow; ++row) {
        if (slot(rec->rows, row) == nullptr) continue;
        highest = row;
        if (std::string problem = checkRow(*rec, row, level); !problem.empty()) return problem;
    }
    if (rec->rows[0] != nullptr) return "row slot 0 is used";
    if (highest == 0) return rec->bottom == nullptr ? std::string() : "empty level has a bottom cell";
    if (rec->bottom != slot(rec->rows, highest))
        return "bottom cell is not the last cell of row " + std::to_string(highest);
    return {};
}

std::string CellStore::checkDependents(int level) const {
    const LevelRec* rec = levelPtr(level);
    if (rec == nullptr) return "bad level";
    std::unordered_set<const CellRec*> live;
    std::unordered_map<const CellRec*, std::vector<CellRec*>> expected;
    for (LevelCursor at(*rec); !at.done(); at.advance()) live.insert(at.get());
    for (LevelCursor at(*rec); !at.done(); at.advance()) {
        CellRec* cell = at.get();
        if (cell->formula == nullptr) continue;
        for (uint32_t i = 0; i < cell->formula->refCount; ++i) {
            const CellRec* target = cell->formula->refs[i];
            if (!live.contains(target)) return where(*cell) + " refers to a cell that is not in its level";
            expected[target].push_back(cell);
        }
    }
    for (const CellRec* cell : live) {
        std::vector<CellRec*> want = expected.contains(cell) ? expected[cell] : std::vector<CellRec*>{};
        if (cell->dependents != want.size()) {
            return where(*cell) + " counts " + std::to_string(cell->dependents) + " dependents, lists hold " +
                   std::to_string(want.size());
        }
        std::vector<CellRec*> have;
        if (cell->dependentsIndex != nullptr) {
            have.assign(cell->dependentsIndex->items(), cell->dependentsIndex->items() + cell->dependentsIndex->size);
        }
        std::sort(want.begin(), want.end(), dependentBefore);
        std::sort(have.begin(), have.end(), dependentBefore);
        if (have != want) return where(*cell) + " has a reverse index that differs from the reference lists";
    }
    return {};
}

}  // namespace qx
