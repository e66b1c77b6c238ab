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

HeadlessWindow& calculator() {
    static HeadlessWindow window;
    static bool started = false;
    if (!started) {
        window.set_logger([](const std::string&) {});
        calculator_startup(window);
        started = true;
    }
    return window;
}

void tap(HeadlessWindow& w, int key) {
    const KeyRect r = key_rect(current_face(), key);
    Event e;
    e.type = EventType::StylusDown;
    e.x = (r.left + r.right) / 2;
    e.y = (r.top + r.bottom) / 2;
    w.push_event(e);
    e.type = EventType::StylusUp;
    w.push_event(e);
    while (w.events_pending()) main_loop_turn();
}

// 10,000 taps per iteration: digits, with AC before the line fills up.
void BM_TenThousandKeyTaps(benchmark::State& state) {
    HeadlessWindow& w = calculator();
    static const int kDigits[] = {33, 34, 35, 28, 29, 30, 23, 24, 25, 38};
    for (auto _ : state) {
        for (int k = 0; k < 10000; ++k) tap(w, k % 90 == 89 ? 27 : kDigits[k % 10]);
    }
    state.counters["taps/s"] = benchmark::Counter(10000.0 * static_cast<double>(state.iterations()),
                                                  benchmark::Counter::kIsRate);
}
BENCHMARK(BM_TenThousandKeyTaps)->Unit(benchmark::kMillisecond);

void BM_FullFacePaint(benchmark::State& state) {
    calculator();
    g_settings.calculator_mode = static_cast<int>(state.range(0));
    Surface s(240, 320);
    for (auto _ : state) compose_face(s);
    g_settings.calculator_mode = MODE_COMP;
}
BENCHMARK(BM_FullFacePaint)->Arg(MODE_COMP)->Arg(MODE_STATS)->Arg(MODE_PROG)->Unit(benchmark::kMicrosecond);

}  // namespace

BENCHMARK_MAIN();
