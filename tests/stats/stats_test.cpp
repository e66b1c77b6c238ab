// The statistics data set, its refusals and the quantities the engine
// reads; reference values for whole data sets are in reference_test.cpp.
#include <cfenv>
#include <cmath>
#include <limits>

#include "matrix/store.h"
#include "matrix/types.h"
#include "tests/stats/stats_fixture.h"

namespace qx::test {
namespace {

const double kNaN = std::numeric_limits<double>::quiet_NaN();
const double kInf = std::numeric_limits<double>::infinity();

TEST_F(StatsTest, TwoVariableEntryCountsWholePoints) {
    g_settings.stats_var = 1;
    EXPECT_EQ(title(), "Quorix (n=0, x)");
    const struct { double value; int count; const char* title; } steps[] = {
        {3, 0, "Quorix (n=0, y)"}, {4, 1, "Quorix (n=1, x)"}, {5, 1, "Quorix (n=1, y)"},
    };
    for (const auto& s : steps) {
        EXPECT_EQ(add_stat_point(s.value, 0, false), AddOutcome::Added);
        EXPECT_EQ(stats_data().count, s.count);
        EXPECT_EQ(title(), s.title);
    }
    // Σ− takes back only the x waiting for its y, then whole points.
    delete_last_stat_point();
    EXPECT_EQ(title(), "Quorix (n=1, x)");
    EXPECT_EQ(stats_data().x[0], 3);
    EXPECT_EQ(stats_data().y[0], 4);
    delete_last_stat_point();
    EXPECT_EQ(title(), "Quorix (n=0, x)");
    delete_last_stat_point();
    EXPECT_EQ(stats_data().count, 0);
}

TEST_F(StatsTest, ChangeOfKindDropsTheHalfEnteredPoint) {
    points({1}, {2});
    add_stat_point(7, 0, false);
    EXPECT_FALSE(stats_data().next_is_x);
    g_settings.stats_var = 0;
    stats_kind_changed();
    g_settings.stats_var = 1;
    stats_kind_changed();
    add_stat_point(8, 0, false);
    add_stat_point(9, 0, false);
    EXPECT_EQ(stats_data().count, 2);
    EXPECT_EQ(stats_data().x[1], 8);
    EXPECT_EQ(stats_data().y[1], 9);
    EXPECT_EQ(title(), "Quorix (n=2, x)");
    g_settings.stats_var = 0;
    EXPECT_EQ(title(), "Quorix (n=2)");
}

TEST_F(StatsTest, RefusedPointsChangeNothing) {
    enter({1, 2});
    const struct { double re, im; bool object; AddOutcome outcome; const char* box; } cases[] = {
        {1, 2, false, AddOutcome::NotReal,
         "Stats Error: Only real numbers can be inserted as statistics data."},
        {1, 0, true, AddOutcome::NotReal,
         "Stats Error: Only real numbers can be inserted as statistics data."},
        {kNaN, 0, false, AddOutcome::NotReal,
         "Stats Error: Only real numbers can be inserted as statistics data."},
    };
    for (const auto& c : cases) {
        stats_boxes().clear();
        EXPECT_EQ(add_stat_point(c.re, c.im, c.object), c.outcome);
        ASSERT_EQ(stats_boxes().size(), 1u);
        EXPECT_EQ(stats_boxes()[0], c.box);
        EXPECT_EQ(stats_data().count, 2);
    }
    raise_error(ERR_SYNTAX, "pending", "test");
    EXPECT_EQ(add_stat_point(5, 0, false), AddOutcome::Ignored);
    add_stat_entry_from_program(5);
    clear_error();
    EXPECT_EQ(stats_data().count, 2);
}

TEST_F(StatsTest, TheSetHoldsNineHundredNinetyNinePoints) {
    for (int i = 0; i < STATS_MAX_POINTS; ++i) ASSERT_EQ(add_stat_point(i, 0, false), AddOutcome::Added);
    EXPECT_TRUE(stats_boxes().empty());
    EXPECT_EQ(add_stat_point(1, 0, false), AddOutcome::Full);
    ASSERT_EQ(stats_boxes().size(), 1u);
    EXPECT_EQ(stats_boxes()[0], "Limit: Reached statistics data limit");
    add_stat_entry_from_program(1);
    EXPECT_EQ(error_code(), ERR_MEMORY);
    EXPECT_EQ(std::string(error_detail()).rfind("Reached stats limit", 0), 0u);
    clear_error();
    EXPECT_EQ(stats_data().count, STATS_MAX_POINTS);
    EXPECT_EQ(quantity(STAT_SUM_X), 998.0 * 999.0 / 2.0);
}

TEST_F(StatsTest, ProgramIndexesAreCheckedAndReadsGiveRealAnswers) {
    enter({10, 20, 30});
    for (double bad : {0.0, -1.0, 1000.0, 1e300, kNaN, kInf, -kInf, 0.5}) {
        stats_boxes().clear();
        clear_error();
        EXPECT_FALSE(stats_get_put(STATS_GET_X, bad)) << bad;
        EXPECT_EQ(error_code(), ERR_CODE) << bad;
        ASSERT_EQ(stats_boxes().size(), 1u);
        EXPECT_EQ(stats_boxes()[0], "Error: Index out of range");
    }
    clear_error();
    g_ans = MemorySlot{0, 5};
    ASSERT_TRUE(stats_get_put(STATS_GET_X, 2));
    EXPECT_EQ(g_ans.re, 20);
    EXPECT_EQ(g_ans.im, 0);
    // Past the count is allowed: the array keeps its values.
    g_ans = MemorySlot{7, 0};
    ASSERT_TRUE(stats_get_put(STATS_PUT_Y, 999));
    ASSERT_TRUE(stats_get_put(STATS_GET_Y, 999.9));
    EXPECT_EQ(g_ans.re, 7);
    EXPECT_EQ(stats_data().count, 3);
    const struct { double re, im; int kind; } refused[] = {{1, 1, RK_SCALAR}, {1, 0, RK_MATRIX}, {1, 0, RK_LIST}};
    for (const auto& r : refused) {
        clear_error();
        g_ans = MemorySlot{r.re, r.im};
        g_last_result_kind = r.kind;
        EXPECT_FALSE(stats_get_put(STATS_PUT_X, 1));
        EXPECT_EQ(error_code(), ERR_DATA_TYPE);
        EXPECT_EQ(stats_data().x[0], 10);
    }
    clear_error();
}

TEST_F(StatsTest, DeletingAPointIsCheckedAgainstTheCount) {
    enter({1, 2, 3, 4});
    EXPECT_FALSE(delete_stat_point(-1));
    EXPECT_FALSE(delete_stat_point(4));
    EXPECT_TRUE(delete_stat_point(1));
    EXPECT_EQ(stats_data().count, 3);
    EXPECT_EQ(stats_data().x[1], 3);
    EXPECT_EQ(stats_data().x[2], 4);
    clear_stat_data();
    EXPECT_EQ(stats_data().count, 0);
    EXPECT_EQ(stats_data().x[0], 0);
}

TEST_F(StatsTest, MissingDataRaisesItsOwnErrors) {
    int code = 0;
    EXPECT_EQ(quantity(STAT_COUNT, &code), 0);
    EXPECT_EQ(code, -1);
    for (int q = 0; q < STAT_COUNT; ++q) {
        quantity(q, &code);
        EXPECT_EQ(code, ERR_NO_DATA) << q;
    }
    enter({1, 2, 3});
    const int needs_y[] = {0, 1, 2, 8, 9, 10, 11, 12, 15, 16, 17, 18, 19};
    for (int q : needs_y) {
        quantity(q, &code);
        EXPECT_EQ(code, ERR_NO_Y_DATA) << q;
    }
    clear_error();
    regression_estimate(OP_REGRESS_Y, 1);
    EXPECT_EQ(error_code(), ERR_NO_Y_DATA);
    clear_error();
    claculate_stat(21);
    EXPECT_EQ(error_code(), ERR_UNEXPECTED);
    clear_error();
}

// The faults of the one-pass formulas: cancellation, a negative variance
// under the root, and rounding carrying r past 1.
TEST_F(StatsTest, CentredSumsKeepTheirDigits) {
    enter({0.1, 0.1, 0.1});
    int code = 0;
    EXPECT_EQ(quantity(STAT_STD_DEV_X, &code), 0.0);
    EXPECT_EQ(code, -1);
    clear_stat_data();
    enter({100000001, 100000002, 100000003});
    EXPECT_NEAR(quantity(STAT_STD_DEV_X), 0.816496580927726, 1e-15);   // sqrt(2/3)
    EXPECT_NEAR(quantity(STAT_STD_DEV1_X), 1.0, 1e-15);
    clear_stat_data();
    points({1, 2, 3}, {2.1, 2.2, 2.3});
    EXPECT_EQ(quantity(STAT_CORR_COEF), 1.0);
    clear_stat_data();
    points({1e9 + 1, 1e9 + 2, 1e9 + 3, 1e9 + 4, 1e9 + 5}, {3, 5, 7, 9, 11});
    EXPECT_NEAR(quantity(STAT_SLOPE, &code), 2.0, 1e-12);
    EXPECT_EQ(code, -1);
    EXPECT_NEAR(quantity(STAT_INTERCEPT), -1999999999.0, 1e-3);
}

TEST_F(StatsTest, ArithmeticFaultsBecomeErrors) {
    const struct {
        const char* name;
        std::initializer_list<double> x, y;
        int kind, quantity, code;
    } cases[] = {
        {"one point, n-1 deviation", {2}, {3}, 0, STAT_STD_DEV1_X, ERR_DIV_ZERO},
        {"zero y sum, weighted mean", {1, 2, 3}, {-1, 0, 1}, 0, STAT_WEIGHTED_MEAN, ERR_DIV_ZERO},
        {"equal x, slope", {4, 4}, {1, 2}, 0, STAT_SLOPE, ERR_DIV_ZERO},
        {"constant y, r", {1, 2}, {5, 5}, 0, STAT_CORR_COEF, ERR_DIV_ZERO},
        {"ln of zero x", {0, 1}, {1, 2}, REGRESS_LOG, STAT_SLOPE, ERR_DOMAIN},
        {"ln of negative y", {1, 2}, {-1, 2}, REGRESS_EXP, STAT_CORR_COEF, ERR_DOMAIN},
        {"squares overflow", {1e200, 2e200}, {1, 2}, 0, STAT_SUM2_X, ERR_OVERFLOW},
    };
    for (const auto& c : cases) {
        clear_stat_data();
        points(c.x, c.y);
        g_settings.stats_regress = c.kind;
        int code = 0;
        EXPECT_EQ(quantity(c.quantity, &code), 0.0) << c.name;
        EXPECT_EQ(code, c.code) << c.name;
    }
    // Constant y still has a slope and an intercept.
    clear_stat_data();
    points({1, 2}, {5, 5});
    g_settings.stats_regress = 0;
    EXPECT_EQ(quantity(STAT_SLOPE), 0.0);
    EXPECT_EQ(quantity(STAT_INTERCEPT), 5.0);
}

TEST_F(StatsTest, FlagsRaisedBeforeALookupAreKept) {
    enter({1, 2});
    std::feclearexcept(FE_ALL_EXCEPT);
    std::feraiseexcept(FE_OVERFLOW);
    claculate_stat(STAT_STD_DEV_X);
    EXPECT_TRUE(std::fetestexcept(FE_OVERFLOW));
    std::feclearexcept(FE_ALL_EXCEPT);
    clear_stat_data();
    enter({1e200, 2e200});
    claculate_stat(STAT_SUM2_X);
    clear_error();
    EXPECT_FALSE(std::fetestexcept(FE_OVERFLOW));
}

// The calculator's own keys: x = 1..5, y = 1.8, 4.1, 5.9, 8.2, 9.8 give
// a = 2.01 and b = -0.07, so 6 ry is 11.99 and 7 rx is 7.07 / 2.01.
TEST_F(StatsTest, ExpressionsReadQuantitiesAndEstimates) {
    points({1, 2, 3, 4, 5}, {1.8, 4.1, 5.9, 8.2, 9.8});
    const struct { const char* words; double value; } cases[] = {
        {"#1005", 109.5},
        {"6 #1008", 11.99},
        {"7 #1007", 3.517412935323383},
        {"#1016 * 2", 10},
        {"#1109", 0.998382685},
    };
    for (const auto& c : cases) {
        const Outcome o = run(c.words);
        ASSERT_TRUE(o.ok) << c.words;
        EXPECT_NEAR(o.re, c.value, 1e-9 * std::fabs(c.value)) << c.words;
    }
    const Outcome complex = run("6 + i #1008");
    EXPECT_FALSE(complex.ok);
    clear_stat_data();
    const Outcome none = run("#1011");
    EXPECT_EQ(none.code, ERR_NO_DATA);
    EXPECT_EQ(none.text, "No Data");
}

TEST_F(StatsTest, EstimatesOutsideTheModelRaise) {
    points({1, 2, 3}, {2, 4, 8});   // exponential: b = 1, a = ln 2
    g_settings.stats_regress = REGRESS_EXP;
    clear_error();
    EXPECT_NEAR(regression_estimate(OP_REGRESS_X, 16), 4.0, 1e-12);
    EXPECT_FALSE(error_pending());
    regression_estimate(OP_REGRESS_X, -1);
    EXPECT_EQ(error_code(), ERR_DOMAIN);
    clear_error();
    g_settings.stats_regress = REGRESS_LOG;
    regression_estimate(OP_REGRESS_Y, 0);
    EXPECT_EQ(error_code(), ERR_DOMAIN);
    clear_error();
    clear_stat_data();
    points({1, 2}, {3, 3});   // flat line: no x for a y
    g_settings.stats_regress = REGRESS_LINEAR;
    regression_estimate(OP_REGRESS_X, 3);
    EXPECT_EQ(error_code(), ERR_DIV_ZERO);
    clear_error();
}

TEST_F(StatsTest, ListsBecomeColumns) {
    install_matrix_engine_hooks();
    install_stats_hooks();
    ListValue list{};
    list.re[0] = 4;
    list.re[1] = 5;
    list.last = 1;
    list.defined = true;
    g_settings.stats_var = 1;
    add_stat_point(9, 0, false);   // half a point, dropped by the new column
    g_stats_column_hook(1, list);
    EXPECT_EQ(stats_data().count, 2);
    EXPECT_EQ(stats_data().y[1], 5);
    EXPECT_TRUE(stats_data().next_is_x);
    list.im[1] = 1;
    g_stats_column_hook(0, list);
    EXPECT_EQ(error_code(), ERR_DATA_TYPE);
    clear_error();
    EXPECT_EQ(stats_data().x[1], 0);
}

TEST_F(StatsTest, LoadedSetsAreCheckedFirst) {
    enter({1, 2});
    const double x[] = {1, kNaN}, y[] = {0, 0};
    EXPECT_FALSE(load_stat_data(x, y, 2));
    EXPECT_FALSE(load_stat_data(x, y, -1));
    EXPECT_FALSE(load_stat_data(x, y, STATS_MAX_POINTS + 1));
    EXPECT_EQ(stats_data().count, 2);
    EXPECT_EQ(stats_data().x[1], 2);
    EXPECT_TRUE(load_stat_data(x, y, 1));
    EXPECT_EQ(quantity(STAT_SUM_X), 1);
}

// --- what the plots draw ------------------------------------------------------------

TEST_F(StatsTest, HistogramBinsNeverLoseAValue) {
    const struct {
        const char* name;
        std::vector<double> values;
        int bins;
        std::vector<int> counts;
    } cases[] = {
        // 0.6 / 0.3 rounds below 2 and 0.9 / 0.3 above 3.
        {"rounded quotients", {0, 0.3, 0.6, 0.9}, 3, {1, 1, 2}},
        {"last bin closed", {0, 2, 1}, 2, {1, 2}},
        {"identical values", {5, 5, 5}, 4, {0, 0, 0, 3}},
        {"one bin", {1, 7, 3}, 1, {3}},
        {"tenths", {0.1, 0.2, 0.3, 0.4, 0.5, 0.6, 0.7}, 6, {1, 1, 1, 1, 1, 2}},
        {"huge range", {-1e308, 1e308}, 2, {1, 1}},
    };
    for (const auto& c : cases) {
        const HistogramBins h =
            histogram_bins(c.values.data(), static_cast<int>(c.values.size()), c.bins);
        ASSERT_EQ(h.bins, c.bins) << c.name;
        int total = 0;
        for (int j = 0; j < h.bins; ++j) {
            EXPECT_EQ(h.counts[j], c.counts[j]) << c.name << " bin " << j;
            total += h.counts[j];
        }
        EXPECT_EQ(total, static_cast<int>(c.values.size())) << c.name;
    }
    EXPECT_EQ(histogram_bins(nullptr, 0, 500).bins, STATS_HISTOGRAM_MAX_BINS);
    EXPECT_EQ(histogram_bin_of(kNaN, 1, 5), 0);
}

TEST_F(StatsTest, PlotCoordinatesStayDefined) {
    const struct { double v; int pixel; } pixels[] = {
        {2.9, 2}, {-2.9, -2}, {kNaN, 0}, {1e300, 1000000}, {-kInf, -1000000},
    };
    for (const auto& p : pixels) EXPECT_EQ(stats_pixel(p.v), p.pixel) << p.v;
    // One point sits at the left; equal values at the bottom of the panel.
    const ChartPoint single = line_chart_point(0, 1, 5, 5, 5, 8, 96);
    EXPECT_EQ(single.x, 24);
    EXPECT_EQ(single.y, 104);
    const ChartPoint last = line_chart_point(4, 5, 10, 0, 10, 8, 96);
    EXPECT_EQ(last.x, 220);
    EXPECT_EQ(last.y, 8);
    // Two x one ulp apart: a step below the spacing of doubles leaves the
    // samples where they are, so the curve ends by its count alone.
    points({0.3, 0.1 + 0.2}, {1, 2});
    const ScatterScale s = scatter_scale();
    EXPECT_GT(s.sx, 0.0);
    EXPECT_EQ(scatter_sample_x(s, 1), s.xmin);
    clear_stat_data();
    points({0, 2}, {0, 1});
    EXPECT_EQ(scatter_sample_x(scatter_scale(), SCATTER_CURVE_STEPS), 2.0);
}

}  // namespace
}  // namespace qx::test
