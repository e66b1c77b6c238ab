// The front panel's speed: key taps through the whole path (hit test,
// decode, insert, redraw of the display lines and presenting the screen)
// and a full face paint.
#include <benchmark/benchmark.h>

#include "engine/settings.h"
#include "panel/face.h"
#include "panel/input_line.h"
#include "panel/key_decoder.h"
#include "panel/shell.h"
#include "panel/ui.h"
#include "platform/window_headless.h"

using namespace qx;

namespace {

// 10,000 taps per iteration: digits, with AC before the line fills up.
void BM_TenThousandKeyTaps(benchmark::State& state) {
    HeadlessWindow& w = silent_headless_calculator();
    static const int kDigits[] = {33, 34, 35, 28, 29, 30, 23, 24, 25, 38};
    for (auto _ : state) {
        for (int k = 0; k < 10000; ++k) tap_key_centre(w, k % 90 == 89 ? 27 : kDigits[k % 10]);
    }
    state.counters["taps/s"] = benchmark::Counter(10000.0 * static_cast<double>(state.iterations()),
                                                  benchmark::Counter::kIsRate);
}
BENCHMARK(BM_TenThousandKeyTaps)->Unit(benchmark::kMillisecond);

void BM_FullFacePaint(benchmark::State& state) {
    silent_headless_calculator();
    g_settings.calculator_mode = static_cast<int>(state.range(0));
    Surface s(240, 320);
    for (auto _ : state) compose_face(s);
    g_settings.calculator_mode = MODE_COMP;
}
BENCHMARK(BM_FullFacePaint)->Arg(MODE_COMP)->Arg(MODE_STATS)->Arg(MODE_PROG)->Unit(benchmark::kMicrosecond);

}  // namespace

BENCHMARK_MAIN();
