// Step machines of the var functions.  Each call receives the value of the
// expression at the point the previous call asked for and either asks for
// another point (by setting the variable) or finishes.  Nothing here
// allocates: the working state lives in fixed records, one per nesting
// level, and the integrator's interval list is bounded by its limit.
#include "numeric/calculus.h"

#include <cfenv>
#include <cmath>
#include <cstdio>
#if defined(__SSE2__)
#include <immintrin.h>
#endif

#include "engine/errors.h"
#include "engine/memory.h"
#include "engine/scalar.h"
#include "engine/tokens.h"
#include "matrix/store.h"

namespace qx {
namespace {

enum CalcOp {
    CO_FNINT = 118, CO_FNDERIV = 119, CO_FNMIN = 120, CO_FNMAX = 121, CO_FNEVAL = 122,
    CO_SEQ = 123, CO_FNROOT = 124, CO_SUMM = 125, CO_PROD = 126, CO_PLOT_MIN = 132,
    CO_PLOT_MAX = 133, CO_PLOT_ROOT = 134, CO_PLOT_DERIV = 135,
};

constexpr int kLevels = MAX_VAR_NESTING;
constexpr int kVariableStack = 11;
constexpr double kSnap = 1e-14;
// The integrator's machine constants are those of the doubles it works in;
// single-precision values would stop every integral short of 1e-9.
constexpr double kEpmach = 2.220446049250313e-16;
constexpr double kUflow = 2.2250738585072014e-308;

// 61-point Kronrod rule with its 30-point Gauss rule on [-1, 1]: abscissae
// in decreasing order (odd indices are the Gauss nodes, the last is 0),
// Kronrod weights, and Gauss weights of the nodes xgk[2j+1].  Computed to 80
// digits from the Legendre and Stieltjes polynomials; exact for every
// polynomial of degree up to 91.
constexpr double kXgk[31] = {
    0.999484410050490637571325895705810819, 0.996893484074649540271630050918695283,
    0.991630996870404594858628366109485725, 0.983668123279747209970032581605662802,
    0.973116322501126268374693868423706885, 0.960021864968307512216871025581797663,
    0.944374444748559979415831324037439122, 0.926200047429274325879324277080474004,
    0.905573307699907798546522558925958320, 0.882560535792052681543116462530225590,
    0.857205233546061098958658510658943857, 0.829565762382768397442898119732501916,
    0.799727835821839083013668942322683241, 0.767777432104826194917977340974503132,
    0.733790062453226804726171131369527646, 0.697850494793315796932292388026640068,
    0.660061064126626961370053668149270753, 0.620526182989242861140477556431189299,
    0.579345235826361691756024932172540496, 0.536624148142019899264169793311072794,
    0.492480467861778574993693061207708796, 0.447033769538089176780609900322854000,
    0.400401254830394392535476211542660634, 0.352704725530878113471037207089373861,
    0.304073202273625077372677107199256554, 0.254636926167889846439805129817805108,
    0.204525116682309891438957671002024710, 0.153869913608583546963794672743255920,
    0.102806937966737030147096751318000592, 0.0514718425553176958330252131667225737,
    0.0,
};
constexpr double kWgk[31] = {
    0.00138901369867700762455159122675969968, 0.00389046112709988405126720184451550328,
    0.00663070391593129217331982636975016813, 0.00927327965951776342844114689202436042,
    0.0118230152534963417422328988532505929,  0.0143697295070458048124514324435800102,
    0.0169208891890532726275722894203220924,  0.0194141411939423811734089510501284559,
    0.0218280358216091922971674857383389934,  0.0241911620780806013656863707252320268,
    0.0265099548823331016106017093350754144,  0.0287540487650412928439787853543342111,
    0.0309072575623877624728842529430922726,  0.0329814470574837260318141910168539275,
    0.0349793380280600241374996707314678751,  0.0368823646518212292239110656171359677,
    0.0386789456247275929503486515322810503,  0.0403745389515359591119952797524681142,
    0.0419698102151642461471475412859697578,  0.0434525397013560693168317281170732581,
    0.0448148001331626631923555516167232438,  0.0460592382710069881162717355593735806,
    0.0471855465692991539452614781810994865,  0.0481858617570871291407794922983045926,
    0.0490554345550297788875281653672381736,  0.0497956834270742063578115693799423285,
    0.0504059214027823468408930856535850289,  0.0508817958987496064922974730498046919,
    0.0512215478492587721706562826049442083,  0.0514261285374590259338628792157812598,
    0.0514947294294515675583404336470993075,
};
constexpr double kWg[15] = {
    0.00796819249616660561546588347467362245, 0.0184664683110909591423021319120472691,
    0.0287847078833233693497191796112920436,  0.0387991925696270495968019364463476920,
    0.0484026728305940529029381404228075178,  0.0574931562176190664817216894020561288,
    0.0659742298821804951281285151159623612,  0.0737559747377052062682438500221907342,
    0.0807558952294202153546949384605297309,  0.0868997872010829798023875307151257026,
    0.0921225222377861287176327070876187672,  0.0963687371746442596394686263518098651,
    0.0995934205867952670627802821035694765,  0.101762389748405504596428952168554045,
    0.102852652893558840341285636705415044,
};

// --- variable stack ------------------------------------------------------------------

struct SavedVariable {
    int variable;
    double re, im;
};
SavedVariable g_saved[kVariableStack];
int g_saved_count = 0;
bool g_fnint_active = false;
long g_samples = 0;

bool push_variable(int variable) {
    if (g_saved_count >= kVariableStack) {
        raise_error(ERR_MEMORY, "Too many active var function variables", "push_variable");
        return false;
    }
    g_saved[g_saved_count++] =
        SavedVariable{variable, memory_get(variable, 0), memory_get(variable, 1)};
    return true;
}

void pop_variable() {
    if (g_saved_count <= 0) return;
    const SavedVariable& s = g_saved[--g_saved_count];
    memory_set(s.re, 0, s.variable);
    memory_set(s.im, 1, s.variable);
}

// --- per-level state --------------------------------------------------------------

constexpr int kRiddersColumns = 16;

struct Level {
    int op;
    int variable;
    int phase;
    bool owns_variable;
    // shared scalars
    double lower, upper, x, fx;
    long index, count;
    double acc_re, acc_im;
    double start, step;
    // fnDeriv
    double x0, h, f_plus, best, best_err;
    double tableau[kRiddersColumns][kRiddersColumns];
    // fnMin/fnMax (Brent's minimizer) and fnRoot (Brent's root method)
    double sign;          // -1 for fnMax
    bool have_best;
    double a, b, c, d, e, fa, fb, fc;
    double v, w, fv, fw, u;
    double bracket_fa, bracket_fb;
    double ref_f, prev_x, prev_f;
    bool have_ref;
    long iterations;
};
Level g_levels[kLevels];

VarStepResult again_at(Level& L, double x) {
    L.x = x;
    memory_set(x, 0, L.variable);
    memory_set(0.0, 1, L.variable);
    return VarStepResult{true, 0.0, 0.0, RK_SCALAR, 0};
}

void release(Level& L) {
    if (L.owns_variable) pop_variable();
    L.owns_variable = false;
    if (L.op == CO_FNINT) g_fnint_active = false;
}

VarStepResult finish(Level& L, double re, double im = 0.0) {
    release(L);
    return VarStepResult{false, re, im, RK_SCALAR, 0};
}

VarStepResult fail(Level& L, int code, const char* text, const char* function) {
    raise_error(code, text, function);
    release(L);
    return VarStepResult{false, 0.0, 0.0, RK_SCALAR, 0};
}

// The error of a failed sample was cleared by the evaluator so that the
// method could see it; the record still holds its code and text.
VarStepResult fail_with_sample_error(Level& L) {
    int code = error_code();
    char text[TEXT_SIZE];
    copy_bounded(text, error_detail(), TEXT_SIZE);
    return fail(L, code, text, "var_function");
}

double snap(double r) { return std::fabs(r) <= kSnap ? 0.0 : r; }

// --- fnEval, Summ, Prod, Seq --------------------------------------------------------

VarStepResult step_eval(Level& L, const VarStepCall& c, bool first) {
    if (first) {
        L.x = c.params[2].re;
        memory_set(c.params[2].re, 0, L.variable);
        memory_set(c.params[2].im, 1, L.variable);
        return VarStepResult{true, 0.0, 0.0, RK_SCALAR, 0};
    }
    if (c.sample_failed) return fail_with_sample_error(L);
    return finish(L, c.value_re, c.value_im);
}

// Terms are counted from the start so that the points are start + k exactly,
// never sums that drift by rounding.
long term_count(double from, double to, double step) {
    double q = (to - from) / step;
    if (!(q >= 0.0)) return q < 0.0 ? 0 : -1;
    q += 1e-10 * std::fmax(1.0, q);
    if (q > 9.0e15) return -1;
    return static_cast<long>(std::floor(q)) + 1;
}

VarStepResult step_sum_product(Level& L, const VarStepCall& c, bool first) {
    if (first) {
        L.start = c.params[2].re;
        double end = c.params[3].re;
        if (!std::isfinite(L.start) || !std::isfinite(end))
            return fail(L, ERR_DOMAIN, "Bounds must be finite", "Summation");
        L.step = L.start <= end ? 1.0 : -1.0;
        L.count = term_count(L.start, end, L.step);
        if (L.count < 0) return fail(L, ERR_DOMAIN, "Too many terms", "Summation");
        L.index = 0;
        L.acc_re = L.op == CO_PROD ? 1.0 : 0.0;
        L.acc_im = 0.0;
        return again_at(L, L.start);
    }
    if (c.sample_failed) return fail_with_sample_error(L);
    if (L.op == CO_PROD) {
        double re = L.acc_re * c.value_re - L.acc_im * c.value_im;
        double im = L.acc_re * c.value_im + L.acc_im * c.value_re;
        L.acc_re = re;
        L.acc_im = im;
    } else {
        L.acc_re += c.value_re;
        L.acc_im += c.value_im;
    }
    if (!std::isfinite(L.acc_re) || !std::isfinite(L.acc_im))
        return fail(L, ERR_OVERFLOW, "Result is not finite", L.op == CO_PROD ? "Product" : "Summation");
    if (++L.index >= L.count) return finish(L, L.acc_re, L.acc_im);
    return again_at(L, L.start + static_cast<double>(L.index) * L.step);
}

ListValue g_sequence;

VarStepResult step_sequence(Level& L, const VarStepCall& c, bool first) {
    if (first) {
        L.start = c.params[2].re;
        double end = c.params[3].re;
        L.step = c.params[4].re;
        if (!std::isfinite(L.start) || !std::isfinite(end) || !std::isfinite(L.step) ||
            L.step == 0.0)
            return fail(L, ERR_DOMAIN, "Step must be finite and not 0", "eval_list_sequence");
        L.count = term_count(L.start, end, L.step);
        if (L.count < 0 || L.count > LIST_MAX)
            return fail(L, ERR_LIST_SIZE, "list is too big", "eval_list_sequence");
        g_sequence.last = -1;
        g_sequence.defined = false;
        L.index = 0;
        if (L.count == 0) {
            release(L);
            TempRegister reg{};
            store_list_result(g_sequence, reg);
            if (reg.ref >= 0) g_list_temps[reg.ref].defined = false;
            return VarStepResult{false, 0.0, 0.0, RK_LIST, reg.ref};
        }
        return again_at(L, L.start);
    }
    if (c.sample_failed) return fail_with_sample_error(L);
    g_sequence.last += 1;
    g_sequence.re[g_sequence.last] = c.value_re;
    g_sequence.im[g_sequence.last] = 0.0;
    if (++L.index < L.count) return again_at(L, L.start + static_cast<double>(L.index) * L.step);
    release(L);
    TempRegister reg{};
    store_list_result(g_sequence, reg);
    if (error_pending()) return VarStepResult{false, 0.0, 0.0, RK_SCALAR, 0};
    return VarStepResult{false, 0.0, 0.0, RK_LIST, reg.ref};
}

// --- fnDeriv: Ridders' extrapolation of central differences ---------------------------

constexpr double kRiddersShrink = 1.4;
constexpr double kRiddersFactor = kRiddersShrink * kRiddersShrink;
constexpr double kRiddersSafe = 2.0;

// An estimate is trusted only when its error is small against the answer;
// on a coarse tableau a lucky agreement of two poor entries must not end
// the search.
bool ridders_trusted(double ans, double err) {
    return err <= 1e-7 * std::fmax(std::fabs(ans), 1.0);
}

VarStepResult step_deriv(Level& L, const VarStepCall& c, bool first) {
    if (first) {
        L.x0 = L.op == CO_PLOT_DERIV ? memory_get(L.variable, 0) : c.params[2].re;
        if (!std::isfinite(L.x0)) return fail(L, ERR_DOMAIN, "Point must be finite", "dfridr");
        // A fixed first step would vanish in the rounding of a large point.
        L.h = 0.01 * std::fmax(1.0, std::fabs(L.x0));
        L.index = 0;
        L.best = 0.0;
        L.best_err = 1e301;
        L.phase = 0;
        return again_at(L, L.x0 + L.h);
    }
    if (c.sample_failed || !std::isfinite(c.value_re)) {
        if (c.sample_failed) return fail_with_sample_error(L);
        return fail(L, ERR_DOMAIN, "Derivative not defined", "dfridr");
    }
    if (L.phase == 0) {
        L.f_plus = c.value_re;
        L.phase = 1;
        return again_at(L, L.x0 - L.h);
    }
    // The step actually taken is the distance between the points as stored.
    double span = (L.x0 + L.h) - (L.x0 - L.h);
    int i = static_cast<int>(L.index);
    double (&a)[kRiddersColumns][kRiddersColumns] = L.tableau;
    a[0][i] = (L.f_plus - c.value_re) / span;
    bool stop = false;
    if (i == 0) {
        L.best = a[0][0];
    } else {
        double fac = kRiddersFactor;
        for (int j = 1; j <= i; ++j) {
            a[j][i] = (a[j - 1][i] * fac - a[j - 1][i - 1]) / (fac - 1.0);
            fac *= kRiddersFactor;
            double errt = std::fmax(std::fabs(a[j][i] - a[j - 1][i]),
                                    std::fabs(a[j][i] - a[j - 1][i - 1]));
            if (errt <= L.best_err) {
                L.best_err = errt;
                L.best = a[j][i];
            }
        }
        if (std::fabs(a[i][i] - a[i - 1][i - 1]) >= kRiddersSafe * L.best_err &&
            ridders_trusted(L.best, L.best_err))
            stop = true;
    }
    if (!stop && i + 1 < kRiddersColumns) {
        L.index = i + 1;
        L.h /= kRiddersShrink;
        L.phase = 0;
        return again_at(L, L.x0 + L.h);
    }
    if (!stop && !ridders_trusted(L.best, L.best_err))
        return fail(L, ERR_DOMAIN, "Derivative did not settle", "dfridr");
    if (!std::isfinite(L.best)) return fail(L, ERR_OVERFLOW, "Result is not finite", "dfridr");
    return finish(L, L.best);
}

// --- fnMin / fnMax: grid scan, then Brent's minimizer ---------------------------------

constexpr long kGridSteps = 2000;
constexpr long kBrentIterations = 2000;
constexpr double kGolden = 0.3819660112501051;

double grid_point(const Level& L, long i) {
    if (i >= kGridSteps) return L.upper;
    return L.lower + static_cast<double>(i) * (L.upper - L.lower) / static_cast<double>(kGridSteps);
}

bool bounds_from(Level& L, const VarStepCall& c) {
    if (L.op >= CO_PLOT_MIN) {
        int type = static_cast<int>(g_hooks.plot_setting(16));
        L.lower = type == 0 ? g_hooks.plot_setting(21) : g_hooks.plot_setting(18);
        L.upper = type == 0 ? g_hooks.plot_setting(20) : g_hooks.plot_setting(17);
    } else {
        L.lower = c.params[2].re;
        L.upper = c.params[3].re;
    }
    if (L.lower > L.upper) {
        double t = L.lower;
        L.lower = L.upper;
        L.upper = t;
    }
    return std::isfinite(L.lower) && std::isfinite(L.upper);
}

// Next point of Brent's minimizer, or false once the bracket has collapsed.
bool brent_min_next(Level& L, double* next) {
    double xm = 0.5 * (L.a + L.b);
    // The tolerance is the spacing of doubles at the point: the search ends
    // when the bracket can shrink no further.
    double tol1 = 2.3e-16 * std::fabs(L.x) + 1e-300;
    double tol2 = 2.0 * tol1;
    if (std::fabs(L.x - xm) <= tol2 - 0.5 * (L.b - L.a)) return false;
    if (++L.iterations > kBrentIterations) return false;
    if (std::fabs(L.e) > tol1) {
        double r = (L.x - L.w) * (L.fx - L.fv);
        double q = (L.x - L.v) * (L.fx - L.fw);
        double p = (L.x - L.v) * q - (L.x - L.w) * r;
        q = 2.0 * (q - r);
        if (q > 0.0) p = -p;
        q = std::fabs(q);
        double etemp = L.e;
        L.e = L.d;
        if (std::fabs(p) >= std::fabs(0.5 * q * etemp) || p <= q * (L.a - L.x) ||
            p >= q * (L.b - L.x)) {
            L.e = L.x >= xm ? L.a - L.x : L.b - L.x;
            L.d = kGolden * L.e;
        } else {
            L.d = p / q;
            double u = L.x + L.d;
            if (u - L.a < tol2 || L.b - u < tol2) L.d = xm - L.x >= 0 ? tol1 : -tol1;
        }
    } else {
        L.e = L.x >= xm ? L.a - L.x : L.b - L.x;
        L.d = kGolden * L.e;
    }
    L.u = std::fabs(L.d) >= tol1 ? L.x + L.d : L.x + (L.d >= 0 ? tol1 : -tol1);
    *next = L.u;
    return true;
}

VarStepResult step_minmax(Level& L, const VarStepCall& c, bool first) {
    if (first) {
        if (!bounds_from(L, c)) return fail(L, ERR_DOMAIN, "Bounds must be finite", "fnMin");
        L.sign = (L.op == CO_FNMAX || L.op == CO_PLOT_MAX) ? -1.0 : 1.0;
        L.index = 0;
        L.phase = 0;
        L.have_best = false;
        return again_at(L, grid_point(L, 0));
    }
    bool ok = !c.sample_failed && std::isfinite(c.value_re);
    double f = ok ? L.sign * c.value_re : 0.0;
    if (L.phase == 0) {
        // Undefined points are skipped: they are no candidates.
        if (ok && (!L.have_best || f < L.fx)) {
            L.have_best = true;
            L.fx = f;
            L.best = L.x;
        }
        if (++L.index <= kGridSteps) return again_at(L, grid_point(L, L.index));
        if (!L.have_best) return fail(L, ERR_DOMAIN, "No defined point", "fnMin");
        L.phase = 1;
        L.a = L.lower;
        L.b = L.upper;
        L.x = L.w = L.v = L.best;
        L.fw = L.fv = L.fx;
        L.d = L.e = 0.0;
        L.iterations = 0;
    } else {
        double fu = ok ? f : HUGE_VAL;
        double u = L.u;
        if (fu <= L.fx) {
            if (u >= L.x) L.a = L.x;
            else L.b = L.x;
            L.v = L.w;
            L.fv = L.fw;
            L.w = L.x;
            L.fw = L.fx;
            L.x = u;
            L.fx = fu;
        } else {
            if (u < L.x) L.a = u;
            else L.b = u;
            if (fu <= L.fw || L.w == L.x) {
                L.v = L.w;
                L.fv = L.fw;
                L.w = u;
                L.fw = fu;
            } else if (fu <= L.fv || L.v == L.x || L.v == L.w) {
                L.v = u;
                L.fv = fu;
            }
        }
    }
    double next;
    if (brent_min_next(L, &next)) {
        double keep = L.x;
        VarStepResult r = again_at(L, next);
        L.x = keep;   // the point asked for is L.u; L.x stays the best abscissa
        return r;
    }
    return finish(L, snap(L.x));
}

// --- fnRoot: scan for a sign change, then Brent's root method -------------------------

VarStepResult no_root(Level& L) { return fail(L, ERR_NO_ROOT, "No Root Found", "zbrent"); }

bool sign_differs(double reference, double f) {
    return !((reference > 0.0 && f > 0.0) || (reference < 0.0 && f < 0.0));
}

// Advances Brent's root method by one point; false when it has converged.
bool brent_root_next(Level& L, double* next) {
    if ((L.fb > 0.0 && L.fc > 0.0) || (L.fb < 0.0 && L.fc < 0.0)) {
        L.c = L.a;
        L.fc = L.fa;
        L.e = L.d = L.b - L.a;
    }
    if (std::fabs(L.fc) < std::fabs(L.fb)) {
        L.a = L.b;
        L.b = L.c;
        L.c = L.a;
        L.fa = L.fb;
        L.fb = L.fc;
        L.fc = L.fa;
    }
    double tol1 = 2e-15 * std::fabs(L.b) + 5e-14;
    double xm = 0.5 * (L.c - L.b);
    if (std::fabs(xm) <= tol1 || L.fb == 0.0) return false;
    if (std::fabs(L.e) >= tol1 && std::fabs(L.fa) > std::fabs(L.fb)) {
        double s = L.fb / L.fa, p, q;
        if (L.a == L.c) {
            p = 2.0 * xm * s;
            q = 1.0 - s;
        } else {
            double qq = L.fa / L.fc, r = L.fb / L.fc;
            p = s * (2.0 * xm * qq * (qq - r) - (L.b - L.a) * (r - 1.0));
            q = (qq - 1.0) * (r - 1.0) * (s - 1.0);
        }
        if (p > 0.0) q = -q;
        p = std::fabs(p);
        double min1 = 3.0 * xm * q - std::fabs(tol1 * q);
        double min2 = std::fabs(L.e * q);
        if (2.0 * p < (min1 < min2 ? min1 : min2)) {
            L.e = L.d;
            L.d = p / q;
        } else {
            L.d = xm;
            L.e = L.d;
        }
    } else {
        L.d = xm;
        L.e = L.d;
    }
    L.a = L.b;
    L.fa = L.fb;
    L.b += std::fabs(L.d) > tol1 ? L.d : (xm >= 0 ? tol1 : -tol1);
    *next = L.b;
    return true;
}

// A bracket that held a break or a pole instead of a root ends fnRoot, but
// the plot form searches a whole window in which a plotted function may be
// broken (1/x, tan): it takes the bracket's right end as the new reference
// and scans on from there.
VarStepResult bracket_failed(Level& L) {
    if (L.op != CO_PLOT_ROOT) return no_root(L);
    L.phase = 0;
    L.have_ref = false;
    return again_at(L, grid_point(L, L.index));
}

VarStepResult step_root(Level& L, const VarStepCall& c, bool first) {
    if (first) {
        if (!bounds_from(L, c)) return fail(L, ERR_DOMAIN, "Bounds must be finite", "zbrent");
        L.index = 0;
        L.phase = 0;
        L.have_ref = false;
        return again_at(L, grid_point(L, 0));
    }
    bool ok = !c.sample_failed && std::isfinite(c.value_re);
    double f = c.value_re;
    if (L.phase == 0) {
        if (ok) {
            if (f == 0.0) return finish(L, snap(L.x));
            if (L.have_ref && sign_differs(L.ref_f, f)) {
                L.phase = 1;
                L.a = L.prev_x;
                L.fa = L.prev_f;
                L.b = L.x;
                L.fb = f;
                L.c = L.b;
                L.fc = L.fb;
                L.d = L.e = L.b - L.a;
                L.bracket_fa = std::fabs(L.fa);
                L.bracket_fb = std::fabs(L.fb);
                L.iterations = 0;
            } else {
                if (!L.have_ref) L.ref_f = f;
                L.have_ref = true;
                L.prev_x = L.x;
                L.prev_f = f;
            }
        }
        if (L.phase == 0) {
            if (++L.index <= kGridSteps) return again_at(L, grid_point(L, L.index));
            return no_root(L);
        }
    } else {
        // A point the expression cannot be evaluated at inside the bracket
        // means the sign change is a break, not a root.
        if (!ok) return bracket_failed(L);
        L.fb = f;
        if (++L.iterations > kGridSteps) return bracket_failed(L);
    }
    double next;
    if (brent_root_next(L, &next)) return again_at(L, next);
    // A sign change across a pole converges onto the pole: there the value
    // grows instead of vanishing.
    if (std::fabs(L.fb) > std::fmax(L.bracket_fa, L.bracket_fb)) return bracket_failed(L);
    return finish(L, snap(L.b));
}

// --- fnInt: adaptive 61-point Gauss-Kronrod (QAG) -------------------------------------

constexpr int kMaxIntervals = 200;

struct Interval {
    double a, b, result, error, resabs;
};

struct RuleResult {
    double result, abserr, resabs, resasc;
};

struct Integrator {
    Interval list[kMaxIntervals];
    int count;
    double fv[61];
    int node;                 // next node of the interval being evaluated
    int failed_nodes;
    double ca, cb;            // interval being evaluated
    int stage;                // 0 whole, 1 left half, 2 right half
    RuleResult whole, left;
    int current;              // interval being bisected
    double epsrel;
    int limit;
    double sign;
    double area, errsum;
    int iteration, roundoff1, roundoff2;
} g_int;

double node_point(int k) {
    double center = 0.5 * (g_int.ca + g_int.cb);
    double half = 0.5 * (g_int.cb - g_int.ca);
    if (k == 0) return center;
    if (k <= 30) return center - half * kXgk[k - 1];
    return center + half * kXgk[k - 31];
}

RuleResult apply_rule() {
    const double center_value = g_int.fv[0];
    const double* minus = g_int.fv + 1;   // f(center - half * xgk[j])
    const double* plus = g_int.fv + 31;   // f(center + half * xgk[j])
    const double half = 0.5 * (g_int.cb - g_int.ca);
    const double abs_half = std::fabs(half);
    double resk = center_value * kWgk[30];
    double resg = 0.0;
    double resabs = std::fabs(resk);
    for (int j = 0; j < 15; ++j) {
        int jtw = 2 * j + 1;
        double sum = minus[jtw] + plus[jtw];
        resg += kWg[j] * sum;
        resk += kWgk[jtw] * sum;
        resabs += kWgk[jtw] * (std::fabs(minus[jtw]) + std::fabs(plus[jtw]));
    }
    for (int j = 0; j < 15; ++j) {
        int jtwm1 = 2 * j;
        double sum = minus[jtwm1] + plus[jtwm1];
        resk += kWgk[jtwm1] * sum;
        resabs += kWgk[jtwm1] * (std::fabs(minus[jtwm1]) + std::fabs(plus[jtwm1]));
    }
    double mean = resk * 0.5;
    double resasc = kWgk[30] * std::fabs(center_value - mean);
    for (int j = 0; j < 30; ++j)
        resasc += kWgk[j] * (std::fabs(minus[j] - mean) + std::fabs(plus[j] - mean));
    RuleResult r;
    r.result = resk * half;
    r.resabs = resabs * abs_half;
    r.resasc = resasc * abs_half;
    double err = std::fabs((resk - resg) * half);
    if (r.resasc != 0.0 && err != 0.0) {
        double scale = std::pow(200.0 * err / r.resasc, 1.5);
        err = scale < 1.0 ? r.resasc * scale : r.resasc;
    }
    if (r.resabs > kUflow / (50.0 * kEpmach)) {
        double min_err = 50.0 * kEpmach * r.resabs;
        if (min_err > err) err = min_err;
    }
    r.abserr = err;
    return r;
}

double total_resabs() {
    double s = 0.0;
    for (int k = 0; k < g_int.count; ++k) s += g_int.list[k].resabs;
    return s;
}

// The tolerance asked for, but never below what the rounding of the sum of
// |f| allows: an integral that cancels to about 0 is as accurate as it can
// be once its error reaches that level.
double tolerance_for(double area) {
    return std::fmax(g_int.epsrel * std::fabs(area), 50.0 * kEpmach * total_resabs());
}

int largest_error() {
    int k = 0;
    for (int j = 1; j < g_int.count; ++j)
        if (g_int.list[j].error > g_int.list[k].error) k = j;
    return k;
}

char g_int_message[TEXT_SIZE];

VarStepResult int_fail(Level& L, const char* why) {
    std::snprintf(g_int_message, sizeof g_int_message, "fnInt: %s after %d subintervals", why,
                  g_int.count);
    return fail(L, ERR_DOMAIN, g_int_message, "fnInt");
}

VarStepResult int_finish(Level& L) {
    double sum = 0.0;
    for (int k = 0; k < g_int.count; ++k) sum += g_int.list[k].result;
    double err = g_int.errsum;
    // Cancellation down to the rounding of the integrand is a zero integral.
    if (std::fabs(sum) <= 100.0 * kEpmach * total_resabs()) sum = 0.0;
    g_last_integration_error = err;
    return finish(L, g_int.sign * sum);
}

VarStepResult begin_interval(Level& L, double a, double b, int stage) {
    g_int.ca = a;
    g_int.cb = b;
    g_int.stage = stage;
    g_int.node = 0;
    g_int.failed_nodes = 0;
    return again_at(L, node_point(0));
}

VarStepResult bisect_next(Level& L) {
    g_int.current = largest_error();
    const Interval& it = g_int.list[g_int.current];
    return begin_interval(L, it.a, 0.5 * (it.a + it.b), 1);
}

VarStepResult step_integral(Level& L, const VarStepCall& c, bool first) {
    if (first) {
        double a = c.params[2].re, b = c.params[3].re;
        if (!std::isfinite(a) || !std::isfinite(b))
            return fail(L, ERR_DOMAIN, "Bounds must be finite", "fnInt");
        double tol = c.param_count > 4 ? std::fabs(c.params[4].re) : 0.0;
        if (!(tol >= 1e-9)) tol = 1e-9;
        if (c.plot_context && tol < 0.002) tol = 0.002;
        g_int.epsrel = tol;
        g_int.limit = c.plot_context ? 100 : kMaxIntervals;
        g_int.sign = 1.0;
        if (a > b) {
            double t = a;
            a = b;
            b = t;
            g_int.sign = -1.0;
        }
        g_int.count = 0;
        if (a == b) {
            g_last_integration_error = 0.0;
            return finish(L, 0.0);
        }
        return begin_interval(L, a, b, 0);
    }
    if (c.sample_failed || !std::isfinite(c.value_re)) {
        // One undefined node (a removable singularity) is left out of the
        // sum; an integrand undefined at several nodes is an error.
        if (++g_int.failed_nodes > 1) {
            if (c.sample_failed) return fail_with_sample_error(L);
            return int_fail(L, "integrand not finite");
        }
        g_int.fv[g_int.node] = 0.0;
    } else {
        g_int.fv[g_int.node] = c.value_re;
    }
    if (++g_int.node < 61) return again_at(L, node_point(g_int.node));

    RuleResult r = apply_rule();
    if (g_int.stage == 0) {
        g_int.list[0] = Interval{g_int.ca, g_int.cb, r.result, r.abserr, r.resabs};
        g_int.count = 1;
        g_int.area = r.result;
        g_int.errsum = r.abserr;
        double tolerance = tolerance_for(r.result);
        if ((r.abserr <= tolerance && r.abserr != r.resasc) || r.abserr == 0.0)
            return int_finish(L);
        double round_off = 50.0 * kEpmach * r.resabs;
        if (r.abserr <= round_off && r.abserr > tolerance)
            return int_fail(L, "roundoff detected");
        if (g_int.limit == 1) return int_fail(L, "limit reached");
        g_int.iteration = 1;
        g_int.roundoff1 = g_int.roundoff2 = 0;
        return bisect_next(L);
    }
    if (g_int.stage == 1) {
        g_int.left = r;
        const Interval& it = g_int.list[g_int.current];
        return begin_interval(L, 0.5 * (it.a + it.b), it.b, 2);
    }
    // Both halves known: replace the interval by its halves.
    const RuleResult& r1 = g_int.left;
    const RuleResult& r2 = r;
    Interval old = g_int.list[g_int.current];
    double a1 = old.a, b1 = 0.5 * (old.a + old.b), a2 = b1, b2 = old.b;
    double area12 = r1.result + r2.result;
    double error12 = r1.abserr + r2.abserr;
    g_int.errsum += error12 - old.error;
    g_int.area += area12 - old.result;
    if (r1.resasc != r1.abserr && r2.resasc != r2.abserr) {
        double delta = old.result - area12;
        if (std::fabs(delta) <= 1e-5 * std::fabs(area12) && error12 >= 0.99 * old.error)
            ++g_int.roundoff1;
        if (g_int.iteration >= 10 && error12 > old.error) ++g_int.roundoff2;
    }
    g_int.list[g_int.current] = Interval{a1, b1, r1.result, r1.abserr, r1.resabs};
    g_int.list[g_int.count++] = Interval{a2, b2, r2.result, r2.abserr, r2.resabs};
    double tolerance = tolerance_for(g_int.area);
    const char* failure = nullptr;
    if (g_int.errsum > tolerance) {
        if (g_int.roundoff1 >= 6 || g_int.roundoff2 >= 20) failure = "roundoff detected";
        double tmp = (1.0 + 100.0 * kEpmach) * (std::fabs(a2) + 1000.0 * kUflow);
        if (std::fabs(a1) <= tmp && std::fabs(b2) <= tmp) failure = "bad integrand behaviour";
    }
    ++g_int.iteration;
    if (failure) return int_fail(L, failure);
    if (g_int.errsum <= tolerance) return int_finish(L);
    if (g_int.iteration >= g_int.limit) return int_fail(L, "limit reached");
    return bisect_next(L);
}

// --- dispatch -------------------------------------------------------------------------

int plot_variable() {
    int type = static_cast<int>(g_hooks.plot_setting(16));
    return type == 1 ? MEM_THETA : type == 2 ? MEM_T : MEM_X;
}

VarStepResult dispatch(Level& L, const VarStepCall& c, bool first) {
    switch (L.op) {
        case CO_FNINT: return step_integral(L, c, first);
        case CO_FNDERIV: case CO_PLOT_DERIV: return step_deriv(L, c, first);
        case CO_FNMIN: case CO_FNMAX: case CO_PLOT_MIN: case CO_PLOT_MAX:
            return step_minmax(L, c, first);
        case CO_FNROOT: case CO_PLOT_ROOT: return step_root(L, c, first);
        case CO_FNEVAL: return step_eval(L, c, first);
        case CO_SUMM: case CO_PROD: return step_sum_product(L, c, first);
        case CO_SEQ: return step_sequence(L, c, first);
        default: return fail(L, ERR_UNEXPECTED, "Operator not supported", "var_function");
    }
}

VarStepResult step_guarded(const VarStepCall& c) {
    int level = c.recursion_index < 0 ? 0 : c.recursion_index >= kLevels ? kLevels - 1
                                                                           : c.recursion_index;
    Level& L = g_levels[level];
    if (c.first_call) {
        // The value handed with the first call belongs to the variable's old
        // value and is never used.
        L.op = c.op_id;
        L.owns_variable = false;
        L.variable = c.op_id >= CO_PLOT_MIN ? plot_variable() : c.variable;
        if (L.variable < 0) {
            raise_error(ERR_ARG_TYPE, "Argument type not correct", "var_function");
            return VarStepResult{false, 0.0, 0.0, RK_SCALAR, 0};
        }
        if (L.op == CO_FNINT) {
            if (g_fnint_active) {
                raise_error(ERR_NEST_FNINT, "fnInt function can't be nested", "fnInt");
                return VarStepResult{false, 0.0, 0.0, RK_SCALAR, 0};
            }
        }
        if (!push_variable(L.variable)) return VarStepResult{false, 0.0, 0.0, RK_SCALAR, 0};
        L.owns_variable = true;
        if (L.op == CO_FNINT) g_fnint_active = true;
        return dispatch(L, c, true);
    }
    ++g_samples;
    return dispatch(L, c, false);
}

}  // namespace

VarStepResult calculus_step(const VarStepCall& call) {
    // The methods compare against NaN and may overflow in their own working
    // values; none of that is a fault of the user's expression, so the
    // evaluator's IEEE flags are left as they were.
#if defined(__SSE2__)
    // Doubles live in the SSE unit: its status word holds every flag this
    // code can raise, and reading it is far cheaper than the full fenv calls
    // (this runs once per expression value).
    constexpr unsigned kFlags = 0x3f;
    unsigned before = _mm_getcsr();
    VarStepResult r = step_guarded(call);
    unsigned after = _mm_getcsr();
    if ((after & kFlags) != (before & kFlags)) _mm_setcsr((after & ~kFlags) | (before & kFlags));
    return r;
#else
    std::fexcept_t saved;
    std::fegetexceptflag(&saved, FE_ALL_EXCEPT);
    VarStepResult r = step_guarded(call);
    std::fesetexceptflag(&saved, FE_ALL_EXCEPT);
    return r;
#endif
}

void calculus_abandon() {
    while (g_saved_count > 0) pop_variable();
    for (Level& L : g_levels) L.owns_variable = false;
    g_fnint_active = false;
}

void install_calculus_hooks() {
    g_hooks.var_function_step = calculus_step;
    g_hooks.var_functions_abandoned = calculus_abandon;
}

int calculus_variable_depth() { return g_saved_count; }
bool calculus_fnint_active() { return g_fnint_active; }
long calculus_sample_count() { return g_samples; }
void calculus_reset_sample_count() { g_samples = 0; }

}  // namespace qx
