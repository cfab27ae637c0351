// Inserting and removing one row at the top of a level whose rows all hold formula cells. The last row
// stays free: a level with row 65534 in use refuses every insertion.
#include <benchmark/benchmark.h>

#include <string>

#include "core/cell_store.h"
#include "core/scratch_record.h"
#include "edit/row_column.h"
#include "formula/formula_engine.h"
#include "recalc/recalc.h"

namespace qx {
namespace {

constexpr EntryOptions kBuild{NotifyMode::None, false, false, false};

struct Workbook {
    explicit Workbook(int rows) {
        ErrStat err;
        engine.entry().storeEntry("+1", 1, 1, 1, kBuild, err);
        for (int row = 2; row <= rows; ++row) {
            engine.entry().storeEntry("+[" + std::to_string(row - 1) + ",1]+1", row, 1, 1, kBuild, err);
        }
    }
    ScratchRecord scratch;
    CellStore store{3, LevelDefaults{}, "", scratch};
    FormulaEngine engine{store};
    ChainRecalculator recalc{engine};
};

void insertRow(Workbook& w) {
    ErrStat err;
    benchmark::DoNotOptimize(insertLines(w.store, 1, Axis::Rows, 1, 1, err));
}

void removeRow(Workbook& w) {
    ErrStat err;
    benchmark::DoNotOptimize(removeLines(w.store, 1, Axis::Rows, 1, 1, err));
}

void BM_InsertRowAtTop(benchmark::State& state) {
    Workbook w(static_cast<int>(state.range(0)));
    for (auto _ : state) {
        insertRow(w);
        state.PauseTiming();
        removeRow(w);
        state.ResumeTiming();
    }
}

void BM_RemoveRowAtTop(benchmark::State& state) {
    Workbook w(static_cast<int>(state.range(0)));
    for (auto _ : state) {
        state.PauseTiming();
        insertRow(w);
        state.ResumeTiming();
        removeRow(w);
    }
}

BENCHMARK(BM_InsertRowAtTop)->Arg(10000)->Arg(kMaxRow - 1)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_RemoveRowAtTop)->Arg(10000)->Arg(kMaxRow - 1)->Unit(benchmark::kMillisecond);

}  // namespace
}  // namespace qx
