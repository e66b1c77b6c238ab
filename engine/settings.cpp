#include "engine/settings.h"

namespace qx {

Settings g_settings;

Settings default_settings() {
    Settings s{};
    s.angle_unit = ANGLE_RAD;
    s.calculator_mode = MODE_COMP;
    s.base_bits = BITS_16;
    s.number_format = FMT_FLOAT;
    s.decimal_digits = 4;
    s.base_mode = RADIX_DEC;
    s.complex_format = CPLX_REAL;
    s.decimal_mark = 0;
    s.stats_var = 0;
    s.stats_regress = 0;
    s.display_color = 0xFFFFFF;
    s.brightness = 172;
    s.dynamic_mode = MODE_STATS;
    s.key_click = 0;
    return s;
}

void reset_settings() { g_settings = default_settings(); }

namespace {
struct SettingsInit {
    SettingsInit() { reset_settings(); }
} g_settings_init;
}  // namespace

}  // namespace qx
