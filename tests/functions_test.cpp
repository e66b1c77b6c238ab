// Argument collection and checks, and the random deviates.
#include <gtest/gtest.h>

#include <cmath>

#include "engine/functions.h"
#include "tests/helpers.h"

namespace qx::test {
namespace {

class FunctionsTest : public EngineTest {};

FunctionParameter g_seen[MAX_PARAMS];
int g_seen_count, g_seen_variable;
VarStepResult record_call(const VarStepCall& c) {
    g_seen_count = c.param_count;
    g_seen_variable = c.variable;
    for (int k = 0; k < c.param_count; ++k) g_seen[k] = c.params[k];
    return VarStepResult{false, 1.5, 0, RK_SCALAR, 0};
}

TEST_F(FunctionsTest, VarFunctionArgumentsArriveInWrittenOrder) {
    g_hooks.var_function_step = record_call;
    Outcome o = run("fnInt( x sq , x , 0 , 1 )");
    ASSERT_TRUE(o.ok) << o.code;
    EXPECT_EQ(o.re, 1.5);
    ASSERT_EQ(g_seen_count, 5);
    EXPECT_EQ(g_seen_variable, MEM_X);
    EXPECT_EQ(g_seen[2].re, 0);
    EXPECT_EQ(g_seen[3].re, 1);
    EXPECT_EQ(g_seen[4].re, 1e-9);      // the default tolerance
    ASSERT_TRUE(run("fnInt( x sq , x , 0 , 1 , 0.01 )").ok);
    EXPECT_EQ(g_seen[4].re, 0.01);
    EXPECT_EQ(run("fnInt( x sq , 2 , 0 , 1 )").code, ERR_ARG_TYPE);  // not a variable
    EXPECT_EQ(run("fnInt( x sq , x , 0 )").code, ERR_ARG_COUNT);
}

TEST_F(FunctionsTest, SeventhArgumentIsRefused) {
    EXPECT_EQ(run("Max( 1 , 2 , 3 , 4 , 5 , 6 , 7 )").code, ERR_ARG_COUNT);
    EXPECT_EQ(run("Max( 1 , 2 , 3 )").code, ERR_ARG_COUNT);
}

TEST_F(FunctionsTest, ComplexArgumentsFollowTheSignature) {
    g_settings.complex_format = CPLX_RECT;
    Outcome o = run("Round( 1.26 + 2.34 i , 1 )");
    ASSERT_TRUE(o.ok);
    EXPECT_DOUBLE_EQ(o.re, 1.3);
    EXPECT_DOUBLE_EQ(o.im, 2.3);
    EXPECT_EQ(run("Round( 1 , i )").code, ERR_ARG_TYPE);
    EXPECT_EQ(run("atan2( i , 1 )").code, ERR_ARG_TYPE);
}

TEST_F(FunctionsTest, ProgramInputTakesTheScalarResult) {
    static bool taken;
    taken = false;
    g_hooks.program_input_variable = [] { return 11; };   // B
    g_hooks.program_input_taken = [] { taken = true; };
    ASSERT_TRUE(run("2 + 3 i").ok);
    EXPECT_EQ(g_memory[11].re, 2);
    EXPECT_EQ(g_memory[11].im, 3);
    EXPECT_TRUE(taken);
}

TEST_F(FunctionsTest, MatrixFunctionsWaitForTheirOwner) {
    EXPECT_EQ(run("Det( [A] )").code, ERR_DATA_TYPE);
    EXPECT_EQ(run("[A]").code, ERR_MATRIX_UNDEFINED);
}

struct Moments {
    const char* expr;
    double mean, variance, low, high;
    bool integer;
};

TEST_F(FunctionsTest, RandomDeviatesHaveTheirMoments) {
    const Moments cases[] = {
        {"randInt( 6 , 1 )", 3.5, 35.0 / 12, 1, 6, true},
        {"randNorm( 10 , 2 )", 10, 4, -1e9, 1e9, false},
        {"randPois( 3 )", 3, 3, 0, 1e9, true},
        {"randPois( 40 )", 40, 40, 0, 1e9, true},
        {"randBin( 10 , 0.3 )", 3, 2.1, 0, 10, true},
        {"randBin( 200 , 0.7 )", 140, 42, 0, 200, true},
        {"randBin( 1000 , 0.0005 )", 0.5, 0.49975, 0, 1000, true},
    };
    const int n = 20000;
    for (const Moments& c : cases) {
        std::vector<TokenCode> t = toks(c.expr);
        double sum = 0, sum2 = 0;
        for (int k = 0; k < n; ++k) {
            Outcome o = evaluate(t);
            ASSERT_TRUE(o.ok) << c.expr;
            ASSERT_GE(o.re, c.low) << c.expr;
            ASSERT_LE(o.re, c.high) << c.expr;
            if (c.integer) {
                ASSERT_EQ(o.re, std::floor(o.re)) << c.expr;
            }
            sum += o.re;
            sum2 += o.re * o.re;
        }
        double mean = sum / n, var = sum2 / n - mean * mean;
        // Five standard errors of the mean; the variance within 10 %.
        EXPECT_NEAR(mean, c.mean, 5 * std::sqrt(c.variance / n)) << c.expr;
        EXPECT_NEAR(var, c.variance, 0.1 * c.variance) << c.expr;
    }
}

}  // namespace
}  // namespace qx::test
