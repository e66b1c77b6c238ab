#!/usr/bin/env python3
"""Writes stats_table.inc: reference results of the statistics over data sets
of points (x, y) - the 21 summary quantities, the four regression fits
(linear, logarithmic, exponential, power) and one estimate each way per fit.

Every value is computed from the exact binary values of the double data (the
C++ side is given the same literals): sums, means and deviations of the raw
data as exact fractions, everything involving a root or a logarithm with
mpmath at 50 digits.  Only the final result is rounded to a double.
Run from the repository root:
    python3 tests/reference/make_stats_table.py > tests/reference/stats_table.inc
"""
import math
import random
from fractions import Fraction

from mpmath import mp, mpf, sqrt, log, exp

mp.dps = 50

LINEAR, LOGARITHMIC, EXPONENTIAL, POWER = range(4)
DOUBLE_MAX = mpf(2) ** 1024 * (1 - mpf(2) ** -53)
DOUBLE_MIN_NORMAL = mpf(2) ** -1022


class Undefined(Exception):
    """The value has no real result; the calculator reports an error."""


def as_mpf(q):
    return mpf(q.numerator) / q.denominator


def centred_sums(xs, ys):
    """Exact n, means, Sxx, Syy, Sxy of two equal-length lists of Fractions."""
    n = len(xs)
    mx, my = sum(xs) / n, sum(ys) / n
    sxx = sum((x - mx) ** 2 for x in xs)
    syy = sum((y - my) ** 2 for y in ys)
    sxy = sum((x - mx) * (y - my) for x, y in zip(xs, ys))
    return mx, my, sxx, syy, sxy


def quantities(xd, yd):
    xs = [Fraction(v) for v in xd]
    ys = [Fraction(v) for v in yd]
    n = len(xs)
    sx, sy = sum(xs), sum(ys)
    sxy = sum(x * y for x, y in zip(xs, ys))
    _, _, dxx, dyy, _ = centred_sums(xs, ys)

    def ratio(num, den):
        if den == 0:
            raise Undefined
        return as_mpf(num / den)

    def spread(d, m):
        if m == 0:
            raise Undefined
        return sqrt(as_mpf(d / m))

    fit0 = fit(xd, yd, LINEAR)
    q = [
        lambda: as_mpf(sxy),
        lambda: ratio(sxy, sy),
        lambda: ratio(sxy, sx),
        lambda: as_mpf(sx / n),
        lambda: as_mpf(sx),
        lambda: as_mpf(sum(x * x for x in xs)),
        lambda: spread(dxx, n),
        lambda: spread(dxx, n - 1),
        lambda: as_mpf(sy / n),
        lambda: as_mpf(sy),
        lambda: as_mpf(sum(y * y for y in ys)),
        lambda: spread(dyy, n),
        lambda: spread(dyy, n - 1),
        lambda: mpf(min(xd)),
        lambda: mpf(max(xd)),
        lambda: mpf(min(yd)),
        lambda: mpf(max(yd)),
        lambda: fit0[0](),
        lambda: fit0[1](),
        lambda: fit0[2](),
        lambda: mpf(n),
    ]
    return [attempt(f) for f in q]


def attempt(f):
    """(value, is_error) of a thunk that raises Undefined for no result."""
    try:
        return f(), False
    except Undefined:
        return mpf(0), True


def transform(values, logarithmic):
    if not logarithmic:
        return [mpf(v) for v in values]
    if any(v <= 0 for v in values):
        raise Undefined
    return [log(mpf(v)) for v in values]


def fit(xd, yd, kind):
    """Thunks for a, b, r of one regression kind (they raise Undefined)."""
    def coefficients():
        X = transform(xd, kind in (LOGARITHMIC, POWER))
        Y = transform(yd, kind in (EXPONENTIAL, POWER))
        # Equal abscissae give Sxx = 0 exactly; decided on the values, not on
        # a rounded sum, so that a constant column is always refused.
        if all(v == X[0] for v in X):
            raise Undefined
        if kind in (LINEAR, EXPONENTIAL):
            mx, my, sxx, syy, sxy = (as_mpf(v) for v in centred_sums(
                [Fraction(v) for v in xd], [Fraction(v) for v in yd]))
            if kind == EXPONENTIAL:
                my = sum(Y) / len(Y)
                syy = sum((y - my) ** 2 for y in Y)
                sxy = sum((x - mx) * (y - my) for x, y in zip(X, Y))
        else:
            n = len(X)
            mx, my = sum(X) / n, sum(Y) / n
            sxx = sum((x - mx) ** 2 for x in X)
            syy = sum((y - my) ** 2 for y in Y)
            sxy = sum((x - mx) * (y - my) for x, y in zip(X, Y))
        a = sxy / sxx
        b = my - mx * a
        if kind in (EXPONENTIAL, POWER):
            b = exp(b)
        constant_y = all(v == Y[0] for v in Y)
        r = None if constant_y else max(-1, min(1, sxy / sqrt(sxx * syy)))
        return a, b, r

    def part(i):
        def thunk():
            value = coefficients()[i]
            if value is None:
                raise Undefined
            return value
        return thunk

    return [part(0), part(1), part(2)]


def estimate_y(a, b, x, kind):
    x = mpf(x)
    if kind == LINEAR:
        return a * x + b
    if kind == LOGARITHMIC:
        if x <= 0:
            raise Undefined
        return a * log(x) + b
    if kind == EXPONENTIAL:
        return b * exp(a * x)
    if x < 0 or (x == 0 and a <= 0):
        raise Undefined     # a non-integer power of a negative is not real
    return b * x ** a


def estimate_x(a, b, y, kind):
    y = mpf(y)
    if a == 0:
        raise Undefined
    if kind == LINEAR:
        return (y - b) / a
    if kind == LOGARITHMIC:
        return exp((y - b) / a)
    if y / b <= 0:
        raise Undefined
    if kind == EXPONENTIAL:
        return log(y / b) / a
    return (y / b) ** (1 / a)


def check_double(v):
    """Refuses a reference that a double cannot carry: the table would lie.
    A value far below the subnormals is carried correctly as 0."""
    assert abs(v) <= DOUBLE_MAX, f"overflow {v}"
    assert abs(v) >= DOUBLE_MIN_NORMAL or float(v) == 0, f"subnormal {v}"


def c_double(v):
    f = float(v)
    assert math.isfinite(f)
    return repr(f)


sets = []


def data_set(name, xd, yd, tol, note="", at=None):
    """at: per kind (x for the y estimate, y for the x estimate); by default
    the means of the data, which lie in every fit's domain when it exists."""
    assert len(xd) == len(yd) and 1 <= len(xd) <= 999
    xd = [float(v) for v in xd]
    yd = [float(v) for v in yd]
    mean_x = float(as_mpf(sum(Fraction(v) for v in xd) / len(xd)))
    mean_y = float(as_mpf(sum(Fraction(v) for v in yd) / len(yd)))
    at = at or [(mean_x, mean_y)] * 4
    fits, estimates = [], []
    for kind in range(4):
        abr = [attempt(t) for t in fit(xd, yd, kind)]
        a_err, b_err = abr[0][1], abr[1][1]
        if a_err or b_err:
            ey = ex = (mpf(0), True)
        else:
            a, b = abr[0][0], abr[1][0]
            ey = attempt(lambda: estimate_y(a, b, at[kind][0], kind))
            ex = attempt(lambda: estimate_x(a, b, at[kind][1], kind))
        fits.append(abr)
        estimates.append((ey, ex))
    sets.append((name, xd, yd, tol, note, quantities(xd, yd), fits, at, estimates))


# Sets whose tolerance is looser than 1e-12 say why in their note.
data_set("acceptance", [1, 2, 3, 4, 5], [1.8, 4.1, 5.9, 8.2, 9.8], 1e-12)
data_set("exponential exact", [0, 1, 2], [1, math.e, math.exp(2)], 1e-12,
         "ln 0 refuses the logarithmic and power fits")
data_set("constant x", [0.1, 0.1, 0.1], [1, 2, 3], 1e-12,
         "the deviations of x are exactly 0, so no fit exists")
data_set("offset", [100000001, 100000002, 100000003], [2, 4, 7], 1e-9,
         "1e-9: x carries 8 digits that cancel in the deviations; ln x "
         "deviations (1e-8) carry only 7 digits in doubles, so the log and "
         "power a, b differ by 1e-7; the exponential and power b "
         "(e^-6e7, e^-1e9) round to 0 while the estimates stay finite")
data_set("collinear", [1, 2, 3], [2.1, 2.2, 2.3], 1e-12,
         "r is 1 - 8e-31 from the binary data, so 1 as a double")
data_set("clamp", [1, 2, 3, 4], [6.6, 7.7, 8.8, 9.9], 1e-12,
         "a two-pass double computation of r gives 1.0000000000000002")
data_set("large offset fit", [1e9 + k for k in range(1, 6)], [3, 5, 7, 9, 11.5], 1e-9,
         "1e-9: x carries 9 digits that cancel in the deviations; ln x "
         "deviations (1e-9) carry only 6 digits in doubles, so the log and "
         "power a, b differ by 1e-7; the exponential and power b round to 0 "
         "while the estimates stay finite")
data_set("one point", [2], [3], 1e-12, "n-1 = 0 and Sxx = 0")
data_set("negative data", [-2, -1, 0, 1, 2], [4, 1, 0, 1, 4], 1e-12,
         "sum x = 0; only the linear fit exists, with a = 0 and r = 0")
data_set("zero y sum", [1, 2, 3], [-1, 0, 1], 1e-12, "sum y = 0; ln y refused")
data_set("constant y", [1, 2, 3], [5, 5, 5], 1e-12,
         "Syy = 0 refuses r alone; a = 0 refuses every x estimate")

rng = random.Random(20261207)
rx, ry = [], []
for _ in range(999):
    x = round(rng.uniform(0.5, 100), 6)
    ry.append(round(3 * x ** 1.3 * (1 + 0.05 * rng.uniform(-1, 1)), 6))
    rx.append(x)
data_set("random 999", rx, ry, 1e-11,
         "1e-11: 999 terms accumulate rounding in the sums")
data_set("large magnitude", [1e150, 2e150, 3e150], [1e-150, 3e-150, 2e-150], 1e-11,
         "1e-11: products and squares near the ends of the double range; the "
         "power b = e^-598 magnifies the rounding of its exponent 600 times")
data_set("decreasing", range(1, 21), [100 * 0.8 ** k for k in range(1, 21)], 1e-12,
         "exponential fit a = ln 0.8, b = 100, r = -1")
data_set("estimates outside domain", [1, 2, 3, 4, 5], [1.8, 4.1, 5.9, 8.2, 9.8], 1e-12,
         "acceptance data; ln of a negative x, y/b < 0 and a negative base refused",
         at=[(-1.0, -1.0)] * 4)


def array(name, values):
    items = [c_double(v) for v in values]
    lines = [", ".join(items[i:i + 6]) for i in range(0, len(items), 6)]
    return f"static const double {name}[] = {{\n    " + ",\n    ".join(lines) + "\n};"


def values(pairs):
    for v, err in pairs:
        if not err:
            check_double(v)
    return ("{" + ", ".join("0.0" if err else c_double(v) for v, err in pairs) + "}",
            "{" + ", ".join(str(err).lower() for _, err in pairs) + "}")


print("// Generated by tests/reference/make_stats_table.py; do not edit.")
print("""struct StatsReference {
    const char* name;        // what the set exercises
    int n;
    const double* x;
    const double* y;
    double tolerance;        // relative tolerance the set is checked with
    double quantity[21];     // 0 where quantity_error is set
    bool quantity_error[21];
    double fit[4][3];        // a, b, r per kind; 0 where fit_error is set
    bool fit_error[4][3];
    double estimate_at[4][2];   // per kind: the x given to the y estimate, the y given to the x estimate
    double estimate[4][2];      // per kind: the y estimate, the x estimate
    bool estimate_error[4][2];
};""")
for i, (name, xd, yd, *_rest) in enumerate(sets):
    print(array(f"kSet{i}_x", xd))
    print(array(f"kSet{i}_y", yd))
print("static const StatsReference kStatsReference[] = {")
for i, (name, xd, yd, tol, note, qs, fits, at, estimates) in enumerate(sets):
    if note:
        print(f"    // {note}")
    qv, qe = values(qs)
    fv, fe = zip(*(values(f) for f in fits))
    ev, ee = zip(*(values(e) for e in estimates))
    av = ["{" + ", ".join(c_double(v) for v in pair) + "}" for pair in at]
    print(f'    {{"{name}", {len(xd)}, kSet{i}_x, kSet{i}_y, {tol!r},')
    print(f"     {qv},")
    print(f"     {qe},")
    print(f"     {{{', '.join(fv)}}},")
    print(f"     {{{', '.join(fe)}}},")
    print(f"     {{{', '.join(av)}}},")
    print(f"     {{{', '.join(ev)}}},")
    print(f"     {{{', '.join(ee)}}}}},")
print("};")
