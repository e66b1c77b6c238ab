// The matrix library at the largest size, 30 x 30, beside Eigen on the
// same matrices (dynamic sizes): determinant, inverse, singular value
// decomposition, eigenvectors of a non-symmetric matrix, and A^1000 of an
// orthogonal matrix (whose powers stay bounded).  Ours is measured through
// the dispatcher, the way an expression reaches it.  Eigen is the peer the
// library is measured against, nothing more.
#include <benchmark/benchmark.h>

#include <Eigen/Dense>
#include <cmath>
#include <cstring>
#include <random>

#include "engine/errors.h"
#include "engine/evaluator.h"
#include "engine/memory.h"
#include "matrix/library.h"
#include "matrix/store.h"

#include <initializer_list>
#include <vector>

namespace {

constexpr int kN = 30;

// The same random 30 x 30 matrix for both sides.
Eigen::MatrixXd random_eigen() {
    std::mt19937_64 gen(20240611);
    std::uniform_real_distribution<double> uni(-1.0, 1.0);
    Eigen::MatrixXd m(kN, kN);
    for (int i = 0; i < kN; ++i)
        for (int j = 0; j < kN; ++j) m(i, j) = uni(gen);
    return m;
}

// An orthogonal matrix: the Q factor of the random one.
Eigen::MatrixXd orthogonal_eigen() {
    Eigen::HouseholderQR<Eigen::MatrixXd> qr(random_eigen());
    return qr.householderQ() * Eigen::MatrixXd::Identity(kN, kN);
}

qx::Matrix to_quorix(const Eigen::MatrixXd& m) {
    qx::Matrix a;
    std::memset(&a, 0, sizeof a);
    a.last_row = static_cast<int>(m.rows()) - 1;
    a.last_column = static_cast<int>(m.cols()) - 1;
    a.defined = true;
    for (int i = 0; i < m.rows(); ++i)
        for (int j = 0; j < m.cols(); ++j) a.e[i][j] = m(i, j);
    return a;
}

void run_quorix(benchmark::State& state, int op, const qx::Matrix& a, double scalar,
                bool scalar_flag) {
    static qx::Matrix r;
    const double s[4] = {scalar, 0.0, 0.0, 0.0};
    for (auto _ : state) {
        qx::MatrixOutcome out = qx::matrix_dispatch(op, a, a, s, scalar_flag, r);
        benchmark::DoNotOptimize(out);
        benchmark::DoNotOptimize(r.e[0][0]);
        if (qx::error_pending()) {
            state.SkipWithError(qx::error_text());
            qx::clear_error();
            break;
        }
    }
}

// ----------------------------------------------------------- determinant

void BM_Det_Quorix(benchmark::State& state) { run_quorix(state, 59, to_quorix(random_eigen()), 0, false); }
BENCHMARK(BM_Det_Quorix);

void BM_Det_Eigen(benchmark::State& state) {
    const Eigen::MatrixXd a = random_eigen();
    for (auto _ : state) {
        double d = a.determinant();
        benchmark::DoNotOptimize(d);
    }
}
BENCHMARK(BM_Det_Eigen);

// --------------------------------------------------------------- inverse

void BM_Inverse_Quorix(benchmark::State& state) { run_quorix(state, 10, to_quorix(random_eigen()), 0, false); }
BENCHMARK(BM_Inverse_Quorix);

void BM_Inverse_Eigen(benchmark::State& state) {
    const Eigen::MatrixXd a = random_eigen();
    Eigen::MatrixXd r(kN, kN);
    for (auto _ : state) {
        r = a.inverse();
        benchmark::DoNotOptimize(r.data());
    }
}
BENCHMARK(BM_Inverse_Eigen);

// ------------------------------------------------ singular values (U, S, V)

void BM_Svd_Quorix(benchmark::State& state) {
    // SVD_U: the whole decomposition, U returned.
    run_quorix(state, 77, to_quorix(random_eigen()), 0, false);
}
BENCHMARK(BM_Svd_Quorix);

void BM_Svd_EigenJacobi(benchmark::State& state) {
    const Eigen::MatrixXd a = random_eigen();
    for (auto _ : state) {
        Eigen::JacobiSVD<Eigen::MatrixXd> svd(a, Eigen::ComputeThinU | Eigen::ComputeThinV);
        benchmark::DoNotOptimize(svd.singularValues().data());
    }
}
BENCHMARK(BM_Svd_EigenJacobi);

void BM_Svd_EigenBdc(benchmark::State& state) {
    const Eigen::MatrixXd a = random_eigen();
    for (auto _ : state) {
        Eigen::BDCSVD<Eigen::MatrixXd> svd(a, Eigen::ComputeThinU | Eigen::ComputeThinV);
        benchmark::DoNotOptimize(svd.singularValues().data());
    }
}
BENCHMARK(BM_Svd_EigenBdc);

// ------------------------------------- eigenvectors of a non-symmetric matrix

void BM_EigenVectors_Quorix(benchmark::State& state) { run_quorix(state, 86, to_quorix(random_eigen()), 0, false); }
BENCHMARK(BM_EigenVectors_Quorix);

void BM_EigenVectors_Eigen(benchmark::State& state) {
    const Eigen::MatrixXd a = random_eigen();
    for (auto _ : state) {
        Eigen::EigenSolver<Eigen::MatrixXd> es(a, true);
        benchmark::DoNotOptimize(es.eigenvectors().data());
    }
}
BENCHMARK(BM_EigenVectors_Eigen);

// ------------------------------------------------------------------ A^1000

void BM_Power1000_Quorix(benchmark::State& state) {
    run_quorix(state, 13, to_quorix(orthogonal_eigen()), 1000, true);
}
BENCHMARK(BM_Power1000_Quorix);

// The same repeated squaring with Eigen's products.
void BM_Power1000_Eigen(benchmark::State& state) {
    const Eigen::MatrixXd a = orthogonal_eigen();
    Eigen::MatrixXd base(kN, kN), acc(kN, kN), tmp(kN, kN);
    for (auto _ : state) {
        base = a;
        bool started = false;
        for (int k = 1000;;) {
            if (k & 1) {
                if (!started) {
                    acc = base;
                    started = true;
                } else {
                    tmp.noalias() = acc * base;
                    acc.swap(tmp);
                }
            }
            k >>= 1;
            if (k == 0) break;
            tmp.noalias() = base * base;
            base.swap(tmp);
        }
        benchmark::DoNotOptimize(acc.data());
    }
}
BENCHMARK(BM_Power1000_Eigen);

// ------------------------------------------- the same through the evaluator
//
// The expression compiled once and run the way "=" runs it: [A] is read,
// the operation dispatched and the result stored into the answer.

void run_expression_bench(benchmark::State& state, const qx::Matrix& a,
                          std::initializer_list<qx::TokenCode> tokens) {
    qx::install_matrix_engine_hooks();
    qx::g_matrices[0] = a;
    static qx::CompiledExpression compiled;
    const std::vector<qx::TokenCode> t(tokens);
    qx::compile_expression(t.data(), static_cast<int>(t.size()), compiled);
    for (auto _ : state) {
        qx::run_and_store(compiled);
        if (qx::error_pending()) {
            state.SkipWithError(qx::error_text());
            qx::clear_error();
            break;
        }
        benchmark::DoNotOptimize(qx::g_matrices[qx::ANSWER_OBJECT].e[0][0]);
    }
}

constexpr qx::TokenCode kA = qx::TOK_READ_MEM_2 + qx::MEM_MATRIX_FIRST;

void BM_Det_Evaluator(benchmark::State& state) {
    run_expression_bench(state, to_quorix(random_eigen()), {1200, kA, qx::TOK_CLOSE_PAREN});
}
BENCHMARK(BM_Det_Evaluator);

void BM_Inverse_Evaluator(benchmark::State& state) {
    run_expression_bench(state, to_quorix(random_eigen()), {kA, 8});
}
BENCHMARK(BM_Inverse_Evaluator);

void BM_Svd_Evaluator(benchmark::State& state) {
    run_expression_bench(state, to_quorix(random_eigen()), {1214, kA, qx::TOK_CLOSE_PAREN});
}
BENCHMARK(BM_Svd_Evaluator);

void BM_EigenVectors_Evaluator(benchmark::State& state) {
    run_expression_bench(state, to_quorix(random_eigen()), {1226, kA, qx::TOK_CLOSE_PAREN});
}
BENCHMARK(BM_EigenVectors_Evaluator);

void BM_Power1000_Evaluator(benchmark::State& state) {
    // [A]^1000
    run_expression_bench(state, to_quorix(orthogonal_eigen()),
                         {kA, qx::TOK_POWER, qx::TOK_1, qx::TOK_0, qx::TOK_0, qx::TOK_0});
}
BENCHMARK(BM_Power1000_Evaluator);

}  // namespace

BENCHMARK_MAIN();
