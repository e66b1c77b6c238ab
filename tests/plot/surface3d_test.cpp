// The 3-D plot's arithmetic (grid, rotations, projection, nodes) against
// values worked out independently with python3's math module, and whole
// paints through the real evaluator onto a canvas that records each call.
#include "plot/surface3d.h"

#include <gtest/gtest.h>

#include <cmath>
#include <string>
#include <vector>

#include "plot/evaluate.h"
#include "plot/model.h"
#include "tests/allocation_counter.h"
#include "tests/plot/plot_fixture.h"

namespace qx::test {
namespace {

constexpr std::uint32_t kBlue = 0xFF0000;
constexpr std::uint32_t kPurple = 0xFF00FF;
constexpr const char* kU = "#856";
constexpr const char* kV = "#857";

TEST(MeshAxis, NodeCounts) {
    const double two_pi = 2 * PI_CONSTANT;
    const struct { double min, max, step; int count; bool closed; double used_step; } cases[] = {
        {-3.1415, 3.1415, 0.22566, 28, false, 0.22566},   // 6.283 / 0.22566 = 27.84
        {-6.2832, 6.2832, 0.25133, 50, false, 0.25133},   // 49.9996: not whole
        {0, 6.2832, 0.125664, 51, true, 0.125664},        // 50.0 exactly
        {0, 3.1415, 6.283e-2, 51, true, 6.283e-2},        // 50.00000000000001
        {0, two_pi, two_pi / 1000, 51, true, two_pi * 0.02},  // below 2 %: the default t range
        {0, 10, 0, 51, true, 0.2},                        // a step of 0 gives range / 50
        {0, 1, -1, 51, true, 0.02},
        {0, 1, NAN, 51, true, 0.02},
        {0, 1, 2, 51, true, 0.02},                        // above the range
        {0, 1, 1, 2, true, 1},
        {0, 1, 0.1, 11, true, 0.1},
        {0, 1, 0.3, 4, false, 0.3},                       // 0, .3, .6, .9
        {1, 1, 0.1, 0, false, 0}, {2, 1, 0.1, 0, false, 0},
        {NAN, 1, 0.1, 0, false, 0}, {0, INFINITY, 1, 0, false, 0},
    };
    for (const auto& c : cases) {
        const MeshAxis a = mesh_axis(c.min, c.max, c.step);
        EXPECT_EQ(a.count, c.count) << c.min << ".." << c.max << " by " << c.step;
        EXPECT_EQ(a.closed, c.closed) << c.min << ".." << c.max << " by " << c.step;
        if (c.count > 0) {
            EXPECT_DOUBLE_EQ(a.step, c.used_step) << c.min << ".." << c.max;
        }
    }
    // A closed range ends on its end exactly; the others at min + k * step.
    const MeshAxis closed = mesh_axis(0, two_pi, 0);
    EXPECT_EQ(closed.node(closed.count - 1), two_pi);
    EXPECT_EQ(closed.node(7), 7 * (two_pi * 0.02));
    const MeshAxis open = mesh_axis(0, 1, 0.3);
    EXPECT_EQ(open.node(3), 3 * 0.3);
}

TEST(Projection3d, ViewAnglesAndProjectedPoints) {
    const ViewAngles rest = view_angles(0, 0, 0, 0);
    EXPECT_DOUBLE_EQ(rest.a1, -3.7468);
    EXPECT_DOUBLE_EQ(rest.a2, 3.6568);
    EXPECT_DOUBLE_EQ(rest.a3, -0.618106781);
    // 80 pixels to the right turn the second axis by one radian.
    EXPECT_NEAR(view_angles(0, 0, 80, 0).a2 - rest.a2, 1.0, 1e-12);
    const ViewAngles moved = view_angles(10, -20, 5, 4);
    EXPECT_NEAR(moved.a1, -3.9468, 1e-12);
    EXPECT_NEAR(moved.a2, 3.8443, 1e-12);

    const struct { double angle_a, angle_b, x, y, z, wx, wy; } cases[] = {
        {0, 0, 1, 0, 0, -0.7091853279799, -0.504269583721709},
        {0, 0, 0, 1, 0, 0.705021901868621, -0.507779593211393},
        {0, 0, 0, 0, 1, 0.00053708806942826, 0.698478397411978},
        {0, 0, 1, 2, 3, 0.702469739965628, 0.575606422091439},
        {80, 0, 1, 2, 3, 2.85224221296225, 2.10421231294135},
        {-69, -544, 1, 2, 3, -2.69067751715812, 0.338642866508758},
    };
    for (const auto& c : cases) {
        const Projection p(view_angles(c.angle_a, c.angle_b, 0, 0));
        double wx = 0, wy = 0;
        ASSERT_TRUE(p.apply(c.x, c.y, c.z, &wx, &wy));
        EXPECT_NEAR(wx, c.wx, 1e-12) << c.x << "," << c.y << "," << c.z;
        EXPECT_NEAR(wy, c.wy, 1e-12) << c.x << "," << c.y << "," << c.z;
    }
    const Projection p(rest);
    double wx = 0, wy = 0;
    EXPECT_FALSE(p.apply(1, UNDEFINED_VALUE, 0, &wx, &wy));
    EXPECT_TRUE(is_undefined(wx) && is_undefined(wy));
    EXPECT_FALSE(p.apply(1.7e308, -1.7e308, 1.7e308, &wx, &wy));   // overflows to infinity
    EXPECT_TRUE(is_undefined(wx) && is_undefined(wy));
}

TEST(Projection3d, AxisEnds) {
    double ends[3][3];
    axis_ends({-10, 10, -5, 1}, ends);
    EXPECT_EQ(ends[0][0], 20.0);
    EXPECT_EQ(ends[1][1], 6.0);
    EXPECT_EQ(ends[0][1] + ends[0][2] + ends[1][0] + ends[1][2] + ends[2][0] + ends[2][1], 0.0);
    // |20 cos 20| + |6 sin 6| = 8.161641236 + 1.676492989
    EXPECT_NEAR(ends[2][2], 9.838134225, 1e-8);
}

TEST(SurfaceNodes, CoordinateSystems) {
    const double deg = PI_CONSTANT / 180;
    const struct { int coordinates; double factor, z_scale, c1, c2, c3, x, y, z; } cases[] = {
        {COORD_CARTESIAN, 1, 2, 1, 2, 3, 1, 2, 6},
        {COORD_CYLINDRICAL, deg, 1, 90, 2, 3, 0, 2, 3},                 // theta 90 deg, R 2
        {COORD_CYLINDRICAL, 1, -1, PI_CONSTANT, 2, 3, -2, 0, -3},
        {COORD_SPHERICAL, 1, 1, 0, PI_CONSTANT / 2, 2, 2, 0, 0},        // on the x axis
        {COORD_SPHERICAL, deg, 3, 90, 0, 2, 0, 0, 6},                   // the pole, z scaled
        {COORD_SPHERICAL, 1, 1, PI_CONSTANT / 4, PI_CONSTANT / 4, 2, 1, 1, std::sqrt(2.0)},
    };
    for (const auto& c : cases) {
        double n[3];
        ASSERT_TRUE(surface_node(c.coordinates, c.factor, c.z_scale, c.c1, c.c2, c.c3, n));
        EXPECT_NEAR(n[0], c.x, 1e-12) << c.coordinates << " " << c.c1;
        EXPECT_NEAR(n[1], c.y, 1e-12) << c.coordinates << " " << c.c1;
        EXPECT_NEAR(n[2], c.z, 1e-12) << c.coordinates << " " << c.c1;
    }
    double n[3];
    for (int coordinates = 0; coordinates < 3; ++coordinates) {
        EXPECT_FALSE(surface_node(coordinates, 1, 1, 1, 1, UNDEFINED_VALUE, n));
        EXPECT_TRUE(is_undefined(n[0]));
    }
    EXPECT_FALSE(surface_node(COORD_CARTESIAN, 1, 1e100, 1, 1, 1e300, n));   // z overflows
}

class Surfaces : public PlotTest {
protected:
    void SetUp() override {
        PlotTest::SetUp();
        g_plot.type = PLOT_3D;
        forget_surface_mesh();
    }
    // Surface 1 (slots 0..2) or 2 (3..5) from three expressions.
    void surface(int which, const std::string& c1, const std::string& c2, const std::string& c3) {
        store(PLOT_3D, 3 * which, c1);
        store(PLOT_3D, 3 * which + 1, c2);
        store(PLOT_3D, 3 * which + 2, c3);
    }
    static void ranges(double umin, double umax, double ustep, double vmin, double vmax, double vstep) {
        g_plot.tmin = umin;
        g_plot.tmax = umax;
        g_plot.tstep = ustep;
        g_plot.vmin = vmin;
        g_plot.vmax = vmax;
        g_plot.vstep = vstep;
    }
    bool paint(bool preview = false, double dx = 0, double dy = 0) {
        canvas.calls.clear();
        return draw_surface_plot(canvas, {g_plot.view_angle[0], g_plot.view_angle[1], dx, dy, preview});
    }
    RecordingCanvas canvas;
};

TEST_F(Surfaces, DefaultRangesAreCorrectedOnACopyOnly) {
    surface(0, kU, kV, "1");
    const double tstep = g_plot.tstep, vstep = g_plot.vstep;
    ASSERT_LT(tstep, (g_plot.tmax - g_plot.tmin) * 0.02);
    ASSERT_TRUE(paint());
    EXPECT_EQ(g_plot.tstep, tstep);   // the polar and parametric plots share it
    EXPECT_EQ(g_plot.vstep, vstep);
    const SurfaceMeshInfo m = last_surface_mesh();
    EXPECT_EQ(m.nu, 51);
    EXPECT_EQ(m.nv, 51);
}

TEST_F(Surfaces, CartesianSampleGrid) {
    ranges(-3.1415, 3.1415, 0.22566, -6.2832, 6.2832, 0.25133);
    surface(0, kU, kV, "sin( #856 ) * cos( #857 )");
    g_plot.connect_dots = false;   // meshes are always lines
    reset_plot_sample_count();
    ASSERT_TRUE(paint());
    EXPECT_EQ(last_surface_mesh().nu, 28);
    EXPECT_EQ(last_surface_mesh().nv, 50);
    EXPECT_EQ(plot_sample_count(), 3 * 28 * 50);
    // Every node is traced, and 27 x 50 + 28 x 49 segments are drawn.
    EXPECT_EQ(g_surface_trace.count, 28 * 50);
    EXPECT_EQ(canvas.lines(kBlue), 27 * 50 + 28 * 49);
}

TEST_F(Surfaces, LettersBesideTheEndsInsideTheWindow) {
    // Ends at pixels (54.96, 135.42) for x, (503.56, 176.66) for y and
    // (215.37, 9.95) for z: two boxes of nine white rows.
    ASSERT_TRUE(set_plot_window(-20, -20, 1, 18));
    ASSERT_TRUE(paint());
    EXPECT_EQ(canvas.lines(0xFFFFFF), 18);
    for (const Call& c : canvas.calls) {
        EXPECT_GE(std::min(c.x0, c.x1), 0);
        EXPECT_LE(std::max(c.x0, c.x1), 226);
        EXPECT_GE(std::min(c.y0, c.y1), 0);
        EXPECT_LE(std::max(c.y0, c.y1), 180);
    }
}

TEST_F(Surfaces, AnUndefinedNodeBreaksBothLines) {
    // u = -1, -.5, 0, .5, 1 and v = 0, .5, 1: sqrt leaves u < 0 undefined.
    ranges(-1, 1, 0.5, 0, 1, 0.5);
    g_plot.trace_function[PLOT_3D] = 0;
    const struct { const char* z; int segments, traced; } cases[] = {
        {"sqrt #856", 3 * 2 + 2 * 3, 9},
        {"sqrt abs( #856 )", 5 * 2 + 4 * 3, 15},
    };
    for (const auto& c : cases) {
        surface(0, kU, kV, c.z);
        ASSERT_TRUE(paint());
        EXPECT_EQ(canvas.lines(kBlue), c.segments) << c.z;
        EXPECT_EQ(g_surface_trace.count, c.traced) << c.z;
    }
}

TEST_F(Surfaces, ASurfaceWithAnUndefinedSlotIsLeftOut) {
    ranges(0, 1, 0.25, 0, 1, 0.25);
    surface(0, kU, kV, "1");
    g_plot_slots[PLOT_3D][1].count = 0;
    surface(1, kU, kV, "2");
    g_plot.trace_function[PLOT_3D] = 3;
    ASSERT_TRUE(paint());
    EXPECT_FALSE(last_surface_mesh().drawn[0]);
    EXPECT_TRUE(last_surface_mesh().drawn[1]);
    EXPECT_EQ(canvas.lines(kBlue), 0);
    EXPECT_EQ(canvas.lines(kPurple), 2 * 5 * 4);
    EXPECT_EQ(g_surface_trace.count, 25);
    g_plot.trace_function[PLOT_3D] = 0;   // the traced surface is not drawn
    ASSERT_TRUE(paint());
    EXPECT_EQ(g_surface_trace.count, 0);
}

TEST_F(Surfaces, TraceFindsTheNearestNodeWithItsRawValues) {
    g_plot.coordinates = COORD_CYLINDRICAL;
    ranges(0, 1, 0.5, 0, 2, 1);
    surface(0, "#856 * 90", "#857 + 1", "#856");   // theta in degrees below
    g_settings.angle_unit = ANGLE_DEG;
    ASSERT_TRUE(paint());
    ASSERT_EQ(g_surface_trace.count, 9);
    // u = .5, v = 2: theta 45, R 3, Z .5 is the node (2.1213, 2.1213, .5).
    const Projection p(view_angles(0, 0, 0, 0));
    double wx = 0, wy = 0;
    ASSERT_TRUE(p.apply(3 * std::sqrt(0.5), 3 * std::sqrt(0.5), 0.5, &wx, &wy));
    const int k = nearest_surface_node(wx + 0.01, wy - 0.01);
    ASSERT_GE(k, 0);
    const SurfaceTraceNode& n = g_surface_trace.nodes[k];
    EXPECT_DOUBLE_EQ(n.c[0], 45);
    EXPECT_DOUBLE_EQ(n.c[1], 3);
    EXPECT_DOUBLE_EQ(n.c[2], 0.5);
    EXPECT_NEAR(n.x, wx, 1e-12);
    EXPECT_NEAR(n.px, map_x(current_window(), wx), 1e-9);
    g_surface_trace.count = 0;
    EXPECT_EQ(nearest_surface_node(0, 0), -1);
}

TEST_F(Surfaces, PreviewReprojectsTheKeptNodes) {
    surface(0, kU, kV, "sin( #856 )");
    surface(1, kV, kU, "2");
    ASSERT_TRUE(paint());
    ASSERT_GT(g_surface_trace.count, 0);

    reset_plot_sample_count();
    ASSERT_TRUE(paint(true, 40, -12));
    const std::vector<Call> reused = canvas.calls;
    EXPECT_EQ(plot_sample_count(), 0);
    EXPECT_TRUE(last_surface_mesh().reused);
    EXPECT_EQ(last_surface_mesh().nu, 26);   // every other of 51
    EXPECT_EQ(g_surface_trace.count, 0);

    // Without kept nodes the preview evaluates the same nodes itself.
    forget_surface_mesh();
    ASSERT_TRUE(paint(true, 40, -12));
    EXPECT_FALSE(last_surface_mesh().reused);
    EXPECT_EQ(plot_sample_count(), 2 * 3 * 26 * 26);
    EXPECT_EQ(canvas.calls, reused);
    // and keeps them for the next move.
    reset_plot_sample_count();
    ASSERT_TRUE(paint(true, 41, -12));
    EXPECT_TRUE(last_surface_mesh().reused);
    EXPECT_EQ(plot_sample_count(), 0);
}

TEST_F(Surfaces, FramesAllocateNothing) {
    surface(0, kU, kV, "sin( #856 )");
    surface(1, kV, kU, "2");
    struct : PlotCanvas {
        void line(int, int, int, int, std::uint32_t) override {}
        void pixel(int, int, std::uint32_t) override {}
    } quiet;
    const long before = allocations_so_far();
    ASSERT_TRUE(draw_surface_plot(quiet, {0, 0, 0, 0, false}));
    ASSERT_TRUE(draw_surface_plot(quiet, {0, 0, 5, 5, true}));
    forget_surface_mesh();
    ASSERT_TRUE(draw_surface_plot(quiet, {0, 0, 6, 5, true}));
    EXPECT_EQ(allocations_so_far(), before);
}

TEST_F(Surfaces, ChangedSettingsAreNotReprojected) {
    surface(0, kU, kV, kU);
    const struct { const char* what; void (*change)(); } cases[] = {
        {"z scale", [] { g_plot.z_scale = 3; }},
        {"u range", [] { g_plot.tmax = 5; }},
        {"v step", [] { g_plot.vstep = 0.5; }},
        {"coordinates", [] { g_plot.coordinates = COORD_SPHERICAL; }},
        {"angle unit", [] { g_settings.angle_unit = ANGLE_GRAD; }},
        {"slot", [] { store_slot(PLOT_3D, 2, "#857"); }},
        {"second surface", [] { store_slot(PLOT_3D, 3, "1"); }},
    };
    for (const auto& c : cases) {
        ASSERT_TRUE(paint());
        c.change();
        ASSERT_TRUE(paint(true, 1, 1));
        EXPECT_FALSE(last_surface_mesh().reused) << c.what;
    }
}

TEST_F(Surfaces, CancelStopsThePlot) {
    // The evaluator looks for a cancelling tap every 500 operations: the
    // third slot's 2 x 2601 operations reach the first check.
    surface(0, kU, kV, "#856 * #857 + 1");
    surface(1, kU, kV, "2");
    g_hooks.poll_key_tap = [] { return true; };
    reset_plot_sample_count();
    EXPECT_FALSE(paint());
    EXPECT_LT(plot_sample_count(), 3 * 51 * 51);   // the second surface was never begun
    EXPECT_FALSE(last_surface_mesh().drawn[0]);
    EXPECT_FALSE(last_surface_mesh().drawn[1]);
    EXPECT_EQ(canvas.lines(kBlue) + canvas.lines(kPurple), 0);
    EXPECT_EQ(g_surface_trace.count, 0);
    // Nothing half-computed is kept for a preview.
    g_hooks.poll_key_tap = nullptr;
    ASSERT_TRUE(paint(true, 1, 1));
    EXPECT_FALSE(last_surface_mesh().reused);
}

}  // namespace
}  // namespace qx::test
