#!/usr/bin/env python3
"""Writes tvm_table.inc: reference solutions of the annuity equation

    (1 + g*B) * (1 - (1 + g)^-N) / g * PMT + (1 + g)^-N * FV + PV = 0
    g = (1 + I%/100/CY)^(CY/PY) - 1            (N*PMT + FV + PV = 0 at g = 0)

for each of the five unknowns.  A case picks four of N, PV, PMT, FV and the
rate and completes the fifth at 50 digits; the double values so obtained are
the data.  Every row then blanks one unknown and gives its solution computed
again at 50 digits from the exact binary values of the other four, so the
table states what the doubles imply, not what the case was built from.
Rows without a solution (no rate in the searched range, a logarithm of a
non-positive ratio) expect UNDEFINED_VALUE.
Run from the repository root:
    python3 tests/reference/make_tvm_table.py > tests/reference/tvm_table.inc
"""
from mpmath import mp, mpf, log, expm1, log1p, exp, findroot

mp.dps = 50

FIELDS = ["N", "I", "PV", "PMT", "FV"]
ENUM = {"N": "TVM_N", "I": "TVM_I", "PV": "TVM_PV", "PMT": "TVM_PMT", "FV": "TVM_FV"}
RATE_BOUND = 100


class Undefined(Exception):
    """The unknown has no real value."""


def rate(i, py, cy):
    x = i / 100 / cy
    if x <= -1:
        raise Undefined
    return expm1(cy / py * log1p(x))


def residual(v, i):
    g = rate(i, v["PY"], v["CY"])
    n = v["N"]
    if g == 0:
        return n * v["PMT"] + v["FV"] + v["PV"]
    a = 1 + g * v["B"]
    d = (1 + g) ** (-n)
    return a * (1 - d) / g * v["PMT"] + d * v["FV"] + v["PV"]


def solve(v, unknown):
    """The unknown from the other values of v (mpf, exact copies of the doubles)."""
    return solve_with_scale(v, unknown)[0]


def solve_with_scale(v, unknown):
    """(the unknown, the size of the terms it is the sum of).  A result that
    is a difference of large terms (the future value of a loan paid off) is
    only as exact as those terms, which the tolerance has to allow for."""
    if unknown == "I":
        return solve_rate(v), 0
    g = rate(v["I"], v["PY"], v["CY"])
    n, pv, pmt, fv = v["N"], v["PV"], v["PMT"], v["FV"]
    if g == 0:
        if unknown == "N":
            value = -(fv + pv) / pmt
            return value, abs(value)
        if unknown == "PV":
            return -(pmt * n + fv), abs(pmt * n) + abs(fv)
        if unknown == "PMT":
            return -(fv + pv) / n, (abs(fv) + abs(pv)) / abs(n)
        return -(pmt * n + pv), abs(pmt * n) + abs(pv)
    a = 1 + g * v["B"]
    if unknown == "N":
        ratio = (a * pmt - fv * g) / (a * pmt + pv * g)
        if ratio <= 0:
            raise Undefined
        value = log(ratio) / log(1 + g)
        return value, abs(value)
    d = (1 + g) ** (-n)
    annuity = (1 - d) / g
    if unknown == "PV":
        return -(a * annuity * pmt + d * fv), abs(a * annuity * pmt) + abs(d * fv)
    if unknown == "PMT":
        return -(pv + d * fv) / (a * annuity), (abs(pv) + abs(d * fv)) / abs(a * annuity)
    return -(pv + a * annuity * pmt) / d, (abs(pv) + abs(a * annuity * pmt)) / d


def sign(x):
    return (x > 0) - (x < 0)


def solve_rate(v):
    signs = [sign(v["PV"]), sign(v["FV"]), sign(v["N"]) * sign(v["PMT"])]
    if -1 not in signs or 1 not in signs:
        raise Undefined
    # Sign changes of the residual over the searched range locate its roots;
    # a case must have at most one, or the table would have to pick.
    mp.dps = 20
    roots = []
    previous = None
    k = -1000
    while k <= 1000:
        i = mpf(k) / 10
        try:
            r = residual(v, i)
        except Undefined:
            r = None
        if r == 0:
            roots.append((i, i))
            r = None     # not a sign change with the next point too
        elif r is not None and previous is not None and sign(r) != sign(previous[1]):
            roots.append((previous[0], i))
        previous = (i, r) if r is not None else None
        k += 1
    mp.dps = 50
    assert len(roots) <= 1, f"several rates solve {v}: {roots}"
    if not roots:
        raise Undefined
    lo, hi = roots[0]
    if lo == hi:
        return lo
    root = findroot(lambda i: residual(v, i), (mpf(lo), mpf(hi)), solver="anderson")
    if abs(root) > RATE_BOUND:
        raise Undefined
    return root


def c_double(x):
    f = float(x)
    return repr(f)


rows = []


def case(name, complete, N, I, PV, PMT, FV, PY=12, CY=12, begin=False):
    """complete: the field computed from the others (its given value is
    ignored), or None for values that are not meant to agree."""
    given = {"N": N, "I": I, "PV": PV, "PMT": PMT, "FV": FV}
    v = {k: mpf(float(x)) for k, x in given.items()}
    v.update({"PY": mpf(float(PY)), "CY": mpf(float(CY)), "B": 1 if begin else 0})
    if complete:
        v[complete] = mpf(0)
        v[complete] = mpf(float(solve(v, complete)))
    for unknown in FIELDS:
        others = dict(v)
        others[unknown] = mpf(0)
        try:
            value, scale = solve_with_scale(others, unknown)
            expected, scale = c_double(value), c_double(scale)
        except (Undefined, ZeroDivisionError):
            expected, scale = "UNDEFINED_VALUE", "0.0"
        data = ", ".join(c_double(v[k]) for k in FIELDS)
        rows.append(f'    {{"{name}", {data}, {c_double(PY)}, {c_double(CY)}, '
                    f'{str(begin).lower()}, {ENUM[unknown]}, {expected}, {scale}}},')


case("mortgage", "PMT", 360, 6, 200000, 0, 0)
case("mortgage begin", "PMT", 360, 6, 200000, 0, 0, begin=True)
case("semi-annual compounding", "PMT", 300, 6, 100000, 0, 0, CY=2)
case("doubling", "FV", 10, 7.18, -1000, 0, 0, PY=1, CY=1)
case("savings begin", "FV", 120, 3.5, -500, -100, 0, CY=4, begin=True)
case("small rate", "PMT", 48, 1e-6, 10000, 0, 0)
case("tiny rate", "PMT", 60, 1e-9, 25000, 0, -5000, CY=4)
case("daily compounding", "PMT", 24, 60, 5000, 0, -1000, CY=365)
case("rate above the search", "FV", 5, 250, -100, 30, 0, PY=1, CY=1)
case("negative rate", "FV", 20, -5, -1000, 20, 0, PY=1, CY=1)
case("negative rate monthly", "PMT", 36, -2.5, 8000, 0, -1000, CY=1, begin=True)
case("fractional N", "PMT", 3.5, 12, 1000, 0, 0)
case("fractional N begin", "FV", 40.25, 9, 3000, -60, 0, CY=2, begin=True)
case("2000 weekly payments", "PMT", 2000, 8, 50000, 0, 0, PY=52, CY=12)
case("large amounts", "FV", 240, 4.25, -1e12, -2.5e9, 0, PY=4, CY=4)
case("quarterly into monthly", "PV", 80, 7.5, 0, -250, 60000, PY=4, CY=12, begin=True)
case("lease with residual", "PMT", 36, 5.9, 32000, 0, -12000)
case("zero rate", "PMT", 10, 0, 1000, 0, 0, PY=1, CY=1)
case("high rate", "N", 0, 95, 1000, -1200, -500, PY=1, CY=1)
case("no payments", "PV", 17, 3.3, 0, 0, 2500, PY=1, CY=365)
case("present value above 1e9", "PV", 360, 6, 0, -1e7, 0)
case("more than 10000 periods", "N", 0, 1, 1000, -0.8334, 0)
case("payment below the interest", None, 10, 12, 1000, -100, 0, PY=1, CY=1)
case("all one sign", None, 12, 5, 1000, 100, 500)

print("// Generated by tests/reference/make_tvm_table.py; do not edit.")
print("""struct TvmReference {
    const char* name;
    double n, i, pv, pmt, fv, py, cy;
    bool begin;
    TvmField unknown;   // blanked before solving
    double expected;    // UNDEFINED_VALUE where no value solves the equation
    double scale;       // the size of the terms expected is the sum of (0 for I%)
};
static const TvmReference kTvmReference[] = {""")
for r in rows:
    print(r)
print("};")
