#include "panel/key_decoder.h"

#include "engine/errors.h"
#include "engine/memory.h"
#include "engine/settings.h"
#include "panel/catalogue.h"
#include "panel/editor.h"
#include "panel/face.h"
#include "panel/input_line.h"
#include "panel/key_dialogs.h"
#include "panel/subsystems.h"
#include "panel/ui.h"

namespace qx {

ShiftState g_shift;

namespace {

// The pressed look: what the key showed before, put back on release.
struct PressedKey {
    bool active = false;
    KeyRect rect{};
    Surface saved;
} g_pressed;

bool running() { return g_panel.program_running() && !g_panel.program_waiting_input(); }

// A key whose meaning is blocked returns KEY_COMMAND and does nothing.
bool blocked_running() { return running(); }
bool blocked_error() { return error_pending(); }

bool placeholder(const KeyRect& r) { return r.left == r.right && r.top == r.bottom; }

void redraw_shifts() { redraw_indicator(IND_SHIFTS, true); }

void toggle_blue() {
    g_shift.blue = !g_shift.blue;
    if (g_shift.blue) g_shift.orange = false;
    redraw_shifts();
}

void toggle_orange() {
    g_shift.orange = !g_shift.orange;
    if (g_shift.orange) g_shift.blue = false;
    redraw_shifts();
}

void clear_shifts_after_code() {
    if (g_shift.blue || g_shift.orange) {
        g_shift.blue = g_shift.orange = false;
        redraw_shifts();
    }
}

// A result value leaves the display in the mode's own form.
void redisplay_result() { show_last_result(true); }

int recall_key() {
    const VariableChoice c = select_variable(false);
    if (c.index < 0) return KEY_COMMAND;
    if (c.by_value) {
        insert_memory_value(c.index);
        return KEY_COMMAND;
    }
    return c.index == TOK_M_ANS ? TOK_M_ANS : TOK_READ_MEM_2 + c.index;
}

int store_key() {
    const VariableChoice c = select_variable(true);
    // A cancelled choice inserts nothing (3000 + -1 would be a token of its own).
    if (c.index < 0 || c.index >= TOK_M_ANS) return KEY_COMMAND;
    return TOK_STORE_MEM_2 + c.index;
}

int constant_key() {
    char text[120] = "";
    bool elements = false;
    if (g_panel.constant_dialog(text, sizeof text, &elements)) insert_constant_string(text, false);
    // The periodic table is a mode of its own, which a running program
    // (unless it waits for a value) must not be taken out of.
    else if (elements && !running())
        enter_mode(MODE_PERIODIC);
    return KEY_COMMAND;
}

int conversion_key() {
    const int token = g_panel.conversion_dialog();
    return token >= 0 ? token : KEY_COMMAND;
}

int catalogue_key(int category) {
    if (!ui().window) return KEY_COMMAND;
    const int token = open_catalogue(*ui().window, ui().screen, category);
    present_screen();
    return token >= 0 ? token : KEY_COMMAND;
}

// The variable key of the plot types; the three-dimensional one asks which.
int plot_variable_key() {
    switch (g_panel.plot_type()) {
        case 0: return 2059;
        case 1: return 2069;
        case 2: return 2055;
        default: {
            const int choice = select_uv_variable();
            return choice < 0 ? KEY_COMMAND : 2056 + choice;
        }
    }
}

void clear_all_memory() {
    clear_memory();
    g_panel.clear_matrices();
}

// AC, or with the blue shift M Clr (the STATS and BASE-n faces).
int clear_key(bool blue) {
    if (blocked_running()) return KEY_COMMAND;
    if (!blue) clear_line();
    else if (!blocked_error()) clear_all_memory();
    return KEY_COMMAND;
}

// Evaluates the line; when that succeeds the value becomes a statistics point.
void evaluate_into_statistics() {
    evaluate_line(false);
    if (!error_pending()) {
        g_panel.stats_add_point(g_ans.re, g_ans.im);
        g_panel.window_title_refresh();
    }
}

int comp_key(int key) {
    const bool blue = g_shift.blue, orange = g_shift.orange;
    switch (key) {
        case 0: toggle_orange(); return KEY_NOTHING;
        case 1: toggle_blue(); return KEY_NOTHING;
        case 2:
            g_shift.hyp = !g_shift.hyp;
            redraw_indicator(IND_HYP, true);
            return KEY_NOTHING;
        case 3: return blue ? TOK_OPEN_CURLY : TOK_OPEN_PAREN;
        case 4: return blue ? TOK_CLOSE_CURLY : TOK_CLOSE_PAREN;
        case 5:
        case 6:
        case 7:
            if (g_shift.hyp) {
                g_shift.hyp = false;
                redraw_indicator(IND_HYP, true);
                return (blue ? 300 : 200) + key;
            }
            return blue ? 100 + key : key;
        case 8: return blue ? constant_key() : 8;
        case 9: return blue ? conversion_key() : 9;
        case 10: return blue ? store_key() : recall_key();
        case 11: case 12: case 13: case 14: case 15: return blue ? 100 + key : key;
        case 16:
            if (blue) return g_settings.angle_unit == ANGLE_DEG ? 16 : g_settings.angle_unit == ANGLE_RAD ? 116 : 216;
            if (blocked_running()) return KEY_COMMAND;
            g_settings.angle_unit = g_settings.angle_unit == ANGLE_DEG    ? ANGLE_RAD
                                    : g_settings.angle_unit == ANGLE_RAD ? ANGLE_GRAD
                                                                         : ANGLE_DEG;
            redraw_indicator(IND_ANGLE, true);
            return KEY_COMMAND;
        case 17: return orange ? TOK_E : blue ? TOK_PI : TOK_NEGATE;
        case 18: return blue ? TOK_I : 18;
        case 19: return blue ? 19 : TOK_COMMA;
        case 20:
            if (blocked_running()) return KEY_COMMAND;
            if (blue) {
                if (g_history_count > 0) history_dialog();
            } else {
                delete_at_cursor();
            }
            return KEY_COMMAND;
        case 21:
            if (!blocked_running()) cursor_left(blue);
            return KEY_COMMAND;
        case 22:
            if (!blocked_running()) cursor_right(blue);
            return KEY_COMMAND;
        case 23:
            if (!blue) return 23;
            if (blocked_running()) return KEY_COMMAND;
            return catalogue_key(0);
        case 24: return orange ? 123 : blue ? 173 : 24;
        case 25: return orange ? 125 : blue ? 175 : 25;
        case 26:
            if (orange) return blocked_running() ? KEY_COMMAND : plot_variable_key();
            if (blocked_running() || blocked_error()) return KEY_COMMAND;
            if (blue) {
                evaluate_line(true);
                if (!error_pending()) {
                    plot_line();
                    g_panel.plot_functions_dialog();
                }
            } else {
                data_entry();
            }
            return KEY_COMMAND;
        case 27:
            if (blocked_running()) return KEY_COMMAND;
            if (!orange && !blue) {
                clear_line();
            } else if (!blocked_error()) {
                if (orange) {
                    clear_all_memory();
                } else {
                    g_panel.stats_remove_last();
                    g_panel.window_title_refresh();
                }
            }
            return KEY_COMMAND;
        case 42:
            if (blocked_error()) return KEY_COMMAND;
            evaluate_line(false);
            editor_result_evaluated();
            return KEY_COMMAND;
        case 49: run_stop(); return KEY_COMMAND;
        case 50: scroll_result(-1); return KEY_NOTHING;
        case 51: scroll_result(1); return KEY_NOTHING;
        default: break;
    }
    if (key >= 28 && key <= 41) return key;
    if (key >= 43 && key <= 48) {
        select_mode_button(key - 43);
        return KEY_NOTHING;
    }
    return KEY_NOTHING;
}

int stats_key(int key) {
    const bool blue = g_shift.blue;
    switch (key) {
        case 0: toggle_blue(); return KEY_NOTHING;
        case 1:
            if (blocked_running()) return KEY_COMMAND;
            g_settings.stats_var = g_settings.stats_var ? 0 : 1;
            g_panel.stats_kind_changed();
            g_panel.window_title_refresh();
            redraw_indicator(IND_STATS_VARS, true);
            return KEY_COMMAND;
        case 2:
            if (g_panel.program_running()) return KEY_NOTHING;
            if (blocked_error()) return KEY_COMMAND;
            g_panel.stats_list_dialog();
            return KEY_COMMAND;
        case 5: return 1005;
        case 6: case 7: case 8: return (blue ? 1100 : 1000) + key;
        case 9:
            if (blue) return 1109;
            if (blocked_running()) return KEY_COMMAND;
            g_settings.stats_regress = (g_settings.stats_regress + 1) % 4;
            redraw_indicator(IND_REGRESSION, true);
            return KEY_COMMAND;
        case 11: case 12: case 13: case 14: case 15: case 16: return (blue ? 1100 : 1000) + key;
        case 17: return blue ? 1117 : TOK_NEGATE;
        case 18:
        case 19:
            if (blue) return 1100 + key;
            if (blocked_error()) return KEY_COMMAND;
            if (key == 18) g_panel.stats_remove_last();
            else g_panel.stats_clear();
            g_panel.window_title_refresh();
            return KEY_COMMAND;
        case 23:
        case 24:
            if (!blue) return key;
            if (blocked_error()) return KEY_COMMAND;
            if (key == 23) g_panel.stats_summary_dialog();
            else g_panel.stats_plot_dialog();
            clear_error();
            return KEY_COMMAND;
        case 25: return 25;
        case 26:
            if (blocked_running() || blocked_error()) return KEY_COMMAND;
            evaluate_into_statistics();
            return KEY_COMMAND;
        case 27: return clear_key(blue);
        case 39: return 39;
        default: return comp_key(key);
    }
}

int base_key(int key) {
    const bool blue = g_shift.blue;
    switch (key) {
        case 0: toggle_blue(); return KEY_NOTHING;
        case 1:
        case 2:
            if (blocked_running()) return KEY_COMMAND;
            if (key == 1) {
                static const int kNext[4] = {RADIX_DEC, RADIX_BIN, RADIX_HEX, RADIX_OCT};
                g_settings.base_mode = kNext[g_settings.base_mode & 3];
            } else {
                g_settings.base_bits = (g_settings.base_bits + 1) % 3;
            }
            // Literals compile differently in another radix or word size.
            clear_expression_cache();
            redisplay_result();
            redraw_indicator(key == 1 ? IND_BASE : IND_WORD_SIZE, true);
            return KEY_COMMAND;
        case 5: case 6: case 7: return blue ? 600 + key : 500 + key;
        case 8: case 9: return 500 + key;
        case 11: case 12: case 13: case 14: case 15: case 16: case 17: case 18: return 500 + key;
        case 19: return blue ? 619 : 519;
        case 26:
            if (blocked_running() || blocked_error()) return KEY_COMMAND;
            if (blue) {
                g_panel.stats_remove_last();
                g_panel.window_title_refresh();
            } else {
                evaluate_into_statistics();
            }
            return KEY_COMMAND;
        case 27: return clear_key(blue);
        case 39: return KEY_NOTHING;
        case 40: return 540;
        default: return comp_key(key);
    }
}

int program_face_key(int key) {
    if (key == 0) {
        g_panel.program_save_edited();
        run_stop();
        return KEY_COMMAND;
    }
    if (key == 1) {
        toggle_blue();
        return KEY_NOTHING;
    }
    if (key >= 18 && key <= 23) {
        g_panel.program_save_edited();
        select_mode_button(key - 18);
        return KEY_NOTHING;
    }
    return g_panel.program_key(key, g_shift.blue);
}

int plot_face_key(int key) {
    if (key >= 12 && key <= 17) {
        select_mode_button(key - 12);
        return KEY_COMMAND;
    }
    if (key < 1 || key > 23) return KEY_NOTHING;
    g_panel.plot_key(key);
    if (key == 5 || key == 6) redraw_indicator(IND_LOCK_LEDS, true);
    if (key >= 20 && key <= 23) redraw_indicator(IND_TOOL_LEDS, true);
    return KEY_COMMAND;
}

int editor_face_key(int key) {
    if (key >= 0 && key <= 5) {
        select_mode_button(key);
        return KEY_NOTHING;
    }
    switch (key) {
        case 6: return catalogue_key(2);
        case 7:
            if (blocked_error()) return KEY_COMMAND;
            evaluate_line(false);
            editor_result_evaluated();
            paint_face();
            return KEY_COMMAND;
        case 10:
            if (blocked_error()) return KEY_COMMAND;
            evaluate_line(false);
            if (!error_pending()) g_panel.editor_enter_value(g_ans.re, g_ans.im);
            paint_face();
            return KEY_COMMAND;
        case 19: scroll_result(-1); return KEY_NOTHING;
        case 20: scroll_result(1); return KEY_NOTHING;
        default: break;
    }
    if ((key == 8 || key == 9) && blocked_error()) return KEY_COMMAND;
    return g_panel.editor_key(key);
}

int periodic_face_key(int key) {
    if (key == 0) enter_mode(MODE_COMP);
    else if (key == 1) g_panel.element_table_dialog();
    // The last cell has no element behind it.
    else if (key >= 2 && key - 1 <= PERIODIC_ELEMENTS) g_panel.element_dialog(key - 1);
    return KEY_COMMAND;
}

void menu() {
    const int item = select_menu_item();
    const bool error = error_pending();
    auto leave_for_comp = [] {
        const int mode = g_settings.calculator_mode;
        if (mode == MODE_PROG || mode == MODE_PLOT) enter_mode(MODE_COMP);
    };
    switch (item) {
        case 0: enter_mode(MODE_COMP); break;
        case 1: enter_mode(MODE_STATS); break;
        case 2: enter_mode(MODE_BASE_N); break;
        case 3: if (!error) enter_mode(MODE_MATRIX); break;
        case 4: if (!error) select_mode_button(1); break;
        case 5: if (!error) select_mode_button(2); break;
        case 6: if (!error) g_panel.tvm_dialog(); break;
        case 7:
            if (error) break;
            leave_for_comp();
            constant_key();
            break;
        case 8:
            if (error) break;
            leave_for_comp();
            if (int token = g_panel.conversion_dialog(); token >= 0) insert_token(token, true);
            break;
        case 9:
            if (!error && !g_panel.program_running()) enter_mode(MODE_PERIODIC);
            break;
        case 10: if (!error) g_panel.plot_samples_dialog(); break;
        case 11: if (!error) g_panel.stopwatch_dialog(); break;
        case 12: open_help(); break;
        default: break;
    }
}

}  // namespace

FaceId current_face() {
    if (g_alpha.shown) return FACE_ALPHA;
    switch (g_settings.calculator_mode) {
        case MODE_PROG: return FACE_PROGRAM;
        case MODE_PERIODIC: return FACE_PERIODIC;
        case MODE_PLOT: return g_panel.plot_type() == 3 ? FACE_PLOT_3D : FACE_PLOT_2D;
        case MODE_MATRIX:
        case MODE_LIST: return FACE_EDITOR;
        default: return FACE_MAIN;
    }
}

int hit_test_key(int x, int y, KeyRect* rect) {
    const int mode = g_settings.calculator_mode;
    if (!g_alpha.shown && (mode < 0 || mode > MODE_LIST)) return -1;
    const FaceId face = current_face();
    const FaceTable& table = face_table(face);
    for (int k = 0; k < table.count; ++k) {
        const KeyRect r = key_rect(face, k);
        // Placeholder keys hold a place in the table but have no area.
        if (placeholder(r)) continue;
        if (x >= r.left && x <= r.right && y >= r.top && y <= r.bottom) {
            if (rect) *rect = r;
            return k;
        }
    }
    return -1;
}

bool key_cancels_operation(int x, int y) {
    KeyRect r;
    return hit_test_key(x, y, &r) >= 0 && !r.no_cancel;
}

void restore_pressed_key() {
    if (!g_pressed.active) return;
    g_pressed.active = false;
    copy_surface(ui().screen, g_pressed.rect.left - 5, g_pressed.rect.top - 5, g_pressed.saved);
    present_screen();
}

namespace {

// The key's face drawn one pixel down and to the right, inside its frame,
// so it looks pushed in until the stylus lifts.
void show_pressed(const KeyRect& r) {
    restore_pressed_key();
    const int w = r.right - r.left + 1, h = r.bottom - r.top + 1;
    g_pressed.saved = Surface(w + 10, h + 10);
    copy_block(g_pressed.saved, 0, 0, ui().screen, r.left - 5, r.top - 5, w + 10, h + 10);
    g_pressed.rect = r;
    g_pressed.active = true;
    const int inner_h = h > 20 ? h - 5 : h - 4;
    copy_block(ui().screen, r.left + 3, r.top + 3, g_pressed.saved, 7, 7, w - 5, inner_h);
    present_screen();
}

bool is_run_key(FaceId face, int key) {
    return (face == FACE_MAIN && key == MAIN_RUN) || (face == FACE_PROGRAM && key == 0);
}

}  // namespace

void handle_key_press(int x, int y) {
    if (x < 0) return;   // typed characters and direction keys select no key
    KeyRect rect;
    const int key = hit_test_key(x, y, &rect);
    if (key < 0) return;
    const FaceId face = current_face();
    show_pressed(rect);
    g_panel.program_output_dismiss();
    if (g_panel.program_paused() && !rect.no_resume) {
        play_key_click();
        g_panel.program_resume();
        if (is_run_key(face, key)) run_stop();
        return;
    }
    const int result = g_alpha.shown ? alpha_decoder(key) : key_pressed_decoder(key);
    if (running()) return;
    if (result == KEY_NOTHING) return;
    if (result >= 0) {
        if (g_alpha.shown) add_alpha_character(result);
        else if (g_settings.calculator_mode == MODE_PROG) g_panel.program_insert_statement(result);
        else if (!error_pending()) insert_token(result, true);
    }
    clear_shifts_after_code();
}

int key_pressed_decoder(int key) {
    play_key_click();
    switch (g_settings.calculator_mode) {
        case MODE_COMP: return comp_key(key);
        case MODE_STATS: return stats_key(key);
        case MODE_BASE_N: return base_key(key);
        case MODE_PROG: return program_face_key(key);
        case MODE_PERIODIC: return periodic_face_key(key);
        case MODE_PLOT: return plot_face_key(key);
        case MODE_MATRIX:
        case MODE_LIST: return editor_face_key(key);
        default:
            show_box("Invalid calculator mode", "key_pressed_decoder");
            return KEY_NOTHING;
    }
}

void enter_mode(int mode) {
    if (mode == g_settings.calculator_mode && mode != MODE_PROG) return;
    g_settings.calculator_mode = mode;
    // After the mode changes, so the caption is the new mode's.
    g_panel.window_title_refresh();
    if (mode == MODE_MATRIX || mode == MODE_LIST || mode == MODE_STATS || mode == MODE_BASE_N)
        g_settings.dynamic_mode = mode;
    if (mode != MODE_PLOT && mode != MODE_PERIODIC && mode != MODE_PROG) redisplay_result();
    paint_face();
}

void select_mode_button(int index) {
    const bool error = error_pending();
    switch (index) {
        case 0: enter_mode(MODE_COMP); break;
        case 1:
            if (error || g_panel.program_running()) return;
            g_panel.program_select_dialog();
            break;
        case 2:
            if (error || g_panel.program_running()) return;
            if (!g_panel.plot_has_functions()) plot_hint_note();
            enter_mode(MODE_PLOT);
            g_panel.plot_mark_redraw();
            paint_face();
            break;
        case 3: {
            int mode = g_settings.dynamic_mode;
            // Only the four data modes have a face behind the fourth button.
            if (mode != MODE_BASE_N && mode != MODE_MATRIX && mode != MODE_LIST) mode = MODE_STATS;
            if ((mode == MODE_MATRIX || mode == MODE_LIST) && error) return;
            enter_mode(mode);
            break;
        }
        case 4: menu(); break;
        case 5:
            if (error || g_panel.program_running()) return;
            // "Edit Constants" goes on to the constants editor; every other
            // ending keeps the settings for the next start.
            if (g_panel.setup_dialog() == 5) g_panel.edit_constants_dialog();
            else g_panel.write_startup_settings();
            paint_face();
            break;
        default: break;
    }
}

void run_stop() {
    if (error_pending()) return;
    if (g_panel.program_running()) {
        g_panel.program_stop();
        g_panel.window_title_refresh();
        // The next token starts a new line.
        g_error.pending = true;
        paint_face();
        return;
    }
    if (g_settings.calculator_mode == MODE_PROG && g_panel.program_start_edited()) {
        g_settings.calculator_mode = MODE_COMP;
        paint_face();
        return;
    }
    const int before = g_settings.calculator_mode;
    g_panel.program_run_dialog();
    if (g_panel.program_running() && (before == MODE_PROG || before == MODE_PLOT))
        g_settings.calculator_mode = MODE_COMP;
    paint_face();
}

void data_entry() {
    evaluate_line(false);
    if (error_pending()) return;
    const int mode = g_settings.dynamic_mode;
    if (mode == MODE_MATRIX || mode == MODE_LIST) g_panel.editor_enter_value(g_ans.re, g_ans.im);
    else g_panel.stats_add_point(g_ans.re, g_ans.im);
    g_panel.window_title_refresh();
}

void reset_key_decoder() {
    g_shift = ShiftState{false, false, false};
    g_pressed.active = false;
}

}  // namespace qx
