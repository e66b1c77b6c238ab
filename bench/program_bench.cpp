// Program speed: the interpreter's hot path (a loop of 300,000 statements,
// B+A>B for A = 1..100000) and the built-in Prime Factors of 2147483647,
// each run to its end the way the main loop drives it.  The peer is bc
// summing the same numbers in its own loop (process start included).
#include <benchmark/benchmark.h>

#include <cstdio>
#include <string>

#include "engine/evaluator.h"
#include "engine/expression_cache.h"
#include "engine/hooks.h"
#include "engine/memory.h"
#include "engine/settings.h"
#include "programs/assembler.h"
#include "programs/interpreter.h"
#include "programs/program.h"

using namespace qx;

namespace {

void load_source(const char* source) {
    std::string text, error;
    if (!assemble_programs(source, &text, &error)) std::abort();
    if (read_program_text(g_program, text.data(), text.size(), false) <= 0) std::abort();
}

void run_to_end() {
    start_program();
    while (program_running()) {
        program_step();
        if (program_waiting() || program_paused()) break;
    }
}

void BM_LoopOf300000Statements(benchmark::State& state) {
    engine_startup();
    reset_settings();
    load_source(
        "program Sum\n"
        "expr 0 >B\n"
        "expr 100000 >A\n"
        "loop A\n"
        "expr B + A >B\n"
        "end\n");
    for (auto _ : state) {
        run_to_end();
        if (memory_get(11, 0) != 5000050000.0) state.SkipWithError("wrong sum");
    }
}
BENCHMARK(BM_LoopOf300000Statements)->Unit(benchmark::kMillisecond);

// Prime Factors waits for its number and pauses after each factor: the
// bench answers and resumes as the keys would.
void BM_PrimeFactorsOf2147483647(benchmark::State& state) {
    engine_startup();
    reset_settings();
    install_program_engine_hooks();
    static const TokenCode kNumber[] = {34, 33, 28, 23, 28, 24, 35, 30, 28, 23};   // 2147483647
    for (auto _ : state) {
        if (load_program("Prime Factors", true) <= 0) {
            state.SkipWithError("no Prime Factors");
            return;
        }
        clear_program_input_buffers();
        start_program();
        int outputs = 0;
        while (program_running()) {
            program_step();
            if (program_paused()) {
                ++outputs;
                resume_program();
            }
            if (program_waiting()) {
                program_input_entered(kNumber, 10);
                clear_error();
                Evaluate_Input(kNumber, 10);
                Evaluate_Input_2();
            }
        }
        benchmark::DoNotOptimize(outputs);
    }
}
BENCHMARK(BM_PrimeFactorsOf2147483647)->Unit(benchmark::kMillisecond);

void BM_BcSumPeer(benchmark::State& state) {
    for (auto _ : state) {
        std::FILE* p = popen("echo 's=0; for (a = 1; a <= 100000; a++) s = s + a; s' | bc -q", "r");
        if (!p) {
            state.SkipWithError("bc is not installed");
            return;
        }
        char line[64] = {0};
        if (!std::fgets(line, sizeof line, p) || std::string(line) != "5000050000\n")
            state.SkipWithError("bc gave another sum");
        pclose(p);
    }
}
BENCHMARK(BM_BcSumPeer)->Unit(benchmark::kMillisecond);

}  // namespace

BENCHMARK_MAIN();
