// The matrix library through its dispatcher: results against 50-digit
// references, the worked examples, the commands and constructors, and the
// refusals with their codes and detail texts.
#include <algorithm>
#include <cmath>
#include <string>
#include <utility>
#include <vector>

#include "tests/matrix/library_helpers.h"

namespace qx::test::lib {
namespace {

struct RefCase {
    const char* kind;
    const char* label;
    int m, n;
    std::vector<double> a;
    int rm, rn;
    std::vector<double> expect;
    double tol;   // relative to the largest magnitude of the expected result
};

const RefCase kReference[] = {
#include "tests/reference/matrix_table.inc"
};

int op_of(const std::string& kind) {
    static const std::pair<const char*, int> kOps[] = {
        {"det", 59},     {"inv", 10},      {"lu_l", 71},     {"lu_u", 72},     {"lu_p", 73},
        {"chol", 74},    {"qr_q", 75},     {"qr_r", 76},     {"svd_w", 70},    {"solve_lu", 62},
        {"solve_qr", 63}, {"solve_ch", 64}, {"solve_sv", 65}, {"eig_sym", 85},  {"eig", 85},
    };
    for (const auto& k : kOps)
        if (kind == k.first) return k.second;
    return -1;
}

// Eigenvalues read back from eigenVal's real block form.
std::vector<std::pair<double, double>> eigenvalues_of(const Matrix& d) {
    std::vector<std::pair<double, double>> out;
    const int n = d.rows();
    for (int i = 0; i < n; ++i) {
        if (i + 1 < n && d.e[i][i + 1] != 0.0) {
            const double a = d.e[i][i], b = d.e[i][i + 1];
            out.emplace_back(a, -b);
            out.emplace_back(a, b);
            ++i;
        } else {
            out.emplace_back(d.e[i][i], 0.0);
        }
    }
    std::sort(out.begin(), out.end());
    return out;
}

TEST_F(MatrixLibraryTest, MatchesTheReferenceTable) {
    int checked = 0;
    for (const RefCase& c : kReference) {
        const std::string what = std::string(c.kind) + " of " + c.label;
        const int op = op_of(c.kind);
        ASSERT_GE(op, 0) << what;
        const Matrix a = make(c.m, c.n, c.a);
        Call r = call(op, a, {});
        ASSERT_TRUE(r.ok) << what << ": error " << r.code << " " << r.detail;
        double scale = 0.0;
        for (double x : c.expect) scale = std::max(scale, std::fabs(x));
        const double tol = std::max(c.tol * scale, 1e-300);
        const std::string kind = c.kind;
        if (kind == "det") {
            ASSERT_EQ(r.out.kind, MatrixResult::Scalar) << what;
            // The determinant's own cleaning: below 1e-14 is exactly 0.
            if (std::fabs(c.expect[0]) < 1e-14) {
                EXPECT_EQ(r.out.scalar, 0.0) << what;
            } else {
                EXPECT_NEAR(r.out.scalar, c.expect[0], tol) << what;
            }
        } else if (kind == "svd_w" || kind == "eig_sym") {
            ASSERT_EQ(r.r.rows(), c.rn) << what;
            ASSERT_EQ(r.r.columns(), c.rn) << what;
            for (int i = 0; i < c.rn; ++i) {
                EXPECT_NEAR(r.r.e[i][i], c.expect[static_cast<std::size_t>(i)], tol)
                    << what << " value " << i + 1;
                for (int j = 0; j < c.rn; ++j) {
                    if (j != i) {
                        EXPECT_EQ(r.r.e[i][j], 0.0) << what;
                    }
                }
            }
        } else if (kind == "eig") {
            const auto got = eigenvalues_of(r.r);
            const int n = c.rn / 2;
            ASSERT_EQ(static_cast<int>(got.size()), n) << what;
            for (int i = 0; i < n; ++i) {
                EXPECT_NEAR(got[static_cast<std::size_t>(i)].first,
                            c.expect[static_cast<std::size_t>(i)], tol)
                    << what << " value " << i + 1;
                EXPECT_NEAR(got[static_cast<std::size_t>(i)].second,
                            c.expect[static_cast<std::size_t>(n + i)], tol)
                    << what << " value " << i + 1;
            }
        } else {
            expect_matrix(r.r, c.rm, c.rn, c.expect, tol, what);
        }
        ++checked;
    }
    EXPECT_GT(checked, 150);
}

// ------------------------------------------------------------ worked examples

const Matrix kA = make(3, 3, {4, -2, 1, 3, 6, -4, 2, 1, 8});

TEST_F(MatrixLibraryTest, AcceptanceMatrix) {
    Call det = call(59, kA);
    ASSERT_EQ(det.out.kind, MatrixResult::Scalar);
    EXPECT_EQ(det.out.scalar, 263.0);
    EXPECT_EQ(call(68, kA).out.scalar, 18.0);
    Call cube = call(28, kA);
    expect_matrix(cube.r, 3, 3, {31, -118, 248, 60, 59, -506, 262, 68, 483}, 0.0, "A^3");
    Call p3 = call(13, kA, kA, {3}, true);
    expect_matrix(p3.r, 3, 3, {31, -118, 248, 60, 59, -506, 262, 68, 483}, 0.0, "A ^ 3");
    Call sq = call(14, kA);
    expect_matrix(sq.r, 3, 3, {12, -19, 20, 22, 26, -53, 27, 10, 62}, 0.0, "A^2");
    // The exponent is refused when it is not an integer of -1000..1000.
    for (double k : {1001.0, -1001.0, 2.5, 3e9}) {
        Call bad = call(13, kA, kA, {k}, true);
        EXPECT_FALSE(bad.ok) << k;
        EXPECT_EQ(bad.code, ERR_DOMAIN) << k;
        EXPECT_EQ(bad.detail, "Integer out of range, ") << k;
        EXPECT_EQ(bad.r.last_row, -7) << "a failure leaves R alone";
        EXPECT_EQ(bad.out.kind, MatrixResult::None);
        EXPECT_EQ(bad.out.scalar, 0.0);
    }
    Call by_zero = call(3, kA, kA, {0}, true);
    EXPECT_EQ(by_zero.code, ERR_DIV_ZERO);
    Call half = call(3, kA, kA, {2}, true);
    expect_matrix(half.r, 3, 3, {2, -1, 0.5, 1.5, 3, -2, 1, 0.5, 4}, 0.0, "A / 2");
    Call twice = call(0, kA, kA, {2}, true);
    expect_matrix(twice.r, 3, 3, {8, -4, 2, 6, 12, -8, 4, 2, 16}, 0.0, "2 A");
}

TEST_F(MatrixLibraryTest, PowersZeroOneAndNegative) {
    expect_matrix(call(13, kA, kA, {0}, true).r, 3, 3, {1, 0, 0, 0, 1, 0, 0, 0, 1}, 0.0, "A^0");
    expect_matrix(call(13, kA, kA, {1}, true).r, 3, 3, {4, -2, 1, 3, 6, -4, 2, 1, 8}, 0.0, "A^1");
    // A^-1 is the adjugate over 263; A^-2 its square.
    const std::vector<double> inv = {52.0 / 263, 17.0 / 263, 2.0 / 263, -32.0 / 263, 30.0 / 263,
                                     19.0 / 263, -9.0 / 263, -8.0 / 263, 30.0 / 263};
    expect_matrix(call(13, kA, kA, {-1}, true).r, 3, 3, inv, 1e-16, "A^-1");
    expect_matrix(call(10, kA).r, 3, 3, inv, 1e-16, "inverse");
    Call m2 = call(13, kA, kA, {-2}, true);
    Call i2 = call(14, call(10, kA).r);
    std::vector<double> inv2;
    for (int i = 0; i < 3; ++i)
        for (int j = 0; j < 3; ++j) inv2.push_back(i2.r.e[i][j]);
    expect_matrix(m2.r, 3, 3, inv2, 1e-15, "A^-2");
    // Binary powering gives the same A^10 as ten products.
    Matrix p = identity_of(3);
    for (int k = 0; k < 10; ++k) p = times(p, kA);
    Call p10 = call(13, kA, kA, {10}, true);
    for (int i = 0; i < 3; ++i)
        for (int j = 0; j < 3; ++j) EXPECT_EQ(p10.r.e[i][j], p.e[i][j]);   // integers, exact
    // A singular matrix has no negative powers.
    Call sing = call(13, make(2, 2, {1, 2, 2, 4}), {}, {-1}, true);
    EXPECT_EQ(sing.code, ERR_SINGULAR);
    // A power that overflows is an overflow, found by the IEEE flags.
    Call big = call(13, make(2, 2, {1e200, 0, 0, 1e200}), {}, {2}, true);
    EXPECT_EQ(big.code, ERR_OVERFLOW);
}

TEST_F(MatrixLibraryTest, LuPivotsOnTheScaledColumn) {
    const Matrix a = make(2, 2, {3, 1000, 2, 1});
    expect_matrix(call(73, a).r, 2, 2, {0, 1, 1, 0}, 0.0, "P");
    expect_matrix(call(71, a).r, 2, 2, {1, 0, 1.5, 1}, 0.0, "L");
    expect_matrix(call(72, a).r, 2, 2, {2, 1, 0, 998.5}, 0.0, "U");
    const Matrix s = make(2, 2, {0, 1, 1, 0});
    Matrix p = call(73, s).r, l = call(71, s).r, u = call(72, s).r;
    expect_matrix(p, 2, 2, {0, 1, 1, 0}, 0.0, "P of a swap");
    Matrix pa = times(p, s), lu = times(l, u);
    for (int i = 0; i < 2; ++i)
        for (int j = 0; j < 2; ++j) EXPECT_EQ(pa.e[i][j], lu.e[i][j]);
    for (int op : {71, 72, 73}) {
        Call c = call(op, make(3, 3, {1, 2, 3, 4, 5, 6, 7, 8, 9}));
        EXPECT_EQ(c.code, ERR_SINGULAR) << op;
        EXPECT_EQ(c.detail, "Matrix Singular Error, ") << op;
        EXPECT_EQ(call(op, make(2, 3, {1, 2, 3, 4, 5, 6})).code, ERR_NOT_SQUARE) << op;
    }
}

TEST_F(MatrixLibraryTest, CholeskyExamples) {
    expect_matrix(call(74, make(3, 3, {4, 12, -16, 12, 37, -43, -16, -43, 98})).r, 3, 3,
                  {2, 0, 0, 6, 1, 0, -8, 5, 3}, 0.0, "Cholesky 3x3");
    expect_matrix(call(74, make(2, 2, {4, 2, 2, 3})).r, 2, 2, {2, 0, 1, std::sqrt(2.0)}, 1e-15,
                  "Cholesky 2x2");
    Call ns = call(74, make(2, 2, {1, 2, 3, 4}));
    EXPECT_EQ(ns.code, ERR_NOT_SYMMETRIC);
    EXPECT_EQ(ns.detail, "Matrix not Symmetric, ");
    Call npd = call(74, make(2, 2, {1, 2, 2, 1}));
    EXPECT_EQ(npd.code, ERR_NOT_POS_DEF);
    EXPECT_EQ(npd.detail, "Matrix not positive definite, ");
    EXPECT_EQ(call(74, make(2, 3, {1, 2, 3, 4, 5, 6})).code, ERR_NOT_SQUARE);
}

TEST_F(MatrixLibraryTest, EigenvaluesInBlockForm) {
    Call rot = call(85, make(2, 2, {1, -2, 3, 1}));
    ASSERT_TRUE(rot.ok);
    expect_matrix(rot.r, 2, 2, {1, std::sqrt(6.0), -std::sqrt(6.0), 1}, 1e-14, "eigenVal rotation");
    Call quarter = call(85, make(2, 2, {0, 1, -1, 0}));
    expect_matrix(quarter.r, 2, 2, {0, 1, -1, 0}, 1e-15, "eigenVal quarter turn");
    // Symmetric: ascending on the diagonal, orthonormal vectors.
    const Matrix s = make(3, 3, {2, -1, 0, -1, 2, -1, 0, -1, 2});
    Call d = call(85, s);
    expect_matrix(d.r, 3, 3, {2 - std::sqrt(2.0), 0, 0, 0, 2, 0, 0, 0, 2 + std::sqrt(2.0)}, 1e-14,
                  "eigenVal symmetric");
    Call v = call(86, s);
    Matrix vtv = times(transposed(v.r), v.r);
    for (int i = 0; i < 3; ++i)
        for (int j = 0; j < 3; ++j) EXPECT_NEAR(vtv.e[i][j], i == j ? 1.0 : 0.0, 1e-15);
    // The vectors of the quarter turn satisfy A V = V D in real form.
    const Matrix q = make(2, 2, {0, 1, -1, 0});
    Matrix qv = times(q, call(86, q).r), vd = times(call(86, q).r, quarter.r);
    for (int i = 0; i < 2; ++i)
        for (int j = 0; j < 2; ++j) EXPECT_NEAR(qv.e[i][j], vd.e[i][j], 1e-15);
    EXPECT_EQ(call(85, make(2, 3, {1, 2, 3, 4, 5, 6})).code, ERR_NOT_SQUARE);
    EXPECT_EQ(call(86, make(2, 3, {1, 2, 3, 4, 5, 6})).code, ERR_NOT_SQUARE);
}

TEST_F(MatrixLibraryTest, EigenvaluesOfMatricesThatStallTheStandardShift) {
    // Permutation cycles have all eigenvalues on the unit circle; only the
    // exceptional shifts get the iteration moving.
    for (int n : {3, 4, 6, 12, 30}) {
        std::vector<double> v(static_cast<std::size_t>(n * n), 0.0);
        for (int i = 0; i < n; ++i) v[static_cast<std::size_t>(((i + 1) % n) * n + i)] = 1.0;
        const Matrix c = make(n, n, v);
        Call d = call(85, c);
        ASSERT_TRUE(d.ok) << n << ": " << d.code;
        for (const auto& z : eigenvalues_of(d.r)) EXPECT_NEAR(std::hypot(z.first, z.second), 1.0, 1e-12);
        Call vec = call(86, c);
        Matrix lhs = times(c, vec.r), rhs = times(vec.r, d.r);
        EXPECT_LE(frobenius(minus(lhs, rhs)), 1e-12 * n) << n;
    }
}

// ----------------------------------------------------------------- solvers

TEST_F(MatrixLibraryTest, SolversOnSmallSystems) {
    expect_matrix(call(62, make(2, 3, {2, 1, 3, 1, 3, 5})).r, 2, 1, {0.8, 1.4}, 1e-15, "solve_LU");
    expect_matrix(call(63, make(2, 3, {2, 1, 3, 1, 3, 5})).r, 2, 1, {0.8, 1.4}, 1e-15, "solve_QR");
    expect_matrix(call(65, make(2, 3, {2, 1, 3, 1, 3, 5})).r, 2, 1, {0.8, 1.4}, 1e-15, "solve_SV");
    expect_matrix(call(64, make(2, 3, {4, 2, 2, 2, 3, 1})).r, 2, 1, {0.5, 0}, 1e-15, "solve_CH");
    // Least squares: the line through (0, 1), (1, 2), (2, 2) -> y = 7/6 + x/2.
    expect_matrix(call(63, make(3, 3, {1, 0, 1, 1, 1, 2, 1, 2, 2})).r, 2, 1, {7.0 / 6, 0.5}, 1e-15,
                  "solve_QR least squares");
    expect_matrix(call(65, make(3, 3, {1, 0, 1, 1, 1, 2, 1, 2, 2})).r, 2, 1, {7.0 / 6, 0.5}, 1e-15,
                  "solve_SV least squares");
    // The rank-deficient system: the minimum-norm solution.
    expect_matrix(call(65, make(2, 3, {1, 2, 1, 2, 4, 3})).r, 2, 1, {0.28, 0.56}, 1e-15,
                  "solve_SV deficient");

    struct Refusal {
        int op;
        Matrix a;
        int code;
        const char* detail;
    };
    const Refusal refusals[] = {
        {62, make(2, 2, {1, 2, 3, 4}), ERR_MATRIX_SIZE, "Matrix Size Error, "},
        {62, make(2, 4, {1, 2, 3, 4, 5, 6, 7, 8}), ERR_MATRIX_SIZE, "Matrix Size Error, "},
        {62, make(2, 3, {1, 2, 3, 2, 4, 5}), ERR_SINGULAR, "Matrix Singular Error, "},
        {64, make(2, 2, {1, 2, 3, 4}), ERR_MATRIX_SIZE, "Matrix Size Error, "},
        {64, make(2, 3, {1, 2, 3, 3, 4, 5}), ERR_NOT_SYMMETRIC, "Matrix not Symmetric, "},
        {64, make(2, 3, {1, 2, 3, 2, 1, 5}), ERR_NOT_POS_DEF, "Matrix not positive definite, "},
        {63, make(1, 3, {1, 2, 3}), ERR_MATRIX_SIZE, "Matrix Size Error, "},
        {63, make(2, 1, {1, 2}), ERR_MATRIX_SIZE, "Matrix Size Error, "},
        {63, make(2, 3, {1, 0, 3, 2, 0, 5}), ERR_SINGULAR, "Matrix Singular Error, "},
        {65, make(1, 3, {1, 2, 3}), ERR_MATRIX_SIZE, "Matrix Size Error, "},
    };
    for (const Refusal& r : refusals) {
        Call c = call(r.op, r.a);
        EXPECT_EQ(c.code, r.code) << r.op;
        EXPECT_EQ(c.detail, r.detail) << r.op;
    }
}

// --------------------------------------------------- faults of the old rules

TEST_F(MatrixLibraryTest, SingularityFollowsTheScaleOfTheMatrix) {
    std::vector<double> small(16, 0.0);
    for (int i = 0; i < 4; ++i) small[static_cast<std::size_t>(i * 5)] = 1e-4;
    Call inv = call(10, make(4, 4, small));
    ASSERT_TRUE(inv.ok);
    for (int i = 0; i < 4; ++i)
        for (int j = 0; j < 4; ++j) EXPECT_NEAR(inv.r.e[i][j], i == j ? 1e4 : 0.0, 1e-12);
    // Det keeps its cleaning: 1e-16 is shown as 0.
    EXPECT_EQ(call(59, make(4, 4, small)).out.scalar, 0.0);
    // Hilbert(6) inverts to within 1e-8 relative of the exact integer inverse.
    const double exact[6][6] = {
        {36, -630, 3360, -7560, 7560, -2772},
        {-630, 14700, -88200, 211680, -220500, 83160},
        {3360, -88200, 564480, -1411200, 1512000, -582120},
        {-7560, 211680, -1411200, 3628800, -3969000, 1552320},
        {7560, -220500, 1512000, -3969000, 4410000, -1746360},
        {-2772, 83160, -582120, 1552320, -1746360, 698544},
    };
    Call h = call(10, hilbert(6));
    ASSERT_TRUE(h.ok);
    for (int i = 0; i < 6; ++i)
        for (int j = 0; j < 6; ++j)
            EXPECT_NEAR(h.r.e[i][j], exact[i][j], 1e-8 * std::fabs(exact[i][j])) << i << "," << j;
    // Truly singular matrices are still refused, at any scale.
    EXPECT_EQ(call(10, make(2, 2, {1e-20, 2e-20, 2e-20, 4e-20})).code, ERR_SINGULAR);
    EXPECT_EQ(call(10, make(2, 2, {1e20, 2e20, 2e20, 4e20})).code, ERR_SINGULAR);
    EXPECT_EQ(call(10, make(3, 3, {1, 2, 3, 4, 5, 6, 7, 8, 9})).code, ERR_SINGULAR);
    EXPECT_EQ(call(10, make(2, 2, {0, 0, 1, 1})).code, ERR_SINGULAR);
}

TEST_F(MatrixLibraryTest, RrefPivotsAndIgnoresResidue) {
    Call r = call(61, make(2, 3, {0.1, 0.2, 0.3, 0.3, 0.6, 0.9}));
    ASSERT_TRUE(r.ok);
    expect_matrix(r.r, 2, 3, {1, 2, 3, 0, 0, 0}, 1e-15, "rref of dependent rows");
    EXPECT_EQ(r.r.e[1][1], 0.0);
    EXPECT_EQ(r.r.e[1][2], 0.0);
    // A zero leading element exchanges the rows.
    expect_matrix(call(61, make(2, 3, {0, 2, 4, 1, 1, 1})).r, 2, 3, {1, 0, -1, 0, 1, 2}, 1e-15,
                  "rref with a row exchange");
    expect_matrix(call(61, make(3, 4, {1, 2, -1, -4, 2, 3, -1, -11, -2, 0, -3, 22})).r, 3, 4,
                  {1, 0, 0, -8, 0, 1, 0, 1, 0, 0, 1, -2}, 1e-14, "rref 3x4");
    expect_matrix(call(61, make(3, 3, {1, 2, 3, 4, 5, 6, 7, 8, 9})).r, 3, 3,
                  {1, 0, -1, 0, 1, 2, 0, 0, 0}, 1e-14, "rref singular");
    Call tall = call(61, make(3, 2, {1, 2, 3, 4, 5, 6}));
    EXPECT_EQ(tall.code, ERR_MATRIX_SIZE);
    EXPECT_EQ(tall.detail, "Matrix Size Error, ");
}

TEST_F(MatrixLibraryTest, RankAndSolveSvShareOneThreshold) {
    EXPECT_EQ(call(69, make(2, 2, {1, 2, 2, 4})).out.scalar, 1.0);
    EXPECT_EQ(call(69, make(3, 3, {1, 2, 3, 4, 5, 6, 5, 7, 9})).out.scalar, 2.0);
    EXPECT_EQ(call(69, make(3, 3, {0.1, 0.2, 0.3, 0.3, 0.6, 0.9, 1, 1, 1})).out.scalar, 2.0);
    EXPECT_EQ(call(69, hilbert(8)).out.scalar, 8.0);
    EXPECT_EQ(call(69, make(2, 3, {1, 2, 3, 2, 4, 6})).out.scalar, 1.0);   // wide
    EXPECT_EQ(call(69, make(2, 2, {0, 0, 0, 0})).out.scalar, 0.0);
    EXPECT_EQ(call(69, make(2, 2, {1e-200, 0, 0, 1e-200})).out.scalar, 2.0);
    expect_matrix(call(65, make(2, 3, {1, 2, 1, 2, 4, 3})).r, 2, 1, {0.28, 0.56}, 1e-15,
                  "solve_SV");
}

TEST_F(MatrixLibraryTest, QuotientIsProductWithTheInverse) {
    const Matrix b = make(3, 3, {2, 0, 1, 1, 3, 0, 0, 1, 4});
    Call q = call(3, kA, b, {});
    ASSERT_TRUE(q.ok);
    Matrix back = times(q.r, b);
    for (int i = 0; i < 3; ++i)
        for (int j = 0; j < 3; ++j) EXPECT_NEAR(back.e[i][j], kA.e[i][j], 1e-14);
    // A row vector divided by a square matrix.
    Call row = call(3, make(1, 3, {1, 2, 3}), b, {});
    ASSERT_TRUE(row.ok);
    EXPECT_EQ(row.r.rows(), 1);
    EXPECT_EQ(call(3, kA, make(2, 2, {1, 2, 3, 4}), {}).code, ERR_MATRIX_MISMATCH);
    EXPECT_EQ(call(3, kA, make(2, 3, {1, 2, 3, 4, 5, 6}), {}).code, ERR_NOT_SQUARE);
    EXPECT_EQ(call(3, kA, make(3, 3, {1, 2, 3, 4, 5, 6, 7, 8, 9}), {}).code, ERR_SINGULAR);
}

TEST_F(MatrixLibraryTest, NormsDoNotOverflow) {
    const Matrix big = make(2, 2, {1e200, 2e200, -2e200, 4e200});
    Call n = call(80, big);
    ASSERT_TRUE(n.ok);
    EXPECT_NEAR(n.out.scalar, 5e200, 1e186);
    const Matrix tiny = make(1, 2, {3e-200, 4e-200});
    EXPECT_NEAR(call(80, tiny).out.scalar, 5e-200, 1e-214);
    EXPECT_EQ(call(80, kA).out.scalar, std::sqrt(151.0));
    EXPECT_EQ(call(81, kA).out.scalar, 13.0);
    EXPECT_EQ(call(82, kA).out.scalar, 13.0);
    EXPECT_EQ(call(81, make(2, 2, {1, -2, 3, 4})).out.scalar, 7.0);
    EXPECT_EQ(call(82, make(2, 2, {1, -2, 3, 4})).out.scalar, 6.0);
    EXPECT_EQ(call(80, make(2, 2, {0, 0, 0, 0})).out.scalar, 0.0);
    // The singular values of the large matrix are found without overflow too.
    Call w = call(70, big);
    ASSERT_TRUE(w.ok);
    EXPECT_NEAR(w.r.e[0][0] / 1e200 * (w.r.e[1][1] / 1e200), 8.0, 1e-13);   // |det| / 1e400
    EXPECT_EQ(call(69, big).out.scalar, 2.0);
    EXPECT_EQ(call(69, make(2, 2, {1e200, 2e200, 2e200, 4e200})).out.scalar, 1.0);
    EXPECT_EQ(call(69, make(2, 2, {1e-200, 2e-200, 2e-200, 4e-200})).out.scalar, 1.0);
}

TEST_F(MatrixLibraryTest, ConditionNumber) {
    EXPECT_NEAR(call(79, make(2, 2, {2, 0, 0, 0.5})).out.scalar, 4.0, 1e-15);
    EXPECT_NEAR(call(79, hilbert(5)).out.scalar, 476607.25024259, 1e-4);
    EXPECT_EQ(call(79, make(2, 3, {1, 2, 3, 4, 5, 6})).code, ERR_MATRIX_SIZE);
    // A zero singular value divides by zero.
    EXPECT_EQ(call(79, make(2, 2, {1, 0, 0, 0})).code, ERR_DIV_ZERO);
}

// ---------------------------------------------------- commands, constructors

TEST_F(MatrixLibraryTest, ElementWiseAndProducts) {
    const Matrix b = make(3, 3, {1, 0, 0, 0, 2, 0, 0, 0, 3});
    expect_matrix(call(5, kA, b, {}).r, 3, 3, {5, -2, 1, 3, 8, -4, 2, 1, 11}, 0.0, "sum");
    expect_matrix(call(6, kA, b, {}).r, 3, 3, {3, -2, 1, 3, 4, -4, 2, 1, 5}, 0.0, "difference");
    expect_matrix(call(16, kA).r, 3, 3, {-4, 2, -1, -3, -6, 4, -2, -1, -8}, 0.0, "negation");
    expect_matrix(call(18, kA).r, 3, 3, {4, 2, 1, 3, 6, 4, 2, 1, 8}, 0.0, "abs");
    for (int op : {0, 1, 2})
        expect_matrix(call(op, kA, b, {}).r, 3, 3, {4, -4, 3, 3, 12, -12, 2, 2, 24}, 0.0, "product");
    expect_matrix(call(60, make(2, 3, {1, 2, 3, 4, 5, 6})).r, 3, 2, {1, 4, 2, 5, 3, 6}, 0.0,
                  "transpose");
    expect_matrix(call(0, make(1, 3, {1, 2, 3}), make(3, 1, {4, 5, 6}), {}).r, 1, 1, {32}, 0.0,
                  "row times column");
    EXPECT_EQ(call(5, kA, make(2, 2, {1, 2, 3, 4}), {}).code, ERR_MATRIX_MISMATCH);
    EXPECT_EQ(call(5, kA, make(2, 2, {1, 2, 3, 4}), {}).detail, "Matrix Dim Error, ");
    EXPECT_EQ(call(0, kA, make(2, 2, {1, 2, 3, 4}), {}).code, ERR_MATRIX_MISMATCH);
    // The operands may be the result slot itself.
    Matrix r = kA;
    double s[4] = {0, 0, 0, 0};
    ASSERT_EQ(matrix_dispatch(0, r, r, s, false, r).kind, MatrixResult::Matrix);
    expect_matrix(r, 3, 3, {12, -19, 20, 22, 26, -53, 27, 10, 62}, 0.0, "A A in place");
}

TEST_F(MatrixLibraryTest, ScalarValuedFunctions) {
    EXPECT_EQ(call(59, make(2, 2, {1, 2, 2, 4})).out.scalar, 0.0);
    EXPECT_EQ(call(59, make(4, 4, {1, 2, 3, 4, 5, 6, 7, 8, 1, 2, 3, 4, 2, 7, 1, 8})).out.scalar,
              0.0);
    EXPECT_NEAR(call(59, make(4, 4, {2, 0, 1, 3, 1, 1, 0, 2, 4, 1, 3, 0, 0, 2, 1, 1})).out.scalar,
                26.0, 1e-13);
    EXPECT_EQ(call(59, make(1, 1, {7})).out.scalar, 7.0);
    Call det_ns = call(59, make(2, 3, {1, 2, 3, 4, 5, 6}));
    EXPECT_EQ(det_ns.code, ERR_NOT_SQUARE);
    EXPECT_EQ(det_ns.detail, "Matrix Square Error, ");
    EXPECT_EQ(det_ns.out.scalar, 0.0);
    EXPECT_EQ(call(83, make(1, 3, {1, 2, 3}), make(1, 3, {4, 5, 6}), {}).out.scalar, 32.0);
    EXPECT_EQ(call(83, make(1, 3, {1, 2, 3}), make(1, 2, {4, 5}), {}).code, ERR_MATRIX_MISMATCH);
    EXPECT_EQ(call(83, make(3, 1, {1, 2, 3}), make(3, 1, {4, 5, 6}), {}).code, ERR_MATRIX_MISMATCH);
    expect_matrix(call(84, make(1, 3, {1, 2, 3}), make(1, 3, {4, 5, 6}), {}).r, 1, 3, {-3, 6, -3},
                  0.0, "crossP");
    EXPECT_EQ(call(84, make(1, 2, {1, 2}), make(1, 2, {4, 5}), {}).code, ERR_MATRIX_MISMATCH);
    EXPECT_EQ(call(152, make(2, 3, {1, 2, 3, 4, 5, 6})).out.scalar, 2.0);
    EXPECT_EQ(call(153, make(2, 3, {1, 2, 3, 4, 5, 6})).out.scalar, 3.0);
    EXPECT_EQ(call(151, kA, {2, 3}).out.scalar, -4.0);
    expect_matrix(call(67, kA).r, 1, 3, {4, 6, 8}, 0.0, "Diag");
    EXPECT_EQ(call(67, make(2, 3, {1, 2, 3, 4, 5, 6})).code, ERR_NOT_SQUARE);
    EXPECT_EQ(call(68, make(2, 3, {1, 2, 3, 4, 5, 6})).code, ERR_NOT_SQUARE);
}

TEST_F(MatrixLibraryTest, RowAndColumnCommands) {
    const Matrix b = make(3, 3, {1, 2, 3, 4, 5, 6, 7, 8, 9});
    expect_matrix(call(146, b, {1, 3}).r, 3, 3, {7, 8, 9, 4, 5, 6, 1, 2, 3}, 0.0, "rowSwap");
    expect_matrix(call(147, b, {1, 2}).r, 3, 3, {2, 1, 3, 5, 4, 6, 8, 7, 9}, 0.0, "colSwap");
    expect_matrix(call(148, b, {2, 10}).r, 3, 3, {1, 2, 3, 40, 50, 60, 7, 8, 9}, 0.0, "rowScale");
    expect_matrix(call(149, b, {3, -1}).r, 3, 3, {1, 2, -3, 4, 5, -6, 7, 8, -9}, 0.0, "colScale");
    expect_matrix(call(150, b, {2, 3, 0.5}).r, 3, 3, {1, 2, 3, 4, 5, 0.5, 7, 8, 9}, 0.0, "putElem");
    expect_matrix(call(158, b, {1, 3, -7}).r, 3, 3, {1, 2, 3, 4, 5, 6, 0, -6, -12}, 0.0,
                  "rowScaleAdd");
    expect_matrix(call(159, b, {1, 2, -2}).r, 3, 3, {1, 0, 3, 4, -3, 6, 7, -6, 9}, 0.0,
                  "colScaleAdd");
    expect_matrix(call(160, b, {3, 3, 2, 2}).r, 2, 2, {5, 6, 8, 9}, 0.0, "subMatrix reversed");
    expect_matrix(call(160, b, {2, 2, 3, 3}).r, 2, 2, {5, 6, 8, 9}, 0.0, "subMatrix");
    expect_matrix(call(160, b, {1, 3, 3, 1}).r, 3, 3, {1, 2, 3, 4, 5, 6, 7, 8, 9}, 0.0,
                  "subMatrix mixed corners");
    expect_matrix(call(161, b, {2}).r, 2, 3, {1, 2, 3, 7, 8, 9}, 0.0, "rowDel");
    expect_matrix(call(162, b, {1}).r, 3, 2, {2, 3, 5, 6, 8, 9}, 0.0, "colDel");
    Call gone = call(161, make(1, 3, {1, 2, 3}), {1});
    ASSERT_TRUE(gone.ok);
    EXPECT_EQ(gone.r.rows(), 0);
    EXPECT_EQ(gone.r.columns(), 3);
    EXPECT_TRUE(gone.r.defined);
    expect_matrix(call(163, make(2, 2, {1, 2, 3, 4}), {3, 3}).r, 3, 3, {1, 2, 0, 3, 4, 0, 0, 0, 0},
                  0.0, "Resize larger");
    expect_matrix(call(163, b, {1, 2}).r, 1, 2, {1, 2}, 0.0, "Resize smaller");
    expect_matrix(call(164, b, make(2, 1, {0, -1}), {2, 3}).r, 3, 3, {1, 2, 3, 4, 5, 0, 7, 8, -1},
                  0.0, "Replace");
    // The operand is unchanged by the commands.
    EXPECT_EQ(b.e[0][0], 1.0);
}

TEST_F(MatrixLibraryTest, Constructors) {
    expect_matrix(call(66, {}, {2}).r, 2, 2, {1, 0, 0, 1}, 0.0, "Iden");
    Call big = call(66, {}, {30});
    EXPECT_EQ(big.r.rows(), 30);
    EXPECT_EQ(big.r.e[29][29], 1.0);
    expect_matrix(call(154, {}, {2, 3, 7.5}).r, 2, 3, {7.5, 7.5, 7.5, 7.5, 7.5, 7.5}, 0.0,
                  "initMatrix");
    Call rnd = call(155, {}, {30, 30});
    ASSERT_TRUE(rnd.ok);
    int seen[19] = {};
    for (int i = 0; i < 30; ++i)
        for (int j = 0; j < 30; ++j) {
            const double x = rnd.r.e[i][j];
            ASSERT_EQ(x, std::floor(x));
            ASSERT_GE(x, -9.0);
            ASSERT_LE(x, 9.0);
            ++seen[static_cast<int>(x) + 9];
        }
    for (int k = 0; k < 19; ++k) EXPECT_GT(seen[k], 10) << k - 9;
    // Drawn row by row from the calculator's generator.
    rand_seed(1802, 9373);
    Call first = call(155, {}, {2, 2});
    rand_seed(1802, 9373);
    double u = rand_uniform();
    EXPECT_EQ(first.r.e[0][0], -9.0 + std::floor(u * 19.0));
    expect_matrix(call(156, make(2, 1, {1, 2}), make(2, 2, {3, 4, 5, 6}), {}).r, 2, 3,
                  {1, 3, 4, 2, 5, 6}, 0.0, "Augment");
    expect_matrix(call(157, make(1, 2, {1, 2}), make(2, 2, {3, 4, 5, 6}), {}).r, 3, 2,
                  {1, 2, 3, 4, 5, 6}, 0.0, "Stack");
}

// Every refusal of the commands and constructors, with its code and detail.
TEST_F(MatrixLibraryTest, RefusalsOfCommandsAndConstructors) {
    const Matrix b = make(3, 3, {1, 2, 3, 4, 5, 6, 7, 8, 9});
    const Matrix wide = make(2, 30, std::vector<double>(60, 1.0));
    const Matrix tall = make(30, 1, std::vector<double>(30, 1.0));
    struct Refusal {
        int op;
        Matrix a, b;
        std::vector<double> s;
        int code;
        const char* detail;
    };
    const char* range = "Integer out of range, ";
    const Refusal cases[] = {
        {66, b, b, {0}, ERR_MATRIX_INDEX, range},
        {66, b, b, {31}, ERR_MATRIX_INDEX, range},
        {66, b, b, {2.5}, ERR_MATRIX_INDEX, range},
        {154, b, b, {31, 2, 0}, ERR_MATRIX_SIZE, range},
        {154, b, b, {2, 0, 0}, ERR_MATRIX_SIZE, range},
        {155, b, b, {1, 31}, ERR_MATRIX_SIZE, range},
        {163, b, b, {0, 2}, ERR_MATRIX_SIZE, range},
        {163, b, b, {2, 3e9}, ERR_MATRIX_SIZE, range},
        {151, b, b, {0, 1}, ERR_MATRIX_INDEX, range},
        {151, b, b, {4, 1}, ERR_MATRIX_INDEX, range},
        {151, b, b, {1, 4}, ERR_MATRIX_INDEX, range},
        {151, b, b, {1.5, 1}, ERR_MATRIX_INDEX, range},
        {146, b, b, {1, 4}, ERR_MATRIX_INDEX, range},
        {147, b, b, {0, 1}, ERR_MATRIX_INDEX, range},
        {148, b, b, {4, 2}, ERR_MATRIX_INDEX, range},
        {149, b, b, {-1, 2}, ERR_MATRIX_INDEX, range},
        {150, b, b, {1, 4, 0}, ERR_MATRIX_INDEX, range},
        {158, b, b, {1, 4, 1}, ERR_MATRIX_INDEX, range},
        {159, b, b, {4, 1, 1}, ERR_MATRIX_INDEX, range},
        {160, b, b, {1, 1, 4, 1}, ERR_MATRIX_INDEX, range},
        {161, b, b, {4}, ERR_MATRIX_INDEX, range},
        {162, b, b, {0}, ERR_MATRIX_INDEX, range},
        {164, b, b, {4, 1}, ERR_MATRIX_INDEX, range},
        {164, b, make(2, 2, {1, 2, 3, 4}), {3, 1}, ERR_MATRIX_SIZE, "Matrix Size Error, "},
        {164, b, make(2, 2, {1, 2, 3, 4}), {1, 3}, ERR_MATRIX_SIZE, "Matrix Size Error, "},
        {156, wide, wide, {}, ERR_MATRIX_SIZE, "matrix is too big, perform_matrix_calculation"},
        {156, b, make(2, 1, {1, 2}), {}, ERR_MATRIX_MISMATCH, "Matrix Size Error, "},
        {157, tall, tall, {}, ERR_MATRIX_SIZE, "matrix is too big, perform_matrix_calculation"},
        {157, b, make(1, 2, {1, 2}), {}, ERR_MATRIX_MISMATCH, "Matrix Size Error, "},
        {107, b, b, {}, ERR_DATA_TYPE, "E5, "},     // MtoL belongs to the list side
        {38, b, b, {}, ERR_DATA_TYPE, "E5, "},
        {7, b, b, {}, ERR_DATA_TYPE, "E5, "},
    };
    for (const Refusal& c : cases) {
        double s[4] = {0, 0, 0, 0};
        for (std::size_t k = 0; k < c.s.size(); ++k) s[k] = c.s[k];
        Call r = call(c.op, c.a, c.b, {s[0], s[1], s[2], s[3]});
        EXPECT_FALSE(r.ok) << c.op;
        EXPECT_EQ(r.code, c.code) << c.op << " " << c.s.size();
        EXPECT_EQ(r.detail, c.detail) << c.op;
        EXPECT_EQ(r.r.last_row, -7) << c.op;
    }
    // A scalar operand with anything but a product, quotient or power.
    EXPECT_EQ(call(5, kA, kA, {2}, true).code, ERR_DATA_TYPE);
    EXPECT_EQ(call(5, kA, kA, {2}, true).detail, "E3, ");
    // Matrix ^ matrix has no meaning.
    EXPECT_EQ(call(13, kA, kA, {}).code, ERR_DATA_TYPE);
}

TEST_F(MatrixLibraryTest, DecompositionsNeedEnoughRows) {
    const Matrix wide = make(2, 3, {1, 2, 3, 4, 5, 6});
    for (int op : {70, 75, 76, 77, 78, 79}) {
        Call c = call(op, wide);
        EXPECT_EQ(c.code, ERR_MATRIX_SIZE) << op;
        EXPECT_EQ(c.detail, "Matrix Size Error, ") << op;
    }
    // A tall matrix: Q is m x n with orthonormal columns, R n x n.
    const Matrix t = make(3, 2, {1, 2, 3, 4, 5, 6});
    Call q = call(75, t), r = call(76, t), u = call(77, t), v = call(78, t), w = call(70, t);
    ASSERT_TRUE(q.ok && r.ok && u.ok && v.ok && w.ok);
    EXPECT_EQ(q.r.rows(), 3);
    EXPECT_EQ(q.r.columns(), 2);
    EXPECT_EQ(r.r.rows(), 2);
    EXPECT_EQ(u.r.rows(), 3);
    EXPECT_EQ(u.r.columns(), 2);
    EXPECT_EQ(v.r.rows(), 2);
    EXPECT_EQ(w.r.rows(), 2);
    // R's diagonal is minus the column length signed like the diagonal element.
    EXPECT_NEAR(r.r.e[0][0], -std::sqrt(35.0), 1e-14);
    Matrix qr = times(q.r, r.r);
    for (int i = 0; i < 3; ++i)
        for (int j = 0; j < 2; ++j) EXPECT_NEAR(qr.e[i][j], t.e[i][j], 1e-14);
    EXPECT_GE(w.r.e[0][0], w.r.e[1][1]);
}

}  // namespace
}  // namespace qx::test::lib
