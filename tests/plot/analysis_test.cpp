// Plot analysis through the real evaluator and the numerical methods:
// value, root, minimum, maximum, intersection and slope of plotted
// functions, the error codes of failures, the expression size limit and
// the table with its cached scrolling.
#include <gtest/gtest.h>

#include <cmath>
#include <string>
#include <utility>

#include "matrix/store.h"
#include "numeric/calculus.h"
#include "plot/analysis.h"
#include "plot/evaluate.h"
#include "plot/model.h"
#include "tests/plot/plot_fixture.h"

namespace qx::test {
namespace {

constexpr double kUnchecked = NAN;
constexpr int kMemoryA = 10;

class AnalysisTest : public PlotTest {
protected:
    static void set_slot(int type, int slot, const std::string& words) { store_slot(type, slot, words); }
    static CalcResult calculate(int calculation, int function, double x_value, int pair = 0) {
        g_calc.calculation = calculation;
        g_calc.function = function;
        g_calc.x_value = x_value;
        g_calc.pair = pair;
        return run_calculation();
    }
};

// Relative 1e-9, absolute near 0; NaN expected means "not checked".
void expect_close(double actual, double expected, const char* what, const char* name,
                  double tolerance = 1e-9) {
    if (std::isnan(expected)) return;
    double slack = expected == 0.0 ? tolerance : tolerance * std::fabs(expected);
    EXPECT_NEAR(actual, expected, slack) << name << ": " << what;
}

struct AcceptanceCase {
    const char* name;
    int type, angle;
    const char* slot0;
    const char* slot1;
    int calculation, function;
    double x_value;
    double first, second, third, point_x, point_y;
    const char* heading;
};

// Reference values from python3 math: -sqrt(2) = -1.4142135623730951,
// sin(1) = 0.8414709848078965, cos(1) = 0.5403023058681398,
// 1.5 cos(60 deg) = 0.75, 1.5 sin(60 deg) = 1.299038105676658.
const AcceptanceCase kAcceptance[] = {
    {"root", PLOT_FUNCTION, ANGLE_RAD, "x sq - 2", nullptr, CALC_ROOT, 0, 0.0,
     -1.4142135623730951, 0.0, kUnchecked, -1.4142135623730951, 0.0, "SMALL_CALC_ROOT"},
    {"slope", PLOT_FUNCTION, ANGLE_RAD, "sin( x )", nullptr, CALC_SLOPE, 0, 1.0, 1.0,
     0.8414709848078965, 0.5403023058681398, 1.0, 0.8414709848078965, nullptr},
    {"minimum", PLOT_FUNCTION, ANGLE_RAD, nullptr, "x sq - 2 x", CALC_MINIMUM, 1, 0.0, 1.0,
     -1.0, kUnchecked, 1.0, -1.0, "SMALL_CALC_MINIMUM"},
    {"maximum", PLOT_FUNCTION, ANGLE_RAD, "neg ( x - 3 ) sq + 4", nullptr, CALC_MAXIMUM, 0,
     0.0, 3.0, 4.0, kUnchecked, 3.0, 4.0, "SMALL_CALC_MAXIMUM"},
    {"intersection", PLOT_FUNCTION, ANGLE_RAD, "x", "2 - x", CALC_INTERSECTION, 0, 0.0, 1.0,
     1.0, kUnchecked, 1.0, 1.0, "SMALL_CALC_INTERSECT"},
    {"value", PLOT_FUNCTION, ANGLE_RAD, "x sq", nullptr, CALC_VALUE, 0, 3.0, 3.0, 9.0,
     kUnchecked, 3.0, 9.0, "SMALL_CALC_VALUE"},
    {"polar value", PLOT_POLAR, ANGLE_DEG, "1 + cos( #869 )", nullptr, CALC_VALUE, 0, 60.0,
     60.0, 1.5, kUnchecked, 0.75, 1.299038105676658, "SMALL_CALC_VALUE"},
    {"parametric value", PLOT_PARAMETRIC, ANGLE_RAD, "cos( #855 )", "sin( #855 )", CALC_VALUE,
     0, 0.0, 0.0, 1.0, 0.0, 1.0, 0.0, "SMALL_CALC_VALUE"},
};

TEST_F(AnalysisTest, AcceptanceCalculationsLeaveTheStateAlone) {
    for (const AcceptanceCase& c : kAcceptance) {
        clear_plot_state();
        g_plot.type = c.type;
        g_settings.angle_unit = c.angle;
        if (c.slot0) set_slot(c.type, 0, c.slot0);
        if (c.slot1) set_slot(c.type, 1, c.slot1);
        // What the user had before the calculation must survive it.
        memory_set(7.0, 0, MEM_X);
        memory_set(8.0, 0, MEM_THETA);
        memory_set(9.0, 0, MEM_T);
        memory_set(3.0, 0, kMemoryA);
        g_ans = MemorySlot{42.0, 0.0};
        clear_error();
        raise_error(ERR_DIV_ZERO, "pending", "test");

        CalcResult r = calculate(c.calculation, c.function, c.x_value);
        ASSERT_FALSE(r.too_long) << c.name;
        EXPECT_EQ(r.calculation, c.calculation) << c.name;
        EXPECT_EQ(r.plot_type, c.type) << c.name;
        EXPECT_STREQ(r.heading ? r.heading : "", c.heading ? c.heading : "") << c.name;
        ASSERT_FALSE(is_undefined(r.first.value)) << c.name << " " << r.first.error;
        ASSERT_FALSE(is_undefined(r.second.value)) << c.name << " " << r.second.error;
        expect_close(r.first.value, c.first, "first", c.name);
        expect_close(r.second.value, c.second, "second", c.name);
        expect_close(r.third.value, c.third, "third", c.name);
        ASSERT_TRUE(r.point_defined) << c.name;
        expect_close(r.point_x, c.point_x, "point x", c.name);
        expect_close(r.point_y, c.point_y, "point y", c.name);
        EXPECT_EQ(g_calc.search_lower, -10.0) << c.name;
        EXPECT_EQ(g_calc.search_upper, 10.0) << c.name;

        EXPECT_TRUE(memory_get(MEM_X, 0) == 7.0 && memory_get(MEM_THETA, 0) == 8.0 &&
                    memory_get(MEM_T, 0) == 9.0 && memory_get(kMemoryA, 0) == 3.0)
            << c.name;
        EXPECT_EQ(g_ans.re, 42.0) << c.name;
        EXPECT_TRUE(error_pending() && error_code() == ERR_DIV_ZERO) << c.name;
        EXPECT_EQ(calculus_variable_depth(), 0) << c.name;
        clear_error();
    }
}

struct SearchCase {
    const char* slot;
    int calculation;   // at x = 0
    double first, second, third;
    double tolerance;   // a minimum's abscissa is fixed only to about sqrt(eps)
};

// Slopes at 0 by hand; the rest from python3 math (e = 2.718281828459045,
// ln(1) = 0, sqrt(10) = 3.1622776601683795).
const SearchCase kSearches[] = {
    // Slopes of simple functions.
    {"x", CALC_SLOPE, 0.0, 0.0, 1.0, 1e-9},
    {"5", CALC_SLOPE, 0.0, 5.0, 0.0, 1e-9},
    {"x sq", CALC_SLOPE, 0.0, 0.0, 0.0, 1e-9},
    {"sin( x )", CALC_SLOPE, 0.0, 0.0, 1.0, 1e-9},
    {"cos( x )", CALC_SLOPE, 0.0, 1.0, 0.0, 1e-9},
    // A root in the last 0.2 % of the window.
    {"x - 9.97", CALC_ROOT, 9.97, 0.0, kUnchecked, 1e-9},
    {"x - 10", CALC_ROOT, 10.0, 0.0, kUnchecked, 1e-9},
    // Failed samples are skipped: left of 0, and the pole of 1/x.
    {"ln( x )", CALC_ROOT, 1.0, 0.0, kUnchecked, 1e-9},
    {"sqrt x - 2", CALC_ROOT, 4.0, 0.0, kUnchecked, 1e-9},
    {"1 / x - 0.5", CALC_ROOT, 2.0, 0.0, kUnchecked, 1e-9},
    {"( ln( x ) - 1 ) sq", CALC_MINIMUM, 2.718281828459045, 0.0, kUnchecked, 1e-7},
    {"sqrt x", CALC_MAXIMUM, 10.0, 3.1622776601683795, kUnchecked, 1e-7},
};

TEST_F(AnalysisTest, SearchesAndSlopesOfSimpleFunctions) {
    for (const SearchCase& c : kSearches) {
        set_slot(PLOT_FUNCTION, 0, c.slot);
        CalcResult r = calculate(c.calculation, 0, 0.0);
        ASSERT_FALSE(is_undefined(r.first.value)) << c.slot << " " << r.first.error;
        ASSERT_FALSE(is_undefined(r.second.value)) << c.slot << " " << r.second.error;
        expect_close(r.first.value, c.first, "first", c.slot, c.tolerance);
        expect_close(r.second.value, c.second, "second", c.slot, c.tolerance);
        if (!std::isnan(c.third)) {
            ASSERT_FALSE(is_undefined(r.third.value)) << c.slot << " " << r.third.error;
            expect_close(r.third.value, c.third, "third", c.slot, c.tolerance);
        }
    }
}

TEST_F(AnalysisTest, FailuresCarryTheirOwnCodes) {
    struct Failure {
        const char* slot0;
        const char* slot1;
        int calculation;
        int first, second, third;   // error codes, -1 defined
    };
    const Failure kFailures[] = {
        {"x sq + 1", nullptr, CALC_ROOT, ERR_NO_ROOT, ERR_NO_ROOT, -1},
        {"1 / x", nullptr, CALC_ROOT, ERR_NO_ROOT, ERR_NO_ROOT, -1},
        {"x", "x + 1", CALC_INTERSECTION, ERR_NO_INTERSECTION, ERR_NO_INTERSECTION, -1},
        {nullptr, nullptr, CALC_VALUE, -1, ERR_PLOT_UNDEFINED, -1},
        {nullptr, nullptr, CALC_ROOT, ERR_PLOT_UNDEFINED, ERR_PLOT_UNDEFINED, -1},
        {nullptr, nullptr, CALC_SLOPE, -1, ERR_PLOT_UNDEFINED, ERR_PLOT_UNDEFINED},
        // Pair 0 is (f1, f2): f2 is empty.
        {"x", nullptr, CALC_INTERSECTION, ERR_PLOT_UNDEFINED, ERR_PLOT_UNDEFINED, -1},
        // y = ln(x) is undefined at x = -1, its slope too.
        {"ln( x )", nullptr, CALC_SLOPE, -1, ERR_DOMAIN, ERR_DOMAIN},
    };
    for (const Failure& f : kFailures) {
        clear_plot_state();
        if (f.slot0) set_slot(PLOT_FUNCTION, 0, f.slot0);
        if (f.slot1) set_slot(PLOT_FUNCTION, 1, f.slot1);
        CalcResult r = calculate(f.calculation, 0, -1.0);
        const std::string name = std::string(f.slot0 ? f.slot0 : "(none)") + " calc " +
                                 std::to_string(f.calculation);
        const CalcValue* values[] = {&r.first, &r.second, &r.third};
        const int codes[] = {f.first, f.second, f.third};
        for (int k = 0; k < 3; ++k) {
            if (codes[k] < 0) {
                if (k < 2) {
                    EXPECT_FALSE(is_undefined(values[k]->value)) << name << " value " << k;
                }
                continue;
            }
            EXPECT_TRUE(is_undefined(values[k]->value)) << name << " value " << k;
            EXPECT_EQ(values[k]->error, codes[k]) << name << " value " << k;
        }
        EXPECT_FALSE(r.point_defined) << name;
    }
}

TEST_F(AnalysisTest, UndefinedPolarRadiusHasNoPoint) {
    g_plot.type = PLOT_POLAR;
    set_slot(PLOT_POLAR, 0, "ln( #869 )");
    CalcResult r = calculate(CALC_VALUE, 0, -1.0);
    EXPECT_TRUE(is_undefined(r.second.value));
    EXPECT_EQ(r.second.error, ERR_DOMAIN);
    EXPECT_FALSE(r.point_defined);
    // Polar plots offer Value and Table only: any search is a Value.
    set_slot(PLOT_POLAR, 0, "2");
    r = calculate(CALC_ROOT, 0, 1.0);
    EXPECT_EQ(r.calculation, CALC_VALUE);
    EXPECT_EQ(r.second.value, 2.0);
}

TEST_F(AnalysisTest, TemporaryExpressionStaysUnderOneHundredTokens) {
    // A number of n digits is n tokens; Root adds 2, Intersection 7.
    set_slot(PLOT_FUNCTION, 0, std::string(98, '1'));
    EXPECT_TRUE(calculate(CALC_ROOT, 0, 0.0).too_long);
    EXPECT_TRUE(calculate(CALC_SLOPE, 0, 0.0).too_long);
    EXPECT_FALSE(calculate(CALC_VALUE, 0, 0.0).too_long);
    set_slot(PLOT_FUNCTION, 0, std::string(97, '1'));
    CalcResult r = calculate(CALC_ROOT, 0, 0.0);
    EXPECT_FALSE(r.too_long);
    EXPECT_EQ(r.first.error, ERR_NO_ROOT);

    set_slot(PLOT_FUNCTION, 0, std::string(46, '1'));
    set_slot(PLOT_FUNCTION, 1, std::string(47, '1'));
    EXPECT_TRUE(calculate(CALC_INTERSECTION, 0, 0.0, 0).too_long);
    set_slot(PLOT_FUNCTION, 1, std::string(46, '2'));
    r = calculate(CALC_INTERSECTION, 0, 0.0, 0);
    EXPECT_FALSE(r.too_long);
    EXPECT_EQ(r.first.error, ERR_NO_INTERSECTION);
}

TEST_F(AnalysisTest, NamesHelpAndPairs) {
    EXPECT_STREQ(calculation_name(CALC_INTERSECTION), "Intersection");
    EXPECT_EQ(calculation_name(7), nullptr);
    EXPECT_EQ(calculation_help(CALC_VALUE, PLOT_FUNCTION),
              "Calculates a function value for a given x. Select the function and enter the x "
              "value below.");
    EXPECT_EQ(calculation_help(CALC_VALUE, PLOT_POLAR),
              "Calculates a function value for a given \x97. Select the function and enter the "
              "\x97 value below.");
    EXPECT_EQ(calculation_help(CALC_VALUE, PLOT_PARAMETRIC),
              "Calculates a function value for a given t. Select the function and enter the t "
              "value below.");

    // Strictly increasing (i outer, j inner) and i != j: all 30 distinct pairs.
    std::pair<int, int> previous{-1, -1};
    for (int k = 0; k < INTERSECTION_PAIRS; ++k) {
        int i = -1, j = -1;
        intersection_pair(k, &i, &j);
        ASSERT_NE(i, j);
        ASSERT_TRUE(i >= 0 && i < PLOT_SLOTS && j >= 0 && j < PLOT_SLOTS);
        EXPECT_LT(previous, std::make_pair(i, j)) << k;
        previous = {i, j};
    }
}

TEST_F(AnalysisTest, TableCellsAndHeadings) {
    set_slot(PLOT_FUNCTION, 0, "x sq");
    set_slot(PLOT_FUNCTION, 2, "1 / x");
    PlotTable t{};
    table_fill(t, -2.0, 1.0);
    ASSERT_EQ(t.columns, 2);
    EXPECT_EQ(t.slot[0], 0);
    EXPECT_EQ(t.slot[1], 2);
    EXPECT_EQ(table_row_value(t, 9), 7.0);
    EXPECT_EQ(table_cell_text(t, 0, 0), "4");
    EXPECT_EQ(table_cell_text(t, 2, 1), "Div by Zero");
    EXPECT_EQ(table_cell_text(t, 3, 1), "1");
    EXPECT_EQ(table_cell_text(t, 3, 2), "");

    table_fill(t, 3.0, 0.0);   // delta 0: ten identical rows
    for (int row = 0; row < TABLE_ROWS; ++row) {
        EXPECT_EQ(table_cell_text(t, row, 0), "9");
        EXPECT_EQ(table_cell_text(t, row, 1), table_cell_text(t, 0, 1));
    }

    EXPECT_EQ(table_variable_heading(PLOT_FUNCTION), "x");
    EXPECT_EQ(table_variable_heading(PLOT_PARAMETRIC), "t");
    g_settings.angle_unit = ANGLE_GRAD;
    EXPECT_EQ(table_variable_heading(PLOT_POLAR), "\x97 (Grad)");

    // Parametric: every defined X or Y slot is a column of its own.
    clear_plot_state();
    g_plot.type = PLOT_PARAMETRIC;
    set_slot(PLOT_PARAMETRIC, 1, "#855");
    set_slot(PLOT_PARAMETRIC, 4, "2 #855");
    table_fill(t, 1.0, 1.0);
    ASSERT_EQ(t.columns, 2);
    EXPECT_EQ(t.slot[1], 4);
    EXPECT_EQ(table_cell_text(t, 2, 1), "6");
}

TEST_F(AnalysisTest, ScrollingOneRowEvaluatesOnlyTheNewRow) {
    set_slot(PLOT_FUNCTION, 1, "x sq");
    set_slot(PLOT_FUNCTION, 4, "ln( x )");
    PlotTable t{};
    table_fill(t, -3.0, 0.5);
    struct Step {
        int rows;
        long samples;
    };
    const Step kSteps[] = {{1, 2}, {1, 2}, {-1, 2}, {10, 20}, {-10, 20}, {3, 20}, {0, 20}};
    for (const Step& s : kSteps) {
        reset_plot_sample_count();
        table_scroll(t, s.rows);
        EXPECT_EQ(plot_sample_count(), s.samples) << s.rows;
        // The cached cells match a table computed afresh at the new start.
        PlotTable fresh{};
        table_fill(fresh, t.start, t.delta);
        for (int row = 0; row < TABLE_ROWS; ++row)
            for (int c = 0; c < t.columns; ++c)
                EXPECT_EQ(table_cell_text(t, row, c), table_cell_text(fresh, row, c))
                    << "scroll " << s.rows << " row " << row;
    }
    EXPECT_EQ(t.start, -3.0 + 4 * 0.5);
}

}  // namespace
}  // namespace qx::test
