// Script figures: a loop of ten million statements run by one script activation, how long an endless
// loop takes to stop once asked, and 10,000 formula cells each calling a small script.
#include <benchmark/benchmark.h>
#include <unistd.h>

#include <atomic>
#include <chrono>
#include <cstdio>
#include <filesystem>
#include <string>
#include <thread>

#include "app/session.h"
#include "core/cell_store.h"
#include "core/header_key.h"
#include "core/scratch_record.h"
#include "formula/formula_engine.h"
#include "platform/headless_platform.h"
#include "script/runtime/statement_runner.h"

namespace qx {
namespace {

void loopOfTenMillionStatements(benchmark::State& state) {
    ScratchRecord scratch;
    CellStore store{33, LevelDefaults{}, "", scratch};
    FormulaEngine engine{store};
    StatementRunner runner{engine.evaluator(), nullptr};
    const std::string body = "{for(#1=0;#1<10000000;++#1){#2+=#1;};return(#2);}";
    for (auto _ : state) {
        ScriptFrame frame;
        frame.values = {0.0, 0.0};
        std::string text = body;
        ErrStat err;
        const double sum = runner.run(nullptr, text.data(), static_cast<int>(text.size()), frame, err);
        if (err.failed() || sum != 49999995000000.0) state.SkipWithError("the loop did not sum to its value");
        benchmark::DoNotOptimize(sum);
    }
}
BENCHMARK(loopOfTenMillionStatements)->Unit(benchmark::kMillisecond)->Iterations(1);

// From the stop request (as Esc or Ctrl+C make it) to the runner's return.
void stopLatency(benchmark::State& state) {
    using Clock = std::chrono::steady_clock;
    ScratchRecord scratch;
    CellStore store{33, LevelDefaults{}, "", scratch};
    FormulaEngine engine{store};
    StatementRunner runner{engine.evaluator(), nullptr};
    for (auto _ : state) {
        ScriptFrame frame;
        frame.values = {0.0};
        std::string text = "{while(1){#1+=1;}}";
        std::atomic<Clock::time_point::rep> askedAt{0};
        std::thread stopper([&] {
            std::this_thread::sleep_for(std::chrono::milliseconds(100));
            askedAt = Clock::now().time_since_epoch().count();
            engine.evaluator().scripts().requestCancel();
        });
        ErrStat err;
        runner.run(nullptr, text.data(), static_cast<int>(text.size()), frame, err);
        const auto stopped = Clock::now().time_since_epoch().count();
        stopper.join();
        if (!err.is(Msg::ScriptInterrupted)) state.SkipWithError("the loop was not stopped");
        state.SetIterationTime(std::chrono::duration<double>(Clock::duration(stopped - askedAt.load())).count());
    }
}
BENCHMARK(stopLatency)->UseManualTime()->Unit(benchmark::kMicrosecond)->Iterations(5);

std::string scrambled(std::string text, int key) {
    for (char& c : text) c = static_cast<char>(static_cast<uint8_t>(c) ^ static_cast<uint8_t>(key));
    return text;
}

// A library of one script, add(#,#), laid out as the compiler writes it.
std::string writeLibrary() {
    const std::string dir = std::filesystem::temp_directory_path() / ("quorix-bench-" + std::to_string(::getpid()));
    std::filesystem::create_directories(dir);
    const std::string header = "~00027~00011~1.00 ~Va3.00  ";
    const std::string rest = "add(#,#)0,0{return(#1+#2);}";
    char length[8];
    std::snprintf(length, sizeof length, "~%05zu~", rest.size() + 7);
    const std::string path = dir + "/bench.slb";
    std::FILE* f = std::fopen(path.c_str(), "wb");
    const std::string bytes = scrambled(header, kHeaderKey) + scrambled(length + rest, 11);
    std::fwrite(bytes.data(), 1, bytes.size(), f);
    std::fclose(f);
    return path;
}

void BM_ScriptCalledFrom10000Cells(benchmark::State& state) {
    HeadlessPlatform platform;
    Session session(platform, SessionOptions{});
    ErrStat err;
    session.start(err);
    const std::string path = writeLibrary();
    if (session.attachLibrary(path, err) < 0) return state.SkipWithError("library not attached");
    session.commitEntry(1, 1, 1, "+0", err);
    for (int row = 1; row <= 10000; ++row) {
        session.commitEntry(1, row, 2, "+add([1,1]," + std::to_string(row) + ")", err);
    }
    int v = 0;
    for (auto _ : state) session.commitEntry(1, 1, 1, "+" + std::to_string(++v), err);
    if (session.evaluate("+[10000,2]", err) != v + 10000) state.SkipWithError("cells not recalculated");
    std::filesystem::remove_all(std::filesystem::path(path).parent_path());
}
BENCHMARK(BM_ScriptCalledFrom10000Cells)->Unit(benchmark::kMillisecond);

}  // namespace
}  // namespace qx
