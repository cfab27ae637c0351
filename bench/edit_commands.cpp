// Sorting a full level's rows by one numeric key (already sorted, reversed and shuffled input), and
// copy-pasting a 1,000 x 10 block of formulas.
#include <benchmark/benchmark.h>

#include <string>

#include "core/cell_store.h"
#include "core/scratch_record.h"
#include "edit/clipboard.h"
#include "edit/sort_rows.h"
#include "formula/formula_engine.h"
#include "recalc/recalc.h"

namespace qx {
namespace {

constexpr EntryOptions kBuild{NotifyMode::None, false, false, false};

struct Workbook {
    ScratchRecord scratch;
    CellStore store{3, LevelDefaults{}, "", scratch};
    FormulaEngine engine{store};
    ChainRecalculator recalc{engine};

    void enter(const std::string& text, int row, int col) {
        ErrStat err;
        engine.entry().storeEntry(text, row, col, 1, kBuild, err);
    }
};

// 0 sorted, 1 reversed, 2 shuffled by a fixed multiplier.
int keyOf(int row, int order) {
    if (order == 0) return row;
    if (order == 1) return kMaxRow - row;
    return static_cast<int>((static_cast<long long>(row) * 40503) % kMaxRow);
}

void BM_SortRows(benchmark::State& state) {
    const int order = static_cast<int>(state.range(0));
    for (auto _ : state) {
        state.PauseTiming();
        Workbook w;
        for (int row = 1; row <= kMaxRow; ++row) w.enter(std::to_string(keyOf(row, order)), row, 1);
        state.ResumeTiming();
        ErrStat err;
        const RowSortKey keys[] = {{1, true}};
        SortRows(w.store, 1, CellArea{1, 1, kMaxRow, 1}, keys, err);
        benchmark::DoNotOptimize(err.point);
    }
}
BENCHMARK(BM_SortRows)->Arg(0)->Arg(1)->Arg(2)->Unit(benchmark::kMillisecond)->Iterations(1);

void BM_CopyPasteFormulas(benchmark::State& state) {
    for (auto _ : state) {
        state.PauseTiming();
        Workbook w;
        for (int row = 1; row <= 1000; ++row) {
            w.enter("+" + std::to_string(row), row, 1);
            for (int col = 2; col <= 10; ++col) {
                w.enter("+[" + std::to_string(row) + "," + std::to_string(col - 1) + "]*2", row, col);
            }
        }
        state.ResumeTiming();
        ErrStat err;
        copyCells(w.store, 1, CellArea{1, 1, 1000, 10}, err);
        pasteCells(w.store, 1, CellArea{2001, 1, 2001, 1}, err);
        benchmark::DoNotOptimize(err.point);
    }
}
BENCHMARK(BM_CopyPasteFormulas)->Unit(benchmark::kMillisecond)->Iterations(1);

}  // namespace
}  // namespace qx
