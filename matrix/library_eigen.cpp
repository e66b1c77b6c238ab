// Eigenvalues and eigenvectors.  A symmetric matrix is reduced to
// tridiagonal form by Householder reflections and diagonalised by the
// implicit QL method; any other matrix is reduced to Hessenberg form by
// orthogonal similarity and brought to real Schur form by the Francis
// double-shift QR iteration, after which the eigenvectors are found by back
// substitution.  A complex pair a +- bi is kept as the real 2 x 2 block
// [[a, b], [-b, a]], its eigenvector as two real columns (real and
// imaginary part), so that A V = V D holds in real arithmetic throughout.
#include <cmath>
#include <cstring>

#include "matrix/library_internal.h"

namespace qx {

using namespace matlib;

namespace {

// Householder tridiagonalisation: on return d holds the diagonal, e the
// subdiagonal in e[1..n-1], and v the orthogonal transformation.
void tridiagonalise(Rows& v, int n, double d[N], double e[N]) {
    for (int j = 0; j < n; ++j) d[j] = v[n - 1][j];
    for (int i = n - 1; i > 0; --i) {
        double scale = 0.0, h = 0.0;
        for (int k = 0; k < i; ++k) scale += std::fabs(d[k]);
        if (scale == 0.0) {
            e[i] = d[i - 1];
            for (int j = 0; j < i; ++j) {
                d[j] = v[i - 1][j];
                v[i][j] = 0.0;
                v[j][i] = 0.0;
            }
        } else {
            for (int k = 0; k < i; ++k) {
                d[k] /= scale;
                h += d[k] * d[k];
            }
            double f = d[i - 1];
            double g = std::sqrt(h);
            if (f > 0.0) g = -g;
            e[i] = scale * g;
            h -= f * g;
            d[i - 1] = f - g;
            for (int j = 0; j < i; ++j) e[j] = 0.0;
            for (int j = 0; j < i; ++j) {
                f = d[j];
                v[j][i] = f;
                g = e[j] + v[j][j] * f;
                for (int k = j + 1; k <= i - 1; ++k) {
                    g += v[k][j] * d[k];
                    e[k] += v[k][j] * f;
                }
                e[j] = g;
            }
            f = 0.0;
            for (int j = 0; j < i; ++j) {
                e[j] /= h;
                f += e[j] * d[j];
            }
            double hh = f / (h + h);
            for (int j = 0; j < i; ++j) e[j] -= hh * d[j];
            for (int j = 0; j < i; ++j) {
                f = d[j];
                g = e[j];
                for (int k = j; k <= i - 1; ++k) v[k][j] -= (f * e[k] + g * d[k]);
                d[j] = v[i - 1][j];
                v[i][j] = 0.0;
            }
        }
        d[i] = h;
    }
    // Accumulate the transformations.
    for (int i = 0; i < n - 1; ++i) {
        v[n - 1][i] = v[i][i];
        v[i][i] = 1.0;
        double h = d[i + 1];
        if (h != 0.0) {
            for (int k = 0; k <= i; ++k) d[k] = v[k][i + 1] / h;
            for (int j = 0; j <= i; ++j) {
                double g = 0.0;
                for (int k = 0; k <= i; ++k) g += v[k][i + 1] * v[k][j];
                for (int k = 0; k <= i; ++k) v[k][j] -= g * d[k];
            }
        }
        for (int k = 0; k <= i; ++k) v[k][i + 1] = 0.0;
    }
    for (int j = 0; j < n; ++j) {
        d[j] = v[n - 1][j];
        v[n - 1][j] = 0.0;
    }
    v[n - 1][n - 1] = 1.0;
    e[0] = 0.0;
}

// Implicit QL iterations on the tridiagonal matrix, rotating v along.
// Iterations per eigenvalue are bounded; false when the bound is reached
// or a floating-point fault appears.
bool tridiagonal_ql(Rows& v, int n, double d[N], double e[N], int baseline) {
    for (int i = 1; i < n; ++i) e[i - 1] = e[i];
    e[n - 1] = 0.0;
    double f = 0.0, tst1 = 0.0;
    for (int l = 0; l < n; ++l) {
        tst1 = larger(tst1, std::fabs(d[l]) + std::fabs(e[l]));
        int m = l;
        while (m < n - 1 && std::fabs(e[m]) > EPS * tst1) ++m;
        if (m > l) {
            int iteration = 0;
            do {
                if (++iteration > g_iteration_limits.ql_iterations || new_fault(baseline)) return false;
                // The shift from the leading 2 x 2 block.
                double g = d[l];
                double p = (d[l + 1] - g) / (2.0 * e[l]);
                double r = length(p, 1.0);
                if (p < 0.0) r = -r;
                d[l] = e[l] / (p + r);
                d[l + 1] = e[l] * (p + r);
                double dl1 = d[l + 1];
                double h = g - d[l];
                for (int i = l + 2; i < n; ++i) d[i] -= h;
                f += h;
                // The implicit QL sweep from m up to l.
                p = d[m];
                double c = 1.0, c2 = 1.0, c3 = 1.0;
                double el1 = e[l + 1];
                double s = 0.0, s2 = 0.0;
                for (int i = m - 1; i >= l; --i) {
                    c3 = c2;
                    c2 = c;
                    s2 = s;
                    g = c * e[i];
                    h = c * p;
                    r = length(p, e[i]);
                    e[i + 1] = s * r;
                    s = e[i] / r;
                    c = p / r;
                    p = c * d[i] - s * g;
                    d[i + 1] = h + s * (c * g + s * d[i]);
                    for (int k = 0; k < n; ++k) {
                        h = v[k][i + 1];
                        v[k][i + 1] = s * v[k][i] + c * h;
                        v[k][i] = c * v[k][i] - s * h;
                    }
                }
                p = -s * s2 * c3 * el1 * e[l] / dl1;
                e[l] = s * p;
                d[l] = c * p;
            } while (std::fabs(e[l]) > EPS * tst1);
        }
        d[l] += f;
        e[l] = 0.0;
    }
    return !new_fault(baseline);
}

// Orthogonal reduction to upper Hessenberg form; v receives the product of
// the reflections.  Entries below the subdiagonal end as exact zeros.
void hessenberg(Rows& h, Rows& v, int n) {
    double ort[N] = {};
    const int high = n - 1;
    for (int m = 1; m <= high - 1; ++m) {
        double scale = 0.0;
        for (int i = m; i <= high; ++i) scale += std::fabs(h[i][m - 1]);
        if (scale == 0.0) continue;
        double hh = 0.0;
        for (int i = high; i >= m; --i) {
            ort[i] = h[i][m - 1] / scale;
            hh += ort[i] * ort[i];
        }
        double g = std::sqrt(hh);
        if (ort[m] > 0.0) g = -g;
        hh -= ort[m] * g;
        ort[m] -= g;
        // H = (I - u u' / hh) H (I - u u' / hh)
        for (int j = m; j < n; ++j) {
            double f = 0.0;
            for (int i = high; i >= m; --i) f += ort[i] * h[i][j];
            f /= hh;
            for (int i = m; i <= high; ++i) h[i][j] -= f * ort[i];
        }
        for (int i = 0; i <= high; ++i) {
            double f = 0.0;
            for (int j = high; j >= m; --j) f += ort[j] * h[i][j];
            f /= hh;
            for (int j = m; j <= high; ++j) h[i][j] -= f * ort[j];
        }
        ort[m] *= scale;
        h[m][m - 1] = scale * g;
    }
    for (int i = 0; i < n; ++i)
        for (int j = 0; j < n; ++j) v[i][j] = (i == j) ? 1.0 : 0.0;
    for (int m = high - 1; m >= 1; --m) {
        if (h[m][m - 1] == 0.0) continue;
        for (int i = m + 1; i <= high; ++i) ort[i] = h[i][m - 1];
        for (int j = m; j <= high; ++j) {
            double g = 0.0;
            for (int i = m; i <= high; ++i) g += ort[i] * v[i][j];
            // Two divisions: their product may underflow.
            g = (g / ort[m]) / h[m][m - 1];
            for (int i = m; i <= high; ++i) v[i][j] += g * ort[i];
        }
    }
    for (int i = 2; i < n; ++i)
        for (int j = 0; j < i - 1; ++j) h[i][j] = 0.0;
}

// Francis double-shift QR on the Hessenberg matrix h down to real Schur
// form (transformations accumulated into v), then the eigenvectors of the
// quasi-triangular form by back substitution, carried back by v.  On
// return d and e are the real and imaginary parts of the eigenvalues (for
// a pair, e > 0 on the first of the two) and v holds the eigenvectors.
bool schur_vectors(Rows& h, Rows& v, int nn, double d[N], double e[N], int baseline) {
    const int low = 0, high = nn - 1;
    int n = nn - 1;
    double exshift = 0.0, p = 0.0, q = 0.0, r = 0.0, s = 0.0, z = 0.0, t, w, x, y;

    double norm = 0.0;
    for (int i = 0; i < nn; ++i)
        for (int j = (i > 0 ? i - 1 : 0); j < nn; ++j) norm += std::fabs(h[i][j]);

    // A bound on all iterations together (by default 30 per eigenvalue),
    // with exceptional shifts after 10 and 30 iterations on one eigenvalue.
    const int limit = g_iteration_limits.qr_iterations * (nn > 2 ? nn : 2);
    int total = 0;
    int iter = 0;
    while (n >= low) {
        // Look for a single small subdiagonal element.
        int l = n;
        while (l > low) {
            s = std::fabs(h[l - 1][l - 1]) + std::fabs(h[l][l]);
            if (s == 0.0) s = norm;
            if (std::fabs(h[l][l - 1]) < EPS * s) break;
            --l;
        }
        if (l == n) {
            // One real root.
            h[n][n] += exshift;
            d[n] = h[n][n];
            e[n] = 0.0;
            --n;
            iter = 0;
        } else if (l == n - 1) {
            // Two roots from the trailing 2 x 2 block.
            w = h[n][n - 1] * h[n - 1][n];
            p = (h[n - 1][n - 1] - h[n][n]) / 2.0;
            q = p * p + w;
            z = std::sqrt(std::fabs(q));
            h[n][n] += exshift;
            h[n - 1][n - 1] += exshift;
            x = h[n][n];
            if (q >= 0.0) {
                // A real pair: split the block by a rotation.
                z = (p >= 0.0) ? p + z : p - z;
                d[n - 1] = x + z;
                d[n] = d[n - 1];
                if (z != 0.0) d[n] = x - w / z;
                e[n - 1] = 0.0;
                e[n] = 0.0;
                x = h[n][n - 1];
                s = std::fabs(x) + std::fabs(z);
                p = x / s;
                q = z / s;
                r = std::sqrt(p * p + q * q);
                p /= r;
                q /= r;
                for (int j = n - 1; j < nn; ++j) {
                    z = h[n - 1][j];
                    h[n - 1][j] = q * z + p * h[n][j];
                    h[n][j] = q * h[n][j] - p * z;
                }
                for (int i = 0; i <= n; ++i) {
                    z = h[i][n - 1];
                    h[i][n - 1] = q * z + p * h[i][n];
                    h[i][n] = q * h[i][n] - p * z;
                }
                for (int i = low; i <= high; ++i) {
                    z = v[i][n - 1];
                    v[i][n - 1] = q * z + p * v[i][n];
                    v[i][n] = q * v[i][n] - p * z;
                }
            } else {
                // A complex pair x + p +- z i.
                d[n - 1] = x + p;
                d[n] = x + p;
                e[n - 1] = z;
                e[n] = -z;
            }
            n -= 2;
            iter = 0;
        } else {
            if (++total > limit || new_fault(baseline)) return false;
            // Form the shift.
            x = h[n][n];
            y = 0.0;
            w = 0.0;
            if (l < n) {
                y = h[n - 1][n - 1];
                w = h[n][n - 1] * h[n - 1][n];
            }
            if (iter == 10) {
                // Exceptional shift: breaks the cycles of the standard shift.
                exshift += x;
                for (int i = low; i <= n; ++i) h[i][i] -= x;
                s = std::fabs(h[n][n - 1]) + std::fabs(h[n - 1][n - 2]);
                x = y = 0.75 * s;
                w = -0.4375 * s * s;
            }
            if (iter == 30) {
                // A second kind of exceptional shift for what the first misses.
                s = (y - x) / 2.0;
                s = s * s + w;
                if (s > 0.0) {
                    s = std::sqrt(s);
                    if (y < x) s = -s;
                    s = x - w / ((y - x) / 2.0 + s);
                    for (int i = low; i <= n; ++i) h[i][i] -= s;
                    exshift += s;
                    x = y = w = 0.964;
                }
            }
            ++iter;
            // Look for two consecutive small subdiagonal elements.
            int m = n - 2;
            while (m >= l) {
                z = h[m][m];
                r = x - z;
                s = y - z;
                p = (r * s - w) / h[m + 1][m] + h[m][m + 1];
                q = h[m + 1][m + 1] - z - r - s;
                r = h[m + 2][m + 1];
                s = std::fabs(p) + std::fabs(q) + std::fabs(r);
                p /= s;
                q /= s;
                r /= s;
                if (m == l) break;
                if (std::fabs(h[m][m - 1]) * (std::fabs(q) + std::fabs(r)) <
                    EPS * (std::fabs(p) * (std::fabs(h[m - 1][m - 1]) + std::fabs(z) +
                                           std::fabs(h[m + 1][m + 1]))))
                    break;
                --m;
            }
            for (int i = m + 2; i <= n; ++i) {
                h[i][i - 2] = 0.0;
                if (i > m + 2) h[i][i - 3] = 0.0;
            }
            // The double QR step on rows l..n and columns m..n.
            for (int k = m; k <= n - 1; ++k) {
                const bool notlast = (k != n - 1);
                if (k != m) {
                    p = h[k][k - 1];
                    q = h[k + 1][k - 1];
                    r = notlast ? h[k + 2][k - 1] : 0.0;
                    x = std::fabs(p) + std::fabs(q) + std::fabs(r);
                    if (x == 0.0) continue;
                    p /= x;
                    q /= x;
                    r /= x;
                }
                s = std::sqrt(p * p + q * q + r * r);
                if (p < 0.0) s = -s;
                if (s == 0.0) continue;
                if (k != m) h[k][k - 1] = -s * x;
                else if (l != m) h[k][k - 1] = -h[k][k - 1];
                p += s;
                x = p / s;
                y = q / s;
                z = r / s;
                q /= p;
                r /= p;
                for (int j = k; j < nn; ++j) {
                    p = h[k][j] + q * h[k + 1][j];
                    if (notlast) {
                        p += r * h[k + 2][j];
                        h[k + 2][j] -= p * z;
                    }
                    h[k][j] -= p * x;
                    h[k + 1][j] -= p * y;
                }
                const int last = (n < k + 3) ? n : k + 3;
                for (int i = 0; i <= last; ++i) {
                    p = x * h[i][k] + y * h[i][k + 1];
                    if (notlast) {
                        p += z * h[i][k + 2];
                        h[i][k + 2] -= p * r;
                    }
                    h[i][k] -= p;
                    h[i][k + 1] -= p * q;
                }
                for (int i = low; i <= high; ++i) {
                    p = x * v[i][k] + y * v[i][k + 1];
                    if (notlast) {
                        p += z * v[i][k + 2];
                        v[i][k + 2] -= p * r;
                    }
                    v[i][k] -= p;
                    v[i][k + 1] -= p * q;
                }
            }
        }
    }
    if (new_fault(baseline)) return false;
    if (norm == 0.0) return true;

    // Back substitution: the eigenvectors of the quasi-triangular form.
    for (n = nn - 1; n >= 0; --n) {
        p = d[n];
        q = e[n];
        if (q == 0.0) {
            // A real vector.
            int l = n;
            h[n][n] = 1.0;
            for (int i = n - 1; i >= 0; --i) {
                w = h[i][i] - p;
                r = 0.0;
                for (int j = l; j <= n; ++j) r += h[i][j] * h[j][n];
                if (e[i] < 0.0) {
                    z = w;
                    s = r;
                } else {
                    l = i;
                    if (e[i] == 0.0) {
                        h[i][n] = (w != 0.0) ? -r / w : -r / (EPS * norm);
                    } else {
                        // A 2 x 2 real system.
                        x = h[i][i + 1];
                        y = h[i + 1][i];
                        q = (d[i] - p) * (d[i] - p) + e[i] * e[i];
                        t = (x * s - z * r) / q;
                        h[i][n] = t;
                        h[i + 1][n] = (std::fabs(x) > std::fabs(z)) ? (-r - w * t) / x
                                                                    : (-s - y * t) / z;
                    }
                    // Rescale when the components grow towards overflow.
                    t = std::fabs(h[i][n]);
                    if ((EPS * t) * t > 1.0)
                        for (int j = i; j <= n; ++j) h[j][n] /= t;
                }
            }
        } else if (q < 0.0) {
            // A complex vector: real part in column n - 1, imaginary in n.
            int l = n - 1;
            if (std::fabs(h[n][n - 1]) > std::fabs(h[n - 1][n])) {
                h[n - 1][n - 1] = q / h[n][n - 1];
                h[n - 1][n] = -(h[n][n] - p) / h[n][n - 1];
            } else {
                smith_divide(0.0, -h[n - 1][n], h[n - 1][n - 1] - p, q, h[n - 1][n - 1],
                             h[n - 1][n]);
            }
            h[n][n - 1] = 0.0;
            h[n][n] = 1.0;
            for (int i = n - 2; i >= 0; --i) {
                double ra = 0.0, sa = 0.0;
                for (int j = l; j <= n; ++j) {
                    ra += h[i][j] * h[j][n - 1];
                    sa += h[i][j] * h[j][n];
                }
                w = h[i][i] - p;
                if (e[i] < 0.0) {
                    z = w;
                    r = ra;
                    s = sa;
                } else {
                    l = i;
                    if (e[i] == 0.0) {
                        smith_divide(-ra, -sa, w, q, h[i][n - 1], h[i][n]);
                    } else {
                        // A 2 x 2 complex system.
                        x = h[i][i + 1];
                        y = h[i + 1][i];
                        double vr = (d[i] - p) * (d[i] - p) + e[i] * e[i] - q * q;
                        double vi = (d[i] - p) * 2.0 * q;
                        if (vr == 0.0 && vi == 0.0)
                            vr = EPS * norm *
                                 (std::fabs(w) + std::fabs(q) + std::fabs(x) + std::fabs(y) +
                                  std::fabs(z));
                        smith_divide(x * r - z * ra + q * sa, x * s - z * sa - q * ra, vr, vi,
                                     h[i][n - 1], h[i][n]);
                        if (std::fabs(x) > (std::fabs(z) + std::fabs(q))) {
                            h[i + 1][n - 1] = (-ra - w * h[i][n - 1] + q * h[i][n]) / x;
                            h[i + 1][n] = (-sa - w * h[i][n] - q * h[i][n - 1]) / x;
                        } else {
                            smith_divide(-r - y * h[i][n - 1], -s - y * h[i][n], z, q,
                                         h[i + 1][n - 1], h[i + 1][n]);
                        }
                    }
                    t = larger(std::fabs(h[i][n - 1]), std::fabs(h[i][n]));
                    if ((EPS * t) * t > 1.0)
                        for (int j = i; j <= n; ++j) {
                            h[j][n - 1] /= t;
                            h[j][n] /= t;
                        }
                }
            }
        }
    }
    // Back to the vectors of the original matrix: V times the triangular
    // vectors, column by column from the last so that v can be overwritten.
    for (int j = nn - 1; j >= low; --j)
        for (int i = low; i <= high; ++i) {
            double sum = 0.0;
            for (int k = low; k <= j; ++k) sum += v[i][k] * h[k][j];
            v[i][j] = sum;
        }
    return !new_fault(baseline);
}

// Unit length, and the component of largest magnitude positive, so that
// the same matrix always shows the same vectors.
void normalise_real(Rows& v, int n, int col) {
    double scale = 0.0, big = 0.0;
    int at = 0;
    for (int i = 0; i < n; ++i) {
        double a = std::fabs(v[i][col]);
        if (a > big) {
            big = a;
            at = i;
        }
    }
    if (big == 0.0) return;
    for (int i = 0; i < n; ++i) {
        double t = v[i][col] / big;
        scale += t * t;
    }
    double f = big * std::sqrt(scale);
    if (v[at][col] < 0.0) f = -f;
    for (int i = 0; i < n; ++i) v[i][col] /= f;
}

// A complex vector (columns col and col + 1) to unit length, turned so that
// its component of largest modulus is real and positive.
void normalise_complex(Rows& v, int n, int col) {
    double big = 0.0;
    int at = 0;
    for (int i = 0; i < n; ++i) {
        double a = length(v[i][col], v[i][col + 1]);
        if (a > big) {
            big = a;
            at = i;
        }
    }
    if (big == 0.0) return;
    double scale = 0.0;
    for (int i = 0; i < n; ++i) {
        double re = v[i][col] / big, im = v[i][col + 1] / big;
        scale += re * re + im * im;
    }
    // Multiply by conj(v_at) / (|v_at| * |v|).
    const double norm = big * std::sqrt(scale);
    const double cr = v[at][col] / big, ci = -v[at][col + 1] / big;   // unit modulus
    for (int i = 0; i < n; ++i) {
        double re = v[i][col], im = v[i][col + 1];
        v[i][col] = (re * cr - im * ci) / norm;
        v[i][col + 1] = (re * ci + im * cr) / norm;
    }
    v[at][col + 1] = 0.0;
}

}  // namespace

bool eigen_decompose(const Matrix& a, Matrix& d, Matrix& v) {
    const int n = a.rows();
    if (a.columns() != n || n < 1) return false;
    bool symmetric = true;
    for (int i = 0; i < n && symmetric; ++i)
        for (int j = 0; j < i; ++j)
            if (a.e[i][j] != a.e[j][i]) {
                symmetric = false;
                break;
            }
    const int baseline = fault_flags();
    double re[N] = {}, im[N] = {};
    // The iterations square elements of the order of the eigenvalues, so the
    // matrix is brought near 1 by a power of two (exactly) and the
    // eigenvalues scaled back at the end; the vectors do not change.
    const double scale = unit_scale(a);
    shape(v, n, n);
    if (symmetric) {
        for (int i = 0; i < n; ++i)
            for (int j = 0; j < n; ++j) v.e[i][j] = a.e[i][j] * scale;
        tridiagonalise(v.e, n, re, im);
        if (!tridiagonal_ql(v.e, n, re, im, baseline)) return false;
        // Ascending by selection sort, the vectors along.
        for (int i = 0; i < n - 1; ++i) {
            int k = i;
            for (int j = i + 1; j < n; ++j)
                if (re[j] < re[k]) k = j;
            if (k == i) continue;
            double t = re[i];
            re[i] = re[k];
            re[k] = t;
            for (int r = 0; r < n; ++r) {
                t = v.e[r][i];
                v.e[r][i] = v.e[r][k];
                v.e[r][k] = t;
            }
        }
        for (int i = 0; i < n; ++i) im[i] = 0.0;
    } else {
        Matrix h;
        shape(h, n, n);
        for (int i = 0; i < n; ++i)
            for (int j = 0; j < n; ++j) h.e[i][j] = a.e[i][j] * scale;
        hessenberg(h.e, v.e, n);
        if (!schur_vectors(h.e, v.e, n, re, im, baseline)) return false;
    }
    for (int i = 0; i < n; ++i) {
        re[i] /= scale;
        im[i] /= scale;
    }
    shape(d, n, n);
    for (int i = 0; i < n; ++i) {
        d.e[i][i] = re[i];
        if (im[i] > 0.0) {
            d.e[i][i + 1] = im[i];
            d.e[i + 1][i] = -im[i];
            normalise_complex(v.e, n, i);
            ++i;
            d.e[i][i] = re[i];
        } else {
            normalise_real(v.e, n, i);
        }
    }
    return !new_fault(baseline);
}

}  // namespace qx
