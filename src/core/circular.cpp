#include "core/circular.h"

#include <algorithm>
#include <cstdint>
#include <vector>

#include "core/row_cursor.h"

namespace qx {

namespace {

bool hasReferences(const CellRec& c) {
    return c.formulaLike() && c.formula->refCount > 0;
}

struct PathEntry {
    CellRec* cell;
    uint32_t remaining;  // references still to look at, taken from the last to the first
};

void setVisited(CellRec& c, bool on) {
    FormulaRec& f = *c.formula;
    f.flags = on ? (f.flags | formulaflag::kVisited) : (f.flags & ~formulaflag::kVisited);
}

// The formula cells with references of one level, in (row, column) order, and their reference graph.
class ReferenceGraph {
  public:
    explicit ReferenceGraph(LevelRec& level) {
        for (LevelCursor at(level); !at.done(); at.advance()) {
            if (hasReferences(*at.get())) m_nodes.push_back(at.get());
        }
    }

    std::size_t size() const { return m_nodes.size(); }
    CellRec* cell(std::size_t v) const { return m_nodes[v]; }
    uint32_t edgeCount(std::size_t v) const { return m_nodes[v]->formula->refCount; }

    // The node a reference leads to, or -1 when it leads to a cell the test passes over.
    int64_t target(std::size_t v, uint32_t k) const {
        const CellRec* ref = m_nodes[v]->formula->refs[k];
        if (ref == nullptr || !hasReferences(*ref)) return -1;
        auto it = std::lower_bound(m_nodes.begin(), m_nodes.end(), ref, [](const CellRec* a, const CellRec* b) {
            return a->row != b->row ? a->row < b->row : a->col < b->col;
        });
        if (it == m_nodes.end() || *it != ref) return -1;
        return it - m_nodes.begin();
    }

  private:
    std::vector<CellRec*> m_nodes;
};

// Tarjan's components, iteratively; a node is circular when its component is a cycle or
// reaches one. Components complete after everything they reach, so one pass suffices.
std::vector<bool> reachesCycle(const ReferenceGraph& g) {
    const std::size_t n = g.size();
    constexpr int64_t kUnseen = -1;
    std::vector<int64_t> index(n, kUnseen), low(n, 0), component(n, kUnseen);
    std::vector<bool> onStack(n, false), componentCircular;
    std::vector<std::size_t> stack;
    struct Frame {
        std::size_t v;
        uint32_t next;
    };
    std::vector<Frame> calls;
    int64_t counter = 0;
    for (std::size_t root = 0; root < n; ++root) {
        if (index[root] != kUnseen) continue;
        calls.push_back({root, 0});
        index[root] = low[root] = counter++;
        stack.push_back(root);
        onStack[root] = true;
        while (!calls.empty()) {
            Frame& f = calls.back();
            const std::size_t v = f.v;
            if (f.next < g.edgeCount(v)) {
                const int64_t w = g.target(v, f.next++);
                if (w < 0) continue;
                const auto wi = static_cast<std::size_t>(w);
                if (index[wi] == kUnseen) {
                    index[wi] = low[wi] = counter++;
                    stack.push_back(wi);
                    onStack[wi] = true;
                    calls.push_back({wi, 0});
                } else if (onStack[wi]) {
                    low[v] = std::min(low[v], index[wi]);
                }
                continue;
            }
            calls.pop_back();
            if (!calls.empty()) low[calls.back().v] = std::min(low[calls.back().v], low[v]);
            if (low[v] != index[v]) continue;
            const auto id = static_cast<int64_t>(componentCircular.size());
            const std::size_t first =
                static_cast<std::size_t>(std::find(stack.rbegin(), stack.rend(), v).base() - stack.begin()) - 1;
            bool circular = stack.size() - first > 1;
            for (std::size_t i = first; i < stack.size(); ++i) {
                component[stack[i]] = id;
                onStack[stack[i]] = false;
            }
            for (std::size_t i = first; i < stack.size() && !circular; ++i) {
                for (uint32_t k = 0; k < g.edgeCount(stack[i]) && !circular; ++k) {
                    const int64_t w = g.target(stack[i], k);
                    if (w < 0) continue;
                    const int64_t c = component[static_cast<std::size_t>(w)];
                    circular = c == id || componentCircular[static_cast<std::size_t>(c)];
                }
            }
            componentCircular.push_back(circular);
            stack.resize(first);
        }
    }
    std::vector<bool> result(n);
    for (std::size_t v = 0; v < n; ++v) result[v] = componentCircular[static_cast<std::size_t>(component[v])];
    return result;
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

CircularCells::CircularCells(LevelRec& level) {
    const ReferenceGraph graph(level);
    const std::vector<bool> answers = reachesCycle(graph);
    // Below the path limit no search can be cut short, so the components answer exactly; above it
    // a cut-short search says "not circular", which only the search itself can tell.
    const bool exact = graph.size() <= static_cast<std::size_t>(kMaxCircularPath);
    for (std::size_t v = 0; v < graph.size(); ++v) {
        if (answers[v] && (exact || isCircular(*graph.cell(v)))) m_circular.push_back(graph.cell(v));
    }
    std::sort(m_circular.begin(), m_circular.end());
}

bool CircularCells::circular(const CellRec& cell) const {
    return std::binary_search(m_circular.begin(), m_circular.end(), &cell);
}

}  // namespace qx
