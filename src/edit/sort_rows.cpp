#include "edit/sort_rows.h"
#include "edit/origins.h"

#include <algorithm>
#include <numeric>
#include <vector>

namespace qx {

using namespace sortrows;
using namespace origins::edit;

namespace {

int sign(int v) {
    return (v > 0) - (v < 0);
}

int compareAscending(const RowKey& c, const RowKey& p) {
    using Kind = RowKey::Kind;
    if (c.kind == Kind::Missing || p.kind == Kind::Missing) {
        return c.kind == p.kind ? 0 : (c.kind == Kind::Missing ? -1 : 1);
    }
    if (c.kind == Kind::Placeholder || p.kind == Kind::Placeholder) {
        // Mirrored both ways, so the order stays strict and weak.
        return c.kind == p.kind ? 0 : (c.kind == Kind::Placeholder ? -1 : 1);
    }
    if (c.kind != p.kind) return c.kind == Kind::Label ? 1 : -1;
    if (c.kind == Kind::Label) return sign(c.text.compare(p.text));
    return c.value < p.value ? -1 : (c.value > p.value ? 1 : 0);
}

// Moves the block's cells of each row to the row the order gives it. All of them are unlinked
// first, so every target place is free when its cells arrive.
void moveRows(CellStore& store, int level, const CellArea& block, const std::vector<int>& order, ErrStat& err) {
    LevelRec& rec = *store.levelPtr(level);
    std::vector<std::vector<CellRec*>> rows(order.size());
    for (std::size_t i = 0; i < order.size(); ++i) {
        const int row = block.firstRow + static_cast<int>(i);
        for (CellRec* cell : RowCells{rec.rows[static_cast<std::size_t>(row)]}) {
            if (cell->col > block.lastCol) break;
            if (cell->col >= block.firstCol) rows[i].push_back(cell);
        }
    }
    for (const auto& cells : rows) {
        for (CellRec* cell : cells) {
            store.unlinkCell(cell, err);
            if (err.failed()) return err.trace(kMoveRows);
        }
    }
    for (std::size_t i = 0; i < order.size(); ++i) {
        const int row = block.firstRow + static_cast<int>(i);
        for (CellRec* cell : rows[static_cast<std::size_t>(order[i])]) {
            store.placeUnlinked(cell, row, cell->col, err);
            if (err.failed()) return err.trace(kMoveRows);
        }
    }
}

}  // namespace

RowKey rowKey(CellStore& store, int level, int row, int column) {
    ErrStat ignored;
    const CellRec* cell = store.findCell(row, column, level, ignored);
    RowKey key;
    if (cell == nullptr) return key;
    if (cell->isPlaceholder()) {
        key.kind = RowKey::Kind::Placeholder;
    } else if (cell->isFormula()) {
        key.kind = RowKey::Kind::Formula;
        const FormulaRec* f = cell->formula;
        key.value = f == nullptr || f->errorMark() ? 0.0 : f->value;
    } else {
        key.kind = RowKey::Kind::Label;
        key.text =
            cell->isVariableLabel() ? store.hooks().formulaText(store, *cell, 0, 0, 0) : std::string(cell->textView());
    }
    return key;
}

int CompareRow(const RowKey& row, const RowKey& pivot, bool ascending) {
    const int r = compareAscending(row, pivot);
    return ascending ? r : -r;
}

void SortRows(CellStore& store, int level, const CellArea& block, std::span<const RowSortKey> keys, ErrStat& err) {
    err.enter();
    if (!store.worksheetLevel(level)) return void(err.fail(kSortRows, 1, Msg::LevelOutOfRange));
    if (block.firstRow < 1 || block.lastRow > kMaxRow) return void(err.fail(kSortRows, 2, Msg::RowOutOfRange));
    if (block.firstCol < 1 || block.lastCol > kMaxCol) return void(err.fail(kSortRows, 3, Msg::ColumnOutOfRange));
    if (keys.empty() || keys.size() > kMaxKeys) return void(err.fail(kSortRows, 4, Msg::OutOfRange));
    for (const RowSortKey& k : keys) {
        if (k.column < 1 || k.column > kMaxCol) return void(err.fail(kSortRows, 5, Msg::ColumnOutOfRange));
    }
    if (block.lastRow <= block.firstRow) return;
    const auto count = static_cast<std::size_t>(block.lastRow - block.firstRow + 1);
    std::vector<std::vector<RowKey>> table(keys.size(), std::vector<RowKey>(count));
    for (std::size_t k = 0; k < keys.size(); ++k) {
        for (std::size_t i = 0; i < count; ++i) {
            table[k][i] = rowKey(store, level, block.firstRow + static_cast<int>(i), keys[k].column);
        }
    }
    // Sorting indexes on the keys taken once keeps the time n log n whatever the input order.
    std::vector<int> order(count);
    std::iota(order.begin(), order.end(), 0);
    std::sort(order.begin(), order.end(), [&](int a, int b) {
        for (std::size_t k = 0; k < keys.size(); ++k) {
            const int r = CompareRow(table[k][static_cast<std::size_t>(a)], table[k][static_cast<std::size_t>(b)],
                                     keys[k].ascending);
            if (r != 0) return r < 0;
        }
        return false;
    });
    if (std::is_sorted(order.begin(), order.end())) return;
    moveRows(store, level, block, order, err);
    if (err.failed()) return err.trace(kSortRows);
    store.levelPtr(level)->changed = true;
    store.scratch().repaintPending = true;
}

}  // namespace qx
