// Importing a full-height comma-separated file of ten numeric columns, and exporting it back.
#include <benchmark/benchmark.h>

#include <sstream>
#include <string>

#include "core/cell_store.h"
#include "files/level_reader.h"
#include "files/text/text_export.h"
#include "files/text/text_import.h"
#include "formula/formula_engine.h"
#include "platform/headless_platform.h"
#include "recalc/recalc.h"

namespace {

constexpr int kColumns = 10;

struct Book {
    Book() : store(3, qx::LevelDefaults{}, "", scratch), engine(store) {}
    qx::FileContext context() { return qx::FileContext{store, engine, platform, protection, qx::LevelDefaults{}}; }

    qx::ScratchRecord scratch;
    qx::CellStore store;
    qx::FormulaEngine engine;
    qx::ChainRecalculator recalc{engine};
    qx::HeadlessPlatform platform;
    qx::PlainProtection protection;
};

const std::string& csvFile() {
    static const std::string text = [] {
        std::string out;
        for (int row = 1; row <= qx::kMaxRow; ++row) {
            for (int col = 1; col <= kColumns; ++col) {
                out += std::to_string(row * col % 100003) + "." + std::to_string(col * 7 % 100);
                out += col < kColumns ? ',' : '\n';
            }
        }
        return out;
    }();
    return text;
}

bool import(Book& book) {
    std::istringstream in(csvFile());
    qx::FileContext ctx = book.context();
    qx::ImportOutcome outcome;
    qx::ErrStat err;
    return qx::importText(ctx, qx::TextKind::Csv, in, qx::ImportStart{1, 1, 1}, outcome, err);
}

void BM_ImportCsv(benchmark::State& state) {
    Book book;
    for (auto _ : state) {
        state.PauseTiming();
        qx::resetLevel(book.store, 1, qx::LevelDefaults{});
        state.ResumeTiming();
        if (!import(book)) state.SkipWithError("import failed");
    }
    state.counters["bytes"] = static_cast<double>(csvFile().size());
}
BENCHMARK(BM_ImportCsv)->Unit(benchmark::kMillisecond)->Iterations(3);

void BM_ExportCsv(benchmark::State& state) {
    Book book;
    if (!import(book)) state.SkipWithError("import failed");
    std::size_t size = 0;
    for (auto _ : state) {
        std::ostringstream out;
        qx::ErrStat err;
        qx::exportText(book.store, qx::TextKind::Csv, out, 1, qx::CellArea{1, 1, qx::kMaxRow, kColumns},
                       qx::kDefaultLineWidth, err);
        size = out.str().size();
    }
    state.counters["bytes"] = static_cast<double>(size);
}
BENCHMARK(BM_ExportCsv)->Unit(benchmark::kMillisecond)->Iterations(3);

}  // namespace
