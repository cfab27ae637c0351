// A full level of 65,534 rows x 4 columns: making, finding and deleting its cells, and what a
// simple formula cell costs in memory.
#include <benchmark/benchmark.h>

#include <unistd.h>
#include <fstream>
#include <memory>

#include "core/cell_store.h"

namespace qx {
namespace {

constexpr int kColumns = 4;
constexpr int kCells = kMaxRow * kColumns;  // 262,136

struct Workbook {
    ScratchRecord scratch;
    CellStore store{33, LevelDefaults{}, "/tmp", scratch};
};

void fillLevel(CellStore& store, CellType type) {
    ErrStat err;
    for (int row = 1; row <= kMaxRow; ++row) {
        for (int col = 1; col <= kColumns; ++col) benchmark::DoNotOptimize(store.makeCell(row, col, 1, type, err));
    }
}

// Each formula of columns 2..4 refers to the cell on its left, as "[r,c-1]*2" compiles.
void fillFormulas(CellStore& store) {
    ErrStat err;
    for (int row = 1; row <= kMaxRow; ++row) {
        CellRec* left = nullptr;
        for (int col = 1; col <= kColumns; ++col) {
            CellRec* cell = store.makeCell(row, col, 1, CellType::Formula, err);
            store.hooks().enterText(store, *cell, left ? "+~1~0*2" : "+1", err);
            if (left != nullptr) store.linkReferences(cell, {&left, 1}, err);
            left = cell;
        }
    }
}

long residentBytes() {
    std::ifstream statm("/proc/self/statm");
    long pages = 0;
    long resident = 0;
    statm >> pages >> resident;
    return resident * sysconf(_SC_PAGESIZE);
}

void BM_MakeCells(benchmark::State& state) {
    for (auto _ : state) {
        state.PauseTiming();
        auto book = std::make_unique<Workbook>();
        state.ResumeTiming();
        fillLevel(book->store, CellType::Label);
        state.PauseTiming();
        book.reset();
        state.ResumeTiming();
    }
    state.SetItemsProcessed(state.iterations() * kCells);
}

void BM_FindCells(benchmark::State& state) {
    Workbook book;
    fillLevel(book.store, CellType::Label);
    ErrStat err;
    for (auto _ : state) {
        for (int row = 1; row <= kMaxRow; ++row) {
            for (int col = 1; col <= kColumns; ++col) benchmark::DoNotOptimize(book.store.findCell(row, col, 1, err));
        }
    }
    state.SetItemsProcessed(state.iterations() * kCells);
}

void BM_DeleteBlock(benchmark::State& state) {
    for (auto _ : state) {
        state.PauseTiming();
        auto book = std::make_unique<Workbook>();
        fillFormulas(book->store);
        ErrStat err;
        state.ResumeTiming();
        book->store.deleteBlock(1, 1, 1, kMaxRow, kColumns, NotifyMode::None, false, err);
        state.PauseTiming();
        book.reset();
        state.ResumeTiming();
    }
    state.SetItemsProcessed(state.iterations() * kCells);
}

void BM_DeleteAtOnce(benchmark::State& state) {
    for (auto _ : state) {
        state.PauseTiming();
        auto book = std::make_unique<Workbook>();
        fillFormulas(book->store);
        ErrStat err;
        state.ResumeTiming();
        for (int row = 1; row <= kMaxRow; ++row) {
            for (int col = kColumns; col >= 1; --col)
                book->store.deleteCellNow(book->store.findCell(row, col, 1, err), err);
        }
        state.PauseTiming();
        book.reset();
        state.ResumeTiming();
    }
    state.SetItemsProcessed(state.iterations() * kCells);
}

// A fresh workbook with one cell, made and dropped: what every new document and every test case pays.
void BM_NewWorkbook(benchmark::State& state) {
    for (auto _ : state) {
        auto book = std::make_unique<Workbook>();
        ErrStat err;
        benchmark::DoNotOptimize(book->store.makeCell(1, 1, 1, CellType::Formula, err));
    }
}

void BM_FormulaCellMemory(benchmark::State& state) {
    for (auto _ : state) {
        auto book = std::make_unique<Workbook>();
        const long before = residentBytes();
        fillFormulas(book->store);
        state.counters["bytes_per_cell"] = static_cast<double>(residentBytes() - before) / kCells;
        ErrStat err;
        state.counters["consistent"] = book->store.checkDependents(1).empty() ? 1 : 0;
    }
}

BENCHMARK(BM_MakeCells)->Unit(benchmark::kMillisecond)->Iterations(1)->Repetitions(5)->ReportAggregatesOnly(true);
BENCHMARK(BM_FindCells)->Unit(benchmark::kMillisecond)->Repetitions(5)->ReportAggregatesOnly(true);
BENCHMARK(BM_DeleteBlock)->Unit(benchmark::kMillisecond)->Iterations(1)->Repetitions(5)->ReportAggregatesOnly(true);
BENCHMARK(BM_DeleteAtOnce)->Unit(benchmark::kMillisecond)->Iterations(1)->Repetitions(5)->ReportAggregatesOnly(true);
BENCHMARK(BM_NewWorkbook)->Unit(benchmark::kMillisecond)->Repetitions(5)->ReportAggregatesOnly(true);
BENCHMARK(BM_FormulaCellMemory)->Unit(benchmark::kMillisecond)->Iterations(1);

}  // namespace
}  // namespace qx
