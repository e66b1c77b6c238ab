#include "panel/shell.h"

#include <algorithm>
#include <cstdio>
#include <ctime>
#include <deque>
#include <string>

#include "engine/errors.h"
#include "engine/hooks.h"
#include "engine/settings.h"
#include "matrix/store.h"
#include "numeric/calculus.h"
#include "panel/editor.h"
#include "panel/face.h"
#include "panel/input_line.h"
#include "panel/key_decoder.h"
#include "panel/persist_panel.h"
#include "panel/tools_panel.h"
#include "panel/subsystems.h"
#include "panel/plot_view.h"
#include "panel/program_editor.h"
#include "panel/program_panel.h"
#include "panel/stats_panel.h"
#include "panel/ui.h"
#include "platform/files.h"
#include "platform/png.h"
#include "platform/window_headless.h"
#include "stats/stats.h"

namespace qx {

namespace {

// Stylus drag state of the plot tools.
struct Drag {
    bool active = false;
    int origin_x = 0, origin_y = 0;
    int last_x = -1, last_y = -1;
    bool moved = false;
} g_drag;

// Events taken off the window while a long calculation looked for a tap on
// a key; they are handled afterwards in their order.
std::deque<Event> g_deferred;

int g_history_walk = -1;   // history entry the Up/Down keys stand on

bool next_event(Event& e) {
    if (!g_deferred.empty()) {
        e = g_deferred.front();
        g_deferred.pop_front();
        return true;
    }
    return ui().window && ui().window->poll_event(e);
}

// The cancel check of long evaluations: a tap on a key that may cancel.
bool poll_key_tap() {
    if (!ui().window) return false;
    Event e;
    while (ui().window->poll_event(e)) {
        if (e.type == EventType::StylusDown && key_cancels_operation(e.x, e.y)) return true;
        g_deferred.push_back(e);
    }
    return false;
}

int box_hook(const char* text, const char* title, int style) {
    return show_box(text ? text : "", title ? title : "",
                    (style & 0x0F) == MB_STYLE_YES_NO ? BoxButtons::YesNo : BoxButtons::OK,
                    (style & 0xF0) == MB_STYLE_EXCLAMATION ? BoxIcon::Warning : BoxIcon::None);
}

std::uint32_t window_ticks() { return ui().window ? ui().window->ticks_ms() : 0; }

std::uint32_t window_wall_second() {
    const std::time_t now = ui().window ? static_cast<std::time_t>(ui().window->wall_seconds())
                                        : std::time(nullptr);
    std::tm parts{};
    localtime_r(&now, &parts);
    return static_cast<std::uint32_t>(parts.tm_sec);
}

void default_title() {
    if (ui().window) ui().window->set_title("Quorix");
}

bool in_plot_area(int x, int y) { return x >= 7 && x <= 232 && y >= 6 && y <= 185; }

void stylus_down(int x, int y) {
    g_drag = Drag{};
    g_drag.active = g_settings.calculator_mode == MODE_PLOT;
    g_drag.origin_x = x;
    g_drag.origin_y = y;
    if (ui().window) ui().window->capture_stylus(true);
    if (!g_alpha.shown) {
        if (g_panel.program_listing_tap(x, y)) return;
        if (tap_on_line(x, y)) return;
    }
    if (g_settings.calculator_mode == MODE_PLOT && g_panel.plot_tool() == 0 && g_panel.plot_trace_tap(x, y))
        return;
    handle_key_press(x, y);
}

void stylus_move(int x, int y) {
    if (!g_drag.active || !in_plot_area(x, y)) return;
    if (x == g_drag.last_x && y == g_drag.last_y) return;
    g_panel.plot_drag(x, y, g_drag.origin_x, g_drag.origin_y);
    g_drag.last_x = x;
    g_drag.last_y = y;
    g_drag.moved = true;
}

void stylus_up() {
    if (ui().window) ui().window->capture_stylus(false);
    restore_pressed_key();
    if (g_drag.active && g_drag.moved)
        g_panel.plot_release(g_drag.last_x, g_drag.last_y, g_drag.origin_x, g_drag.origin_y);
    g_drag.active = false;
}

void walk_history(int step) {
    if (g_history_count == 0) return;
    if (g_history_walk < 0) g_history_walk = g_history_count;
    g_history_walk += step;
    if (g_history_walk < 0) g_history_walk = 0;
    if (g_history_walk >= g_history_count) g_history_walk = g_history_count - 1;
    history_recall(g_history_walk, false);
}

bool line_modes() {
    const int m = g_settings.calculator_mode;
    return m == MODE_COMP || m == MODE_STATS || m == MODE_BASE_N || m == MODE_MATRIX ||
           m == MODE_LIST;
}

bool running() { return g_panel.program_running() && !g_panel.program_waiting_input(); }

// The PROG face has no digit keys: its first line takes what the PC
// keyboard types, so an expression for the Expn key can be written there.
bool typing_modes() { return line_modes() || g_settings.calculator_mode == MODE_PROG; }

// A token typed on the PC keyboard goes where the same token from a key
// would go.
void type_token(TokenCode token) {
    if (running() || error_pending()) return;
    insert_token(token, true);
    if (g_shift.blue || g_shift.orange) {
        g_shift.blue = g_shift.orange = false;
        redraw_indicator(IND_SHIFTS);
    }
}

int alpha_code_of(char c) {
    static const char kDigits[] = "1234567890";
    static const char kLower[] = "qwertyuiopasdfghjklzxcvbnm";
    static const char kUpper[] = "QWERTYUIOPASDFGHJKLZXCVBNM";
    for (int k = 0; kDigits[k]; ++k)
        if (kDigits[k] == c) return k;
    for (int k = 0; kLower[k]; ++k)
        if (kLower[k] == c) return 10 + k;
    if (c == ' ') return 36;
    for (int k = 0; kUpper[k]; ++k)
        if (kUpper[k] == c) return 37 + k;
    const char* set = alpha_character_set(g_alpha.kind);
    if (!set) return -1;
    for (int k = 63; set[k]; ++k)
        if (set[k] == c) return k;
    return -1;
}

// A typed "-" subtracts after a value and negates where a value must come
// next (at the start of the line, after "(", "," or an operator), as it
// reads on paper; right after a result it subtracts from Ans.
TokenCode minus_or_negation() {
    if (g_input.fresh) return g_input.no_auto_answer ? TOK_NEGATE : TOK_MINUS;
    const int cursor = std::min(g_input.cursor, g_input.line.count);
    if (cursor <= 0) return TOK_NEGATE;
    const TokenCode before = g_input.line.tokens[cursor - 1];
    if (before == TOK_OPEN_PAREN || before == TOK_OPEN_BRACK || before == TOK_OPEN_CURLY ||
        before == TOK_COMMA)
        return TOK_NEGATE;
    const TokenDescriptor d = describe_token(before);
    if (d.token_class == TC_OPERATOR && d.op_id != OP_COMMA) {
        const int kind = operator_info(d.op_id).kind;
        if (kind != KIND_POSTFIX) return TOK_NEGATE;
    }
    if (before == TOK_EXP) return TOK_NEGATE;   // 1E-5
    return TOK_MINUS;
}

void evaluate_key() {
    if (running() || error_pending()) return;
    evaluate_line(false);
    editor_result_evaluated();
    if (g_settings.calculator_mode == MODE_MATRIX || g_settings.calculator_mode == MODE_LIST) paint_face();
}

}  // namespace

void keyboard_text(char c) {
    g_panel.program_output_dismiss();
    // The character route of the window still reaches the key decoder,
    // which selects no key for it.
    handle_key_press(-1, static_cast<unsigned char>(c));
    if (g_alpha.shown) {
        const int code = alpha_code_of(c);
        if (code >= 0) add_alpha_character(code);
        return;
    }
    if (!typing_modes()) return;
    g_history_walk = -1;
    const bool base = g_settings.calculator_mode == MODE_BASE_N;
    if (c >= '0' && c <= '9') {
        static const TokenCode kDigits[10] = {TOK_0, TOK_1, TOK_2, TOK_3, TOK_4,
                                              TOK_5, TOK_6, TOK_7, TOK_8, TOK_9};
        type_token(kDigits[c - '0']);
        return;
    }
    if (base) {
        const char lower = static_cast<char>(c | 0x20);
        if (lower >= 'a' && lower <= 'f') {
            type_token(511 + (lower - 'a'));
            return;
        }
    }
    switch (c) {
        case '.': if (!base) type_token(TOK_POINT); break;
        case '+': type_token(TOK_PLUS); break;
        case '-': type_token(minus_or_negation()); break;
        case '*': type_token(TOK_MULTIPLY); break;
        case '/': type_token(TOK_DIVIDE); break;
        case '^': type_token(TOK_POWER); break;
        case '(': type_token(TOK_OPEN_PAREN); break;
        case ')': type_token(TOK_CLOSE_PAREN); break;
        case ',': type_token(TOK_COMMA); break;
        case 'e':
        case 'E': if (!base) type_token(TOK_EXP); break;
        case '=':
            if (line_modes()) evaluate_key();
            break;
        default: break;
    }
}

std::string save_screenshot() {
    std::string error;
    const std::string folder = user_folder(UserFolder::Pictures, &error);
    if (folder.empty()) {
        show_box("The screenshot cannot be saved: " + error, "Screenshot");
        return {};
    }
    std::time_t now = ui().window ? static_cast<std::time_t>(ui().window->wall_seconds()) : std::time(nullptr);
    std::tm parts{};
    localtime_r(&now, &parts);
    char name[64];
    std::strftime(name, sizeof name, "quorix-%Y%m%d-%H%M%S.png", &parts);
    std::string path = join_path(folder, name);
    for (int k = 2; file_exists(path) && k < 100; ++k) {
        char numbered[80];
        std::snprintf(numbered, sizeof numbered, "%.*s-%d.png", 31, name, k);
        path = join_path(folder, numbered);
    }
    if (!write_png(ui().screen, path, 1, &error)) {
        show_box("The screenshot cannot be saved: " + error, "Screenshot");
        return {};
    }
    if (ui().window && ui().window->scripted()) ui().window->log_line("screenshot " + path);
    return path;
}

void keyboard_key(int key, int mods) {
    g_panel.program_output_dismiss();
    if ((mods & MOD_CTRL) && key == KEY_LETTER_C) {
        if (ui().window) ui().window->set_clipboard(result_plain_text());
        return;
    }
    if ((mods & MOD_CTRL) && key == KEY_LETTER_V) {
        if (!ui().window || g_alpha.shown || !typing_modes() || running()) return;
        const std::string text = ui().window->clipboard();
        if (!text.empty()) {
            if (error_pending()) clear_error();
            insert_constant_string(text.c_str(), false);
        }
        return;
    }
    if (key == KEY_F1) {
        open_help();
        return;
    }
    if (key == KEY_F12) {
        save_screenshot();
        return;
    }
    // The device's direction keys reach the decoder as codes that select no key.
    switch (key) {
        case KEY_HOME: handle_key_press(-1, 6); break;
        case KEY_LEFT: handle_key_press(-1, 2); break;
        case KEY_UP: handle_key_press(-1, 4); break;
        case KEY_RIGHT: handle_key_press(-1, 1); break;
        case KEY_DOWN: handle_key_press(-1, 5); break;
        case KEY_DELETE: handle_key_press(-1, 3); break;
        default: break;
    }
    if (g_alpha.shown) {
        if (key == KEY_RETURN) alpha_decoder(40);
        else if (key == KEY_ESCAPE) alpha_decoder(41);
        else if (key == KEY_BACKSPACE) alpha_decoder(37);
        return;
    }
    // In PLOT mode the PC's arrows and Home are the face's: scroll (or turn
    // a 3-D view with the rotate tool) and centre.
    if (g_settings.calculator_mode == MODE_PLOT && !running()) {
        int face_key = 0;
        switch (key) {
            case KEY_HOME: face_key = 7; break;
            case KEY_LEFT: face_key = 8; break;
            case KEY_RIGHT: face_key = 9; break;
            case KEY_UP: face_key = 10; break;
            case KEY_DOWN: face_key = 11; break;
            default: break;
        }
        if (face_key) {
            g_panel.plot_key(face_key);
            return;
        }
    }
    if (g_settings.calculator_mode == MODE_PROG && !running()) {
        // Up and Down walk the listing as the face's arrow keys do.
        if (key == KEY_UP || key == KEY_DOWN) {
            const int step = (mods & MOD_CTRL) ? 10 : 1;
            move_program_cursor(key == KEY_UP ? -step : step);
            return;
        }
        if (key == KEY_RETURN) return;
    }
    if (!typing_modes()) return;
    if (key != KEY_UP && key != KEY_DOWN) g_history_walk = -1;
    if (running() && key != KEY_RETURN) return;
    switch (key) {
        case KEY_RETURN: evaluate_key(); break;
        case KEY_ESCAPE: clear_line(); break;
        case KEY_BACKSPACE:
            // The token before the cursor, as a desktop editor deletes.
            if (g_input.fresh || g_input.cursor == g_input.line.count) {
                delete_at_cursor();
            } else if (g_input.cursor > 0) {
                cursor_left(false);
                delete_at_cursor();
            }
            break;
        case KEY_DELETE: delete_at_cursor(); break;
        case KEY_LEFT: cursor_left((mods & MOD_CTRL) != 0); break;
        case KEY_RIGHT: cursor_right((mods & MOD_CTRL) != 0); break;
        case KEY_HOME:
            if (g_input.fresh) cursor_left(false);
            while (g_input.cursor > 0) cursor_left(true);
            break;
        case KEY_END:
            if (g_input.fresh) cursor_right(false);
            while (g_input.cursor < g_input.line.count) cursor_right(true);
            break;
        case KEY_UP: walk_history(-1); break;
        case KEY_DOWN: walk_history(1); break;
        default: break;
    }
}

void dispatch_event(const Event& e) {
    switch (e.type) {
        case EventType::Quit: ui().quit = true; break;
        case EventType::StylusDown: stylus_down(e.x, e.y); break;
        case EventType::StylusMove: stylus_move(e.x, e.y); break;
        case EventType::StylusUp: stylus_up(); break;
        case EventType::KeyDown: keyboard_key(e.key, e.mods); break;
        case EventType::Text: keyboard_text(e.text[0]); break;
        case EventType::Expose:
        case EventType::Activate:
            restore_pressed_key();
            present_screen();
            break;
        default: break;
    }
}

void calculator_startup(Window& window) {
    ui().window = &window;
    ui().quit = false;
    clear_quit_request();
    g_hooks.message_box = box_hook;
    g_hooks.poll_key_tap = poll_key_tap;
    g_hooks.tick_count = window_ticks;
    g_hooks.wall_seconds = window_wall_second;
    default_title();
    engine_startup();                 // seeds Rand, sorts the operators, checks the signatures
    install_matrix_engine_hooks();
    install_calculus_hooks();
    install_stats_hooks();
    install_stats_panel_hooks();      // before the editors wrap its title refresh
    install_program_panel_hooks();
    reset_program_editor();
    g_panel.clear_matrices = clear_all_matrices;
    g_panel.clear_answer_objects = clear_answer_objects;
    install_editor_hooks();
    install_plot_hooks();
    install_persist_hooks();
    install_tools_hooks();
    g_panel.read_startup_settings();   // takes only the four data modes behind the fourth button
    clear_line();
    g_panel.load_constants();
    g_panel.window_title_refresh();
    g_panel.plot_set_defaults();
    paint_face();
}

void calculator_shutdown() {
    if (g_settings.calculator_mode == MODE_PROG) g_panel.program_save_edited();
    g_panel.write_startup_settings();
    g_deferred.clear();
    ui().window = nullptr;
}

bool main_loop_turn() {
    Event e;
    if (next_event(e)) {
        dispatch_event(e);
        return true;
    }
    // A program paused after its output waits for a key like one waiting
    // for input: the loop sleeps instead of spinning.
    if (g_panel.program_running() && !g_panel.program_waiting_input() && !g_panel.program_paused()) {
        g_panel.program_step();
        return false;
    }
    if (ui().window) ui().window->sleep_ms(20);
    return false;
}

void tap_key_centre(HeadlessWindow& window, int key) {
    const FaceId face = current_face();
    if (key < 0 || key >= face_table(face).count) return;
    const KeyRect r = key_rect(face, key);
    Event e;
    e.type = EventType::StylusDown;
    e.x = (r.left + r.right) / 2;
    e.y = (r.top + r.bottom) / 2;
    window.push_event(e);
    e.type = EventType::StylusUp;
    window.push_event(e);
    while (window.events_pending()) main_loop_turn();
}

HeadlessWindow& silent_headless_calculator() {
    static HeadlessWindow window;
    static bool started = false;
    if (!started) {
        window.set_logger([](const std::string&) {});
        calculator_startup(window);
        started = true;
    }
    return window;
}

int run_main_loop() {
    while (!ui().quit) main_loop_turn();
    return 0;
}

}  // namespace qx
