#include "tools/tvm.h"

#include <cmath>

#include "engine/errors.h"
#include "engine/scalar.h"

namespace qx {

TvmValues g_tvm = tvm_defaults();

TvmValues tvm_defaults() {
    TvmValues t{};
    t.v[TVM_PY] = 1;
    t.v[TVM_CY] = 1;
    t.begin = false;
    return t;
}

namespace {

// Below this the periodic rate is taken as zero: the annuity factor is then
// its limit N, and the closed forms that divide by the rate have linear
// counterparts.
constexpr double kZeroRate = 1e-14;
// The rate search: the range it starts with, its first step and the number
// of times the step is refined by ten.
constexpr double kRateBound = 100;
constexpr double kRateStep = 0.1;
constexpr int kRateRounds = 7;
// A rate is a solution when the residual it leaves is this small against
// the terms that make it up; anything larger is a near miss of an equation
// that has no solution.
constexpr double kRateTolerance = 1e-9;
constexpr int kMaxScheduleRows = 2000;

bool usable(double v) { return v != UNDEFINED_VALUE && std::isfinite(v); }

// The search and the closed forms overflow and divide by zero on the way to
// an undefined answer; those flags are theirs alone (each public entry runs
// inside an FpFaultScope), so a caller's flags are as it left them.

// The periodic rate g and ln(1 + g), the latter computed straight from I%
// so that tiny rates and long terms keep their digits.
struct Rate {
    bool defined;
    bool zero;       // |g| small enough for the zero-rate forms
    double g;
    double log_growth;
};

Rate periodic_rate(double percent, double per_year, double compound_per_year) {
    Rate r{false, false, 0, 0};
    if (!usable(percent) || !usable(per_year) || !usable(compound_per_year)) return r;
    if (per_year == 0 || compound_per_year == 0) return r;
    const double x = percent * 0.01 / compound_per_year;
    if (!(x > -1)) return r;   // the compounding factor q would be <= 0
    r.log_growth = compound_per_year / per_year * std::log1p(x);
    r.g = std::expm1(r.log_growth);
    if (!std::isfinite(r.log_growth) || !std::isfinite(r.g)) return r;
    r.defined = true;
    r.zero = std::fabs(r.g) <= kZeroRate;
    return r;
}

// The pieces of the annuity equation for N periods at rate r:
//   residual = A * annuity * PMT + discount * FV + PV
// with A = 1 + g for payments at the start of each period.
struct Annuity {
    double discount;   // (1 + g)^-N
    double growth;     // (1 + g)^N
    double annuity;    // (1 - (1 + g)^-N) / g, N at a zero rate
    double accrual;    // ((1 + g)^N - 1) / g, N at a zero rate
    double timing;     // A
};

Annuity annuity(const Rate& r, double n, bool begin) {
    Annuity a;
    const double e = n * r.log_growth;
    a.discount = std::exp(-e);
    a.growth = std::exp(e);
    a.timing = begin ? 1 + r.g : 1;
    if (r.zero) {
        a.annuity = a.accrual = n;
        a.timing = 1;
    } else {
        a.annuity = -std::expm1(-e) / r.g;
        a.accrual = std::expm1(e) / r.g;
    }
    return a;
}

// x * y where a zero factor wins over an infinite one: a missing payment
// or future value contributes nothing however extreme the rate is.
double times(double x, double y) { return x == 0 || y == 0 ? 0 : x * y; }

// A zero comes back as +0: "-0.00" in a field would read as a debt of nothing.
double defined_or_undefined(double v) { return std::isfinite(v) ? v + 0.0 : UNDEFINED_VALUE; }

// The residual and the sum of the magnitudes of its terms.
struct Balance {
    bool defined;
    double residual;
    double scale;
};

struct Equation {
    double n, pv, pmt, fv, per_year, compound_per_year;
    bool begin;

    Balance at(double percent) const {
        const Rate r = periodic_rate(percent, per_year, compound_per_year);
        if (!r.defined) return {false, 0, 0};
        const Annuity a = annuity(r, n, begin);
        const double payments = times(a.timing * a.annuity, pmt);
        const double future = times(a.discount, fv);
        const double res = payments + future + pv;
        if (!std::isfinite(res)) return {false, 0, 0};
        return {true, res, std::fabs(payments) + std::fabs(future) + std::fabs(pv)};
    }
};

int sign(double x) { return (x > 0) - (x < 0); }

// Refines a root bracketed by [a, b] (residuals of opposite signs) with the
// Illinois variant of regula falsi, which keeps the bracket and converges
// superlinearly; returns the point of the smallest residual seen.
double refine_bracket(const Equation& eq, double a, double fa, double b, double fb) {
    double best = std::fabs(fa) < std::fabs(fb) ? a : b;
    double best_abs = std::fmin(std::fabs(fa), std::fabs(fb));
    for (int it = 0; it < 100; ++it) {
        double x = b - fb * (b - a) / (fb - fa);
        const double lo = std::fmin(a, b), hi = std::fmax(a, b);
        if (!(x > lo && x < hi)) x = 0.5 * (a + b);
        if (x <= lo || x >= hi) break;   // the bracket is down to adjacent doubles
        const Balance e = eq.at(x);
        if (!e.defined) break;
        const double fx = e.residual;
        if (std::fabs(fx) < best_abs) {
            best_abs = std::fabs(fx);
            best = x;
        }
        if (fx == 0) break;
        if (sign(fx) != sign(fb)) {
            a = b;
            fa = fb;
        } else {
            fa *= 0.5;
        }
        b = x;
        fb = fx;
    }
    return best;
}

// Secant steps from x towards a root the grid did not bracket (one the
// residual only touches), halving any step that leaves the defined region
// or makes the residual larger.
double refine_secant(const Equation& eq, double x, double fx, double h) {
    double xp = x + h;
    Balance ep = eq.at(xp);
    if (!ep.defined) {
        xp = x - h;
        ep = eq.at(xp);
        if (!ep.defined) return x;
    }
    double fp = ep.residual;
    for (int it = 0; it < 40 && fx != 0; ++it) {
        if (fx == fp) break;
        double step = -fx * (x - xp) / (fx - fp);
        bool moved = false;
        for (int halving = 0; halving < 30 && !moved; ++halving, step *= 0.5) {
            const Balance e = eq.at(x + step);
            if (e.defined && std::fabs(e.residual) < std::fabs(fx)) {
                xp = x;
                fp = fx;
                x += step;
                fx = e.residual;
                moved = true;
            }
        }
        if (!moved) break;
    }
    return x;
}

double solve_rate(const TvmValues& t) {
    const double n = t.v[TVM_N], pv = t.v[TVM_PV], pmt = t.v[TVM_PMT], fv = t.v[TVM_FV];
    if (!usable(n) || !usable(pv) || !usable(pmt) || !usable(fv)) return UNDEFINED_VALUE;
    // Money must flow both ways, or no rate can balance it.
    const int signs[3] = {sign(pv), sign(fv), sign(n) * sign(pmt)};
    int negative = 0, positive = 0;
    for (int s : signs) {
        negative += s < 0;
        positive += s > 0;
    }
    if (negative == 0 || positive == 0) return UNDEFINED_VALUE;

    const Equation eq{n, pv, pmt, fv, t.v[TVM_PY], t.v[TVM_CY], t.begin};
    double lo = -kRateBound, hi = kRateBound, step = kRateStep;
    bool found = false;
    double best = 0, best_abs = 0;
    for (int round = 0; round < kRateRounds; ++round) {
        const int count = static_cast<int>(std::lround((hi - lo) / step));
        for (int k = 0; k <= count; ++k) {
            const double x = lo + k * step;
            const Balance e = eq.at(x);
            if (!e.defined) continue;
            const double a = std::fabs(e.residual);
            if (!found || a < best_abs) {
                found = true;
                best = x;
                best_abs = a;
            }
        }
        if (!found) return UNDEFINED_VALUE;
        if (round + 1 < kRateRounds) {
            lo = best - step;
            hi = best + step;
            step /= 10;
        }
    }

    // The grid leaves the rate within a step of the root; the root itself
    // is found from there.
    const Balance at_best = eq.at(best);
    double x = best;
    if (at_best.residual != 0) {
        bool bracketed = false;
        for (double side : {step, -step}) {
            const Balance e = eq.at(best + side);
            if (e.defined && sign(e.residual) != sign(at_best.residual)) {
                x = refine_bracket(eq, best, at_best.residual, best + side, e.residual);
                bracketed = true;
                break;
            }
        }
        if (!bracketed) x = refine_secant(eq, best, at_best.residual, step);
    }
    const Balance e = eq.at(x);
    if (!e.defined || std::fabs(e.residual) > kRateTolerance * e.scale) return UNDEFINED_VALUE;
    if (std::fabs(x) > kRateBound) return UNDEFINED_VALUE;
    return x;
}

double solve_closed_form(const TvmValues& t, TvmField unknown) {
    const Rate r = periodic_rate(t.v[TVM_I], t.v[TVM_PY], t.v[TVM_CY]);
    if (!r.defined) return UNDEFINED_VALUE;
    for (int f : {TVM_N, TVM_PV, TVM_PMT, TVM_FV})
        if (f != unknown && !usable(t.v[f])) return UNDEFINED_VALUE;
    const double n = t.v[TVM_N], pv = t.v[TVM_PV], pmt = t.v[TVM_PMT], fv = t.v[TVM_FV];
    const double g = r.g;

    if (unknown == TVM_N) {
        if (r.zero) return pmt == 0 ? UNDEFINED_VALUE : defined_or_undefined(-(fv + pv) / pmt);
        // (1 + g)^N = (A*PMT - FV*g) / (A*PMT + PV*g), written as 1 + x so
        // that small rates do not lose the ratio's distance from 1.
        const double timing = t.begin ? 1 + g : 1;
        const double den = timing * pmt + pv * g;
        if (den == 0) return UNDEFINED_VALUE;
        const double x = -g * (fv + pv) / den;
        if (!(x > -1)) return UNDEFINED_VALUE;
        return defined_or_undefined(std::log1p(x) / r.log_growth);
    }

    const Annuity a = annuity(r, n, t.begin);
    switch (unknown) {
        case TVM_PV: return defined_or_undefined(-(times(a.timing * a.annuity, pmt) + times(a.discount, fv)));
        case TVM_FV: return defined_or_undefined(-(times(a.growth, pv) + times(a.timing * a.accrual, pmt)));
        case TVM_PMT: {
            const double per_payment = a.timing * a.annuity;
            if (per_payment == 0) return UNDEFINED_VALUE;
            return defined_or_undefined(-(pv + times(a.discount, fv)) / per_payment);
        }
        default: return UNDEFINED_VALUE;
    }
}

}  // namespace

TvmResidual tvm_residual(const TvmValues& t) {
    const FpFaultScope flags;
    for (int f : {TVM_N, TVM_I, TVM_PV, TVM_PMT, TVM_FV})
        if (!usable(t.v[f])) return {false, 0, 0};
    const Rate r = periodic_rate(t.v[TVM_I], t.v[TVM_PY], t.v[TVM_CY]);
    if (!r.defined) return {false, 0, 0};
    const Equation eq{t.v[TVM_N], t.v[TVM_PV], t.v[TVM_PMT], t.v[TVM_FV], t.v[TVM_PY], t.v[TVM_CY], t.begin};
    const Balance b = eq.at(t.v[TVM_I]);
    if (!b.defined) return {false, 0, r.g};
    return {true, b.residual, r.g};
}

double tvm_solve(TvmValues& t, TvmField unknown) {
    if (unknown < TVM_N || unknown > TVM_FV) return UNDEFINED_VALUE;
    const FpFaultScope flags;
    const double v = unknown == TVM_I ? solve_rate(t) : solve_closed_form(t, unknown);
    t.v[unknown] = v;
    return v;
}

ScheduleCheck tvm_schedule_check(const TvmValues& t) {
    for (int f : {TVM_PV, TVM_PMT, TVM_I, TVM_N})
        if (!usable(t.v[f])) return ScheduleCheck::ValueError;
    if (t.v[TVM_N] > kMaxScheduleRows) return ScheduleCheck::TooManyPeriods;
    if (t.v[TVM_PY] == 0) return ScheduleCheck::NoPayments;
    return ScheduleCheck::Ok;
}

const char* tvm_schedule_message(ScheduleCheck c) {
    switch (c) {
        case ScheduleCheck::ValueError: return "Can't create schedule due to a TVM value having an error.";
        case ScheduleCheck::TooManyPeriods:
            return "Can't create schedule due to the TVM N value being greater than 2000.";
        case ScheduleCheck::NoPayments: return "Can't create schedule due to the TVM P/Y value being equal to 0.";
        default: return "";
    }
}

std::vector<AmortizationRow> tvm_schedule(const TvmValues& t) {
    std::vector<AmortizationRow> rows;
    if (tvm_schedule_check(t) != ScheduleCheck::Ok) return rows;
    const FpFaultScope flags;
    const double n = t.v[TVM_N], pmt = t.v[TVM_PMT];
    // The interest of a period is the rate C/Y implies for it, so that a
    // payment solved with the same rate pays the loan off exactly.
    const Rate r = periodic_rate(t.v[TVM_I], t.v[TVM_PY], t.v[TVM_CY]);
    rows.reserve(n > 0 ? static_cast<std::size_t>(std::ceil(n)) : 0);
    double balance = t.v[TVM_PV];
    bool defined = true;
    for (int k = 0; k < n; ++k) {
        double interest = 0;
        if (!(k == 0 && t.begin)) {
            if (r.defined) interest = r.g * balance;
            else defined = false;
        }
        const double principal = pmt + interest;
        balance += principal;
        if (!std::isfinite(principal) || !std::isfinite(balance)) defined = false;
        // The interest is shown as money flowing the way the payments do.
        const double shown = (pmt > 0 && interest < 0) || (pmt < 0 && interest > 0) ? -interest : interest;
        if (defined) rows.push_back({principal, shown, balance});
        else rows.push_back({UNDEFINED_VALUE, UNDEFINED_VALUE, UNDEFINED_VALUE});
    }
    return rows;
}

}  // namespace qx
