// Tables: the table object itself and reading its size and values from other formulas.
#include <vector>

#include "core/cell_store.h"
#include "core/formula_flags.h"
#include "core/numeric.h"
#include "core/table_descriptor.h"
#include "functions/argument_readers.h"
#include "functions/families.h"
#include "functions/object_values.h"
#include "functions/origins.h"

namespace qx {

using namespace origins::functions;

namespace {

// Names that no longer fit the computed shape are dropped rather than shown against other columns.
void dropStaleDescriptor(CellStore& store, CellRec& cell) {
    ObjectRec* object = cell.formula->object;
    if (object == nullptr || object->table == nullptr) return;
    int rows = 0;
    int columns = 0;
    if (gridShape(*cell.formula, rows, columns) && object->table->rowCount == rows &&
        object->table->columnCount == columns) {
        return;
    }
    ErrStat ignored;
    if (LevelRec* level = store.levelOf(cell)) freeTableDescriptor(*level, object->table, ignored);
}

// The table (or matrix) cell named by the first argument, with a consistent grid.
const FormulaRec* gridArgument(FunctionCall& call, int& rows, int& columns, ErrStat& err) {
    const CellArgument arg = cellArgument(call, err);
    if (err.failed()) return err.trace(kReadTable), nullptr;
    const CellRec* cell = arg.cell;
    const bool object = cell != nullptr && cell->isFormula() && cell->formula != nullptr;
    const ObjectKind kind = object ? formulaflag::objectKind(cell->formula->flags) : ObjectKind::Number;
    if ((kind != ObjectKind::Table && kind != ObjectKind::Matrix) || !gridShape(*cell->formula, rows, columns)) {
        return callFailure(call, err, kReadTable, 1, Msg::ObjectNotSetUp), nullptr;
    }
    return cell->formula;
}

double tableDimension(FunctionCall& call, bool wantRows, ErrStat& err) {
    err.enter();
    int rows = 0;
    int columns = 0;
    if (gridArgument(call, rows, columns, err) == nullptr) return 0.0;
    if (!requireEnd(call, Msg::WrongParameters, err)) return err.trace(kReadTable), 0.0;
    return wantRows ? rows : columns;
}

}  // namespace

// "@Table()" keeps whatever the cell's array and descriptor hold; with numbers it is built like a matrix.
double fnTable(FunctionCall& call, ErrStat& err) {
    bool rebuilt = false;
    CellRec* cell = makeGridObject(call, ObjectKind::Table, 3, kMakeTable, rebuilt, err);
    // Names only fit the grid they were made for.
    if (cell != nullptr && rebuilt) dropStaleDescriptor(call.services().store, *cell);
    return 0.0;
}

double fnTableCols(FunctionCall& call, ErrStat& err) {
    return tableDimension(call, false, err);
}

double fnTableRows(FunctionCall& call, ErrStat& err) {
    return tableDimension(call, true, err);
}

double fnTableValue(FunctionCall& call, ErrStat& err) {
    err.enter();
    int rows = 0;
    int columns = 0;
    const FormulaRec* grid = gridArgument(call, rows, columns, err);
    if (grid == nullptr) return 0.0;
    double at[2] = {0.0, 0.0};
    for (double& v : at) {
        v = numericArgument(call, err);
        if (err.failed()) return err.trace(kReadTable), 0.0;
    }
    if (!requireEnd(call, Msg::WrongParameters, err)) return err.trace(kReadTable), 0.0;
    return gridValue(*grid, toInt32(at[0]), toInt32(at[1]));
}

namespace {

constexpr FunctionEntry kTableTable[] = {
    {"@Table", 0, "@Table ( <rows, columns, value1, ...> )", fnTable},
    {"TableCols", 0, "TableCols ( [cell] )", fnTableCols},
    {"TableRows", 0, "TableRows ( [cell] )", fnTableRows},
    {"TableValue", 0, "TableValue ( [cell], row, column )", fnTableValue},
};

}  // namespace

std::span<const FunctionEntry> tableFamily() {
    return kTableTable;
}

}  // namespace qx
