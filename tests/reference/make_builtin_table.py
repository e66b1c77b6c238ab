#!/usr/bin/env python3
"""Writes builtin_table.inc: runs of the built-in programs and what each
must show, computed here from the formulas with mpmath at 30 digits (not
by repeating the programs' steps).  Each line is
{program, {inputs as expression words}, {menu choices}, degrees,
 [A] rows, [B] rows, {{label, re, im}...}}
where a text statement appears as {"text: TEXT", 0, 0}.
Run again only to change the cases."""
import os

import mpmath as mp

mp.mp.dps = 30
PI = mp.pi


def value(words):
    """The number an input's expression words stand for."""
    py = []
    for w in words.split():
        if w == "pi":
            py.append("PI")
        elif w == "neg":
            py.append("-")
        elif w == "i":
            py.append("* 1j" if py and py[-1] not in "+-*/(" else "1j")
        elif w in "+-*/()":
            py.append(w)
        else:
            py.append("mp.mpf('%s')" % w.replace("~", "-").replace("E", "e"))
    return eval(" ".join(py))


def text(t):
    return ("text: " + t, 0, 0)


def out(label, z):
    z = mp.mpc(z)
    return (label, z.real, z.imag)


def angle(x, degrees):
    return x * 180 / PI if degrees else x


# --- the programs, from their formulas ------------------------------------------

def two_by_two(a1, b1, c1, a2, b2, c2):
    m = mp.matrix([[a1, b1], [a2, b2]])
    if mp.det(m) == 0:
        return [text("NO SOLUTION")]
    x = mp.lu_solve(m, mp.matrix([c1, c2]))
    return [out("Solution x", x[0]), out("Solution y", x[1])]


def three_by_three(*v):
    m = mp.matrix([v[0:3], v[4:7], v[8:11]])
    if mp.det(m) == 0:
        return [text("NO SOLUTION")]
    x = mp.lu_solve(m, mp.matrix([v[3], v[7], v[11]]))
    return [out("Solution x", x[0]), out("Solution y", x[1]), out("Solution z", x[2])]


def amortization(p, rate, years, per_year):
    n = int(mp.nint(years * per_year))
    i = rate / 100 / per_year
    pay = p / n if i == 0 else p * i / (1 - (1 + i) ** -n)
    shown = [out("Payment", pay), out("Total interest", pay * n - p)]
    balance = p
    for k in range(1, n + 1):
        interest = balance * i
        principal = balance if k == n else pay - interest
        balance -= principal
        shown += [out("Period", k), out("Interest", interest), out("Principal", principal),
                  out("Balance", balance)]
    return shown


def coulomb(q1, q2, r):
    return [out("Force (N)", mp.mpf("8.9875517923e9") * q1 * q2 / r ** 2)]


def pendulum(length):
    return [out("Period (s)", 2 * PI * mp.sqrt(length / mp.mpf("9.80665")))]


def delta_to_y(rab, rbc, rca):
    s = rab + rbc + rca
    return [out("Ra (ohm)", rab * rca / s), out("Rb (ohm)", rab * rbc / s),
            out("Rc (ohm)", rbc * rca / s)]


def y_to_delta(ra, rb, rc):
    p = ra * rb + rb * rc + rc * ra
    return [out("Rab (ohm)", p / rc), out("Rbc (ohm)", p / ra), out("Rca (ohm)", p / rb)]


def function_matrix(f, first, last, n):
    shown, n = [], int(n)
    for k in range(n):
        x = first + (last - first) * k / (n - 1)
        shown += [out("Point x", x), out("f(x)", f(x))]
    return shown


def future_value(pv, rate, years, n):
    return [out("Future value", pv * (1 + rate / (100 * n)) ** (n * years))]


def present_value(fv, rate, years, n):
    return [out("Present value", fv / (1 + rate / (100 * n)) ** (n * years))]


def gamma(x):
    if mp.im(x) == 0 and x.real <= 0 and x.real == int(x.real):
        return [text("NOT DEFINED")]
    return [out("Gamma(x)", mp.gamma(x))]


def gcd(a, b):
    if a != int(a) or b != int(b):
        return [text("WHOLE NUMBERS")]
    import math
    return [out("GCD", math.gcd(int(a), int(b)))]


def lcm(a, b):
    import math
    a, b = abs(int(a)), abs(int(b))
    return [out("LCM", 0 if a == 0 or b == 0 else a * b // math.gcd(a, b))]


def heron(a, b, c):
    s = (a + b + c) / 2
    p = s * (s - a) * (s - b) * (s - c)
    if p <= 0 or min(a, b, c) <= 0:
        return [text("NOT A TRIANGLE")]
    return [out("Area", mp.sqrt(p))]


def impedance_outputs(z, degrees):
    return [out("Z (ohm)", z), out("|Z| (ohm)", abs(z)), out("Phase angle", angle(mp.arg(z), degrees))]


def lcr_parallel(r, l, c, f, degrees=False):
    w = 2 * PI * f
    return impedance_outputs(1 / (1 / r + 1 / (1j * w * l) + 1j * w * c), degrees)


def lcr_series(r, l, c, f, degrees=False):
    w = 2 * PI * f
    return impedance_outputs(r + 1j * (w * l - 1 / (w * c)), degrees)


def log_base(x, b):
    if b == 1:
        return [text("BASE CAN'T BE 1")]
    return [out("log_b(x)", mp.log(x, b))]


def parallel(*rs):
    rs = rs[:-1]   # the 0 that ends the entry
    if not rs:
        return [text("NO RESISTORS")]
    return [out("Resistors", len(rs)), out("Total (ohm)", 1 / sum(1 / r for r in rs))]


def polar_to_rect(r, t, degrees=False):
    t = t * PI / 180 if degrees else t
    return [out("x", r * mp.cos(t)), out("y", r * mp.sin(t))]


def rect_to_polar(x, y, degrees=False):
    return [out("Radius r", mp.hypot(x, y)), out("Angle", angle(mp.atan2(y, x), degrees))]


def prime_factors(n):
    n = int(n)
    if n < 2:
        return [text("NEED 2 OR MORE")]
    shown, d = [], 2
    while d * d <= n:
        while n % d == 0:
            shown.append(out("Factor", d))
            n //= d
        d += 1
    if n > 1:
        shown.append(out("Factor", n))
    return shown


def quadratic(a, b, c):
    if a == 0:
        return [text("NO SINGLE ROOT")] if b == 0 else [out("Root (linear)", -c / b)]
    d = mp.sqrt(mp.mpc(b * b - 4 * a * c))
    return [out("Root x1", (-b + d) / (2 * a)), out("Root x2", (-b - d) / (2 * a))]


def resonance(l, c):
    f = 1 / (2 * PI * mp.sqrt(l * c))
    return [out("f (Hz)", f), out("w (rad/s)", 2 * PI * f)]


def root_finder(f, a, b):
    if mp.sign(f(a)) * mp.sign(f(b)) > 0:
        return [text("NO SIGN CHANGE")]
    x = mp.findroot(f, (a, b), solver="anderson")
    return [out("Root x", x), out("f(x)", 0)]


def scale_chart(first, last, step):
    shown, n = [], int(mp.floor((last - first) / step + mp.mpf("1e-9"))) + 1
    for k in range(n):
        c = first + k * step
        shown += [out("Celsius", c), out("Fahrenheit", c * 9 / 5 + 32), out("Kelvin", c + mp.mpf("273.15"))]
    return shown


def show_matrix(m):
    shown = [out("Rows of [C]", m.rows), out("Columns of [C]", m.cols)]
    for r in range(m.rows):
        for c in range(m.cols):
            shown.append(out("[C] by rows", m[r, c]))
    return shown


def select_matrix(choice, a, b):
    a = mp.matrix(a)
    b = mp.matrix(b) if b else None
    if choice == 0:
        return [out("Det [A]", mp.det(a))]
    if choice == 1:
        return [text("SINGULAR MATRIX")] if mp.det(a) == 0 else show_matrix(a ** -1)
    if choice == 2:
        return show_matrix(a.T)
    if choice == 3:
        return show_matrix(a + b)
    if choice == 4:
        return show_matrix(a - b)
    return show_matrix(a * b)


def simpson(f, a, b, n):
    n = int(n) + int(n) % 2
    h = (b - a) / n
    s = f(a) + f(b) + sum((4 if k % 2 else 2) * f(a + k * h) for k in range(1, n))
    return [out("Integral", s * h / 3)]


def symmetric(a):
    if len(a) != len(a[0]):
        return [text("NOT SQUARE")]
    d = max(abs(a[i][j] - a[j][i]) for i in range(len(a)) for j in range(len(a)))
    return [text("SYMMETRIC")] if d == 0 else [out("Not symmetric", d)]


def triangle(a, b, c, degrees=False):
    s = (a + b + c) / 2
    p = s * (s - a) * (s - b) * (s - c)
    if p <= 0:
        return [text("NOT A TRIANGLE")]
    angles = [mp.acos((y * y + z * z - x * x) / (2 * y * z)) for x, y, z in ((a, b, c), (b, a, c), (c, a, b))]
    return [out("Angle " + n, angle(t, degrees)) for n, t in zip("ABC", angles)] + [out("Area", mp.sqrt(p))]


def cylinder(r, h):
    return [out("Volume", PI * r * r * h)]


# --- the cases ---------------------------------------------------------------------

SQ = lambda x: x * x + 1
CASES = []


def case(program, inputs, ref, menu=(), degrees=False, a=(), b=(), funcs=()):
    """`funcs` are the Python forms of the in f() entries, in input order."""
    values, fi = [], iter(funcs)
    for w in inputs:
        values.append(next(fi) if w.startswith("f:") else value(w))
    CASES.append((program, [w[2:] if w.startswith("f:") else w for w in inputs], list(menu),
                  degrees, a, b, ref(*values)))


M3 = [[4, -2, 1], [3, 6, -4], [2, 1, 8]]
B3 = [[1, 0, 2], [-1, 3, 0.5], [0, 1, 1]]

case("2 by 2 Matrix", ["2", "3", "8", "1", "~1", "~1"], two_by_two)
case("2 by 2 Matrix", ["1.5", "~2", "3.7", "4", "0.25", "~1"], two_by_two)
case("2 by 2 Matrix", ["1", "2", "3", "2", "4", "5"], two_by_two)
case("3 by 3 Matrix", ["1", "1", "1", "6", "2", "~1", "1", "3", "1", "2", "~1", "2"], three_by_three)
case("3 by 3 Matrix", ["0.5", "2", "~3", "1", "4", "0", "1", "~2", "7", "~1", "2.5", "3"], three_by_three)
case("3 by 3 Matrix", ["1", "2", "3", "1", "2", "4", "6", "2", "3", "6", "9", "3"], three_by_three)
case("Amortization", ["1000", "12", "1", "12"], amortization)
case("Amortization", ["250000", "6.5", "0.5", "4"], amortization)
case("Amortization", ["1200", "0", "1", "2"], amortization)
case("Coulomb's Law", ["1E~6", "2E~6", "0.05"], coulomb)
case("Coulomb's Law", ["1.602176634E~19", "~1.602176634E~19", "5.29E~11"], coulomb)
case("Cycle of Pendulum", ["1"], pendulum)
case("Cycle of Pendulum", ["0.25"], pendulum)
case("Delta to Y, Y to Delta", ["10", "20", "30"], delta_to_y, menu=[0])
case("Delta to Y, Y to Delta", ["1", "2", "3"], y_to_delta, menu=[1])
case("Delta to Y, Y to Delta", [], lambda: [], menu=[])
case("Fuction Matrix", ["f:x sq + 1", "0", "2", "3"], function_matrix, funcs=[SQ])
case("Fuction Matrix", ["f:sin( x ) / x", "0.5", "3", "6"], function_matrix,
     funcs=[lambda x: mp.sin(x) / x])
case("Future Value", ["1000", "5", "10", "12"], future_value)
case("Future Value", ["2500", "3.25", "7", "1"], future_value)
case("Present Value", ["5000", "6", "5", "4"], present_value)
case("Present Value", ["1647.00949769", "5", "10", "12"], present_value)
case("Gamma Function", ["5"], gamma)
case("Gamma Function", ["0.5"], gamma)
case("Gamma Function", ["~1.5"], gamma)
case("Gamma Function", ["~7.25"], gamma)
case("Gamma Function", ["~3"], gamma)
case("Gamma Function", ["1 + i"], lambda z: gamma(z))
case("Gamma Function", ["~0.5 + 2 i"], lambda z: gamma(z))
case("Greatest Common Divisor", ["48", "18"], gcd)
case("Greatest Common Divisor", ["1071", "462"], gcd)
case("Greatest Common Divisor", ["~12", "0"], gcd)
case("Greatest Common Divisor", ["2.5", "5"], gcd)
case("Greatest Common Divisor", ["123456789012", "9876543210"], gcd)
case("Heron's Formula", ["7", "8", "9"], heron)
case("Heron's Formula", ["3", "4", "5"], heron)
case("Heron's Formula", ["1", "1", "3"], heron)
case("LCR Parallel Impedance", ["100", "0.01", "1E~6", "1000"], lcr_parallel)
case("LCR Parallel Impedance", ["50", "0.1", "1E~6", "503.2921210"], lcr_parallel)
case("LCR Series Impedance", ["100", "0.01", "1E~6", "1000"], lcr_series)
case("LCR Series Impedance", ["10", "0.5", "2E~6", "60"], lambda *v: lcr_series(*v, degrees=True),
     degrees=True)
case("Least Common Multiple", ["4", "6"], lcm)
case("Least Common Multiple", ["21", "6"], lcm)
case("Least Common Multiple", ["0", "5"], lcm)
case("Log of Random Base", ["8", "2"], log_base)
case("Log of Random Base", ["100", "10"], log_base)
case("Log of Random Base", ["7", "3.5"], log_base)
case("Log of Random Base", ["10", "1"], log_base)
case("Parallel Resistance", ["100", "200", "300", "0"], parallel)
case("Parallel Resistance", ["47", "0"], parallel)
case("Parallel Resistance", ["0"], parallel)
case("Polar to Rectangular", ["2", "pi / 6"], polar_to_rect)
case("Polar to Rectangular", ["5", "120"], lambda *v: polar_to_rect(*v, degrees=True), degrees=True)
case("Rectangular to Polar", ["1", "1"], rect_to_polar)
case("Rectangular to Polar", ["~1", "0"], rect_to_polar)
case("Rectangular to Polar", ["3", "~4"], lambda *v: rect_to_polar(*v, degrees=True), degrees=True)
case("Prime Factors", ["360"], prime_factors)
case("Prime Factors", ["2"], prime_factors)
case("Prime Factors", ["9409"], prime_factors)
case("Prime Factors", ["600851475143"], prime_factors)
case("Prime Factors", ["2147483647"], prime_factors)
case("Prime Factors", ["1"], prime_factors)
case("Quadratic Equation", ["1", "2", "5"], quadratic)
case("Quadratic Equation", ["1", "~3", "2"], quadratic)
case("Quadratic Equation", ["1", "1E8", "1"], quadratic)
case("Quadratic Equation", ["2", "0", "8"], quadratic)
case("Quadratic Equation", ["0", "2", "~4"], quadratic)
case("Quadratic Equation", ["0", "0", "1"], quadratic)
case("Resonate Frequency", ["0.01", "1E~6"], resonance)
case("Resonate Frequency", ["2.5E~3", "4.7E~9"], resonance)
case("Root Finder", ["f:x sq - 2", "0", "2"], root_finder, funcs=[lambda x: x * x - 2])
case("Root Finder", ["f:cos( x ) - x", "0", "1"], root_finder, funcs=[lambda x: mp.cos(x) - x])
case("Root Finder", ["f:x sq + 1", "~1", "1"], root_finder, funcs=[SQ])
case("Scale Chart", ["0", "100", "50"], scale_chart)
case("Scale Chart", ["~40", "~30", "2.5"], scale_chart)
case("Scale Chart", ["10", "0", "5"], lambda *v: [text("LAST < FIRST")])
case("Select Matrix", [], lambda: select_matrix(0, M3, B3), menu=[0], a=M3)
case("Select Matrix", [], lambda: select_matrix(1, M3, B3), menu=[1], a=M3)
case("Select Matrix", [], lambda: select_matrix(2, M3[:2], B3), menu=[2], a=M3[:2])
case("Select Matrix", [], lambda: select_matrix(3, M3, B3), menu=[3], a=M3, b=B3)
case("Select Matrix", [], lambda: select_matrix(4, M3, B3), menu=[4], a=M3, b=B3)
case("Select Matrix", [], lambda: select_matrix(5, M3, B3), menu=[5], a=M3, b=B3)
case("Select Matrix", [], lambda: select_matrix(1, [[1, 2], [2, 4]], B3), menu=[1], a=[[1, 2], [2, 4]])
case("Select Matrix", [], lambda: [text("NOT SQUARE")], menu=[0], a=M3[:2])
case("Simpson's Rule", ["f:x sq", "0", "1", "2"], simpson, funcs=[lambda x: x * x])
case("Simpson's Rule", ["f:sin( x )", "0", "pi", "10"], simpson, funcs=[mp.sin])
case("Simpson's Rule", ["f:exp x", "0", "1", "3"], simpson, funcs=[mp.exp])
case("Symmetric Matrix", [], lambda: symmetric([[1, 2], [2, 3]]), a=[[1, 2], [2, 3]])
case("Symmetric Matrix", [], lambda: symmetric([[1, 2], [4, 3]]), a=[[1, 2], [4, 3]])
case("Symmetric Matrix", [], lambda: symmetric(M3), a=M3)
case("Symmetric Matrix", [], lambda: symmetric(M3[:2]), a=M3[:2])
case("Triangle Solutions", ["3", "4", "5"], triangle)
case("Triangle Solutions", ["7", "8", "9"], lambda *v: triangle(*v, degrees=True), degrees=True)
case("Triangle Solutions", ["1", "2", "3"], triangle)
case("Volume of Cylinder", ["2", "3"], cylinder)
case("Volume of Cylinder", ["0.5", "10"], cylinder)


def num(x):
    x = mp.mpf(x)
    return "0.0" if x == 0 else mp.nstr(x, 20, min_fixed=-4, max_fixed=10)


def rows(m):
    return "{" + ", ".join("{" + ", ".join(num(v) for v in r) + "}" for r in m) + "}"


def cstr(s):
    return '"' + s.replace("\\", "\\\\").replace('"', '\\"') + '"'


lines = ["// Generated by make_builtin_table.py (30-digit mpmath references)."]
for program, inputs, menu, degrees, a, b, shown in CASES:
    lines.append("    {%s, {%s}, {%s}, %s, %s, %s,\n     {%s}}," % (
        cstr(program), ", ".join(cstr(w) for w in inputs), ", ".join(map(str, menu)),
        "true" if degrees else "false", rows(a), rows(b),
        ", ".join("{%s, %s, %s}" % (cstr(l), num(re), num(im)) for l, re, im in shown)))
here = os.path.dirname(os.path.abspath(__file__))
with open(os.path.join(here, "builtin_table.inc"), "w") as f:
    f.write("\n".join(lines) + "\n")
