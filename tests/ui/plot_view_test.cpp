// PLOT mode through the calculator's own keys and stylus: the picture
// (grid, axes, curves), sending expressions from COMP, the cursor tools,
// the zoom and scroll keys, and the drawing statements.
#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <vector>

#include "plot/geometry.h"
#include "tests/plot/plot_fixture.h"
#include "tests/ui/calculator_fixture.h"

namespace qx {
namespace {

constexpr Colour kBlue = rgb(0, 0, 255);
constexpr Colour kGrid = rgb(208, 208, 208);
constexpr Colour kAxis = rgb(96, 96, 96);

class PlotViewTest : public CalculatorFixture {
protected:
    static void store(int type, int slot, const std::string& words) { test::store_slot(type, slot, words); }
    void enter_plot() { key(45); }
    // A plot pixel as the window shows it.
    Colour at(int column, int row) { return window.frame().get(column + PLOT_LEFT, row + PLOT_TOP); }
    void drag(int x0, int y0, int x1, int y1) {
        stylus(EventType::StylusDown, x0, y0);
        stylus(EventType::StylusMove, (x0 + x1) / 2, (y0 + y1) / 2);
        stylus(EventType::StylusMove, x1, y1);
        stylus(EventType::StylusUp, x1, y1);
    }
    void enter_line(const std::string& words) {
        const std::vector<TokenCode> t = test::toks(words);
        std::memcpy(g_input.line.tokens, t.data(), t.size() * sizeof(TokenCode));
        g_input.line.count = static_cast<int>(t.size());
        g_input.cursor = g_input.line.count;
    }
    bool plot_area_shows(const Surface& picture) {
        for (int r = 0; r < PLOT_HEIGHT; ++r)
            for (int c = 0; c < PLOT_WIDTH; ++c)
                if (at(c, r) != picture.get(c, r)) return false;
        return true;
    }
    static void expect_window(double xmin, double xmax, double ymin, double ymax) {
        EXPECT_NEAR(g_plot.xmin, xmin, 1e-9);
        EXPECT_NEAR(g_plot.xmax, xmax, 1e-9);
        EXPECT_NEAR(g_plot.ymin, ymin, 1e-9);
        EXPECT_NEAR(g_plot.ymax, ymax, 1e-9);
    }
};

TEST_F(PlotViewTest, DefaultWindowDrawsGridAndAxes) {
    enter_plot();
    EXPECT_TRUE(logged("box Note:"));   // no function yet: the hint first
    ASSERT_EQ(g_settings.calculator_mode, MODE_PLOT);
    for (int c : {0, 22, 45, 67, 90, 135, 158, 180, 203}) EXPECT_EQ(at(c, 100), kGrid) << c;
    for (int c : {1, 30, 112, 114, 225}) EXPECT_EQ(at(c, 100), COLOUR_WHITE) << c;
    for (int r = 18; r <= 162; r += 18) EXPECT_EQ(at(150, r), r == 90 ? kAxis : kGrid) << r;
    EXPECT_EQ(at(150, 100), COLOUR_WHITE);
    EXPECT_EQ(at(113, 100), kAxis);
    EXPECT_EQ(at(150, 90), kAxis);
    EXPECT_EQ(window.title(), "Function (trace)");
}

TEST_F(PlotViewTest, SentFunctionIsDrawnInItsColour) {
    key(0);    // orange: the variable key gives x
    key(26);
    key(1);    // blue: Plot
    key(26);
    EXPECT_TRUE(logged("dialog Plot Functions"));
    ASSERT_TRUE(slot_defined(PLOT_FUNCTION, 0));
    enter_plot();
    EXPECT_FALSE(logged("box Note:"));
    EXPECT_EQ(at(50, 140), kBlue);
    EXPECT_EQ(at(50, 139), COLOUR_WHITE);
}

TEST_F(PlotViewTest, ComplexExpressionsAreNotPlotted) {
    enter_line("x sq + i");
    key(1);
    key(26);
    EXPECT_TRUE(logged("box Norm: Plotting does not support complex or imaginary numbers."));
    EXPECT_FALSE(any_slot_defined(PLOT_FUNCTION));
}

TEST_F(PlotViewTest, BoxZoomThenHome) {
    store(PLOT_FUNCTION, 0, "x");
    enter_plot();
    key(21);
    EXPECT_EQ(window.title(), "Function (box zoom)");
    drag(57, 56, 157, 106);
    expect_window(-5.5752212389, 3.2743362832, -1.1111111111, 4.4444444444);
    key(7);   // Home centres on the origin
    expect_window(-4.4247787611, 4.4247787611, -2.7777777778, 2.7777777778);
    // A box of ten pixels or less only erases the rectangle.
    drag(60, 60, 70, 120);
    expect_window(-4.4247787611, 4.4247787611, -2.7777777778, 2.7777777778);
    EXPECT_TRUE(plot_area_shows(plot_image()));
}

TEST_F(PlotViewTest, PanFollowsTheStylusAndARefusedPanRestoresThePicture) {
    enter_plot();
    key(22);
    drag(100, 100, 122, 82);   // 22 right, 18 up
    expect_window(-10 - 22 * 20.0 / 226, 10 - 22 * 20.0 / 226, -12, 8);
    ASSERT_TRUE(set_plot_window(-1e100, -1e100, 1e100, 1e100));
    mark_plot_redraw();
    paint_face();
    drag(100, 100, 150, 100);
    expect_window(-1e100, 1e100, -1e100, 1e100);
    EXPECT_TRUE(plot_area_shows(plot_image()));
}

TEST_F(PlotViewTest, ZoomAndScrollKeys) {
    enter_plot();
    const struct {
        int key;
        double xmin, xmax, ymin, ymax;
    } steps[] = {
        {3, -5, 5, -5, 5},       // zoom in
        {4, -10, 10, -10, 10},   // zoom out
        {8, -15, 5, -10, 10},    // left
        {9, -10, 10, -10, 10},   // right
        {10, -10, 10, -5, 15},   // up
        {11, -10, 10, -10, 10},  // down
        {5, -10, 10, -10, 10},   // lock x
        {3, -10, 10, -5, 5},     // zoom in: only y
        {6, -10, 10, -5, 5},     // lock y too
        {3, -10, 10, -5, 5},     // nothing happens
    };
    for (const auto& s : steps) {
        key(s.key);
        expect_window(s.xmin, s.xmax, s.ymin, s.ymax);
    }
}

TEST_F(PlotViewTest, TraceDrawsOnTheOverlayAndLeavesTheCalculationAlone) {
    store(PLOT_FUNCTION, 0, "x sq");
    memory_set(3.0, 0, MEM_X);
    g_ans = MemorySlot{5.0, 0.0};
    enter_plot();
    tap(PLOT_LEFT + 50, PLOT_TOP + 20);
    EXPECT_TRUE(g_plot.overlay_shown);
    EXPECT_EQ(plot_overlay().get(50, 5), kBlue);        // the cursor's vertical line
    EXPECT_EQ(plot_image().get(50, 5), COLOUR_WHITE);  // the picture itself is untouched
    EXPECT_TRUE(plot_area_shows(plot_overlay()));
    EXPECT_EQ(memory_get(MEM_X, 0), 3.0);
    EXPECT_EQ(g_ans.re, 5.0);
    // Where the function is undefined the cursor has no horizontal line.
    store(PLOT_FUNCTION, 0, "sqrt x");
    mark_plot_redraw();
    paint_face();
    tap(PLOT_LEFT + 50, PLOT_TOP + 20);
    int coloured = 0;
    for (int c = 0; c < PLOT_WIDTH; ++c) coloured += plot_overlay().get(c, 120) == kBlue;
    EXPECT_EQ(coloured, 1);
}

TEST_F(PlotViewTest, DrawingStatementsDrawOnTheOverlay) {
    enter_line("#493 ~10 , ~10 , 10 , 10 )");   // Line(-10,-10,10,10)
    key(42);
    EXPECT_FALSE(error_pending());
    EXPECT_TRUE(g_plot.overlay_shown);
    int dark = 0;
    for (int r = 85; r <= 95; ++r) dark += plot_overlay().get(113, r) == COLOUR_BLACK;
    EXPECT_EQ(dark, 1);
    // From (x1, y1) to (x2, y2): the right edge is not a line.
    EXPECT_NE(plot_overlay().get(225, 90), COLOUR_BLACK);
    enter_line("#491 300 , 0 , 0 )");
    key(42);
    EXPECT_TRUE(error_pending());
    EXPECT_EQ(error_code(), ERR_DOMAIN);
    EXPECT_STREQ(error_detail(), "Integer out of range, int_in_range");
    key(27);
    enter_line("#491 255 , 0 , 0 )");
    key(42);
    enter_line("#494 ~5 , ~5 , 5 , 5 )");   // Rect(-5,-5,5,5): all four corners
    key(42);
    const Colour red = rgb(255, 0, 0);
    EXPECT_EQ(plot_overlay().get(56, 45), red);
    EXPECT_EQ(plot_overlay().get(169, 45), red);
    EXPECT_EQ(plot_overlay().get(56, 135), red);
    EXPECT_EQ(plot_overlay().get(169, 135), red);
    enter_line("#490 0 )");
    key(42);
    EXPECT_FALSE(error_pending());
    EXPECT_EQ(plot_overlay().get(56, 45), COLOUR_WHITE);
    EXPECT_EQ(plot_overlay().get(113, 100), COLOUR_WHITE);   // the axis is gone too
}

TEST_F(PlotViewTest, DrawingInsideAnExpressionLeavesItsValueAlone) {
    // Redrawing the plot for the overlay would evaluate the slot in the
    // middle of this evaluation and wipe its registers.
    store(PLOT_FUNCTION, 0, "x sq");
    for (const char* words : {"2 * 3 + #493 ~10 , ~10 , 10 , 10 )", "abs( 6 ) + #493 ~10 , ~10 , 10 , 10 )",
                              "#493 ~10 , ~10 , 10 , 10 ) + abs( 6 )", "( 2 * 3 ) + #493 ~10 , ~10 , 10 , 10 )",
                              "#493 ~10 , ~10 , 10 , 10 ) + Max( 6 , 1 )"}) {
        g_plot.overlay_shown = false;
        mark_plot_redraw();
        enter_line(words);
        key(42);
        EXPECT_FALSE(error_pending()) << words;
        EXPECT_EQ(result(), "6") << words;
    }
}

TEST_F(PlotViewTest, ExtremeWindowsDrawWithoutHanging) {
    store(PLOT_FUNCTION, 0, "10^ x");
    store(PLOT_FUNCTION, 1, "x");
    const struct {
        double xmin, ymin, xmax, ymax;
    } windows[] = {
        {300, 0, 310, 1e100},
        {1, 1, 1 + 1e-58 * 1e43, 1 + 1e-15},
        {0, 0, 1e-58, 1e-58},
        {0, 0, 1e-310, 1e-310},
        {-1e100, -1e100, 1e100, 1e100},
    };
    enter_plot();
    for (const auto& w : windows) {
        ASSERT_TRUE(set_plot_window(w.xmin, w.ymin, w.xmax, w.ymax)) << w.xmax;
        mark_plot_redraw();
        paint_face();
        EXPECT_EQ(g_settings.calculator_mode, MODE_PLOT);
    }
}

}  // namespace
}  // namespace qx
