// Number formatting: every format, decimal mark, complex forms, base-n.
#include <gtest/gtest.h>

#include <cmath>

#include "tests/helpers.h"

namespace qx::test {
namespace {

class FormatTest : public EngineTest {};

struct RealCase {
    int format, digits;
    double value;
    const char* text;
};

TEST_F(FormatTest, RealFormats) {
    const RealCase cases[] = {
        {FMT_FLOAT, 4, 1.0 / 3.0, "0.3333333333"},
        {FMT_FLOAT, 4, 123456789012.0, "1.2345678901E11"},
        {FMT_FLOAT, 4, 12345678901.0, "12345678901"},
        {FMT_FLOAT, 4, 0.001, "0.001"},
        {FMT_FLOAT, 4, 0.000999, "9.99E-4"},
        {FMT_FLOAT, 4, 1e20, "1E20"},
        {FMT_FLOAT, 4, 0.0, "0"},
        {FMT_FLOAT, 4, -2.5, "-2.5"},
        {FMT_FLOAT, 4, 7.257415615307994e306, "7.2574156153E306"},
        {FMT_FLOAT, 4, -1.5e-5, "-1.5E-5"},
        {FMT_FIXED, 2, 1234.5, "1234.50"},
        {FMT_FIXED, 2, 1e10, "1.00E10"},
        {FMT_FIXED, 0, 2.5, "2"},
        {FMT_SCI, 3, 12346, "1.235E4"}, {FMT_SCI, 3, 12345, "1.234E4"},
        {FMT_SCI, 2, -0.00012, "-1.20E-4"},
        {FMT_ENG, 3, 12346, "12.35E3"},
        {FMT_ENG, 3, 0.000123, "123.0E-6"},
        {FMT_ENG, 0, 12345, "10E3"},
        {FMT_ENG, 2, -1234, "-1.23E3"},
        {FMT_ENG, 2, 5, "5.00E0"},
        {7, 2, 5, "?"},
    };
    for (const RealCase& c : cases)
        EXPECT_EQ(plain(format_real(c.value, c.format, c.digits, true)), c.text)
            << c.format << " " << c.value;
    // Plain mode spells the exponent mark as "e".
    EXPECT_STREQ(format_real(1e20, FMT_FLOAT, 4, false), "1e20");
}

TEST_F(FormatTest, CommaDecimalMark) {
    g_settings.decimal_mark = 1;
    EXPECT_STREQ(format_real(1.5, FMT_FLOAT, 4, false), "1,5");
    EXPECT_STREQ(format_real(1.5e-5, FMT_SCI, 2, false), "1,50e-5");
}

struct ComplexCase {
    int complex_format, angle;
    double re, im;
    const char* text;
};

TEST_F(FormatTest, ComplexDisplay) {
    const ComplexCase cases[] = {
        {CPLX_RECT, ANGLE_RAD, 3, 4, "3+4i"},
        {CPLX_RECT, ANGLE_RAD, 3, -4, "3-4i"},
        {CPLX_RECT, ANGLE_RAD, 0, 1, "i"},
        {CPLX_RECT, ANGLE_RAD, 0, -1, "-i"},
        {CPLX_RECT, ANGLE_RAD, 0, -4, "-4i"},
        {CPLX_RECT, ANGLE_RAD, 2, 1, "2+i"},
        {CPLX_RECT, ANGLE_RAD, 2.5, 0, "2.5"},
        {CPLX_REAL, ANGLE_RAD, 1.25, 1e-5, "1.25+1E-5i"},
        {CPLX_POLAR, ANGLE_DEG, 0, 1, "e^(90i)"},
        {CPLX_POLAR, ANGLE_DEG, 0, 2, "2e^(90i)"},
        {CPLX_POLAR, ANGLE_DEG, 0, -2, "2e^(-90i)"},
        {CPLX_POLAR, ANGLE_RAD, std::cos(1.0), std::sin(1.0), "e^(i)"},
        {CPLX_POLAR, ANGLE_DEG, 5, 0, "5"},
        {CPLX_POLAR, ANGLE_DEG, -5, 0, "5e^(180i)"},
    };
    for (const ComplexCase& c : cases) {
        g_settings.complex_format = c.complex_format;
        g_settings.angle_unit = c.angle;
        EXPECT_EQ(plain(format_complex_display(c.re, c.im, true, false)), c.text)
            << c.re << " " << c.im;
    }
}

TEST_F(FormatTest, ResultLineShowsErrorsAndObjectResults) {
    ASSERT_EQ(run("1 / 0").code, ERR_DIV_ZERO);
    raise_error(ERR_DIV_ZERO, "x", "y");
    EXPECT_STREQ(format_result_line(1, true, false), "Division by Zero");
    clear_error();
    g_last_result_kind = RK_MATRIX;
    EXPECT_STREQ(format_result_line(1, true, false), "Result in Matrix Ans");
    EXPECT_STREQ(format_result_line(1, true, true), "1");
    g_last_result_kind = RK_LIST;
    EXPECT_STREQ(format_result_line(1, true, false), "Result in List Ans");
}

TEST_F(FormatTest, PlainComplexKeepsSigns) {
    EXPECT_STREQ(format_complex_plain(1, -2, FMT_FLOAT, 4, false), "1+-2i");
    g_settings.complex_format = CPLX_POLAR;
    g_settings.angle_unit = ANGLE_DEG;
    EXPECT_STREQ(format_complex_plain(0, 2, FMT_FLOAT, 4, false), "2e^(90i)");
}

struct BaseCase {
    int bits, radix;
    double value;
    const char* text;
};

TEST_F(FormatTest, BaseNTexts) {
    const BaseCase cases[] = {
        {BITS_16, RADIX_BIN, 5, "0000 0000 0000 0101b"},
        {BITS_8, RADIX_BIN, -1, "1111 1111b"},
        {BITS_16, RADIX_HEX, -1, "FFFFh"},
        {BITS_32, RADIX_HEX, 255, "0000 00FFh"},
        {BITS_8, RADIX_OCT, 255, "377o"},
        {BITS_16, RADIX_OCT, 8, "000 010o"},
        {BITS_32, RADIX_OCT, -1, "37 777 777 777o"},
        {BITS_8, RADIX_DEC, 200, "-56d"},
        {BITS_32, RADIX_DEC, 3e10, "2147483647d"},
        {BITS_32, RADIX_DEC, -3e10, "-2147483648d"},
    };
    for (const BaseCase& c : cases) {
        g_settings.base_bits = c.bits;
        EXPECT_STREQ(format_base_n(c.value, c.radix, false), c.text) << c.value;
    }
    g_settings.base_bits = BITS_32;
    std::string glyphs = format_base_n(5, RADIX_BIN, true);
    ASSERT_EQ(glyphs.size(), 32u + 7u + 2u);
    EXPECT_EQ(glyphs[glyphs.size() - 2], GLYPH_NARROW_SPACE);
    EXPECT_EQ(glyphs.back(), 'b');
    EXPECT_EQ(glyphs[glyphs.size() - 3], GLYPH_NARROW_1);
    raise_error(ERR_MATH, "x", "y");
    EXPECT_STREQ(format_base_n(5, RADIX_HEX, false), "");
    clear_error();
}

TEST_F(FormatTest, StatisticsNames) {
    EXPECT_STREQ(get_stats_string(0), " xySum ");
    EXPECT_STREQ(get_stats_string(20), " n ");
    EXPECT_STREQ(get_stats_string(21), "");
}

}  // namespace
}  // namespace qx::test
