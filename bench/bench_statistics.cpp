// Statistics figures: table statistics and a regression with its analysis of variance over the largest
// tables an Array Area holds (one column of 8,189 rows, two of 4,094), each evaluated through the
// evaluator and the registry as a recalculation does.
#include <benchmark/benchmark.h>

#include <cmath>
#include <string>

#include "core/cell_heap.h"
#include "engineering_workbook.h"

namespace qx {
namespace {

struct Workbook : EngineeringWorkbook {
    // A NULL-form table keeps whatever its Array Area holds: the largest one of `columns` columns, with
    // y = 3x + noise in column 1 and x = the row in column 2.
    void fillTable(int columns) {
        const int rows = (kMaxArrayElements - 2) / columns;
        CellRec* table = enter(1, 1, "@Table()");
        ErrStat err;
        double* a = heapArray(*store.levelOf(*table), 2 + rows * columns, err);
        a[1] = rows;
        a[2] = columns;
        for (int r = 0; r < rows; ++r) {
            double* row = a + 3 + static_cast<std::ptrdiff_t>(r) * columns;
            row[0] = 3.0 * r + 1000.0 + std::sin(r);
            if (columns > 1) row[1] = r;
        }
        table->formula->array = a;
    }
};

void evaluate(benchmark::State& state, int columns, const std::string& formulas) {
    Workbook wb;
    wb.fillTable(columns);
    CellRec* cell = wb.enter(2, 1, formulas);
    double sum = 0.0;
    for (auto _ : state) {
        ErrStat err;
        sum += wb.engine.evaluator().evaluateFormula(cell, cell->text, err);
        if (err.failed()) state.SkipWithError(("the formula failed with code " + std::to_string(err.code)).c_str());
    }
    benchmark::DoNotOptimize(sum);
}

#define QX_TABLE_STATISTIC(name, columns, formula) \
    void name(benchmark::State& state) {           \
        evaluate(state, columns, formula);         \
    }                                              \
    BENCHMARK(name)->Unit(benchmark::kMicrosecond);

QX_TABLE_STATISTIC(mean, 1, "+Mean([1,1],1)")
QX_TABLE_STATISTIC(variance, 1, "+var([1,1],1)")
QX_TABLE_STATISTIC(median, 1, "+Median([1,1],1)")
QX_TABLE_STATISTIC(thirdQuartile, 1, "+Q3([1,1],1)")
QX_TABLE_STATISTIC(trimmedMean, 1, "+MeanTrim([1,1],1)")
QX_TABLE_STATISTIC(skew, 1, "+Skew([1,1],1)")
QX_TABLE_STATISTIC(medianInterval, 1, "+CIMedianU([1,1],1,0.95)")
QX_TABLE_STATISTIC(stdDevInterval, 1, "+CIStdDevU([1,1],1,0.95)")
QX_TABLE_STATISTIC(meanInterval, 1, "+CIMeanU([1,1],1,0.95)")
QX_TABLE_STATISTIC(slopePValue, 2, "+pSlope([1,1],1,2)")
// The regression with its analysis of variance, as a report computes it.
QX_TABLE_STATISTIC(regressionWithAnova, 2,
                   "+Slope([1,1],1,2)+Intercept([1,1],1,2)+SSY([1,1],1)+SSE([1,1],1,2)+SSR([1,1],1,2)"
                   "+MSE([1,1],1,2)+FTS([1,1],1,2)+seSlope([1,1],1,2)+tSlope([1,1],1,2)+pSlope([1,1],1,2)")

}  // namespace
}  // namespace qx
