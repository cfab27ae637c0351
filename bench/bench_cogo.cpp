// Coordinate geometry figures: a traverse evaluated 100,000 times through the evaluator and the registry,
// as recalculating a long traverse does.
#include <benchmark/benchmark.h>

#include <string>

#include "core/cell_store.h"
#include "core/scratch_record.h"
#include "engineering/engineering_families.h"
#include "formula/formula_engine.h"
#include "functions/function_registry.h"
#include "recalc/recalc.h"

namespace qx {
namespace {

struct Workbook {
    ScratchRecord scratch;
    CellStore store{33, LevelDefaults{}, "", scratch};
    FormulaEngine engine{store};
    ChainRecalculator recalc{engine};
    FunctionRegistry registry{FunctionServices{store, engine.entry(), nullptr}};

    Workbook() {
        installEngineeringFamilies(registry);
        engine.evaluator().setDispatcher(&registry);
    }

    CellRec* enter(int row, int col, const std::string& text) {
        ErrStat err;
        return engine.entry().storeEntry(text, row, col, 1, EntryOptions{}, err).cell;
    }
};

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
