// Coordinate geometry figures: a traverse evaluated 100,000 times through the evaluator and the registry,
// as recalculating a long traverse does.
#include <benchmark/benchmark.h>

#include <string>

#include "engineering_workbook.h"

namespace qx {
namespace {

using Workbook = EngineeringWorkbook;

constexpr int kEvaluations = 100000;

void evaluate(benchmark::State& state, const char* formula) {
    Workbook wb;
    wb.enter(1, 1, "@XY(1000,1000)");
    CellRec* cell = wb.enter(2, 1, formula);
    double sum = 0.0;
    for (auto _ : state) {
        for (int i = 0; i < kEvaluations; ++i) {
            ErrStat err;
            sum += wb.engine.evaluator().evaluateFormula(cell, cell->text, err);
        }
    }
    benchmark::DoNotOptimize(sum);
    state.SetItemsProcessed(state.iterations() * kEvaluations);
}

void traverseHundredThousand(benchmark::State& state) {
    evaluate(state, "@Traverse([1,1],3,1,126.1000,285.10,0)");
}
BENCHMARK(traverseHundredThousand)->Unit(benchmark::kMillisecond);

void curveHundredThousand(benchmark::State& state) {
    evaluate(state, "@CurveArc([1,1],261.8,500,1,2,60,0)");
}
BENCHMARK(curveHundredThousand)->Unit(benchmark::kMillisecond);

}  // namespace
}  // namespace qx
