#include "core/circular.h"

#include <vector>

namespace qx {

namespace {

bool hasReferences(const CellRec& c) {
    return (c.isFormula() || c.isVariableLabel()) && c.formula != nullptr && c.formula->refCount > 0;
}

struct PathEntry {
    CellRec* cell;
    uint32_t remaining;  // references still to look at, taken from the last to the first
};

void setVisited(CellRec& c, bool on) {
    FormulaRec& f = *c.formula;
    f.flags = on ? (f.flags | formulaflag::kVisited) : (f.flags & ~formulaflag::kVisited);
}

}  // namespace

bool isCircular(CellRec& cell) {
    if (!hasReferences(cell)) return false;
    std::vector<PathEntry> path;
    std::vector<CellRec*> visited;
    path.push_back({&cell, cell.formula->refCount});
    cell.set(cellflag::kOnPath);
    bool cycle = false;
    while (!path.empty() && !cycle) {
        PathEntry& top = path.back();
        if (top.remaining == 0) {
            top.cell->set(cellflag::kOnPath, false);
            path.pop_back();
            continue;
        }
        CellRec* next = top.cell->formula->refs[--top.remaining];
        if (next == nullptr || next->isLabel() || next->isPlaceholder()) continue;
        if (next->has(cellflag::kOnPath)) {
            cycle = true;
            break;
        }
        if (!hasReferences(*next) || (next->formula->flags & formulaflag::kVisited)) continue;
        if (static_cast<int>(path.size()) >= kMaxCircularPath) break;
        next->set(cellflag::kOnPath);
        setVisited(*next, true);
        visited.push_back(next);
        path.push_back({next, next->formula->refCount});
    }
    for (PathEntry& e : path) e.cell->set(cellflag::kOnPath, false);
    for (CellRec* c : visited) setVisited(*c, false);
    return cycle;
}

}  // namespace qx
