// Saving and loading a full-height level: 65,534 rows of a number and three formulas on their own row.
#include <benchmark/benchmark.h>

#include <cstdlib>
#include <fstream>
#include <string>

#include "core/cell_store.h"
#include "files/level_reader.h"
#include "files/level_writer.h"
#include "formula/formula_engine.h"
#include "platform/headless_platform.h"
#include "recalc/recalc.h"

namespace {

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

void fill(Book& book) {
    qx::EntryOptions options;
    options.notifyMode = qx::NotifyMode::None;
    options.checkCircular = false;
    for (int row = 1; row <= qx::kMaxRow; ++row) {
        const std::string r = std::to_string(row);
        qx::ErrStat err;
        book.engine.entry().storeEntry("+" + std::to_string(row % 97) + ".25", row, 1, 1, options, err);
        book.engine.entry().storeEntry("+[" + r + ",1]*2", row, 2, 1, options, err);
        book.engine.entry().storeEntry("+[" + r + ",1]+[" + r + ",2]", row, 3, 1, options, err);
        book.engine.entry().storeEntry("+[" + r + ",3]-[" + r + ",1]/4", row, 4, 1, options, err);
    }
}

std::string save(Book& book) {
    qx::MemoryBlockSink sink;
    qx::BlockStream out(sink);
    qx::ErrStat err;
    qx::writeLevelFile(book.store, book.engine, 1, out, 6, err);
    return sink.bytes;
}

const std::string& savedLevel() {
    static const std::string bytes = [] {
        Book book;
        fill(book);
        return save(book);
    }();
    return bytes;
}

void BM_SaveLevel(benchmark::State& state) {
    Book book;
    fill(book);
    std::size_t size = 0;
    for (auto _ : state) size = save(book).size();
    state.counters["bytes"] = static_cast<double>(size);
}
BENCHMARK(BM_SaveLevel)->Unit(benchmark::kMillisecond)->Iterations(5);

void BM_LoadLevel(benchmark::State& state) {
    const std::string& bytes = savedLevel();
    Book book;
    for (auto _ : state) {
        state.PauseTiming();
        qx::resetLevel(book.store, 1, qx::LevelDefaults{});
        state.ResumeTiming();
        qx::MemoryBlockSource in(bytes);
        qx::BlockReader reader;
        qx::ErrStat err;
        bool cancelled = false;
        qx::FileContext ctx = book.context();
        reader.open(in, nullptr, err);
        qx::readLevelFile(ctx, reader, 1, cancelled, err);
        if (err.failed()) state.SkipWithError("load failed");
    }
    // QX_BENCH_WRITE=path keeps the level file for the whole-process figure (quorix-cli open, calcAll, quit).
    if (const char* path = std::getenv("QX_BENCH_WRITE")) std::ofstream(path, std::ios::binary) << bytes;
}
BENCHMARK(BM_LoadLevel)->Unit(benchmark::kMillisecond)->Iterations(5);

}  // namespace
