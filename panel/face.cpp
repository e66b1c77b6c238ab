#include "panel/face.h"


#include <cstdio>
#include <string>

#include "engine/errors.h"
#include "engine/settings.h"
#include "panel/help.h"
#include "panel/images.h"
#include "panel/input_line.h"
#include "panel/key_decoder.h"
#include "panel/key_layout.h"
#include "panel/legend_names.h"
#include "panel/subsystems.h"
#include "panel/ui.h"
#include "platform/desktop.h"
#include "platform/sound.h"

namespace qx {

namespace {

bool g_ac_drawn_red = false;

void picture(Surface& s, const char* name, int x, int y, bool transparent = true,
             bool bright = true) {
    draw_gif(s, name, x, y, transparent, bright ? g_settings.brightness : BRIGHTNESS_NEUTRAL);
}

// A picture over a small key: the blank key first, so a picture with
// transparent corners sits on a whole key.
void on_small_key(Surface& s, const char* name, int x, int y) {
    picture(s, "SMALL_BUTTON_GIF", x, y);
    picture(s, name, x, y);
}

void lcd(Surface& s, int top, int bottom) {
    fill_rectangle(s, g_settings.display_color & 0xFFFFFF, 7, top, 233, bottom);
}

bool main_face_mode(int mode) {
    return mode == MODE_BASE_N || mode == MODE_COMP || mode == MODE_STATS;
}

void draw_ac(Surface& s) {
    const int mode = g_settings.calculator_mode;
    if (!main_face_mode(mode)) return;   // only the main face has the AC key
    g_ac_drawn_red = error_pending();
    picture(s, g_ac_drawn_red ? "red_ac_button_gif" : "ac_button_gif", 194, 192);
}

void draw_run(Surface& s) {
    const int mode = g_settings.calculator_mode;
    const char* name = g_panel.program_running() ? "stop_button_gif" : "run_button_gif";
    if (main_face_mode(mode)) on_small_key(s, name, 5, 72);
    else if (mode == MODE_PROG) on_small_key(s, name, 5, 211);
}

void draw_shift(Surface& s, int which) {
    const int mode = g_settings.calculator_mode;
    if (mode == MODE_COMP) {
        if (which == IND_ORANGE || which == IND_SHIFTS)
            on_small_key(s, g_shift.orange ? "orange_dot_button_gif" : "orange_shift_button_gif", 44, 72);
        if (which == IND_BLUE || which == IND_SHIFTS)
            on_small_key(s, g_shift.blue ? "blue_dot_button_gif" : "blue_shift_button_gif", 83, 72);
        if (which == IND_HYP || which == IND_SHIFTS)
            on_small_key(s, g_shift.hyp ? "white_dot_button_gif" : "hyp_button_gif", 122, 72);
    } else if (mode == MODE_BASE_N || mode == MODE_STATS) {
        if (which == IND_BLUE || which == IND_SHIFTS)
            on_small_key(s, g_shift.blue ? "blue_dot_button_gif" : "blue_shift_button_gif", 44, 72);
    } else if (mode == MODE_PROG) {
        if (which == IND_BLUE || which == IND_SHIFTS)
            on_small_key(s, g_shift.blue ? "blue_dot_button_gif" : "blue_shift_button_gif", 44, 211);
    }
}

const char* angle_picture() {
    static const char* const kNames[3] = {"rad_gif", "deg_gif", "grad_gif"};
    return kNames[g_settings.angle_unit >= 0 && g_settings.angle_unit < 3 ? g_settings.angle_unit : 0];
}

// A state outside its table draws nothing and says so.
const char* pick(const char* const* names, int count, int value) {
    if (value < 0 || value >= count) {
        show_box("bitmap not found", "Bitmap error");
        return nullptr;
    }
    return names[value];
}

void draw_indicator_key(Surface& s, int number) {
    static const char* const kBits[3] = {"8_bit_gif", "16_bit_gif", "32_bit_gif"};
    static const char* const kBase[4] = {"bin_gif", "oct_gif", "dec_gif", "hex_gif"};
    static const char* const kVars[2] = {"1_var_gif", "2_var_gif"};
    static const char* const kRegress[4] = {"linr_gif", "logr_gif", "expr_gif", "powr_gif"};
    const int mode = g_settings.calculator_mode;
    const char* name = nullptr;
    switch (number) {
        case IND_WORD_SIZE:
            if (mode != MODE_BASE_N) return;
            if ((name = pick(kBits, 3, g_settings.base_bits))) on_small_key(s, name, 122, 72);
            return;
        case IND_BASE:
            if (mode != MODE_BASE_N) return;
            if ((name = pick(kBase, 4, g_settings.base_mode))) on_small_key(s, name, 83, 72);
            return;
        case IND_ANGLE:
            if (mode == MODE_COMP) on_small_key(s, angle_picture(), 200, 132);
            return;
        case IND_STATS_VARS:
            if (mode != MODE_STATS) return;
            if ((name = pick(kVars, 2, g_settings.stats_var))) on_small_key(s, name, 83, 72);
            return;
        case IND_REGRESSION:
            if (mode != MODE_STATS) return;
            if ((name = pick(kRegress, 4, g_settings.stats_regress))) {
                picture(s, "SMALL_LIGHT_BUTTON_GIF", 161, 102);
                picture(s, name, 161, 102);
            }
            return;
        default: return;
    }
}

// The fourth mode button shows the data mode it selects.
void draw_mode_legends(Surface& s) {
    const int mode = g_settings.calculator_mode;
    if (mode == MODE_PERIODIC) return;
    if (mode == MODE_COMP) picture(s, "enun_comp", 4, 54);
    const int y = main_face_mode(mode) ? 54 : (mode == MODE_MATRIX || mode == MODE_LIST) ? 53 : 193;
    const char* name = nullptr;
    switch (mode) {
        case MODE_BASE_N: name = "enun_base"; break;
        case MODE_STATS: name = "enun_stats"; break;
        case MODE_MATRIX: name = "enun_matrix"; break;
        case MODE_LIST: name = "enun_list"; break;
        default:
            switch (g_settings.dynamic_mode) {
                case MODE_BASE_N: name = "enun_base_dark"; break;
                case MODE_MATRIX: name = "enun_matrix_dark"; break;
                case MODE_LIST: name = "enun_list_dark"; break;
                default: name = "enun_stats_dark"; break;
            }
    }
    picture(s, name, 121, y);
}

void draw_plot_leds(Surface& s, int number) {
    const bool three_d = g_panel.plot_type() == 3;
    if (number == IND_LOCK_LEDS) {
        picture(s, g_panel.plot_lock(0) ? "green_led_gif" : "red_led_gif", 102, three_d ? 242 : 250, false);
        picture(s, g_panel.plot_lock(1) ? "green_led_gif" : "red_led_gif", 102, three_d ? 259 : 269, false);
        return;
    }
    const int xs[4] = {12, 33, 54, 75};
    for (int k = 0; k < (three_d ? 4 : 3); ++k)
        draw_legend(s, g_panel.plot_tool() == k ? "GREEN_TRACE_LED" : "GREY_TRACE_LED", xs[k], 221, false);
}


void draw_display_lines(Surface& s) {
    const int mode = g_settings.calculator_mode;
    if (mode == MODE_PLOT || mode == MODE_PERIODIC) return;
    const char* program_text = g_panel.program_output_line();
    if (g_alpha.shown) draw_alpha_text(s);
    else if (program_text) draw_program_text(s, program_text);
    else draw_input_line(s);
    if (mode == MODE_PROG) g_panel.program_listing_paint(s);
    else if (!g_result.empty) draw_result_line(s);
}

}  // namespace

void draw_program_text(Surface& s, const char* text) {
    fill_rectangle(s, g_settings.display_color & 0xFFFFFF, 7, 8, 233, 25);
    int x = 20;
    for (const unsigned char* p = reinterpret_cast<const unsigned char*>(text); *p; ++p) {
        const char* name = text_char_legend(*p);
        if (x + legend_width(name) > 202) break;
        x += draw_legend(s, name, x, 8, false);
    }
}

void compose_face(Surface& s) {
    if (s.width() != SCREEN_WIDTH || s.height() != SCREEN_HEIGHT) s = Surface(SCREEN_WIDTH, SCREEN_HEIGHT);
    const int mode = g_settings.calculator_mode;
    switch (mode) {
        case MODE_BASE_N:
        case MODE_COMP:
        case MODE_STATS:
            g_panel.window_title_refresh();
            picture(s, "BACKGROUND_GIF", 0, 0, false);
            if (mode == MODE_BASE_N) {
                picture(s, "BASE_CALCULATOR_GIF", 0, 0);
                draw_ac(s);
                draw_indicator_key(s, IND_WORD_SIZE);
                draw_indicator_key(s, IND_BASE);
            } else if (mode == MODE_COMP) {
                picture(s, "CALCULATOR_GIF", 0, 0);
                draw_ac(s);
                const int data = g_settings.dynamic_mode;
                picture(s, data == MODE_MATRIX || data == MODE_LIST ? "matrix_button_gif" : "stats_button_gif", 147, 192);
                draw_indicator_key(s, IND_ANGLE);
            } else {
                picture(s, "SMALL_LIGHT_BUTTON_GIF", 83, 102, false);
                picture(s, "SMALL_LIGHT_BUTTON_GIF", 122, 102, false);
                picture(s, "STAT_CALCULATOR_GIF", 0, 0);
                draw_ac(s);
                draw_indicator_key(s, IND_STATS_VARS);
                draw_indicator_key(s, IND_REGRESSION);
            }
            draw_run(s);
            draw_shift(s, IND_SHIFTS);
            draw_mode_legends(s);
            lcd(s, 6, 47);
            break;
        case MODE_PROG:
            if (ui().window) ui().window->set_title(g_panel.program_name());
            picture(s, "PROG_CALCULATOR_GIF", 0, 0, false);
            draw_run(s);
            draw_shift(s, IND_SHIFTS);
            draw_mode_legends(s);
            lcd(s, 6, 26);
            lcd(s, 36, 186);
            break;
        case MODE_PERIODIC:
            picture(s, "PERIODIC_GIF", 0, 0, false, false);
            break;
        case MODE_PLOT:
            picture(s, g_panel.plot_type() == 3 ? "PLOT_CALCULATOR_3D_GIF" : "PLOT_CALCULATOR_FUNCTION_GIF", 0, 0, false);
            draw_mode_legends(s);
            draw_plot_leds(s, IND_LOCK_LEDS);
            draw_plot_leds(s, IND_TOOL_LEDS);
            fill_rectangle(s, COLOUR_WHITE, 7, 6, 232, 185);
            g_panel.plot_paint(s, false);
            break;
        case MODE_MATRIX:
        case MODE_LIST:
            picture(s, mode == MODE_MATRIX ? "MATRIX_GIF" : "LIST_GIF", 0, 0, false);
            lcd(s, 6, 47);
            g_panel.editor_paint(s);
            draw_mode_legends(s);
            break;
        default:
            show_box("bitmap not found", "Bitmap error");
            break;
    }
    if (g_settings.decimal_mark == 1) {
        if (mode == MODE_COMP) on_small_key(s, "SMALL_DOT_BUTTON_GIF", 83, 162);
        if (main_face_mode(mode)) picture(s, "COMMA_BUTTON_GIF", 51, 270, false);
    }
    draw_display_lines(s);
    if (g_alpha.shown) paint_alpha_keyboard(s);
}

void paint_face() {
    restore_pressed_key();
    compose_face(ui().screen);
    present_screen();
}

void redraw_indicator(int number, bool restore_pressed) {
    if (restore_pressed) restore_pressed_key();
    Surface& s = ui().screen;
    switch (number) {
        case IND_AC:
            // Only a change of the error state needs a new picture.
            if (error_pending() == g_ac_drawn_red) return;
            draw_ac(s);
            break;
        case IND_SHIFTS:
        case IND_ORANGE:
        case IND_BLUE:
        case IND_HYP:
            if (g_alpha.shown) return;
            draw_shift(s, number);
            break;
        case IND_ALPHA_SHIFT:
            if (!g_alpha.shown) return;
            picture(s, g_alpha.shift ? "dot_alpha_shift_button" : "alpha_shift_button", 185, 152, false);
            break;
        case IND_STATS_VARS:
        case IND_REGRESSION:
        case IND_BASE:
        case IND_ANGLE:
        case IND_WORD_SIZE:
            if (g_alpha.shown) return;
            draw_indicator_key(s, number);
            break;
        case IND_RUN:
            if (g_alpha.shown) return;
            draw_run(s);
            break;
        case IND_LOCK_LEDS:
        case IND_TOOL_LEDS:
            if (g_settings.calculator_mode != MODE_PLOT) return;
            draw_plot_leds(s, number);
            break;
        default:
            show_box("bitmap not found", "Bitmap error");
            return;
    }
    present_screen();
}

void play_key_click() {
    if (!g_settings.key_click) return;
    play_wave_async(executable_folder() + "/click.wav");
}

void open_help() {
    const std::string path = write_help_file();
    if (path.empty()) return;
    if (ui().window && ui().window->scripted()) {
        ui().window->log_line("help " + path);
        return;
    }
    open_with_desktop(path);
}

}  // namespace qx
