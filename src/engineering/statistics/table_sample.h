#pragma once
// Reading the statistics functions' first arguments: a table cell and the columns of it they work on.
#include <cstdint>
#include <span>
#include <vector>

#include "core/err_stat.h"

namespace qx {

class FunctionCall;
struct FormulaRec;

// What a table statistic reads besides the table: nothing, one column, two columns, or a column and a
// confidence coefficient.
enum class SampleShape { Table, Column, TwoColumns, ColumnAndCoefficient };

struct Sample {
    int rows = 0;
    std::vector<double> x;  // the (first) column's values: y for the regression family
    std::vector<double> y;  // the second column's values, when the shape has one
    double coefficient = 0.0;
};

// Reads the whole argument list of a statistics call. The first argument must be a table cell with a
// consistent Array Area of at least one row and one column; columns count from 1 (the sign is dropped)
// and one that is not there is "Incomplete object".
bool readSample(FunctionCall& call, SampleShape shape, Origin origin, Sample& out, ErrStat& err);

}  // namespace qx
