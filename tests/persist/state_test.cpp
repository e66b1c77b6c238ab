#include <gtest/gtest.h>

#include <cmath>
#include <cstdlib>
#include <cstring>
#include <random>
#include <string>
#include <vector>

#include "engine/settings.h"
#include "matrix/store.h"
#include "persist/state.h"

namespace qx::persist_test {

// Shared with the fuzz test.
void reset_everything() {
    reset_settings();
    clear_memory();
    reset_stats();
    clear_plot_state();
    clear_all_matrices();
    clear_all_lists();
    clear_answer_objects();
    reset_state_host();
}

constexpr TokenCode kUnitToken = 65536 + 5 * 256 + 3;

// Every kind of record, with values that need all their digits.
void make_rich_state() {
    reset_everything();
    g_memory[0] = {1.5, 0.0};
    g_memory[5] = {1.0, 2.0};
    g_memory[89] = {-2.5e-300, 7e10};
    const double x[] = {1.0, 2.5, -3.0, 0.0, 1.0 / 3.0}, y[] = {2.0, 0.0, 4.25, 1e-5, -7.0};
    load_stat_data(x, y, 5);
    g_settings = Settings{ANGLE_DEG, MODE_MATRIX, BITS_32, FMT_SCI, 7, RADIX_HEX, CPLX_POLAR, 1,
                          1, REGRESS_EXP, 0xFFFFFF, 172, MODE_LIST, 1};
    g_plot.type = PLOT_3D;
    g_plot.coordinates = COORD_SPHERICAL;
    g_plot.cursor = CURSOR_ROTATE;
    set_plot_window(-3.0, -2.0, 4.0, 5.0);
    g_plot.tmin = 0.0, g_plot.tmax = 6.5, g_plot.tstep = 0.05;
    g_plot.vmin = -1.0, g_plot.vmax = 1.0, g_plot.vstep = 0.01;
    g_plot.z_scale = 2.5;
    g_plot.view_angle[0] = 30.0, g_plot.view_angle[1] = -45.0;
    g_plot.grid = false, g_plot.lock_x = true;
    const int trace[] = {1, 0, 2, 3};
    std::memcpy(g_plot.trace_function, trace, sizeof trace);
    g_plot_slots[0][0] = {{29, kUnitToken}, 2};   // 5 converted from one unit to another
    g_plot_slots[1][2] = {{33, 36, 6, 869, 4}, 5};
    PlotSlot& full = g_plot_slots[2][5];
    for (int k = 0; k < PLOT_SLOT_TOKENS; ++k) full.tokens[k] = k % 2 ? 36 : 33;
    full.count = PLOT_SLOT_TOKENS;
    g_matrices[0] = Matrix{};
    g_matrices[0].defined = true, g_matrices[0].last_row = 1, g_matrices[0].last_column = 2;
    g_matrices[0].e[0][0] = 1.0, g_matrices[0].e[0][2] = -1e-7, g_matrices[0].e[1][1] = 0.1;
    g_matrices[ANSWER_OBJECT].defined = true;   // 1 x 1 holding 0
    g_lists[1].defined = true, g_lists[1].last = 3;
    g_lists[1].re[2] = 3.75, g_lists[1].im[2] = -1.0 / 7.0;
    PanelState p{};
    p.line[0] = 33, p.line[1] = 36, p.line[2] = 34, p.line_count = 3, p.cursor = 2;
    p.cursor_shown = true;
    p.history[0][0] = 35, p.history[0][1] = 28, p.history_counts[0] = 2;
    p.history[2][0] = 859, p.history_counts[2] = 1, p.history_count = 3;
    std::strcpy(p.result_text, "1.2345E-6\r\n(deg)");
    p.result_shown = true, p.result_re = 1.2345e-6, p.result_im = -0.5;
    p.answer_matrix = true, p.matrix_selected = 4, p.list_selected = 10;
    g_state_host.apply_panel(p);
}

// The lines of a saved text (CR LF after each).
std::vector<std::string> split_lines(const std::string& text) {
    std::vector<std::string> lines;
    for (std::size_t at = 0; at < text.size();) {
        const std::size_t end = text.find("\r\n", at);
        lines.push_back(text.substr(at, end - at));
        at = end == std::string::npos ? text.size() : end + 2;
    }
    return lines;
}

namespace {

bool same(const WorkingState& a, const WorkingState& b) { return std::memcmp(&a, &b, sizeof a) == 0; }

std::vector<std::string> lines_of(const std::string& text, const char* prefixes) {
    std::vector<std::string> out;
    for (const std::string& line : split_lines(text))
        if (!line.empty() && std::strchr(prefixes, line[0])) out.push_back(line);
    return out;
}

std::string replace_all(std::string s, const std::string& from, const std::string& to) {
    for (std::size_t at = 0; (at = s.find(from, at)) != std::string::npos; at += to.size())
        s.replace(at, from.size(), to);
    return s;
}

class StateFile : public ::testing::Test {
protected:
    void SetUp() override { reset_everything(); }
    void TearDown() override { reset_everything(); }
};

// Reference texts from Python: repr(v) gives the shortest digits.
TEST_F(StateFile, NumberText) {
    const struct { double v; bool full; const char* text; } cases[] = {
        {0.0, false, "0.0"}, {-0.0, false, "0.0"}, {1.5, false, "1.5"}, {2.0, false, "2.0"},
        {100.0, false, "1.0e+002"}, {-0.25, false, "-2.5e-001"}, {0.1, false, "1.0e-001"},
        {1.0 / 3.0, false, "3.333333333333333e-001"}, {1.25e-3, false, "1.25e-003"},
        {5e-324, false, "5.0e-324"}, {1.7976931348623157e308, false, "1.7976931348623157e+308"},
        {1.0, true, "1.0000000000000e+000"}, {0.0, true, "0.0000000000000e+000"},
        {-123.5, true, "-1.2350000000000e+002"}, {3.141592653589793, true, "3.141592653589793e+000"},
        {0.1 + 0.2, true, "3.0000000000000004e-001"},
    };
    for (const auto& c : cases) EXPECT_EQ(state_number_text(c.v, c.full), c.text) << c.v;
}

TEST_F(StateFile, EveryFiniteDoubleReadsBackExactly) {
    std::mt19937_64 bits(20240613);
    for (int n = 0; n < 20000; ++n) {
        const std::uint64_t u = bits();
        double v;
        std::memcpy(&v, &u, sizeof v);
        if (!std::isfinite(v) || v == 0.0) continue;
        for (bool full : {false, true}) {
            const std::string t = state_number_text(v, full);
            ASSERT_EQ(std::strtod(t.c_str(), nullptr), v) << t;
        }
    }
}

TEST_F(StateFile, MemoryAndMatrixRecords) {
    const struct { MemorySlot m; std::vector<std::string> lines; } cases[] = {
        {{1.5, 0.0}, {"R: 5:1.5"}},
        {{100.0, 0.0}, {"R: 5:1.0e+002"}},
        {{-0.25, 0.0}, {"R: 5:-2.5e-001"}},
        {{1.0, 2.0}, {"R: 5:1.0", "I: 5:2.0"}},
        {{0.0, -3.0}, {"I: 5:-3.0"}},
    };
    for (const auto& c : cases) {
        g_memory[5] = c.m;
        EXPECT_EQ(lines_of(save_state_text(), "RI"), c.lines);
    }
    Matrix& a = g_matrices[0];
    a.defined = true, a.last_row = 1, a.last_column = 1;
    a.e[0][0] = 1, a.e[0][1] = 2, a.e[1][0] = 3, a.e[1][1] = 4;
    const std::vector<std::string> expected = {
        "M: 0:0:0:1.0000000000000e+000", "M: 0:0:1:2.0000000000000e+000",
        "M: 0:1:0:3.0000000000000e+000", "M: 0:1:1:4.0000000000000e+000"};
    EXPECT_EQ(lines_of(save_state_text(), "M"), expected);
}

TEST_F(StateFile, EmptyStateStillWritesResultCountsAndOptions) {
    const std::string text = save_state_text();
    EXPECT_EQ(lines_of(text, "S"), std::vector<std::string>{"S: "});
    EXPECT_EQ(lines_of(text, "C").size(), 44u);
    EXPECT_EQ(lines_of(text, "O").size(), 53u);
    EXPECT_EQ(lines_of(text, "RIXYEDKML").size(), 0u);
    EXPECT_EQ(lines_of(text, "C").back(), "C: 69:0");
    EXPECT_EQ(lines_of(text, "O")[19], "O: 19:1");
}

TEST_F(StateFile, OptionsFallBackOutsideTheirRange) {
    const struct { const char* line; const int* field; int expected; } cases[] = {
        {"O: 19:9", &g_settings.calculator_mode, MODE_COMP},
        {"O: 19:6", &g_settings.calculator_mode, MODE_MATRIX},
        {"O: 15:12", &g_settings.decimal_digits, 4},
        {"O: 15:-1", &g_settings.decimal_digits, 4},
        {"O: 15:0", &g_settings.decimal_digits, 0},
        {"O: 47:5", &g_settings.dynamic_mode, MODE_STATS},
        {"O: 47:7", &g_settings.dynamic_mode, MODE_LIST},
        {"O: 21:99999999999999999999", &g_settings.base_mode, RADIX_DEC},
        {"O: 5:3", &g_plot.type, PLOT_3D},
    };
    for (const auto& c : cases) {
        reset_everything();
        EXPECT_TRUE(load_state_text(c.line).accepted) << c.line;
        EXPECT_EQ(*c.field, c.expected) << c.line;
    }
}

TEST_F(StateFile, BadLinesAreCountedAndSkipped) {
    const LoadReport r = load_state_text("R: 1:2.0\r\nK: 25:33,\r\nN: Polar\r\nR: 2:3.0\r\n");
    EXPECT_TRUE(r.accepted);
    EXPECT_EQ(r.applied, 2);
    EXPECT_EQ(r.ignored, 2);
    EXPECT_EQ(r.first_ignored_line, 2);
    EXPECT_EQ(g_memory[2].re, 3.0);
}

TEST_F(StateFile, BlankLineEndsTheRecords) {
    g_memory[7] = {9.0, 9.0};
    EXPECT_TRUE(load_state_text("R: 1:1.0\r\n\r\nR: 2:2.0\r\n").accepted);
    EXPECT_EQ(g_memory[1].re, 1.0);
    EXPECT_EQ(g_memory[2].re, 0.0);
    EXPECT_EQ(g_memory[7].re, 0.0);   // a load starts memory from zero
}

TEST_F(StateFile, ObjectsNotInTheFileKeepTheirContents) {
    Matrix& b = g_matrices[1];
    b.defined = true, b.last_row = 1, b.last_column = 1, b.e[1][1] = 42.0;
    g_lists[2].defined = true, g_lists[2].re[0] = 5.0;
    const Matrix matrix_before = b;
    const ListValue list_before = g_lists[2];
    ASSERT_TRUE(load_state_text("M: 0:1:2:5.0\r\nL: 3:4:1.0,-2.0,\r\n").accepted);
    EXPECT_EQ(std::memcmp(&b, &matrix_before, sizeof b), 0);
    EXPECT_EQ(std::memcmp(&g_lists[2], &list_before, sizeof list_before), 0);
    EXPECT_TRUE(g_matrices[0].defined);
    EXPECT_EQ(g_matrices[0].rows(), 2);
    EXPECT_EQ(g_matrices[0].columns(), 3);
    EXPECT_EQ(g_lists[3].size(), 5);
    EXPECT_EQ(g_lists[3].im[4], -2.0);
}

TEST_F(StateFile, CountsNeverReachPastTheirTokens) {
    g_plot_slots[0][1] = {{33, 34, 35}, 3};
    PanelState p{};
    p.history[4][0] = 33, p.history_counts[4] = 1;
    g_state_host.apply_panel(p);
    ASSERT_TRUE(load_state_text("E: 0:33,\r\nC: 0:5\r\nC: 1:7\r\nC: 54:9\r\nD: 33,34,\r\n"
                                "O: 1:50\r\nO: 26:90\r\nO: 25:20\r\n").accepted);
    g_state_host.capture_panel(p);
    EXPECT_EQ(g_plot_slots[0][0].count, 1);
    EXPECT_EQ(g_plot_slots[0][1].count, 3);
    EXPECT_EQ(p.history_counts[4], 1);
    EXPECT_EQ(p.line_count, 2);
    EXPECT_EQ(p.cursor, 2);
    EXPECT_EQ(p.history_count, 20);
}

TEST_F(StateFile, BadRecordsAreRefusedWhole) {
    const char* lines[] = {
        "M: 0:30:30:1.0", "L: 0:9:1,0,", "R: 5000:3", "R: 90:1.0", "O: 6:nan", "O: 6:inf",
        "R: 5:1e999", "R: 5:1.5 ", "R: 5:", "R: 5:1.5x", "R: -1:1.0", "R: 5 1.0", "X: 999:1.0",
        "E: 0:33,200000,", "E: 0:33", "E: 24:33,", "K: 20:33,", "C: 5:101", "C: 24:1", "C: 5:-1",
        "O: 15:1.5", "O: 53:0", "O: 2:", "L: 0:0:1,0", "L: 0:0:1,2,3,", "Q: 1:1", "R:5:1.0", "R",
    };
    for (const char* line : lines) {
        std::unique_ptr<WorkingState> s = capture_working_state();
        const std::unique_ptr<WorkingState> before = capture_working_state();
        EXPECT_FALSE(apply_state_line(*s, line, std::strlen(line))) << line;
        EXPECT_TRUE(same(*s, *before)) << line;
    }
    std::string too_many = "D: ";
    for (int k = 0; k <= STATE_LINE_TOKENS; ++k) too_many += "33,";
    std::unique_ptr<WorkingState> s = capture_working_state();
    EXPECT_FALSE(apply_state_line(*s, too_many.data(), too_many.size()));
}

TEST_F(StateFile, RefusedTextsChangeNothing) {
    make_rich_state();
    static const char png_bytes[] = "\x89PNG\r\n\x1a\n\0\0\0\rIHDR\0\0\0\xf0\0\0\x01\x40\x08\x06\0\0\0";
    const std::string png(png_bytes, sizeof png_bytes - 1);
    const std::string long_line = "R: 1:2.0\r\nR: 2:" + std::string(STATE_LINE_LIMIT, '1') + "\r\n";
    const struct { std::string text; const char* problem; } cases[] = {
        {"", "The file is empty."},
        {png, "The file holds no state record the calculator can use."},
        {"M: 0:30:30:1.0\r\n", "The file holds no state record the calculator can use."},
        {"L: 0:9:1,0,\r\n", "The file holds no state record the calculator can use."},
        {"R: 5000:3\r\n", "The file holds no state record the calculator can use."},
        {"O: 6:nan\r\n", "The file holds no state record the calculator can use."},
        {"\r\nR: 1:1.0\r\n", "The file holds no state record the calculator can use."},
        {long_line, "Line 2 is too long for a state file."},
    };
    for (const auto& c : cases) {
        const std::unique_ptr<WorkingState> before = capture_working_state();
        const LoadReport r = load_state_text(c.text);
        EXPECT_FALSE(r.accepted);
        EXPECT_EQ(r.problem, c.problem);
        EXPECT_TRUE(same(*capture_working_state(), *before)) << c.problem;
    }
}

TEST_F(StateFile, RichStateRoundTripsByteForByte) {
    make_rich_state();
    const std::string text = save_state_text();
    for (const std::string& form :
         {text, replace_all(text, "\r\n", "\n"), replace_all(text, "\r\n", "\r")}) {
        reset_everything();
        const LoadReport r = load_state_text(form);
        EXPECT_TRUE(r.accepted);
        EXPECT_EQ(r.ignored, 0);
        EXPECT_EQ(save_state_text(), text);
    }
    EXPECT_EQ(g_plot_slots[0][0].tokens[1], kUnitToken);
    EXPECT_EQ(g_plot_slots[0][0].count, 2);
    EXPECT_EQ(g_memory[5].im, 2.0);
    EXPECT_EQ(g_memory[89].re, -2.5e-300);
    EXPECT_EQ(stats_data().y[4], -7.0);
    EXPECT_EQ(g_settings.calculator_mode, MODE_MATRIX);
    EXPECT_EQ(g_lists[1].im[2], -1.0 / 7.0);
    // A line break in the result text would end the record early.
    EXPECT_EQ(lines_of(text, "S"), std::vector<std::string>{"S: 1.2345E-6(deg)"});
}

// Slots of the samples, from the sample table (slot: token count).
TEST_F(StateFile, SamplesLoadTheirSections) {
    for (int k = 0; k < SAMPLE_PLOT_COUNT; ++k) ASSERT_NE(sample_plot_name(k), nullptr);
    EXPECT_STREQ(sample_plot_name(1), "Polar");
    EXPECT_EQ(sample_plot_name(SAMPLE_PLOT_COUNT), nullptr);
    // Every record of every section is understood.
    std::unique_ptr<WorkingState> s = capture_working_state();
    const std::string text = sample_plot_text();
    int sections = 0;
    for (std::size_t at = 0; at < text.size();) {
        const std::size_t end = text.find('\n', at);
        const std::string line = text.substr(at, end - at);
        if (line.rfind("N: ", 0) == 0) ++sections;
        else EXPECT_TRUE(apply_state_line(*s, line.data(), line.size())) << line;
        at = end + 1;
    }
    EXPECT_EQ(sections, SAMPLE_PLOT_COUNT);

    g_memory[3] = {4.0, 0.0};
    g_plot_slots[0][0] = {{33}, 1};
    ASSERT_TRUE(load_sample_plot("Polar"));
    EXPECT_FALSE(any_slot_defined(PLOT_FUNCTION));
    EXPECT_EQ(g_plot.type, PLOT_POLAR);
    const int polar_counts[PLOT_SLOTS] = {5, 6, 6, 6, 0, 0};
    for (int k = 0; k < PLOT_SLOTS; ++k) EXPECT_EQ(g_plot_slots[PLOT_POLAR][k].count, polar_counts[k]);
    EXPECT_EQ(g_settings.angle_unit, ANGLE_RAD);
    EXPECT_EQ(g_settings.calculator_mode, MODE_PLOT);
    EXPECT_EQ(g_plot.tmax, 6.2832);
    EXPECT_EQ(g_plot.tstep, 6.2832e-3);
    EXPECT_EQ(g_memory[3].re, 4.0);   // a sample touches only its own records

    ASSERT_TRUE(load_sample_plot("3D Cartesian"));
    EXPECT_EQ(g_plot.type, PLOT_3D);
    EXPECT_EQ(g_plot.cursor, CURSOR_PAN);
    EXPECT_EQ(g_plot_slots[PLOT_3D][2].count, 15);
    EXPECT_EQ(g_plot_slots[PLOT_POLAR][0].count, 0);
    const double ranges[] = {g_plot.xmin, g_plot.xmax, g_plot.ymin, g_plot.ymax, g_plot.tmin,
                             g_plot.tmax, g_plot.tstep, g_plot.vmin, g_plot.vmax, g_plot.vstep,
                             g_plot.view_angle[0], g_plot.view_angle[1], g_plot.z_scale};
    const double expected[] = {-4.547, 4.547, -4.547, 4.547, -3.1415, 3.1415, 0.22566,
                               -6.2832, 6.2832, 0.25133, 519.0, -11.2, 4.0};
    for (int k = 0; k < 13; ++k) EXPECT_EQ(ranges[k], expected[k]) << k;

    const std::unique_ptr<WorkingState> before = capture_working_state();
    EXPECT_FALSE(load_sample_plot("3D Helix"));
    EXPECT_FALSE(load_sample_plot(""));
    EXPECT_TRUE(same(*capture_working_state(), *before));
}

}  // namespace
}  // namespace qx::persist_test
