// The direct factorisations: LU with row-scaled pivoting (and the
// determinant, inverse and solves built on it), Cholesky and Householder
// QR.  All of them work in the fixed 31 x 31 storage.
#include <cmath>
#include <cstring>

#include "matrix/library_internal.h"

namespace qx {

using namespace matlib;

namespace matlib {

IterationLimits g_iteration_limits = DEFAULT_ITERATION_LIMITS;

void shape(Matrix& r, int rows, int cols) {
    std::memset(r.e, 0, sizeof r.e);
    r.last_row = rows - 1;
    r.last_column = cols - 1;
    r.defined = true;
}

void identity(Matrix& r, int n) {
    shape(r, n, n);
    for (int i = 0; i < n; ++i) r.e[i][i] = 1.0;
}

// The product in blocks of two rows by four columns of r, whose eight sums
// stay in registers while k runs; each sum still adds its terms in the
// order k = 0, 1, ..., as the plain triple loop does.  Rows and columns left
// over at the edges take the plain row-oriented form.
void multiply(const Matrix& a, const Matrix& b, Matrix& r) {
    const int m = a.rows(), inner = a.columns(), n = b.columns();
    shape(r, m, n);
    const int n4 = n - n % 4;
    int i = 0;
    for (; i + 2 <= m; i += 2) {
        const double* a0 = a.e[i];
        const double* a1 = a.e[i + 1];
        for (int j = 0; j < n4; j += 4) {
            double s00 = 0.0, s01 = 0.0, s02 = 0.0, s03 = 0.0;
            double s10 = 0.0, s11 = 0.0, s12 = 0.0, s13 = 0.0;
            for (int k = 0; k < inner; ++k) {
                const double* bk = b.e[k] + j;
                const double x = a0[k], y = a1[k];
                s00 += x * bk[0];
                s01 += x * bk[1];
                s02 += x * bk[2];
                s03 += x * bk[3];
                s10 += y * bk[0];
                s11 += y * bk[1];
                s12 += y * bk[2];
                s13 += y * bk[3];
            }
            double* r0 = r.e[i] + j;
            double* r1 = r.e[i + 1] + j;
            r0[0] = s00;
            r0[1] = s01;
            r0[2] = s02;
            r0[3] = s03;
            r1[0] = s10;
            r1[1] = s11;
            r1[2] = s12;
            r1[3] = s13;
        }
        for (int j = n4; j < n; ++j) {
            double s0 = 0.0, s1 = 0.0;
            for (int k = 0; k < inner; ++k) {
                s0 += a0[k] * b.e[k][j];
                s1 += a1[k] * b.e[k][j];
            }
            r.e[i][j] = s0;
            r.e[i + 1][j] = s1;
        }
    }
    for (; i < m; ++i)
        for (int k = 0; k < inner; ++k) add_scaled(r.e[i], b.e[k], a.e[i][k], n);
}

void lu_solve_columns(const LuFactors& f, int n, Matrix& rhs, int k) {
    Matrix x;
    for (int i = 0; i < n; ++i) std::memcpy(x.e[i], rhs.e[f.permutation[i]], sizeof(double) * k);
    // Forward substitution with the unit lower factor, all columns at once.
    for (int i = 1; i < n; ++i)
        for (int p = 0; p < i; ++p) {
            const double l = f.lu.e[i][p];
            if (l != 0.0) add_scaled(x.e[i], x.e[p], -l, k);
        }
    // Back substitution with the upper factor.
    for (int i = n - 1; i >= 0; --i) {
        for (int p = i + 1; p < n; ++p) {
            const double u = f.lu.e[i][p];
            if (u != 0.0) add_scaled(x.e[i], x.e[p], -u, k);
        }
        const double d = f.lu.e[i][i];
        for (int j = 0; j < k; ++j) x.e[i][j] /= d;
    }
    for (int i = 0; i < n; ++i) std::memcpy(rhs.e[i], x.e[i], sizeof(double) * k);
}

bool invert(const Matrix& a, Matrix& r) {
    static_assert(sizeof(LuFactors) < 16384, "the factors live on the stack");
    LuFactors f;
    if (!lu_decompose(a, f)) return false;
    const int n = a.rows();
    identity(r, n);
    lu_solve_columns(f, n, r, n);
    return true;
}

}  // namespace matlib

// Crout's method with implicit (row-scaled) partial pivoting.  Column j of
// L and U is finished from the columns before it, the earlier columns
// applied one at a time in ascending order: Crout's order of summation.
// The work runs on the transpose so that every column is a contiguous row.
// The matrix counts as singular when a row is zero or a pivot, measured
// against the largest element of its original row, is no larger than n
// rounding units: that test follows the scale of the matrix, so 1e-4 x I
// is as regular as I.
bool lu_decompose(const Matrix& a, LuFactors& out) {
    const int n = a.rows();
    if (a.columns() != n) return false;
    double t[N][N];   // t[j][i] is element (i, j) of the factors
    double row_max[N];
    out.sign = 1;
    for (int i = 0; i < n; ++i) {
        out.permutation[i] = i;
        double big = 0.0;
        for (int j = 0; j < n; ++j) {
            t[j][i] = a.e[i][j];
            big = larger(big, std::fabs(a.e[i][j]));
        }
        if (big == 0.0) return false;
        row_max[i] = big;
    }
    const double tiny = n * EPS;
    for (int j = 0; j < n; ++j) {
        double* __restrict col = t[j];
        for (int k = 0; k < j; ++k) {
            const double ukj = col[k];
            if (ukj != 0.0) add_scaled(col + k + 1, t[k] + k + 1, -ukj, n - k - 1);
        }
        int pivot_row = j;
        double best = -1.0;
        for (int i = j; i < n; ++i) {
            const double scaled = std::fabs(col[i]) / row_max[i];
            if (scaled > best) {
                best = scaled;
                pivot_row = i;
            }
        }
        if (pivot_row != j) {
            for (int c = 0; c < n; ++c) {
                const double x = t[c][j];
                t[c][j] = t[c][pivot_row];
                t[c][pivot_row] = x;
            }
            const double x = row_max[j];
            row_max[j] = row_max[pivot_row];
            row_max[pivot_row] = x;
            const int p = out.permutation[j];
            out.permutation[j] = out.permutation[pivot_row];
            out.permutation[pivot_row] = p;
            out.sign = -out.sign;
        }
        if (!(best > tiny)) return false;
        const double pivot = col[j];
        for (int i = j + 1; i < n; ++i) col[i] /= pivot;
    }
    Matrix& lu = out.lu;
    std::memset(lu.e, 0, sizeof lu.e);
    lu.last_row = lu.last_column = n - 1;
    lu.defined = true;
    for (int i = 0; i < n; ++i)
        for (int j = 0; j < n; ++j) lu.e[i][j] = t[j][i];
    return true;
}

// Small determinants by their explicit formulas (exact for small integer
// entries), larger ones from the LU factors.  A result below 1e-14 in
// magnitude is rounding residue of a singular matrix and is returned as 0.
double determinant(const Matrix& a) {
    const int n = a.rows();
    if (a.columns() != n) return 0.0;
    const auto& e = a.e;
    double d;
    if (n == 0) {
        d = 1.0;
    } else if (n == 1) {
        d = e[0][0];
    } else if (n == 2) {
        d = e[0][0] * e[1][1] - e[0][1] * e[1][0];
    } else if (n == 3) {
        d = e[0][0] * e[1][1] * e[2][2] + e[0][1] * e[1][2] * e[2][0] +
            e[0][2] * e[1][0] * e[2][1] - e[0][2] * e[1][1] * e[2][0] -
            e[0][0] * e[1][2] * e[2][1] - e[0][1] * e[1][0] * e[2][2];
    } else {
        LuFactors f;
        if (!lu_decompose(a, f)) return 0.0;
        d = f.sign;
        for (int i = 0; i < n; ++i) d *= f.lu.e[i][i];
    }
    return std::fabs(d) < 1e-14 ? 0.0 : d;
}

// Row by row: L(i, j) from the rows of L already finished.  The matrix must
// be exactly symmetric; a diagonal term that is not positive means it is
// not positive definite.
bool cholesky_decompose(const Matrix& a, Matrix& l) {
    const int n = a.rows();
    if (a.columns() != n) return false;
    for (int i = 0; i < n; ++i)
        for (int j = 0; j < i; ++j)
            if (a.e[i][j] != a.e[j][i]) return false;
    shape(l, n, n);
    for (int i = 0; i < n; ++i) {
        for (int j = 0; j <= i; ++j) {
            double s = a.e[i][j];
            for (int k = 0; k < j; ++k) s -= l.e[i][k] * l.e[j][k];
            if (i == j) {
                if (!(s > 0.0)) return false;
                l.e[i][i] = std::sqrt(s);
            } else {
                l.e[i][j] = s / l.e[j][j];
            }
        }
    }
    return true;
}

namespace matlib {

// Householder QR in place.  Column k's length (from row k down) takes the
// sign of the diagonal element; the column divided by it, with 1 added to
// the diagonal, is the reflection vector, and R's diagonal element is minus
// that length.  A zero column leaves a zero on R's diagonal.
void qr_factor(Matrix& qr, double rdiag[N]) {
    const int m = qr.rows(), n = qr.columns();
    for (int k = 0; k < n; ++k) {
        double norm = 0.0;
        for (int i = k; i < m; ++i) norm = length(norm, qr.e[i][k]);
        if (norm != 0.0) {
            if (qr.e[k][k] < 0.0) norm = -norm;
            for (int i = k; i < m; ++i) qr.e[i][k] /= norm;
            qr.e[k][k] += 1.0;
            for (int j = k + 1; j < n; ++j) {
                double s = 0.0;
                for (int i = k; i < m; ++i) s += qr.e[i][k] * qr.e[i][j];
                s = -s / qr.e[k][k];
                for (int i = k; i < m; ++i) qr.e[i][j] += s * qr.e[i][k];
            }
        }
        rdiag[k] = -norm;
    }
}

}  // namespace matlib

void qr_decompose(const Matrix& a, Matrix& q, Matrix& r) {
    const int m = a.rows(), n = a.columns();
    shape(r, n, n);
    shape(q, m, n);
    if (m < n) return;   // the economy factors need at least as many rows as columns
    Matrix qr = a;
    double rdiag[N];
    qr_factor(qr, rdiag);
    for (int i = 0; i < n; ++i) {
        r.e[i][i] = rdiag[i];
        for (int j = i + 1; j < n; ++j) r.e[i][j] = qr.e[i][j];
    }
    // Q's columns: the reflections applied, last first, to the unit vectors.
    for (int k = n - 1; k >= 0; --k) {
        q.e[k][k] = 1.0;
        if (qr.e[k][k] == 0.0) continue;
        for (int j = k; j < n; ++j) {
            double s = 0.0;
            for (int i = k; i < m; ++i) s += qr.e[i][k] * q.e[i][j];
            s = -s / qr.e[k][k];
            for (int i = k; i < m; ++i) q.e[i][j] += s * qr.e[i][k];
        }
    }
}

}  // namespace qx
