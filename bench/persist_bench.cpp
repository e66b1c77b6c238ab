// State file speed: saving and loading the largest state the calculator
// can hold (every matrix 30 x 30, every list full, 999 statistics points,
// all 90 memory variables complex, 20 history entries and all 24 plot
// slots of 100 tokens).  The target is 20 ms for each direction.
#include <benchmark/benchmark.h>

#include <cmath>
#include <cstring>

#include "matrix/store.h"
#include "persist/state.h"

using namespace qx;

namespace {

// Known tokens of every kind: digits, operators, a memory read, a unit.
constexpr TokenCode kTokens[] = {33, 36, 34, 31, 859, 13, 35, 5, 4, 37, 869, 66819};

TokenCode token(int k) { return kTokens[k % (sizeof kTokens / sizeof kTokens[0])]; }

void make_largest_state() {
    reset_state_host();
    for (int i = 0; i < STATE_MEMORY; ++i)
        g_memory[i] = MemorySlot{std::sin(i + 0.5) * 1e3, std::cos(i * 1.7) / 7.0};
    static double x[STATS_MAX_POINTS], y[STATS_MAX_POINTS];
    for (int i = 0; i < STATS_MAX_POINTS; ++i) {
        x[i] = 0.5 + i * 0.1;
        y[i] = 3.0 * std::pow(x[i], 1.3) * (1.0 + 0.05 * std::sin(i * 1.7));
    }
    load_stat_data(x, y, STATS_MAX_POINTS);
    for (int t = 0; t < PLOT_TYPES; ++t)
        for (int k = 0; k < PLOT_SLOTS; ++k) {
            PlotSlot& s = g_plot_slots[t][k];
            for (int j = 0; j < PLOT_SLOT_TOKENS; ++j) s.tokens[j] = token(j + t + k);
            s.count = PLOT_SLOT_TOKENS;
        }
    for (int m = 0; m <= NAMED_OBJECTS; ++m) {
        Matrix& a = g_matrices[m];
        a.defined = true;
        a.last_row = a.last_column = MATRIX_MAX - 1;
        for (int r = 0; r < MATRIX_MAX; ++r)
            for (int c = 0; c < MATRIX_MAX; ++c) a.e[r][c] = std::exp(std::sin(m + r * 0.37 + c * 1.1) * 9.0) / 3.0;
        ListValue& l = g_lists[m];
        l.defined = true;
        l.last = LIST_MAX - 1;
        for (int k = 0; k < LIST_MAX; ++k) {
            l.re[k] = std::tan(m + k * 0.3);
            l.im[k] = -std::sqrt(m + k + 0.1);
        }
    }
    static PanelState panel;
    std::memset(&panel, 0, sizeof panel);
    for (int j = 0; j < STATE_LINE_TOKENS; ++j) panel.line[j] = token(j);
    panel.line_count = STATE_LINE_TOKENS;
    panel.cursor = 50;
    for (int h = 0; h < STATE_HISTORY; ++h) {
        for (int j = 0; j < STATE_LINE_TOKENS; ++j) panel.history[h][j] = token(j + h);
        panel.history_counts[h] = STATE_LINE_TOKENS;
    }
    panel.history_count = STATE_HISTORY;
    std::strcpy(panel.result_text, "-1.234567890123E-45");
    panel.result_shown = true;
    panel.result_re = -1.234567890123e-45;
    g_state_host.apply_panel(panel);
}

void BM_SaveLargestState(benchmark::State& state) {
    make_largest_state();
    std::size_t bytes = 0;
    for (auto _ : state) {
        std::string text = save_state_text();
        bytes = text.size();
        benchmark::DoNotOptimize(text);
    }
    state.counters["bytes"] = static_cast<double>(bytes);
}
BENCHMARK(BM_SaveLargestState)->Unit(benchmark::kMillisecond);

void BM_LoadLargestState(benchmark::State& state) {
    make_largest_state();
    const std::string text = save_state_text();
    int applied = 0;
    for (auto _ : state) {
        const LoadReport r = load_state_text(text);
        applied = r.applied;
        benchmark::DoNotOptimize(applied);
    }
    state.counters["records"] = applied;
}
BENCHMARK(BM_LoadLargestState)->Unit(benchmark::kMillisecond);

}  // namespace

BENCHMARK_MAIN();
