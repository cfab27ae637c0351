#pragma once
// What the object-making functions share: the NULL-form test, reading a whole list of numbers, and
// writing an object into the calling cell's Array Area.
#include <span>
#include <string_view>
#include <vector>

#include "core/cell_records.h"
#include "core/err_stat.h"
#include "core/object_kind.h"

namespace qx {

class FunctionCall;

// An @-call with an empty argument list ("@Table()", "@Matrix ( )"): its data are whatever its array holds.
bool isNullForm(std::string_view formulaText);

// Every numeric argument up to the call's ')'; "()" gives none. Bounded by what a formula can hold.
bool allArguments(FunctionCall& call, std::vector<double>& values, ErrStat& err);

// The calling cell, which must be a Formula ("accessing an empty cell" otherwise).
CellRec* callingFormula(FunctionCall& call, Origin origin, ErrStat& err);

// Marks the cell an object of `kind`; its Array Area is left as it is.
void setObjectKind(CellRec& cell, ObjectKind kind);

// A grid object from "rows, columns, element 1 .. element rows x columns": the Array Area becomes
// N, rows, columns, elements. A count that does not fit, or fewer than `fewestNumbers`, is "wrong number
// or type of parameters".
bool storeGrid(FunctionCall& call, CellRec& cell, ObjectKind kind, const std::vector<double>& args,
               std::size_t fewestNumbers, Origin origin, ErrStat& err);

// The calling cell made a grid object of `kind`: with no arguments it is only marked (its array is
// kept), with numbers it is built as storeGrid does, and a failed build releases its old array.
// Null when there is no calling formula or its arguments cannot be read; `rebuilt` tells whether
// numbers were given.
CellRec* makeGridObject(FunctionCall& call, ObjectKind kind, std::size_t fewestNumbers, Origin origin, bool& rebuilt,
                        ErrStat& err);

// Rows and columns of a grid Array Area (table or matrix) that is laid out consistently; false otherwise.
bool gridShape(const FormulaRec& formula, int& rows, int& columns);

// Element (row, column) of a grid, both from 1; 0 outside the grid or beyond the count.
double gridValue(const FormulaRec& formula, int row, int column);

}  // namespace qx
