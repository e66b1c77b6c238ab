// What the pieces of the matrix library share among themselves: the small
// numeric helpers, the fault test of the iterations and the factorisation
// cores that work on raw storage.  Not for use outside matrix/library*.cpp.
#pragma once
#include <cfenv>
#include <cmath>

#include "matrix/library.h"

namespace qx::matlib {

constexpr int N = MATRIX_STORAGE;
using Rows = double[N][N];
using Vector = double[N];

// The unit roundoff of a double, 2^-52: the one tolerance of the library
// (scaled by the size and the magnitude of the matrix where it is used).
constexpr double EPS = 2.220446049250313e-16;

// The IEEE flags that mean a fault (underflow and inexact do not).
inline int fault_flags() { return std::fetestexcept(FE_DIVBYZERO | FE_OVERFLOW | FE_INVALID); }
// The iterations test the flags once per sweep so that a NaN or an overflow
// stops them at once instead of running to the iteration limit.  Flags
// already raised when the work began (`baseline`) are not its faults.
inline bool new_fault(int baseline) { return (fault_flags() & ~baseline) != 0; }

// The bounds of the iterations.  Reaching one is an error, never a result.
// They are variables only so that the tests can show that path.
struct IterationLimits {
    int svd_sweeps;          // per singular value
    int ql_iterations;       // per eigenvalue of a symmetric matrix
    int qr_iterations;       // per order of a non-symmetric matrix, all together
};
extern IterationLimits g_iteration_limits;
constexpr IterationLimits DEFAULT_ITERATION_LIMITS{30, 60, 30};

// The larger of two magnitudes, inline (the library's fmax is a call).
inline double larger(double a, double b) { return b > a ? b : a; }

// sqrt(a*a + b*b) without overflow or harmful underflow: the larger
// magnitude is divided out first; two zeros give 0.
inline double length(double a, double b) {
    double x = std::fabs(a), y = std::fabs(b);
    if (x < y) {
        double t = x;
        x = y;
        y = t;
    }
    if (x == 0.0) return 0.0;
    double r = y / x;
    return x * std::sqrt(1.0 + r * r);
}

// (xr + i xi) / (yr + i yi) by Smith's method, which avoids forming
// yr^2 + yi^2 and so neither overflows nor loses the small part.
inline void smith_divide(double xr, double xi, double yr, double yi, double& cr, double& ci) {
    if (std::fabs(yr) > std::fabs(yi)) {
        double r = yi / yr, d = yr + r * yi;
        cr = (xr + r * xi) / d;
        ci = (xi - r * xr) / d;
    } else {
        double r = yr / yi, d = yi + r * yr;
        cr = (r * xr + xi) / d;
        ci = (r * xi - xr) / d;
    }
}

// y[0..n) += a x[0..n).  The body handles four elements at a time so that
// the compiler's straight-line vectoriser turns it into vector operations
// at the optimisation level of the build; the order of the roundings is
// that of the plain loop.
inline void add_scaled(double* __restrict y, const double* __restrict x, double a, int n) {
    int j = 0;
    for (; j + 4 <= n; j += 4) {
        y[j] += a * x[j];
        y[j + 1] += a * x[j + 1];
        y[j + 2] += a * x[j + 2];
        y[j + 3] += a * x[j + 3];
    }
    for (; j < n; ++j) y[j] += a * x[j];
}

// The power of two that brings the largest magnitude of `a` into [1, 2);
// 1 for a zero matrix or one with a non-finite element.
inline double unit_scale(const Matrix& a) {
    double big = 0.0;
    for (int i = 0; i < a.rows(); ++i)
        for (int j = 0; j < a.columns(); ++j) big = larger(big, std::fabs(a.e[i][j]));
    if (!(big > 0.0) || !std::isfinite(big)) return 1.0;
    return std::ldexp(1.0, -std::ilogb(big));
}

// Makes `r` a fresh rows x cols matrix of zeros (defined).
void shape(Matrix& r, int rows, int cols);
void identity(Matrix& r, int n);
// r = a x b (r must not be a or b).
void multiply(const Matrix& a, const Matrix& b, Matrix& r);

// Solves L U x = P b for the columns of `rhs` (n x k) in place, with the
// factors of lu_decompose.
void lu_solve_columns(const LuFactors& f, int n, Matrix& rhs, int k);
// Inverse through the LU factors; false (raising nothing) when singular.
bool invert(const Matrix& a, Matrix& r);

// Householder QR kept in factored form: the reflection vectors below and
// on the diagonal of `qr`, R's diagonal apart in `rdiag`, R's upper part
// above the diagonal of `qr`.  m >= n.
void qr_factor(Matrix& qr, double rdiag[N]);

// The threshold below which a singular value counts as zero.
double singular_threshold(int m, int n, double w_max);

}  // namespace qx::matlib
