// The matrix functions' figures: "@MatrixInverse" and "determinant" of the largest matrix a cell holds
// (90 x 90), evaluated as a formula reads, computes and stores them; a small inverse on the cofactor
// path; and a power that repeated multiplication would never finish.
#include <benchmark/benchmark.h>

#include <random>
#include <string>
#include <vector>

#include "engineering_workbook.h"

namespace qx {
namespace {

struct Workbook : EngineeringWorkbook {
    // A NULL-form matrix cell holding n x n random values, as a captured matrix is placed.
    void randomMatrix(int row, int col, int n) {
        CellRec* cell = enter(row, col, "@Matrix()");
        std::mt19937 random(7);
        std::uniform_real_distribution<double> value(-1.0, 1.0);
        std::vector<double> values{static_cast<double>(n), static_cast<double>(n)};
        for (int i = 0; i < n * n; ++i) values.push_back(value(random));
        ErrStat err;
        store.setArraySize(cell, static_cast<int>(values.size()), err);
        store.setArrayElements(cell, values.data(), 0, static_cast<int>(values.size()) - 1, err);
    }

    void evaluate(benchmark::State& state, CellRec* cell) {
        double sum = 0.0;
        for (auto _ : state) {
            ErrStat err;
            sum += engine.evaluator().evaluateFormula(cell, cell->text, err);
            if (err.failed()) state.SkipWithError("the formula failed");
        }
        benchmark::DoNotOptimize(sum);
    }
};

void evaluateOn(benchmark::State& state, int n, const char* formula) {
    Workbook wb;
    wb.randomMatrix(1, 1, n);
    wb.evaluate(state, wb.enter(2, 1, formula));
}

void inverse90(benchmark::State& state) {
    evaluateOn(state, 90, "@MatrixInverse([1,1])");
}
BENCHMARK(inverse90)->Unit(benchmark::kMillisecond);

void determinant90(benchmark::State& state) {
    evaluateOn(state, 90, "+determinant([1,1])");
}
BENCHMARK(determinant90)->Unit(benchmark::kMillisecond);

void inverse6(benchmark::State& state) {
    evaluateOn(state, 6, "@MatrixInverse([1,1])");
}
BENCHMARK(inverse6)->Unit(benchmark::kMicrosecond);

void exponentBillion(benchmark::State& state) {
    Workbook wb;
    wb.enter(1, 1, "@Matrix(2,2,1,1,0,1)");
    wb.evaluate(state, wb.enter(2, 1, "@MatrixExponent([1,1],1000000000)"));
}
BENCHMARK(exponentBillion)->Unit(benchmark::kMicrosecond);

}  // namespace
}  // namespace qx
