// The plot settings record, the slots and the slot evaluation that must
// leave the calculation exactly as it was.
#include <gtest/gtest.h>

#include <cmath>
#include <cstring>
#include <limits>
#include <string>

#include "matrix/store.h"
#include "numeric/calculus.h"
#include "plot/evaluate.h"
#include "plot/model.h"
#include "tests/plot/plot_fixture.h"

namespace qx::test {
namespace {

using PlotModelTest = PlotTest;

constexpr double kInf = std::numeric_limits<double>::infinity();
constexpr double kNaN = std::numeric_limits<double>::quiet_NaN();

TEST_F(PlotModelTest, SetWindowAcceptsOnlyIncreasingBoundedWindows) {
    const struct {
        double xmin, ymin, xmax, ymax;
        bool accepted;
    } cases[] = {
        {-1, -2, 3, 4, true},       {-1e100, -1e100, 1e100, 1e100, true},
        {5, -1, 5, 1, false},       {-1, 2, 1, 2, false},
        {3, 0, 1, 1, false},        {-1e101, 0, 1, 1, false},
        {kNaN, 0, 1, 1, false},     {0, 0, kInf, 1, false},
        {0, -kInf, 1, 1, false},    {1e-300, 1e-300, 2e-300, 2e-300, true},
    };
    for (const auto& c : cases) {
        clear_plot_state();
        EXPECT_EQ(set_plot_window(c.xmin, c.ymin, c.xmax, c.ymax), c.accepted) << c.xmin << " " << c.xmax;
        if (c.accepted) {
            EXPECT_EQ(g_plot.xmin, c.xmin);
            EXPECT_EQ(g_plot.ymax, c.ymax);
        } else {
            EXPECT_EQ(g_plot.xmin, -10.0);
            EXPECT_EQ(g_plot.xmax, 10.0);
            EXPECT_EQ(g_plot.ymin, -10.0);
            EXPECT_EQ(g_plot.ymax, 10.0);
        }
    }
}

TEST_F(PlotModelTest, DefaultsFollowTheAngleUnit) {
    const struct {
        int unit;
        double tmax, tstep;
    } cases[] = {{ANGLE_RAD, 2 * M_PI, 0.006283185307179587}, {ANGLE_DEG, 360, 0.36}, {ANGLE_GRAD, 400, 0.4}};
    for (const auto& c : cases) {
        g_settings.angle_unit = c.unit;
        g_plot.tmin = 5;
        g_plot.coordinates = COORD_SPHERICAL;
        g_plot.lock_x = true;
        reset_plot_defaults();
        EXPECT_EQ(g_plot.tmin, 0.0);
        EXPECT_DOUBLE_EQ(g_plot.tmax, c.tmax);
        EXPECT_DOUBLE_EQ(g_plot.tstep, c.tstep);
        EXPECT_EQ(g_plot.vmin, g_plot.tmin);
        EXPECT_EQ(g_plot.vmax, g_plot.tmax);
        EXPECT_EQ(g_plot.vstep, g_plot.tstep);
        EXPECT_TRUE(g_plot.grid);
        EXPECT_TRUE(g_plot.connect_dots);
        // Left alone by the defaults.
        EXPECT_EQ(g_plot.coordinates, COORD_SPHERICAL);
        EXPECT_TRUE(g_plot.lock_x);
    }
}

TEST_F(PlotModelTest, ParameterRangesAreRepaired) {
    const struct {
        double new_min, new_max, new_step;
        double min, max, step;
    } cases[] = {
        {0, 10, 1, 0, 10, 1},
        {0, 10, 0, 0, 10, 0.01},            // a zero step: a thousandth of the range
        {0, 10, 20, 0, 10, 0.01},           // above the range
        {0, 10, 0.001, 0, 10, 0.01},        // below a thousandth
        {5, 5, 1, 0, 1, 1},                 // not increasing: the old range stays
        {3, 1, 0.5, 0, 1, 0.5},
        {-1e200, 1e200, 1e99, -1e100, 1e100, 1e99},
        {kNaN, 4, 1, 0, 1, 1},              // a NaN keeps the old range
        {0, 4, kInf, 0, 4, 1},              // and an infinite step the old step
    };
    for (const auto& c : cases) {
        double min = 0, max = 1, step = 1;
        apply_parameter_range(&min, &max, &step, c.new_min, c.new_max, c.new_step);
        EXPECT_EQ(min, c.min) << c.new_min << " " << c.new_max;
        EXPECT_EQ(max, c.max) << c.new_min << " " << c.new_max;
        EXPECT_DOUBLE_EQ(step, c.step) << c.new_min << " " << c.new_max << " " << c.new_step;
    }
}

TEST_F(PlotModelTest, ValidationMakesAnyRecordSafeToDraw) {
    g_plot.xmin = 3;
    g_plot.xmax = -3;
    g_plot.tmin = 0;
    g_plot.tmax = 10;
    g_plot.tstep = 0;
    g_plot.vmin = kNaN;
    g_plot.type = 9;
    g_plot.cursor = CURSOR_ROTATE;
    g_plot.trace_function[PLOT_PARAMETRIC] = 3;
    g_plot.trace_function[PLOT_FUNCTION] = -2;
    g_plot_slots[1][2].count = 1000;
    g_plot_slots[0][0].count = -5;
    validate_plot_record();
    EXPECT_EQ(g_plot.xmin, -10);
    EXPECT_EQ(g_plot.xmax, 10);
    EXPECT_DOUBLE_EQ(g_plot.tstep, 0.01);
    EXPECT_EQ(g_plot.vmin, 0);
    EXPECT_EQ(g_plot.vmax, 10);
    EXPECT_EQ(g_plot.type, PLOT_FUNCTION);
    EXPECT_EQ(g_plot.cursor, CURSOR_TRACE);
    EXPECT_EQ(g_plot.trace_function[PLOT_PARAMETRIC], 0);
    EXPECT_EQ(g_plot.trace_function[PLOT_FUNCTION], 0);
    EXPECT_EQ(g_plot_slots[1][2].count, 0);
    EXPECT_EQ(g_plot_slots[0][0].count, 0);
}

TEST_F(PlotModelTest, SendingFillsTheFirstFreeSlot) {
    const std::vector<TokenCode> line = toks("x sq");
    store(PLOT_FUNCTION, 0, "x");
    EXPECT_EQ(send_to_plot(line.data(), 2), SendResult::Stored);
    EXPECT_EQ(g_plot_slots[0][1].count, 2);
    EXPECT_EQ(send_to_plot(nullptr, 0), SendResult::Empty);
    const std::vector<TokenCode> complex = toks("x sq + i");
    EXPECT_EQ(send_to_plot(complex.data(), 4), SendResult::Complex);
    EXPECT_FALSE(slot_defined(PLOT_FUNCTION, 2));
    for (int k = 2; k < PLOT_SLOTS; ++k) store(PLOT_FUNCTION, k, "x");
    EXPECT_EQ(send_to_plot(line.data(), 2), SendResult::Full);
    EXPECT_EQ(g_plot_slots[0][5].count, 1);
    // Slots belong to their plot type.
    g_plot.type = PLOT_POLAR;
    EXPECT_EQ(send_to_plot(line.data(), 2), SendResult::Stored);
    EXPECT_TRUE(slot_defined(PLOT_POLAR, 0));
}

TEST_F(PlotModelTest, TitlesAndNames) {
    char title[120];
    const char* problem = nullptr;
    const struct {
        int type, coordinates, cursor;
        const char* title;
    } cases[] = {
        {0, 0, 0, "Function (trace)"},       {1, 2, 1, "Polar (box zoom)"},
        {2, 0, 2, "Parametric (pan)"},       {3, 1, 3, "3D Cylindrical (rotate)"},
        {3, 2, 0, "3D Spherical (trace)"},
    };
    for (const auto& c : cases) {
        g_plot.type = c.type;
        g_plot.coordinates = c.coordinates;
        g_plot.cursor = c.cursor;
        ASSERT_TRUE(plot_title(title, sizeof title, &problem));
        EXPECT_STREQ(title, c.title);
    }
    g_plot.type = 4;
    EXPECT_FALSE(plot_title(title, sizeof title, &problem));
    EXPECT_STREQ(problem, "Undefined Plot Type");
    g_plot.type = 0;
    g_plot.cursor = 7;
    EXPECT_FALSE(plot_title(title, sizeof title, &problem));
    EXPECT_STREQ(problem, "Undefined Cursor Type");

    EXPECT_EQ(slot_name(PLOT_FUNCTION, 0, 5), "f6(x)");
    EXPECT_EQ(slot_name(PLOT_POLAR, 0, 0), "R1(\x97)");
    EXPECT_EQ(slot_name(PLOT_PARAMETRIC, 0, 3), "Y2(t)");
    EXPECT_EQ(slot_name(PLOT_3D, COORD_CYLINDRICAL, 3), "\x97" "2");
    EXPECT_EQ(slot_name(PLOT_3D, COORD_SPHERICAL, 1), "\xa9" "1");
    EXPECT_EQ(trace_choice_name(PLOT_PARAMETRIC, 0, 1), "X2(t), Y2(t)");
    EXPECT_EQ(trace_choice_name(PLOT_3D, COORD_CARTESIAN, 0), "X1(u,v), Y1(u,v), Z1(u,v)");
    store(PLOT_FUNCTION, 0, "x");
    EXPECT_EQ(slot_row_text(PLOT_FUNCTION, 0, 0, "x"), "f1(x)=x");
    EXPECT_EQ(slot_row_text(PLOT_PARAMETRIC, 0, 1, ""), "Y1(t)=Undefined");
    EXPECT_EQ(slot_row_text(PLOT_3D, 0, 2, ""), "Z1(u,v)=Undefined");
}

TEST_F(PlotModelTest, ExpressionsReadThePlotSettings) {
    ASSERT_TRUE(set_plot_window(-2, -3, 4, 5));
    g_plot.connect_dots = false;
    const struct {
        int token;
        double value;
    } cases[] = {{1413, 0}, {1414, 1}, {1416, 0}, {1420, 4}, {1421, -2}, {1422, 5}, {1423, -3}, {1424, 1}};
    for (const auto& c : cases) {
        Outcome o = evaluate({static_cast<TokenCode>(c.token)});
        ASSERT_TRUE(o.ok) << c.token;
        EXPECT_EQ(o.re, c.value) << c.token;
    }
}

TEST_F(PlotModelTest, SlotEvaluationLeavesTheCalculationAlone) {
    memory_set(7.5, 0, MEM_X);
    memory_set(1.25, 0, 0);
    g_ans = MemorySlot{42.0, 0.0};
    raise_error(ERR_SYNTAX, "left over", "test");
    store(PLOT_FUNCTION, 0, "x sq >A");
    {
        SlotEvaluation ev(PLOT_FUNCTION, 0);
        ASSERT_TRUE(ev.defined());
        EXPECT_EQ(ev.at(3.0), 9.0);
        EXPECT_EQ(ev.at(-2.0), 4.0);
    }
    EXPECT_EQ(memory_get(MEM_X, 0), 7.5);
    EXPECT_EQ(memory_get(0, 0), 1.25);
    EXPECT_EQ(g_ans.re, 42.0);
    EXPECT_TRUE(error_pending());
    EXPECT_EQ(error_code(), ERR_SYNTAX);
    clear_error();
}

TEST_F(PlotModelTest, FailedSamplesAreUndefinedWithTheirReason) {
    const struct {
        const char* words;
        double at;
        int code;
    } cases[] = {
        {"1 / x", 0, ERR_DIV_ZERO},
        {"sqrt x", -1, ERR_DOMAIN},
        {"ln( x )", -1, ERR_DOMAIN},
        {"10^ x", 400, ERR_OVERFLOW},
        {"( x", 1, ERR_PAREN_UNBALANCED},
        {"[A]", 1, ERR_MATRIX_UNDEFINED},
    };
    for (const auto& c : cases) {
        store(PLOT_FUNCTION, 0, c.words);
        g_last_plot_error = -1;
        SlotEvaluation ev(PLOT_FUNCTION, 0);
        EXPECT_TRUE(is_undefined(ev.at(c.at))) << c.words;
        EXPECT_EQ(g_last_plot_error, c.code) << c.words;
        EXPECT_FALSE(error_pending()) << c.words;
    }
    SlotEvaluation undefined(PLOT_FUNCTION, 3);
    EXPECT_FALSE(undefined.defined());
    EXPECT_TRUE(is_undefined(undefined.at(1.0)));
    EXPECT_EQ(g_last_plot_error, ERR_PLOT_UNDEFINED);
}

TEST_F(PlotModelTest, EachTypeVariesItsOwnVariable) {
    const struct {
        int type;
        const char* words;
    } cases[] = {{PLOT_FUNCTION, "x"}, {PLOT_POLAR, "#869"}, {PLOT_PARAMETRIC, "#855"}, {PLOT_3D, "#856"}};
    for (const auto& c : cases) {
        store(c.type, 0, c.words);
        SlotEvaluation ev(c.type, 0);
        EXPECT_EQ(ev.at(2.5), 2.5) << c.type;
    }
    store(PLOT_3D, 1, "#856 * #857");
    SlotEvaluation ev(PLOT_3D, 1);
    EXPECT_EQ(ev.at(3.0, 4.0), 12.0);
}

TEST_F(PlotModelTest, ErrorGroupsNameLabelsAndCells) {
    const struct {
        int code;
        const char* label;
        const char* cell;
    } cases[] = {
        {0, "SMALL_OVERFLOW", "Overflow"},           {1, "SMALL_OVERFLOW", "Overflow"},
        {2, "SMALL_DIV_BY_ZERO", "Div by Zero"},     {3, "SMALL_DOMAIN", "Domain"},
        {4, "SMALL_DOMAIN", "Domain"},               {5, "SMALL_SYNTAX_ERROR", "Syntax"},
        {18, "SMALL_SYNTAX_ERROR", "Syntax"},        {28, "SMALL_SYNTAX_ERROR", "Syntax"},
        {31, "SMALL_SYNTAX_ERROR", "Syntax"},        {6, "SMALL_NO_DATA", "No Data"},
        {7, "SMALL_NO_DATA", "No Data"},             {16, "SMALL_DATA_TYPE", "Data Type"},
        {19, "SMALL_DATA_TYPE", "Data Type"},        {29, "SMALL_NO_ROOT_FOUND", "No Root Found"},
        {30, "SMALL_NO_INTERSECT_FOUND", "No Intersection Found"},
        {33, "SMALL_UNDEFINED", "Undefined"},        {25, "SMALL_ERROR", "Error"},
        {-1, "SMALL_ERROR", "Error"},
    };
    for (const auto& c : cases) {
        EXPECT_STREQ(small_error_label(c.code), c.label) << c.code;
        EXPECT_STREQ(cell_error_text(c.code), c.cell) << c.code;
    }
}

}  // namespace
}  // namespace qx::test
