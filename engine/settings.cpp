#include "engine/settings.h"

namespace qx {

Settings g_settings;

void reset_settings() {
    g_settings.angle_unit = ANGLE_RAD;
    g_settings.calculator_mode = MODE_COMP;
    g_settings.base_bits = BITS_16;
    g_settings.number_format = FMT_FLOAT;
    g_settings.decimal_digits = 4;
    g_settings.base_mode = RADIX_DEC;
    g_settings.complex_format = CPLX_REAL;
    g_settings.decimal_mark = 0;
    g_settings.stats_var = 0;
    g_settings.stats_regress = 0;
    g_settings.display_color = 0xFFFFFF;
    g_settings.brightness = 172;
    g_settings.dynamic_mode = MODE_STATS;
    g_settings.key_click = 0;
}

namespace {
struct SettingsInit {
    SettingsInit() { reset_settings(); }
} g_settings_init;
}  // namespace

}  // namespace qx
