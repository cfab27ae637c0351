// Recalculation figures: a long chain, many direct dependents, "All cells" on a full-height level,
// overlapping Range Operation windows, committed entries, and the memory of a simple formula cell.
#include <benchmark/benchmark.h>

#include <unistd.h>
#include <fstream>
#include <memory>
#include <string>

#include "core/cell_store.h"
#include "core/scratch_record.h"
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

    void enter(int row, int col, const std::string& text, EntryOptions options = kBuild) {
        ErrStat err;
        engine.entry().storeEntry(text, row, col, 1, options, err);
    }
    CellRec* cell(int row, int col) {
        ErrStat err;
        return store.findCell(row, col, 1, err);
    }
};

std::string at(int row, int col) {
    return "[" + std::to_string(row) + "," + std::to_string(col) + "]";
}

// Changes a number cell's value and notifies as a committed edit does.
void change(Workbook& w, CellRec* cell, double value) {
    cell->formula->value = value;
    w.recalc.notify(*cell, NotifyMode::Edit);
}

void BM_ChainOf8191(benchmark::State& state) {
    Workbook w;
    w.enter(1, 1, "+0");
    for (int row = 2; row <= 8192; ++row) w.enter(row, 1, "+" + at(row - 1, 1) + "+1");
    CellRec* root = w.cell(1, 1);
    double v = 0;
    for (auto _ : state) change(w, root, ++v);
    if (w.cell(8192, 1)->formula->value != v + 8191) state.SkipWithError("chain did not complete");
}
BENCHMARK(BM_ChainOf8191)->Unit(benchmark::kMillisecond);

void BM_DirectDependents50000(benchmark::State& state) {
    Workbook w;
    w.enter(1, 1, "+1");
    for (int row = 1; row <= 50000; ++row) w.enter(row, 2, "+[1,1]*" + std::to_string(row));
    CellRec* root = w.cell(1, 1);
    double v = 1;
    for (auto _ : state) change(w, root, ++v);
}
BENCHMARK(BM_DirectDependents50000)->Unit(benchmark::kMillisecond);

void fillRows(Workbook& w) {
    for (int row = 1; row <= kMaxRow; ++row) {
        w.enter(row, 1, "+" + std::to_string(row % 97));
        w.enter(row, 2, "+" + at(row, 1) + "*2");
        w.enter(row, 3, "+" + at(row, 2) + "+" + at(row, 1));
        w.enter(row, 4, "+" + at(row, 3) + "-1");
    }
}

void BM_AllCells65534x4(benchmark::State& state) {
    Workbook w;
    fillRows(w);
    for (auto _ : state) w.recalc.recalculateLevel(1);
}
BENCHMARK(BM_AllCells65534x4)->Unit(benchmark::kMillisecond);

void BM_OverlappingRangeSums1000(benchmark::State& state) {
    Workbook w;
    for (int row = 1; row <= 2000; ++row) w.enter(row, 1, "+1");
    for (int row = 1; row <= 1000; ++row)
        w.enter(row, 3, "+[" + std::to_string(row) + ",1^" + std::to_string(row + 999) + ",1]");
    CellRec* inside = w.cell(1000, 1);
    double v = 1;
    for (auto _ : state) change(w, inside, ++v);
}
BENCHMARK(BM_OverlappingRangeSums1000)->Unit(benchmark::kMillisecond);

// 10,000 numbers in column 1; in column 2, 1,000 running sums over overlapping windows of 1,000 cells.
void fillSumWindows(Workbook& w) {
    for (int row = 1; row <= 10000; ++row) w.enter(row, 1, "+" + std::to_string(row % 97));
    for (int k = 1; k <= 1000; ++k) {
        w.enter(k, 2, "+[" + std::to_string(k) + ",1^" + std::to_string(k + 999) + ",1{[$]+[@]}]");
    }
}

void BM_SumWindowsChangeInside(benchmark::State& state) {
    Workbook w;
    fillSumWindows(w);
    CellRec* inside = w.cell(1000, 1);
    double v = 1;
    for (auto _ : state) change(w, inside, ++v);
}
BENCHMARK(BM_SumWindowsChangeInside)->Unit(benchmark::kMillisecond);

void BM_SumWindowsChangeOutside(benchmark::State& state) {
    Workbook w;
    fillSumWindows(w);
    w.enter(20000, 5, "+7");
    CellRec* outside = w.cell(20000, 5);
    double v = 1;
    for (auto _ : state) change(w, outside, ++v);
}
BENCHMARK(BM_SumWindowsChangeOutside)->Unit(benchmark::kMillisecond);

void BM_SumWindowsAllCells(benchmark::State& state) {
    Workbook w;
    fillSumWindows(w);
    for (auto _ : state) w.recalc.recalculateLevel(1);
}
BENCHMARK(BM_SumWindowsAllCells)->Unit(benchmark::kMillisecond);

// One Range Operation over 65,534 numbers, by body: a running sum, a count, a maximum, a minimum, and a
// body that reads another cell, which the evaluator runs from the text.
void BM_RangeBody65534(benchmark::State& state) {
    const char* bodies[] = {"[$]+[@]", "", "([#]==1)?[@]:(([@]>[$])?[@]:[$])", "([#]==1)?[@]:(([@]<[$])?[@]:[$])",
                            "[$]+[@]*[1,3]"};
    Workbook w;
    for (int row = 1; row <= kMaxRow; ++row) w.enter(row, 1, "+" + std::to_string(1 + row % 97));
    w.enter(1, 3, "+1");
    w.enter(1, 2, std::string("+[1,1^65534,1{") + bodies[state.range(0)] + "}]");
    for (auto _ : state) w.recalc.recomputeRangeOperations(1);
}
BENCHMARK(BM_RangeBody65534)->DenseRange(0, 4)->Unit(benchmark::kMicrosecond);

// The running sum over numbers that are not whole, which no shortcut may add in another order.
void BM_RangeSumFractions65534(benchmark::State& state) {
    Workbook w;
    for (int row = 1; row <= kMaxRow; ++row) w.enter(row, 1, "+" + std::to_string(1 + row % 97) + ".3");
    w.enter(1, 2, "+[1,1^65534,1{[$]+[@]}]");
    for (auto _ : state) w.recalc.recomputeRangeOperations(1);
}
BENCHMARK(BM_RangeSumFractions65534)->Unit(benchmark::kMicrosecond);

void BM_CommittedEntries(benchmark::State& state) {
    const auto count = static_cast<int>(state.range(0));
    for (auto _ : state) {
        state.PauseTiming();
        auto w = std::make_unique<Workbook>();
        state.ResumeTiming();
        for (int i = 1; i <= count; ++i) {
            w->enter(i, 2, "+" + at(i, 1) + "*2", EntryOptions{});
            w->recalc.retryFailedCells();
        }
        state.PauseTiming();
        w.reset();
        state.ResumeTiming();
    }
}
BENCHMARK(BM_CommittedEntries)->Arg(10000)->Arg(20000)->Arg(50000)->Unit(benchmark::kMillisecond);

long residentBytes() {
    std::ifstream statm("/proc/self/statm");
    long pages = 0, resident = 0;
    statm >> pages >> resident;
    return resident * sysconf(_SC_PAGESIZE);
}

// Resident memory grows only in a process that has not freed a workbook before: run it alone
// (--benchmark_filter=Bytes).
void BM_BytesPerFormulaCell(benchmark::State& state) {
    for (auto _ : state) {
        const long before = residentBytes();
        auto w = std::make_unique<Workbook>();
        fillRows(*w);
        const long after = residentBytes();
        state.counters["bytes_per_cell"] = static_cast<double>(after - before) / (kMaxRow * 4.0);
    }
}
BENCHMARK(BM_BytesPerFormulaCell)->Iterations(1)->Unit(benchmark::kMillisecond);

}  // namespace
}  // namespace qx
