// The STATS mode dialogs answered through a headless window, and their
// pictures and texts drawn on plain surfaces.
#include <gtest/gtest.h>

#include <functional>
#include <initializer_list>
#include <string>
#include <vector>

#include "engine/errors.h"
#include "engine/settings.h"
#include "panel/stats_dialogs.h"
#include "panel/subsystems.h"
#include "panel/ui.h"
#include "platform/window_headless.h"
#include "stats/stats.h"
#include "tests/helpers.h"

namespace qx {
namespace {

using Lines = std::vector<std::string>;
using Rows = std::vector<Lines>;

constexpr Colour kBlue = rgb(0, 0, 255);
constexpr Colour kRed = rgb(255, 0, 0);
constexpr Colour kLight = rgb(192, 192, 255);
constexpr Colour kGrey = rgb(128, 128, 128);
constexpr Colour kBlack = COLOUR_BLACK;
constexpr Colour kWhite = COLOUR_WHITE;
constexpr Colour kUnpainted = rgb(1, 2, 3);

int g_title_refreshes = 0;

class StatsDialogsTest : public ::testing::Test {
protected:
    void SetUp() override {
        test::fresh_state();
        reset_stats();
        saved_refresh_ = g_panel.window_title_refresh;
        g_title_refreshes = 0;
        g_panel.window_title_refresh = [] { ++g_title_refreshes; };
        window.set_logger([this](const std::string& line) { log.push_back(line); });
        ui().window = &window;
    }
    void TearDown() override {
        ui().window = nullptr;
        g_panel.window_title_refresh = saved_refresh_;
        reset_stats();
        test::fresh_state();
    }

    // Two-variable values alternate x, y.
    static void set_data(int kind, std::initializer_list<double> values) {
        clear_stat_data();
        g_settings.stats_var = kind;
        for (double v : values) add_stat_point(v, 0, false);
    }
    void answer(const std::string& button, const std::vector<std::pair<std::string, std::string>>& fields = {},
                std::function<void(const Surface&)> shown = {}) {
        ScriptedAnswer a(button, fields);
        a.on_shown = std::move(shown);
        window.push_answer(a);
    }

    HeadlessWindow window;
    Lines log;

private:
    void (*saved_refresh_)() = nullptr;
};

Surface blank() { return Surface(DIALOG_MAX_CLIENT_WIDTH, DIALOG_MAX_CLIENT_HEIGHT, kUnpainted); }

// Pixels of colour c, inside the box when one is given.
int count_colour(const Surface& s, Colour c, int left = 0, int top = 0, int right = 9999, int bottom = 9999) {
    int n = 0;
    for (int y = top; y <= bottom && y < s.height(); ++y)
        for (int x = left; x <= right && x < s.width(); ++x) n += s.get(x, y) == c;
    return n;
}

struct PixelCase {
    int x, y;
    Colour colour;
};

void expect_pixels(const Surface& s, std::initializer_list<PixelCase> cases) {
    for (const PixelCase& p : cases) EXPECT_EQ(s.get(p.x, p.y), p.colour) << "at " << p.x << "," << p.y;
}

TEST_F(StatsDialogsTest, ListRows) {
    const struct {
        int kind;
        std::initializer_list<double> values;
        int format, digits;
        Rows rows;
    } cases[] = {
        {0, {1, 2.5, -3e-7}, FMT_FLOAT, 10, {{"1", "1"}, {"2", "2.5"}, {"3", "-3e-7"}}},
        {1, {1, 1.8, 2, 4.1}, FMT_FLOAT, 10, {{"1", "1", "1.8"}, {"2", "2", "4.1"}}},
        {0, {2.5}, FMT_FIXED, 2, {{"1", "2.50"}}},
        {0, {}, FMT_FLOAT, 10, {{"----", "No Data"}}},
        {1, {}, FMT_FLOAT, 10, {{"----", "No Data", "No Data"}}},
        {1, {7, 8, 9}, FMT_FLOAT, 10, {{"1", "7", "8"}}},   // a half-entered point is no row
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(testing::Message() << c.kind << " " << c.values.size());
        g_settings.number_format = c.format;
        g_settings.decimal_digits = c.digits;
        set_data(c.kind, c.values);
        EXPECT_EQ(stats_list_rows(), c.rows);
    }
}

TEST_F(StatsDialogsTest, ListDeleteRemovesTheSelectedPointAndStaysOpen) {
    set_data(1, {1, 1.8, 2, 4.1, 3, 5.9});
    answer("Delete", {{"#1027", "2"}});
    answer("Delete");   // the list was filled again: nothing selected
    answer("OK");
    stats_list_dialog();
    EXPECT_EQ(log, (Lines{"dialog Stats List -> Delete", "dialog Stats List -> Delete", "dialog Stats List -> OK"}));
    EXPECT_EQ(stats_list_rows(), (Rows{{"1", "1", "1.8"}, {"2", "3", "5.9"}}));
    EXPECT_EQ(g_title_refreshes, 1);

    // The "No Data" row can be selected, but there is nothing to delete.
    set_data(0, {});
    answer("Delete", {{"#1027", "#0"}});
    answer("OK");
    stats_list_dialog();
    EXPECT_EQ(stats_data().count, 0);
    EXPECT_EQ(g_title_refreshes, 1);
}

TEST_F(StatsDialogsTest, SummaryLines) {
    // python3: x = 1..5, y = 1.8, 4.1, 5.9, 8.2, 9.8; deviations sqrt(10/5)
    // and sqrt(10/4); weighted means 109.5/29.8 and 109.5/15.
    set_data(1, {1, 1.8, 2, 4.1, 3, 5.9, 4, 8.2, 5, 9.8});
    EXPECT_EQ(stats_summary_lines(),
              (Lines{"n = 5", "x mean = 3", "x weighted mean = 3.6744966443", "x min = 1", "x max = 5",
                     "x sum = 15", "x sum of squares = 55", "x std dev = 1.4142135624",
                     "x std dev(n-1) = 1.5811388301", "y mean = 5.96", "y weighted mean = 7.3", "y min = 1.8",
                     "y max = 9.8", "y sum = 29.8", "y sum of squares = 218.14", "y std dev = 2.8471740375",
                     "y std dev(n-1) = 3.1832373458", "xy sum = 109.5"}));
    set_data(0, {4});
    EXPECT_EQ(stats_summary_lines(), (Lines{"n = 1", "x mean = 4", "x min = 4", "x max = 4", "x sum = 4",
                                            "x sum of squares = 16", "x std dev = 0", "x std dev(n-1) = Error"}));
    EXPECT_FALSE(error_pending());
    set_data(0, {});
    EXPECT_EQ(stats_summary_lines(), Lines{"No Data"});
}

TEST_F(StatsDialogsTest, SelectPlotRoutes) {
    const struct {
        int kind;
        std::initializer_list<double> values;
        const char* button;
        int choice;
        Lines lines;
    } cases[] = {
        {1, {}, "", -1, {"box Stats: No Data -> OK"}},   // the box takes the answer
        {0, {1, 2}, "Line Plot", 0, {"dialog Select Plot -> Line Plot", "dialog Line Chart -> OK"}},
        {0, {1, 2}, "Histogram Plot", 1, {"dialog Select Plot -> Histogram Plot", "dialog Histogram Plot -> OK"}},
        {0, {1, 2}, "Scatter Plot", 2, {"dialog Select Plot -> Scatter Plot", "box Stats: No y Data -> OK"}},
        {1, {1, 2}, "Scatter Plot", 2, {"dialog Select Plot -> Scatter Plot", "dialog Scatter Plot -> OK"}},
        {1, {1, 2}, "Cancel", -1, {"dialog Select Plot -> Cancel"}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.button);
        log.clear();
        g_stats_plot_choice = -1;
        set_data(c.kind, c.values);
        answer(c.button);
        stats_plot_dialog();
        EXPECT_EQ(log, c.lines);
        EXPECT_EQ(g_stats_plot_choice, c.choice);
        EXPECT_FALSE(error_pending());   // the one-point scatter fit failed quietly
    }
}

// "<" and ">" wrap round and fewer bins pull the selection in.  The
// selected bar is the only light one: its left edge tells the bin.
TEST_F(StatsDialogsTest, HistogramSelectionAndBinChoice) {
    set_data(0, {0, 2, 1});
    g_histogram_bin_choice = 1;   // 2 bins
    std::vector<int> lefts;
    auto record = [&lefts](const Surface& s) {
        int left = -1;
        for (int y = 0; y < s.height() && left < 0; ++y)
            for (int x = s.width() - 1; x >= 0; --x)
                if (s.get(x, y) == kLight) left = x;
        lefts.push_back(left);
    };
    answer("Histogram Plot");
    answer("<", {}, record);
    answer(">", {}, record);
    answer("<", {}, record);
    answer("OK", {{"Bins", "1 bins"}}, record);
    stats_plot_dialog();
    // Bar 0 is filled from column 25, bar 1 from 24 + 197/2 + 1 = 123.
    ASSERT_EQ(lefts.size(), 4u);
    EXPECT_EQ(lefts[1] - lefts[0], 98);
    EXPECT_EQ(lefts[2], lefts[0]);
    EXPECT_EQ(lefts[3], lefts[0]);
    EXPECT_EQ(g_histogram_bin_choice, 0);

    g_histogram_bin_choice = 250;   // opens as 100 bins
    answer("Histogram Plot");
    answer("OK");
    stats_plot_dialog();
    EXPECT_EQ(g_histogram_bin_choice, 99);
}

TEST_F(StatsDialogsTest, HistogramTexts) {
    const struct {
        int kind;
        std::initializer_list<double> values;
        int bins, selected;
        const char* x_line;   // the x panel's with two panels
        const char* line;     // the y panel's, or the only one
    } cases[] = {
        // Width (2 - 0) / 2 = 1: 0 below 1, then 1 and 2 in the closed last bin.
        {0, {0, 2, 1}, 2, 0, "", "min>=0.0000e0, max<1.0000e0, n=1"},
        {0, {0, 2, 1}, 2, 1, "", "min>=1.0000e0, max<=2.0000e0, n=2"},
        {0, {0, 2, 1}, 2, 7, "", "min>=1.0000e0, max<=2.0000e0, n=2"},
        // Width 0.3: 0 | 0.3 | 0.6 (two widths exactly) and 0.9.
        {0, {0, 0.3, 0.6, 0.9}, 3, 0, "", "min>=0.0000e0, max<3.0000e-1, n=1"},
        {0, {0, 0.3, 0.6, 0.9}, 3, 1, "", "min>=3.0000e-1, max<6.0000e-1, n=1"},
        {0, {0, 0.3, 0.6, 0.9}, 3, 2, "", "min>=6.0000e-1, max<=9.0000e-1, n=2"},
        {0, {5, 5, 5}, 4, 3, "", "min>=5.0000e0, max<=5.0000e0, n=3"},
        {0, {5, 5, 5}, 4, 0, "", "min>=5.0000e0, max<5.0000e0, n=0"},
        {1, {0, 10, 2, 30, 1, 20}, 2, 1, "min>=1.0000e0, max<=2.0000e0, n=2", "min>=2.0000e1, max<=3.0000e1, n=2"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.line);
        set_data(c.kind, c.values);
        std::string lines[2] = {"stale", "stale"};
        histogram_texts(c.bins, c.selected, lines);
        EXPECT_EQ(lines[0], c.x_line);
        EXPECT_EQ(lines[1], c.line);
    }
}

TEST_F(StatsDialogsTest, LineChartPixels) {
    // One panel, T = 8, H = 202.  Equal values do not rise: both points on
    // row T + H = 210, at columns 24 and 24 + 196.  Frames (5,5)-(209,214),
    // (21,5)-(224,214) and (23,7)-(222,212), right and bottom exclusive.
    set_data(0, {3, 3});
    Surface s = blank();
    paint_line_chart(s);
    expect_pixels(s, {{24, 210, kBlack}, {25, 210, kBlack}, {26, 210, kBlue}, {218, 210, kBlue},
                      {219, 210, kBlack}, {220, 209, kBlack}, {100, 209, kWhite}, {100, 211, kBlack},
                      {100, 212, kWhite}, {100, 213, kBlack}, {100, 214, kUnpainted}, {5, 100, kBlack},
                      {21, 100, kBlack}, {223, 100, kBlack}, {224, 100, kUnpainted}});

    // Two panels, H = 96: x = 1, 2, 3 rises 48 a step from row 8 + 96 and
    // equal y lie on row 115 + 96.  The x frames end on row 107, the y
    // frames begin on row 112.
    set_data(1, {1, 5, 2, 5, 3, 5});
    s = blank();
    paint_line_chart(s);
    expect_pixels(s, {{24, 104, kBlack}, {122, 56, kBlack}, {121, 56, kBlack}, {220, 9, kBlack},
                      {122, 211, kBlack}, {70, 211, kBlue}, {100, 107, kBlack}, {100, 110, kUnpainted},
                      {100, 112, kBlack}});
}

TEST_F(StatsDialogsTest, HistogramPixels) {
    // 0, 2, 1 in 2 bins: counts 1 and 2; one panel, T = 8, H = 190.  Bar 0
    // spans columns 24..122 (right 25 + 98, exclusive) from row
    // 8 + (190 - 95) = 103, bar 1 columns 122..220 from row 8; both reach
    // row 198.  The frames around them end on column 222 and row 200.
    set_data(0, {0, 2, 1});
    Surface s = blank();
    paint_histogram(s, 2, 0);
    expect_pixels(s, {{60, 150, kLight}, {60, 103, kGrey}, {60, 102, kWhite}, {24, 150, kGrey},
                      {122, 150, kGrey}, {170, 100, kBlue}, {170, 8, kGrey}, {220, 100, kGrey}, {60, 198, kGrey},
                      {221, 100, kWhite}, {222, 100, kBlack}, {60, 199, kWhite}, {60, 200, kBlack},
                      {6, 100, kBlack}, {23, 100, kWhite}});
    s = blank();
    paint_histogram(s, 2, 1);
    expect_pixels(s, {{60, 150, kBlue}, {170, 100, kLight}});
}

TEST_F(StatsDialogsTest, ScatterPlot) {
    // python3: a = 2.01, b = -0.07, r = 0.9983826850406642.
    set_data(1, {1, 1.8, 2, 4.1, 3, 5.9, 4, 8.2, 5, 9.8});
    std::string values, equation;
    scatter_fit_texts(values, equation);
    EXPECT_EQ(values, "a=2.0100e0, b=-7.0000e-2");
    EXPECT_EQ(equation, "y=(a*x)+b, r=9.9838e-1");
    Surface s = blank();
    paint_scatter_plot(s);
    // x 1 -> column 9 and 5 -> 9 + 208; y 1.8 -> row 180 and 9.8 -> row 8.
    expect_pixels(s, {{9, 180, kBlue}, {10, 180, kBlue}, {217, 8, kBlue}, {6, 5, kBlack}, {8, 7, kBlack},
                      {7, 6, kWhite}});
    const int red = count_colour(s, kRed);
    EXPECT_GT(red, 150);
    EXPECT_EQ(count_colour(s, kRed, 9, 8, 217, 180), red) << "the curve stays in its box";

    g_settings.stats_regress = REGRESS_LOG;
    set_data(1, {-1, 1, 2, 2});   // no logarithm of -1
    scatter_fit_texts(values, equation);
    EXPECT_EQ(values, "a=error, b=error");
    EXPECT_EQ(equation, "y=a*(ln x)+b, r=error");
    g_settings.stats_regress = REGRESS_LINEAR;

    // Equal x: no scale across, every point on column 9, no curve.
    set_data(1, {2, 1, 2, 3});
    s = blank();
    paint_scatter_plot(s);
    expect_pixels(s, {{9, 180, kBlue}, {9, 8, kBlue}, {10, 8, kBlue}});
    EXPECT_EQ(count_colour(s, kRed), 0);
    EXPECT_FALSE(error_pending());

    // x one rounding apart: an enormous scale, but the samples are counted,
    // so the curve ends, and it is clipped.
    set_data(1, {0.3, 1, 0.1 + 0.2, 2});
    s = blank();
    paint_scatter_plot(s);
    EXPECT_EQ(count_colour(s, kRed, 9, 8, 217, 180), count_colour(s, kRed));
    EXPECT_FALSE(error_pending());
}

}  // namespace
}  // namespace qx
