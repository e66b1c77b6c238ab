// Scalar operators and functions: reference values, domains, angle units,
// complex formats and the numeric routines.
#include <gtest/gtest.h>

#include <cmath>

#include "engine/scalar.h"
#include "tests/helpers.h"

namespace qx::test {
namespace {

class ScalarTest : public EngineTest {};

struct Case {
    int angle;
    int complex_format;
    const char* expr;
    double re, im;
    int error;   // -1 when the expression must succeed
};

constexpr int RAD = ANGLE_RAD, DEG = ANGLE_DEG, GRAD = ANGLE_GRAD;
constexpr int REAL = CPLX_REAL, RECT = CPLX_RECT, POLAR = CPLX_POLAR;

TEST_F(ScalarTest, OperatorTable) {
    const Case cases[] = {
        {RAD, REAL, "sin( pi )", 0, 0, -1},
        {DEG, REAL, "tan( 90 )", 0, 0, ERR_DOMAIN},
        {DEG, REAL, "tan( 45 )", 1, 0, -1},
        {DEG, REAL, "sin( 30 )", 0.5, 0, -1},
        {GRAD, REAL, "cos( 100 )", 0, 0, -1},
        {DEG, REAL, "asin( 1 )", 90, 0, -1},
        {GRAD, REAL, "atan( 1 )", 50, 0, -1},
        {DEG, REAL, "atan2( 1 , neg 1 )", 135, 0, -1},
        {DEG, REAL, "pi (r)", 180, 0, -1},
        {RAD, REAL, "180 (d)", 3.141592653589793, 0, -1},
        {DEG, REAL, "200 (g)", 180, 0, -1},
        {RAD, REAL, "sqrt neg 4", 0, 0, ERR_DOMAIN},
        {RAD, RECT, "sqrt neg 4", 0, 2, -1},
        {RAD, POLAR, "sqrt neg 4", 0, 2, -1},
        {RAD, REAL, "( neg 8 ) ^ ( 1 / 3 )", -2, 0, -1},
        {RAD, RECT, "( neg 8 ) ^ ( 1 / 3 )", 1, std::sqrt(3.0), -1},
        {RAD, REAL, "3 Rt neg 8", -2, 0, -1},
        {RAD, RECT, "3 Rt neg 8", -2, 0, -1},
        {RAD, RECT, "2 Rt neg 4", 0, 2, -1},
        {RAD, RECT, "( neg 9 ) ^ 0.5", 0, 3, -1},
        {RAD, REAL, "0 Rt 5", 0, 0, ERR_DOMAIN},
        {RAD, REAL, "0 ^ neg 1", 0, 0, ERR_DOMAIN},
        {RAD, REAL, "0 ^ 0", 1, 0, -1},
        {RAD, RECT, "0 ^ 2", 0, 0, -1},
        {RAD, RECT, "( neg 2 ) ^ 2", 4, 0, -1},
        {RAD, POLAR, "( neg 2 ) ^ 3", -8, 0, -1},
        {RAD, RECT, "( 1 + i ) ^ 2", 0, 2, -1},
        {RAD, RECT, "i ^ i", std::exp(-3.141592653589793 / 2), 0, -1},
        {RAD, REAL, "170 !", 7.257415615307994e306, 0, -1},
        {RAD, REAL, "171 !", 0, 0, ERR_OVERFLOW},
        {RAD, REAL, "( neg 1 ) !", 0, 0, ERR_DOMAIN},
        {RAD, REAL, "neg 1 !", -1, 0, -1},
        {RAD, REAL, "2.5 !", 0, 0, ERR_DOMAIN},
        {RAD, REAL, "Round( 2.5 , 0 )", 3, 0, -1},
        {RAD, REAL, "Round( neg 2.5 , 0 )", -3, 0, -1},
        {RAD, REAL, "Round( 1.23456 , 11 )", 0, 0, ERR_DOMAIN},
        {RAD, REAL, "Round( 1.23456 , 2 )", 1.23, 0, -1},
        {RAD, REAL, "Trunc( neg 1.789 , 1 )", -1.7, 0, -1},
        {RAD, REAL, "toHMS( 1.5 )", 1.3, 0, -1},
        {RAD, REAL, "fromHMS( 1.3 )", 1.5, 0, -1},
        {RAD, REAL, "iPart( 1 E 14 )", 1e14, 0, -1},
        {RAD, REAL, "iPart( neg 2.7 )", -2, 0, -1},
        {RAD, REAL, "fPart( 2.25 )", 0.25, 0, -1},
        {RAD, REAL, "Floor( neg 2.5 )", -3, 0, -1},
        {RAD, REAL, "Ceil( 2.1 )", 3, 0, -1},
        {RAD, REAL, "gcd( 12 , 18 )", 6, 0, -1},
        {RAD, REAL, "lcm( 4 , 6 )", 12, 0, -1},
        {RAD, REAL, "lcm( 0 , 0 )", 0, 0, -1},
        {RAD, REAL, "gcd( 1.5 , 3 )", 0, 0, ERR_DOMAIN},
        {RAD, REAL, "5 nCr 2", 10, 0, -1},
        {RAD, REAL, "5 nPr 2", 20, 0, -1},
        {RAD, REAL, "200 nCr 2", 19900, 0, -1},
        {RAD, REAL, "2 nCr 5", 0, 0, ERR_DOMAIN},
        {RAD, REAL, "7 fmod 3", 1, 0, -1},
        {RAD, REAL, "logb( 8 , 2 )", 3, 0, -1},
        {RAD, REAL, "logb( 8 , 0 )", 0, 0, ERR_DOMAIN},
        {RAD, REAL, "logb( 8 , 1 )", 0, 0, ERR_DIV_ZERO},
        {RAD, REAL, "ln( 0 )", 0, 0, ERR_DOMAIN},
        {RAD, RECT, "ln( neg 1 )", 0, 3.141592653589793, -1},
        {RAD, REAL, "log( 1000 )", 3, 0, -1},
        {RAD, REAL, "acosh( 0.5 )", 0, 0, ERR_DOMAIN},
        {RAD, REAL, "atanh( 2 )", 0, 0, ERR_DOMAIN},
        {RAD, REAL, "atanh( 1 )", 0, 0, ERR_DIV_ZERO},
        {RAD, RECT, "asin( 2 )", 1.5707963267948966, -1.3169578969248166, -1},
        {RAD, RECT, "acos( 2 )", 0, 1.3169578969248166, -1},
        {RAD, REAL, "asinh( neg 1 E 8 )", -19.113827924512311, 0, -1},
        {RAD, REAL, "abs( 3 + 4 i )", 5, 0, -1},
        {RAD, REAL, "abs( 1 E 200 + 1 E 200 i )", 1.4142135623730951e200, 0, -1},
        {RAD, REAL, "Gamma( 5 )", 24, 0, -1},
        {RAD, REAL, "Gamma( 0.5 )", 1.7724538509055160, 0, -1},
        {RAD, REAL, "Gamma( 0 )", 0, 0, ERR_DOMAIN},
        {RAD, REAL, "Beta( 2 , 3 )", 1.0 / 12, 0, -1},
        {RAD, REAL, "Jn( 0 , 1 )", 0.76519768655796655, 0, -1},
        {RAD, REAL, "Yn( 1 , 2 )", -0.10703243154093754, 0, -1},
        {RAD, REAL, "Jn( neg 1 , 2 )", 0, 0, ERR_DOMAIN},
        {RAD, REAL, "Jn( 1 , 0 )", 0, 0, ERR_DOMAIN},
        {RAD, REAL, "Sign( neg 3 )", -1, 0, -1},
        {RAD, REAL, "Sign( i )", 0, 0, ERR_ARG_TYPE},
        {RAD, REAL, "Mant( 12345 )", 1.2345, 0, -1},
        {RAD, REAL, "Xpon( 0.00123 )", -3, 0, -1},
        {DEG, REAL, "Angle( i )", 90, 0, -1},
        {RAD, REAL, "Conj( 1 + 2 i )", 1, -2, -1},
        {RAD, REAL, "Imag( 1 + 2 i )", 2, 0, -1},
        {RAD, REAL, "randPois( neg 1 )", 0, 0, ERR_DOMAIN},
        {RAD, REAL, "randBin( 10 , 2 )", 0, 0, ERR_DOMAIN},
        {RAD, REAL, "randInt( 1.5 , 2 )", 0, 0, ERR_DOMAIN},
        {RAD, REAL, "Color( 256 , 0 , 0 )", 0, 0, ERR_DOMAIN},
        {RAD, REAL, "10 ^ 400", 0, 0, ERR_OVERFLOW},
        {RAD, REAL, "exp 1000", 0, 0, ERR_OVERFLOW},
        {RAD, REAL, "( 1 + i ) !", 0, 0, ERR_DATA_TYPE},
        {RAD, REAL, "0 inv", 0, 0, ERR_DIV_ZERO},
        {RAD, REAL, "1 E~320 * 1", 1e-320, 0, -1},   // denormals are not faults
    };
    for (const Case& c : cases) {
        fresh_state();
        g_settings.angle_unit = c.angle;
        g_settings.complex_format = c.complex_format;
        Outcome o = run(c.expr);
        if (c.error >= 0) {
            EXPECT_FALSE(o.ok) << c.expr;
            EXPECT_EQ(o.code, c.error) << c.expr;
            continue;
        }
        ASSERT_TRUE(o.ok) << c.expr << " -> error " << o.code;
        double tol = 1e-13 * std::max({1.0, std::fabs(c.re), std::fabs(c.im)});
        EXPECT_NEAR(o.re, c.re, tol) << c.expr;
        EXPECT_NEAR(o.im, c.im, tol) << c.expr;
    }
}

TEST_F(ScalarTest, ExactResultsStayExact) {
    g_settings.complex_format = CPLX_RECT;
    EXPECT_EQ(run("( neg 2 ) ^ 2").im, 0.0);
    EXPECT_EQ(run("acos( 0.5 )").im, 0.0);
    EXPECT_EQ(run("2 Rt neg 4").re, 0.0);
    EXPECT_EQ(run("iPart( 1 E 14 )").re, 1e14);
    EXPECT_EQ(run("170 !").re, 7.257415615307994e306);
}

TEST_F(ScalarTest, PlotModeKeepsRawSineAndRefusesComplex) {
    g_settings.calculator_mode = MODE_PLOT;
    Outcome o = run("sin( pi )");
    ASSERT_TRUE(o.ok);
    EXPECT_NE(o.re, 0.0);
    EXPECT_LT(std::fabs(o.re), 1e-15);
    EXPECT_EQ(run("sqrt neg 1").code, ERR_DOMAIN);
    EXPECT_EQ(run("1 + i").code, ERR_DATA_TYPE);
}

TEST_F(ScalarTest, BaseNModeCutsOperandsToTheWord) {
    g_settings.calculator_mode = MODE_BASE_N;
    g_settings.base_bits = BITS_8;
    EXPECT_EQ(run("200 sfx_d + 0").re, -56);
    EXPECT_EQ(run("127 + 1").re, -128);
    EXPECT_EQ(run("3 / 2").re, 1);
}

TEST(IntegerParts, ToleranceAndRange) {
    struct { double x, ipart, fpart; } cases[] = {
        {2.9999999999999996, 3, 0}, {3.0000000000000004, 3, 0}, {1e14, 1e14, 0},
        {1e13 + 0.5, 1e13, 0.5}, {-2.5, -2, -0.5}, {0.1, 0, 0.1}, {1e300, 1e300, 0},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(int_part(c.x), c.ipart) << c.x;
        EXPECT_DOUBLE_EQ(frac_part(c.x), c.fpart) << c.x;
    }
    clear_error();
    EXPECT_EQ(int_in_range(3e9, 0, 10, ERR_DOMAIN), 0);
    EXPECT_TRUE(error_pending());
    clear_error();
}

TEST(RealPower, OddRootsOfNegatives) {
    clear_error();
    EXPECT_EQ(power(-8, 1.0 / 3.0), -2);
    EXPECT_NEAR(power(-32, 0.2), -2, 1e-15);
    EXPECT_EQ(power(2, 10), 1024);
    EXPECT_EQ(power(0, 5), 0);
    EXPECT_FALSE(error_pending());
}

}  // namespace
}  // namespace qx::test
