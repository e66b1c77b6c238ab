#include "engine/scalar.h"

#include <cfenv>
#include <cmath>
#include <complex>

#include "engine/basen.h"
#include "engine/errors.h"
#include "engine/functions.h"
#include "engine/hooks.h"
#include "engine/memory.h"
#include "engine/settings.h"

namespace qx {

double g_last_integration_error = 0.0;
bool g_tohms_done = false;

namespace {

using cd = std::complex<double>;
const char* const kFn = "perform_float_calculation";
constexpr double kDegToRad = 0.017453292519943295;
constexpr double kGradToRad = 0.015707963267948967;
constexpr double kRadToDeg = 57.29577951308232;
constexpr double kRadToGrad = 63.66197723675814;

cd to_std(Complex z) { return cd(z.re, z.im); }
Complex from_std(cd z) { return Complex{z.real(), z.imag()}; }

// The library cube root can be one unit off; perfect cubes come out exact.
double exact_cbrt(double x) {
    double r = std::cbrt(x);
    double n = std::nearbyint(r);
    return (n * n * n == x) ? n : r;
}

double snap(double v) { return std::fabs(v) < 1e-14 ? 0.0 : v; }

bool plot_mode() { return g_settings.calculator_mode == MODE_PLOT; }

double factorial_table[171];
bool factorial_ready = false;

void init_factorials() {
    factorial_table[0] = 1.0;
    for (int k = 1; k <= 170; ++k) factorial_table[k] = factorial_table[k - 1] * k;
    factorial_ready = true;
}

bool domain_error(const char* fn = "NAN") {
    raise_error(ERR_DOMAIN, fn, kFn);
    return false;
}

}  // namespace

// Clearing is costly, so it is done only when a fault flag is raised.
void clear_fp_flags() {
    if (std::fetestexcept(FP_FAULT_FLAGS)) std::feclearexcept(FP_FAULT_FLAGS);
}

const char* fp_fault_text(int code) {
    if (code == ERR_DIV_ZERO) return "Division by zero";
    if (code == ERR_OVERFLOW) return "Positive infinity";
    return "NAN";
}

bool fpieee_handler() {
    const int code = fp_fault_code();
    if (code < 0) return false;
    raise_error(code, fp_fault_text(code), "fpieee_handler");
    clear_fp_flags();
    return true;
}

void reset_scalar_run_state() { g_tohms_done = false; }

ConstantValue fetch_operand(const OperandDesc& d) {
    if (!d.is_register) return get_constant(d.subclass, d.value, d.param, d.stat_index);
    const TempRegister& r = g_registers[d.reg];
    ConstantValue v{r.re, r.im, -1, -1, -1};
    if (r.kind == RK_MATRIX) v.matrix = OBJECT_TEMP_BASE + r.ref;
    else if (r.kind == RK_LIST) v.list = OBJECT_TEMP_BASE + r.ref;
    return v;
}

double factorial(double x) {
    if (!factorial_ready) init_factorials();
    if (x < 0.0 || frac_part(x) != 0.0) {
        raise_error(ERR_DOMAIN, "NAN", "factorial");
        return 0.0;
    }
    double n = int_part(x);
    if (n > 170.0) {
        raise_error(ERR_OVERFLOW, "Positive infinity", "factorial");
        return 0.0;
    }
    return factorial_table[static_cast<int>(n)];
}

double power(double x, double y) {
    if (y == 0.0) return 1.0;
    if (x == 0.0) {
        if (y < 0.0) raise_error(ERR_DOMAIN, "NAN", "power");
        return 0.0;
    }
    if (x < 0.0 && std::fabs(y) < 1.0) {
        // Odd roots of negative numbers are real.
        double r = std::fmod(std::fabs(1.0 / y), 2.0);
        if (std::fabs(r - 1.0) < 1e-14) {
            if (std::fabs(y - 1.0 / 3.0) < 1e-16) return -exact_cbrt(-x);
            return -std::pow(-x, y);
        }
    }
    if (y == 0.5 && x > 0.0) return std::sqrt(x);
    return std::pow(x, y);
}

int int_in_range(double x, int low, int high, int code) {
    if (!(std::fabs(x) <= 2e9) || frac_part(x) != 0.0 || x < low || x > high) {
        raise_error(code, "Integer out of range", "int_in_range");
        return low;
    }
    return static_cast<int>(int_part(x));
}

double round_nearest(double x) {
    double f = std::floor(x), c = std::ceil(x);
    if (x > 0.0) return (c - x <= x - f) ? c : f;
    return (x - f <= c - x) ? f : c;
}

// Values within 1e-14 relative of an integer count as that integer, so
// that 2.9999999999999996 is 3; values already integral stay exact.
double int_part(double x) {
    if (!std::isfinite(x)) return x;
    double t = std::trunc(x);
    if (t == x) return x;
    double n = std::nearbyint(x);
    if (std::fabs(x - n) <= 1e-14 * std::fabs(x)) return n;
    return t;
}

double frac_part(double x) {
    if (!std::isfinite(x)) return 0.0;
    double t = std::trunc(x);
    if (t == x) return 0.0;
    double n = std::nearbyint(x);
    if (std::fabs(x - n) <= 1e-14 * std::fabs(x)) return 0.0;
    return x - t;
}

Complex to_radians(double re, double im) {
    switch (g_settings.angle_unit) {
        case ANGLE_DEG: return Complex{re * kDegToRad, im * kDegToRad};
        case ANGLE_GRAD: return Complex{re * kGradToRad, im * kGradToRad};
        default: return Complex{re, im};
    }
}

Complex from_radians(double re, double im) {
    switch (g_settings.angle_unit) {
        case ANGLE_DEG: return Complex{re * kRadToDeg, im * kRadToDeg};
        case ANGLE_GRAD: return Complex{re * kRadToGrad, im * kRadToGrad};
        default: return Complex{re, im};
    }
}

Complex c_mul(Complex a, Complex b) {
    return Complex{a.re * b.re - a.im * b.im, a.re * b.im + a.im * b.re};
}

Complex c_div(Complex a, Complex b) {
    if (b.re == 0.0 && b.im == 0.0) {
        raise_error(ERR_DIV_ZERO, "division by zero", "c_div");
        return Complex{0.0, 0.0};
    }
    if (std::fabs(b.re) >= std::fabs(b.im)) {
        double r = b.im / b.re, den = b.re + r * b.im;
        return Complex{(a.re + a.im * r) / den, (a.im - a.re * r) / den};
    }
    double r = b.re / b.im, den = b.im + r * b.re;
    return Complex{(a.re * r + a.im) / den, (a.im * r - a.re) / den};
}

Complex c_add(Complex a, Complex b) { return Complex{a.re + b.re, a.im + b.im}; }
Complex c_sub(Complex a, Complex b) { return Complex{a.re - b.re, a.im - b.im}; }
Complex c_neg(Complex a) { return Complex{-a.re, -a.im}; }
double c_abs(Complex a) { return std::hypot(a.re, a.im); }

Complex c_sqrt(Complex a) {
    if (a.re == 0.0 && a.im == 0.0) return Complex{0.0, 0.0};
    double x = std::fabs(a.re), y = std::fabs(a.im), w;
    if (x >= y) {
        double r = y / x;
        w = std::sqrt(x) * std::sqrt(0.5 * (1.0 + std::sqrt(1.0 + r * r)));
    } else {
        double r = x / y;
        w = std::sqrt(y) * std::sqrt(0.5 * (r + std::sqrt(1.0 + r * r)));
    }
    if (a.re >= 0.0) return Complex{w, a.im / (2.0 * w)};
    return Complex{y / (2.0 * w), a.im >= 0.0 ? w : -w};
}

double c_arg(Complex a) {
    if (a.re == 0.0 && a.im == 0.0) return 0.0;
    // A negative zero imaginary part still counts as the upper side (+pi).
    return std::atan2(a.im == 0.0 ? 0.0 : a.im, a.re);
}

Complex c_ln(Complex a) {
    double m = c_abs(a);
    if (m == 0.0) {
        raise_error(ERR_DOMAIN, "NAN", "c_ln");
        return Complex{0.0, 0.0};
    }
    // log of the modulus without squaring, so it stays accurate near 1.
    return from_std(std::log(cd(a.re, a.im == 0.0 ? 0.0 : a.im)));
}

Complex c_exp(Complex a) {
    double e = std::exp(a.re);
    if (a.im == 0.0) return Complex{e, 0.0};
    return Complex{e * std::cos(a.im), e * std::sin(a.im)};
}

Complex c_pow(Complex z, Complex w) {
    if (w.re == 0.0 && w.im == 0.0) return Complex{1.0, 0.0};
    // Whole exponents by repeated multiplication keep exact results exact.
    if (w.im == 0.0 && w.re == std::trunc(w.re) && std::fabs(w.re) <= 1024.0) {
        long n = static_cast<long>(std::fabs(w.re));
        Complex result{1.0, 0.0}, base = z;
        while (n > 0) {
            if (n & 1) result = c_mul(result, base);
            base = c_mul(base, base);
            n >>= 1;
        }
        return w.re < 0.0 ? c_div(Complex{1.0, 0.0}, result) : result;
    }
    // Square roots directly: exp(ln(z)/2) leaves rounding noise in the real part.
    if (w.im == 0.0 && w.re == 0.5) return c_sqrt(z);
    Complex l = c_ln(z);
    if (error_pending()) return Complex{0.0, 0.0};
    return c_exp(c_mul(w, l));
}

// Lanczos approximation (g = 7, nine terms), accurate to about 1e-15
// over the right half-plane; the reflection formula covers the left.
Complex c_gamma(Complex zin) {
    static const double g = 7.0;
    static const double c[9] = {0.99999999999980993,  676.5203681218851,     -1259.1392167224028,
                                771.32342877765313,   -176.61502916214059,   12.507343278686905,
                                -0.13857109526572012, 9.9843695780195716e-6, 1.5056327351493116e-7};
    cd z = to_std(zin);
    if (z.real() < 0.5) {
        cd s = std::sin(PI_CONSTANT * z);
        return from_std(PI_CONSTANT / (s * to_std(c_gamma(from_std(1.0 - z)))));
    }
    z -= 1.0;
    cd x = c[0];
    for (int i = 1; i < 9; ++i) x += c[i] / (z + static_cast<double>(i));
    cd t = z + g + 0.5;
    return from_std(std::sqrt(2.0 * PI_CONSTANT) * std::pow(t, z + 0.5) * std::exp(-t) * x);
}


namespace {

struct Args {
    Complex a, b;
    bool is_real, real_path;
};

// asin and acos of a real beyond +-1: the signed zero puts the operand on
// the side of the branch cut that -i ln(iz + sqrt(1 - z^2)) chooses
// (below the cut for x > 1, above it for x < -1).
cd on_asin_cut(double x) { return cd(x, std::copysign(0.0, -x)); }

Complex convert_angle_out(cd z) { return from_radians(z.real(), z.imag()); }

bool compute_function(int id, const Args& g, Complex& r);

bool compute(int id, const Args& g, const Operation& op, Complex& r) {
    const Complex& a = g.a;
    const Complex& b = g.b;
    const double x = a.re;
    switch (id) {
        case OP_MUL: case OP_MUL_IMPLICIT: case OP_MUL_TERM:
            r = g.is_real ? Complex{a.re * b.re, 0.0} : c_mul(a, b);
            return true;
        case OP_DIV:
            if (b.re == 0.0 && b.im == 0.0) {
                raise_error(ERR_DIV_ZERO, "Division by zero", kFn);
                r = Complex{0.0, 0.0};
                return false;
            }
            r = g.is_real ? Complex{a.re / b.re, 0.0} : c_div(a, b);
            return true;
        case OP_FMOD:
            if (!g.is_real) return raise_error(ERR_DATA_TYPE, "E14", kFn) && false;
            if (b.re == 0.0) return raise_error(ERR_DIV_ZERO, "Division by zero", kFn) && false;
            r = Complex{std::fmod(a.re, b.re), 0.0};
            return true;
        case OP_ADD: r = c_add(a, b); return true;
        case OP_SUB: r = c_sub(a, b); return true;
        case OP_INVERT:
            if (a.re == 0.0 && a.im == 0.0)
                return raise_error(ERR_DIV_ZERO, "Division by zero", "fpieee_handler") && false;
            r = g.is_real ? Complex{1.0 / x, 0.0} : c_div(Complex{1.0, 0.0}, a);
            return true;
        case OP_POWER:
            if (g.is_real && (g.real_path || a.re >= 0.0 || b.re == std::trunc(b.re))) {
                r = Complex{power(a.re, b.re), 0.0};
            } else {
                if (a.re == 0.0 && a.im == 0.0) {
                    if (b.re > 0.0) { r = Complex{0.0, 0.0}; return true; }
                    return domain_error();
                }
                r = c_pow(a, b);
            }
            return true;
        case OP_SQUARED: r = g.is_real ? Complex{x * x, 0.0} : c_mul(a, a); return true;
        case OP_CUBE: r = g.is_real ? Complex{x * x * x, 0.0} : c_mul(c_mul(a, a), a); return true;
        case OP_SQRT:
            if (g.is_real && (x >= 0.0 || g.real_path)) {
                if (x < 0.0) return domain_error();
                r = Complex{std::sqrt(x), 0.0};
            } else {
                r = c_sqrt(a);
            }
            return true;
        case OP_NEG: r = c_neg(a); return true;
        case OP_FACTORIAL:
            if (!g.is_real) return raise_error(ERR_DATA_TYPE, "E15", kFn) && false;
            r = Complex{factorial(x), 0.0};
            return true;
        case OP_EXP: r = g.is_real ? Complex{std::exp(x), 0.0} : c_exp(a); return true;
        case OP_TEN_POW:
            if (g.is_real) r = Complex{power(10.0, x), 0.0};
            else r = c_exp(c_mul(a, Complex{std::log(10.0), 0.0}));
            return true;
        case OP_XROOT: {
            if (a.re == 0.0 && a.im == 0.0) return domain_error();
            if (g.is_real && (g.real_path || b.re >= 0.0)) {
                r = Complex{power(b.re, 1.0 / a.re), 0.0};
                return true;
            }
            bool odd = a.im == 0.0 && a.re == std::trunc(a.re) &&
                       std::fmod(std::fabs(a.re), 2.0) == 1.0;
            if (odd && b.im == 0.0 && b.re < 0.0) {
                r = Complex{-std::pow(-b.re, 1.0 / a.re), 0.0};
                return true;
            }
            if (b.re == 0.0 && b.im == 0.0) {
                r = Complex{0.0, 0.0};
                return true;
            }
            r = c_pow(b, c_div(Complex{1.0, 0.0}, a));
            return true;
        }
        case OP_CBRT:
            if (g.is_real) r = Complex{exact_cbrt(x), 0.0};
            else if (a.re == 0.0 && a.im == 0.0) r = Complex{0.0, 0.0};
            else r = c_pow(a, Complex{1.0 / 3.0, 0.0});
            return true;
        case OP_DEG: {
            double f = g_settings.angle_unit == ANGLE_RAD ? kDegToRad
                       : g_settings.angle_unit == ANGLE_GRAD ? 1.1111111111111112 : 1.0;
            r = Complex{a.re * f, a.im * f};
            return true;
        }
        case OP_RAD: {
            double f = g_settings.angle_unit == ANGLE_DEG ? kRadToDeg
                       : g_settings.angle_unit == ANGLE_GRAD ? kRadToGrad : 1.0;
            r = Complex{a.re * f, a.im * f};
            return true;
        }
        case OP_GRAD: {
            double f = g_settings.angle_unit == ANGLE_RAD ? kGradToRad
                       : g_settings.angle_unit == ANGLE_DEG ? 0.9 : 1.0;
            r = Complex{a.re * f, a.im * f};
            return true;
        }
        case OP_STORE:
            r = a;
            memory_set(a.re, 0, op.param);
            memory_set(a.im, 1, op.param);
            return !error_pending();
        case OP_UNIT:
            if (!g.is_real) return raise_error(ERR_DATA_TYPE, "E13", kFn) && false;
            r = Complex{(x - op.unit[1]) * (op.unit[0] / op.unit[2]) + op.unit[3], 0.0};
            return true;
        case OP_NPR: case OP_NCR: {
            if (!g.is_real)
                return raise_error(ERR_DATA_TYPE, id == OP_NPR ? "E17" : "E18", kFn) && false;
            double n = a.re, k = b.re;
            if (n < 0.0 || k < 0.0 || frac_part(n) != 0.0 || frac_part(k) != 0.0 || k > n) {
                raise_error(ERR_DOMAIN, "NAN", "factorial");
                return false;
            }
            n = int_part(n);
            k = int_part(k);
            // A running product: exact wherever the result is, and never
            // overflowing through an intermediate factorial.
            double v = 1.0;
            if (id == OP_NPR) {
                for (double j = n - k + 1.0; j <= n; j += 1.0) v *= j;
            } else {
                if (k > n - k) k = n - k;
                for (double j = 1.0; j <= k; j += 1.0) v = v * (n - k + j) / j;
                v = std::nearbyint(v) == v || v > 9007199254740992.0 ? v : std::nearbyint(v);
            }
            r = Complex{v, 0.0};
            return true;
        }
        case OP_PERCENT: r = Complex{a.re * 0.01, a.im * 0.01}; return true;
        case OP_PERCENT_CHG:
            if (!g.is_real) return raise_error(ERR_DATA_TYPE, "E19", kFn) && false;
            if (a.re == 0.0) return raise_error(ERR_DIV_ZERO, "Division by zero", kFn) && false;
            r = Complex{(b.re / a.re - 1.0) * 100.0, 0.0};
            return true;
        case OP_REGRESS_X: case OP_REGRESS_Y:
            if (!g.is_real) return raise_error(ERR_DATA_TYPE, "E12", kFn) && false;
            r = Complex{g_hooks.regression_estimate(id, x), 0.0};
            return !error_pending();
        default:
            return compute_function(id, g, r);
    }
}

bool compute_function(int id, const Args& g, Complex& r) {
    const Complex& a = g.a;
    const Complex& b = g.b;
    const double x = a.re;
    const bool plot = plot_mode();
    switch (id) {
        case OP_SIN: case OP_COS: case OP_TAN: {
            Complex t = to_radians(a.re, a.im);
            if (g.is_real) {
                double s = std::sin(t.re), c = std::cos(t.re);
                if (!plot) {
                    s = snap(s);
                    c = snap(c);
                }
                if (id == OP_SIN) r = Complex{s, 0.0};
                else if (id == OP_COS) r = Complex{c, 0.0};
                else if (s == 0.0) r = Complex{0.0, 0.0};
                else if (c == 0.0) return domain_error();
                else r = Complex{plot ? std::tan(t.re) : snap(std::tan(t.re)), 0.0};
                return true;
            }
            cd z(t.re, t.im);
            if (id == OP_SIN) r = from_std(std::sin(z));
            else if (id == OP_COS) r = from_std(std::cos(z));
            else r = from_std(std::tan(z));
            return true;
        }
        case OP_LN: case OP_LOG: {
            if (g.is_real && (g.real_path || x > 0.0)) {
                if (x <= 0.0) return domain_error();
                r = Complex{id == OP_LN ? std::log(x) : std::log10(x), 0.0};
                return true;
            }
            Complex l = c_ln(a);
            if (error_pending()) return false;
            if (id == OP_LOG) l = Complex{l.re / std::log(10.0), l.im / std::log(10.0)};
            r = l;
            return true;
        }
        case OP_ABS: r = Complex{g.is_real ? std::fabs(x) : c_abs(a), 0.0}; return true;
        case OP_ASIN: case OP_ACOS: {
            if (g.is_real && (g.real_path || std::fabs(x) <= 1.0)) {
                if (std::fabs(x) > 1.0) return domain_error();
                r = from_radians(id == OP_ASIN ? std::asin(x) : std::acos(x), 0.0);
                return true;
            }
            cd z = g.is_real ? on_asin_cut(x) : to_std(a);
            r = convert_angle_out(id == OP_ASIN ? std::asin(z) : std::acos(z));
            return true;
        }
        case OP_ATAN:
            if (g.is_real) r = from_radians(std::atan(x), 0.0);
            else if (a.re == 0.0 && std::fabs(a.im) == 1.0) return domain_error();
            else r = convert_angle_out(std::atan(to_std(a)));
            return true;
        case OP_SINH: case OP_COSH: case OP_TANH:
            if (g.is_real) {
                r = Complex{id == OP_SINH ? std::sinh(x) : id == OP_COSH ? std::cosh(x)
                                                                         : std::tanh(x), 0.0};
            } else {
                cd z = to_std(a);
                r = from_std(id == OP_SINH ? std::sinh(z) : id == OP_COSH ? std::cosh(z)
                                                                          : std::tanh(z));
            }
            return true;
        case OP_ASINH:
            r = g.is_real ? Complex{std::asinh(x), 0.0} : from_std(std::asinh(to_std(a)));
            return true;
        case OP_ACOSH:
            if (g.is_real && (g.real_path || x >= 1.0)) {
                if (x < 1.0) return domain_error();
                r = Complex{std::acosh(x), 0.0};
                return true;
            }
            r = from_std(std::acosh(to_std(a)));
            return true;
        case OP_ATANH:
            if (g.is_real && (g.real_path || std::fabs(x) <= 1.0)) {
                if (std::fabs(x) == 1.0)
                    return raise_error(ERR_DIV_ZERO, "Division by zero", "fpieee_handler") && false;
                if (std::fabs(x) > 1.0) return domain_error();
                r = Complex{std::atanh(x), 0.0};
                return true;
            }
            if (a.im == 0.0 && std::fabs(a.re) == 1.0)
                return raise_error(ERR_DIV_ZERO, "Division by zero", "fpieee_handler") && false;
            r = from_std(std::atanh(to_std(a)));
            return true;
        case OP_IPART: r = Complex{int_part(a.re), int_part(a.im)}; return true;
        case OP_FPART: r = Complex{frac_part(a.re), frac_part(a.im)}; return true;
        case OP_FLOOR: r = Complex{std::floor(a.re), std::floor(a.im)}; return true;
        case OP_CEIL: r = Complex{std::ceil(a.re), std::ceil(a.im)}; return true;
        case OP_ROUND: case OP_TRUNC: {
            int n = id == OP_ROUND ? int_in_range(b.re, 0, 10, ERR_DOMAIN)
                                   : int_in_range(b.re, -100, 100, ERR_DOMAIN);
            if (error_pending()) return false;
            double scale = std::pow(10.0, n);
            auto one = [&](double v) {
                double s = v * scale;
                return (id == OP_ROUND ? round_nearest(s) : int_part(s)) / scale;
            };
            r = Complex{one(a.re), a.im == 0.0 ? 0.0 : one(a.im)};
            return true;
        }
        case OP_CONJ: r = Complex{a.re, -a.im}; return true;
        case OP_REAL: r = Complex{a.re, 0.0}; return true;
        case OP_IMAG: r = Complex{a.im, 0.0}; return true;
        case OP_ANGLE: r = from_radians(c_arg(a), 0.0); return true;
        case OP_GAMMA:
            if (a.im == 0.0) {
                if (x <= 0.0) return domain_error();
                r = Complex{std::tgamma(x), 0.0};
            } else {
                r = c_gamma(a);
            }
            return true;
        case OP_SIGN:
            if (!g.is_real) return raise_error(ERR_DATA_TYPE, "E16", kFn) && false;
            r = Complex{x > 0.0 ? 1.0 : x < 0.0 ? -1.0 : 0.0, 0.0};
            return true;
        case OP_BETA: {
            if (g.is_real) {
                if (a.re <= 0.0 || b.re <= 0.0) return domain_error();
                double s = a.re + b.re;
                if (s < 170.0) {
                    r = Complex{std::tgamma(a.re) * (std::tgamma(b.re) / std::tgamma(s)), 0.0};
                } else {
                    r = Complex{std::exp(std::lgamma(a.re) + std::lgamma(b.re) - std::lgamma(s)),
                                0.0};
                }
                return true;
            }
            Complex ga = c_gamma(a), gb = c_gamma(b), gs = c_gamma(c_add(a, b));
            r = c_div(c_mul(ga, gb), gs);
            return true;
        }
        case OP_JN: case OP_YN: {
            int n = int_in_range(a.re, 0, 1000000, ERR_DOMAIN);
            if (error_pending()) return false;
            if (b.re <= 0.0) return domain_error();
            r = Complex{id == OP_JN ? jn(n, b.re) : yn(n, b.re), 0.0};
            return true;
        }
        case OP_ERROR: r = Complex{g_last_integration_error, 0.0}; return true;
        case OP_TOHMS: case OP_FROMHMS: {
            auto one = [&](double v) {
                if (id == OP_TOHMS) {
                    double h = int_part(v);
                    double m = int_part(frac_part(v) * 60.0);
                    double s = frac_part(frac_part(v) * 60.0) * 60.0;
                    return h + m / 100.0 + s / 10000.0;
                }
                double h = int_part(v);
                return h + int_part((v - h) * 100.0) / 60.0 + frac_part(v * 100.0) / 36.0;
            };
            r = Complex{one(a.re), a.im == 0.0 ? 0.0 : one(a.im)};
            if (id == OP_TOHMS) g_tohms_done = true;
            return true;
        }
        case OP_MANT: case OP_XPON: {
            double m = std::fabs(x), e = 0.0;
            while (m >= 9.99999999999999) {
                m /= 10.0;
                e += 1.0;
            }
            while (m < 0.99999999999999 && m != 0.0) {
                m *= 10.0;
                e -= 1.0;
            }
            // The mantissa keeps the sign so that Mant(x)*10^Xpon(x) = x.
            r = Complex{id == OP_MANT ? std::copysign(m, x) : e, 0.0};
            return true;
        }
        case OP_MAX: r = a.re >= b.re ? a : b; return true;
        case OP_MIN: r = a.re <= b.re ? a : b; return true;
        case OP_RANDNORM: r = Complex{rand_norm(a.re, b.re), 0.0}; return !error_pending();
        case OP_RANDBIN: r = Complex{rand_bin(a.re, b.re), 0.0}; return !error_pending();
        case OP_RANDPOIS: r = Complex{rand_pois(a.re), 0.0}; return !error_pending();
        case OP_RANDINT: r = Complex{rand_int(a.re, b.re), 0.0}; return !error_pending();
        case OP_LOGB: {
            if (b.re <= 0.0) return domain_error();
            if (b.re == 1.0) return raise_error(ERR_DIV_ZERO, "Division by zero", kFn) && false;
            if (g.is_real && (g.real_path || x > 0.0)) {
                if (x <= 0.0) return domain_error();
                r = Complex{std::log(x) / std::log(b.re), 0.0};
                return true;
            }
            Complex l = c_ln(a);
            if (error_pending()) return false;
            double lb = std::log(b.re);
            r = Complex{l.re / lb, l.im / lb};
            return true;
        }
        case OP_GCD: case OP_LCM: {
            double p = int_in_range(a.re, 0, 1000000000, ERR_DOMAIN);
            double q = int_in_range(b.re, 0, 1000000000, ERR_DOMAIN);
            if (error_pending()) return false;
            double u = p, v = q;
            while (v != 0.0) {
                double t = u - int_part(u / v) * v;
                u = v;
                v = t;
            }
            if (id == OP_GCD) r = Complex{u, 0.0};
            else r = Complex{u == 0.0 ? 0.0 : p * (q / u), 0.0};
            return true;
        }
        case OP_ATAN2: r = from_radians(std::atan2(a.re, b.re), 0.0); return true;
        default:
            raise_error(ERR_UNEXPECTED, "Operator not supported", kFn);
            r = Complex{0.0, 0.0};
            return false;
    }
}

bool is_list_function(int id) { return (id >= 87 && id <= 106) || id == 108; }

bool is_drawing(int id) { return id >= OP_LINE && id <= OP_CLRDRAW; }

void write(const Operation& op, Complex v) {
    TempRegister& out = g_registers[op.result_reg];
    out.re = v.re;
    out.im = v.im;
    out.kind = RK_SCALAR;
}

// A one- or two-argument scalar function (not a matrix, list, var or
// drawing function) with a list among its arguments, before they are
// put in written order.
bool has_list_argument(const Operation& op, const ConstantValue& bracket) {
    const int kind = op.info.kind;
    if (kind != KIND_FUNCTION && kind != KIND_MULTI_FUNCTION) return false;
    if ((op.info.flags & FLAG_M) || is_list_function(op.info.id) || is_drawing(op.info.id))
        return false;
    const int n = parameter_count();
    if (n == 0) return bracket.list >= 0;
    const FunctionParameter* p = parameters();
    for (int k = 0; k < n; ++k)
        if (p[k].list >= 0) return true;
    return false;
}

// The end of every scalar operation: the mode checks, the computation and
// the fault tests.  False after an error; `write_zero` then tells whether
// the register is to hold 0 (a refused operation) or stay as it was (a
// floating-point fault).
bool finish_scalar(const Operation& op, Args& g, Complex& r, bool& write_zero) {
    write_zero = false;
    const bool plot = plot_mode();
    g.real_path = (g.is_real && g_settings.complex_format == CPLX_REAL) || plot;
    if (!g.is_real && plot) {
        raise_error(ERR_DATA_TYPE, "E11", kFn);
        return false;
    }
    clear_fp_flags();
    if (g_settings.calculator_mode == MODE_BASE_N) {
        g.a = Complex{cut_to_word_size(g.a.re), cut_to_word_size(g.a.im)};
        g.b = Complex{cut_to_word_size(g.b.re), cut_to_word_size(g.b.im)};
    }
    r = Complex{0.0, 0.0};
    bool ok = compute(op.info.id, g, op, r);
    if (fpieee_handler()) return false;
    if (!ok || error_pending()) {
        if (!error_pending()) raise_error(ERR_UNEXPECTED, "Operator not supported", kFn);
        write_zero = true;
        return false;
    }
    if (!std::isfinite(r.re) || !std::isfinite(r.im)) {
        if (std::isinf(r.re) || std::isinf(r.im)) raise_error(ERR_OVERFLOW, "Positive infinity", "fpieee_handler");
        else raise_error(ERR_DOMAIN, "NAN", "fpieee_handler");
        return false;
    }
    if (g_settings.calculator_mode == MODE_BASE_N)
        r = Complex{cut_to_word_size(r.re), cut_to_word_size(r.im)};
    return true;
}

}  // namespace

bool apply_scalar_operation(const Operation& op, const Complex* args, int count, Complex& out) {
    Args g;
    g.a = count > 0 ? args[0] : Complex{0.0, 0.0};
    g.b = count > 1 ? args[1] : Complex{0.0, 0.0};
    if (op.info.kind == KIND_FUNCTION) {
        g.is_real = g.a.im == 0.0;
    } else {
        g.is_real = true;
        for (int k = 0; k < count; ++k)
            if (args[k].im != 0.0) g.is_real = false;
    }
    bool write_zero = false;
    return finish_scalar(op, g, out, write_zero);
}

void perform_float_calculation(const Operation& op) {
    if (g_tohms_done) {
        raise_error(ERR_TOHMS_NOT_LAST, "E10", kFn);
        return;
    }
    const int id = op.info.id;
    const int kind = op.info.kind;
    ConstantValue v[2];
    v[0] = fetch_operand(op.operand[0]);
    int count = 1;
    if (kind == KIND_BINARY) {
        v[1] = fetch_operand(op.operand[1]);
        count = 2;
    } else {
        v[1] = ConstantValue{0.0, 0.0, -1, -1, -1};
    }
    if (error_pending()) return;

    const bool is_fn = kind == KIND_MULTI_FUNCTION || kind == KIND_FUNCTION ||
                       kind == KIND_VAR_FUNCTION;
    bool object = false, all_real = true;
    for (int k = 0; k < count; ++k) {
        if (v[k].matrix >= 0 || v[k].list >= 0) object = true;
        if (v[k].im != 0.0) all_real = false;
    }
    // Functions are routed once their parameters are prepared (below).  The
    // owner of matrices and lists decides which scalar operands it takes
    // (lists work element by element, complex parts included).
    if (object && !is_fn && id != OP_COMMA) {
        g_hooks.matrix_list_operation(op, v, count, &g_registers[op.result_reg]);
        return;
    }
    if (id == OP_COMMA) {
        if (parameter_count() == 0)
            store_function_parameter(v[1].re, v[1].im, v[1].memory, v[1].matrix, v[1].list);
        store_function_parameter(v[0].re, v[0].im, v[0].memory, v[0].matrix, v[0].list);
        write(op, Complex{v[0].re, v[0].im});
        return;
    }
    if (id == OP_STORE && op.param >= MEM_MATRIX_FIRST) {
        raise_error(ERR_DATA_TYPE, "E10", kFn);
        return;
    }
    if ((op.info.flags & FLAG_M) && !is_fn) {
        raise_error(ERR_DATA_TYPE, "E10", kFn);
        return;
    }

    Args g;
    g.a = Complex{v[0].re, v[0].im};
    g.b = Complex{v[1].re, v[1].im};
    g.is_real = all_real;
    if (is_fn) {
        // A scalar function given a list runs element by element: the
        // list's owner checks its arguments and applies it to each element.
        if (has_list_argument(op, v[0])) {
            g_hooks.matrix_list_operation(op, v, count, &g_registers[op.result_reg]);
            return;
        }
        int variable = -1;
        bool fn_all_real = pre_process_function(v[0], &variable);
        if (error_pending()) return;
        const FunctionParameter* p = parameters();
        int n = parameter_count();
        bool has_object = false;
        for (int k = 0; k < n; ++k) has_object |= p[k].matrix >= 0 || p[k].list >= 0;
        if ((op.info.flags & FLAG_M) || is_list_function(id) || has_object || object) {
            if (!fn_all_real && (has_object || object)) {
                raise_error(ERR_DATA_TYPE, "E9", kFn);
                return;
            }
            g_hooks.matrix_list_operation(op, v, count, &g_registers[op.result_reg]);
            return;
        }
        if (kind == KIND_VAR_FUNCTION) {
            step_var_function(p, n, variable, g_registers[op.result_reg]);
            return;
        }
        if (is_drawing(id)) {
            if (id == OP_COLOR)
                for (int k = 0; k < n; ++k) int_in_range(p[k].re, 0, 255, ERR_DOMAIN);
            if (error_pending()) return;
            g_hooks.draw_statement(id, p, n);
            write(op, Complex{0.0, 0.0});
            return;
        }
        g.a = Complex{p[0].re, p[0].im};
        g.b = n > 1 ? Complex{p[1].re, p[1].im} : Complex{0.0, 0.0};
        g.is_real = kind == KIND_MULTI_FUNCTION ? fn_all_real : g.a.im == 0.0;
    }
    Complex r{0.0, 0.0};
    bool write_zero = false;
    if (finish_scalar(op, g, r, write_zero)) write(op, r);
    else if (write_zero) write(op, Complex{0.0, 0.0});   // a trap leaves the register unwritten
}

}  // namespace qx
