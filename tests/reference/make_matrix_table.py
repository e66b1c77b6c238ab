#!/usr/bin/env python3
"""Writes matrix_table.inc: reference results of the matrix library's
factorisations and solvers, computed with mpmath at 50 digits.  Each line is
{kind, label, rows, cols, {input}, result rows, result cols, {result}, tol}
with tol the allowed error relative to the result's largest magnitude.
Run again only to change the matrices."""
import random

import mpmath as mp

mp.mp.dps = 50
EPS = mp.mpf(2) ** -52


def mat(rows):
    return mp.matrix([[mp.mpf(x) for x in r] for r in rows])


def hilbert(n):
    return [[1.0 / (i + j + 1) for j in range(n)] for i in range(n)]


def rand_matrix(rng, m, n, digits=3):
    return [[round(rng.uniform(-10, 10), digits) for _ in range(n)] for _ in range(m)]


def cond2(a):
    s = mp.svd_r(a, compute_uv=False)
    return max(s) / min(s)


def lu_scaled(a):
    n = a.rows
    lu = a.copy()
    perm = list(range(n))
    rmax = [max(abs(lu[i, j]) for j in range(n)) for i in range(n)]
    for j in range(n):
        # right-looking form gives the same factors in exact arithmetic
        scaled = [abs(lu[i, j]) / rmax[i] for i in range(j, n)]
        best = max(scaled)
        order = sorted(scaled, reverse=True)
        if len(order) > 1 and order[1] > best * (1 - mp.mpf(10) ** -8) and order[1] != best:
            return None
        p = j + scaled.index(best)
        if p != j:
            for c in range(n):
                lu[j, c], lu[p, c] = lu[p, c], lu[j, c]
            rmax[j], rmax[p] = rmax[p], rmax[j]
            perm[j], perm[p] = perm[p], perm[j]
        for i in range(j + 1, n):
            lu[i, j] /= lu[j, j]
            for c in range(j + 1, n):
                lu[i, c] -= lu[i, j] * lu[j, c]
    P = mp.zeros(n, n)
    L = mp.eye(n)
    U = mp.zeros(n, n)
    for i in range(n):
        P[i, perm[i]] = 1
        for c in range(n):
            if c < i:
                L[i, c] = lu[i, c]
            else:
                U[i, c] = lu[i, c]
    return P, L, U


def householder_qr(a):
    """Householder QR with the calculator's sign rule: column k's length takes
    the sign of the diagonal element and R's diagonal is minus it."""
    m, n = a.rows, a.cols
    qr = a.copy()
    rdiag = [mp.mpf(0)] * n
    for k in range(n):
        nrm = mp.sqrt(sum(qr[i, k] ** 2 for i in range(k, m)))
        if nrm != 0:
            if qr[k, k] < 0:
                nrm = -nrm
            for i in range(k, m):
                qr[i, k] /= nrm
            qr[k, k] += 1
            for j in range(k + 1, n):
                s = sum(qr[i, k] * qr[i, j] for i in range(k, m))
                s = -s / qr[k, k]
                for i in range(k, m):
                    qr[i, j] += s * qr[i, k]
        rdiag[k] = -nrm
    R = mp.zeros(n, n)
    for i in range(n):
        R[i, i] = rdiag[i]
        for j in range(i + 1, n):
            R[i, j] = qr[i, j]
    Q = mp.zeros(m, n)
    for k in range(n - 1, -1, -1):
        Q[k, k] = 1
        for j in range(k, n):
            if qr[k, k] != 0:
                s = sum(qr[i, k] * Q[i, j] for i in range(k, m))
                s = -s / qr[k, k]
                for i in range(k, m):
                    Q[i, j] += s * qr[i, k]
    return Q, R


def pinv_solve(c, b):
    m, n = c.rows, c.cols
    U, S, V = mp.svd_r(c, full_matrices=False)
    tol = max(m, n) * max(S) * EPS
    x = mp.zeros(n, 1)
    for k in range(len(S)):
        if S[k] > tol:
            s = sum(U[i, k] * b[i] for i in range(m)) / S[k]
            for j in range(n):
                x[j] += V[k, j] * s
    return x


def fmt(x):
    x = mp.mpf(x)
    if abs(x) < mp.mpf(10) ** -40:
        return "0.0"
    return mp.nstr(x, 20, min_fixed=1, max_fixed=0)


lines = []


def emit(kind, label, a_rows, result, tol):
    m, n = len(a_rows), len(a_rows[0])
    flat = ", ".join(repr(float(x)) for r in a_rows for x in r)
    if isinstance(result, mp.matrix):
        rm, rn = result.rows, result.cols
        vals = [result[i, j] for i in range(rm) for j in range(rn)]
    else:
        rm, rn, vals = 1, len(result), result
    out = ", ".join(fmt(v) for v in vals)
    lines.append(f'    {{"{kind}", "{label}", {m}, {n}, {{{flat}}}, {rm}, {rn}, {{{out}}}, {float(tol)!r}}},')


def tol_for(a, c=None):
    n = max(a.rows, a.cols)
    c = cond2(a) if c is None else c
    return max(mp.mpf(1e-14), 64 * n * EPS * c)


rng = random.Random(20240611)

square_cases = [
    ("acceptance", [[4, -2, 1], [3, 6, -4], [2, 1, 8]]),
    ("pivot", [[3, 1000], [2, 1]]),
    ("swap", [[0, 1], [1, 0]]),
    ("scaled4", [[1e-4 if i == j else 0.0 for j in range(4)] for i in range(4)]),
]
for n in (5, 6, 7, 8):
    square_cases.append((f"hilbert{n}", hilbert(n)))
for n in (4, 5, 6, 8, 10, 12):
    square_cases.append((f"random{n}", rand_matrix(rng, n, n)))

for label, rows in square_cases:
    a = mat(rows)
    c = cond2(a)
    tol = tol_for(a, c)
    emit("det", label, rows, [mp.det(a)], tol)
    emit("inv", label, rows, mp.inverse(a), tol)
    f = lu_scaled(a)
    if f is not None:
        P, L, U = f
        emit("lu_p", label, rows, P, 0.0)
        emit("lu_l", label, rows, L, tol)
        emit("lu_u", label, rows, U, tol)
    Q, R = householder_qr(a)
    emit("qr_q", label, rows, Q, tol)
    emit("qr_r", label, rows, R, tol)
    s = sorted(mp.svd_r(a, compute_uv=False), reverse=True)
    emit("svd_w", label, rows, s, 64 * a.rows * EPS)
    b = [round(rng.uniform(-5, 5), 2) for _ in range(a.rows)]
    aug = [r + [bb] for r, bb in zip(rows, b)]
    emit("solve_lu", label, aug, mp.lu_solve(a, mp.matrix(b)), tol)

# Tall matrices: QR, SVD and the least-squares solvers.
tall_cases = [("tall5x3", rand_matrix(rng, 5, 3)), ("tall8x5", rand_matrix(rng, 8, 5)),
              ("tall12x7", rand_matrix(rng, 12, 7)), ("tall30x10", rand_matrix(rng, 30, 10, 2))]
for label, rows in tall_cases:
    a = mat(rows)
    c = cond2(a)
    tol = tol_for(a, c)
    Q, R = householder_qr(a)
    emit("qr_q", label, rows, Q, tol)
    emit("qr_r", label, rows, R, tol)
    emit("svd_w", label, rows, sorted(mp.svd_r(a, compute_uv=False), reverse=True),
         64 * a.rows * EPS)
    b = [round(rng.uniform(-5, 5), 2) for _ in range(a.rows)]
    aug = [r + [bb] for r, bb in zip(rows, b)]
    x, _ = mp.qr_solve(a, mp.matrix(b))
    emit("solve_qr", label, aug, x, tol * c)
    emit("solve_sv", label, aug, pinv_solve(a, mp.matrix(b)), tol * c)

# Rank-deficient least squares: the minimum-norm solution.
for label, rows in [("deficient2", [[1, 2, 1], [2, 4, 3]]),
                    ("deficient4x3", [[1, 2, 3, 1], [2, 4, 6, 0], [1, 0, 1, 2], [0, 2, 2, -1]])]:
    coeff = mat([r[:-1] for r in rows])
    b = mp.matrix([r[-1] for r in rows])
    emit("solve_sv", label, rows, pinv_solve(coeff, b), 1e-13)

# Symmetric positive definite: Cholesky and its solver; symmetric
# eigenvalues ascending.
spd_cases = [("chol3", [[4, 12, -16], [12, 37, -43], [-16, -43, 98]]), ("chol2", [[4, 2], [2, 3]])]
for n in (4, 6, 9):
    g = rand_matrix(rng, n, n)
    spd = [[sum(g[k][i] * g[k][j] for k in range(n)) + (n if i == j else 0) for j in range(n)]
           for i in range(n)]
    spd = [[round(x, 6) for x in r] for r in spd]
    for i in range(n):
        for j in range(i):
            spd[i][j] = spd[j][i]
    spd_cases.append((f"spd{n}", spd))
spd_cases.append(("hilbert6", hilbert(6)))
for label, rows in spd_cases:
    a = mat(rows)
    c = cond2(a)
    tol = tol_for(a, c)
    emit("chol", label, rows, mp.cholesky(a), tol)
    b = [round(rng.uniform(-5, 5), 2) for _ in range(a.rows)]
    aug = [r + [bb] for r, bb in zip(rows, b)]
    emit("solve_ch", label, aug, mp.cholesky_solve(a, mp.matrix(b)), tol)
    ev = sorted(mp.eigsy(a, eigvals_only=True))
    emit("eig_sym", label, rows, ev, 64 * a.rows * EPS)

sym_cases = [("sym_indef", [[2, -1, 0, 3], [-1, 0, 4, 1], [0, 4, -3, 2], [3, 1, 2, 1]])]
g = rand_matrix(rng, 12, 12)
sym_cases.append(("sym12", [[g[i][j] if i <= j else g[j][i] for j in range(12)] for i in range(12)]))
for label, rows in sym_cases:
    a = mat(rows)
    emit("eig_sym", label, rows, sorted(mp.eigsy(a, eigvals_only=True)), 64 * a.rows * EPS)

# Non-symmetric eigenvalues: real parts then imaginary parts, ordered by
# (real, imaginary) so the test can order its own results the same way.
nonsym_cases = [
    ("rotation", [[1, -2], [3, 1]]),
    ("quarter", [[0, 1], [-1, 0]]),
    ("acceptance", [[4, -2, 1], [3, 6, -4], [2, 1, 8]]),
    ("cycle3", [[0, 0, 1], [1, 0, 0], [0, 1, 0]]),
    ("cycle4", [[0, 0, 0, 1], [1, 0, 0, 0], [0, 1, 0, 0], [0, 0, 1, 0]]),
    ("companion5", [[0, 0, 0, 0, -120], [1, 0, 0, 0, 274], [0, 1, 0, 0, -225],
                    [0, 0, 1, 0, 85], [0, 0, 0, 1, -15]]),
]
for n in (5, 8, 13):
    nonsym_cases.append((f"nonsym{n}", rand_matrix(rng, n, n)))
for label, rows in nonsym_cases:
    a = mat(rows)
    ev = mp.eig(a, left=False, right=False)
    ev = sorted(ev, key=lambda z: (float(mp.re(z)), float(mp.im(z))))
    emit("eig", label, rows, [mp.re(z) for z in ev] + [mp.im(z) for z in ev], 1e-11)

with open("matrix_table.inc", "w") as out:
    out.write("// Generated by make_matrix_table.py (50-digit mpmath references).\n")
    out.write("\n".join(lines) + "\n")
