// Residual checks of the factorisations on 200 random matrices of every
// size from 2 to 30 and on the Hilbert matrices of order 5 to 8: each
// factorisation must reproduce its matrix to a few rounding units.
#include <cmath>
#include <random>
#include <string>
#include <utility>
#include <vector>

#include "matrix/library_internal.h"
#include "tests/matrix/library_helpers.h"

namespace qx::test::lib {
namespace {

constexpr double kEps = 2.220446049250313e-16;

// 200 matrices, sizes cycling through 2..30; every fourth has rows scaled
// over six orders of magnitude, which the row-scaled pivoting must absorb.
std::vector<Matrix> random_matrices() {
    std::mt19937_64 gen(0x5eed2024);
    std::uniform_real_distribution<double> uni(-1.0, 1.0);
    std::vector<Matrix> out;
    for (int k = 0; k < 200; ++k) {
        const int n = 2 + k % 29;
        std::vector<double> v;
        for (int i = 0; i < n; ++i) {
            const double row_scale = (k % 4 == 3) ? std::pow(10.0, (i % 7) - 3) : 1.0;
            for (int j = 0; j < n; ++j) v.push_back(uni(gen) * row_scale);
        }
        out.push_back(make(n, n, v));
    }
    return out;
}

std::vector<Matrix> hilberts() {
    std::vector<Matrix> out;
    for (int n = 5; n <= 8; ++n) out.push_back(hilbert(n));
    return out;
}

Matrix symmetric_part(const Matrix& a) {
    Matrix s = a;
    for (int i = 0; i < a.rows(); ++i)
        for (int j = 0; j < a.columns(); ++j) s.e[i][j] = a.e[i][j] + a.e[j][i];
    return s;
}

double orthogonality(const Matrix& q) {
    Matrix g = times(transposed(q), q);
    for (int i = 0; i < g.rows(); ++i) g.e[i][i] -= 1.0;
    return frobenius(g);
}

void check_lu(const Matrix& a, const std::string& what) {
    LuFactors f;
    ASSERT_TRUE(lu_decompose(a, f)) << what;
    const int n = a.rows();
    Matrix l = identity_of(n), u = identity_of(n), pa = a;
    for (int i = 0; i < n; ++i)
        for (int j = 0; j < n; ++j) {
            l.e[i][j] = j < i ? f.lu.e[i][j] : (i == j ? 1.0 : 0.0);
            u.e[i][j] = j >= i ? f.lu.e[i][j] : 0.0;
            pa.e[i][j] = a.e[f.permutation[i]][j];
        }
    EXPECT_LE(frobenius(minus(pa, times(l, u))), 30 * n * kEps * frobenius(a)) << what;
    // Row-scaled pivoting keeps every multiplier at most 1 in the scaled sense;
    // at least the determinant's sign must match the permutation's parity.
    int parity = 1;
    int perm[MATRIX_STORAGE];
    for (int i = 0; i < n; ++i) perm[i] = f.permutation[i];
    for (int i = 0; i < n; ++i)
        while (perm[i] != i) {
            std::swap(perm[i], perm[perm[i]]);
            parity = -parity;
        }
    EXPECT_EQ(parity, f.sign) << what;
}

void check_svd(const Matrix& a, const std::string& what) {
    Matrix u, v;
    double w[MATRIX_STORAGE];
    ASSERT_TRUE(svd_decompose(a, u, w, v)) << what;
    const int n = a.columns();
    Matrix us = u;
    for (int i = 0; i < a.rows(); ++i)
        for (int j = 0; j < n; ++j) us.e[i][j] = u.e[i][j] * w[j];
    EXPECT_LE(frobenius(minus(a, times(us, transposed(v)))), 30 * n * kEps * frobenius(a)) << what;
    EXPECT_LE(orthogonality(u), 1e-13) << what;
    EXPECT_LE(orthogonality(v), 1e-13) << what;
    for (int j = 1; j < n; ++j) EXPECT_GE(w[j - 1], w[j]) << what;
    EXPECT_GE(w[n - 1], 0.0) << what;
}

void check_qr(const Matrix& a, const std::string& what) {
    Matrix q, r;
    qr_decompose(a, q, r);
    const int n = a.columns();
    EXPECT_LE(orthogonality(q), 1e-13) << what;
    EXPECT_LE(frobenius(minus(a, times(q, r))), 30 * n * kEps * frobenius(a)) << what;
    for (int i = 0; i < n; ++i)
        for (int j = 0; j < i; ++j) EXPECT_EQ(r.e[i][j], 0.0) << what;
}

void check_eigen(const Matrix& a, const std::string& what, bool symmetric) {
    Matrix d, v;
    ASSERT_TRUE(eigen_decompose(a, d, v)) << what;
    const double residual = frobenius(minus(times(a, v), times(v, d)));
    EXPECT_LE(residual, 1e-12 * frobenius(a) * frobenius(v)) << what;
    if (symmetric) {
        EXPECT_LE(orthogonality(v), 1e-13) << what;
        for (int i = 1; i < a.rows(); ++i) EXPECT_LE(d.e[i - 1][i - 1], d.e[i][i]) << what;
    }
    // Every column (or complex pair of columns) has unit length.
    for (int j = 0; j < a.rows(); ++j) {
        double s = 0.0;
        const bool pair = j + 1 < a.rows() && d.e[j][j + 1] != 0.0;
        for (int i = 0; i < a.rows(); ++i) {
            s += v.e[i][j] * v.e[i][j];
            if (pair) s += v.e[i][j + 1] * v.e[i][j + 1];
        }
        EXPECT_NEAR(s, 1.0, 1e-13) << what << " column " << j;
        if (pair) ++j;
    }
}

void check_cholesky(const Matrix& a, const std::string& what) {
    Matrix l;
    ASSERT_TRUE(cholesky_decompose(a, l)) << what;
    const int n = a.rows();
    EXPECT_LE(frobenius(minus(a, times(l, transposed(l)))), 30 * n * kEps * frobenius(a)) << what;
}

TEST_F(MatrixLibraryTest, LuResiduals) {
    int k = 0;
    for (const Matrix& a : random_matrices()) check_lu(a, "random " + std::to_string(k++));
    for (const Matrix& h : hilberts()) check_lu(h, "Hilbert " + std::to_string(h.rows()));
}

TEST_F(MatrixLibraryTest, SvdResiduals) {
    int k = 0;
    for (const Matrix& a : random_matrices()) check_svd(a, "random " + std::to_string(k++));
    for (const Matrix& h : hilberts()) check_svd(h, "Hilbert " + std::to_string(h.rows()));
    // Tall ones: the first columns of the square matrices.
    k = 0;
    for (const Matrix& a : random_matrices()) {
        if (a.rows() < 4 || k++ % 3) continue;
        Matrix t = a;
        t.last_column = a.rows() / 2 - 1;
        check_svd(t, "tall " + std::to_string(k));
        check_qr(t, "tall " + std::to_string(k));
    }
}

TEST_F(MatrixLibraryTest, QrResiduals) {
    int k = 0;
    for (const Matrix& a : random_matrices()) check_qr(a, "random " + std::to_string(k++));
    for (const Matrix& h : hilberts()) check_qr(h, "Hilbert " + std::to_string(h.rows()));
}

TEST_F(MatrixLibraryTest, EigenResiduals) {
    int k = 0;
    for (const Matrix& a : random_matrices()) {
        check_eigen(a, "random " + std::to_string(k), false);
        check_eigen(symmetric_part(a), "symmetric " + std::to_string(k), true);
        ++k;
    }
    for (const Matrix& h : hilberts()) check_eigen(h, "Hilbert " + std::to_string(h.rows()), true);
}

TEST_F(MatrixLibraryTest, CholeskyResiduals) {
    int k = 0;
    for (const Matrix& a : random_matrices()) {
        if (k++ % 2) continue;
        // A'A plus the identity: symmetric positive definite, exactly symmetric.
        Matrix spd = times(transposed(a), a);
        for (int i = 0; i < a.rows(); ++i) {
            spd.e[i][i] += 1.0;
            for (int j = 0; j < i; ++j) spd.e[i][j] = spd.e[j][i];
        }
        check_cholesky(spd, "random " + std::to_string(k));
    }
    for (const Matrix& h : hilberts()) check_cholesky(h, "Hilbert " + std::to_string(h.rows()));
}

TEST_F(MatrixLibraryTest, InverseAndSolversThroughTheDispatcher) {
    int k = 0;
    for (const Matrix& a : random_matrices()) {
        if (k++ % 5) continue;
        const int n = a.rows();
        Call inv = call(10, a);
        ASSERT_TRUE(inv.ok) << k;
        Matrix ai = times(a, inv.r);
        for (int i = 0; i < n; ++i) ai.e[i][i] -= 1.0;
        EXPECT_LE(frobenius(ai), 30 * n * kEps * frobenius(a) * frobenius(inv.r)) << k;
        if (n >= MATRIX_MAX) continue;
        // [A b] with b = A x for a known x.
        Matrix aug = a;
        aug.last_column = n;
        for (int i = 0; i < n; ++i) {
            double s = 0.0;
            for (int j = 0; j < n; ++j) s += a.e[i][j] * (j + 1);
            aug.e[i][n] = s;
        }
        // Backward stable: the residual is a few rounding units of |A| |x|.
        for (int op : {62, 63, 65}) {
            Call x = call(op, aug);
            ASSERT_TRUE(x.ok) << op << " " << k;
            Matrix b = aug;
            b.last_column = 0;
            for (int i = 0; i < n; ++i) b.e[i][0] = aug.e[i][n];
            EXPECT_LE(frobenius(minus(times(a, x.r), b)),
                      30 * n * kEps * frobenius(a) * frobenius(x.r))
                << op << " " << k;
        }
    }
}

// Iterations are bounded and faults stop them: a NaN among the elements
// ends with an error, never with a loop that runs on or a silent result.
TEST_F(MatrixLibraryTest, NonFiniteInputEndsWithAnError) {
    const double nan = std::nan("");
    const Matrix a = make(3, 3, {1, 2, 3, 4, nan, 6, 7, 8, 10});
    for (int op : {59, 10, 69, 70, 79, 85, 86, 77}) {
        Call c = call(op, a);
        EXPECT_FALSE(c.ok) << op;
        EXPECT_EQ(c.r.last_row, -7) << op;
    }
    const Matrix s = make(2, 2, {1, nan, nan, 1});
    EXPECT_FALSE(call(85, s).ok);
    EXPECT_FALSE(call(74, s).ok);
}

// Matrices with exact zeros, repeated values, defective blocks and extreme
// scales: the decompositions succeed without a floating-point fault and
// still reproduce the matrix.
TEST_F(MatrixLibraryTest, SpecialMatricesDecomposeWithoutFaults) {
    std::vector<std::pair<std::string, Matrix>> cases = {
        {"zero", make(3, 3, std::vector<double>(9, 0.0))},
        {"one by one", make(1, 1, {-3})},
        {"identity", identity_of(5)},
        {"diagonal", make(3, 3, {3, 0, 0, 0, -1, 0, 0, 0, 2})},
        {"jordan", make(3, 3, {2, 1, 0, 0, 2, 1, 0, 0, 2})},
        {"nilpotent", make(3, 3, {0, 1, 0, 0, 0, 1, 0, 0, 0})},
        {"rank one", make(3, 3, {1, 2, 3, 2, 4, 6, 3, 6, 9})},
        {"upper", make(4, 4, {1, 2, 3, 4, 0, 5, 6, 7, 0, 0, 8, 9, 0, 0, 0, 10})},
        {"lower", make(3, 3, {1, 0, 0, 2, 3, 0, 4, 5, 6})},
        {"ones", make(4, 4, std::vector<double>(16, 1.0))},
        {"huge", make(2, 2, {1e300, -2e300, 3e300, 4e299})},
        {"tiny", make(2, 2, {1e-300, 2e-300, -3e-300, 4e-301})},
        {"mixed scales", make(3, 3, {1e150, 1, 0, 1, 1e-150, 1, 0, 1, 1})},
        {"subnormal", make(2, 2, {4e-320, 0, 0, 1})},
        {"rotation", make(2, 2, {0.6, -0.8, 0.8, 0.6})},
        {"zero column", make(3, 3, {1, 0, 2, 3, 0, 4, 5, 0, 6})},
        {"zero row", make(3, 3, {1, 2, 3, 0, 0, 0, 4, 5, 6})},
    };
    for (auto& [name, a] : cases) {
        for (int op : {59, 60, 61, 68, 69, 70, 75, 76, 77, 78, 80, 81, 82, 85, 86}) {
            if (op == 59 && name == "huge") continue;   // its determinant does overflow
            Call c = call(op, a);
            EXPECT_TRUE(c.ok) << name << " op " << op << ": " << c.code << " " << c.detail;
        }
        check_svd(a, name);
        check_qr(a, name);
        Matrix d, v;
        ASSERT_TRUE(eigen_decompose(a, d, v)) << name;
        // Defective matrices have (nearly) dependent vectors, but A V = V D
        // holds all the same.
        const double scale = max_abs(a) > 0.0 ? max_abs(a) : 1.0;
        EXPECT_LE(max_abs(minus(times(a, v), times(v, d))), 1e-12 * scale) << name;
    }
}

// An iteration that reaches its bound is an error with R untouched, never
// a result.  The bounds are lowered here to reach them on ordinary input.
TEST_F(MatrixLibraryTest, IterationsThatDoNotConvergeAreErrors) {
    const Matrix a = random_matrices()[20];   // 22 x 22
    const Matrix s = symmetric_part(a);
    struct Case {
        int op;
        const Matrix* m;
        matlib::IterationLimits limits;
        const char* detail;
    };
    const Case cases[] = {
        {70, &a, {1, 60, 30}, "Singular values did not converge, "},
        {69, &a, {1, 60, 30}, "Singular values did not converge, "},
        {65, &a, {1, 60, 30}, "Singular values did not converge, "},
        {85, &s, {30, 1, 30}, "Eigenvalues did not converge, "},
        {86, &a, {30, 60, 1}, "Eigenvalues did not converge, "},
    };
    for (const Case& c : cases) {
        matlib::g_iteration_limits = c.limits;
        Call r = call(c.op, *c.m);
        matlib::g_iteration_limits = matlib::DEFAULT_ITERATION_LIMITS;
        EXPECT_EQ(r.code, ERR_MATH) << c.op;
        EXPECT_EQ(r.detail, c.detail) << c.op;
        EXPECT_EQ(r.r.last_row, -7) << c.op;
        EXPECT_EQ(r.out.kind, MatrixResult::None) << c.op;
    }
    // With the usual bounds the same matrices converge.
    for (const Case& c : cases) EXPECT_TRUE(call(c.op, *c.m).ok) << c.op;
}

}  // namespace
}  // namespace qx::test::lib
