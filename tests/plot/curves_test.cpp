// Function, polar and parametric curves drawn through the real evaluator
// onto a canvas that records every call, the trace table they fill and the
// function trace.
#include "plot/curves.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <string>
#include <vector>

#include "plot/evaluate.h"
#include "plot/model.h"
#include "tests/plot/plot_fixture.h"

namespace qx::test {
namespace {

class Curves : public PlotTest {
protected:
    static void degrees() {
        g_settings.angle_unit = ANGLE_DEG;
        g_plot.tmin = 0;
        g_plot.tmax = 360;
        g_plot.tstep = 0.36;
    }
    RecordingCanvas canvas;
};

constexpr const char* kTheta = "#869";

TEST(ParameterSamples, Counts) {
    const struct { double tmin, tmax, step; int count; } cases[] = {
        {0, 360, 0.36, 1001},            // 1000 * 0.36 is 360 to the last bit
        {0, 2 * PI_CONSTANT, 2 * PI_CONSTANT / 1000, 1001},
        {0, 1, 0.1, 11},                 // 10 * 0.1 rounds to 1 (within 1e-9)
        {0, 1, 0.3, 4},                  // 0, 0.3, 0.6, 0.9
        {0, 1, 2, 1},
        {0, 1, 1e-9, MAX_TRACE_POINTS},  // more would be asked for
        {1, 1, 0.1, 0}, {2, 1, 0.1, 0}, {0, 1, 0, 0}, {0, 1, -0.1, 0},
        {0, INFINITY, 1, 0}, {NAN, 1, 0.1, 0}, {0, 1, NAN, 0},
    };
    for (const auto& c : cases)
        EXPECT_EQ(parameter_sample_count(c.tmin, c.tmax, c.step), c.count)
            << c.tmin << ".." << c.tmax << " by " << c.step;
    EXPECT_EQ(parameter_sample(1, 0.1, 7), 1 + 7 * 0.1);
}

TEST_F(Curves, FunctionLineOnTheDefaultWindow) {
    store(PLOT_FUNCTION, 0, "x");
    ASSERT_TRUE(draw_function_curves(canvas));
    // Column 50: x = -10 + 50 * 20 / 226 = -5.575, row (10 + 5.575) * 9 = 140.18.
    bool found = false;
    for (const Call& c : canvas.calls)
        if (c.is_line && c.x1 == 50) {
            found = true;
            EXPECT_EQ(c.y1, 140);
            EXPECT_EQ(c.colour, 0xFF0000u);
        }
    EXPECT_TRUE(found);
    // Column 0 lies on row 180 and column 1 on row 179.2: that first segment
    // is below the area; the last one is clipped to column 225.
    EXPECT_EQ(canvas.count(true), 225);
    EXPECT_EQ(canvas.count(false), 0);
    EXPECT_TRUE(canvas.all_inside());
}

TEST_F(Curves, DotsGiveOnePixelPerColumn) {
    store(PLOT_FUNCTION, 1, "x");
    g_plot.connect_dots = false;
    ASSERT_TRUE(draw_function_curves(canvas));
    ASSERT_EQ(canvas.count(false), 225);   // column 0 (row 180) and 226 are outside
    EXPECT_EQ(canvas.count(true), 0);
    for (int i = 0; i < 225; ++i) {
        EXPECT_EQ(canvas.calls[i].x0, i + 1);
        EXPECT_EQ(canvas.calls[i].colour, 0x0000FFu);
    }
}

TEST_F(Curves, SquareRootStartsAtTheRefinedEdge) {
    // x from -9.5: column 108 (x = 0.0575) is the first defined one and its
    // own value would give row (1 - sqrt(0.0575)) * 90 = 68.4; the edge near
    // x = 0 gives a row just under 90.
    ASSERT_TRUE(set_plot_window(-9.5, -1, 10.5, 1));
    store(PLOT_FUNCTION, 0, "sqrt x");
    ASSERT_TRUE(draw_function_curves(canvas));
    ASSERT_FALSE(canvas.calls.empty());
    const Call& first = canvas.calls[0];
    EXPECT_EQ(first.x0, 108);
    EXPECT_GE(first.y0, 88);
    EXPECT_LE(first.y0, 90);
    EXPECT_EQ(first.x1, 109);   // (1 - sqrt(0.146)) * 90 = 55.6
    EXPECT_EQ(first.y1, 55);

    // The default window has a column at x = 0 exactly: the curve starts there.
    canvas.calls.clear();
    ASSERT_TRUE(set_plot_window(-10, -10, 10, 10));
    ASSERT_TRUE(draw_function_curves(canvas));
    EXPECT_EQ(canvas.calls[0].x0, 113);
    EXPECT_EQ(canvas.calls[0].y0, 90);
}

TEST_F(Curves, AnUndefinedColumnBreaksTheCurve) {
    // x / x is undefined only at column 113 (x = 0).  The segment into it
    // ends at the edge value 1 (row 81); none leaves it.
    store(PLOT_FUNCTION, 0, "x / x");
    ASSERT_TRUE(draw_function_curves(canvas));
    EXPECT_EQ(canvas.count(true), 225);
    bool into = false;
    for (const Call& c : canvas.calls) {
        EXPECT_NE(c.x0, 113);
        if (c.x1 == 113) {
            into = true;
            EXPECT_EQ(c.y1, 81);
        }
    }
    EXPECT_TRUE(into);
}

TEST_F(Curves, HugeValuesAreClampedNotNaN) {
    // 10^x overflows from x = 308.25 on; below that it is far above the window.
    ASSERT_TRUE(set_plot_window(300, -1e100, 310, 1e100));
    store(PLOT_FUNCTION, 0, "10^ x");
    ASSERT_TRUE(draw_function_curves(canvas));
    EXPECT_TRUE(canvas.all_inside());
    g_plot.connect_dots = false;
    ASSERT_TRUE(draw_function_curves(canvas));
    EXPECT_TRUE(canvas.all_inside());
}

TEST_F(Curves, CancelStopsTheWholePlot) {
    store(PLOT_FUNCTION, 0, "x");
    store(PLOT_FUNCTION, 1, "x + 1");
    canvas.abort_on_first_line = true;
    g_plot_abort = true;   // left over from an earlier plot: reset on entry
    EXPECT_FALSE(draw_function_curves(canvas));
    EXPECT_EQ(canvas.calls.size(), 1u);
}

TEST_F(Curves, PlottingLeavesTheCalculationAlone) {
    g_memory[MEM_X] = {7, 0.5};
    g_memory[MEM_THETA] = {-2, 0};
    g_ans = {3, 4};
    raise_error(ERR_MATH, "Math Error", "test");
    store(PLOT_FUNCTION, 0, "x + Ans");
    store(PLOT_POLAR, 0, kTheta);
    ASSERT_TRUE(draw_function_curves(canvas));
    ASSERT_TRUE(draw_polar_curves(canvas));
    EXPECT_TRUE(trace_function_at(10).drawn);
    EXPECT_EQ(g_memory[MEM_X].re, 7);
    EXPECT_EQ(g_memory[MEM_X].im, 0.5);
    EXPECT_EQ(g_memory[MEM_THETA].re, -2);
    EXPECT_EQ(g_ans.re, 3);
    EXPECT_EQ(g_ans.im, 4);
    EXPECT_TRUE(error_pending());
    EXPECT_EQ(error_code(), ERR_MATH);
}

TEST_F(Curves, PolarInDegreesFillsTheTraceTable) {
    degrees();
    store(PLOT_POLAR, 0, std::string("1 + cos( ") + kTheta + " )");
    ASSERT_TRUE(draw_polar_curves(canvas));
    ASSERT_EQ(g_trace_table.count, 1001);
    const TracePoint& first = g_trace_table.points[0];
    EXPECT_NEAR(first.x, 2, 1e-12);
    EXPECT_NEAR(first.px, 2 * 11.3 + 113, 1e-9);
    EXPECT_EQ(first.a, UNDEFINED_VALUE);
    EXPECT_EQ(first.b, UNDEFINED_VALUE);
    EXPECT_NEAR(g_trace_table.points[1000].parameter, 360, 1e-9);

    // Shifted by 0.24 degrees, sample 166 is theta = 60: r = 1.5, (0.75, 1.299).
    g_plot.tmin = 0.24;
    g_plot.tmax = 360.24;
    ASSERT_TRUE(draw_polar_curves(canvas));
    ASSERT_EQ(g_trace_table.count, 1001);
    const TracePoint& p = g_trace_table.points[166];
    EXPECT_NEAR(p.parameter, 60, 1e-9);
    EXPECT_NEAR(p.x, 0.75, 1e-9);
    EXPECT_NEAR(p.y, 1.299038105676658, 1e-9);
    EXPECT_EQ(nearest_trace_point(0.75, 1.3), 166);
}

TEST_F(Curves, PolarUndefinedRadius) {
    // r = sqrt((theta - 1)(3 - theta)) in radians: undefined before 1 (no
    // point yet) and after 3, where the curve repeats its last point but
    // the trace must not offer a value.
    store(PLOT_POLAR, 0, std::string("sqrt ( ( ") + kTheta + " - 1 ) * ( 3 - " + kTheta + " ) )");
    g_plot.trace_function[PLOT_POLAR] = 0;
    ASSERT_TRUE(draw_polar_curves(canvas));
    int last_defined = -1;
    for (int k = 0; k < g_trace_table.count; ++k) {
        const TracePoint& p = g_trace_table.points[k];
        if (p.parameter < 1) {
            EXPECT_EQ(p.x, UNDEFINED_VALUE) << k;
        } else if (p.parameter <= 3) {
            last_defined = k;
        } else {
            ASSERT_GE(last_defined, 0);
            EXPECT_EQ(p.x, UNDEFINED_VALUE) << k;
            EXPECT_EQ(p.y, UNDEFINED_VALUE) << k;
        }
    }
    EXPECT_TRUE(canvas.all_inside());
}

TEST_F(Curves, ParametricPairs) {
    // Pair 1 is the unit circle; pair 2 lacks its Y slot and is not drawn.
    store(PLOT_PARAMETRIC, 0, "cos( #855 )");
    store(PLOT_PARAMETRIC, 1, "sin( #855 )");
    store(PLOT_PARAMETRIC, 2, "#855");
    ASSERT_TRUE(draw_parametric_curves(canvas));
    ASSERT_EQ(g_trace_table.count, 1001);
    // t = 250 * 2 pi / 1000 = pi / 2: (0, 1), pixel (113, 81).
    const TracePoint& top = g_trace_table.points[250];
    EXPECT_NEAR(top.x, 0, 1e-12);
    EXPECT_NEAR(top.y, 1, 1e-12);
    EXPECT_NEAR(top.py, 81, 1e-9);
    EXPECT_EQ(nearest_trace_point(0, 1.001), 250);
    for (const Call& c : canvas.calls) EXPECT_EQ(c.colour, 0xFF0000u);

    // Tracing the second pair, which is not drawn, leaves the table empty.
    g_plot.trace_function[PLOT_PARAMETRIC] = 2;
    ASSERT_TRUE(draw_parametric_curves(canvas));
    EXPECT_EQ(g_trace_table.count, 0);
    EXPECT_EQ(nearest_trace_point(0, 0), -1);
}

TEST_F(Curves, NearestTracePoint) {
    const double U = UNDEFINED_VALUE;
    const double pts[][2] = {{U, U}, {1, 1}, {3, 3}, {-1, -1}, {U, 0}};
    g_trace_table.count = 5;
    for (int i = 0; i < 5; ++i)
        g_trace_table.points[i] = {pts[i][0], pts[i][1], 0, 0, 0, U, U};
    const struct { double x, y; int index; } cases[] = {
        {0, 0, 1},      // (1, 1) and (-1, -1) tie: the first stays
        {2.9, 3, 2}, {-5, -5, 3}, {100, 100, 2},
    };
    for (const auto& c : cases) EXPECT_EQ(nearest_trace_point(c.x, c.y), c.index);
    g_trace_table.count = 1;
    EXPECT_EQ(nearest_trace_point(0, 0), -1);
}

TEST_F(Curves, FunctionTrace) {
    store(PLOT_FUNCTION, 2, "sqrt x");
    g_plot.trace_function[PLOT_FUNCTION] = 0;
    EXPECT_FALSE(trace_function_at(50).drawn);

    g_plot.trace_function[PLOT_FUNCTION] = 2;
    // Column 163: x = -10 + 163 * 20 / 226 = 4.4248, y = 2.1035, row 71.07.
    const FunctionTrace t = trace_function_at(163);
    ASSERT_TRUE(t.drawn);
    EXPECT_NEAR(t.x, 4.424778761061947, 1e-12);
    EXPECT_NEAR(t.y, 2.1035158, 1e-6);
    EXPECT_NEAR(t.py, 71.0683577, 1e-6);
    EXPECT_EQ(t.colour, 0x00D200u);
    const FunctionTrace left = trace_function_at(10);
    EXPECT_TRUE(left.drawn);
    EXPECT_EQ(left.y, UNDEFINED_VALUE);
    EXPECT_EQ(left.py, UNDEFINED_VALUE);
}

}  // namespace
}  // namespace qx::test
