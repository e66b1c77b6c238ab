#include "panel/input_line.h"

#include <cmath>
#include <cstdio>
#include <cstring>

#include "engine/errors.h"
#include "engine/evaluator.h"
#include "engine/format.h"
#include "engine/memory.h"
#include "engine/settings.h"
#include "panel/face.h"
#include "panel/images.h"
#include "panel/legend_names.h"
#include "panel/setting_words.h"
#include "panel/subsystems.h"
#include "panel/ui.h"

namespace qx {

InputLine g_input;
ResultLine g_result;
Expression g_history[HISTORY_SIZE];
int g_history_count = 0;

namespace {

// Display geometry.  Legends are placed by a running x that starts at 0 and
// is drawn TEXT_LEFT pixels further right; a legend that would take the
// running x past TEXT_LIMIT is not drawn and ends the line.
constexpr int TEXT_LEFT = 20;
constexpr int TEXT_LIMIT = 202;
constexpr int LCD_LEFT = 7;
constexpr int LCD_RIGHT = 233;
constexpr int INPUT_TOP = 8;
constexpr int INPUT_BOTTOM = 25;
constexpr int RESULT_TOP = 26;
constexpr int RESULT_BOTTOM = 46;
constexpr int RESULT_TEXT_TOP = 27;
constexpr int TAP_TOP = 6;
constexpr int TAP_BOTTOM = 25;
constexpr int HISTORY_TEXT_LIMIT = 1000;

const char* const kLimitText = "Reached expression size limit";

// Scratch for the text forms of history entries.
PreparedExpression g_text_prep;

bool in_mode(int mode) { return g_settings.calculator_mode == mode; }

void clamp_expression(Expression& e, int& cursor) {
    if (e.count < 0) e.count = 0;
    if (e.count > MAX_LINE_TOKENS) e.count = MAX_LINE_TOKENS;
    if (cursor < 0) cursor = 0;
    if (cursor > e.count) cursor = e.count;
}

void clamp_line() { clamp_expression(g_input.line, g_input.cursor); }

// The line is drawn with its cursor: never in PROG mode, where the first
// display line only shows the expression.
bool cursor_visible() { return g_input.cursor_shown && !in_mode(MODE_PROG); }

bool program_busy() { return g_panel.program_running() && !g_panel.program_waiting_input(); }

Colour display_colour() { return static_cast<Colour>(g_settings.display_color & 0xFFFFFF); }

int token_width(TokenCode code) {
    const char* names[MAX_TOKEN_LEGENDS];
    const int n = token_legends(code, g_settings.decimal_mark, names);
    int w = 0;
    for (int k = 0; k < n; ++k) w += legend_width(names[k]);
    return w;
}

// Operators that need a left operand continue from the last answer when
// they start a new line.
bool continues_from_answer(TokenCode code) {
    if (code >= TOK_UNIT_BASE) return true;
    if ((code >= TOK_STORE_MEM && code <= TOK_STORE_MEM + 99) ||
        (code >= TOK_STORE_MEM_2 && code <= TOK_STORE_MEM_2 + 109))
        return true;
    const TokenDescriptor d = describe_token(code);
    if (d.token_class != TC_OPERATOR) return false;
    const int kind = operator_info(d.op_id).kind;
    return kind == KIND_BINARY || kind == KIND_POSTFIX;
}

// One token in at the cursor, without drawing.
bool put_token(TokenCode token) {
    clear_error();
    InputLine& in = g_input;
    if (in.fresh) {
        in.line.count = 0;
        in.cursor = 0;
        in.fresh = false;
        if (!in.no_auto_answer && continues_from_answer(token)) {
            in.line.tokens[0] = in.answer_matrix ? TOK_M_ANS : in.answer_list ? TOK_L_ANS : TOK_ANS;
            in.line.count = 1;
            in.cursor = 1;
        }
    }
    clamp_line();
    if (in.line.count >= MAX_LINE_TOKENS) {
        show_box(kLimitText, "Limit");
        return false;
    }
    for (int k = in.line.count; k > in.cursor; --k) in.line.tokens[k] = in.line.tokens[k - 1];
    in.line.tokens[in.cursor] = token;
    ++in.cursor;
    ++in.line.count;
    in.cursor_shown = true;
    return true;
}

// After a cursor key or a tap: the line is editable again and a pending
// error no longer blocks the keys.
void after_cursor_move() {
    const bool had_error = error_pending();
    clear_error();
    g_input.fresh = false;
    g_input.cursor_shown = true;
    redraw_lines();
    if (had_error) redraw_indicator(IND_AC);
}

void draw_result_into_screen() {
    if (in_mode(MODE_PLOT) || in_mode(MODE_PERIODIC) || in_mode(MODE_PROG)) return;
    draw_result_line(ui().screen);
}

void draw_input_into_screen() {
    if (in_mode(MODE_PLOT) || in_mode(MODE_PERIODIC)) return;
    if (g_alpha.shown) {
        draw_alpha_text(ui().screen);
        return;
    }
    // A program showing its own text owns the first line.
    if (const char* text = g_panel.program_output_line()) {
        draw_program_text(ui().screen, text);
        return;
    }
    draw_input_line(ui().screen);
}

void copy_cut(char* dest, std::size_t size, const char* text) {
    std::size_t n = 0;
    if (text)
        for (; text[n] && n + 1 < size; ++n) dest[n] = text[n];
    dest[n] = '\0';
}

void set_result_value_text() {
    copy_cut(g_result.text, sizeof g_result.text,
             format_complex_display(g_result.value_re, g_result.value_im, true, false));
    g_result.empty = g_result.text[0] == '\0';
    g_result.scroll = 0;
}

// The evaluated line's answer on the result line.
void show_evaluation_result() {
    g_result.value_re = g_ans.re;
    g_result.value_im = g_ans.im;
    set_result_value_text();
    g_result.shown = !error_pending();
}

// --- numbers given as text -------------------------------------------------

constexpr TokenCode CHAR_SKIP = 0;
constexpr TokenCode CHAR_UNKNOWN = -1;

bool starts_operand(TokenCode previous) {
    // After these a "-" negates what follows; after a digit, the point, i
    // or ")" it subtracts (a negation there would be read into the literal
    // before it, as "3-1" would become the single literal "3-1").
    return previous == 0 || previous == TOK_OPEN_PAREN || previous == TOK_PLUS ||
           previous == TOK_MINUS || previous == TOK_NEGATE || previous == TOK_EXP ||
           previous == 111 || previous == 540;
}

TokenCode constant_char_token(const char* text, int at, TokenCode previous) {
    const unsigned char c = static_cast<unsigned char>(text[at]);
    const bool base_n = in_mode(MODE_BASE_N);
    if (base_n && c >= 'A' && c <= 'F') return 511 + (c - 'A');
    if (base_n && c == 'e') return 515;
    switch (c) {
        case '0': return TOK_0;
        case '1': return TOK_1;
        case '2': return TOK_2;
        case '3': return TOK_3;
        case '4': return TOK_4;
        case '5': return TOK_5;
        case '6': return TOK_6;
        case '7': return TOK_7;
        case '8': return TOK_8;
        case '9': return TOK_9;
        case '.':
        case ',': return TOK_POINT;
        case '+': return starts_operand(previous) ? CHAR_SKIP : TOK_PLUS;
        case '-': return starts_operand(previous) ? TOK_NEGATE : TOK_MINUS;
        case '(': return TOK_OPEN_PAREN;
        case ')': return TOK_CLOSE_PAREN;
        case 'E':
        case 'e': return text[at + 1] == '^' ? 111 : TOK_EXP;
        case '^':
        case ' ':
        case '\t':
        case GLYPH_NARROW_SPACE: return CHAR_SKIP;
        case 'b': return 519;
        case 'd': return 517;
        case 'h': return 518;
        case 'o': return 619;
        case 'i': return TOK_I;
        // The display glyphs, for texts taken from the result line.
        case GLYPH_POLAR_BASE: return 111;
        case GLYPH_EXPONENT: return TOK_EXP;
        case GLYPH_IMAGINARY: return TOK_I;
        case GLYPH_NARROW_0: return TOK_0;
        case GLYPH_NARROW_1: return TOK_1;
        default: return CHAR_UNKNOWN;
    }
}

bool is_digit(char c) { return c >= '0' && c <= '9'; }

// Length of the number at the start of a text such as "12.5 kg" or
// "1.67E-27 kg": digits and points, a leading minus, and an exponent with
// its digits (without it the value would be off by its power of ten).
int numeric_prefix_length(const char* text) {
    int n = 0;
    if (text[0] == '-') n = 1;
    bool any_digit = false;
    while (is_digit(text[n]) || text[n] == '.') {
        any_digit = any_digit || is_digit(text[n]);
        ++n;
    }
    if (any_digit && (text[n] == 'E' || text[n] == 'e')) {
        int k = n + 1;
        if (text[k] == '-' || text[k] == '+') ++k;
        if (is_digit(text[k])) {
            while (is_digit(text[k])) ++k;
            n = k;
        }
    }
    return n;
}

// --- history texts ---------------------------------------------------------

struct TextOut {
    char* buf;
    int size;   // characters allowed, without the terminator
    int n = 0;
    void add_char(char c) {
        if (n < size) buf[n++] = c;
    }
    // Display-font Greek letters leave the display spelled out.
    void add(const char* s) {
        for (const unsigned char* p = reinterpret_cast<const unsigned char*>(s); *p; ++p) {
            if (*p >= 0x90 && *p <= 0xAB) {
                for (const char* g = greek_spelling(62 + (*p - 0x90)); *g; ++g) add_char(*g);
            } else {
                add_char(static_cast<char>(*p));
            }
        }
    }
};

}  // namespace

void sync_answer_kind() {
    g_input.answer_matrix = g_last_result_kind == RK_MATRIX;
    g_input.answer_list = g_last_result_kind == RK_LIST;
}

// --- edits -----------------------------------------------------------------

bool insert_token(TokenCode token, bool redraw) {
    const bool had_error = error_pending();
    const bool inserted = put_token(token);
    if (inserted && redraw) {
        redraw_lines();
        if (had_error) redraw_indicator(IND_AC);
    }
    return inserted;
}

int constant_text_tokens(const char* text, int length, TokenCode* out, int capacity, int* unknown) {
    int n = 0;
    *unknown = 0;
    TokenCode previous = 0;
    for (int at = 0; at < length; ++at) {
        const TokenCode t = constant_char_token(text, at, previous);
        if (t == CHAR_SKIP) continue;
        if (t == CHAR_UNKNOWN) {
            ++*unknown;
            continue;
        }
        if (n >= capacity) return -1;
        out[n++] = t;
        previous = t;
    }
    return n;
}

void insert_constant_string(const char* text, bool numeric_prefix) {
    if (!text) text = "";
    const int length = numeric_prefix ? numeric_prefix_length(text)
                                      : static_cast<int>(std::strlen(text));
    // The whole number goes in or nothing does, so the tokens are gathered
    // first, brackets included.
    TokenCode built[MAX_LINE_TOKENS + 1];
    int n = 0;
    built[n++] = TOK_OPEN_PAREN;
    int unknown = 0;
    const int count = constant_text_tokens(text, length, built + 1, MAX_LINE_TOKENS - 1, &unknown);
    for (int k = 0; k < unknown; ++k) show_box("Unknown constant character", "insert_constant_string");
    bool too_long = count < 0;
    if (!too_long) n += count;
    if (n >= MAX_LINE_TOKENS) too_long = true;
    else built[n++] = TOK_CLOSE_PAREN;

    clamp_line();
    // A fresh line is emptied by the first token, so its old count does not
    // stand in the way.
    const int base = g_input.fresh ? 0 : g_input.line.count;
    if (too_long || base + n > MAX_LINE_TOKENS) {
        show_box(kLimitText, "Limit");
        return;
    }
    const bool had_error = error_pending();
    for (int k = 0; k < n; ++k) put_token(built[k]);
    redraw_lines();
    if (had_error) redraw_indicator(IND_AC);
}

void insert_memory_value(int index) {
    // Matrices and lists have no single value: their name goes in.
    if (index == TOK_M_ANS || index == TOK_L_ANS) {
        insert_token(index);
        return;
    }
    if (index >= MEM_MATRIX_FIRST && index <= MEM_LAST) {
        insert_token(TOK_READ_MEM_2 + index);
        return;
    }
    if (index < 0 || index >= MEM_MATRIX_FIRST) return;
    const double re = memory_get(index, 0);
    const double im = memory_get(index, 1);
    char text[2 * TEXT_SIZE + 4];
    if (in_mode(MODE_BASE_N)) {
        copy_cut(text, sizeof text, format_base_n(re, g_settings.base_mode, false));
    } else {
        // The rectangular form in any complex format: a polar angle in
        // degrees would not read back as the same number.
        const int format = g_settings.number_format;
        char first[TEXT_SIZE];
        copy_cut(first, sizeof first, format_real(re, format, 10, false));
        if (im == 0.0) {
            copy_cut(text, sizeof text, first);
        } else {
            const char* second = format_real(std::fabs(im), format, 10, false);
            if (re == 0.0)
                std::snprintf(text, sizeof text, "%s%si", im < 0.0 ? "-" : "", second);
            else
                std::snprintf(text, sizeof text, "%s%s%si", first, im < 0.0 ? "-" : "+", second);
        }
    }
    insert_constant_string(text, false);
}

void delete_at_cursor() {
    InputLine& in = g_input;
    if (in.fresh) return;
    clamp_line();
    Expression& e = in.line;
    if (in.cursor < e.count) {
        for (int k = in.cursor; k + 1 < e.count; ++k) e.tokens[k] = e.tokens[k + 1];
        --e.count;
    } else if (e.count >= 1) {
        --e.count;
        in.cursor = e.count;
    }
    in.cursor_shown = true;
    redraw_lines();
}

void cursor_right(bool fast) {
    InputLine& in = g_input;
    clamp_line();
    const int count = in.line.count;
    if (in.fresh) {
        in.cursor = 0;
    } else if (in.cursor < count) {
        const int step = fast ? (count / 5 > 1 ? count / 5 : 1) : 1;
        in.cursor = in.cursor + step > count ? count : in.cursor + step;
    }
    after_cursor_move();
}

void cursor_left(bool fast) {
    InputLine& in = g_input;
    clamp_line();
    const int count = in.line.count;
    if (!in.fresh && in.cursor > 0) {
        const int step = fast ? (count / 5 > 1 ? count / 5 : 1) : 1;
        in.cursor = in.cursor - step < 0 ? 0 : in.cursor - step;
    }
    after_cursor_move();
}

void clear_line() {
    const bool had_error = error_pending();
    InputLine& in = g_input;
    in.line.count = 0;
    in.cursor = 0;
    clear_error();
    in.fresh = true;
    in.answer_matrix = false;
    in.answer_list = false;
    g_last_result_kind = RK_SCALAR;
    in.no_auto_answer = true;
    in.cursor_shown = true;
    g_result.value_re = 0.0;
    g_result.value_im = 0.0;
    g_result.shown = false;
    g_panel.clear_answer_objects();
    // A program's prompt stays while it waits for the value.
    if (!g_panel.program_waiting_input()) {
        g_result.text[0] = '\0';
        g_result.empty = true;
        g_result.scroll = 0;
        g_result.more_right = false;
    }
    redraw_lines();
    if (had_error) redraw_indicator(IND_AC);
}

bool tap_on_line(int x, int y) {
    const int mode = g_settings.calculator_mode;
    if (mode != MODE_BASE_N && mode != MODE_COMP && mode != MODE_STATS && mode != MODE_MATRIX &&
        mode != MODE_LIST)
        return false;
    if (y < TAP_TOP || y > TAP_BOTTOM || g_alpha.shown || program_busy()) return false;
    for (int k = 0; k < g_input.drawn_count; ++k) {
        const DrawnToken& d = g_input.drawn[k];
        if (x >= d.start && x < d.end) {
            g_input.cursor = d.index;
            clamp_line();
            after_cursor_move();
            return true;
        }
    }
    return false;
}

// --- evaluation --------------------------------------------------------------

void evaluate_line(bool for_plot) {
    InputLine& in = g_input;
    clamp_line();
    Expression& e = in.line;
    if (g_panel.program_running() && g_panel.program_waiting_function()) {
        if (e.count > 0) {
            g_panel.program_function_input(e.tokens, e.count);
            in.cursor_shown = false;
            in.fresh = true;
            redraw_lines();
            redraw_indicator(IND_AC);
        }
        in.cursor = e.count;
        return;
    }
    if (program_busy()) return;
    const bool program_input = g_panel.program_running() && g_panel.program_waiting_input();

    g_result.text[0] = '\0';
    g_result.empty = true;
    g_result.shown = false;
    g_result.scroll = 0;
    clear_error();
    if (!for_plot) in.fresh = true;
    if (program_input) g_panel.program_copy_input(e.tokens, e.count);

    if (e.count > 0) {
        if (!program_input) history_add(e);
        Evaluate_Input(e.tokens, e.count);
        if (!for_plot) Evaluate_Input_2();
        sync_answer_kind();
        if (program_input && !error_pending()) {
            // The value went to the program's variable and the program shows
            // "Running..." again: the value is not shown over it.
            in.cursor_shown = false;
            in.fresh = true;
        } else if (!for_plot || error_pending()) {
            show_evaluation_result();
            in.no_auto_answer = false;
            in.cursor_shown = false;
            in.fresh = true;
        }
    }
    if (!for_plot || error_pending()) in.cursor = e.count;
    redraw_lines();
    redraw_indicator(IND_AC);
}

void plot_line() {
    const Expression& e = g_input.line;
    if (e.count <= 0) return;
    for (int k = 0; k < e.count && k < MAX_LINE_TOKENS; ++k) {
        if (e.tokens[k] == TOK_I) {
            show_box("Plotting does not support complex or imaginary numbers.", "Norm");
            return;
        }
    }
    const int count = e.count > MAX_LINE_TOKENS ? MAX_LINE_TOKENS : e.count;
    if (!g_panel.plot_store_function(e.tokens, count)) return;
    // A stored expression compiled against the old functions is stale now.
    clear_expression_cache();
    history_add(e);
}

// --- history -------------------------------------------------------------------

void history_add(const Expression& e) {
    const int count = e.count > MAX_LINE_TOKENS ? MAX_LINE_TOKENS : e.count;
    if (count <= 0) return;
    if (g_history_count > 0) {
        const Expression& last = g_history[g_history_count - 1];
        if (last.count == count &&
            std::memcmp(last.tokens, e.tokens, sizeof(TokenCode) * static_cast<std::size_t>(count)) == 0)
            return;
    }
    if (g_history_count >= HISTORY_SIZE) {
        for (int k = 1; k < HISTORY_SIZE; ++k) g_history[k - 1] = g_history[k];
        g_history_count = HISTORY_SIZE - 1;
    }
    Expression& slot = g_history[g_history_count++];
    std::memcpy(slot.tokens, e.tokens, sizeof(TokenCode) * static_cast<std::size_t>(count));
    slot.count = count;
}

void history_recall(int index, bool insert) {
    if (index < 0 || index >= g_history_count) return;
    const Expression& entry = g_history[index];
    const int entry_count = entry.count < 0 ? 0 : entry.count > MAX_LINE_TOKENS ? MAX_LINE_TOKENS
                                                                                 : entry.count;
    InputLine& in = g_input;
    clamp_line();
    if (insert) {
        if (in.line.count + entry_count > MAX_LINE_TOKENS) {
            show_box(kLimitText, "Limit");
            return;
        }
        Expression& e = in.line;
        for (int k = e.count - 1; k >= in.cursor; --k) e.tokens[k + entry_count] = e.tokens[k];
        for (int k = 0; k < entry_count; ++k) e.tokens[in.cursor + k] = entry.tokens[k];
        e.count += entry_count;
        in.cursor += entry_count;
        in.fresh = false;
        in.cursor_shown = true;
    } else {
        std::memcpy(in.line.tokens, entry.tokens,
                    sizeof(TokenCode) * static_cast<std::size_t>(entry_count));
        in.line.count = entry_count;
        in.cursor = entry_count;
        in.fresh = true;
        in.cursor_shown = false;
    }
    clear_error();
    redraw_indicator(IND_AC);
    redraw_lines();
}

std::string expression_text(const Expression& e) {
    const int count = e.count < 0 ? 0 : e.count > MAX_LINE_TOKENS ? MAX_LINE_TOKENS : e.count;
    char buf[HISTORY_TEXT_LIMIT + 1];
    TextOut out{buf, HISTORY_TEXT_LIMIT};
    // The builder may complain about a token (an unknown unit); a text for
    // the history list must not leave an error behind.
    const ErrorRecord saved = g_error;
    for (int k = 0; k < count; ++k) {
        const TokenCode code = e.tokens[k];
        const TokenDescriptor d = describe_token(code);
        if (d.token_class == TC_LITERAL) {
            out.add_char(d.name[0] == '.' && g_settings.decimal_mark == 1 ? ',' : d.name[0]);
        } else if (d.token_class == TC_OPERAND && d.op_id == OP_STORE) {
            out.add(operator_info(OP_STORE).text);
            out.add(variable_name(d.param));
        } else {
            reset_prepared(g_text_prep);
            out.add(token_to_item(g_text_prep, code));
        }
    }
    g_error = saved;
    buf[out.n] = '\0';
    return std::string(buf);
}

std::string history_text(int index) {
    if (index < 0 || index >= g_history_count) return {};
    return expression_text(g_history[index]);
}

void history_dialog() {
    if (g_history_count <= 0) return;
    constexpr int kWidth = 232;
    constexpr int kMargin = 6;
    constexpr int kInner = kWidth - 2 * kMargin;
    constexpr int kListTop = 22;
    constexpr int kListHeight = 9 * LIST_ROW_HEIGHT + 4;
    constexpr int kButtonsTop = kListTop + kListHeight + 8;
    constexpr int kStep = BUTTON_HEIGHT + 4;
    constexpr int kHeight = kButtonsTop + 3 * kStep + 2;
    constexpr int ID_LIST = 100;
    constexpr int ID_INSERT = 3;

    Dialog d("Select Expression", kWidth, kHeight);
    d.add_static(0, {kMargin, 6, kInner, 14}, "Expressions:");
    ListBox& list = d.add_list_box(ID_LIST, {kMargin, kListTop, kInner, kListHeight});
    for (int k = 0; k < g_history_count; ++k) list.add(history_text(k));
    list.select(g_history_count - 1);
    d.add_button(ID_OK, {kMargin, kButtonsTop, kInner, BUTTON_HEIGHT}, "Replace Current Expression",
                 true);
    Button& insert = d.add_button(ID_INSERT, {kMargin, kButtonsTop + kStep, kInner, BUTTON_HEIGHT},
                                  "Insert Expression at Cursor");
    d.add_button(ID_CANCEL, {kMargin, kButtonsTop + 2 * kStep, kInner, BUTTON_HEIGHT}, "Cancel");
    d.set_auto_end(ID_INSERT, true);
    clamp_line();
    insert.enable(cursor_visible() && !g_input.fresh && g_input.line.count > 0);
    // A double tap on an entry replaces the line with it.
    d.on_notify([](Dialog& dlg, int id, Notify what) {
        if (id == ID_LIST && what == Notify::Activated) dlg.end(ID_OK);
    });

    const int code = run_dialog(d);
    const int chosen = list.selected();
    if (chosen < 0) return;
    if (code == ID_OK) history_recall(chosen, false);
    else if (code == ID_INSERT) history_recall(chosen, true);
}

// --- drawing -------------------------------------------------------------------

void draw_input_line(Surface& s) {
    InputLine& in = g_input;
    clamp_line();
    const Expression& e = in.line;
    fill_rectangle(s, display_colour(), LCD_LEFT, INPUT_TOP, LCD_RIGHT, INPUT_BOTTOM);
    in.drawn_count = 0;
    const bool with_cursor = cursor_visible();
    const char* const mark = mapped_char_legend('_');

    int first = 0;
    if (with_cursor) {
        // Show the cursor: walk left from it until the line is full.
        int x = legend_width(mark);
        const int from = in.cursor < e.count ? in.cursor : e.count - 1;
        for (int k = from; k >= 0; --k) {
            x += token_width(e.tokens[k]);
            if (x > TEXT_LIMIT) {
                first = k + 1;
                break;
            }
        }
        if (first > in.cursor) first = in.cursor;
    }

    int x = 0;
    bool overflow = false;
    const char* names[MAX_TOKEN_LEGENDS];
    for (int k = first; k < e.count && !overflow; ++k) {
        const int n = token_legends(e.tokens[k], g_settings.decimal_mark, names);
        const int start = x;
        const bool inverted = with_cursor && k == in.cursor;
        for (int j = 0; j < n; ++j) {
            const int w = legend_width(names[j]);
            if (x + w > TEXT_LIMIT) {
                overflow = true;
                break;
            }
            draw_legend(s, names[j], x + TEXT_LEFT, INPUT_TOP, inverted);
            x += w;
        }
        if (x > start && in.drawn_count < EXPRESSION_CAPACITY + 1)
            in.drawn[in.drawn_count++] = DrawnToken{start + TEXT_LEFT, x + TEXT_LEFT, k};
    }
    if (with_cursor && !overflow && in.cursor == e.count) {
        const int w = legend_width(mark);
        if (x + w > TEXT_LIMIT) {
            overflow = true;
        } else {
            draw_legend(s, mark, x + TEXT_LEFT, INPUT_TOP, true);
            if (in.drawn_count < EXPRESSION_CAPACITY + 1)
                in.drawn[in.drawn_count++] = DrawnToken{x + TEXT_LEFT, x + w + TEXT_LEFT, e.count};
            x += w;
        }
    }
    if (first > 0) draw_legend(s, "left_arrow", 9, 13, false);
    if (overflow) draw_legend(s, "right_arrow", 224, 13, false);
}

void draw_result_line(Surface& s) {
    ResultLine& r = g_result;
    fill_rectangle(s, display_colour(), LCD_LEFT, RESULT_TOP, LCD_RIGHT, RESULT_BOTTOM);
    r.more_right = false;
    r.empty = r.text[0] == '\0';
    int length = 0;
    while (length < static_cast<int>(sizeof r.text) - 1 && r.text[length]) ++length;
    if (r.scroll < 0) r.scroll = 0;
    if (r.scroll > length) r.scroll = length;
    if (r.empty) return;
    int x = 0;
    for (int k = r.scroll; k < length; ++k) {
        const char* name = text_char_legend(static_cast<unsigned char>(r.text[k]));
        const int w = legend_width(name);
        if (x + w > TEXT_LIMIT) {
            r.more_right = true;
            break;
        }
        draw_legend(s, name, x + TEXT_LEFT, RESULT_TEXT_TOP, false);
        x += w;
    }
    if (r.more_right) draw_legend(s, "LOWER_RIGHT_BUTTON", 223, RESULT_TEXT_TOP, false);
    if (r.scroll > 0) draw_legend(s, "LOWER_LEFT_BUTTON", 9, RESULT_TEXT_TOP, false);
}

void redraw_lines() {
    draw_input_into_screen();
    draw_result_into_screen();
    present_screen();
}

void set_result_text(const char* text, bool reset_scroll) {
    copy_cut(g_result.text, sizeof g_result.text, text);
    g_result.empty = g_result.text[0] == '\0';
    g_result.shown = false;
    if (reset_scroll) g_result.scroll = 0;
    draw_result_into_screen();
    present_screen();
}

void show_last_result(bool only_if_shown) {
    if (only_if_shown && !g_result.shown) return;
    set_result_value_text();
    g_result.shown = true;
    draw_result_into_screen();
    present_screen();
}

void scroll_result(int direction) {
    if (direction < 0 && g_result.scroll > 0) --g_result.scroll;
    else if (direction > 0 && g_result.more_right) ++g_result.scroll;
    else return;
    draw_result_into_screen();
    present_screen();
}

std::string result_plain_text() { return plain_display_text(g_result.text, sizeof g_result.text); }

// --- program runs ------------------------------------------------------------------

void save_line() {
    clamp_line();
    g_input.saved = g_input.line;
    g_input.saved_cursor = g_input.cursor;
    g_input.fresh = true;
    g_input.cursor_shown = false;
}

void set_line_tokens(const TokenCode* tokens, int count) {
    if (count < 0) count = 0;
    if (count > MAX_LINE_TOKENS) count = MAX_LINE_TOKENS;
    for (int k = 0; k < count; ++k) g_input.line.tokens[k] = tokens[k];
    g_input.line.count = count;
    g_input.cursor = count;
    g_input.fresh = false;
    g_input.cursor_shown = true;
    redraw_lines();
}

void restore_line(bool redraw) {
    g_input.line = g_input.saved;
    g_input.cursor = g_input.saved_cursor;
    clamp_line();
    g_input.fresh = true;
    g_input.cursor_shown = false;
    if (redraw) redraw_lines();
}

void reset_input_line() {
    InputLine& in = g_input;
    in.line.count = 0;
    in.cursor = 0;
    in.fresh = true;
    in.no_auto_answer = true;
    in.answer_matrix = false;
    in.answer_list = false;
    in.cursor_shown = true;
    in.drawn_count = 0;
    in.saved.count = 0;
    in.saved_cursor = 0;
    g_result.text[0] = '\0';
    g_result.scroll = 0;
    g_result.more_right = false;
    g_result.empty = true;
    g_result.shown = false;
    g_result.value_re = 0.0;
    g_result.value_im = 0.0;
    g_history_count = 0;
    clear_expression_cache();
}

}  // namespace qx
