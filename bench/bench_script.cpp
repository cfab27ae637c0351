// The statement runner's figures: a loop of ten million statements run by one script activation, and
// how long an endless loop takes to stop once asked.
#include <benchmark/benchmark.h>

#include <atomic>
#include <chrono>
#include <string>
#include <thread>

#include "core/cell_store.h"
#include "core/scratch_record.h"
#include "formula/formula_engine.h"
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

}  // namespace
}  // namespace qx
