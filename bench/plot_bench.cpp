// Plotting speed: a full repaint of a six-function plot (grid, axes,
// read-outs, 227 samples per curve with the domain edges refined) against
// the bare evaluations of the same samples, and the work of a Minimum
// search of the plot analysis.
#include <benchmark/benchmark.h>

#include <cstring>
#include <vector>

#include "engine/settings.h"
#include "numeric/calculus.h"
#include "panel/shell.h"
#include "panel/subsystems.h"
#include "plot/analysis.h"
#include "plot/evaluate.h"
#include "plot/geometry.h"
#include "plot/model.h"

using namespace qx;

namespace {

// sin(x), cos(x), x^2/10, sqrt(abs(x)), e^(-x^2/4)*5, x^3/100
const std::vector<std::vector<TokenCode>> kFunctions = {
    {5, 859, 4},
    {6, 859, 4},
    {859, 9, 32, 33, 38},
    {14, 19, 859, 4},
    {111, 3, 17, 859, 9, 32, 28, 4, 31, 29},
    {859, 115, 32, 33, 38, 38},
};

void six_functions() {
    HeadlessWindow& w = silent_headless_calculator();
    (void)w;
    clear_plot_state();
    g_settings.calculator_mode = MODE_PLOT;
    for (std::size_t k = 0; k < kFunctions.size(); ++k) {
        PlotSlot& s = g_plot_slots[PLOT_FUNCTION][k];
        std::memcpy(s.tokens, kFunctions[k].data(), kFunctions[k].size() * sizeof(TokenCode));
        s.count = static_cast<int>(kFunctions[k].size());
    }
}

// What the plot cannot do without: every slot at every column.
void BM_BareEvaluations(benchmark::State& state) {
    six_functions();
    const PlotWindow w = current_window();
    reset_plot_sample_count();
    for (auto _ : state) {
        double sum = 0.0;
        for (int slot = 0; slot < PLOT_SLOTS; ++slot) {
            SlotEvaluation ev(PLOT_FUNCTION, slot);
            for (int c = 0; c <= PLOT_WIDTH; ++c) sum += ev.at(column_to_x(w, c));
        }
        benchmark::DoNotOptimize(sum);
    }
    state.counters["evaluations"] =
        static_cast<double>(plot_sample_count()) / static_cast<double>(state.iterations());
    g_settings.calculator_mode = MODE_COMP;
}
BENCHMARK(BM_BareEvaluations)->Unit(benchmark::kMicrosecond);

void BM_SixFunctionRepaint(benchmark::State& state) {
    six_functions();
    Surface s(240, 320);
    reset_plot_sample_count();
    for (auto _ : state) g_panel.plot_paint(s, true);
    state.counters["evaluations"] =
        static_cast<double>(plot_sample_count()) / static_cast<double>(state.iterations());
    g_settings.calculator_mode = MODE_COMP;
}
BENCHMARK(BM_SixFunctionRepaint)->Unit(benchmark::kMicrosecond);

void BM_PlotMinimum(benchmark::State& state) {
    six_functions();
    reset_calc_settings();
    g_calc.calculation = CALC_MINIMUM;
    g_calc.function = 2;   // x^2/10: minimum at 0
    calculus_reset_sample_count();
    for (auto _ : state) {
        CalcResult r = run_calculation();
        benchmark::DoNotOptimize(r);
    }
    // The search's own samples (the scan and the refinement).
    state.counters["evaluations"] =
        static_cast<double>(calculus_sample_count()) / static_cast<double>(state.iterations());
    g_settings.calculator_mode = MODE_COMP;
}
BENCHMARK(BM_PlotMinimum)->Unit(benchmark::kMicrosecond);

}  // namespace
BENCHMARK_MAIN();
