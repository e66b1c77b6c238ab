// The PLOT mode dialogs answered through a headless window the way scripts
// answer them: fields by their labels (or "#id"), buttons by their text.
#include <gtest/gtest.h>

#include <cmath>
#include <string>
#include <vector>

#include "engine/settings.h"
#include "panel/plot_dialogs.h"
#include "panel/ui.h"
#include "platform/window_headless.h"
#include "plot/analysis.h"
#include "plot/model.h"
#include "tests/plot/plot_fixture.h"

namespace qx {
namespace {

using Fields = std::vector<std::pair<std::string, std::string>>;

// 2 pi and its thousandth, as python3 prints them.
constexpr double kTurn = 6.283185307179586;
constexpr double kTurnStep = 0.006283185307179587;

class PlotDialogsTest : public ::testing::Test {
protected:
    void SetUp() override {
        test::fresh_state();
        clear_plot_state();
        reset_plot_defaults();
        reset_calc_settings();
        g_settings.calculator_mode = MODE_PLOT;
        window.set_logger([this](const std::string& line) { log.push_back(line); });
        ui().window = &window;
    }
    void TearDown() override {
        ui().window = nullptr;
        clear_plot_state();
        reset_calc_settings();
        test::fresh_state();
    }

    void answer(const std::string& button, const Fields& fields = {}) { window.push_answer({button, fields}); }
    bool logged(const std::string& part) const {
        for (const std::string& line : log)
            if (line.find(part) != std::string::npos) return true;
        return false;
    }
    static void define(int type, int slot, const std::string& words) { test::store_slot(type, slot, words); }

    HeadlessWindow window;
    std::vector<std::string> log;
};

struct SetupCase {
    const char* name;
    int decimal_mark;
    const char* button;
    Fields fields;
    bool stored;
    double xmin, xmax, ymin, ymax, tmin, tmax, tstep;
    int type;
};

TEST_F(PlotDialogsTest, SetupStoresWhatPassesItsChecks) {
    const SetupCase cases[] = {
        {"equal x ends keep the window", 0, "OK", {{"x min", "5"}, {"x max", "5"}}, true,
         -10, 10, -10, 10, 0, kTurn, kTurnStep, PLOT_FUNCTION},
        {"new window; untouched fields keep exact values", 0, "OK",
         {{"x min", "-2"}, {"x max", "3"}, {"y min", "-1e-3"}, {"y max", "1.5e2"}}, true,
         -2, 3, -1e-3, 150, 0, kTurn, kTurnStep, PLOT_FUNCTION},
        // 4 / 1000 = 0.004 whether the step is too small or too large.
        {"t step 0", 0, "OK", {{"Plot Type", "Parametric"}, {"t min", "0"}, {"t max", "4"}, {"t step", "0"}},
         true, -10, 10, -10, 10, 0, 4, 0.004, PLOT_PARAMETRIC},
        {"reversed theta range", 0, "OK", {{"Plot Type", "Polar"}, {"#1004", "3"}, {"#1025", "1"}}, true,
         -10, 10, -10, 10, 0, kTurn, kTurnStep, PLOT_POLAR},
        {"unparsable texts", 0, "OK", {{"x min", "1..2"}, {"y max", "1e"}, {"x max", "-"}}, true,
         -10, 10, -10, 10, 0, kTurn, kTurnStep, PLOT_FUNCTION},
        {"comma mark", 1, "OK", {{"x max", "2,5"}, {"y min", "-0,25"}}, true,
         -10, 2.5, -0.25, 10, 0, kTurn, kTurnStep, PLOT_FUNCTION},
        {"comma without the comma mark", 0, "OK", {{"x max", "2,5"}}, true,
         -10, 10, -10, 10, 0, kTurn, kTurnStep, PLOT_FUNCTION},
        {"cancel", 0, "Cancel", {{"x max", "3"}, {"Plot Type", "Polar"}}, false,
         -10, 10, -10, 10, 0, kTurn, kTurnStep, PLOT_FUNCTION},
    };
    for (const SetupCase& c : cases) {
        SCOPED_TRACE(c.name);
        reset_plot_defaults();
        g_settings.decimal_mark = c.decimal_mark;
        answer(c.button, c.fields);
        EXPECT_EQ(plot_setup_dialog(), c.stored);
        EXPECT_DOUBLE_EQ(g_plot.xmin, c.xmin);
        EXPECT_DOUBLE_EQ(g_plot.xmax, c.xmax);
        EXPECT_DOUBLE_EQ(g_plot.ymin, c.ymin);
        EXPECT_DOUBLE_EQ(g_plot.ymax, c.ymax);
        EXPECT_DOUBLE_EQ(g_plot.tmin, c.tmin);
        EXPECT_DOUBLE_EQ(g_plot.tmax, c.tmax);
        EXPECT_DOUBLE_EQ(g_plot.tstep, c.tstep);
        EXPECT_EQ(g_plot.type, c.type);
    }
    EXPECT_FALSE(logged("no control"));
}

TEST_F(PlotDialogsTest, SetupThreeDimensionalEntries) {
    g_plot.cursor = CURSOR_PAN;
    answer("OK", {{"Plot Type", "3D Spherical"}, {"Plot Cursor", "Rotate"}, {"z Scale", "2,5"},
                  {"v min", "1"}, {"v max", "2"}, {"v step", "0.5"}});
    g_settings.decimal_mark = 1;
    ASSERT_TRUE(plot_setup_dialog());
    EXPECT_EQ(g_plot.type, PLOT_3D);
    EXPECT_EQ(g_plot.coordinates, COORD_SPHERICAL);
    EXPECT_EQ(g_plot.cursor, CURSOR_ROTATE);
    EXPECT_DOUBLE_EQ(g_plot.z_scale, 2.5);
    EXPECT_DOUBLE_EQ(g_plot.vmin, 1);
    EXPECT_DOUBLE_EQ(g_plot.vstep, 0.5);

    // Leaving 3-D drops Rotate back to Trace; the coordinates stay.
    answer("OK", {{"Plot Type", "Polar"}});
    ASSERT_TRUE(plot_setup_dialog());
    EXPECT_EQ(g_plot.type, PLOT_POLAR);
    EXPECT_EQ(g_plot.cursor, CURSOR_TRACE);
    EXPECT_EQ(g_plot.coordinates, COORD_SPHERICAL);

    // Flat plots have neither Rotate, a v row nor a z scale.
    answer("OK", {{"Plot Cursor", "Rotate"}, {"v min", "3"}, {"z Scale", "3"}});
    plot_setup_dialog();
    EXPECT_TRUE(logged("bad value \"Rotate\""));
    EXPECT_TRUE(logged("\"v min\" is unavailable"));
    EXPECT_TRUE(logged("\"z Scale\" is unavailable"));
    EXPECT_DOUBLE_EQ(g_plot.z_scale, 2.5);
    EXPECT_DOUBLE_EQ(g_plot.vmin, 1);
}

TEST_F(PlotDialogsTest, SetupDefaultsFollowTheAngleUnitAndLeaveNoWayToCancel) {
    g_settings.angle_unit = ANGLE_DEG;
    g_plot.type = PLOT_3D;
    g_plot.coordinates = COORD_CYLINDRICAL;
    ASSERT_TRUE(set_plot_window(-1, -2, 1, 2));
    answer("Defaults");
    answer("Cancel");
    EXPECT_TRUE(plot_setup_dialog());
    EXPECT_TRUE(logged("button \"Cancel\" is unavailable"));
    const double expected[] = {0, 360, 0.36, 0, 360, 0.36, -10, 10, -10, 10};
    const double actual[] = {g_plot.tmin, g_plot.tmax, g_plot.tstep, g_plot.vmin, g_plot.vmax,
                             g_plot.vstep, g_plot.xmin, g_plot.xmax, g_plot.ymin, g_plot.ymax};
    for (int k = 0; k < 10; ++k) EXPECT_DOUBLE_EQ(actual[k], expected[k]) << k;
    EXPECT_EQ(g_plot.type, PLOT_FUNCTION);
    EXPECT_EQ(g_plot.coordinates, COORD_CYLINDRICAL);

    // The "?" button shows the picture of the entry chosen, not the stored one.
    log.clear();
    answer("?", {{"Plot Type", "3D Cartesian"}});
    answer("OK");
    answer("Cancel");
    EXPECT_FALSE(plot_setup_dialog());
    EXPECT_TRUE(logged("dialog Plot Coordinate System -> OK"));
    EXPECT_EQ(g_plot.type, PLOT_FUNCTION);
}

TEST_F(PlotDialogsTest, FunctionsClearAndTraceChoice) {
    define(PLOT_FUNCTION, 0, "x sq");
    define(PLOT_FUNCTION, 1, "x + 1");
    answer("Clear 2");
    answer("Clear 3");   // an undefined slot: its Clear is disabled, OK goes instead
    FunctionsDialogResult r = plot_functions_dialog();
    EXPECT_TRUE(r.accepted);
    EXPECT_TRUE(r.cleared);
    EXPECT_FALSE(r.trace_changed);
    EXPECT_TRUE(slot_defined(PLOT_FUNCTION, 0));
    EXPECT_FALSE(slot_defined(PLOT_FUNCTION, 1));
    EXPECT_TRUE(logged("button \"Clear 3\" is unavailable"));

    answer("Clear 1");
    answer("Cancel");
    r = plot_functions_dialog();
    EXPECT_FALSE(r.accepted);
    EXPECT_TRUE(slot_defined(PLOT_FUNCTION, 0));

    const struct {
        int type;
        const char* choice;
        int stored;
    } traces[] = {
        {PLOT_FUNCTION, "f4(x)", 3},
        {PLOT_POLAR, "#5", 5},
        {PLOT_PARAMETRIC, "X2(t), Y2(t)", 2},
        {PLOT_PARAMETRIC, "X3(t), Y3(t)", 4},
        {PLOT_3D, "X2(u,v), Y2(u,v), Z2(u,v)", 3},
    };
    for (const auto& t : traces) {
        SCOPED_TRACE(t.choice);
        g_plot.type = t.type;
        g_plot.coordinates = COORD_CARTESIAN;
        g_plot.trace_function[t.type] = 0;
        answer("OK", {{"Trace Function", t.choice}});
        r = plot_functions_dialog();
        EXPECT_TRUE(r.accepted && r.trace_changed && !r.cleared);
        EXPECT_EQ(g_plot.trace_function[t.type], t.stored);
        // Reopened, the stored choice is preselected and OK changes nothing.
        answer("OK");
        r = plot_functions_dialog();
        EXPECT_FALSE(r.trace_changed);
        EXPECT_EQ(g_plot.trace_function[t.type], t.stored);
    }
    EXPECT_FALSE(logged("bad value"));
}

struct CalculateCase {
    const char* name;
    int type;
    const char* button;
    Fields fields;
    bool requested;
    int calculation, function, pair;
    double x_value;
};

TEST_F(PlotDialogsTest, CalculateStoresTheRequest) {
    // Intersection pairs run i outer, j inner without i = j: index i*5 + (j < i ? j : j - 1),
    // so f2 & f1 is 5 and f6 & f5 is 29.
    const CalculateCase cases[] = {
        {"root of f3", PLOT_FUNCTION, "OK", {{"Calculation", "Root"}, {"Function", "f3(x)"}}, true,
         CALC_ROOT, 2, 7, 0.5},
        {"pair f2 & f1", PLOT_FUNCTION, "OK", {{"Calculation", "Intersection"}, {"Functions", "f2(x) & f1(x)"}},
         true, CALC_INTERSECTION, 3, 5, 0.5},
        {"last pair", PLOT_FUNCTION, "OK", {{"Calculation", "Intersection"}, {"Functions", "#29"}}, true,
         CALC_INTERSECTION, 3, 29, 0.5},
        {"value at x", PLOT_FUNCTION, "OK", {{"Calculation", "Value"}, {"x Value", "-2.5e1"}}, true,
         CALC_VALUE, 3, 7, -25},
        {"slope, bad x gives 0", PLOT_FUNCTION, "OK", {{"Calculation", "Slope"}, {"x Value", "1..2"}}, true,
         CALC_SLOPE, 3, 7, 0},
        {"polar table", PLOT_POLAR, "OK", {{"Calculation", "Table"}}, true, CALC_TABLE, 3, 7, 0.5},
        {"parametric pair 3", PLOT_PARAMETRIC, "OK", {{"Calculation", "Value"}, {"Function", "X3(t), Y3(t)"},
         {"t Value", "1.5"}}, true, CALC_VALUE, 2, 7, 1.5},
        {"cancel restores", PLOT_FUNCTION, "Cancel", {{"Calculation", "Intersection"}, {"Functions", "#0"}},
         false, CALC_VALUE, 3, 7, 0.5},
    };
    for (const CalculateCase& c : cases) {
        SCOPED_TRACE(c.name);
        g_plot.type = c.type;
        g_calc = CalcSettings{};
        g_calc.function = 3;
        g_calc.pair = 7;
        g_calc.x_value = 0.5;
        g_calc.requested = true;
        answer(c.button, c.fields);
        EXPECT_EQ(plot_calculate_dialog(), c.requested);
        EXPECT_EQ(g_calc.requested, c.requested);
        EXPECT_EQ(g_calc.calculation, c.calculation);
        EXPECT_EQ(g_calc.function, c.function);
        EXPECT_EQ(g_calc.pair, c.pair);
        EXPECT_DOUBLE_EQ(g_calc.x_value, c.x_value);
    }
    EXPECT_FALSE(logged("bad value"));
    EXPECT_FALSE(logged("no control"));
}

TEST_F(PlotDialogsTest, CalculateOffersOnlyValueAndTableBeyondFunctions) {
    for (int type : {PLOT_POLAR, PLOT_PARAMETRIC})
        for (const char* calc : {"Root", "Intersection", "#2"}) {
            g_plot.type = type;
            log.clear();
            answer("OK", {{"Calculation", calc}});
            plot_calculate_dialog();
            EXPECT_TRUE(logged("bad value")) << calc;
        }
    // A stored parametric pair beyond the three falls back to the first.
    g_plot.type = PLOT_PARAMETRIC;
    g_calc.function = 4;
    answer("OK");
    ASSERT_TRUE(plot_calculate_dialog());
    EXPECT_EQ(g_calc.function, 0);
}

TEST_F(PlotDialogsTest, TableRowsRecalcAndDeltaZero) {
    define(PLOT_FUNCTION, 0, "x sq");
    // Each step names rows by their first cell; the answer's button is the
    // default one, Recalc, so the table stays open until "Exit".
    const struct {
        Fields fields;
        bool bad;
    } steps[] = {
        {{{"Table", "1"}}, false},  {{{"Table", "1.5"}}, false}, {{{"Table", "5.5"}}, false},
        {{{"Table", "#9"}}, false}, {{{"Table", "#10"}}, true},  {{{"Table", "6"}}, true},
        // A bad start keeps 1, the new delta 0 makes every row the start.
        {{{"x start", "1..2"}, {"x delta", "0"}}, false},
        {{{"Table", "#9"}}, false}, {{{"Table", "1"}}, false},   {{{"Table", "1.5"}}, true},
        {{{"x start", "-2.5"}}, false},
    };
    int bad = 0;
    for (const auto& s : steps) {
        answer("", s.fields);
        bad += s.bad;
    }
    answer("Exit");
    plot_table_dialog(1, 0.5);
    int bad_logged = 0;
    for (const std::string& line : log) bad_logged += line.find("bad value") != std::string::npos;
    EXPECT_EQ(bad_logged, bad);
    EXPECT_TRUE(logged("bad value \"1.5\""));
    EXPECT_TRUE(logged("dialog Plot Table -> Exit"));
    EXPECT_DOUBLE_EQ(g_calc.table_start, -2.5);
    EXPECT_DOUBLE_EQ(g_calc.table_delta, 0);
}

TEST_F(PlotDialogsTest, TableWalksAlongMoreFunctionsThanFit) {
    for (int k : {0, 1, 3, 4}) define(PLOT_FUNCTION, k, "x");
    // Four functions, two shown: ">" twice reaches f4 and f5 and is then
    // unavailable, "<" goes back.
    const char* const presses[] = {">", ">", ">", "<", "<", "<"};
    for (const char* p : presses) answer(p);
    answer("Exit");
    plot_table_dialog(0, 1);
    int refused = 0;
    for (const std::string& line : log) refused += line.find("is unavailable") != std::string::npos;
    EXPECT_EQ(refused, 2);
    EXPECT_TRUE(logged("dialog Plot Table -> Exit"));
    // With two functions there is nothing to walk along.
    log.clear();
    g_plot_slots[PLOT_FUNCTION][3].count = 0;
    g_plot_slots[PLOT_FUNCTION][4].count = 0;
    answer(">");
    answer("Exit");
    plot_table_dialog(0, 1);
    EXPECT_TRUE(logged("no button \">\""));
}

}  // namespace
}  // namespace qx
