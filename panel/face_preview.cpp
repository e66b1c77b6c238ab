#include "panel/face_preview.h"

#include "engine/settings.h"
#include "panel/images.h"

namespace qx {

namespace {

void picture(Surface& s, const char* name, int x, int y, bool transparent = true,
             bool bright = true) {
    draw_gif(s, name, x, y, transparent, bright ? g_settings.brightness : BRIGHTNESS_NEUTRAL);
}

// A picture that sits on a small key is drawn over a blank key first.
void on_small_key(Surface& s, const char* name, int x, int y) {
    picture(s, "SMALL_BUTTON_GIF", x, y);
    picture(s, name, x, y);
}

void lcd(Surface& s, int top, int bottom) {
    fill_rectangle(s, g_settings.display_color, 7, top, 233, bottom);
}

void main_face(Surface& s, int mode) {
    picture(s, "BACKGROUND_GIF", 0, 0, false);
    if (mode == MODE_BASE_N) {
        picture(s, "BASE_CALCULATOR_GIF", 0, 0);
        on_small_key(s, "16_bit_gif", 122, 72);
        on_small_key(s, "dec_gif", 83, 72);
        on_small_key(s, "blue_shift_button_gif", 44, 72);
        picture(s, "enun_base", 121, 54);
    } else if (mode == MODE_COMP) {
        picture(s, "CALCULATOR_GIF", 0, 0);
        picture(s, "stats_button_gif", 147, 192);
        on_small_key(s, "rad_gif", 200, 132);
        on_small_key(s, "orange_shift_button_gif", 44, 72);
        on_small_key(s, "blue_shift_button_gif", 83, 72);
        on_small_key(s, "hyp_button_gif", 122, 72);
        picture(s, "enun_comp", 4, 54);
        picture(s, "enun_stats_dark", 121, 54);
    } else {
        picture(s, "SMALL_LIGHT_BUTTON_GIF", 83, 102, false);
        picture(s, "SMALL_LIGHT_BUTTON_GIF", 122, 102, false);
        picture(s, "STAT_CALCULATOR_GIF", 0, 0);
        on_small_key(s, "1_var_gif", 83, 72);
        picture(s, "SMALL_LIGHT_BUTTON_GIF", 161, 102);
        picture(s, "linr_gif", 161, 102);
        on_small_key(s, "blue_shift_button_gif", 44, 72);
        picture(s, "enun_stats", 121, 54);
    }
    picture(s, "ac_button_gif", 194, 192);
    on_small_key(s, "run_button_gif", 5, 72);
    lcd(s, 6, 47);
}

}  // namespace

const char* const* face_names() {
    static const char* const kNames[] = {"comp", "base", "stats", "prog", "plot", "plot3d",
                                         "matrix", "list", "periodic", "alpha", nullptr};
    return kNames;
}

bool compose_face(const std::string& name, Surface& s) {
    s = Surface(240, 320, COLOUR_BLACK);
    if (name == "comp" || name == "alpha") main_face(s, MODE_COMP);
    else if (name == "base") main_face(s, MODE_BASE_N);
    else if (name == "stats") main_face(s, MODE_STATS);
    else if (name == "prog") {
        picture(s, "PROG_CALCULATOR_GIF", 0, 0, false);
        on_small_key(s, "blue_shift_button_gif", 44, 211);
        on_small_key(s, "run_button_gif", 5, 211);
        picture(s, "enun_stats_dark", 121, 193);
        lcd(s, 6, 26);
        lcd(s, 36, 186);
    } else if (name == "plot" || name == "plot3d") {
        const bool three_d = name == "plot3d";
        picture(s, three_d ? "PLOT_CALCULATOR_3D_GIF" : "PLOT_CALCULATOR_FUNCTION_GIF", 0, 0, false);
        picture(s, "enun_stats_dark", 121, 193);
        picture(s, "red_led_gif", 102, three_d ? 242 : 250, false);
        picture(s, "red_led_gif", 102, three_d ? 259 : 269, false);
        const int tools = three_d ? 4 : 3;
        const int xs[4] = {12, 33, 54, 75};
        for (int k = 0; k < tools; ++k)
            draw_legend(s, k == 0 ? "GREEN_TRACE_LED" : "GREY_TRACE_LED", xs[k], 221, false);
        fill_rectangle(s, COLOUR_WHITE, 7, 6, 232, 185);
    } else if (name == "matrix" || name == "list") {
        picture(s, name == "matrix" ? "MATRIX_GIF" : "LIST_GIF", 0, 0, false);
        picture(s, "MATRIX_A", 40, 252);
        picture(s, "enun_matrix", 121, 53);
    } else if (name == "periodic") {
        picture(s, "PERIODIC_GIF", 0, 0, false, false);
    } else {
        return false;
    }
    if (name == "alpha") {
        picture(s, "ALPHA_ENTRY_GIF", 3, 55, false);
        picture(s, "alpha_shift_button", 185, 152, false);
        picture(s, "ALPHA_PROGRAM_NAME", 13, 65, false);
    }
    return true;
}

}  // namespace qx
