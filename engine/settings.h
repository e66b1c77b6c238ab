// The settings block: small integer codes shared by most of the calculator.
#pragma once
#include <cstdint>

namespace qx {

enum CalculatorMode {
    MODE_BASE_N = 0, MODE_COMP = 1, MODE_STATS = 2, MODE_PROG = 3,
    MODE_PERIODIC = 4, MODE_PLOT = 5, MODE_MATRIX = 6, MODE_LIST = 7,
};
enum AngleUnit { ANGLE_RAD = 0, ANGLE_DEG = 1, ANGLE_GRAD = 2 };
enum WordSize { BITS_8 = 0, BITS_16 = 1, BITS_32 = 2 };
enum NumberFormat { FMT_FLOAT = 0, FMT_FIXED = 1, FMT_SCI = 2, FMT_ENG = 3 };
enum Radix { RADIX_BIN = 0, RADIX_OCT = 1, RADIX_DEC = 2, RADIX_HEX = 3 };
enum ComplexFormat { CPLX_REAL = 0, CPLX_RECT = 1, CPLX_POLAR = 2 };

struct Settings {
    int angle_unit;
    int calculator_mode;
    int base_bits;
    int number_format;
    int decimal_digits;
    int base_mode;         // radix
    int complex_format;
    int decimal_mark;      // 0 point, 1 comma
    int stats_var;         // 0 one variable, 1 two
    int stats_regress;     // 0 linear .. 3 power
    std::uint32_t display_color;  // 0x00BBGGRR
    int brightness;
    int dynamic_mode;      // data mode of the fourth mode button
    int key_click;
};

extern Settings g_settings;

// The start-up defaults (used when no stored setting exists).
Settings default_settings();
void reset_settings();

}  // namespace qx
