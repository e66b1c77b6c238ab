// Shorthand for the matrix library tests: building matrices, calling the
// dispatcher and reading the error it raised.
#pragma once
#include <gtest/gtest.h>

#include <cmath>
#include <cstring>
#include <initializer_list>
#include <string>
#include <vector>

#include "engine/errors.h"
#include "engine/hooks.h"
#include "engine/memory.h"
#include "engine/settings.h"
#include "matrix/library.h"

namespace qx::test::lib {

// Row-major values for an m x n matrix; the rest of the storage is zero.
inline Matrix make(int m, int n, const std::vector<double>& values) {
    Matrix a;
    std::memset(&a, 0, sizeof a);
    a.last_row = m - 1;
    a.last_column = n - 1;
    a.defined = true;
    for (int i = 0; i < m; ++i)
        for (int j = 0; j < n; ++j) a.e[i][j] = values[static_cast<std::size_t>(i * n + j)];
    return a;
}

inline Matrix hilbert(int n) {
    std::vector<double> v;
    for (int i = 0; i < n; ++i)
        for (int j = 0; j < n; ++j) v.push_back(1.0 / (i + j + 1));
    return make(n, n, v);
}

inline Matrix identity_of(int n) {
    std::vector<double> v(static_cast<std::size_t>(n * n), 0.0);
    for (int i = 0; i < n; ++i) v[static_cast<std::size_t>(i * n + i)] = 1.0;
    return make(n, n, v);
}

struct Call {
    MatrixOutcome out;
    Matrix r;
    bool ok;
    int code;           // -1 when no error was raised
    std::string detail;
};

inline Call call(int op, const Matrix& a, const Matrix& b, std::initializer_list<double> s = {},
                 bool scalar_flag = false) {
    double scalars[4] = {0.0, 0.0, 0.0, 0.0};
    int k = 0;
    for (double x : s) scalars[k++] = x;
    clear_error();
    Call c;
    std::memset(&c.r, 0, sizeof c.r);
    c.r.last_row = -7;   // a marker: a failed call must leave R alone
    c.out = matrix_dispatch(op, a, b, scalars, scalar_flag, c.r);
    c.ok = !error_pending();
    c.code = c.ok ? -1 : error_code();
    c.detail = c.ok ? "" : error_detail();
    clear_error();
    return c;
}

inline Call call(int op, const Matrix& a, std::initializer_list<double> s = {}) {
    return call(op, a, a, s, false);
}

inline double max_abs(const Matrix& a) {
    double m = 0.0;
    for (int i = 0; i < a.rows(); ++i)
        for (int j = 0; j < a.columns(); ++j) m = std::fmax(m, std::fabs(a.e[i][j]));
    return m;
}

// In long double, whose range takes the squares of elements near 1e300.
inline double frobenius(const Matrix& a) {
    long double s = 0.0L;
    for (int i = 0; i < a.rows(); ++i)
        for (int j = 0; j < a.columns(); ++j)
            s += static_cast<long double>(a.e[i][j]) * a.e[i][j];
    return static_cast<double>(std::sqrt(s));
}

// Plain products and differences for the residual checks.
inline Matrix times(const Matrix& a, const Matrix& b) {
    Matrix r;
    std::memset(&r, 0, sizeof r);
    r.last_row = a.last_row;
    r.last_column = b.last_column;
    r.defined = true;
    for (int i = 0; i < a.rows(); ++i)
        for (int j = 0; j < b.columns(); ++j) {
            long double s = 0.0L;
            for (int k = 0; k < a.columns(); ++k)
                s += static_cast<long double>(a.e[i][k]) * b.e[k][j];
            r.e[i][j] = static_cast<double>(s);
        }
    return r;
}

inline Matrix transposed(const Matrix& a) {
    Matrix r;
    std::memset(&r, 0, sizeof r);
    r.last_row = a.last_column;
    r.last_column = a.last_row;
    r.defined = true;
    for (int i = 0; i < a.rows(); ++i)
        for (int j = 0; j < a.columns(); ++j) r.e[j][i] = a.e[i][j];
    return r;
}

inline Matrix minus(const Matrix& a, const Matrix& b) {
    Matrix r = a;
    for (int i = 0; i < a.rows(); ++i)
        for (int j = 0; j < a.columns(); ++j) r.e[i][j] = a.e[i][j] - b.e[i][j];
    return r;
}

inline void expect_matrix(const Matrix& got, int m, int n, const std::vector<double>& want,
                          double tol, const std::string& what) {
    ASSERT_EQ(got.rows(), m) << what;
    ASSERT_EQ(got.columns(), n) << what;
    EXPECT_TRUE(got.defined) << what;
    for (int i = 0; i < m; ++i)
        for (int j = 0; j < n; ++j)
            EXPECT_NEAR(got.e[i][j], want[static_cast<std::size_t>(i * n + j)], tol)
                << what << " at (" << i + 1 << ", " << j + 1 << ")";
}

class MatrixLibraryTest : public ::testing::Test {
protected:
    void SetUp() override {
        reset_settings();
        reset_hooks();
        clear_error();
        rand_seed(1802, 9373);
    }
    void TearDown() override { clear_error(); }
};

}  // namespace qx::test::lib
