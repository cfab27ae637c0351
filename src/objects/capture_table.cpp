// Capturing a table from a selection: four corner cells choose one of eight layouts of names and data.
#include <array>

#include "core/attributes.h"
#include "core/cell_store.h"
#include "objects/capture_buffer.h"
#include "objects/capture_cells.h"
#include "objects/origins.h"

namespace qx {

using namespace origins::objects;

namespace {

constexpr int kMaxName = 254;

enum class Shape { OneRow, OneColumn, Grid };
enum class Want { Formula, Label, Missing, Any };

struct LayoutRule {
    Shape shape;
    std::array<Want, 4> corners;  // top-left, top-right, below, below-right
    int layout;
};

constexpr Want F = Want::Formula;
constexpr Want L = Want::Label;
constexpr Want M = Want::Missing;
constexpr Want X = Want::Any;

// The first rule that matches wins.
constexpr std::array kRules = std::to_array<LayoutRule>({
    {Shape::OneRow, {F, F, X, X}, 1},
    {Shape::OneRow, {L, F, X, X}, 3},
    {Shape::OneColumn, {F, X, F, X}, 1},
    {Shape::OneColumn, {L, X, F, X}, 2},
    {Shape::Grid, {F, F, F, X}, 1},
    {Shape::Grid, {L, L, F, F}, 2},
    {Shape::Grid, {L, F, L, F}, 3},
    {Shape::Grid, {M, L, L, F}, 4},
    {Shape::Grid, {L, L, L, F}, 5},
    {Shape::Grid, {L, M, L, F}, 6},
    {Shape::Grid, {L, M, M, F}, 7},
    {Shape::Grid, {L, L, M, F}, 8},
});

// Where each layout finds its data block and its names.
struct LayoutPlan {
    int rowOffset;
    int colOffset;
    bool columnNames;
    bool rowNames;
    bool corner;
};

constexpr std::array<LayoutPlan, 9> kPlans = {{
    {0, 0, false, false, false},  // unused
    {0, 0, false, false, false},
    {1, 0, true, false, false},
    {0, 1, false, true, true},
    {1, 1, true, true, false},
    {1, 1, true, true, true},
    {1, 1, false, true, true},
    {1, 1, false, false, true},
    {1, 1, true, false, true},
}};

bool matches(Want want, CellClass c) {
    switch (want) {
        case Want::Formula:
            return c == CellClass::Formula;
        case Want::Label:
            return c == CellClass::Label;
        case Want::Missing:
            return c == CellClass::Missing;
        case Want::Any:
            return true;
    }
    return false;
}

int chooseLayout(const CellStore& store, int level, const CellArea& a) {
    const int rows = a.lastRow - a.firstRow + 1;
    const int cols = a.lastCol - a.firstCol + 1;
    const Shape shape = rows == 1 ? Shape::OneRow : (cols == 1 ? Shape::OneColumn : Shape::Grid);
    const std::array<CellClass, 4> seen = {
        classOf(cellAt(store, a.firstRow, a.firstCol, level)),
        cols > 1 ? classOf(cellAt(store, a.firstRow, a.firstCol + 1, level)) : CellClass::Missing,
        rows > 1 ? classOf(cellAt(store, a.firstRow + 1, a.firstCol, level)) : CellClass::Missing,
        rows > 1 && cols > 1 ? classOf(cellAt(store, a.firstRow + 1, a.firstCol + 1, level)) : CellClass::Missing,
    };
    for (const LayoutRule& rule : kRules) {
        if (rule.shape != shape) continue;
        bool all = true;
        for (std::size_t i = 0; i < 4; ++i) all = all && matches(rule.corners[i], seen[i]);
        if (all) return rule.layout;
    }
    return 0;
}

std::string nameAt(const CellStore& store, int row, int col, int level) {
    const CellRec* cell = cellAt(store, row, col, level);
    if (classOf(cell) != CellClass::Label) return {};
    return std::string(cell->textView().substr(0, kMaxName));
}

uint16_t precisionWord(int precision) {
    return static_cast<uint16_t>(precision >= 0 && precision < 16 ? precision : 0);
}

CapturedNames takeNames(const CellStore& store, int level, const CellArea& a, const LayoutPlan& plan, int rows,
                        int cols) {
    const int top = a.firstRow + plan.rowOffset;
    const int left = a.firstCol + plan.colOffset;
    const uint16_t fallback = precisionWord(store.levelPtr(level)->defaults.precision);
    CapturedNames n;
    n.columnNames.assign(static_cast<std::size_t>(cols) + 1, std::string());
    n.columnWords.assign(static_cast<std::size_t>(cols) + 1, fallback);
    n.columnWords[0] = static_cast<uint16_t>(cols);
    n.rowNames.assign(static_cast<std::size_t>(rows) + 1, std::string());
    if (plan.corner) n.rowNames[0] = nameAt(store, a.firstRow, a.firstCol, level);
    for (int j = 1; plan.columnNames && j <= cols; ++j) {
        n.columnNames[static_cast<std::size_t>(j)] = nameAt(store, a.firstRow, left + j - 1, level);
        const CellRec* first = cellAt(store, top, left + j - 1, level);
        n.columnWords[static_cast<std::size_t>(j)] =
            precisionWord(effectivePrecision(store, first, top, left + j - 1, level));
    }
    for (int i = 1; plan.rowNames && i <= rows; ++i) {
        n.rowNames[static_cast<std::size_t>(i)] = nameAt(store, top + i - 1, a.firstCol, level);
    }
    return n;
}

int fillTable(const CellStore& store, int level, const CellArea& a, int layout, CaptureBuffer& buffer, ErrStat& err) {
    const LayoutPlan& plan = kPlans[static_cast<std::size_t>(layout)];
    const int rows = a.lastRow - a.firstRow + 1 - plan.rowOffset;
    const int cols = a.lastCol - a.firstCol + 1 - plan.colOffset;
    const long count = static_cast<long>(rows) * cols + 2;
    if (count > kMaxArrayElements) return err.fail(kTableSelection, 8, Msg::ElementOutOfRange), 0;
    buffer.array.reserve(static_cast<std::size_t>(count) + 1);
    buffer.array = {static_cast<double>(count), static_cast<double>(rows), static_cast<double>(cols)};
    for (int r = 0; r < rows; ++r) {
        for (int c = 0; c < cols; ++c) {
            const int row = a.firstRow + plan.rowOffset + r;
            const int col = a.firstCol + plan.colOffset + c;
            buffer.array.push_back(dataValue(cellAt(store, row, col, level)));
        }
    }
    if (layout != 1) buffer.names = takeNames(store, level, a, plan, rows, cols);
    buffer.kind = ObjectKind::Table;
    buffer.ownerLevel = level;
    return layout;
}

int captureTableIn(const CellStore& store, int level, const CellArea& a, CaptureBuffer& buffer, ErrStat& err) {
    if (!checkSelection(store, level, a, kTableSelection, err)) return 0;
    if (a.firstRow == a.lastRow && a.firstCol == a.lastCol) {
        const CellRec* cell = cellAt(store, a.firstRow, a.firstCol, level);
        if (objectKindOf(cell) == ObjectKind::Table) {
            if (!captureCellObject(cell, buffer, err)) return err.trace(kTableSelection), 0;
            return 1;
        }
        // One cell is judged by itself: a Formula is a one-value table.
        if (classOf(cell) != CellClass::Formula) return err.fail(kTableSelection, 7, Msg::CannotInterpret), 0;
        return fillTable(store, level, a, 1, buffer, err);
    }
    const int layout = chooseLayout(store, level, a);
    if (layout == 0) return err.fail(kTableSelection, 7, Msg::CannotInterpret), 0;
    return fillTable(store, level, a, layout, buffer, err);
}

}  // namespace

int captureTable(const CellStore& store, int level, const CellArea& area, CaptureBuffer& buffer, ErrStat& err) {
    err.enter();
    buffer.clear();
    const int layout = memoryGuarded(err, kTableSelection, Msg::OutOfMemory,
                                     [&] { return captureTableIn(store, level, area, buffer, err); });
    if (layout == 0) buffer.clear();
    return layout;
}

}  // namespace qx
