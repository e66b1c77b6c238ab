// Statistics: the one data set of up to 999 points, the 21 quantities that
// expressions read, the four least-squares models, and the arithmetic the
// statistics dialogs draw from (histogram bins, chart and scatter geometry).
//
// No platform code here: refusals that are message boxes go through the
// engine's message_box hook, calculation faults through raise_error.
#pragma once
#include <cstddef>

namespace qx {

constexpr int STATS_MAX_POINTS = 999;
constexpr int STATS_QUANTITY_COUNT = 21;
constexpr int STATS_HISTOGRAM_MAX_BINS = 100;
constexpr int STATS_DEFAULT_BIN_CHOICE = 19;   // 20 bins

enum StatQuantity {
    STAT_SUM_XY = 0, STAT_WEIGHTED_MEAN = 1, STAT_WEIGHTED_MEAN_Y = 2, STAT_MEAN_X = 3,
    STAT_SUM_X = 4, STAT_SUM2_X = 5, STAT_STD_DEV_X = 6, STAT_STD_DEV1_X = 7, STAT_MEAN_Y = 8,
    STAT_SUM_Y = 9, STAT_SUM2_Y = 10, STAT_STD_DEV_Y = 11, STAT_STD_DEV1_Y = 12, STAT_XMIN = 13,
    STAT_XMAX = 14, STAT_YMIN = 15, STAT_YMAX = 16, STAT_SLOPE = 17, STAT_INTERCEPT = 18,
    STAT_CORR_COEF = 19, STAT_COUNT = 20,
};

enum RegressionKind { REGRESS_LINEAR = 0, REGRESS_LOG = 1, REGRESS_EXP = 2, REGRESS_POWER = 3 };

struct StatsData {
    double x[STATS_MAX_POINTS];
    double y[STATS_MAX_POINTS];
    int count;
    // Two-variable entry: true when the next value is the x of a new point,
    // false while a point waits for its y (kept in x[count]).
    bool next_is_x;
};
// The set is read here and changed only through the functions below, so
// that the quantities computed from it are cached safely.
const StatsData& stats_data();

// Dialog choices kept with the state: the histogram's bin choice (index
// 0..99 into 1..100 bins) and the last "Select Plot" answer (-1 none,
// 0 line, 1 histogram, 2 scatter).
extern int g_histogram_bin_choice;
extern int g_stats_plot_choice;

// --- the data set -----------------------------------------------------------------

enum class AddOutcome { Added, Ignored, Full, NotReal };
// A result as a point (Σ+; object_result: it was a matrix or a list).
// Does nothing while an error is pending; a full set shows "Reached
// statistics data limit", a complex, matrix or list result "Only real
// numbers can be inserted as statistics data.".
AddOutcome add_stat_point(double re, double im, bool object_result);
// A program's "Enter Stats Data": no realness check; a full set shows the
// limit box and raises "Reached stats limit".
void add_stat_entry_from_program(double value);
// Σ−: a half-entered two-variable point loses only its x; otherwise the
// last whole point goes.
void delete_last_stat_point();
// Point k (0-based); false when k is not a point of the set.
bool delete_stat_point(int k);
void clear_stat_data();
// The statistics kind changed (key, program, loaded state): a half-entered
// point is dropped.
void stats_kind_changed();
// toX / toY: the list's values become the x (column 0) or y (column 1)
// values and the count becomes the list's size (at most 999 are taken).
void set_stat_column(int column, const double* values, int size);
// A whole set from a stored state: false, and nothing changed, when the
// count is outside 0..999 or a value is not finite.
bool load_stat_data(const double* x, const double* y, int count);
// Puts every field back to its start-up value (data, flag, dialog choices).
void reset_stats();

enum StatsAccess { STATS_GET_X, STATS_PUT_X, STATS_GET_Y, STATS_PUT_Y };
// The program statements "Ans = Stats x[index]", "Stats x[index] = Ans" and
// their y forms.  index is the 1-based value of a program variable; false
// after a refusal (message box and raised error).
bool stats_get_put(StatsAccess what, double index);

// --- quantities and models -----------------------------------------------------------

// Quantity 0..20 over the data (17..19 for the current regression kind).
// Raises "No data defined" (6), "No y data defined" (7) or the arithmetic
// fault and returns 0.
double claculate_stat(int index);
// regress_y (op 58) gives the model's y for x; regress_x (op 57) its x for y.
double regression_estimate(int op_id, double value);

// The least-squares fit of the given kind over the whole set (two-variable
// data, whatever the current statistics kind says).  Nothing is raised:
// error and r_error hold the calculation error code of a failed slope and
// intercept, or of a failed r (constant y data), and -1 when it worked.
struct RegressionFit {
    double a = 0, b = 0, r = 0;
    int error = -1;
    int r_error = -1;
};
RegressionFit fit_regression(int kind);
// The model's y at x, or false when it has no real value there.
bool regression_model_y(int kind, double a, double b, double x, double& y);
// "y=(a*x)+b" and the other three.
const char* regression_equation(int kind);

// The window title: "Quorix (n=3)", "Quorix (n=3, x)", "Quorix (n=3, y)".
void stats_title(char* out, std::size_t size);

// Engine hooks (quantity lookup and estimates) and the toX / toY hook of
// the list functions.
void install_stats_hooks();

// --- what the dialogs draw ----------------------------------------------------------

// Whole pixels from a computed coordinate: truncated toward zero, NaN as 0
// and far-off values held at ±1e6 so that the conversion stays defined.
int stats_pixel(double v);

// The smallest and largest of the values (both 0 when there are none).
void value_range(const double* values, int count, double& min, double& max);

// The histogram of one panel (x or y values).
struct HistogramBins {
    int bins = 1;
    int counts[STATS_HISTOGRAM_MAX_BINS] = {};
    int tallest = 0;
    double min = 0, max = 0, width = 0;
};
// bins is clamped to 1..100; values may be empty (all counts 0).
HistogramBins histogram_bins(const double* values, int count, int bins);
// The bin of offset d = v - min: j*w <= d < (j+1)*w, the last bin closed
// and holding everything from (B-1)*w up, so that rounding never loses a
// value off either end.
int histogram_bin_of(double d, double width, int bins);

// Point i of a line chart panel of height h whose values span min..max.
struct ChartPoint { int x, y; };
ChartPoint line_chart_point(int i, int n, double v, double min, double max, int top, int height);

// The scatter plot's frame mapping from the raw data.
struct ScatterScale {
    double xmin, xmax, ymin, ymax, sx, sy;
};
ScatterScale scatter_scale();
// Samples of the fitted curve: sample k lies at x = xmin + k*(xmax-xmin)/208
// for k = 0 .. 312 (through xmax plus half the range); a count, not a
// growing x, so that a range below the spacing of doubles still ends.
constexpr int SCATTER_CURVE_STEPS = 208;
constexpr int SCATTER_CURVE_SAMPLES = SCATTER_CURVE_STEPS * 3 / 2 + 1;
double scatter_sample_x(const ScatterScale& s, int k);

}  // namespace qx
