#include "objects/table_operations.h"

#include <algorithm>
#include <cmath>
#include <numeric>
#include <string>
#include <vector>

#include "core/cell_store.h"
#include "core/formula_flags.h"
#include "core/table_descriptor.h"
#include "functions/object_values.h"
#include "objects/capture_buffer.h"
#include "objects/capture_cells.h"
#include "objects/origins.h"

namespace qx {

namespace {

using namespace origins::objects;

// A table's numbers as a grid, row by row, taken out of the Array Area and put back whole.
struct Grid {
    int rows = 0;
    int cols = 0;
    std::vector<double> values;

    double at(int r, int c) const { return values[static_cast<std::size_t>(r * cols + c)]; }
    std::vector<double> area() const {
        std::vector<double> out{static_cast<double>(rows) * cols + 2, static_cast<double>(rows),
                                static_cast<double>(cols)};
        out.insert(out.end(), values.begin(), values.end());
        return out;
    }
};

TableDescriptor* descriptorOf(CellRec& cell) {
    return cell.formula->object != nullptr ? cell.formula->object->table : nullptr;
}

bool readGrid(CellRec* cell, Origin origin, Grid& grid, ErrStat& err) {
    if (!isNullTable(cell)) return err.fail(origin, 1, WMsg::NotNullTable);
    if (!gridShape(*cell->formula, grid.rows, grid.cols)) return err.fail(origin, 2, WMsg::TableNotSetUp);
    const double* a = cell->formula->array;
    grid.values.assign(a + 3, a + 3 + static_cast<std::ptrdiff_t>(grid.rows) * grid.cols);
    return true;
}

bool writeArea(CellStore& store, CellRec& cell, const std::vector<double>& area, Origin origin, ErrStat& err) {
    const int n = static_cast<int>(area.size()) - 1;
    store.setArraySize(&cell, n, err);
    if (!err.failed()) store.setArrayElements(&cell, area.data() + 1, 0, n - 1, err);
    if (err.failed())
        return err.fail(origin, 3, err.is(Msg::OutOfMemory) ? WMsg::AllocationError : WMsg::TableTooLarge);
    return true;
}

void markChanged(CellStore& store, CellRec& cell) {
    if (LevelRec* level = store.levelOf(cell)) level->changed = true;
    store.scratch().repaintPending = true;
}

// The new grid replaces the array; then the descriptor follows, or the old array comes back.
template <class Follow>
bool replaceGrid(CellStore& store, CellRec& cell, const Grid& before, const Grid& after, Origin origin, Follow follow,
                 ErrStat& err) {
    if (!writeArea(store, cell, after.area(), origin, err)) return false;
    TableDescriptor* table = descriptorOf(cell);
    if (table != nullptr && !follow(*store.levelOf(cell), *table, err)) {
        ErrStat ignored;
        writeArea(store, cell, before.area(), origin, ignored);
        return err.fail(
            origin, 4,
            err.is(WMsg::AllocationError) || err.is(Msg::OutOfMemory) ? WMsg::AllocationError : WMsg::TableNotSetUp);
    }
    markChanged(store, cell);
    return true;
}

bool invert(CellStore& store, CellRec* cell, ErrStat& err) {
    Grid g;
    if (!readGrid(cell, kInvert, g, err)) return false;
    Grid t{g.cols, g.rows, {}};
    t.values.reserve(g.values.size());
    for (int r = 0; r < t.rows; ++r) {
        for (int c = 0; c < t.cols; ++c) t.values.push_back(g.at(c, r));
    }
    return replaceGrid(
        store, *cell, g, t, kInvert,
        [](LevelRec& level, TableDescriptor& table, ErrStat& e) { return transposeTable(level, table, e); }, err);
}

bool swapColumns(CellStore& store, CellRec* cell, int a, int b, ErrStat& err) {
    Grid g;
    if (!readGrid(cell, kSwapColumns, g, err)) return false;
    if (a < 1 || a > g.cols || b < 1 || b > g.cols || a == b || g.values.empty()) {
        return err.fail(kSwapColumns, 5, WMsg::TableTooLarge);
    }
    Grid s = g;
    for (int r = 0; r < g.rows; ++r) {
        std::swap(s.values[static_cast<std::size_t>(r * g.cols + a - 1)],
                  s.values[static_cast<std::size_t>(r * g.cols + b - 1)]);
    }
    return replaceGrid(
        store, *cell, g, s, kSwapColumns,
        [a, b](LevelRec&, TableDescriptor& table, ErrStat&) { return swapTableColumns(table, a, b); }, err);
}

// Keeps the cells for which `keep(row, column)` holds; the result must still hold a value.
template <class Keep>
Grid without(const Grid& g, int rows, int cols, Keep keep) {
    Grid out{rows, cols, {}};
    for (int r = 0; r < g.rows; ++r) {
        for (int c = 0; c < g.cols; ++c) {
            if (keep(r, c)) out.values.push_back(g.at(r, c));
        }
    }
    return out;
}

bool removeColumn(CellStore& store, CellRec* cell, int k, ErrStat& err) {
    Grid g;
    if (!readGrid(cell, kRemoveColumn, g, err)) return false;
    if (k < 1 || k > g.cols || g.cols < 2 || g.rows < 1) return err.fail(kRemoveColumn, 5, WMsg::TableTooLarge);
    const Grid out = without(g, g.rows, g.cols - 1, [k](int, int c) { return c != k - 1; });
    return replaceGrid(
        store, *cell, g, out, kRemoveColumn,
        [k](LevelRec& level, TableDescriptor& table, ErrStat& e) { return removeTableColumn(level, table, k, e); },
        err);
}

bool removeRow(CellStore& store, CellRec* cell, int k, ErrStat& err) {
    Grid g;
    if (!readGrid(cell, kRemoveRow, g, err)) return false;
    if (k < 1 || k > g.rows || g.rows < 2 || g.cols < 1) return err.fail(kRemoveRow, 5, WMsg::TableTooLarge);
    const Grid out = without(g, g.rows - 1, g.cols, [k](int r, int) { return r != k - 1; });
    return replaceGrid(
        store, *cell, g, out, kRemoveRow,
        [k](LevelRec& level, TableDescriptor& table, ErrStat& e) { return removeTableRow(level, table, k, e); }, err);
}

std::vector<int> sortedOrder(const Grid& g, std::span<const SortKey> keys) {
    std::vector<int> order(static_cast<std::size_t>(g.rows));
    std::iota(order.begin(), order.end(), 0);
    std::stable_sort(order.begin(), order.end(), [&](int x, int y) {
        for (const SortKey& k : keys) {
            const double a = g.at(x, k.column - 1);
            const double b = g.at(y, k.column - 1);
            if (a != b) return k.descending ? a > b : a < b;
        }
        return false;
    });
    return order;
}

bool moveRowNames(LevelRec& level, TableDescriptor& table, const std::vector<int>& order, ErrStat& err) {
    if (table.rowCount != order.size()) return table.rowCount == 0;
    std::vector<std::string> names;
    for (int r : order) names.emplace_back(rowName(table, r + 1));
    for (std::size_t i = 0; i < names.size(); ++i) {
        if (!setRowName(level, table, static_cast<int>(i) + 1, names[i], err)) return false;
    }
    return true;
}

bool sortRows(CellStore& store, CellRec* cell, std::span<const SortKey> keys, ErrStat& err) {
    Grid g;
    if (!readGrid(cell, kSort, g, err)) return false;
    const bool usable = !keys.empty() && std::all_of(keys.begin(), keys.end(), [&](const SortKey& k) {
        return k.column >= 1 && k.column <= g.cols;
    });
    if (!usable || g.values.empty()) return err.fail(kSort, 5, WMsg::CannotComplete);
    const std::vector<int> order = sortedOrder(g, keys);
    Grid s{g.rows, g.cols, {}};
    for (int r : order) {
        for (int c = 0; c < g.cols; ++c) s.values.push_back(g.at(r, c));
    }
    const bool ok = replaceGrid(
        store, *cell, g, s, kSort,
        [&order](LevelRec& level, TableDescriptor& table, ErrStat& e) { return moveRowNames(level, table, order, e); },
        err);
    if (!ok && !err.is(WMsg::NotNullTable)) err.code = codeOf(WMsg::CannotComplete);
    return ok;
}

bool setValue(CellStore& store, CellRec* cell, int row, int column, double value, ErrStat& err) {
    Grid g;
    if (!readGrid(cell, kSetValue, g, err)) return false;
    if (row < 1 || row > g.rows || column < 1 || column > g.cols) return err.fail(kSetValue, 5, WMsg::TableTooLarge);
    // An infinity or NaN would spread into every formula that reads the table.
    if (!std::isfinite(value)) return err.fail(kSetValue, 6, WMsg::CannotComplete);
    // One element changes in place: the array keeps its size, so nothing is reallocated.
    cell->formula->array[3 + static_cast<std::ptrdiff_t>(row - 1) * g.cols + (column - 1)] = value;
    markChanged(store, *cell);
    return true;
}

}  // namespace

bool isNullTable(const CellRec* cell) {
    return objectKindOf(cell) == ObjectKind::Table && cell->formula->array != nullptr && isNullForm(cell->textView());
}

bool invertTable(CellStore& store, CellRec* cell, ErrStat& err) {
    err.enter();
    return memoryGuarded(err, kInvert, WMsg::AllocationError, [&] { return invert(store, cell, err); });
}

bool swapColumnsOfTable(CellStore& store, CellRec* cell, int a, int b, ErrStat& err) {
    err.enter();
    return memoryGuarded(err, kSwapColumns, WMsg::AllocationError, [&] { return swapColumns(store, cell, a, b, err); });
}

bool removeColumnOfTable(CellStore& store, CellRec* cell, int column, ErrStat& err) {
    err.enter();
    return memoryGuarded(err, kRemoveColumn, WMsg::AllocationError,
                         [&] { return removeColumn(store, cell, column, err); });
}

bool removeRowOfTable(CellStore& store, CellRec* cell, int row, ErrStat& err) {
    err.enter();
    return memoryGuarded(err, kRemoveRow, WMsg::AllocationError, [&] { return removeRow(store, cell, row, err); });
}

bool sortTableRows(CellStore& store, CellRec* cell, std::span<const SortKey> keys, ErrStat& err) {
    err.enter();
    return memoryGuarded(err, kSort, WMsg::AllocationError, [&] { return sortRows(store, cell, keys, err); });
}

bool setTableValue(CellStore& store, CellRec* cell, int row, int column, double value, ErrStat& err) {
    err.enter();
    return setValue(store, cell, row, column, value, err);
}

}  // namespace qx
