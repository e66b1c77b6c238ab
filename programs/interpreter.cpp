#include "programs/interpreter.h"

#include <cmath>
#include <cstdio>
#include <cstring>

#include "engine/errors.h"
#include "engine/evaluator.h"
#include "engine/expression_cache.h"
#include "engine/format.h"
#include "engine/hooks.h"
#include "engine/memory.h"
#include "engine/settings.h"
#include "plot/model.h"
#include "stats/stats.h"

namespace qx {

RunState g_run{};
TokenLine g_program_functions[PROGRAM_FUNCTIONS];
TokenLine g_last_entries[PROGRAM_VARIABLES];
ProgramHost g_program_host{};

namespace {

constexpr const char* kRunning = "Running...";
constexpr const char* kRunLine = "run_program_line";
// Compiled f() forms share the cache with the statements; statement numbers
// stay below 99, so these keys never meet one.
constexpr int FUNCTION_CACHE_KEY = 1000;

// One fout file per program name for the length of a run.
struct OutputFile {
    char name[PROGRAM_NAME_SIZE];
    int handle;   // -1 when the file could not be created
};
OutputFile g_outputs[MAX_OUTPUT_FILES];
int g_output_count = 0;

// Calls and returns load here first, so that a program that fails to load
// never replaces the one that is running.
Program g_staging;

// The result line still shows "Running..." (cleared at a normal end).
bool g_result_running = false;
// A modal dialog opened by a statement may pump messages; the idle branch
// must not step the program from inside it.
bool g_in_step = false;

void show_result(const char* text) {
    g_result_running = std::strcmp(text, kRunning) == 0;
    g_program_host.show_result(text);
}

void show_upper(const char* text) {
    std::snprintf(g_run.upper_text, sizeof g_run.upper_text, "%s", text);
    g_run.upper_shown = true;
    g_program_host.show_upper(text);
}

void error_box(const char* box, const char* title, int code, const char* detail, const char* function) {
    message_box(box, title, MB_STYLE_OK);
    raise_error(code, detail, function);
}

// Statements built outside the reader (or memory gone bad) may carry
// operands beyond their tables; such a statement fails instead of reaching
// past an array.
int bad_operand() {
    raise_error(ERR_CODE, "Operand out of range", kRunLine);
    return -1;
}

void copy_tokens(TokenLine& line, const TokenCode* tokens, int count) {
    if (count < 0 || tokens == nullptr) count = 0;
    if (count > FUNCTION_TOKEN_LIMIT) count = FUNCTION_TOKEN_LIMIT;
    if (count > 0) std::memcpy(line.tokens, tokens, sizeof(TokenCode) * static_cast<std::size_t>(count));
    line.count = count;
}

void close_output_files() {
    for (int i = 0; i < g_output_count; ++i)
        if (g_outputs[i].handle >= 0) g_program_storage.output_close(g_outputs[i].handle);
    g_output_count = 0;
}

void clear_run_flags() {
    g_run.running = false;
    g_run.paused = false;
    g_run.waiting = false;
    g_run.waiting_function = false;
}

// Every way a run ends: nothing is left waiting and no output file open.
void end_run(bool with_error) {
    clear_run_flags();
    close_output_files();
    g_program_host.run_ended(with_error);
}

void end_normally() {
    end_run(false);
    if (g_result_running) show_result("");
}

void end_with_error(int line) {
    end_run(true);
    show_upper(g_program.name);
    char text[TEXT_SIZE + 32];
    std::snprintf(text, sizeof text, "%s (line %d)", error_text(), line + 1);
    show_result(text);
    // The editor opens at the failing statement.
    g_program.cursor = line;
    g_program.top = line;
    remember_program_position(g_program.name, line, line);
}

// --- blocks -------------------------------------------------------------------------

// The end that closes the block whose body starts at `from`, or -1 (box and
// error) when the program has none.  *first_else gets the else at the same
// level before that end, or -1: an if needs both, found in one pass.
int find_matched_end(int from, int* first_else) {
    int level = 0;
    *first_else = -1;
    for (int i = from; i < g_program.count; ++i) {
        const int ins = g_program.statements[i].instruction;
        if (opens_block(ins)) {
            ++level;
        } else if (ins == INS_END) {
            if (level == 0) return i;
            --level;
        } else if (ins == INS_ELSE && level == 0 && *first_else < 0) {
            *first_else = i;
        }
    }
    error_box("Missing end statement", "Error", ERR_CODE, "No end to block", "find_matched_end");
    return -1;
}

bool check_block_condition(const Statement& s) {
    const double left = s.operand0 == 0 ? g_ans.re : memory_get(s.operand0 - 1, 0);
    const double right = s.operand1 == 0   ? 0.0
                         : s.operand1 == 1 ? g_ans.re
                                           : memory_get(s.operand1 - 2, 0);
    switch (s.condition) {
        case 0: return left == right;
        case 1: return left != right;
        case 2: return left < right;
        case 3: return left > right;
        case 4: return left >= right;
        case 5: return left <= right;
        default:
            raise_error(ERR_UNEXPECTED, "Conditional not defined", "check_block_condition");
            return false;
    }
}

// Pushes the block of the statement at `line`; returns its condition (if,
// while).  False with an error raised when it cannot be opened.
bool create_block_data(int line, int kind) {
    if (g_run.block_depth >= MAX_BLOCKS) {
        error_box("Reached maximum number of program blocks", "Limit", ERR_MEMORY,
                  "Reached maximum number of blocks", "create_block_data");
        return false;
    }
    int else_line = -1;
    const int end = find_matched_end(line + 1, &else_line);
    if (end < 0) return false;
    Block& b = g_run.blocks[g_run.block_depth];
    b.kind = kind;
    b.start = line;
    b.after_end = end + 1;
    b.after_else = -1;
    b.limit = 0.0;
    if (kind == BLOCK_IF) {
        if (else_line >= 0) b.after_else = else_line + 1;
    } else if (kind == BLOCK_LOOP) {
        b.limit = memory_get(g_program.statements[line].operand0, 0);
    }
    ++g_run.block_depth;
    if (kind == BLOCK_LOOP) return true;
    return check_block_condition(g_program.statements[line]);
}

void pop_block() {
    --g_run.block_depth;
}

// The blocks below this depth belong to the programs that called the one
// running; they are not its to close.
int block_base() { return g_run.call_depth > 0 ? g_run.calls[g_run.call_depth - 1].block_depth : 0; }

// The innermost open block of the current frame, or null.
Block* frame_top_block() {
    return g_run.block_depth > block_base() ? &g_run.blocks[g_run.block_depth - 1] : nullptr;
}

bool top_block_is(int kind, int line) {
    const Block* b = frame_top_block();
    return b != nullptr && b->kind == kind && b->start == line;
}

// --- jumps, calls -------------------------------------------------------------------------

int find_label(int label) {
    for (int i = 0; i < g_program.count; ++i) {
        const Statement& s = g_program.statements[i];
        if (s.instruction == INS_LABEL && s.label == label) return i;
    }
    error_box("Label not found", "Error", ERR_CODE, "Label not found", "find_label");
    return -1;
}

int gosub_base() { return g_run.call_depth > 0 ? g_run.calls[g_run.call_depth - 1].gosub_depth : 0; }

int call_program(int line) {
    if (g_run.call_depth >= MAX_CALLS) {
        error_box("Reached maximum number of subroutine calls", "Limit", ERR_MEMORY,
                  "Reached maximum number of subroutine calls", "call_program");
        return -1;
    }
    CallFrame& f = g_run.calls[g_run.call_depth++];
    f.block_depth = g_run.block_depth;
    f.gosub_depth = g_run.gosub_depth;
    f.call_line = line;
    std::snprintf(f.caller, sizeof f.caller, "%s", g_program.name);
    f.caller_built_in = g_program.built_in != 0;

    char name[STATEMENT_TEXT_SIZE];
    std::snprintf(name, sizeof name, "%s", g_program.statements[line].text);
    // A custom program of that name wins over the built-in one.
    const bool built_in = !custom_program_exists(name) && is_builtin_program_name(name);
    if (load_program_into(g_staging, name, built_in) < 1) {
        --g_run.call_depth;
        error_box("Could not call program", "Error", ERR_CODE, "Error with subroutine call",
                  "call_program");
        return -1;
    }
    g_program = g_staging;
    clear_expression_cache();
    g_program_host.title_refresh();
    return 0;
}

int return_from_call() {
    if (g_run.call_depth == 0) return -1;
    const CallFrame& f = g_run.calls[--g_run.call_depth];
    g_run.block_depth = f.block_depth;
    g_run.gosub_depth = f.gosub_depth;
    if (load_program_into(g_staging, f.caller, f.caller_built_in) < 1) {
        error_box("Could no return to calling program", "Error", ERR_CODE,
                  "Could not return to (load) calling program", "return_from_call");
        return -1;
    }
    g_program = g_staging;
    clear_expression_cache();
    g_program_host.title_refresh();
    return f.call_line + 1;
}

// --- values ----------------------------------------------------------------------------

void after_evaluation() { g_program_host.after_evaluation(); }

void scalar_answer(double re) {
    g_ans.re = re;
    g_ans.im = 0.0;
    g_last_result_kind = RK_SCALAR;
    after_evaluation();
}

bool answer_is_real_scalar() { return g_ans.im == 0.0 && g_last_result_kind == RK_SCALAR; }

void write_output_line(int operand) {
    int i = 0;
    while (i < g_output_count && std::strcmp(g_outputs[i].name, g_program.name) != 0) ++i;
    if (i == g_output_count) {
        if (g_output_count >= MAX_OUTPUT_FILES) return;
        OutputFile& f = g_outputs[g_output_count++];
        std::snprintf(f.name, sizeof f.name, "%s", g_program.name);
        f.handle = g_program_storage.output_open(f.name);
    }
    if (g_outputs[i].handle < 0) return;
    char line[TEXT_SIZE * 2];
    if (operand == 0) {
        std::snprintf(line, sizeof line, "Ans=\t%s\r\n", format_complex_display(g_ans.re, g_ans.im, false, false));
    } else {
        const int v = operand - 1;
        const double re = memory_get(v, 0), im = memory_get(v, 1);
        if (error_pending()) return;
        // Greek names are spelled out: the file leaves the display font.
        std::snprintf(line, sizeof line, "%s=\t%s\r\n", greek_spelling(v),
                      format_complex_display(re, im, false, true));
    }
    g_program_storage.output_write(g_outputs[i].handle, line);
}

// --- settings ------------------------------------------------------------------------------

void change_setting(int& field, int value) {
    if (field == value) return;
    field = value;
    g_program_host.settings_changed();
}

// Literals compile differently in another radix or word size.
void change_integer_setting(int& field, int value) {
    if (field == value) return;
    field = value;
    clear_expression_cache();
    g_program_host.settings_changed();
}

void set_stats_kind(int kind) {
    if (g_settings.stats_var == kind) return;
    g_settings.stats_var = kind;
    stats_kind_changed();
    g_program_host.settings_changed();
    g_program_host.title_refresh();
}

void set_window_bound(int which, double value) {
    double b[4] = {g_plot.xmin, g_plot.xmax, g_plot.ymin, g_plot.ymax};
    b[which] = value;
    set_plot_window(b[0], b[2], b[1], b[3]);
}

void set_t_range(int instruction) {
    double new_min = g_plot.tmin, new_max = g_plot.tmax, new_step = g_plot.tstep;
    if (instruction == INS_PLOT_TMIN) new_min = g_ans.re;
    else if (instruction == INS_PLOT_TMAX) new_max = g_ans.re;
    else new_step = g_ans.re;
    // A new end that would empty the range is ignored; the step is repaired
    // against the range in force either way.
    apply_parameter_range(&g_plot.tmin, &g_plot.tmax, &g_plot.tstep, new_min, new_max, new_step);
}

// --- input --------------------------------------------------------------------------------

void wait_for_input(const Statement& s, bool function, int index, const TokenLine& start, const char* prompt) {
    show_result(s.text[0] != '\0' ? s.text : prompt);
    g_program_host.begin_input(start.tokens, start.count);
    g_run.waiting = true;
    g_run.waiting_function = function;
    if (function) g_run.input_function = index;
    else g_run.input_variable = index;
}

int engine_input_variable() {
    return g_run.waiting && !g_run.waiting_function ? g_run.input_variable : -1;
}

void engine_input_taken() {
    g_run.waiting = false;
    show_result(kRunning);
}

// --- host defaults ------------------------------------------------------------------------

void no_action() {}
void no_end(bool) {}
void no_text(const char*) {}
void no_input(const TokenCode*, int) {}
void default_mode(int mode) { g_settings.calculator_mode = mode; }
int no_menu(const char*, const MenuItem*, int) { return -1; }

}  // namespace

void clear_program_input_buffers() {
    for (TokenLine& f : g_program_functions) f.count = 0;
    for (TokenLine& e : g_last_entries) e.count = 0;
}

void reset_program_host() {
    g_program_host.run_started = no_action;
    g_program_host.run_ended = no_end;
    g_program_host.show_result = no_text;
    g_program_host.show_upper = no_text;
    g_program_host.begin_input = no_input;
    g_program_host.after_evaluation = no_action;
    g_program_host.redraw_face = no_action;
    g_program_host.set_mode = default_mode;
    g_program_host.settings_changed = no_action;
    g_program_host.menu_dialog = no_menu;
    g_program_host.description_dialog = no_text;
    g_program_host.stats_list_dialog = no_action;
    g_program_host.title_refresh = no_action;
}

namespace {
struct HostInit {
    HostInit() { reset_program_host(); }
} g_host_init;
}  // namespace

void install_program_engine_hooks() {
    g_hooks.program_input_variable = engine_input_variable;
    g_hooks.program_input_taken = engine_input_taken;
}

void start_program() {
    clear_error();
    clear_run_flags();
    g_run.running = true;
    g_run.input_variable = -1;
    g_run.input_function = -1;
    g_run.block_depth = 0;
    g_run.next_line = 0;
    g_run.last_line = 0;
    g_run.call_depth = 0;
    g_run.gosub_depth = 0;
    g_run.menu_count = 0;
    g_run.menu_title[0] = '\0';
    g_run.upper_text[0] = '\0';
    g_run.upper_shown = false;
    g_program_host.run_started();
    clear_expression_cache();
    g_output_count = 0;
    g_run.tick_base = g_hooks.tick_count();
    show_result(kRunning);
}

int run_program_line(int line) {
    if (line < 0 || line >= g_program.count) return -1;
    const Statement& s = g_program.statements[line];
    int next = line + 1;
    switch (s.instruction) {
        case INS_IF: {
            const bool ok = create_block_data(line, BLOCK_IF);
            if (error_pending()) return -1;
            if (!ok) {
                const Block& b = g_run.blocks[g_run.block_depth - 1];
                if (b.after_else >= 0) {
                    next = b.after_else;
                } else {
                    next = b.after_end;
                    pop_block();
                }
            }
            break;
        }
        case INS_END: {
            Block* b = frame_top_block();
            if (b == nullptr) {
                error_box("No start of block for end instruction", "Error", ERR_CODE, "No start of block",
                          kRunLine);
                return -1;
            }
            if (b->kind == BLOCK_IF) {
                pop_block();
            } else {
                if (b->kind == BLOCK_LOOP) {
                    const int v = g_program.statements[b->start].operand0;
                    memory_set(memory_get(v, 0) + 1.0, 0, v);
                }
                next = b->start;
            }
            break;
        }
        case INS_ELSE: {
            const Block* b = frame_top_block();
            if (b == nullptr || b->kind != BLOCK_IF) {
                error_box("No matching if statement", "Error", ERR_CODE, "No matching if for else", kRunLine);
                return -1;
            }
            next = b->after_end;
            pop_block();
            break;
        }
        case INS_WHILE: {
            const bool ok = top_block_is(BLOCK_WHILE, line) ? check_block_condition(s)
                                                             : create_block_data(line, BLOCK_WHILE);
            if (error_pending()) return -1;
            if (!ok) {
                next = g_run.blocks[g_run.block_depth - 1].after_end;
                pop_block();
            }
            break;
        }
        case INS_LOOP: {
            if (!top_block_is(BLOCK_LOOP, line)) {
                create_block_data(line, BLOCK_LOOP);
                if (error_pending()) return -1;
                memory_set(1.0, 0, s.operand0);
                memory_set(0.0, 1, s.operand0);
            }
            const Block& b = g_run.blocks[g_run.block_depth - 1];
            if (memory_get(s.operand0, 0) > b.limit) {
                memory_set(b.limit, 0, s.operand0);
                next = b.after_end;
                pop_block();
            }
            break;
        }
        case INS_CALL:
            // The next statement belongs to another program: no self-jump rule.
            return call_program(line);
        case INS_RETURN_CALL:
            return return_from_call();
        case INS_LABEL:
            break;
        case INS_GOTO: {
            next = find_label(s.label);
            if (next < 0) return -1;
            // Every block the jump leaves is closed, however deep.
            for (const Block* b = frame_top_block(); b != nullptr && !(b->start < next && next < b->after_end);
                 b = frame_top_block())
                pop_block();
            break;
        }
        case INS_IN: {
            if (s.operand0 < 0 || s.operand0 >= PROGRAM_VARIABLES) return bad_operand();
            char prompt[TEXT_SIZE];
            std::snprintf(prompt, sizeof prompt, "%s?", variable_name(s.operand0));
            wait_for_input(s, false, s.operand0, g_last_entries[s.operand0], prompt);
            break;
        }
        case INS_OUT: {
            if (s.text[0] != '\0') show_upper(s.text);
            char text[TEXT_SIZE * 2];
            program_value_text(s.operand0, text, sizeof text);
            if (error_pending()) return -1;
            show_result(text);
            if (s.pause) g_run.paused = true;
            break;
        }
        case INS_EXPRESS: {
            int count = 0;
            const TokenCode* tokens = statement_tokens(g_program, s, &count);
            evaluate_stored_expression(line, tokens, count);
            after_evaluation();
            if (error_pending()) return -1;
            break;
        }
        case INS_STOP:
            return -1;
        case INS_TEXT:
            show_result(s.text);
            break;
        case INS_FOUT:
            write_output_line(s.operand0);
            break;
        case INS_IN_FUNCTION: {
            if (s.function < 0 || s.function >= PROGRAM_FUNCTIONS) return bad_operand();
            char prompt[16];
            std::snprintf(prompt, sizeof prompt, "f%d()?", s.function + 1);
            wait_for_input(s, true, s.function, g_program_functions[s.function], prompt);
            break;
        }
        case INS_FUNCTION: {
            if (s.function < 0 || s.function >= PROGRAM_FUNCTIONS) return bad_operand();
            const TokenLine& f = g_program_functions[s.function];
            evaluate_stored_expression(FUNCTION_CACHE_KEY + s.function, f.tokens, f.count);
            after_evaluation();
            if (error_pending()) return -1;
            break;
        }
        case INS_CLEAR_MEMORY:
            clear_memory();
            break;
        case INS_CLEAR_STATS:
            clear_stat_data();
            g_program_host.title_refresh();
            break;
        case INS_ENTER_STATS:
            if (s.operand0 == 0) {
                if (!answer_is_real_scalar()) {
                    raise_error(ERR_DATA_TYPE, "Complex and matrix data can't be added to a stats list", kRunLine);
                    return -1;
                }
                add_stat_entry_from_program(g_ans.re);
            } else {
                const double v = memory_get(s.operand0 - 1, 0);
                if (error_pending()) return -1;
                add_stat_entry_from_program(v);
            }
            g_program_host.title_refresh();
            break;
        case INS_GET_X:
        case INS_PUT_X:
        case INS_GET_Y:
        case INS_PUT_Y: {
            const double index = memory_get(s.operand0, 0);
            if (error_pending()) return -1;
            const StatsAccess what = static_cast<StatsAccess>(s.instruction - INS_GET_X);
            if (!stats_get_put(what, std::round(index))) return -1;
            if (what == STATS_GET_X || what == STATS_GET_Y) after_evaluation();
            break;
        }
        case INS_ONE_VAR:
        case INS_TWO_VAR:
            set_stats_kind(s.instruction - INS_ONE_VAR);
            break;
        case INS_COMP_MODE:
        case INS_STATS_MODE:
        case INS_BASE_MODE:
            g_program_host.set_mode(s.instruction == INS_COMP_MODE    ? MODE_COMP
                                    : s.instruction == INS_STATS_MODE ? MODE_STATS
                                                                      : MODE_BASE_N);
            g_program_host.redraw_face();
            break;
        case INS_STATS_LIST:
            g_program_host.stats_list_dialog();
            break;
        case INS_DEGREE:
            change_setting(g_settings.angle_unit, ANGLE_DEG);
            break;
        case INS_RADIAN:
            change_setting(g_settings.angle_unit, ANGLE_RAD);
            break;
        case INS_GRADIENT:
            change_setting(g_settings.angle_unit, ANGLE_GRAD);
            break;
        case INS_DECIMAL:
            change_integer_setting(g_settings.base_mode, RADIX_DEC);
            break;
        case INS_HEXADECIMAL:
            change_integer_setting(g_settings.base_mode, RADIX_HEX);
            break;
        case INS_OCTAL:
            change_integer_setting(g_settings.base_mode, RADIX_OCT);
            break;
        case INS_BINARY:
            change_integer_setting(g_settings.base_mode, RADIX_BIN);
            break;
        case INS_8_BIT:
        case INS_16_BIT:
        case INS_32_BIT:
            change_integer_setting(g_settings.base_bits, BITS_8 + (s.instruction - INS_8_BIT));
            break;
        case INS_BREAK: {
            for (;;) {
                const Block* b = frame_top_block();
                if (b == nullptr) {
                    error_box("No loop to break from", "Error", ERR_CODE, "No loop to break from", kRunLine);
                    return -1;
                }
                const int kind = b->kind;
                next = b->after_end;
                pop_block();
                if (kind != BLOCK_IF) break;
            }
            break;
        }
        case INS_GOSUB: {
            const int target = find_label(s.label);
            if (target < 0) return -1;
            if (g_run.gosub_depth >= MAX_GOSUBS) {
                error_box("Reached maximum number of gosub/subroutine calls", "Limit", ERR_MEMORY,
                          "Reached maximum number of gosub/subroutine calls", kRunLine);
                return -1;
            }
            g_run.gosubs[g_run.gosub_depth++] = line + 1;
            next = target;
            break;
        }
        case INS_RETURN_SUB:
            // A called program cannot return into its caller's gosubs.
            if (g_run.gosub_depth <= gosub_base()) {
                error_box("No subroutine called", "Error", ERR_CODE, "Nothing to retun to", kRunLine);
                return -1;
            }
            next = g_run.gosubs[--g_run.gosub_depth];
            break;
        case INS_CLEAR_INPUT:
            clear_program_input_buffers();
            clear_expression_cache();
            break;
        case INS_FORMAT_FLOAT:
        case INS_FORMAT_FIXED:
        case INS_FORMAT_SCI:
        case INS_FORMAT_ENG:
            change_setting(g_settings.number_format, FMT_FLOAT + (s.instruction - INS_FORMAT_FLOAT));
            break;
        case INS_PRECISION:
            if (s.operand0 < 0 || s.operand0 > MAX_PRECISION) return bad_operand();
            change_setting(g_settings.decimal_digits, s.operand0);
            break;
        case INS_DECIMAL_MARK:
            // "1,000,000.0" is the point mark and "1.000.000,0" the comma.
            change_setting(g_settings.decimal_mark, s.operand0 & 1);
            break;
        case INS_SYSTEM_TICK:
            scalar_answer(static_cast<double>(static_cast<std::uint32_t>(g_hooks.tick_count() - g_run.tick_base)));
            break;
        case INS_MENU_ITEM: {
            if (g_run.menu_count >= MAX_MENU_ITEMS) {
                error_box("Reached maximum number of menu items", "Limit", ERR_MEMORY,
                          "Reached maximum number of menu items", kRunLine);
                return -1;
            }
            MenuItem& item = g_run.menu[g_run.menu_count++];
            std::snprintf(item.text, sizeof item.text, "%s", s.text);
            item.label = s.label;
            break;
        }
        case INS_MENU_DISPLAY: {
            const int choice = g_program_host.menu_dialog(g_run.menu_title, g_run.menu, g_run.menu_count);
            if (choice >= 0 && choice < g_run.menu_count) {
                next = find_label(g_run.menu[choice].label);
                if (next < 0) return -1;
            }
            break;
        }
        case INS_MENU_TITLE:
            std::snprintf(g_run.menu_title, sizeof g_run.menu_title, "%s", s.text);
            break;
        case INS_MENU_CLEAR:
            g_run.menu_count = 0;
            g_run.menu_title[0] = '\0';
            break;
        case INS_LINEAR:
        case INS_LOGARITHMIC:
        case INS_EXPONENTIAL:
        case INS_POWER:
            change_setting(g_settings.stats_regress, REGRESS_LINEAR + (s.instruction - INS_LINEAR));
            break;
        case INS_DESCRIPTION:
            g_program_host.description_dialog(g_program.description);
            break;
        case INS_PLOT_XMIN:
        case INS_PLOT_XMAX:
        case INS_PLOT_YMIN:
        case INS_PLOT_YMAX:
            set_window_bound(s.instruction - INS_PLOT_XMIN, g_ans.re);
            break;
        case INS_PLOT_TMIN:
        case INS_PLOT_TMAX:
        case INS_PLOT_TSTEP:
            set_t_range(s.instruction);
            break;
        case INS_COMPLEX_FORMAT:
            if (s.operand0 < 0 || s.operand0 >= COMPLEX_FORMAT_COUNT) return bad_operand();
            change_setting(g_settings.complex_format, s.operand0);
            break;
        default:
            // A code from a newer revision: skipped.
            break;
    }
    // A jump to the statement itself continues after it.
    if (next == line) next = line + 1;
    return next;
}

void program_step() {
    if (!g_run.running || g_run.paused || g_run.waiting || g_in_step) return;
    g_in_step = true;
    for (int i = 0; i < STEP_STATEMENTS; ++i) {
        if (error_pending()) {
            end_with_error(g_run.last_line);
            break;
        }
        if (g_run.next_line < 0) {
            end_normally();
            break;
        }
        if (g_run.next_line >= g_program.count) {
            if (g_run.call_depth == 0) {
                end_normally();
                break;
            }
            // Running off the end of a called program returns after its call.
            g_run.next_line = return_from_call();
            continue;
        }
        const int line = g_run.next_line;
        g_run.last_line = line;
        const int next = run_program_line(line);
        if (error_pending()) {
            end_with_error(line);
            break;
        }
        g_run.next_line = next;
        if (!g_run.running || g_run.paused || g_run.waiting) break;
    }
    g_in_step = false;
}

void stop_program_by_user() {
    if (!g_run.running) return;
    end_run(true);
    char text[TEXT_SIZE];
    std::snprintf(text, sizeof text, "Program Stopped (line %d)", g_run.next_line);
    show_result(text);
    // The error state keeps the input line and shows this text when the
    // display is painted again.
    clear_error();
    raise_error(ERR_CANCELED, "Program stopped by the user", "stop_program_by_user");
    std::snprintf(g_error.user_text, sizeof g_error.user_text, "%s", text);
    show_upper(g_program.name);
}

void resume_program() { g_run.paused = false; }

void program_function_entered(const TokenCode* tokens, int count) {
    if (!g_run.waiting || !g_run.waiting_function) return;
    const int slot = g_run.input_function;
    if (count > 0 && slot >= 0 && slot < PROGRAM_FUNCTIONS) {
        copy_tokens(g_program_functions[slot], tokens, count);
        // The compiled f() of the old function is stale.
        clear_expression_cache();
    }
    g_run.waiting = false;
    g_run.waiting_function = false;
    show_result(kRunning);
}

void program_input_entered(const TokenCode* tokens, int count) {
    if (!g_run.waiting || g_run.waiting_function) return;
    const int v = g_run.input_variable;
    if (v >= 0 && v < PROGRAM_VARIABLES) copy_tokens(g_last_entries[v], tokens, count);
}

bool program_running() { return g_run.running; }
bool program_waiting() { return g_run.running && g_run.waiting; }
bool program_waiting_function() { return g_run.running && g_run.waiting && g_run.waiting_function; }
bool program_paused() { return g_run.running && g_run.paused; }

void program_value_text(int operand, char* out, int size) {
    if (size <= 0) return;
    if (operand == 0) {
        std::snprintf(out, static_cast<std::size_t>(size), "Ans=%s",
                      format_complex_display(g_ans.re, g_ans.im, true, false));
        return;
    }
    const int v = operand - 1;
    const double re = memory_get(v, 0), im = memory_get(v, 1);
    // A variable is always a scalar, whatever the last result was.
    std::snprintf(out, static_cast<std::size_t>(size), "%s=%s", variable_name(v),
                  format_complex_display(re, im, true, true));
}

}  // namespace qx
