// Base-n arithmetic on 8, 16 and 32-bit words, literals with radix suffixes.
#include <gtest/gtest.h>

#include <climits>

#include "engine/basen.h"
#include "tests/helpers.h"

namespace qx::test {
namespace {

class BaseNTest : public EngineTest {
protected:
    void SetUp() override {
        EngineTest::SetUp();
        g_settings.calculator_mode = MODE_BASE_N;
    }
};

struct Case {
    int bits, radix;
    const char* expr;
    double value;
    int error;
};

TEST_F(BaseNTest, Operators) {
    const Case cases[] = {
        {BITS_8, RADIX_DEC, "127 + 1", -128, -1},
        {BITS_8, RADIX_DEC, "not 0", -1, -1},
        {BITS_8, RADIX_DEC, "1 << 7", -128, -1},
        {BITS_16, RADIX_DEC, "bneg 1 >> 4", -1, -1},
        {BITS_16, RADIX_DEC, "7 mod bneg 3", 1, -1},
        {BITS_16, RADIX_DEC, "bneg 7 mod 3", -1, -1},
        {BITS_16, RADIX_DEC, "1 << 40", 0, -1},
        {BITS_16, RADIX_DEC, "bneg 1 >> 40", -1, -1},
        {BITS_32, RADIX_DEC, "bneg 1 << 31", INT_MIN, -1},
        {BITS_32, RADIX_DEC, "( bneg 2147483647 - 1 ) mod bneg 1", 0, -1},
        {BITS_32, RADIX_DEC, "bneg ( bneg 2147483647 - 1 )", INT_MIN, -1},
        {BITS_16, RADIX_DEC, "12 and 10", 8, -1},
        {BITS_16, RADIX_DEC, "12 or 10", 14, -1},
        {BITS_16, RADIX_DEC, "12 xor 10", 6, -1},
        {BITS_16, RADIX_DEC, "12 xnor 10", -7, -1},
        {BITS_16, RADIX_DEC, "5 mod 0", 0, ERR_DIV_ZERO},
        {BITS_16, RADIX_HEX, "hexF hexF", 255, -1},
        {BITS_16, RADIX_HEX, "10 sfx_d", 10, -1},
        {BITS_16, RADIX_DEC, "101 sfx_b + 17 sfx_o", 20, -1},
        {BITS_16, RADIX_DEC, "hexA sfx_h", 10, -1},
        {BITS_16, RADIX_DEC, "1 sfx_b 0", 0, ERR_SYNTAX},
        {BITS_16, RADIX_DEC, "sfx_b", 0, ERR_SYNTAX},
        {BITS_16, RADIX_BIN, "2", 0, ERR_SYNTAX},
        {BITS_32, RADIX_HEX, "1 0 0 0 0 0 0 0 0", 0, ERR_OVERFLOW},
        {BITS_32, RADIX_HEX, "hexF hexF hexF hexF hexF hexF hexF hexF", -1, -1},
    };
    for (const Case& c : cases) {
        g_settings.base_bits = c.bits;
        g_settings.base_mode = c.radix;
        Outcome o = run(c.expr);
        if (c.error >= 0) {
            EXPECT_EQ(o.code, c.error) << c.expr;
            continue;
        }
        ASSERT_TRUE(o.ok) << c.expr << " -> " << o.code;
        EXPECT_EQ(o.re, c.value) << c.expr;
        EXPECT_EQ(o.im, 0.0) << c.expr;
    }
}

TEST_F(BaseNTest, ComplexOperandIsDataTypeError) {
    g_settings.calculator_mode = MODE_COMP;
    EXPECT_EQ(run("( 1 + i ) and 1").code, ERR_DATA_TYPE);
    EXPECT_EQ(run("1 and i").code, ERR_DATA_TYPE);
}

TEST(WordConversion, SaturatesAndSignExtends) {
    EXPECT_EQ(to_int32(1e20), INT_MAX);
    EXPECT_EQ(to_int32(-1e20), INT_MIN);
    EXPECT_EQ(to_int32(-2.9), -2);
    EXPECT_EQ(cut_to_word(200, BITS_8), -56);
    EXPECT_EQ(cut_to_word(65535, BITS_16), -1);
    EXPECT_EQ(cut_to_word(INT_MIN, BITS_32), INT_MIN);
}

}  // namespace
}  // namespace qx::test
