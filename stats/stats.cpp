#include "stats/stats.h"

#include <cmath>
#include <cstdio>
#include <cstring>

#include "engine/errors.h"
#include "engine/evaluator.h"
#include "engine/hooks.h"
#include "engine/memory.h"
#include "engine/scalar.h"
#include "engine/settings.h"
#include "matrix/store.h"

namespace qx {

int g_histogram_bin_choice = STATS_DEFAULT_BIN_CHOICE;
int g_stats_plot_choice = -1;

namespace {

StatsData g_data{{}, {}, 0, true};

constexpr const char* kLookup = "claculate_stat";
constexpr const char* kAccess = "stats_get_put";

// Every change of the set moves the version on, which is what the caches
// below are keyed on.
unsigned g_version = 1;
void changed() { ++g_version; }

bool two_variable() { return g_settings.stats_var == 1; }

const char* fault_text(int code) {
    if (code == ERR_NO_DATA) return "No data defined";
    if (code == ERR_NO_Y_DATA) return "No y data defined";
    return fp_fault_text(code);
}

// --- the raw quantities, computed once per version ---------------------------------

// The mean with the rounding of Σv/n taken back out, so that equal values
// have themselves as their mean and deviations from it are exactly zero.
double refined_mean(const double* v, int n, double sum) {
    const double m = sum / n;
    double residual = 0.0;
    for (int i = 0; i < n; ++i) residual += v[i] - m;
    return m + residual / n;
}

// Σ(a - ma)(b - mb): deviations from the means rather than Σab - ΣaΣb/n,
// which loses every digit to cancellation on data such as
// 100000001..100000003.
double centred_product(const double* a, double ma, const double* b, double mb, int n) {
    double s = 0.0;
    for (int i = 0; i < n; ++i) s += (a[i] - ma) * (b[i] - mb);
    return s;
}

struct RawSummary {
    unsigned version = 0;
    int count = 0;
    double sum_x, sum_y, sum_xy, sum2_x, sum2_y;
    double centred_xx, centred_yy;   // Σ(x - x̄)², Σ(y - ȳ)²
    double xmin, xmax, ymin, ymax;
    int fault;                       // IEEE fault of the sums, or -1
};
RawSummary g_raw;

const RawSummary& raw_summary() {
    const StatsData& d = g_data;
    if (g_raw.version == g_version) return g_raw;
    FpFaultScope scope;
    RawSummary r{};
    r.version = g_version;
    r.count = d.count;
    const int n = d.count;
    if (n > 0) {
        r.xmin = r.xmax = d.x[0];
        r.ymin = r.ymax = d.y[0];
    }
    for (int i = 0; i < n; ++i) {
        const double x = d.x[i], y = d.y[i];
        r.sum_x += x;
        r.sum_y += y;
        r.sum_xy += x * y;
        r.sum2_x += x * x;
        r.sum2_y += y * y;
        if (x < r.xmin) r.xmin = x;
        if (x > r.xmax) r.xmax = x;
        if (y < r.ymin) r.ymin = y;
        if (y > r.ymax) r.ymax = y;
    }
    if (n > 0) {
        const double mx = refined_mean(d.x, n, r.sum_x), my = refined_mean(d.y, n, r.sum_y);
        r.centred_xx = r.xmin == r.xmax ? 0.0 : centred_product(d.x, mx, d.x, mx, n);
        r.centred_yy = r.ymin == r.ymax ? 0.0 : centred_product(d.y, my, d.y, my, n);
    }
    r.fault = fp_fault_code();
    g_raw = r;
    return g_raw;
}

// --- regressions -------------------------------------------------------------------------

struct FitCache {
    unsigned version = 0;
    int kind = -1;
    RegressionFit fit;
};
FitCache g_fit_cache;

bool transforms_x(int kind) { return kind == REGRESS_LOG || kind == REGRESS_POWER; }
bool transforms_y(int kind) { return kind == REGRESS_EXP || kind == REGRESS_POWER; }

RegressionFit compute_fit(int kind) {
    RegressionFit f;
    const StatsData& d = g_data;
    const int n = d.count;
    if (n == 0) {
        f.error = f.r_error = ERR_NO_DATA;
        return f;
    }
    FpFaultScope scope;
    // The transformed values are kept so that each logarithm is taken once.
    static double tx[STATS_MAX_POINTS], ty[STATS_MAX_POINTS];
    const bool lx = transforms_x(kind), ly = transforms_y(kind);
    double sx = 0, sy = 0;
    bool equal_x = true, equal_y = true;
    for (int i = 0; i < n; ++i) {
        const double x = d.x[i], y = d.y[i];
        if ((lx && !(x > 0.0)) || (ly && !(y > 0.0))) {
            f.error = f.r_error = ERR_DOMAIN;
            return f;
        }
        tx[i] = lx ? std::log(x) : x;
        ty[i] = ly ? std::log(y) : y;
        sx += tx[i];
        sy += ty[i];
        equal_x = equal_x && tx[i] == tx[0];
        equal_y = equal_y && ty[i] == ty[0];
    }
    const double mx = refined_mean(tx, n, sx), my = refined_mean(ty, n, sy);
    const double sxx = equal_x ? 0.0 : centred_product(tx, mx, tx, mx, n);
    const double syy = equal_y ? 0.0 : centred_product(ty, my, ty, my, n);
    const double sxy = equal_x || equal_y ? 0.0 : centred_product(tx, mx, ty, my, n);
    int fault = fp_fault_code();
    if (fault < 0 && sxx == 0.0) fault = ERR_DIV_ZERO;
    if (fault >= 0) {
        f.error = f.r_error = fault;
        return f;
    }
    f.a = sxy / sxx;
    const double intercept = my - mx * f.a;
    f.b = (kind == REGRESS_EXP || kind == REGRESS_POWER) ? std::exp(intercept) : intercept;
    fault = fp_fault_code();
    if (fault >= 0) {
        f.a = f.b = 0;
        f.error = f.r_error = fault;
        return f;
    }
    if (syy == 0.0) {
        f.r_error = ERR_DIV_ZERO;
    } else {
        // The square roots apart: Sxx·Syy may overflow where r does not.
        f.r = sxy / (std::sqrt(sxx) * std::sqrt(syy));
        fault = fp_fault_code();
        if (fault >= 0) {
            f.r = 0;
            f.r_error = fault;
        } else if (f.r > 1.0) {
            f.r = 1.0;   // rounding can carry a perfect fit just past 1
        } else if (f.r < -1.0) {
            f.r = -1.0;
        }
    }
    return f;
}

// Raises the error of a failed lookup; always returns 0 for the caller.
double raise_stat(int code, const char* function = kLookup) {
    raise_error(code, fault_text(code), function);
    return 0.0;
}

bool needs_y(int index) {
    return (index >= 0 && index <= 2) || (index >= 8 && index <= 12) ||
           (index >= 15 && index <= 19);
}

// The checks every lookup and estimate make first; false after raising.
bool data_ready(bool y_needed) {
    int code = -1;
    if (g_data.count == 0) code = ERR_NO_DATA;
    else if (y_needed && !two_variable()) code = ERR_NO_Y_DATA;
    if (code < 0) return true;
    raise_stat(code);
    return false;
}

double divided(double num, double den) {
    if (den == 0.0) return raise_stat(ERR_DIV_ZERO);
    FpFaultScope scope;
    const double q = num / den;
    const int fault = fp_fault_code();
    return fault >= 0 ? raise_stat(fault) : q;
}

void append(double v) {
    StatsData& d = g_data;
    if (two_variable() && d.next_is_x) {
        d.x[d.count] = v;
        d.next_is_x = false;
    } else if (two_variable()) {
        d.y[d.count++] = v;
        d.next_is_x = true;
    } else {
        d.x[d.count++] = v;
        d.next_is_x = true;
    }
    changed();
}

bool full() {
    if (g_data.count < STATS_MAX_POINTS) return false;
    message_box("Reached statistics data limit", "Limit", MB_STYLE_OK);
    return true;
}

void column_from_list(int column, const ListValue& list) {
    const int n = list.size();
    if (n < 0 || n > LIST_STORAGE) return;
    for (int k = 0; k < n; ++k) {
        if (list.im[k] != 0.0) {
            raise_error(ERR_DATA_TYPE, "Complex and matrix data can't be added to a stats list",
                        "column_from_list");
            return;
        }
    }
    set_stat_column(column, list.re, n);
}

}  // namespace

const StatsData& stats_data() { return g_data; }

// --- changing the set --------------------------------------------------------------------

AddOutcome add_stat_point(double re, double im, bool object_result) {
    if (error_pending()) return AddOutcome::Ignored;
    if (full()) return AddOutcome::Full;
    if (im != 0.0 || object_result || !std::isfinite(re)) {
        message_box("Only real numbers can be inserted as statistics data.", "Stats Error",
                    MB_STYLE_OK);
        return AddOutcome::NotReal;
    }
    append(re);
    return AddOutcome::Added;
}

void add_stat_entry_from_program(double value) {
    if (error_pending()) return;
    if (full()) {
        raise_error(ERR_MEMORY, "Reached stats limit", "add_stat_entry_from_program");
        return;
    }
    if (!std::isfinite(value)) {
        raise_error(ERR_DOMAIN, "NAN", "add_stat_entry_from_program");
        return;
    }
    append(value);
}

void delete_last_stat_point() {
    StatsData& d = g_data;
    if (!d.next_is_x) {
        // Only the x of the point being entered goes; the whole point
        // before it stays.
        d.next_is_x = true;
        changed();
        return;
    }
    if (d.count > 0) {
        --d.count;
        changed();
    }
}

bool delete_stat_point(int k) {
    StatsData& d = g_data;
    if (k < 0 || k >= d.count) return false;
    const int after = d.count - 1 - k;
    std::memmove(d.x + k, d.x + k + 1, sizeof(double) * after);
    std::memmove(d.y + k, d.y + k + 1, sizeof(double) * after);
    --d.count;
    d.next_is_x = true;
    changed();
    return true;
}

void clear_stat_data() {
    g_data = StatsData{{}, {}, 0, true};
    changed();
}

void stats_kind_changed() {
    if (!g_data.next_is_x) {
        g_data.next_is_x = true;
        changed();
    }
}

void set_stat_column(int column, const double* values, int size) {
    if (size < 0) size = 0;
    if (size > STATS_MAX_POINTS) size = STATS_MAX_POINTS;
    double* target = column == 0 ? g_data.x : g_data.y;
    for (int k = 0; k < size; ++k) target[k] = values[k];
    g_data.count = size;
    g_data.next_is_x = true;
    changed();
}

bool load_stat_data(const double* x, const double* y, int count) {
    if (count < 0 || count > STATS_MAX_POINTS) return false;
    for (int k = 0; k < count; ++k)
        if (!std::isfinite(x[k]) || !std::isfinite(y[k])) return false;
    clear_stat_data();
    std::memcpy(g_data.x, x, sizeof(double) * count);
    std::memcpy(g_data.y, y, sizeof(double) * count);
    g_data.count = count;
    changed();
    return true;
}

void reset_stats() {
    clear_stat_data();
    g_histogram_bin_choice = STATS_DEFAULT_BIN_CHOICE;
    g_stats_plot_choice = -1;
}

bool stats_get_put(StatsAccess what, double index) {
    // NaN fails both comparisons.
    if (!(index >= 1.0 && index < STATS_MAX_POINTS + 1.0)) {
        message_box("Index out of range", "Error", MB_STYLE_OK);
        raise_error(ERR_CODE, "Stats index out of range", kAccess);
        return false;
    }
    const int i = static_cast<int>(index) - 1;
    double* column = (what == STATS_GET_X || what == STATS_PUT_X) ? g_data.x : g_data.y;
    if (what == STATS_GET_X || what == STATS_GET_Y) {
        g_ans = MemorySlot{column[i], 0.0};
        g_last_result_kind = RK_SCALAR;
        return true;
    }
    if (g_ans.im != 0.0 || g_last_result_kind != RK_SCALAR) {
        raise_error(ERR_DATA_TYPE, "Complex and matrix data can't be added to a stats list",
                    kAccess);
        return false;
    }
    column[i] = g_ans.re;
    changed();
    return true;
}

// --- quantities and models ------------------------------------------------------------------

RegressionFit fit_regression(int kind) {
    if (kind < REGRESS_LINEAR || kind > REGRESS_POWER) kind = REGRESS_LINEAR;
    if (g_fit_cache.version != g_version || g_fit_cache.kind != kind) {
        g_fit_cache.fit = compute_fit(kind);
        g_fit_cache.version = g_version;
        g_fit_cache.kind = kind;
    }
    return g_fit_cache.fit;
}

double claculate_stat(int index) {
    if (index < 0 || index >= STATS_QUANTITY_COUNT) {
        raise_error(ERR_UNEXPECTED, "Stats index not defined", kLookup);
        return 0.0;
    }
    if (index == STAT_COUNT) return g_data.count;
    if (!data_ready(needs_y(index))) return 0.0;
    const RawSummary& r = raw_summary();
    const double n = r.count;
    const bool sample_deviation = index == STAT_STD_DEV1_X || index == STAT_STD_DEV1_Y;
    if (sample_deviation && r.count == 1) return raise_stat(ERR_DIV_ZERO);
    // A fault of the sums spoils every quantity made from them; the
    // extremes are only compared.
    if (r.fault >= 0 && index < STAT_XMIN) return raise_stat(r.fault);
    switch (index) {
        case STAT_SUM_XY: return r.sum_xy;
        case STAT_WEIGHTED_MEAN: return divided(r.sum_xy, r.sum_y);
        case STAT_WEIGHTED_MEAN_Y: return divided(r.sum_xy, r.sum_x);
        case STAT_MEAN_X: return r.sum_x / n;
        case STAT_SUM_X: return r.sum_x;
        case STAT_SUM2_X: return r.sum2_x;
        case STAT_STD_DEV_X: return std::sqrt(r.centred_xx / n);
        case STAT_STD_DEV1_X: return std::sqrt(r.centred_xx / (n - 1));
        case STAT_MEAN_Y: return r.sum_y / n;
        case STAT_SUM_Y: return r.sum_y;
        case STAT_SUM2_Y: return r.sum2_y;
        case STAT_STD_DEV_Y: return std::sqrt(r.centred_yy / n);
        case STAT_STD_DEV1_Y: return std::sqrt(r.centred_yy / (n - 1));
        case STAT_XMIN: return r.xmin;
        case STAT_XMAX: return r.xmax;
        case STAT_YMIN: return r.ymin;
        case STAT_YMAX: return r.ymax;
        default: break;
    }
    const RegressionFit f = fit_regression(g_settings.stats_regress);
    if (index == STAT_CORR_COEF) return f.r_error >= 0 ? raise_stat(f.r_error) : f.r;
    if (f.error >= 0) return raise_stat(f.error);
    return index == STAT_SLOPE ? f.a : f.b;
}

bool regression_model_y(int kind, double a, double b, double x, double& y) {
    FpFaultScope scope;
    switch (kind) {
        case REGRESS_LINEAR: y = b + a * x; break;
        case REGRESS_LOG:
            if (!(x > 0.0)) return false;
            y = b + std::log(x) * a;
            break;
        case REGRESS_EXP: y = b * std::exp(a * x); break;
        case REGRESS_POWER:
            if (x == 0.0 && a < 0.0) return false;
            y = std::pow(x, a) * b;
            break;
        default: return false;
    }
    return std::isfinite(y) && fp_fault_code() < 0;
}

double regression_estimate(int op_id, double value) {
    if (!data_ready(true)) return 0.0;
    const int kind = g_settings.stats_regress;
    const RegressionFit f = fit_regression(kind);
    if (f.error >= 0) return raise_stat(f.error);
    const double a = f.a, b = f.b;
    double result = 0.0;
    FpFaultScope scope;
    if (op_id == OP_REGRESS_Y) {
        if (kind == REGRESS_LOG && !(value > 0.0)) return raise_stat(ERR_DOMAIN);
        switch (kind) {
            case REGRESS_LINEAR: result = b + a * value; break;
            case REGRESS_LOG: result = b + std::log(value) * a; break;
            case REGRESS_EXP: result = b * std::exp(a * value); break;
            default: result = power(value, a) * b; break;
        }
    } else {
        if (a == 0.0) return raise_stat(ERR_DIV_ZERO);
        switch (kind) {
            case REGRESS_LINEAR: result = (value - b) / a; break;
            case REGRESS_LOG: result = std::exp((value - b) / a); break;
            case REGRESS_EXP:
                if (!(value / b > 0.0)) return raise_stat(ERR_DOMAIN);
                result = std::log(value / b) / a;
                break;
            default: result = power(value / b, 1.0 / a); break;
        }
    }
    if (error_pending()) return 0.0;
    const int fault = fp_fault_code();
    if (fault >= 0) return raise_stat(fault);
    if (!std::isfinite(result)) return raise_stat(ERR_DOMAIN);
    return result;
}

const char* regression_equation(int kind) {
    switch (kind) {
        case REGRESS_LOG: return "y=a*(ln x)+b";
        case REGRESS_EXP: return "y=(e^(a*x))*b";
        case REGRESS_POWER: return "y=(x^a)*b";
        default: return "y=(a*x)+b";
    }
}

void stats_title(char* out, std::size_t size) {
    if (!two_variable())
        std::snprintf(out, size, "Quorix (n=%d)", g_data.count);
    else
        std::snprintf(out, size, "Quorix (n=%d, %c)", g_data.count, g_data.next_is_x ? 'x' : 'y');
}

void install_stats_hooks() {
    g_hooks.stat_value = claculate_stat;
    g_hooks.regression_estimate = regression_estimate;
    g_stats_column_hook = column_from_list;
}

// --- what the dialogs draw -------------------------------------------------------------------

int stats_pixel(double v) {
    if (std::isnan(v)) return 0;
    if (v > 1e6) return 1000000;
    if (v < -1e6) return -1000000;
    return static_cast<int>(v);
}

int histogram_bin_of(double d, double width, int bins) {
    if (bins <= 1) return 0;
    const int last = bins - 1;
    if (std::isnan(d) || d < 0.0) return 0;
    // A zero width (identical values) puts everything in the last bin.
    if (!(width > 0.0) || d >= last * width) return last;
    double q = std::floor(d / width);
    int j = q < 0.0 ? 0 : (q > last - 1 ? last - 1 : static_cast<int>(q));
    // The quotient can land one bin off; the products decide.
    if (j > 0 && d < j * width) --j;
    else if (d >= (j + 1) * width) ++j;
    return j;
}

void value_range(const double* values, int count, double& min, double& max) {
    min = max = count > 0 ? values[0] : 0.0;
    for (int i = 1; i < count; ++i) {
        if (values[i] < min) min = values[i];
        if (values[i] > max) max = values[i];
    }
}

HistogramBins histogram_bins(const double* values, int count, int bins) {
    HistogramBins h;
    h.bins = bins < 1 ? 1 : (bins > STATS_HISTOGRAM_MAX_BINS ? STATS_HISTOGRAM_MAX_BINS : bins);
    if (count <= 0) return h;
    value_range(values, count, h.min, h.max);
    FpFaultScope scope;
    h.width = (h.max - h.min) / h.bins;
    for (int i = 0; i < count; ++i) {
        const int j = histogram_bin_of(values[i] - h.min, h.width, h.bins);
        if (++h.counts[j] > h.tallest) h.tallest = h.counts[j];
    }
    return h;
}

ChartPoint line_chart_point(int i, int n, double v, double min, double max, int top, int height) {
    FpFaultScope scope;
    const double s = max == min ? 0.0 : height / (max - min);
    const double c = n <= 1 ? 0.0 : 196.0 / (n - 1);
    double rise = (v - min) * s;
    if (std::isnan(rise)) rise = 0.0;
    return ChartPoint{24 + stats_pixel(i * c), top + stats_pixel(height - rise)};
}

ScatterScale scatter_scale() {
    const RawSummary& r = raw_summary();
    ScatterScale s{r.xmin, r.xmax, r.ymin, r.ymax, 0.0, 0.0};
    FpFaultScope scope;
    if (r.xmax != r.xmin) s.sx = 208.0 / (r.xmax - r.xmin);
    if (r.ymax != r.ymin) s.sy = 172.0 / (r.ymax - r.ymin);
    return s;
}

double scatter_sample_x(const ScatterScale& s, int k) {
    return s.xmin + k * ((s.xmax - s.xmin) / SCATTER_CURVE_STEPS);
}

}  // namespace qx
