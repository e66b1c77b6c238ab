// fnInt against GSL's adaptive 61-point Gauss-Kronrod integrator on the same
// integrands, fnInt against as many plain runs of the compiled integrand as
// it evaluates, and fnMin on a smooth function.
#include <benchmark/benchmark.h>
#include <gsl/gsl_errno.h>
#include <gsl/gsl_integration.h>

#include <cmath>
#include <vector>

#include "engine/errors.h"
#include "engine/evaluator.h"
#include "engine/hooks.h"
#include "engine/memory.h"
#include "engine/settings.h"
#include "matrix/store.h"
#include "numeric/calculus.h"

namespace {

using qx::TokenCode;

// Token codes as the keyboard produces them.
constexpr TokenCode T_FNINT = 468, T_FNMIN = 475, T_ONE = 33, T_ZERO = 38, T_TWO = 34,
                    T_DIV = 32, T_SQRT = 14, T_X = 859, T_COMMA = 20, T_CLOSE = 4, T_OPEN = 3,
                    T_E = 217, T_POW = 13, T_NEG = 17, T_SQ = 9, T_MINUS = 37, T_PLUS = 36,
                    T_COS = 6, T_POINT = 39, T_THREE = 35;

const std::vector<TokenCode> kInvSqrt = {T_ONE, T_DIV, T_SQRT, T_X};
const std::vector<TokenCode> kGauss = {T_E, T_POW, T_OPEN, T_NEG, T_OPEN, T_X, T_SQ, T_CLOSE, T_CLOSE};
// (x - 1.3)^2 + cos(x) on [0, 3]
const std::vector<TokenCode> kSmooth = {T_OPEN, T_X,  T_MINUS, T_ONE, T_POINT, T_THREE, T_CLOSE,
                                        T_SQ,   T_PLUS, T_COS, T_X,  T_CLOSE};

std::vector<TokenCode> call(TokenCode fn, const std::vector<TokenCode>& body,
                            const std::vector<TokenCode>& lower, const std::vector<TokenCode>& upper) {
    std::vector<TokenCode> t{fn};
    t.insert(t.end(), body.begin(), body.end());
    t.push_back(T_COMMA);
    t.push_back(T_X);
    t.push_back(T_COMMA);
    t.insert(t.end(), lower.begin(), lower.end());
    t.push_back(T_COMMA);
    t.insert(t.end(), upper.begin(), upper.end());
    t.push_back(T_CLOSE);
    return t;
}

void setup_engine() {
    static bool done = false;
    if (!done) {
        qx::init_operator_table();
        done = true;
    }
    qx::reset_settings();
    qx::reset_hooks();
    qx::install_matrix_engine_hooks();
    qx::install_calculus_hooks();
    qx::clear_error();
}

// --- GSL ------------------------------------------------------------------------------

long g_gsl_calls = 0;
double inv_sqrt(double x, void*) {
    ++g_gsl_calls;
    return 1.0 / std::sqrt(x);
}
double gauss(double x, void*) {
    ++g_gsl_calls;
    return std::exp(-(x * x));
}

void run_gsl(benchmark::State& state, double (*f)(double, void*), double a, double b) {
    gsl_set_error_handler_off();
    gsl_integration_workspace* w = gsl_integration_workspace_alloc(200);
    gsl_function F{f, nullptr};
    double result = 0, abserr = 0;
    long calls = 0;
    for (auto _ : state) {
        g_gsl_calls = 0;
        gsl_integration_qag(&F, a, b, 0.0, 1e-9, 200, GSL_INTEG_GAUSS61, w, &result, &abserr);
        calls = g_gsl_calls;
        benchmark::DoNotOptimize(result);
    }
    gsl_integration_workspace_free(w);
    state.counters["evals"] = static_cast<double>(calls);
    state.counters["result"] = result;
}

void BM_Gsl_InvSqrt(benchmark::State& s) { run_gsl(s, inv_sqrt, 0.0, 1.0); }
void BM_Gsl_Gauss(benchmark::State& s) { run_gsl(s, gauss, -10.0, 10.0); }

// --- fnInt through the evaluator ---------------------------------------------------------

long run_fn(benchmark::State& state, const std::vector<TokenCode>& tokens) {
    setup_engine();
    qx::Evaluate_Input(tokens.data(), static_cast<int>(tokens.size()));
    long evals = 0;
    for (auto _ : state) {
        qx::calculus_reset_sample_count();
        qx::Evaluate_Input_2();
        evals = qx::calculus_sample_count();
        if (qx::error_pending()) {
            state.SkipWithError("evaluation failed");
            break;
        }
        benchmark::ClobberMemory();
    }
    state.counters["evals"] = static_cast<double>(evals);
    state.counters["result"] = qx::g_ans.re;
    return evals;
}

const std::vector<TokenCode> kIntInvSqrt = call(T_FNINT, kInvSqrt, {T_ZERO}, {T_ONE});
const std::vector<TokenCode> kIntGauss =
    call(T_FNINT, kGauss, {T_NEG, T_ONE, T_ZERO}, {T_ONE, T_ZERO});

long g_count_inv_sqrt = 0, g_count_gauss = 0;
void BM_FnInt_InvSqrt(benchmark::State& s) { g_count_inv_sqrt = run_fn(s, kIntInvSqrt); }
void BM_FnInt_Gauss(benchmark::State& s) { g_count_gauss = run_fn(s, kIntGauss); }

// The integrand alone, compiled once and run at as many points as fnInt
// evaluated: the cost fnInt cannot go below.
void run_plain(benchmark::State& state, const std::vector<TokenCode>& body, long count, double a,
               double b) {
    setup_engine();
    qx::Evaluate_Input(body.data(), static_cast<int>(body.size()));
    double h = (b - a) / static_cast<double>(count + 1);
    for (auto _ : state) {
        for (long k = 0; k < count; ++k) {
            qx::memory_set(a + h * static_cast<double>(k + 1), 0, qx::MEM_X);
            qx::Evaluate_Input();
            benchmark::ClobberMemory();
        }
    }
    state.counters["evals"] = static_cast<double>(count);
}

void BM_Plain_InvSqrt(benchmark::State& s) { run_plain(s, kInvSqrt, g_count_inv_sqrt, 0.0, 1.0); }
void BM_Plain_Gauss(benchmark::State& s) { run_plain(s, kGauss, g_count_gauss, -10.0, 10.0); }

// --- fnMin ------------------------------------------------------------------------------

const std::vector<TokenCode> kMinSmooth = call(T_FNMIN, kSmooth, {T_ZERO}, {T_THREE});
void BM_FnMin_Smooth(benchmark::State& s) { run_fn(s, kMinSmooth); }

}  // namespace

BENCHMARK(BM_Gsl_InvSqrt);
BENCHMARK(BM_FnInt_InvSqrt);
BENCHMARK(BM_Plain_InvSqrt);
BENCHMARK(BM_Gsl_Gauss);
BENCHMARK(BM_FnInt_Gauss);
BENCHMARK(BM_Plain_Gauss);
BENCHMARK(BM_FnMin_Smooth);
BENCHMARK_MAIN();
