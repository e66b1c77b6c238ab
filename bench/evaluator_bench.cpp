// Evaluation speed: compiling and running a 20-token expression, and
// running an expression compiled once (as plotting and programs do).
#include <benchmark/benchmark.h>

#include <vector>

#include "engine/errors.h"
#include "engine/evaluator.h"
#include "engine/hooks.h"

namespace {

// sin(2.5) + 3^2 * (4 - 1) / 7 + A
const std::vector<qx::TokenCode> kTokens = {5,  34, 39, 29, 4,  36, 35, 13, 34, 31,
                                            3,  28, 37, 33, 4,  32, 23, 36, 810, 36, 33};

void BM_CompileAndRun(benchmark::State& state) {
    qx::init_operator_table();
    qx::CompiledExpression expr;
    for (auto _ : state) {
        qx::compile_expression(kTokens.data(), static_cast<int>(kTokens.size()), expr);
        qx::run_and_store(expr);
        benchmark::DoNotOptimize(qx::g_registers[0].re);
        if (qx::error_pending()) state.SkipWithError("evaluation failed");
    }
}
BENCHMARK(BM_CompileAndRun);

void BM_RunCompiled(benchmark::State& state) {
    qx::init_operator_table();
    static qx::CompiledExpression expr;
    qx::compile_expression(kTokens.data(), static_cast<int>(kTokens.size()), expr);
    for (auto _ : state) {
        qx::run_and_store(expr);
        benchmark::DoNotOptimize(qx::g_registers[0].re);
        if (qx::error_pending()) state.SkipWithError("evaluation failed");
    }
}
BENCHMARK(BM_RunCompiled);

}  // namespace

BENCHMARK_MAIN();
