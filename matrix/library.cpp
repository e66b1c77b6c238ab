// The matrix dispatcher and the routines that need no factorisation:
// element-wise arithmetic, products and powers, norms, the row and column
// commands and the constructors; it also turns the factorisations into the
// calculator's functions (Det, the solvers, Rank, Cond, the factors).
#include <cmath>
#include <cstring>

#include "engine/errors.h"
#include "engine/memory.h"
#include "engine/scalar.h"
#include "matrix/library_internal.h"

namespace qx {

using namespace matlib;

namespace {

// Operator ids of the token catalogue that this library serves.
enum : int {
    ID_MUL = 0, ID_MUL_IMPLICIT = 1, ID_MUL_TERM = 2, ID_DIV = 3, ID_ADD = 5, ID_SUB = 6,
    ID_INVERT = 10, ID_POWER = 13, ID_SQUARED = 14, ID_NEG = 16, ID_ABS = 18, ID_CUBE = 28,
    ID_DET = 59, ID_TRANSPOSE = 60, ID_RREF = 61, ID_SOLVE_LU = 62, ID_SOLVE_QR = 63,
    ID_SOLVE_CH = 64, ID_SOLVE_SV = 65, ID_IDEN = 66, ID_DIAG = 67, ID_TRACE = 68, ID_RANK = 69,
    ID_SLV = 70, ID_LU_L = 71, ID_LU_U = 72, ID_LU_P = 73, ID_CHOLESKY = 74, ID_QR_Q = 75,
    ID_QR_R = 76, ID_SVD_U = 77, ID_SVD_V = 78, ID_COND = 79, ID_NORM = 80, ID_ROW_NORM = 81,
    ID_COL_NORM = 82, ID_DOT = 83, ID_CROSS = 84, ID_EIGENVAL = 85, ID_EIGENVEC = 86,
    ID_ROW_SWAP = 146, ID_COL_SWAP = 147, ID_ROW_SCALE = 148, ID_COL_SCALE = 149,
    ID_PUT_ELEM = 150, ID_GET_ELEM = 151, ID_ROW_SIZE = 152, ID_COL_SIZE = 153,
    ID_INIT = 154, ID_RAND = 155, ID_AUGMENT = 156, ID_STACK = 157, ID_ROW_SCALE_ADD = 158,
    ID_COL_SCALE_ADD = 159, ID_SUBMATRIX = 160, ID_ROW_DEL = 161, ID_COL_DEL = 162,
    ID_RESIZE = 163, ID_REPLACE = 164,
};

// The detail texts the user can look up behind each error code.
const char* const kDimError = "Matrix Dim Error";
const char* const kSquareError = "Matrix Square Error";
const char* const kSizeError = "Matrix Size Error";
const char* const kSingular = "Matrix Singular Error";
const char* const kNotSymmetric = "Matrix not Symmetric";
const char* const kNotPositive = "Matrix not positive definite";
const char* const kIntegerRange = "Integer out of range";

bool fail(int code, const char* detail, const char* function = "") {
    raise_error(code, detail, function);
    return false;
}

// The argument-to-integer rule: at most 2e9 in magnitude, no fractional
// part (within the engine's integer tolerance), and inside [low, high].
bool read_int(double x, int low, int high, int code, int& out) {
    if (!(std::fabs(x) <= 2e9) || frac_part(x) != 0.0) return fail(code, kIntegerRange);
    double n = int_part(x);
    if (n < low || n > high) return fail(code, kIntegerRange);
    out = static_cast<int>(n);
    return true;
}

// Row and column arguments are 1-based; inside they are 0-based.
bool read_row(double x, const Matrix& a, int& out) {
    if (!read_int(x, 1, a.rows(), ERR_MATRIX_INDEX, out)) return false;
    --out;
    return true;
}

bool read_column(double x, const Matrix& a, int& out) {
    if (!read_int(x, 1, a.columns(), ERR_MATRIX_INDEX, out)) return false;
    --out;
    return true;
}

bool need_square(const Matrix& a) {
    return a.rows() == a.columns() ? true : fail(ERR_NOT_SQUARE, kSquareError);
}

bool need_tall(const Matrix& a) {
    return a.rows() >= a.columns() && a.columns() >= 1 ? true : fail(ERR_MATRIX_SIZE, kSizeError);
}

// A working slot whose sizes lie outside the storage is a fault of the caller.
bool plausible(const Matrix& a) {
    return a.last_row >= -1 && a.last_row < N && a.last_column >= -1 && a.last_column < N;
}

bool nonempty(const Matrix& a) {
    return a.rows() >= 1 && a.columns() >= 1 ? true : fail(ERR_MATRIX_SIZE, kSizeError);
}

// ----------------------------------------------------------------- arithmetic

void scale_by(const Matrix& a, double s, bool divide, Matrix& r) {
    const int m = a.rows(), n = a.columns();
    shape(r, m, n);
    for (int i = 0; i < m; ++i)
        for (int j = 0; j < n; ++j) r.e[i][j] = divide ? a.e[i][j] / s : a.e[i][j] * s;
}

bool elementwise(int op, const Matrix& a, const Matrix& b, Matrix& r) {
    const int m = a.rows(), n = a.columns();
    if (op == ID_ADD || op == ID_SUB) {
        if (b.rows() != m || b.columns() != n) return fail(ERR_MATRIX_MISMATCH, kDimError);
    }
    shape(r, m, n);
    for (int i = 0; i < m; ++i)
        for (int j = 0; j < n; ++j) {
            const double x = a.e[i][j];
            switch (op) {
                case ID_ADD: r.e[i][j] = x + b.e[i][j]; break;
                case ID_SUB: r.e[i][j] = x - b.e[i][j]; break;
                case ID_NEG: r.e[i][j] = -x; break;
                default: r.e[i][j] = std::fabs(x); break;
            }
        }
    return true;
}

bool product(const Matrix& a, const Matrix& b, Matrix& r) {
    if (a.columns() != b.rows()) return fail(ERR_MATRIX_MISMATCH, kDimError);
    multiply(a, b, r);
    return true;
}

bool inverse(const Matrix& a, Matrix& r) {
    if (!need_square(a) || !nonempty(a)) return false;
    return invert(a, r) ? true : fail(ERR_SINGULAR, kSingular);
}

// A / B is A times the inverse of B.
bool quotient(const Matrix& a, const Matrix& b, Matrix& r) {
    if (!need_square(b) || !nonempty(b)) return false;
    if (a.columns() != b.rows()) return fail(ERR_MATRIX_MISMATCH, kDimError);
    Matrix inv;
    if (!invert(b, inv)) return fail(ERR_SINGULAR, kSingular);
    multiply(a, inv, r);
    return true;
}

// A^k by repeated squaring: about 2 log2(k) products instead of k - 1, and
// fewer roundings.  A negative k inverts first.  The loop stops at the
// first overflow; the dispatcher reports it.
bool power(const Matrix& a, double exponent, Matrix& r) {
    int k;
    if (!read_int(exponent, -1000, 1000, ERR_DOMAIN, k)) return false;
    if (!need_square(a) || !nonempty(a)) return false;
    const int n = a.rows();
    if (k == 0) {
        identity(r, n);
        return true;
    }
    Matrix store[3];
    Matrix* base = &store[0];
    Matrix* spare = &store[1];
    Matrix* acc = &store[2];
    if (k < 0) {
        if (!invert(a, *base)) return fail(ERR_SINGULAR, kSingular);
        k = -k;
    } else {
        *base = a;
    }
    bool started = false;
    for (;;) {
        if (k & 1) {
            if (!started) {
                *acc = *base;
                started = true;
            } else {
                multiply(*acc, *base, *spare);
                Matrix* t = acc;
                acc = spare;
                spare = t;
            }
        }
        k >>= 1;
        if (k == 0 || fault_flags() != 0) break;
        multiply(*base, *base, *spare);
        Matrix* t = base;
        base = spare;
        spare = t;
    }
    r = *acc;
    return true;
}

void transpose(const Matrix& a, Matrix& r) {
    const int m = a.rows(), n = a.columns();
    shape(r, n, m);
    for (int i = 0; i < m; ++i)
        for (int j = 0; j < n; ++j) r.e[j][i] = a.e[i][j];
}

// ---------------------------------------------------------------------- norms

// Frobenius norm with the elements divided by the largest magnitude before
// squaring, so that entries near 1e200 do not overflow and tiny ones do not
// vanish.
double frobenius(const Matrix& a) {
    const int m = a.rows(), n = a.columns();
    double big = 0.0;
    for (int i = 0; i < m; ++i)
        for (int j = 0; j < n; ++j) big = larger(big, std::fabs(a.e[i][j]));
    if (big == 0.0 || !std::isfinite(big)) return big;
    double sum = 0.0;
    for (int i = 0; i < m; ++i)
        for (int j = 0; j < n; ++j) {
            double t = a.e[i][j] / big;
            sum += t * t;
        }
    return big * std::sqrt(sum);
}

double row_norm(const Matrix& a) {
    double best = 0.0;
    for (int i = 0; i < a.rows(); ++i) {
        double s = 0.0;
        for (int j = 0; j < a.columns(); ++j) s += std::fabs(a.e[i][j]);
        best = larger(best, s);
    }
    return best;
}

double column_norm(const Matrix& a) {
    double best = 0.0;
    for (int j = 0; j < a.columns(); ++j) {
        double s = 0.0;
        for (int i = 0; i < a.rows(); ++i) s += std::fabs(a.e[i][j]);
        best = larger(best, s);
    }
    return best;
}

// ------------------------------------------------------------ factorisations

bool svd_or_fail(const Matrix& a, Matrix& u, double w[N], Matrix& v) {
    if (svd_decompose(a, u, w, v)) return true;
    if (fault_flags() == 0) raise_error(ERR_MATH, "Singular values did not converge", "");
    return false;
}

bool lu_or_fail(const Matrix& a, LuFactors& f) {
    if (!need_square(a) || !nonempty(a)) return false;
    return lu_decompose(a, f) ? true : fail(ERR_SINGULAR, kSingular);
}

bool lu_factor(int op, const Matrix& a, Matrix& r) {
    LuFactors f;
    if (!lu_or_fail(a, f)) return false;
    const int n = a.rows();
    shape(r, n, n);
    for (int i = 0; i < n; ++i)
        for (int j = 0; j < n; ++j) {
            if (op == ID_LU_L) r.e[i][j] = (j < i) ? f.lu.e[i][j] : (i == j ? 1.0 : 0.0);
            else if (op == ID_LU_U) r.e[i][j] = (j >= i) ? f.lu.e[i][j] : 0.0;
        }
    if (op == ID_LU_P)
        for (int i = 0; i < n; ++i) r.e[i][f.permutation[i]] = 1.0;
    return true;
}

bool symmetric(const Matrix& a) {
    const int n = a.rows();
    for (int i = 0; i < n; ++i)
        for (int j = 0; j < i; ++j)
            if (a.e[i][j] != a.e[j][i]) return false;
    return true;
}

bool cholesky(const Matrix& a, Matrix& r) {
    if (!need_square(a) || !nonempty(a)) return false;
    if (!symmetric(a)) return fail(ERR_NOT_SYMMETRIC, kNotSymmetric);
    return cholesky_decompose(a, r) ? true : fail(ERR_NOT_POS_DEF, kNotPositive);
}

bool qr_factor_op(int op, const Matrix& a, Matrix& r) {
    if (!need_tall(a)) return false;
    Matrix q, rr;
    qr_decompose(a, q, rr);
    r = (op == ID_QR_Q) ? q : rr;
    return true;
}

bool svd_factor(int op, const Matrix& a, Matrix& r) {
    if (!need_tall(a)) return false;
    Matrix u, v;
    double w[N];
    if (!svd_or_fail(a, u, w, v)) return false;
    if (op == ID_SVD_U) {
        r = u;
    } else if (op == ID_SVD_V) {
        r = v;
    } else {
        const int n = a.columns();
        shape(r, n, n);
        for (int i = 0; i < n; ++i) r.e[i][i] = w[i];
    }
    return true;
}

bool rank(const Matrix& a, double& out) {
    out = 0.0;
    if (a.rows() == 0 || a.columns() == 0) return true;
    // The rank of A is that of its transpose; the decomposition wants the
    // taller of the two.
    Matrix t;
    const Matrix* tall = &a;
    if (a.rows() < a.columns()) {
        transpose(a, t);
        tall = &t;
    }
    Matrix u, v;
    double w[N];
    if (!svd_or_fail(*tall, u, w, v)) return false;
    const int n = tall->columns();
    const double tol = singular_threshold(tall->rows(), n, w[0]);
    for (int i = 0; i < n; ++i)
        if (w[i] > tol) out += 1.0;
    return true;
}

bool condition(const Matrix& a, double& out) {
    if (!need_tall(a)) return false;
    Matrix u, v;
    double w[N];
    if (!svd_or_fail(a, u, w, v)) return false;
    // A zero smallest value has no finite ratio.
    const double smallest = w[a.columns() - 1];
    if (smallest == 0.0) return fail(ERR_DIV_ZERO, "Division by zero", "fpieee_handler");
    out = w[0] / smallest;
    return true;
}

bool eigen(int op, const Matrix& a, Matrix& r) {
    if (!need_square(a) || !nonempty(a)) return false;
    Matrix d, v;
    if (!eigen_decompose(a, d, v)) {
        if (fault_flags() == 0) raise_error(ERR_MATH, "Eigenvalues did not converge", "");
        return false;
    }
    r = (op == ID_EIGENVAL) ? d : v;
    return true;
}

// -------------------------------------------------------------------- solvers

// The augmented matrix [C b]: splits off b as a column of `rhs`.
void split_augmented(const Matrix& a, Matrix& c, Matrix& rhs) {
    const int m = a.rows(), n = a.columns() - 1;
    shape(c, m, n);
    shape(rhs, m, 1);
    for (int i = 0; i < m; ++i) {
        for (int j = 0; j < n; ++j) c.e[i][j] = a.e[i][j];
        rhs.e[i][0] = a.e[i][n];
    }
}

bool need_augmented_square(const Matrix& a) {
    return a.rows() >= 1 && a.columns() == a.rows() + 1 ? true : fail(ERR_MATRIX_SIZE, kSizeError);
}

bool need_augmented_tall(const Matrix& a) {
    return a.columns() >= 2 && a.rows() >= a.columns() - 1 ? true
                                                           : fail(ERR_MATRIX_SIZE, kSizeError);
}

bool solve_lu(const Matrix& a, Matrix& r) {
    if (!need_augmented_square(a)) return false;
    Matrix c;
    split_augmented(a, c, r);
    LuFactors f;
    if (!lu_decompose(c, f)) return fail(ERR_SINGULAR, kSingular);
    lu_solve_columns(f, c.rows(), r, 1);
    return true;
}

bool solve_ch(const Matrix& a, Matrix& r) {
    if (!need_augmented_square(a)) return false;
    Matrix c, l;
    split_augmented(a, c, r);
    if (!symmetric(c)) return fail(ERR_NOT_SYMMETRIC, kNotSymmetric);
    if (!cholesky_decompose(c, l)) return fail(ERR_NOT_POS_DEF, kNotPositive);
    const int n = c.rows();
    for (int i = 0; i < n; ++i) {
        double s = r.e[i][0];
        for (int k = 0; k < i; ++k) s -= l.e[i][k] * r.e[k][0];
        r.e[i][0] = s / l.e[i][i];
    }
    for (int i = n - 1; i >= 0; --i) {
        double s = r.e[i][0];
        for (int k = i + 1; k < n; ++k) s -= l.e[k][i] * r.e[k][0];
        r.e[i][0] = s / l.e[i][i];
    }
    return true;
}

// Least squares through the Householder factors: the reflections applied
// to b, then back substitution with R.  A zero on R's diagonal (a column
// that depends exactly on the ones before it) has no solution of this
// kind and is reported as a singular matrix.
bool solve_qr(const Matrix& a, Matrix& r) {
    if (!need_augmented_tall(a)) return false;
    Matrix qr, b;
    split_augmented(a, qr, b);
    const int m = qr.rows(), n = qr.columns();
    double rdiag[N];
    qr_factor(qr, rdiag);
    for (int k = 0; k < n; ++k)
        if (rdiag[k] == 0.0) return fail(ERR_SINGULAR, kSingular);
    for (int k = 0; k < n; ++k) {
        double s = 0.0;
        for (int i = k; i < m; ++i) s += qr.e[i][k] * b.e[i][0];
        s = -s / qr.e[k][k];
        for (int i = k; i < m; ++i) b.e[i][0] += s * qr.e[i][k];
    }
    shape(r, n, 1);
    for (int k = n - 1; k >= 0; --k) {
        double s = b.e[k][0];
        for (int j = k + 1; j < n; ++j) s -= qr.e[k][j] * r.e[j][0];
        r.e[k][0] = s / rdiag[k];
    }
    return true;
}

// x = V diag(1/w) U' b over the singular values above the rank threshold:
// the minimum-norm least-squares solution.
bool solve_sv(const Matrix& a, Matrix& r) {
    if (!need_augmented_tall(a)) return false;
    Matrix c, b, u, v;
    split_augmented(a, c, b);
    const int m = c.rows(), n = c.columns();
    double w[N];
    if (!svd_or_fail(c, u, w, v)) return false;
    const double tol = singular_threshold(m, n, w[0]);
    shape(r, n, 1);
    for (int k = 0; k < n; ++k) {
        if (!(w[k] > tol)) continue;
        double s = 0.0;
        for (int i = 0; i < m; ++i) s += u.e[i][k] * b.e[i][0];
        s /= w[k];
        for (int j = 0; j < n; ++j) r.e[j][0] += v.e[j][k] * s;
    }
    return true;
}

// Gauss-Jordan elimination with partial pivoting.  A pivot candidate no
// larger than max(m, n) rounding units of the matrix's row-sum norm is
// rounding residue: its column counts as free and the residue below is
// cleared.  Pivot columns end with exact ones and zeros.
bool rref(const Matrix& a, Matrix& r) {
    const int m = a.rows(), n = a.columns();
    if (m > n) return fail(ERR_MATRIX_SIZE, kSizeError);
    r = a;
    r.defined = true;
    const double tol = (m > n ? m : n) * EPS * row_norm(a);
    int row = 0;
    for (int c = 0; c < n && row < m; ++c) {
        int p = row;
        for (int i = row + 1; i < m; ++i)
            if (std::fabs(r.e[i][c]) > std::fabs(r.e[p][c])) p = i;
        if (!(std::fabs(r.e[p][c]) > tol)) {
            for (int i = row; i < m; ++i) r.e[i][c] = 0.0;
            continue;
        }
        if (p != row) {
            double t[N];
            std::memcpy(t, r.e[p], sizeof t);
            std::memcpy(r.e[p], r.e[row], sizeof t);
            std::memcpy(r.e[row], t, sizeof t);
        }
        const double pivot = r.e[row][c];
        for (int j = c; j < n; ++j) r.e[row][j] /= pivot;
        r.e[row][c] = 1.0;
        for (int i = 0; i < m; ++i) {
            if (i == row) continue;
            const double f = r.e[i][c];
            if (f == 0.0) continue;
            for (int j = c; j < n; ++j) r.e[i][j] -= f * r.e[row][j];
            r.e[i][c] = 0.0;
        }
        ++row;
    }
    return true;
}

// ------------------------------------------------------ commands and builders

bool read_size(double rows, double cols, int& m, int& n) {
    return read_int(rows, 1, MATRIX_MAX, ERR_MATRIX_SIZE, m) &&
           read_int(cols, 1, MATRIX_MAX, ERR_MATRIX_SIZE, n);
}

bool command(int op, const Matrix& a, const Matrix& b, const double s[4], Matrix& r,
             double& value, bool& scalar_result) {
    int i = 0, j = 0, k = 0, l = 0;
    const int m = a.rows(), n = a.columns();
    switch (op) {
        case ID_ROW_SWAP:
            if (!read_row(s[0], a, i) || !read_row(s[1], a, j)) return false;
            r = a;
            std::memcpy(r.e[i], a.e[j], sizeof r.e[i]);
            std::memcpy(r.e[j], a.e[i], sizeof r.e[j]);
            return true;
        case ID_COL_SWAP:
            if (!read_column(s[0], a, i) || !read_column(s[1], a, j)) return false;
            r = a;
            for (int p = 0; p < m; ++p) {
                r.e[p][i] = a.e[p][j];
                r.e[p][j] = a.e[p][i];
            }
            return true;
        case ID_ROW_SCALE:
            if (!read_row(s[0], a, i)) return false;
            r = a;
            for (int p = 0; p < n; ++p) r.e[i][p] *= s[1];
            return true;
        case ID_COL_SCALE:
            if (!read_column(s[0], a, j)) return false;
            r = a;
            for (int p = 0; p < m; ++p) r.e[p][j] *= s[1];
            return true;
        case ID_PUT_ELEM:
            if (!read_row(s[0], a, i) || !read_column(s[1], a, j)) return false;
            r = a;
            r.e[i][j] = s[2];
            return true;
        case ID_GET_ELEM:
            if (!read_row(s[0], a, i) || !read_column(s[1], a, j)) return false;
            value = a.e[i][j];
            scalar_result = true;
            return true;
        case ID_ROW_SIZE:
        case ID_COL_SIZE:
            value = op == ID_ROW_SIZE ? m : n;
            scalar_result = true;
            return true;
        case ID_INIT:
            if (!read_size(s[0], s[1], i, j)) return false;
            shape(r, i, j);
            for (int p = 0; p < i; ++p)
                for (int q = 0; q < j; ++q) r.e[p][q] = s[2];
            return true;
        case ID_RAND:
            if (!read_size(s[0], s[1], i, j)) return false;
            shape(r, i, j);
            for (int p = 0; p < i; ++p)
                for (int q = 0; q < j; ++q) r.e[p][q] = -9.0 + std::floor(rand_uniform() * 19.0);
            return true;
        case ID_AUGMENT:
            if (n + b.columns() > MATRIX_MAX)
                return fail(ERR_MATRIX_SIZE, "matrix is too big", "perform_matrix_calculation");
            if (b.rows() != m) return fail(ERR_MATRIX_MISMATCH, kSizeError);
            shape(r, m, n + b.columns());
            for (int p = 0; p < m; ++p) {
                std::memcpy(r.e[p], a.e[p], sizeof(double) * n);
                std::memcpy(r.e[p] + n, b.e[p], sizeof(double) * b.columns());
            }
            return true;
        case ID_STACK:
            if (m + b.rows() > MATRIX_MAX)
                return fail(ERR_MATRIX_SIZE, "matrix is too big", "perform_matrix_calculation");
            if (b.columns() != n) return fail(ERR_MATRIX_MISMATCH, kSizeError);
            shape(r, m + b.rows(), n);
            for (int p = 0; p < m; ++p) std::memcpy(r.e[p], a.e[p], sizeof(double) * n);
            for (int p = 0; p < b.rows(); ++p) std::memcpy(r.e[m + p], b.e[p], sizeof(double) * n);
            return true;
        case ID_ROW_SCALE_ADD:
            if (!read_row(s[0], a, i) || !read_row(s[1], a, j)) return false;
            r = a;
            for (int p = 0; p < n; ++p) r.e[j][p] = a.e[j][p] + s[2] * a.e[i][p];
            return true;
        case ID_COL_SCALE_ADD:
            if (!read_column(s[0], a, i) || !read_column(s[1], a, j)) return false;
            r = a;
            for (int p = 0; p < m; ++p) r.e[p][j] = a.e[p][j] + s[2] * a.e[p][i];
            return true;
        case ID_SUBMATRIX: {
            if (!read_row(s[0], a, i) || !read_column(s[1], a, j) || !read_row(s[2], a, k) ||
                !read_column(s[3], a, l))
                return false;
            const int r1 = i < k ? i : k, r2 = i < k ? k : i;
            const int c1 = j < l ? j : l, c2 = j < l ? l : j;
            shape(r, r2 - r1 + 1, c2 - c1 + 1);
            for (int p = r1; p <= r2; ++p)
                for (int q = c1; q <= c2; ++q) r.e[p - r1][q - c1] = a.e[p][q];
            return true;
        }
        case ID_ROW_DEL:
            if (!read_row(s[0], a, i)) return false;
            shape(r, m - 1, n);
            for (int p = 0, q = 0; p < m; ++p)
                if (p != i) std::memcpy(r.e[q++], a.e[p], sizeof(double) * n);
            return true;
        case ID_COL_DEL:
            if (!read_column(s[0], a, j)) return false;
            shape(r, m, n - 1);
            for (int p = 0; p < m; ++p)
                for (int q = 0, c = 0; q < n; ++q)
                    if (q != j) r.e[p][c++] = a.e[p][q];
            return true;
        case ID_RESIZE:
            if (!read_size(s[0], s[1], i, j)) return false;
            shape(r, i, j);
            for (int p = 0; p < i && p < m; ++p)
                for (int q = 0; q < j && q < n; ++q) r.e[p][q] = a.e[p][q];
            return true;
        case ID_REPLACE:
            if (!read_row(s[0], a, i) || !read_column(s[1], a, j)) return false;
            if (i + b.rows() > m || j + b.columns() > n) return fail(ERR_MATRIX_SIZE, kSizeError);
            r = a;
            for (int p = 0; p < b.rows(); ++p)
                for (int q = 0; q < b.columns(); ++q) r.e[i + p][j + q] = b.e[p][q];
            return true;
        default:
            return fail(ERR_DATA_TYPE, "E5");
    }
}

bool uses_b(int op) {
    switch (op) {
        case ID_MUL: case ID_MUL_IMPLICIT: case ID_MUL_TERM: case ID_DIV: case ID_ADD:
        case ID_SUB: case ID_DOT: case ID_CROSS: case ID_AUGMENT: case ID_STACK: case ID_REPLACE:
            return true;
        default:
            return false;
    }
}

bool uses_a(int op) { return op != ID_IDEN && op != ID_INIT && op != ID_RAND; }

// One operation into `r` (a fresh local) or `value`.
bool run(int op, const Matrix& a, const Matrix& b, const double s[4], bool scalar_flag,
         Matrix& r, double& value, bool& scalar_result) {
    if (scalar_flag) {
        switch (op) {
            case ID_MUL: case ID_MUL_IMPLICIT: case ID_MUL_TERM:
                scale_by(a, s[0], false, r);
                return true;
            case ID_DIV:
                if (s[0] == 0.0) return fail(ERR_DIV_ZERO, "Division by zero");
                scale_by(a, s[0], true, r);
                return true;
            case ID_POWER:
                return power(a, s[0], r);
            default:
                return fail(ERR_DATA_TYPE, "E3");
        }
    }
    switch (op) {
        case ID_MUL: case ID_MUL_IMPLICIT: case ID_MUL_TERM: return product(a, b, r);
        case ID_DIV: return quotient(a, b, r);
        case ID_ADD: case ID_SUB: case ID_NEG: case ID_ABS: return elementwise(op, a, b, r);
        case ID_INVERT: return inverse(a, r);
        case ID_SQUARED: return power(a, 2.0, r);
        case ID_CUBE: return power(a, 3.0, r);
        case ID_TRANSPOSE: transpose(a, r); return true;
        case ID_DET:
            if (!need_square(a) || !nonempty(a)) return false;
            value = determinant(a);
            scalar_result = true;
            return true;
        case ID_RREF: return rref(a, r);
        case ID_SOLVE_LU: return solve_lu(a, r);
        case ID_SOLVE_QR: return solve_qr(a, r);
        case ID_SOLVE_CH: return solve_ch(a, r);
        case ID_SOLVE_SV: return solve_sv(a, r);
        case ID_IDEN: {
            int n;
            if (!read_int(s[0], 1, MATRIX_MAX, ERR_MATRIX_INDEX, n)) return false;
            identity(r, n);
            return true;
        }
        case ID_DIAG:
            if (!need_square(a) || !nonempty(a)) return false;
            shape(r, 1, a.rows());
            for (int i = 0; i < a.rows(); ++i) r.e[0][i] = a.e[i][i];
            return true;
        case ID_TRACE:
            if (!need_square(a)) return false;
            value = 0.0;
            for (int i = 0; i < a.rows(); ++i) value += a.e[i][i];
            scalar_result = true;
            return true;
        case ID_RANK:
            scalar_result = true;
            return rank(a, value);
        case ID_SLV: case ID_SVD_U: case ID_SVD_V: return svd_factor(op, a, r);
        case ID_LU_L: case ID_LU_U: case ID_LU_P: return lu_factor(op, a, r);
        case ID_CHOLESKY: return cholesky(a, r);
        case ID_QR_Q: case ID_QR_R: return qr_factor_op(op, a, r);
        case ID_COND:
            scalar_result = true;
            return condition(a, value);
        case ID_NORM: case ID_ROW_NORM: case ID_COL_NORM:
            value = op == ID_NORM ? frobenius(a) : op == ID_ROW_NORM ? row_norm(a) : column_norm(a);
            scalar_result = true;
            return true;
        case ID_DOT:
            if (a.rows() != 1 || b.rows() != 1 || a.columns() != b.columns())
                return fail(ERR_MATRIX_MISMATCH, kDimError);
            value = 0.0;
            for (int j = 0; j < a.columns(); ++j) value += a.e[0][j] * b.e[0][j];
            scalar_result = true;
            return true;
        case ID_CROSS: {
            if (a.rows() != 1 || b.rows() != 1 || a.columns() != 3 || b.columns() != 3)
                return fail(ERR_MATRIX_MISMATCH, kDimError);
            const double* x = a.e[0];
            const double* y = b.e[0];
            shape(r, 1, 3);
            r.e[0][0] = x[1] * y[2] - x[2] * y[1];
            r.e[0][1] = x[2] * y[0] - x[0] * y[2];
            r.e[0][2] = x[0] * y[1] - x[1] * y[0];
            return true;
        }
        case ID_EIGENVAL: case ID_EIGENVEC: return eigen(op, a, r);
        default: return command(op, a, b, s, r, value, scalar_result);
    }
}

bool all_finite(const Matrix& r) {
    for (int i = 0; i < r.rows(); ++i)
        for (int j = 0; j < r.columns(); ++j)
            if (!std::isfinite(r.e[i][j])) return false;
    return true;
}

void report_non_finite(bool infinite) {
    if (infinite) raise_error(ERR_OVERFLOW, "Positive infinity", "fpieee_handler");
    else raise_error(ERR_DOMAIN, "NAN", "fpieee_handler");
}

}  // namespace

MatrixOutcome matrix_dispatch(int op_id, const Matrix& a, const Matrix& b, const double scalars[4],
                              bool scalar_flag, Matrix& r) {
    const MatrixOutcome failed{MatrixResult::None, 0.0};
    if ((uses_a(op_id) && !plausible(a)) || (!scalar_flag && uses_b(op_id) && !plausible(b))) {
        raise_error(ERR_UNEXPECTED, "Matrix operand has an impossible size", "matrix_dispatch");
        return failed;
    }
    clear_fp_flags();
    Matrix out;
    double value = 0.0;
    bool scalar_result = false;
    const bool ok = run(op_id, a, b, scalars, scalar_flag, out, value, scalar_result);
    if (fpieee_handler() || !ok) return failed;
    if (scalar_result) {
        if (!std::isfinite(value)) {
            report_non_finite(std::isinf(value));
            return failed;
        }
        return MatrixOutcome{MatrixResult::Scalar, value};
    }
    if (!all_finite(out)) {
        bool infinite = false;
        for (int i = 0; i < out.rows(); ++i)
            for (int j = 0; j < out.columns(); ++j) infinite |= std::isinf(out.e[i][j]);
        report_non_finite(infinite);
        return failed;
    }
    r = out;
    return MatrixOutcome{MatrixResult::Matrix, 0.0};
}

}  // namespace qx
