// The numerical calculus functions through the real evaluator: reference
// values from mpmath (tests/reference/calculus_table.inc), the variable
// stack, the nesting rules, the evaluation counts of the integrator, the
// list answer of Seq and the clean-up after a stopped evaluation.
#include <gtest/gtest.h>

#include <cmath>
#include <string>
#include <vector>

#include "matrix/store.h"
#include "numeric/calculus.h"
#include "tests/helpers.h"

namespace qx::test {
namespace {

struct CalculusCase {
    const char* words;
    double value;
    double tolerance;   // relative
    bool degrees;
    int code;           // -1: success
};

const CalculusCase kCases[] = {
#include "tests/reference/calculus_table.inc"
};

class CalculusTest : public EngineTest {
protected:
    void SetUp() override {
        EngineTest::SetUp();
        install_matrix_engine_hooks();
        install_calculus_hooks();
        clear_answer_objects();
        calculus_reset_sample_count();
    }
    void TearDown() override {
        EngineTest::TearDown();
        calculus_abandon();
    }
};

TEST_F(CalculusTest, MatchesReferenceTable) {
    for (const CalculusCase& c : kCases) {
        g_settings.angle_unit = c.degrees ? ANGLE_DEG : ANGLE_RAD;
        memory_set(0.5, 0, MEM_X);
        Outcome o = run(c.words);
        if (c.code >= 0) {
            EXPECT_FALSE(o.ok) << c.words << " -> " << o.re;
            EXPECT_EQ(o.code, c.code) << c.words;
        } else {
            ASSERT_TRUE(o.ok) << c.words << " -> error " << o.code;
            double slack = c.value == 0.0 ? 1e-15 : c.tolerance * std::fabs(c.value);
            EXPECT_NEAR(o.re, c.value, slack) << c.words;
            EXPECT_EQ(o.im, 0.0) << c.words;
        }
        // Whatever happened, the variable is back and nothing is left active.
        EXPECT_EQ(memory_get(MEM_X, 0), 0.5) << c.words;
        EXPECT_EQ(calculus_variable_depth(), 0) << c.words;
        EXPECT_FALSE(calculus_fnint_active()) << c.words;
    }
}

TEST_F(CalculusTest, DisplaysExpectedResults) {
    EXPECT_EQ(run("fnInt( x sq , x , 1 , 0 )").text, "-0.3333333333");
    EXPECT_EQ(run("fnInt( sin( x ) , x , 0 , 2 pi )").text, "0");
    EXPECT_EQ(run("fnInt( x sq , x , 0 , 1 E~5 )").text, "3.3333333333E-16");
    EXPECT_EQ(run("#477 sin( 1000 x ) , x , 0.3 )").text, "-22.096619279");
}

TEST_F(CalculusTest, ErrorOneReturnsTheLastEstimate) {
    ASSERT_TRUE(run("fnInt( x ^ 2 , x , 0 , 1 )").ok);
    Outcome e = run("Error( 1 )");
    ASSERT_TRUE(e.ok);
    EXPECT_GT(e.re, 0.0);
    EXPECT_LT(e.re, 1e-12);
    ASSERT_TRUE(run("fnInt( 1 / sqrt x , x , 0 , 1 )").ok);
    Outcome e2 = run("Error( 1 )");
    EXPECT_GT(e2.re, 0.0);
    EXPECT_LE(e2.re, 2e-9);
}

TEST_F(CalculusTest, IntegratorUsesSixtyOnePointsPerInterval) {
    // A polynomial is exact on the first interval: one rule, 61 points.
    ASSERT_TRUE(run("fnInt( x ^ 2 , x , 0 , 1 )").ok);
    EXPECT_EQ(calculus_sample_count(), 61);
    // Every bisection evaluates both halves: 61 * (2 n - 1) for n intervals.
    calculus_reset_sample_count();
    ASSERT_TRUE(run("fnInt( 1 / sqrt x , x , 0 , 1 )").ok);
    long n = calculus_sample_count();
    EXPECT_EQ(n % 61, 0);
    EXPECT_EQ((n / 61) % 2, 1);
    EXPECT_GT(n, 61);
    EXPECT_LE(n, 61 * (2 * 200 - 1));
    // The same subdivisions as the reference QAG run (61-point key, relative
    // tolerance 1e-9, limit 200): 59 and 2 intervals.
    EXPECT_EQ(n, 7137);
    calculus_reset_sample_count();
    ASSERT_TRUE(run("fnInt( e ^ ( neg ( x sq ) ) , x , neg 10 , 10 )").ok);
    EXPECT_EQ(calculus_sample_count(), 183);
}

TEST_F(CalculusTest, PlotContextLoosensTheIntegrator) {
    g_plot_context = true;
    Outcome o = run("fnInt( 1 / sqrt x , x , 0 , 1 )");
    g_plot_context = false;
    ASSERT_TRUE(o.ok) << o.code;
    EXPECT_NEAR(o.re, 2.0, 0.004);
    EXPECT_LT(calculus_sample_count(), 7137);
}

TEST_F(CalculusTest, DivergentIntegralReportsTheLimit) {
    clear_error();
    std::vector<TokenCode> t = toks("fnInt( x ^ neg 0.9 , x , 0 , 1 )");
    Evaluate_Input(t.data(), static_cast<int>(t.size()));
    Evaluate_Input_2();
    ASSERT_TRUE(error_pending());
    EXPECT_EQ(error_code(), ERR_DOMAIN);
    EXPECT_NE(std::string(error_detail()).find("limit"), std::string::npos) << error_detail();
    clear_error();
}

TEST_F(CalculusTest, SequenceCountsItsPoints) {
    Outcome o = run("#481 x , x , 0 , 0.3 , 0.1 )");
    ASSERT_TRUE(o.ok) << o.code;
    const ListValue& ans = g_lists[ANSWER_SLOT];
    ASSERT_EQ(ans.size(), 4);
    EXPECT_TRUE(ans.defined);
    EXPECT_DOUBLE_EQ(ans.re[3], 0.30000000000000004);
    ASSERT_TRUE(run("#481 x sq , x , 1 , 9 , 1 )").ok);
    ASSERT_EQ(g_lists[ANSWER_SLOT].size(), 9);
    EXPECT_EQ(g_lists[ANSWER_SLOT].re[8], 81.0);
    Outcome big = run("#481 x , x , 1 , 10 , 1 )");
    EXPECT_EQ(big.code, ERR_LIST_SIZE);
    EXPECT_EQ(calculus_variable_depth(), 0);
}

TEST_F(CalculusTest, StartsWithoutEvaluatingAtTheOldValue) {
    memory_set(10, 0, MEM_X);
    Outcome o = run("fnEval( e ^ ( 100 x ) , x , 0 )");
    ASSERT_TRUE(o.ok) << o.code;
    EXPECT_EQ(o.re, 1.0);
    EXPECT_EQ(memory_get(MEM_X, 0), 10.0);
    // An inner integral runs once, at the outer point only: 61 + 1 values.
    calculus_reset_sample_count();
    Outcome n = run("fnEval( fnInt( A , A , 0 , x ) , x , 2 )");
    ASSERT_TRUE(n.ok) << n.code;
    EXPECT_NEAR(n.re, 2.0, 1e-14);
    EXPECT_EQ(calculus_sample_count(), 62);
}

TEST_F(CalculusTest, StoppedEvaluationRestoresEverything) {
    memory_set(7, 0, MEM_X);
    // A nested fnInt is refused from inside the outer one's run.
    Outcome nested = run("fnInt( fnInt( x , x , 0 , 1 ) , x , 0 , 1 )");
    EXPECT_EQ(nested.code, ERR_NEST_FNINT);
    EXPECT_EQ(memory_get(MEM_X, 0), 7.0);
    EXPECT_EQ(calculus_variable_depth(), 0);
    EXPECT_FALSE(calculus_fnint_active());
    // An overflow of the expression while the integrator iterates.
    Outcome over = run("fnInt( 10 ^ ( 400 x ) , x , 0 , 1 )");
    EXPECT_EQ(over.code, ERR_OVERFLOW);
    EXPECT_EQ(memory_get(MEM_X, 0), 7.0);
    EXPECT_FALSE(calculus_fnint_active());
    Outcome later = run("fnInt( x , x , 0 , 2 )");
    ASSERT_TRUE(later.ok) << later.code;
    EXPECT_NEAR(later.re, 2.0, 1e-14);
    EXPECT_EQ(memory_get(MEM_X, 0), 7.0);
}

TEST_F(CalculusTest, CancelStopsALongRunAndRestores) {
    memory_set(3, 0, MEM_X);
    static int polls;
    polls = 0;
    g_hooks.poll_key_tap = [] { return ++polls > 4; };
    g_cancel_counter = 0;
    reset_cancel_check();
    Outcome o = run("fnInt( x ^ neg 0.9 , x , 0 , 1 )");
    EXPECT_EQ(o.code, ERR_CANCELED);
    EXPECT_GT(polls, 4);
    EXPECT_EQ(memory_get(MEM_X, 0), 3.0);
    EXPECT_EQ(calculus_variable_depth(), 0);
    EXPECT_FALSE(calculus_fnint_active());
}

TEST_F(CalculusTest, VarFunctionsNest) {
    // Root of d/dx(x^3) - 3 = 3x^2 - 3 on [0, 2].
    Outcome o = run("#483 #477 x cube , x , x ) - 3 , x , 0 , 2 )");
    ASSERT_TRUE(o.ok) << o.code;
    EXPECT_NEAR(o.re, 1.0, 1e-9);
    // A sum of integrals.
    Outcome s = run("Summ( fnInt( x , x , 0 , 1 ) , x , 1 , 3 )");
    ASSERT_TRUE(s.ok) << s.code;
    EXPECT_NEAR(s.re, 1.5, 1e-14);
    // The inner bound follows the outer variable: x^2/2 summed over 1..3.
    Outcome b = run("Summ( fnInt( A , A , 0 , x ) , x , 1 , 3 )");
    ASSERT_TRUE(b.ok) << b.code;
    EXPECT_NEAR(b.re, 7.0, 1e-13);
    // Arguments computed from expressions are taken once, at the start.
    Outcome c = run("fnInt( x , x , 1 - 1 , 2 * 1 )");
    ASSERT_TRUE(c.ok) << c.code;
    EXPECT_NEAR(c.re, 2.0, 1e-14);
    EXPECT_EQ(calculus_variable_depth(), 0);
}

TEST_F(CalculusTest, FailedTermStopsASum) {
    Outcome o = run("Summ( 1 / ( x - 2 ) , x , 1 , 3 )");
    EXPECT_EQ(o.code, ERR_DIV_ZERO);
    EXPECT_EQ(calculus_variable_depth(), 0);
}

TEST_F(CalculusTest, ComplexTermsSumAndMultiply) {
    Outcome s = run("Summ( x i , x , 1 , 3 )");
    ASSERT_TRUE(s.ok);
    EXPECT_EQ(s.re, 0.0);
    EXPECT_EQ(s.im, 6.0);
    Outcome p = run("#480 ( 1 + i ) , x , 1 , 2 )");
    ASSERT_TRUE(p.ok);
    EXPECT_NEAR(p.re, 0.0, 1e-15);
    EXPECT_NEAR(p.im, 2.0, 1e-15);
}

TEST_F(CalculusTest, PlotFormsUseTheWindowBounds) {
    // Function plots: x over [xmin, xmax] = [-10, 10].
    Outcome m = run("#1999 ( x - 1 ) sq )");
    ASSERT_TRUE(m.ok) << m.code;
    EXPECT_NEAR(m.re, 1.0, 1e-7);
    Outcome r = run("#1997 x - 3 )");
    ASSERT_TRUE(r.ok) << r.code;
    EXPECT_NEAR(r.re, 3.0, 1e-12);
    memory_set(2, 0, MEM_X);
    Outcome d = run("#1996 x cube )");
    ASSERT_TRUE(d.ok) << d.code;
    EXPECT_NEAR(d.re, 12.0, 1e-8);
    EXPECT_EQ(memory_get(MEM_X, 0), 2.0);
}

TEST_F(CalculusTest, PlotRootScansOnPastAPole) {
    // 1/x - 1/2 changes sign across its pole at 0 before its root at 2: the
    // plot form searches on, fnRoot stops at the first bracket.
    Outcome plot = run("#1997 1 / x - 0.5 )");
    ASSERT_TRUE(plot.ok) << plot.code;
    EXPECT_NEAR(plot.re, 2.0, 1e-12);
    EXPECT_EQ(run("#483 1 / x - 0.5 , x , ~10 , 10 )").code, ERR_NO_ROOT);
    // A pole alone is still no root.
    EXPECT_EQ(run("#1997 1 / x )").code, ERR_NO_ROOT);
    EXPECT_EQ(calculus_variable_depth(), 0);
}

}  // namespace
}  // namespace qx::test
