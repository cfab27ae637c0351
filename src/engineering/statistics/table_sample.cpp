#include "engineering/statistics/table_sample.h"

#include <cmath>

#include "core/cell_records.h"
#include "core/formula_flags.h"
#include "engineering/statistics/origins.h"
#include "functions/argument_readers.h"
#include "functions/object_values.h"

namespace qx {

using namespace origins::statistics;

namespace {

const FormulaRec* tableArgument(FunctionCall& call, int& rows, int& columns, ErrStat& err) {
    const CellArgument arg = cellArgument(call, err);
    if (err.failed()) return err.trace(kStatTable), nullptr;
    const CellRec* cell = arg.cell;
    const bool formula = cell != nullptr && cell->isFormula() && cell->formula != nullptr;
    if (!formula || formulaflag::objectKind(cell->formula->flags) != ObjectKind::Table) {
        return callFailure(call, err, kStatTable, 1, Msg::IllegalReference), nullptr;
    }
    // A table whose own formula failed holds whatever its last good run left.
    if (cell->formula->errorMark()) return callFailure(call, err, kStatTable, 2, Msg::UndefinedCellOrBadValue), nullptr;
    if (!gridShape(*cell->formula, rows, columns) || rows < 1 || columns < 1) {
        return callFailure(call, err, kStatTable, 3, Msg::ObjectNotSetUp), nullptr;
    }
    return cell->formula;
}

bool columnValues(FunctionCall& call, const FormulaRec& table, int rows, int columns, double number,
                  std::vector<double>& out, ErrStat& err) {
    const double c = std::trunc(std::fabs(number));
    if (!(c >= 1.0 && c <= columns)) return callFailure(call, err, kStatColumn, 1, Msg::IncompleteObject), false;
    const int column = static_cast<int>(c);
    out.resize(static_cast<std::size_t>(rows));
    // Values lie row by row after the two sizes.
    const double* first = table.array + 3 + (column - 1);
    for (int r = 0; r < rows; ++r) out[static_cast<std::size_t>(r)] = first[static_cast<std::ptrdiff_t>(r) * columns];
    return true;
}

int numbersAfterTable(SampleShape shape) {
    switch (shape) {
        case SampleShape::Table:
            return 0;
        case SampleShape::Column:
            return 1;
        default:
            return 2;
    }
}

}  // namespace

bool readSample(FunctionCall& call, SampleShape shape, Origin origin, Sample& out, ErrStat& err) {
    err.enter();
    int columns = 0;
    const FormulaRec* table = tableArgument(call, out.rows, columns, err);
    if (table == nullptr) return err.trace(origin), false;
    const int count = numbersAfterTable(shape);
    double args[2] = {};
    if (count == 0) {
        if (!requireEnd(call, Msg::WrongParameters, err)) return err.trace(origin), false;
        return true;
    }
    if (!exactArguments(call, args, count, err)) return err.trace(origin), false;
    if (!columnValues(call, *table, out.rows, columns, args[0], out.x, err)) return err.trace(origin), false;
    if (shape == SampleShape::TwoColumns && !columnValues(call, *table, out.rows, columns, args[1], out.y, err)) {
        return err.trace(origin), false;
    }
    if (shape == SampleShape::ColumnAndCoefficient) out.coefficient = args[1];
    return true;
}

}  // namespace qx
