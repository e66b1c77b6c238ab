// Plotting speed: a full repaint of a six-function plot (grid, axes,
// read-outs, 227 samples per curve with the domain edges refined) against
// the bare evaluations of the same samples, the work of a Minimum search of
// the plot analysis, and the 3-D plot: a full frame of a spherical surface
// and the preview each stylus move of a rotation draws.
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
#include "plot/surface3d.h"

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

// Full repaints of whatever the plot settings hold, with the evaluations
// each one took.
void repaint_loop(benchmark::State& state) {
    Surface s(240, 320);
    reset_plot_sample_count();
    for (auto _ : state) g_panel.plot_paint(s, true);
    state.counters["evaluations"] =
        static_cast<double>(plot_sample_count()) / static_cast<double>(state.iterations());
    g_settings.calculator_mode = MODE_COMP;
}

void BM_SixFunctionRepaint(benchmark::State& state) {
    six_functions();
    repaint_loop(state);
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

// The spherical sample: theta = u, phi = v, R = .7 + .3 sin(v * 2) over
// u 0..2 pi and v 0..pi, 51 x 51 nodes, three slots each.
void spherical_sample() {
    silent_headless_calculator();
    clear_plot_state();
    g_settings.calculator_mode = MODE_PLOT;
    g_settings.angle_unit = ANGLE_RAD;
    const std::vector<std::vector<TokenCode>> slots = {
        {856}, {857}, {39, 23, 36, 39, 35, 31, 5, 857, 31, 34, 4}};
    for (std::size_t k = 0; k < slots.size(); ++k) {
        PlotSlot& s = g_plot_slots[PLOT_3D][k];
        std::memcpy(s.tokens, slots[k].data(), slots[k].size() * sizeof(TokenCode));
        s.count = static_cast<int>(slots[k].size());
    }
    g_plot.type = PLOT_3D;
    g_plot.coordinates = COORD_SPHERICAL;
    g_plot.tmin = 0;
    g_plot.tmax = 6.2832;
    g_plot.tstep = 0.125664;
    g_plot.vmin = 0;
    g_plot.vmax = 3.1415;
    g_plot.vstep = 6.283e-2;
    set_plot_window(-1.1426053097345, -0.62165166666667, 0.68249469026549, 1.0732483333333);
    g_plot.view_angle[0] = -69;
    g_plot.view_angle[1] = -544;
    g_plot.z_scale = 1;
}

void BM_Spherical3dFrame(benchmark::State& state) {
    spherical_sample();
    repaint_loop(state);
}
BENCHMARK(BM_Spherical3dFrame)->Unit(benchmark::kMicrosecond);

// Stylus moves of a rotation; `evaluating` drops the kept nodes before each
// move, as after a change of the surfaces.
void rotation_preview(benchmark::State& state, bool evaluating) {
    spherical_sample();
    Surface s(240, 320);
    g_panel.plot_paint(s, true);   // the full frame the drag starts from
    g_plot.cursor = CURSOR_ROTATE;
    reset_plot_sample_count();
    int k = 0;
    for (auto _ : state) {
        if (evaluating) forget_surface_mesh();
        g_panel.plot_drag(100 + (k++ & 31), 100, 100, 100);
    }
    state.counters["evaluations"] =
        static_cast<double>(plot_sample_count()) / static_cast<double>(state.iterations());
    g_panel.plot_release(100, 100, 100, 100);
    g_settings.calculator_mode = MODE_COMP;
}

void BM_Spherical3dRotationPreview(benchmark::State& state) { rotation_preview(state, false); }
BENCHMARK(BM_Spherical3dRotationPreview)->Unit(benchmark::kMicrosecond);

void BM_Spherical3dPreviewEvaluating(benchmark::State& state) { rotation_preview(state, true); }
BENCHMARK(BM_Spherical3dPreviewEvaluating)->Unit(benchmark::kMicrosecond);

}  // namespace
BENCHMARK_MAIN();
