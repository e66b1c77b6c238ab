// Singular value decomposition by Golub, Kahan and Reinsch: Householder
// reduction to bidiagonal form, then implicitly shifted QR sweeps on the
// bidiagonal.  The values come out sorted, largest first, with U's and V's
// columns in the same order.
#include <cmath>
#include <cstring>

#include "matrix/library_internal.h"

namespace qx {

using namespace matlib;

namespace {

// The sign rule of the reflections: |a| with the sign of b (0 counts as
// positive).
double with_sign(double a, double b) { return b >= 0.0 ? std::fabs(a) : -std::fabs(a); }

// `a` is overwritten by U.
bool golub_kahan(Rows& a, int m, int n, double w[N], Rows& v, int baseline) {
    double rv1[N];
    double g = 0.0, scale = 0.0, anorm = 0.0;
    int l = 0;
    // Householder reduction to bidiagonal form: w the diagonal, rv1 the
    // superdiagonal (rv1[i] couples columns i-1 and i).  Each vector is
    // scaled by the sum of its magnitudes first so that no square overflows.
    for (int i = 0; i < n; ++i) {
        l = i + 1;
        rv1[i] = scale * g;
        g = scale = 0.0;
        double s = 0.0;
        for (int k = i; k < m; ++k) scale += std::fabs(a[k][i]);
        if (scale != 0.0) {
            for (int k = i; k < m; ++k) {
                a[k][i] /= scale;
                s += a[k][i] * a[k][i];
            }
            double f = a[i][i];
            g = -with_sign(std::sqrt(s), f);
            double h = f * g - s;
            a[i][i] = f - g;
            for (int j = l; j < n; ++j) {
                double t = 0.0;
                for (int k = i; k < m; ++k) t += a[k][i] * a[k][j];
                double fj = t / h;
                for (int k = i; k < m; ++k) a[k][j] += fj * a[k][i];
            }
            for (int k = i; k < m; ++k) a[k][i] *= scale;
        }
        w[i] = scale * g;
        g = scale = 0.0;
        s = 0.0;
        if (i != n - 1) {
            for (int k = l; k < n; ++k) scale += std::fabs(a[i][k]);
            if (scale != 0.0) {
                for (int k = l; k < n; ++k) {
                    a[i][k] /= scale;
                    s += a[i][k] * a[i][k];
                }
                double f = a[i][l];
                g = -with_sign(std::sqrt(s), f);
                double h = f * g - s;
                a[i][l] = f - g;
                for (int k = l; k < n; ++k) rv1[k] = a[i][k] / h;
                for (int j = l; j < m; ++j) {
                    double t = 0.0;
                    for (int k = l; k < n; ++k) t += a[j][k] * a[i][k];
                    for (int k = l; k < n; ++k) a[j][k] += t * rv1[k];
                }
                for (int k = l; k < n; ++k) a[i][k] *= scale;
            }
        }
        anorm = larger(anorm, std::fabs(w[i]) + std::fabs(rv1[i]));
    }
    // The right-hand transformations, accumulated into V.
    for (int i = n - 1; i >= 0; --i) {
        if (i < n - 1) {
            if (g != 0.0) {
                // Two divisions rather than one product: a[i][l] * g may underflow.
                for (int j = l; j < n; ++j) v[j][i] = (a[i][j] / a[i][l]) / g;
                for (int j = l; j < n; ++j) {
                    double s = 0.0;
                    for (int k = l; k < n; ++k) s += a[i][k] * v[k][j];
                    for (int k = l; k < n; ++k) v[k][j] += s * v[k][i];
                }
            }
            for (int j = l; j < n; ++j) v[i][j] = v[j][i] = 0.0;
        }
        v[i][i] = 1.0;
        g = rv1[i];
        l = i;
    }
    // The left-hand transformations, accumulated in place into U.
    for (int i = n - 1; i >= 0; --i) {
        l = i + 1;
        g = w[i];
        for (int j = l; j < n; ++j) a[i][j] = 0.0;
        if (g != 0.0) {
            // Divisions by g rather than products with 1 / g, which
            // overflows for a subnormal g.
            for (int j = l; j < n; ++j) {
                double s = 0.0;
                for (int k = l; k < m; ++k) s += a[k][i] * a[k][j];
                double f = (s / a[i][i]) / g;
                for (int k = i; k < m; ++k) a[k][j] += f * a[k][i];
            }
            for (int j = i; j < m; ++j) a[j][i] /= g;
        } else {
            for (int j = i; j < m; ++j) a[j][i] = 0.0;
        }
        a[i][i] += 1.0;
    }
    if (new_fault(baseline)) return false;
    // Diagonalisation of the bidiagonal form, from the last value up.  An
    // element counts as negligible when adding it to the matrix's norm
    // changes nothing.
    for (int k = n - 1; k >= 0; --k) {
        for (int sweep = 1;; ++sweep) {
            bool cancel = true;
            int nm = 0;
            for (l = k; l >= 0; --l) {
                nm = l - 1;
                if (l == 0 || std::fabs(rv1[l]) + anorm == anorm) {
                    cancel = false;
                    break;
                }
                if (std::fabs(w[nm]) + anorm == anorm) break;
            }
            if (cancel) {
                // w[nm] is negligible: chase rv1[l] out by rotations with row nm.
                double c = 0.0, s = 1.0;
                for (int i = l; i <= k; ++i) {
                    double f = s * rv1[i];
                    rv1[i] = c * rv1[i];
                    if (std::fabs(f) + anorm == anorm) break;
                    g = w[i];
                    double h = length(f, g);
                    w[i] = h;
                    c = g / h;
                    s = -f / h;
                    for (int j = 0; j < m; ++j) {
                        double y = a[j][nm], z = a[j][i];
                        a[j][nm] = y * c + z * s;
                        a[j][i] = z * c - y * s;
                    }
                }
            }
            double z = w[k];
            if (l == k) {
                // Converged; the singular value is made non-negative.
                if (z < 0.0) {
                    w[k] = -z;
                    for (int j = 0; j < n; ++j) v[j][k] = -v[j][k];
                }
                break;
            }
            // Convergence normally takes two or three sweeps.
            if (sweep >= g_iteration_limits.svd_sweeps || new_fault(baseline)) return false;
            // Shift from the trailing 2 x 2 block.
            double x = w[l];
            nm = k - 1;
            double y = w[nm];
            g = rv1[nm];
            double h = rv1[k];
            double f = ((y - z) * (y + z) + (g - h) * (g + h)) / (2.0 * h * y);
            g = length(f, 1.0);
            f = ((x - z) * (x + z) + h * ((y / (f + with_sign(g, f))) - h)) / x;
            // The QR sweep: rotations chased down the bidiagonal.
            double c = 1.0, s = 1.0;
            for (int j = l; j <= nm; ++j) {
                int i = j + 1;
                g = rv1[i];
                y = w[i];
                h = s * g;
                g = c * g;
                z = length(f, h);
                rv1[j] = z;
                c = f / z;
                s = h / z;
                f = x * c + g * s;
                g = g * c - x * s;
                h = y * s;
                y *= c;
                for (int jj = 0; jj < n; ++jj) {
                    double vx = v[jj][j], vz = v[jj][i];
                    v[jj][j] = vx * c + vz * s;
                    v[jj][i] = vz * c - vx * s;
                }
                z = length(f, h);
                w[j] = z;
                if (z != 0.0) {
                    c = f / z;
                    s = h / z;
                }
                f = c * g + s * y;
                x = c * y - s * g;
                for (int jj = 0; jj < m; ++jj) {
                    double uy = a[jj][j], uz = a[jj][i];
                    a[jj][j] = uy * c + uz * s;
                    a[jj][i] = uz * c - uy * s;
                }
            }
            rv1[l] = 0.0;
            rv1[k] = f;
            w[k] = x;
        }
    }
    return !new_fault(baseline);
}

}  // namespace

bool svd_decompose(const Matrix& a, Matrix& u, double w[MATRIX_STORAGE], Matrix& v) {
    const int m = a.rows(), n = a.columns();
    if (m < n || n < 1) return false;
    const int baseline = fault_flags();
    shape(u, m, n);
    shape(v, n, n);
    // The sweeps square elements of the order of the largest singular value,
    // so the matrix is brought near 1 by a power of two first (exactly)
    // and the values scaled back at the end.
    const double scale = unit_scale(a);
    for (int i = 0; i < m; ++i)
        for (int j = 0; j < n; ++j) u.e[i][j] = a.e[i][j] * scale;
    if (!golub_kahan(u.e, m, n, w, v.e, baseline)) return false;
    for (int j = 0; j < n; ++j) w[j] /= scale;
    // Selection sort, largest first, carrying the columns of U and V along.
    for (int i = 0; i < n - 1; ++i) {
        int k = i;
        for (int j = i + 1; j < n; ++j)
            if (w[j] > w[k]) k = j;
        if (k == i) continue;
        double t = w[i];
        w[i] = w[k];
        w[k] = t;
        for (int r = 0; r < m; ++r) {
            t = u.e[r][i];
            u.e[r][i] = u.e[r][k];
            u.e[r][k] = t;
        }
        for (int r = 0; r < n; ++r) {
            t = v.e[r][i];
            v.e[r][i] = v.e[r][k];
            v.e[r][k] = t;
        }
    }
    for (int i = n; i < N; ++i) w[i] = 0.0;
    u.last_row = m - 1;
    u.last_column = n - 1;
    u.defined = true;
    return true;
}

namespace matlib {

// Singular values at or below this are rounding noise of a rank-deficient
// matrix: the size times the largest value times the unit roundoff.
double singular_threshold(int m, int n, double w_max) { return (m > n ? m : n) * w_max * EPS; }

}  // namespace matlib

}  // namespace qx
