// "Time Value of Money Solver" answered the way scripts answer it: the
// fields it reads, what it shows back, and the schedule and its refusals.
#include "calculator_fixture.h"
#include "frame_text.h"

#include <cmath>

#include "dialogs/tvm_dialog.h"
#include "platform/font.h"
#include "platform/widgets.h"
#include "tools/tvm.h"

namespace qx {
namespace {

using Fields = std::vector<std::pair<std::string, std::string>>;

const Fields kMortgage{{"N", "360"}, {"I%", "6"}, {"PV", "200000"}, {"FV", "0"}, {"P/Y", "12"}, {"C/Y", "12"}};

class TvmDialog : public CalculatorFixture {
protected:
    void prepare() override { g_tvm = tvm_defaults(); }

    void answer(const std::string& button, const Fields& fields = {}) { window.push_answer({button, fields}); }
    void answer_shown(const std::string& button, Surface& shown, const Fields& fields = {}) {
        ScriptedAnswer a{button, fields};
        a.on_shown = [&shown](const Surface& f) { shown = f; };
        window.push_answer(a);
    }
    // Runs the solver on the queued answers; the frame it showed last.
    Surface run() {
        Surface shown;
        answer_shown("Exit", shown);
        tvm_solver_dialog();
        EXPECT_EQ(window.answers_pending(), 0u);
        EXPECT_FALSE(logged("no control"));
        EXPECT_FALSE(logged("bad value"));
        return shown;
    }
};

TEST_F(TvmDialog, SolvesThePaymentOfTypedValues) {
    answer("Solve PMT", kMortgage);
    const Surface shown = run();
    EXPECT_NEAR(g_tvm.v[TVM_PMT], -1199.1010503055047, 1e-9);
    EXPECT_EQ(g_tvm.v[TVM_N], 360);
    EXPECT_EQ(g_tvm.v[TVM_PY], 12);
    EXPECT_FALSE(g_tvm.begin);
    for (const char* text : {"-1199.10", "200000.00", "360.00", "6.00", "12.00"})
        EXPECT_TRUE(shows_text(shown, text)) << text;
    EXPECT_TRUE(logged("dialog Time Value of Money Solver -> Solve PMT"));
}

TEST_F(TvmDialog, EachSolveButtonStoresItsField) {
    const struct {
        const char* button;
        Fields fields;
        TvmField field;
        const char* shown;
    } cases[] = {
        {"Solve N", {{"PMT", "-1199.10"}}, TVM_N, "360.00"},
        {"Solve I%", {{"I%", "0"}}, TVM_I, "6.00"},
        // Paid a month earlier, each payment is worth 1.005 times as much.
        {"Solve PV", {{"PV", "1"}, {"PMT @", "Begin"}}, TVM_PV, "201000.00"},
        {"Solve FV", {{"FV", "5"}}, TVM_FV, "0.00"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.button);
        g_tvm = tvm_defaults();
        answer("Solve PMT", kMortgage);
        answer(c.button, c.fields);
        const Surface shown = run();
        EXPECT_TRUE(shows_text(shown, c.shown));
        EXPECT_NE(g_tvm.v[c.field], UNDEFINED_VALUE);
    }
}

TEST_F(TvmDialog, UnsolvableShowsError) {
    answer("Solve I%", {{"N", "10"}, {"PV", "1000"}, {"PMT", "-100"}, {"FV", "1000"}});
    const Surface shown = run();
    EXPECT_EQ(g_tvm.v[TVM_I], UNDEFINED_VALUE);
    EXPECT_TRUE(shows_text(shown, "Error"));
    EXPECT_FALSE(error_pending());
}

TEST_F(TvmDialog, ReadingTheFields) {
    // What the dialog wrote keeps its full value; a text that is no number
    // keeps the old one; Exit reads nothing.
    g_tvm.v[TVM_N] = 1.0 / 3;
    g_tvm.v[TVM_I] = 7;
    g_tvm.v[TVM_FV] = 100;
    answer("Solve PV", {{"I%", "1e"}, {"FV", "-"}});
    answer("Exit", {{"PV", "5"}});
    tvm_solver_dialog();
    EXPECT_EQ(g_tvm.v[TVM_N], 1.0 / 3);
    EXPECT_EQ(g_tvm.v[TVM_I], 7);
    EXPECT_EQ(g_tvm.v[TVM_FV], 100);
    EXPECT_NEAR(g_tvm.v[TVM_PV], -100 * std::pow(1.07, -1.0 / 3), 1e-12);
}

TEST_F(TvmDialog, CommaMark) {
    g_settings.decimal_mark = 1;
    answer("Solve FV", {{"N", "1"}, {"I%", "10"}, {"PV", "-1000,5"}, {"PMT", "0"}});
    const Surface shown = run();
    EXPECT_EQ(g_tvm.v[TVM_PV], -1000.5);
    EXPECT_NEAR(g_tvm.v[TVM_FV], 1100.55, 1e-9);
    EXPECT_TRUE(shows_text(shown, "1100,55"));
}

TEST_F(TvmDialog, Defaults) {
    answer("Defaults", kMortgage);
    const Surface shown = run();
    const TvmValues d = tvm_defaults();
    for (int k = 0; k < TVM_FIELD_COUNT; ++k) EXPECT_EQ(g_tvm.v[k], d.v[k]);
    EXPECT_TRUE(shows_text(shown, "1.00"));
    EXPECT_FALSE(shows_text(shown, "200000.00"));
}

TEST_F(TvmDialog, ScheduleOfTheSolvedPayment) {
    // 1% a month of 1000 is 10; the first payment of 100 repays 90.
    Surface schedule;
    answer("Amortization Schedule",
           {{"N", "12"}, {"I%", "12"}, {"PV", "1000"}, {"PMT", "-100"}, {"P/Y", "12"}, {"C/Y", "12"}});
    answer_shown("Back to TVM Solver", schedule);
    run();
    for (const char* text : {"Principal", "Balance", "-90.00", "-10.00", "910.00", "12"})
        EXPECT_TRUE(shows_text(schedule, text)) << text;
    EXPECT_TRUE(logged("dialog Amortization Schedule -> Back to TVM Solver"));

    // The payment solved, not its cents, reaches the schedule.
    answer("Solve PMT", kMortgage);
    answer("Amortization Schedule");
    answer("Back to TVM Solver");
    run();
    EXPECT_NEAR(g_tvm.v[TVM_PMT], -1199.1010503055047, 1e-9);
    EXPECT_NE(g_tvm.v[TVM_PMT], -1199.10);
}

TEST_F(TvmDialog, ScheduleRefusals) {
    const struct {
        const char* first;   // the button pressed before, or none
        Fields fields;
        const char* message;
    } cases[] = {
        {"Solve I%", {{"N", "10"}, {"PV", "1000"}, {"FV", "1000"}, {"PMT", "-100"}},
         "Can't create schedule due to a TVM value having an error."},
        {nullptr, {{"N", "2000.5"}}, "Can't create schedule due to the TVM N value being greater than 2000."},
        {nullptr, {{"N", "2000"}, {"P/Y", "0"}}, "Can't create schedule due to the TVM P/Y value being equal to 0."},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.message);
        g_tvm = tvm_defaults();
        if (c.first) answer(c.first, c.fields);
        answer("Amortization Schedule", c.first ? Fields{} : c.fields);
        answer("OK");
        run();
        EXPECT_TRUE(logged(std::string("box Amortization Schedule: ") + c.message + " -> OK"));
        EXPECT_FALSE(logged("dialog Amortization Schedule"));
    }
}

}  // namespace
}  // namespace qx
