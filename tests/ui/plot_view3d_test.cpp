// The 3-D plot on the face: the picture, the trace tool on the surface
// nodes and turning the view with the rotate tool's drag.
#include <gtest/gtest.h>

#include <string>

#include "plot/geometry.h"
#include "plot/surface3d.h"
#include "tests/plot/plot_fixture.h"
#include "tests/ui/calculator_fixture.h"

namespace qx {
namespace {

constexpr Colour kBlue = rgb(0, 0, 255);
constexpr Colour kPurple = rgb(255, 0, 255);
constexpr Colour kAxis = rgb(96, 96, 96);

class PlotView3dTest : public CalculatorFixture {
protected:
    static void store(int slot, const std::string& words) { test::store_slot(PLOT_3D, slot, words); }
    // u and v over -3..3 in ten steps: a saddle (u, v, u v / 3).
    static void saddle(int surface) {
        store(3 * surface, "#856");
        store(3 * surface + 1, "#857");
        store(3 * surface + 2, "#856 * #857 / 3");
    }
    void enter_3d() {
        g_plot.type = PLOT_3D;
        g_plot.tmin = g_plot.vmin = -3;
        g_plot.tmax = g_plot.vmax = 3;
        g_plot.tstep = g_plot.vstep = 0.6;
        key(45);
    }
    static int count(const Surface& s, Colour c) {
        int n = 0;
        for (int r = 0; r < PLOT_HEIGHT; ++r)
            for (int col = 0; col < PLOT_WIDTH; ++col) n += s.get(col, r) == c;
        return n;
    }
    static bool same(const Surface& a, const Surface& b) {
        for (int r = 0; r < PLOT_HEIGHT; ++r)
            for (int c = 0; c < PLOT_WIDTH; ++c)
                if (a.get(c, r) != b.get(c, r)) return false;
        return true;
    }
    // The picture a fresh full paint gives for the settings as they are.
    Surface repainted() {
        mark_plot_redraw();
        paint_face();
        return plot_image();
    }
};

TEST_F(PlotView3dTest, ZAxisOfTheDefaultWindow) {
    g_plot.type = PLOT_3D;
    key(45);
    const Surface& s = plot_image();
    for (int r = 0; r <= 90; ++r) EXPECT_EQ(s.get(113, r), kAxis) << r;
    EXPECT_EQ(s.get(113, 91), COLOUR_WHITE);
    EXPECT_EQ(s.get(112, 45), COLOUR_WHITE);
    EXPECT_EQ(s.get(114, 45), COLOUR_WHITE);
    EXPECT_EQ(window.frame().get(113 + PLOT_LEFT, 45 + PLOT_TOP), kAxis);
    EXPECT_EQ(window.title(), "3D Cartesian (trace)");
}

TEST_F(PlotView3dTest, SurfacesInTheirColoursAndOneWithAnUndefinedSlotLeftOut) {
    saddle(0);
    saddle(1);
    g_plot.view_angle[0] = 100;   // the second surface is drawn over the first
    enter_3d();
    EXPECT_EQ(count(plot_image(), kBlue), 0);
    EXPECT_GT(count(plot_image(), kPurple), 200);
    g_plot_slots[PLOT_3D][4].count = 0;
    const Surface first = repainted();
    EXPECT_GT(count(first, kBlue), 200);
    EXPECT_EQ(count(first, kPurple), 0);
}

TEST_F(PlotView3dTest, RotateDragTurnsTheViewOnRelease) {
    saddle(0);
    enter_3d();
    key(23);
    ASSERT_EQ(g_plot.cursor, CURSOR_ROTATE);
    EXPECT_EQ(window.title(), "3D Cartesian (rotate)");
    const Surface before = plot_image();
    const MemorySlot ans = g_ans;

    stylus(EventType::StylusDown, 100, 100);
    stylus(EventType::StylusMove, 140, 100);
    stylus(EventType::StylusMove, 180, 100);
    // A coarse preview turned by the drag so far; the angles stay.
    EXPECT_EQ(g_plot.view_angle[0], 0);
    EXPECT_FALSE(same(plot_image(), before));
    EXPECT_TRUE(last_surface_mesh().reused);
    EXPECT_EQ(last_surface_mesh().nu, 6);
    EXPECT_EQ(g_surface_trace.count, 0);
    stylus(EventType::StylusUp, 180, 100);

    EXPECT_EQ(g_plot.view_angle[0], 80);   // one radian
    EXPECT_EQ(g_plot.view_angle[1], 0);
    EXPECT_EQ(last_surface_mesh().nu, 11);  // full resolution again
    EXPECT_EQ(g_surface_trace.count, 121);
    const Surface released = plot_image();
    EXPECT_TRUE(same(released, repainted()));
    EXPECT_EQ(g_ans.re, ans.re);
    EXPECT_FALSE(error_pending());

    // Both directions at once; the picture ends where the stylus left it.
    stylus(EventType::StylusDown, 150, 120);
    stylus(EventType::StylusMove, 130, 140);
    stylus(EventType::StylusMove, 120, 90);
    stylus(EventType::StylusUp, 120, 90);
    EXPECT_EQ(g_plot.view_angle[0], 50);
    EXPECT_EQ(g_plot.view_angle[1], -30);
}

TEST_F(PlotView3dTest, TraceShowsTheNearestNodeAndItsValues) {
    g_settings.angle_unit = ANGLE_DEG;
    g_plot.coordinates = COORD_CYLINDRICAL;
    store(3, "#856 * 30");   // theta
    store(4, "#857 + 4");    // R
    store(5, "#856");        // Z
    g_plot.trace_function[PLOT_3D] = 3;
    enter_3d();
    ASSERT_EQ(g_surface_trace.count, 121);
    const SurfaceTraceNode node = g_surface_trace.nodes[60];   // u = 0, v = 0: (4, 0, 0)
    EXPECT_EQ(node.c[0], 0);
    EXPECT_EQ(node.c[1], 4);

    tap(static_cast<int>(node.px) + PLOT_LEFT, static_cast<int>(node.py) + PLOT_TOP);
    EXPECT_TRUE(g_plot.overlay_shown);
    const Surface& o = plot_overlay();
    const int column = static_cast<int>(node.px);
    for (int r : {0, 60, 179}) EXPECT_EQ(o.get(column, r), kPurple) << r;
    // The read-outs: theta on line 160, R and Z on line 170.
    int ink_160 = 0, ink_170 = 0;
    for (int c = 2; c < 60; ++c)
        for (int r = 0; r < 8; ++r) {
            ink_160 += o.get(c, 160 + r) != COLOUR_WHITE && o.get(c, 160 + r) != kPurple;
            ink_170 += o.get(c, 170 + r) != COLOUR_WHITE && o.get(c, 170 + r) != kPurple;
        }
    EXPECT_GT(ink_160, 10);
    EXPECT_GT(ink_170, 20);
    EXPECT_EQ(window.frame().get(column + PLOT_LEFT, 5 + PLOT_TOP), kPurple);
}

}  // namespace
}  // namespace qx

namespace qx {
namespace {

TEST_F(PlotView3dTest, ArrowsTurnTheViewWithTheRotateToolAndScrollOtherwise) {
    saddle(0);
    enter_3d();
    const PlotWindow before = current_window();
    // Face arrows 8..11 and the PC's arrows alike.
    key(23);
    key(9);
    press(KEY_LEFT);
    press(KEY_LEFT);
    press(KEY_DOWN);
    EXPECT_EQ(g_plot.view_angle[0], -10.0);
    EXPECT_EQ(g_plot.view_angle[1], 10.0);
    EXPECT_EQ(current_window().xmin, before.xmin);
    EXPECT_TRUE(same(plot_image(), repainted()));
    key(20);   // trace: the arrows scroll again
    press(KEY_RIGHT);
    EXPECT_GT(current_window().xmin, before.xmin);
    EXPECT_EQ(g_plot.view_angle[0], -10.0);
}

}  // namespace
}  // namespace qx
