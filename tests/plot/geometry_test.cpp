// Window and pixel arithmetic: grid, axes, mapping, the line clipper and the
// window tools.  Expected pixels are worked out by hand (or with python3) in
// the comments.
#include "plot/geometry.h"

#include <gtest/gtest.h>

#include <chrono>
#include <cmath>
#include <limits>
#include <vector>

#include "engine/errors.h"

namespace qx::test {
namespace {

constexpr PlotWindow kDefault{-10, 10, -10, 10};

std::vector<int> positions(const GridAxis& g) { return {g.position, g.position + g.count}; }

TEST(Grid, DefaultWindowLinesAndAxes) {
    // Spacing 2; lines at -10, -8, .., 8: column trunc((v + 10) / 20 * 226),
    // row trunc(180 - (v + 10) / 20 * 180); the row of -10 is 180, outside.
    const GridAxis cols = grid_columns(kDefault);
    ASSERT_TRUE(cols.shown);
    EXPECT_EQ(cols.spacing, 2.0);
    EXPECT_EQ(positions(cols), (std::vector<int>{0, 22, 45, 67, 90, 113, 135, 158, 180, 203}));
    const GridAxis rows = grid_rows(kDefault);
    ASSERT_TRUE(rows.shown);
    EXPECT_EQ(positions(rows), (std::vector<int>{162, 144, 126, 108, 90, 72, 54, 36, 18}));
    EXPECT_EQ(axis_column(kDefault), 113);
    EXPECT_EQ(axis_row(kDefault), 90);
}

TEST(Grid, LinesFallOnWholeMultiplesOfTheSpacing) {
    // 0.25..10.25: spacing 1, lines at 1..10, column trunc((k - 0.25) / 10 * 226),
    // row trunc(180 - (k - 0.25) / 10 * 180).
    const PlotWindow w{0.25, 10.25, 0.25, 10.25};
    const GridAxis cols = grid_columns(w);
    EXPECT_EQ(cols.spacing, 1.0);
    EXPECT_EQ(positions(cols), (std::vector<int>{16, 39, 62, 84, 107, 129, 152, 175, 197, 220}));
    EXPECT_EQ(positions(grid_rows(w)),
              (std::vector<int>{166, 148, 130, 112, 94, 76, 58, 40, 22, 4}));
    // Zero not strictly inside: no axes.
    EXPECT_EQ(axis_column(w), -1);
    EXPECT_EQ(axis_row(PlotWindow{-5, 5, 0, 5}), -1);
}

TEST(Grid, SpacingsOfOtherWidths) {
    // width -> spacing: 1 gives 0.1 (s w = 10), 3 gives 0.5, 7 gives 1, 1e100 gives 1e99 * 2.
    const struct { double width, spacing; } cases[] = {
        {1, 0.1}, {3, 0.5}, {7, 1}, {20, 2}, {40, 5}, {2e100, 2e99},
    };
    for (const auto& c : cases) {
        const GridAxis g = grid_columns(PlotWindow{0, c.width, 0, 1});
        EXPECT_TRUE(g.shown) << c.width;
        EXPECT_NEAR(g.spacing, c.spacing, c.spacing * 1e-12) << c.width;
        EXPECT_GE(g.count, 4) << c.width;
        EXPECT_LE(g.count, MAX_GRID_LINES) << c.width;
    }
}

TEST(Grid, DegenerateWidthsReturnAtOnce) {
    const double inf = std::numeric_limits<double>::infinity();
    const auto start = std::chrono::steady_clock::now();
    // A width of 1e-58 still has a spacing; the others have none.
    const GridAxis tiny = grid_columns(PlotWindow{0, 1e-58, 0, 1});
    EXPECT_TRUE(tiny.shown);
    EXPECT_LE(tiny.count, MAX_GRID_LINES);
    const PlotWindow refused[] = {
        {0, 1e-310, 0, 1}, {0, 5e-324, 0, 1}, {1, 1, 0, 1}, {2, 1, 0, 1},
        {-inf, inf, 0, 1}, {0, std::nan(""), 0, 1},
    };
    for (const PlotWindow& w : refused) {
        const GridAxis g = grid_columns(w);
        EXPECT_FALSE(g.shown) << w.xmax;
        EXPECT_EQ(g.count, 0);
    }
    EXPECT_FALSE(grid_rows(PlotWindow{0, 1, 0, 1e-315}).shown);
    EXPECT_LT(std::chrono::steady_clock::now() - start, std::chrono::seconds(1));
}

TEST(Mapping, WindowToPixel) {
    const double inf = std::numeric_limits<double>::infinity();
    // px = (x + 10) * 11.3, py = (10 - y) * 9 on the default window.
    const struct { double in, px, py; } cases[] = {
        {0, 113, 90},           {-10, 0, 180},          {10, 226, 0},
        {5, 169.5, 45},         {2640, 29945, -23670},  {-2700, -30000, 24390},
        {1e6, 30000, -30000},   {inf, 30000, -30000},   {-inf, -30000, 30000},
        {UNDEFINED_VALUE, UNDEFINED_VALUE, UNDEFINED_VALUE},
        {std::nan(""), UNDEFINED_VALUE, UNDEFINED_VALUE},
    };
    for (const auto& c : cases) {
        EXPECT_NEAR(map_x(kDefault, c.in), c.px, 1e-9) << c.in;
        EXPECT_NEAR(map_y(kDefault, c.in), c.py, 1e-9) << c.in;
    }
}

TEST(Mapping, PixelToWindowRoundTrips) {
    const PlotWindow w{-3.5, 1e3, 2e-3, 4e-3};
    for (double p : {0.0, 17.0, 90.0, 179.0, 225.0}) {
        EXPECT_NEAR(map_x(w, column_to_x(w, p)), p, 1e-9);
        EXPECT_NEAR(map_y(w, row_to_y(w, p)), p, 1e-9);
    }
    // 1/226 and 1/180 of the default window.
    EXPECT_NEAR(column_to_x(kDefault, 1), -10 + 20.0 / 226, 1e-15);
    EXPECT_NEAR(row_to_y(kDefault, 1), 10 - 20.0 / 180, 1e-15);
}

TEST(Clipper, Table) {
    const double U = UNDEFINED_VALUE;
    const struct {
        const char* what;
        double x0, y0, x1, y1;
        bool visible;
        double ex0, ey0, ex1, ey1;
    } cases[] = {
        {"inside", 10, 10, 100, 50, true, 10, 10, 100, 50},
        {"left", -5, 10, -1, 100, false, 0, 0, 0, 0},
        {"right", 230, 10, 300, 20, false, 0, 0, 0, 0},
        {"above", 10, -5, 50, -1, false, 0, 0, 0, 0},
        {"below", 10, 200, 50, 190, false, 0, 0, 0, 0},
        {"horizontal through", -100, 50, 300, 50, true, 0, 50, 225, 50},
        {"vertical through", 30, -20, 30, 400, true, 30, 0, 30, 179},
        // y = x: enters at (0, 0), leaves through the bottom at (179, 179).
        {"diagonal", -10, -10, 235, 235, true, 0, 0, 179, 179},
        // y = x - 230 passes above the top right corner (y = -5 at x = 225).
        {"past a corner", 200, -30, 260, 30, false, 0, 0, 0, 0},
        // Left edge at x = 0: y = 50 + 50 * (0 - 50) / (-100) = 75.
        {"one end out", 50, 50, -50, 100, true, 50, 50, 0, 75},
        // y = 179 - x touches the bottom left corner.
        {"through a corner", -10, 189, 10, 169, true, 0, 179, 10, 169},
        {"undefined end", U, 10, 20, 20, false, 0, 0, 0, 0},
        {"NaN end", 10, 10, 20, std::nan(""), false, 0, 0, 0, 0},
    };
    for (const auto& c : cases) {
        double x0 = c.x0, y0 = c.y0, x1 = c.x1, y1 = c.y1;
        ASSERT_EQ(clip_segment(x0, y0, x1, y1, PLOT_CLIP), c.visible) << c.what;
        if (!c.visible) continue;
        EXPECT_NEAR(x0, c.ex0, 1e-9) << c.what;
        EXPECT_NEAR(y0, c.ey0, 1e-9) << c.what;
        EXPECT_NEAR(x1, c.ex1, 1e-9) << c.what;
        EXPECT_NEAR(y1, c.ey1, 1e-9) << c.what;
    }
}

struct LastLine : PlotCanvas {
    int calls = 0, x0 = 0, y0 = 0, x1 = 0, y1 = 0;
    void line(int a, int b, int c, int d, std::uint32_t) override {
        ++calls;
        x0 = a, y0 = b, x1 = c, y1 = d;
    }
    void pixel(int, int, std::uint32_t) override {}
};

TEST(Clipper, DrawTruncatesTheClippedEnds) {
    LastLine canvas;
    // Left edge: y = 10.7 + 20 * 2.5 / 10 = 15.7.
    draw_clipped(canvas, -2.5, 10.7, 7.5, 30.7, 0);
    EXPECT_EQ(canvas.calls, 1);
    EXPECT_EQ((std::vector<int>{canvas.x0, canvas.y0, canvas.x1, canvas.y1}),
              (std::vector<int>{0, 15, 7, 30}));
    draw_clipped(canvas, -30000, -30000, -30000, 30000, 0);
    EXPECT_EQ(canvas.calls, 1);
}

TEST(WindowTools, ZoomAndScroll) {
    const PlotWindow w{0, 4, 2, 10};
    const struct { PlotWindow got, want; } cases[] = {
        {zoom_window(w, 0.5, false, false), {1, 3, 4, 8}},
        {zoom_window(w, 2, false, false), {-2, 6, -2, 14}},
        {zoom_window(w, 0.5, true, false), {0, 4, 4, 8}},
        {zoom_window(w, 2, false, true), {-2, 6, 2, 10}},
        {zoom_window(w, 0.5, true, true), {0, 4, 2, 10}},
        {scroll_window(w, SCROLL_LEFT), {-1, 3, 2, 10}},
        {scroll_window(w, SCROLL_RIGHT), {1, 5, 2, 10}},
        {scroll_window(w, SCROLL_UP), {0, 4, 4, 12}},
        {scroll_window(w, SCROLL_DOWN), {0, 4, 0, 8}},
        {centred_window(w), {-2, 2, -4, 4}},
        {zoom_window(kDefault, 0.5, false, false), {-5, 5, -5, 5}},
    };
    for (std::size_t i = 0; i < sizeof cases / sizeof cases[0]; ++i) {
        const PlotWindow& g = cases[i].got;
        const PlotWindow& e = cases[i].want;
        EXPECT_EQ((std::vector<double>{g.xmin, g.xmax, g.ymin, g.ymax}),
                  (std::vector<double>{e.xmin, e.xmax, e.ymin, e.ymax}))
            << "case " << i;
    }
}

TEST(WindowTools, BoxZoom) {
    // xmin' = -10 + 50 * 20 / 226, xmax' = -10 + 150 * 20 / 226,
    // ymax' = 10 - 50 * 20 / 180, ymin' = 10 - 100 * 20 / 180.
    for (const auto& corners : {std::vector<int>{50, 50, 150, 100}, {150, 100, 50, 50},
                                {50, 100, 150, 50}}) {
        PlotWindow out{};
        ASSERT_TRUE(box_zoom_window(kDefault, corners[0], corners[1], corners[2], corners[3], &out));
        EXPECT_NEAR(out.xmin, -5.5752212389, 1e-9);
        EXPECT_NEAR(out.xmax, 3.2743362832, 1e-9);
        EXPECT_NEAR(out.ymin, -1.1111111111, 1e-9);
        EXPECT_NEAR(out.ymax, 4.4444444444, 1e-9);
    }
    PlotWindow out{};
    EXPECT_FALSE(box_zoom_window(kDefault, 50, 50, 60, 100, &out));   // 10 wide
    EXPECT_FALSE(box_zoom_window(kDefault, 50, 50, 150, 60, &out));   // 10 high
    EXPECT_TRUE(box_zoom_window(kDefault, 50, 50, 61, 61, &out));
}

TEST(WindowTools, Pan) {
    PlotWindow out{};
    EXPECT_FALSE(pan_window(kDefault, 1, -1, &out));
    EXPECT_FALSE(pan_window(kDefault, 0, 0, &out));
    // Dragging right by 2 pixels moves the window left by 2 * 20 / 226.
    ASSERT_TRUE(pan_window(kDefault, 2, 0, &out));
    EXPECT_NEAR(out.xmin, -10.176991150442477, 1e-12);
    EXPECT_NEAR(out.xmax, 9.823008849557523, 1e-12);
    EXPECT_EQ(out.ymin, -10);
    // Dragging down by 18 rows moves it up by 18 * 20 / 180 = 2.
    ASSERT_TRUE(pan_window(kDefault, 0, 18, &out));
    EXPECT_EQ(out.xmin, -10);
    EXPECT_NEAR(out.ymin, -8, 1e-12);
    EXPECT_NEAR(out.ymax, 12, 1e-12);
}

}  // namespace
}  // namespace qx::test
