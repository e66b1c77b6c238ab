#include <benchmark/benchmark.h>

#include "tools/tvm.h"

namespace {

using namespace qx;

// A 30-year mortgage of 200000 at 6%, paid monthly.
TvmValues mortgage() {
    TvmValues t = tvm_defaults();
    t.v[TVM_N] = 360;
    t.v[TVM_I] = 6;
    t.v[TVM_PV] = 200000;
    t.v[TVM_PMT] = -1199.1010503055047;
    t.v[TVM_PY] = t.v[TVM_CY] = 12;
    return t;
}

// The rate has no closed form: the whole search and its refinement.
void BM_TvmSolveInterest(benchmark::State& state) {
    const TvmValues base = mortgage();
    for (auto _ : state) {
        TvmValues t = base;
        benchmark::DoNotOptimize(tvm_solve(t, TVM_I));
    }
}
BENCHMARK(BM_TvmSolveInterest)->Unit(benchmark::kMicrosecond);

void BM_TvmSolvePayment(benchmark::State& state) {
    const TvmValues base = mortgage();
    for (auto _ : state) {
        TvmValues t = base;
        benchmark::DoNotOptimize(tvm_solve(t, TVM_PMT));
    }
}
BENCHMARK(BM_TvmSolvePayment);

void BM_TvmSchedule2000(benchmark::State& state) {
    TvmValues t = mortgage();
    t.v[TVM_N] = 2000;
    t.v[TVM_PY] = 52;
    tvm_solve(t, TVM_PMT);
    for (auto _ : state) benchmark::DoNotOptimize(tvm_schedule(t));
}
BENCHMARK(BM_TvmSchedule2000)->Unit(benchmark::kMicrosecond);

}  // namespace

BENCHMARK_MAIN();
