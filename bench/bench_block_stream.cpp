// Writing and scanning a level-sized record stream: 65,534 rows of a number and three formulas.
#include <benchmark/benchmark.h>

#include <string>
#include <vector>

#include "files/block_stream.h"
#include "files/record_scanner.h"

namespace {

std::vector<std::string> levelRecords() {
    std::vector<std::string> records;
    records.reserve(65534 * 4);
    for (int row = 1; row <= 65534; ++row) {
        std::string r = std::to_string(row);
        records.push_back("~~R" + r + "C1P0Y0J0E0{" + r + ".000000000000000e+00};" + r);
        for (int col = 2; col <= 4; ++col) {
            records.push_back("~~R" + r + "C" + std::to_string(col) + "P0Y0J0M1{" + r +
                              ",1}E0{2.000000000000000e+00};[" + r + ",1]*" + std::to_string(col));
        }
    }
    return records;
}

std::string writeLevel(const std::vector<std::string>& records) {
    qx::MemoryBlockSink sink;
    qx::BlockStream out(sink);
    qx::ErrStat err;
    out.begin(17, err);
    out.append("~~SV3.00", err);
    for (const std::string& r : records) out.append(r, err);
    out.append("~~Xe", err);
    out.finish(err);
    return sink.bytes;
}

void BM_WriteLevel(benchmark::State& state) {
    std::vector<std::string> records = levelRecords();
    std::size_t bytes = 0;
    for (auto _ : state) bytes = writeLevel(records).size();
    state.counters["file_bytes"] = static_cast<double>(bytes);
}
BENCHMARK(BM_WriteLevel)->Unit(benchmark::kMillisecond);

void BM_ScanLevel(benchmark::State& state) {
    std::string file = writeLevel(levelRecords());
    for (auto _ : state) {
        qx::MemoryBlockSource source(file);
        qx::BlockReader reader;
        qx::ErrStat err;
        reader.open(source, nullptr, err);
        qx::RecordScanner scanner(reader);
        qx::Token token;
        std::size_t tokens = 0;
        while (scanner.next(token)) ++tokens;
        benchmark::DoNotOptimize(tokens);
    }
}
BENCHMARK(BM_ScanLevel)->Unit(benchmark::kMillisecond);

}  // namespace
