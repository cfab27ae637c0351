// The formula language's figures: evaluating a compiled formula, entering many formulas, and a Range
// Operation over a full column.
#include <benchmark/benchmark.h>

#include <climits>
#include <memory>
#include <string>
#if defined(__GLIBC__)
#include <malloc.h>
#endif

#include "core/cell_store.h"
#include "core/scratch_record.h"
#include "formula/formula_engine.h"
#include "recalc/recalc.h"

namespace qx {
namespace {

constexpr const char* kFormula = "+[1,1]*2+[1,2]/3-4";

struct Workbook {
    ScratchRecord scratch;
    CellStore store{33, LevelDefaults{}, "", scratch};
    FormulaEngine engine{store};
    ChainRecalculator recalc{engine};

    CellRec* enter(int row, int col, const std::string& text) {
        ErrStat err;
        return engine.entry().storeEntry(text, row, col, 1, EntryOptions{}, err).cell;
    }
};

void evaluateCompiled(benchmark::State& state) {
    Workbook wb;
    wb.enter(1, 1, "+3");
    wb.enter(1, 2, "+9");
    CellRec* cell = wb.enter(5, 5, kFormula);
    double sum = 0.0;
    for (auto _ : state) {
        ErrStat err;
        sum += wb.engine.evaluator().evaluateFormula(cell, cell->text, err);
    }
    benchmark::DoNotOptimize(sum);
    state.SetItemsProcessed(state.iterations());
}
BENCHMARK(evaluateCompiled);

// Each repetition enters into memory the process has used before. Left to itself, glibc hands a freed
// workbook's pages back to the system or keeps them depending on where unrelated small blocks (the
// benchmark library's own) happened to land, and the next repetition then pays for faulting them in again:
// that moved this figure by a third between builds that ran the same instructions.
void keepFreedMemory() {
#if defined(__GLIBC__)
    mallopt(M_MMAP_THRESHOLD, 32 << 20);
    mallopt(M_TRIM_THRESHOLD, INT_MAX);
#endif
}

void enterHundredThousand(benchmark::State& state) {
    keepFreedMemory();
    for (auto _ : state) {
        state.PauseTiming();
        auto wb = std::make_unique<Workbook>();
        wb->enter(1, 1, "+3");
        wb->enter(1, 2, "+9");
        state.ResumeTiming();
        for (int i = 0; i < 100000; ++i) wb->enter(3 + i % 65000, 3 + i / 65000, kFormula);
        state.PauseTiming();
        wb.reset();
        state.ResumeTiming();
    }
    state.SetItemsProcessed(state.iterations() * 100000);
}
BENCHMARK(enterHundredThousand)->Unit(benchmark::kMillisecond)->Iterations(1)->Repetitions(5);

void rangeSumColumn(benchmark::State& state) {
    Workbook wb;
    for (int r = 1; r <= kMaxRow; ++r) wb.enter(r, 1, "+1");
    CellRec* cell = wb.enter(1, 2, "+[1,1^65534,1{[$]+[@]}]");
    double sum = 0.0;
    for (auto _ : state) {
        ErrStat err;
        sum += wb.engine.evaluator().evaluateFormula(cell, cell->text, err);
    }
    benchmark::DoNotOptimize(sum);
    state.SetItemsProcessed(state.iterations() * kMaxRow);
}
BENCHMARK(rangeSumColumn)->Unit(benchmark::kMillisecond);

}  // namespace
}  // namespace qx
