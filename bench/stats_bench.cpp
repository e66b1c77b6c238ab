// Statistics speed: every one of the 21 quantities and a regression
// estimate over a full set of 999 points, recomputed from changed data
// each time (the set is reloaded, so nothing comes from the caches), for
// each of the four models.  The target is 100 microseconds.
#include <benchmark/benchmark.h>

#include <cmath>

#include "engine/evaluator.h"
#include "engine/settings.h"
#include "stats/stats.h"

using namespace qx;

namespace {

struct FullSet {
    double x[STATS_MAX_POINTS], y[STATS_MAX_POINTS];
    FullSet() {
        for (int i = 0; i < STATS_MAX_POINTS; ++i) {
            x[i] = 0.5 + i * 0.1;
            y[i] = 3.0 * std::pow(x[i], 1.3) * (1.0 + 0.05 * std::sin(i * 1.7));
        }
    }
};

void BM_AllQuantitiesAndEstimate(benchmark::State& state) {
    static const FullSet set;
    g_settings.stats_var = 1;
    g_settings.stats_regress = static_cast<int>(state.range(0));
    double sink = 0.0;
    for (auto _ : state) {
        load_stat_data(set.x, set.y, STATS_MAX_POINTS);
        for (int q = 0; q < STATS_QUANTITY_COUNT; ++q) sink += claculate_stat(q);
        sink += regression_estimate(OP_REGRESS_Y, 42.0);
        benchmark::DoNotOptimize(sink);
    }
    state.SetLabel(regression_equation(g_settings.stats_regress));
}
BENCHMARK(BM_AllQuantitiesAndEstimate)->DenseRange(0, 3)->Unit(benchmark::kMicrosecond);

// The same reload alone, to read the quantities' share off the figure above.
void BM_ReloadOnly(benchmark::State& state) {
    static const FullSet set;
    for (auto _ : state) {
        load_stat_data(set.x, set.y, STATS_MAX_POINTS);
        benchmark::ClobberMemory();
    }
}
BENCHMARK(BM_ReloadOnly)->Unit(benchmark::kMicrosecond);

}  // namespace

BENCHMARK_MAIN();
